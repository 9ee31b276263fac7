#pragma once
// IPv4 addresses as the station handles them. Addresses typed by the user, the
// own address and the member slots are dotted text and are compared as text
// (192.168.1.5 and 192.168.001.5 are different stations), so the checks here
// work on the text. parseDottedIPv4 is the one place that turns text into a
// number, for the socket layer.

#include <QString>
#include <QtGlobal>
#include <optional>

namespace quorel {

// Result of CheckAddress.
inline constexpr int kAddressValid = 0;
inline constexpr int kAddressInvalid = 1;
inline constexpr int kAddressEmpty = 2;

// 0 (kAddressValid), 1 (kAddressInvalid) or 2 (kAddressEmpty). Valid is four
// non-empty runs of ASCII digits separated by single dots, each read as decimal
// with leading zeros allowed: the first 1 to 255 but not 127, the others 0 to
// 255. So 0.1.2.3, 127.0.0.1, 1.2.3, "1.2.3.4." and 1..2.3 are invalid, and
// 10.014.1.1 is valid.
int CheckAddress(const QString& text);

// The directed broadcast address of the address's network by its class, built
// from the fields as typed (192.168.001.020 gives 192.168.001.255):
//   first field >= 192: first.second.third.255
//   first field <  128: first.255.255.255
//   otherwise:          first.second.255.255
// Subnet masks play no part: 10.1.2.3 in a /24 still broadcasts to
// 10.255.255.255, which is what the other stations listen for.
//
// nullopt when the first field is "127" (nothing is sent for a loopback
// address). Callers check the address with CheckAddress first; for text that is
// not four dot-separated runs of digits there is no network to derive, so the
// answer is nullopt too rather than a made-up address.
std::optional<QString> BroadcastAddressOf(const QString& address);

// Reads exactly four decimal fields 0 to 255 separated by dots, nothing else
// (no spaces, no signs, no host names). Leading zeros are allowed and read as
// decimal, never octal: "192.168.001.020" is 192.168.1.20, as the other
// stations read it. The result is in host byte order (a << 24 | b << 16 | c << 8
// | d). "0.0.0.0" parses; whether it is usable is the caller's business.
std::optional<quint32> parseDottedIPv4(const QString& text);

// "a.b.c.d" from a host-order address.
QString formatIPv4(quint32 address);

} // namespace quorel

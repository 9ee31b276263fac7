#pragma once
// One whole station for the fuzz targets, built once per process: offscreen,
// on a VirtualLan, with recording message boxes and a program folder of its
// own. Inputs become datagrams from the senders a station meets on a LAN, or
// settings lines, and the event loop runs after each.

#include "app/main_console.h"
#include "app/station.h"
#include "net/link_encryption.h"
#include "net/nmudp.h"
#include "net/virtual_lan.h"
#include "station_fixture.h"
#include "wire/port_plan.h"

#include <QApplication>
#include <QCheckBox>
#include <array>
#include <memory>

namespace quorel::fuzz {

// Who sends: a listed member, the partner, a stranger of the same LAN, one of
// the station's own addresses, and 127.0.0.1 on the station's own PC.
enum class Sender { Member, Partner, Stranger, Own, Loopback, Count };

inline const QString kStation = QStringLiteral("192.168.1.10");
inline const QString kMember = QStringLiteral("192.168.1.20");
inline const QString kPartner = QStringLiteral("192.168.1.21");
inline const QString kStranger = QStringLiteral("192.168.1.99");

class StationHarness {
public:
    static StationHarness& instance() {
        static StationHarness* h = [] {
            qputenv("QT_QPA_PLATFORM", "offscreen");
            static int argc = 1;
            static char name[] = "fuzz_station";
            static char* argv[] = {name, nullptr};
            new QApplication(argc, argv); // lives as long as the process
            return new StationHarness;
        }();
        return *h;
    }

    Station& station() { return *fixture_->station; }
    test::RecordingMessages& messages() { return fixture_->messages; }

    // The group as it stands at the start of every input: the member and the
    // partner listed, the partnership agreed.
    void join() {
        send(Sender::Member, 6722, "192.168.1.20,member,Req,1");
        send(Sender::Partner, 6722, "192.168.1.21,partner,Req,1");
        send(Sender::Partner, 6719, "192.168.1.21,192.168.1.10,partner,Req-Partner,Req");
        settle();
    }

    void send(Sender from, int port, const QByteArray& bytes) {
        const std::uint32_t to = from == Sender::Loopback ? 0x7F000001u : 0xC0A8010Au;
        senders_[std::size_t(from)]->sendTo(bytes, to, quint16(port));
    }

    // Runs the loop until the LAN and the endpoints have nothing left.
    void settle() {
        for (int i = 0; i < 8; ++i)
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        // What the station showed is of no interest; keep the record small.
        messages().shown.clear();
        messages().asked.clear();
    }

    // The port of endpoint `index` of the plan on the station's channel.
    int port(std::size_t index) const {
        return fixture_->station->endpoints().at(qsizetype(index))->LocalPort();
    }

private:
    StationHarness() {
        fixture_ = std::make_unique<test::StationFixture>(lan_, kStation);
        Station& st = *fixture_->station;
        st.Timer2Timer();
        // Hidden windows draw nothing: a fuzzed size costs no backing store.
        for (QWidget* w : st.windows())
            w->hide();
        auto& member = lan_.addHost(kMember);
        auto& partner = lan_.addHost(kPartner);
        auto& stranger = lan_.addHost(kStranger);
        // A second socket on the station's own host sends "from itself", and
        // to 127.0.0.1 from 127.0.0.1.
        senders_[std::size_t(Sender::Member)] = member.createSocket();
        senders_[std::size_t(Sender::Partner)] = partner.createSocket();
        senders_[std::size_t(Sender::Stranger)] = stranger.createSocket();
        senders_[std::size_t(Sender::Own)] = st.network().createSocket();
        senders_[std::size_t(Sender::Loopback)] = st.network().createSocket();
        join();
    }

    VirtualLan lan_;
    std::unique_ptr<test::StationFixture> fixture_;
    std::array<std::unique_ptr<DatagramSocket>, std::size_t(Sender::Count)> senders_;
};

} // namespace quorel::fuzz

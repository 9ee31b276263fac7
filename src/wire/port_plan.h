#pragma once
// Every kind of message travels on a port of its own. Channel n moves every
// port up by 100 x (n - 1) so that several teams can share one network; the
// pre-roll line link stays on 6720 on every channel. Local and remote port of
// an endpoint are always equal.

#include <array>

namespace quorel {

struct PortPlanEntry {
    int base;             // port on channel 1
    const char* window;   // objectName of the owning window
    const char* endpoint; // objectName of the endpoint
    enum Moves { WithChannel, Fixed, Karaoke } moves;
};

inline constexpr std::array<PortPlanEntry, 19> kPortPlan{{
    {6711, "TMainConsole", "NMUDP1", PortPlanEntry::WithChannel},  // captions
    {6712, "TMainConsole", "NMUDP2", PortPlanEntry::WithChannel},  // partner link, remote settings
    {6713, "TMainConsole", "NMUDP3", PortPlanEntry::WithChannel},  // word-processor corrections
    {6716, "TFmojikara", "NMUDP1", PortPlanEntry::Karaoke},        // karaoke remote (or 6728)
    {6717, "TFkakunin", "NMUDP3", PortPlanEntry::WithChannel},     // palette
    {6718, "TMainConsole", "NMUDP6", PortPlanEntry::WithChannel},  // member search answers
    {6719, "TMainConsole", "NMUDP4", PortPlanEntry::WithChannel},  // partner nomination
    {6720, "TForm11", "NMUDP5", PortPlanEntry::Fixed},             // pre-roll line link
    {6721, "TMainConsole", "NMUDP7", PortPlanEntry::WithChannel},  // monitor
    {6722, "TMainConsole", "NMUDP8", PortPlanEntry::WithChannel},  // member search requests
    {6723, "TMainConsole", "NMUDP9", PortPlanEntry::WithChannel},  // undo, Del, Cls
    {6724, "TMainConsole", "NMUDP10", PortPlanEntry::WithChannel}, // leaving the group
    {6727, "TForm6", "NMUDP1", PortPlanEntry::WithChannel},        // chat
    {6730, "TFkakunin", "NMUDP1", PortPlanEntry::WithChannel},     // palette
    {6731, "TForm15", "NMUDP1", PortPlanEntry::WithChannel},       // information line
    {6732, "TFkakunin", "NMUDP2", PortPlanEntry::WithChannel},     // palette
    {6734, "TForm11", "NMUDP1", PortPlanEntry::WithChannel},       // pre-roll monitor, lower
    {6735, "TForm11", "NMUDP2", PortPlanEntry::WithChannel},       // pre-roll monitor, upper
    {6736, "TForm14", "NMUDP1", PortPlanEntry::WithChannel},       // ruby messages
}};

inline constexpr int kKaraokeColourPort = 6716; // "文字ｶﾗに送信"
inline constexpr int kKaraokePort = 6728;       // "ｶﾗｵｹに送信"

// Copies for the same-PC display program go to base + 1200 on 127.0.0.1,
// whatever the channel.
inline constexpr int kLumoOffset = 1200;
inline constexpr int lumoPort(int base) {
    return base + kLumoOffset;
}

// Item index of the channel selector ("1ch" = 0); no item chosen counts as 0.
inline constexpr int channelOffset(int itemIndex) {
    return 100 * (itemIndex < 0 ? 0 : itemIndex);
}

} // namespace quorel

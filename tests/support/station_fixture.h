#pragma once
// Test doubles for a Station's services and a helper that builds a Station the
// way the program does, minus the real dialogs and the real clipboard.

#include "app/services.h"
#include "app/station.h"
#include "net/virtual_lan.h"

#include <QStringList>
#include <QTemporaryDir>
#include <memory>
#include <optional>

namespace quorel::test {

class RecordingMessages final : public Messages {
public:
    void show(const QString& text) override { shown << text; }
    bool confirm(const QString& text) override {
        asked << text;
        return answer;
    }
    QStringList shown;
    QStringList asked;
    bool answer = true;
};

class FakeClipboard final : public Clipboard {
public:
    void setText(const QString& t) override {
        text_ = t;
        ++writes;
    }
    QString text() const override { return text_; }
    int writes = 0;

private:
    QString text_;
};

class FakeChoosers final : public Choosers {
public:
    // The colour that comes with the next font; unset, the user leaves the
    // colour the chooser opened with.
    std::optional<QColor> nextFontColor;
    std::optional<FontChoice> font(const QFont&, const QColor& initialColor) override {
        if (!nextFont)
            return std::nullopt;
        return FontChoice{*nextFont, nextFontColor.value_or(initialColor)};
    }
    std::optional<QColor> color(const QColor&) override { return nextColor; }
    std::optional<QFont> nextFont;
    std::optional<QColor> nextColor;
};

// A station on a LAN of its own, or on a shared one (several stations in one
// test, each with its own address).
struct StationFixture {
    explicit StationFixture(bool splash = false) : ownLan_(std::make_unique<VirtualLan>()) {
        init(ownLan_->addHost(QStringLiteral("192.168.1.10")), splash);
    }
    StationFixture(VirtualLan& lan, const QString& address, bool splash = false) {
        init(lan.addHost(address), splash);
    }
    // A station on a host set up by the test (its name, what it reports as
    // its own addresses).
    explicit StationFixture(DatagramNetwork& host, bool splash = false) { init(host, splash); }
    RecordingMessages messages;
    FakeClipboard clipboard;
    FakeChoosers choosers;
    QTemporaryDir dir;

private:
    std::unique_ptr<VirtualLan> ownLan_; // outlives the station

    void init(DatagramNetwork& host, bool splash) {
        Station::Environment env;
        env.messages = &messages;
        env.clipboard = &clipboard;
        env.choosers = &choosers;
        env.network = &host;
        env.programDirectory = dir.path();
        env.splash = splash;
        station = std::make_unique<Station>(env);
    }

public:
    std::unique_ptr<Station> station;
};

} // namespace quorel::test

#pragma once
// Test doubles for a Station's services and a helper that builds a Station the
// way the program does, minus the real dialogs and the real clipboard.

#include "app/station.h"
#include "base/services.h"
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
    void notify(const QString& text) override { notified << text; }
    QStringList shown;
    QStringList asked;
    QStringList notified;
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
    std::optional<QString> saveFile(const QString& folder, const QString& proposal,
                                    const QString& filter, const QString& suffix) override {
        offered = {folder, proposal, filter, suffix};
        return nextFile;
    }
    std::optional<QString> openFile(const QString& folder, const QString& filter,
                                    const QString& proposal) override {
        offered = {folder, proposal, filter};
        return nextFile;
    }
    std::optional<QFont> nextFont;
    std::optional<QColor> nextColor;
    std::optional<QString> nextFile;
    // What the last file dialog opened with: folder, proposed name, filter
    // and (saving) default suffix.
    QStringList offered;
};

// A clock the test moves: a simulated hour passes in no time.
class FakeClock final : public Clock {
public:
    QDateTime now() const override { return now_; }
    void advance(qint64 ms) { now_ = now_.addMSecs(ms); }

private:
    QDateTime now_{QDate(2026, 12, 10), QTime(9, 0)};
};

// The last n lines of a record.
inline QStringList tail(const DisplayRecord& r, int n) {
    QStringList out;
    for (int i = std::max(0, r.lineCount() - n); i < r.lineCount(); ++i)
        out << r.line(i);
    return out;
}

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
    FakeClock clock;
    QTemporaryDir dir;

    // Builds the station again on the same host and program folder, as the
    // next start of the program would (after the test put files there).
    void restart() {
        station.reset();
        init(*host_, splash_);
    }

private:
    std::unique_ptr<VirtualLan> ownLan_; // outlives the station
    DatagramNetwork* host_ = nullptr;
    bool splash_ = false;

    void init(DatagramNetwork& host, bool splash) {
        host_ = &host;
        splash_ = splash;
        Station::Environment env;
        env.messages = &messages;
        env.clipboard = &clipboard;
        env.choosers = &choosers;
        env.clock = &clock;
        env.network = &host;
        env.programDirectory = dir.path();
        env.splash = splash;
        station = std::make_unique<Station>(env);
    }

public:
    std::unique_ptr<Station> station;
};

} // namespace quorel::test

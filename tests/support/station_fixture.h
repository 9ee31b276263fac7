#pragma once
// Test doubles for a Station's services and a helper that builds a Station the
// way the program does, minus the real dialogs and the real clipboard.

#include "app/services.h"
#include "app/station.h"

#include <QStringList>
#include <QTemporaryDir>
#include <memory>

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

struct StationFixture {
    explicit StationFixture(bool splash = false) {
        Station::Environment env;
        env.messages = &messages;
        env.clipboard = &clipboard;
        env.programDirectory = dir.path();
        env.splash = splash;
        station = std::make_unique<Station>(env);
    }
    RecordingMessages messages;
    FakeClipboard clipboard;
    QTemporaryDir dir;
    std::unique_ptr<Station> station;
};

} // namespace quorel::test

#pragma once
// Services a Station hands to its windows and components. Nothing here is
// global: a test builds several Stations in one process, each with its own.

#include <QColor>
#include <QDateTime>
#include <QFont>
#include <QString>
#include <exception>
#include <functional>
#include <optional>

class QCheckBox;
class QMessageBox;
class QTextEdit;

namespace quorel {

// The modal message box. The program shows a real dialog; tests record.
class Messages {
public:
    virtual ~Messages() = default;
    virtual void show(const QString& text) = 0;
    // Yes/No confirmation; true for Yes.
    virtual bool confirm(const QString& text) = 0;
    // A notice about something that arrived from the network. Any host on
    // the LAN can cause one, so it never takes the keyboard from a typist: it
    // is shown without a modal loop, never stacked, and a newer notice
    // replaces the one on screen.
    virtual void notify(const QString& text) = 0;
};

class QtMessages final : public Messages {
public:
    ~QtMessages() override;
    void show(const QString& text) override;
    bool confirm(const QString& text) override;
    void notify(const QString& text) override;

private:
    bool showing_ = false;
    QMessageBox* notice_ = nullptr; // the one notice box, made on first use
};

// The station's messages as its components see them. While a message from
// the network is being applied (remote settings), every box its handlers
// raise becomes a notice: such a message must never take the keyboard.
class RoutedMessages final : public Messages {
public:
    RoutedMessages(Messages& target, std::function<void(const QString&)> notice)
        : target_(target), notice_(std::move(notice)) {}
    void show(const QString& text) override {
        if (fromNetwork_ > 0 && notice_)
            notice_(text);
        else
            target_.show(text);
    }
    bool confirm(const QString& text) override { return target_.confirm(text); }
    void notify(const QString& text) override { target_.notify(text); }
    // Nests: a pass inside a pass stays "from the network".
    void beginFromNetwork() { ++fromNetwork_; }
    void endFromNetwork() { --fromNetwork_; }

private:
    Messages& target_;
    std::function<void(const QString&)> notice_;
    int fromNetwork_ = 0;
};

// The system clipboard, behind an interface so tests never touch the real one.
class Clipboard {
public:
    virtual ~Clipboard() = default;
    virtual void setText(const QString& text) = 0;
    virtual QString text() const = 0;
};

class QtClipboard final : public Clipboard {
public:
    void setText(const QString& text) override;
    QString text() const override;
};

// A font comes with the colour its text is drawn in: a caption colour that
// suits the background matters as much as the font itself.
struct FontChoice {
    QFont font;
    QColor color;
};

// The font and colour choosers (dialogs in the program, answers in tests).
class Choosers {
public:
    virtual ~Choosers() = default;
    virtual std::optional<FontChoice> font(const QFont& initial, const QColor& initialColor) = 0;
    virtual std::optional<QColor> color(const QColor& initial) = 0;
    // File dialogs. `filter` is in the "名前(*.ext)|*.ext|..." form settings
    // files have always been offered with.
    virtual std::optional<QString> saveFile(const QString& folder, const QString& proposal,
                                            const QString& filter, const QString& suffix) = 0;
    // `proposal` is the name the open dialog starts with (may be empty).
    virtual std::optional<QString> openFile(const QString& folder, const QString& filter,
                                            const QString& proposal = QString()) = 0;
};

class QtChoosers final : public Choosers {
public:
    std::optional<FontChoice> font(const QFont& initial, const QColor& initialColor) override;
    std::optional<QColor> color(const QColor& initial) override;
    std::optional<QString> saveFile(const QString& folder, const QString& proposal,
                                    const QString& filter, const QString& suffix) override;
    std::optional<QString> openFile(const QString& folder, const QString& filter,
                                    const QString& proposal = QString()) override;
};

// Date and time for the lines the station notes on its explanation page.
class Clock {
public:
    virtual ~Clock() = default;
    virtual QDateTime now() const = 0;
    // Milliseconds that only ever grow, for deadlines: they neither wrap at
    // midnight nor jump with the wall clock.
    virtual qint64 monotonicMs() const { return now().toMSecsSinceEpoch(); }
};

class SystemClock final : public Clock {
public:
    QDateTime now() const override { return QDateTime::currentDateTime(); }
    qint64 monotonicMs() const override;
};

// "2026/12/10-14:03:27:" as the explanation page's lines begin.
QString explanationStamp(const QDateTime& t);

// Adds a line to the explanation page. Lines carry text from other stations,
// so it goes in as plain text and is never read as markup.
void appendExplanationLine(QTextEdit* page, const QString& line);

// Shows text only while "メッセージを表示する" (CheckBox19) is ticked.
void showIfEnabled(Messages& messages, const QCheckBox* checkBox19, const QString& text);

// Runs a handler and shows any error it raises in a message box, so that one
// bad value never ends the handler's caller or the program. Handlers wired to
// Qt signals go through this, so errors never unwind through Qt's own frames.
template <class F> void reportErrors(Messages& messages, F&& handler) {
    try {
        handler();
    } catch (const std::exception& e) {
        messages.show(QString::fromUtf8(e.what()));
    }
}

// State shared by the station's components that no single control holds.
struct StationState {
    bool settingsReady = false; // set once the start-up timer has run
    bool groupFull = false;     // a "Ful" answer arrived
    QString programDirectory;   // with a trailing separator, known from the start
    // The executable's folder when files go elsewhere (an installed station):
    // a start-up settings file there is still read. Empty otherwise.
    QString besideExecutable;
};

} // namespace quorel

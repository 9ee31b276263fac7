#pragma once
// The input part: where a typist writes the next sentence, and "Send a
// sentence", the one operation every input source uses to put a sentence on the
// screen and on the network.

#include <QObject>
#include <QString>
#include <functional>

class QCheckBox;
class QKeyEvent;
class QLineEdit;

namespace quorel {

class Clipboard;
class InputEdit;
class Messages;
class ScreenPart;

class InputPart : public QObject {
    Q_OBJECT
public:
    static constexpr int kSentenceLimit = 512; // bytes
    static inline const QString kHint = QStringLiteral(
        "Input part(Enter:Move, Ctrl+Enter:Line feed, ESC:Clear, Ctrl+Z:Cancel Clear)");
    static inline const QString kTooLong = QStringLiteral("全角256字以上の文字を送ろうとした。");
    static inline const QString kLineFeedToken = QStringLiteral("$改行$");

    struct Controls {
        InputEdit* RichEdit1;
        QCheckBox* CheckBox19; // messages enabled
        QCheckBox* CheckBox21; // send to the palette instead
        QCheckBox* CheckBox22; // send the input to LAN
        QCheckBox* CheckBox41; // copy every sent sentence
        QCheckBox* CheckBox53; // send only the text before the caret
        QLineEdit* Edit31;     // speaker name
    };

    // Where a sent sentence goes next. Each is empty until the station has the
    // subsystem that takes it (members, partner link, palette).
    struct Hooks {
        std::function<void(const QString&)> sendCaption;
        std::function<void(const QString&)> sendToPalette;
        std::function<bool()> partnerNominated;
        std::function<void()> blankPartnerMonitor;
        std::function<void(QKeyEvent*)> keyReleased;
        std::function<void(bool shift)> undo; // F9
        std::function<bool(bool shift)> f11;  // true when F11 is Del/Cls
        // The input aids: every key down, the function keys they own (true
        // when taken), every change a typist made (never one a send made),
        // and the ends of a sentence (a send, Esc).
        std::function<void()> keyDown;
        std::function<bool(int key, bool shift)> functionKey;
        std::function<void()> changed;
        std::function<void()> sent;
        std::function<void()> cleared;
    };

    InputPart(const Controls& c, ScreenPart& screen, Clipboard& clipboard, Messages& messages,
              QObject* parent = nullptr);

    Hooks& hooks() { return hooks_; }

    // Where a sentence comes from. Only a sentence from the input part empties
    // it: a typist's unsent text there survives a sentence the pre-roll, a
    // sub input pane or the palette sends.
    enum class Source { InputPart, Elsewhere };
    // Returns 0 when the sentence was taken, 1 when refused for its length.
    int sendSentence(const QString& s, Source from = Source::InputPart);
    // The Enter action: the whole input part, or only the text before the caret.
    int sendInputPart();

    bool autoSendSuppressed() const { return autoSendSuppressed_; }
    void setAutoSendSuppressed(bool on) { autoSendSuppressed_ = on; }

    // Handlers of the editor.
    void RichEdit1KeyDown(QKeyEvent* e, bool* handled);
    void RichEdit1EnterPress();
    void RichEdit1KeyUp(QKeyEvent* e);
    void clearInput(); // Esc

private:
    void resetTypingFont();
    // Steps 8 and 9 of a send: the sentence leaves, the speaker name comes back.
    void emptyAfterSend();

    Controls c_;
    ScreenPart& screen_;
    Clipboard& clipboard_;
    Messages& messages_;
    Hooks hooks_;
    bool autoSendSuppressed_ = false;
    // Set while a send empties the input part and puts the speaker name back:
    // those changes are the send's own, never a typist's.
    bool sending_ = false;
};

// The plain text of an editor as the wire carries it: line breaks as CR LF.
QString wireText(QString editorText);

} // namespace quorel

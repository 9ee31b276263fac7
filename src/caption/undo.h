#pragma once
// Taking sentences back: Undo (F9) removes the newest sentence from every
// member's screen and puts it back into the typist's input part; Del removes
// the last character of the screen and Cls clears it. All three travel as
// short command words so that every member's screen stays identical.

#include <QObject>
#include <QString>
#include <functional>

class QCheckBox;
class QTextEdit;

namespace quorel {

class DisplayRecord;
class InputPart;
class LumoLink;
class MemberList;
class Messages;
class ScreenPart;
class TNMUDP;
struct StationState;

class Undo : public QObject {
    Q_OBJECT
public:
    static constexpr int kBound = 256;
    static constexpr int kBasePort = 6723;
    static inline const QString kUndoF11Note = QStringLiteral(
        "「表示２」ページの「Ｕｎｄｏの表示方法」の「描画する」のチェックを外しました。\n"
        "チェックを入れておくとＦ１１キーを使った後にＵｎｄｏすると\n"
        "表示が一気に最下段まで下がるためです。");
    static inline const QString kNeeds35 =
        QStringLiteral("「入力部内で改行する」のチェックを入れてください。\n"
                       "「入力部内で改行」せずに、単に「空行のみ改行」だけで使う場合は、チェックは"
                       "必要ありません。");

    struct Controls {
        TNMUDP* NMUDP9;
        QTextEdit* RichEdit1;  // the input part
        QCheckBox* CheckBox8;  // line feed only by null line
        QCheckBox* CheckBox50; // markers
        QCheckBox* CheckBox11; // others' sentences too
        QCheckBox* CheckBox40; // display again after undo
        QCheckBox* CheckBox35; // undone sentence as a line of its own
        QCheckBox* CheckBox36; // refinement for "null line only"
        QCheckBox* CheckBox47; // F11 is Del / Shift+F11 is Cls
        QCheckBox* CheckBox22; // send the input to LAN
        QCheckBox* CheckBox85; // correction mode
        QCheckBox* CheckBox19; // messages enabled
    };

    Undo(const Controls& c, DisplayRecord& record, ScreenPart& screen, InputPart& input,
         MemberList& members, const LumoLink& lumo, StationState& state, Messages& messages,
         QObject* parent = nullptr);

    // F9: the sentence goes back into `into`, the input part when null.
    void undo(bool shift, QTextEdit* into = nullptr);
    void undoReceived(); // a member's "undo"
    void Del();
    void Cls();
    void sendCommand(const QString& word);
    // F11 with CheckBox47 ticked; false when F11 is not Del/Cls.
    bool f11(bool shift);
    void NMUDP9DataReceived(TNMUDP* Sender, int NumberBytes, const QString& FromIP, int Port);
    // The held-captions list takes the commands that arrive in correction
    // mode; set by the caption link.
    std::function<void(const QString&)> hold;

private:
    // Removes the newest sentence by the growth history; false when there
    // is nothing to take back.
    bool removeNewest();
    void putBack(const QString& s, bool shift, QTextEdit* editor);
    void afterUndo();

    Controls c_;
    DisplayRecord& record_;
    ScreenPart& screen_;
    InputPart& input_;
    MemberList& members_;
    const LumoLink& lumo_;
    StationState& state_;
    Messages& messages_;
};

} // namespace quorel

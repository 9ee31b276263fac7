#include "net/link_encryption.h"

#include "base/services.h"
#include "text/cp932.h"
#include "windows/titles.h"
#include "wire/scramble.h"

#include <QCheckBox>
#include <QLineEdit>

namespace quorel {

const QString LinkEncryption::kExplanation = QStringLiteral(
    "「通信を暗号化する」のチェックを入れると入力や前ロールなどをパスワードで暗号化して送信します。"
    "\n"
    "暗号化中は、メインウィンドとサブ入力ウィンドのキャプション部に「【暗号化通信中】」と表示します"
    "。\n\n"
    "＜使い方＞\n"
    "インターネットや学校・会社などの不特定多数が共用するネットワークでＱｕｏｒｅｌを使う場合、\n"
    "万が一、通信をモニター（覗き見）されると入力した内容がそのまま見えてしまいます。\n"
    "このような場合、チェックを入れると暗号化されて内容が分からなくなります。\n\n"
    "ＨＵＢなどで情報保障専用のＬＡＮを組んで入力する場合は必要ありません。\n\n"
    "＜注意＞\n"
    "全てのＱｕｏｒｅｌで同じパスワードを入力し、チェックを入れてください。\n"
    "暗号化した文を「チェックを入れない」Ｑｕｏｒｅｌが受信すると英数字の羅列になります。\n"
    "暗号化しない文を「チェックを入れた」Ｑｕｏｒｅｌが受信すると「空行を表示」します。\n"
    "パスワードが合っていない暗号文を「チェックを入れた」Ｑｕｏｒｅｌが受信すると\n"
    "意味の無い文字の羅列が表示されます。\n\n"
    "暗号は簡単なものですから、本格的な機密保持が必要な場合はＶＰＮルータを使うなどしてください。");

LinkEncryption::LinkEncryption(const Controls& c, Titles& titles, StationState& state,
                               Messages& messages, QObject* parent)
    : QObject(parent), c_(c), titles_(titles), state_(state), messages_(messages) {
    connect(c_.CheckBox42, &QCheckBox::toggled, this,
            [this] { reportErrors(messages_, [&] { CheckBox42Click(); }); });
    connect(c_.Edit1, &QLineEdit::textChanged, this,
            [this] { reportErrors(messages_, [&] { Edit1Change(); }); });
    deriveKey();
}

bool LinkEncryption::enabled() const {
    return c_.CheckBox42->isChecked();
}

QByteArray LinkEncryption::Scramble(const QByteArray& text) const {
    return enabled() ? scrambleBytes(text, key_, keyOffset_) : text;
}

QByteArray LinkEncryption::Unscramble(const QByteArray& text) const {
    return enabled() ? unscrambleBytes(text, key_, keyOffset_) : text;
}

void LinkEncryption::deriveKey() {
    key_ = text::encode(c_.Edit1->text());
    if (key_.size() > kPasswordLimit)
        key_.truncate(kPasswordLimit);
    keyOffset_ = linkKeyOffset(key_);
}

void LinkEncryption::Edit1Change() {
    // The password is never empty: a station must always be able to scramble.
    if (c_.Edit1->text().isEmpty()) {
        c_.Edit1->setText(kStandInPassword); // runs this rule again
        return;
    }
    deriveKey();
}

void LinkEncryption::CheckBox42Click() {
    titles_.setEncrypted(enabled());
    if (enabled() && state_.settingsReady)
        showIfEnabled(messages_, c_.CheckBox19, kExplanation);
}

} // namespace quorel

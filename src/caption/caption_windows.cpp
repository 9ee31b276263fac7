#include "caption/caption_windows.h"

#include "windows/fonts.h"

#include <QEvent>
#include <QLabel>
#include <algorithm>

namespace quorel {

TForm2::TForm2(QWidget* parent)
    : StationWindow(QStringLiteral("TForm2"), QStringLiteral(" : ８人モニター(ctrl+8)"), parent) {
    static const char* const nameBoxes[] = {"Edit36", "Edit37", "Edit38", "Edit39",
                                            "Edit81", "Edit82", "Edit83", "Edit84"};
    const QFont font = japaneseFont(kDefaultFace, 9);
    for (int i = 0; i < 8; ++i) {
        const auto k = static_cast<std::size_t>(i);
        bePartner[k] = new QPushButton(QStringLiteral("M%1").arg(i + 1), this);
        bePartner[k]->setObjectName(QStringLiteral("Button%1").arg(3 + 2 * i));
        partner[k] = new QPushButton(QStringLiteral("P"), this);
        partner[k]->setObjectName(QStringLiteral("Button%1").arg(4 + 2 * i));
        partner[k]->hide();
        names[k] = new QLineEdit(this);
        names[k]->setObjectName(QString::fromLatin1(nameBoxes[i]));
        names[k]->setFont(font);
        panes[k] = new QTextEdit(this);
        panes[k]->setObjectName(QStringLiteral("RichEdit%1").arg(i + 1));
        panes[k]->setReadOnly(true);
        panes[k]->setAcceptRichText(false);
        panes[k]->setFont(font);
        panes[k]->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    }
    Button1 = new QPushButton(QStringLiteral("Font"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button2 = new QPushButton(QStringLiteral("Background Color"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    CheckBox1 = new QCheckBox(QStringLiteral("Do not display   “ ●消去●”, “ $改行$”."), this);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox2 = new QCheckBox(
        QStringLiteral("Display automatically from the upper in order of the input. "), this);
    CheckBox2->setObjectName(QStringLiteral("CheckBox2"));
    Label1 = new QLabel(QStringLiteral("The position changes places when the frame in the moving "
                                       "destination is clicked after clicking the frame. "),
                        this);
    Label2 = new QLabel(
        QStringLiteral(
            "The Color can be specified independently when right-clicking of the mouse."),
        this);
    for (QLabel* l : {Label1, Label2}) {
        l->setWordWrap(true);
        markExplanation(l);
    }
    // Placed at the top of the screen, in front of the other windows.
    setWindowFlag(Qt::WindowStaysOnTopHint);
    resize(433, 285);
    move(x(), 0);
}

namespace {
constexpr int kRowHeight = 24;
constexpr int kTextLeft = 44; // after the key name and the replace box
} // namespace

TForm5::TForm5(QWidget* parent)
    : StationWindow(QStringLiteral("TForm5"), QStringLiteral(" : Ｆキー・メモ(ctrl+f)"), parent) {
    static const char* const textNames[] = {"Edit45", "Edit56", "Edit57", "Edit58", "Edit59",
                                            "Edit60", "Edit61", "Edit62", "Edit65"};
    static const int keyOfRow[] = {1, 2, 3, 4, 5, 6, 7, 8, 11};
    auto keyLabel = [this](int key, int line) {
        auto* l = new QLabel(QStringLiteral("F%1").arg(key), this);
        l->setGeometry(2, 4 + line * kRowHeight, 24, kRowHeight - 2);
    };
    auto rowLabel = [this](const char* name, const QString& text, int line) {
        auto* l = new QLabel(text, this);
        if (name != nullptr)
            l->setObjectName(QString::fromLatin1(name));
        l->setGeometry(26, 4 + line * kRowHeight, 190, kRowHeight - 2);
        return l;
    };
    for (int i = 0; i < kMemoRows; ++i) {
        const auto k = static_cast<std::size_t>(i);
        const int key = keyOfRow[i];
        const int line = key - 1; // the rows stand in key order, F9 F10 between
        keyLabel(key, line);
        replaces[k] = new QCheckBox(this);
        replaces[k]->setObjectName(QStringLiteral("CheckBox%1").arg(i + 1));
        replaces[k]->setGeometry(26, 4 + line * kRowHeight, 18, kRowHeight - 2);
        texts[k] = new QLineEdit(this);
        texts[k]->setObjectName(QString::fromLatin1(textNames[i]));
        texts[k]->setGeometry(kTextLeft, 4 + line * kRowHeight, 217 - kTextLeft, kRowHeight - 2);
    }
    Label5 = rowLabel("Label5", QStringLiteral("「入力読み」（ルビ）を挿入"), F1);
    Label3 = rowLabel("Label3", QStringLiteral("指定範囲を文字列で囲む"), 6);
    Label1 = rowLabel("Label1", QStringLiteral("指定のカッコでくくる。"), 7);
    Label4 = rowLabel("Label4", QStringLiteral("１字削除／画面消去(Shift+F11)"), 10);
    otherUse_ = {Label5, nullptr, nullptr, nullptr, nullptr, nullptr, Label3, Label1, Label4};
    for (QLabel* l : {Label5, Label3, Label1, Label4})
        l->hide();
    keyLabel(9, 8);
    rowLabel(nullptr, QStringLiteral("表示を元に戻す（５度Ｕｎｄｏ可）"), 8);
    keyLabel(10, 9);
    rowLabel(nullptr, QStringLiteral("Windowsが使用。"), 9);
    keyLabel(12, 11);
    rowLabel(nullptr, QStringLiteral("前に空行が入るＥｎｔｅｒキー"), 11);
    note = new QLabel(QStringLiteral("●チェックは入力部を消去してから挿入"), this);
    note->setGeometry(2, 4 + 12 * kRowHeight, 214, kRowHeight);
    markExplanation(note);

    Edit45 = texts[0];
    Edit56 = texts[1];
    Edit57 = texts[2];
    Edit58 = texts[3];
    Edit59 = texts[4];
    Edit60 = texts[5];
    Edit61 = texts[6];
    Edit62 = texts[7];
    Edit65 = texts[8];
    CheckBox1 = replaces[0];
    CheckBox2 = replaces[1];
    CheckBox3 = replaces[2];
    CheckBox4 = replaces[3];
    CheckBox5 = replaces[4];
    CheckBox6 = replaces[5];
    CheckBox7 = replaces[6];
    CheckBox8 = replaces[7];
    CheckBox9 = replaces[8];
    resize(217, 333);
}

void TForm5::showOtherUse(Row row, bool on) {
    const auto k = static_cast<std::size_t>(row);
    if (otherUse_[k] == nullptr)
        return;
    otherUse_[k]->setVisible(on);
    texts[k]->setVisible(!on);
    replaces[k]->setVisible(!on);
}

void TForm5::FormActivate() {
    // isHidden, not isVisible: the window may not be shown yet.
    if (!Edit45->isHidden())
        Edit45->setFocus();
    else
        Edit56->setFocus();
}

void TForm5::FormResize() {
    for (QLineEdit* e : texts)
        e->resize(std::max(20, width() - kTextLeft), e->height());
}

void TForm5::changeEvent(QEvent* e) {
    StationWindow::changeEvent(e);
    if (e->type() == QEvent::ActivationChange && isActiveWindow())
        FormActivate();
}

void TForm5::resizeEvent(QResizeEvent* e) {
    StationWindow::resizeEvent(e);
    FormResize();
}

} // namespace quorel

#include "caption/caption_windows.h"

#include "windows/fonts.h"

#include <QLabel>

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

} // namespace quorel

#include "caption/caption_windows.h"

#include "app/fonts.h"

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
    Edit20 = new QLineEdit(QStringLiteral("1"), this);
    Edit20->setObjectName(QStringLiteral("Edit20"));
    Edit20->hide(); // set on the main window's "Auxiliary" page
    setWindowFlag(Qt::WindowStaysOnTopHint);
    resize(429, 292);
    layoutRows();
}

void TForm2::layoutRows() {
    const QFont font = panes[0]->font();
    bool ok = false;
    const int lines = std::clamp(Edit20->text().toInt(&ok), 1, 9);
    const int rowHeight = (ok ? lines : 1) * font.pointSize() * 2 + 2;
    const int w = width();
    const int buttons = 60, nameWidth = 90;
    int y = 0;
    for (std::size_t k = 0; k < 8; ++k) {
        names[k]->setFont(font);
        bePartner[k]->setGeometry(0, y, buttons / 2, rowHeight);
        partner[k]->setGeometry(buttons / 2, y, buttons / 2, rowHeight);
        names[k]->setGeometry(buttons + 2, y, nameWidth, rowHeight);
        panes[k]->setGeometry(buttons + nameWidth + 4, y, std::max(20, w - buttons - nameWidth - 4),
                              rowHeight);
        y += rowHeight + 4;
    }
    Button1->setGeometry(0, y, 80, 24);
    Button2->setGeometry(84, y, 140, 24);
    CheckBox1->setGeometry(0, y + 28, w, 20);
    CheckBox2->setGeometry(0, y + 28 + 20 + 16, w, 20);
}

} // namespace quorel

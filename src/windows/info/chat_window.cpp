#include "windows/info/chat_window.h"

#include "windows/controls.h"
#include "windows/fonts.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QTimer>
#include <QVBoxLayout>

namespace quorel {

ChatInput::ChatInput(QWidget* parent) : QPlainTextEdit(parent) {
    connect(this, &QPlainTextEdit::textChanged, this, &ChatInput::keepLimit);
}

void ChatInput::keyPressEvent(QKeyEvent* e) {
    if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) &&
        !(e->modifiers() & Qt::ControlModifier)) {
        e->accept();
        emit enterPressed();
        return;
    }
    QPlainTextEdit::keyPressEvent(e);
}

void ChatInput::keepLimit() {
    const QString t = toPlainText();
    if (t.size() <= kLimit)
        return;
    // What went past the limit is cut off at the end, and the caret stays.
    const int caret = std::min<int>(textCursor().position(), kLimit);
    setPlainText(t.left(kLimit));
    QTextCursor c = textCursor();
    c.setPosition(caret);
    setTextCursor(c);
}

TForm6::TForm6(QWidget* parent)
    : StationWindow(QStringLiteral("TForm6"), QStringLiteral(" : 連絡(ctrl+r)"), parent) {
    setWindowTitle(kCaption);
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    splitter = named(new QSplitter(Qt::Vertical, this), "splitter");
    splitter->setChildrenCollapsible(false);
    v->addWidget(splitter);

    // The option strip: its first row shows at the start height, the rest
    // when the typist drags the splitter down.
    // It scrolls, so that the window can be as narrow as the typist likes.
    Panel3 = named(new QScrollArea, "Panel3");
    Panel3->setFrameShape(QFrame::NoFrame);
    Panel3->setWidgetResizable(true);
    auto* options = new QWidget;
    Panel3->setWidget(options);
    auto* g = new QGridLayout(options);
    g->setContentsMargins(2, 2, 2, 2);
    g->setVerticalSpacing(2);
    Edit1 = named(new QLineEdit, "Edit1");
    Edit1->setFixedWidth(60);
    CheckBox1 = named(new QCheckBox(QStringLiteral("Send to all Members")), "CheckBox1");
    Button1 = named(new QPushButton(QStringLiteral("Save")), "Button1");
    Button2 = named(new QPushButton(QStringLiteral("Font")), "Button2");
    Button3 = named(new QPushButton(QStringLiteral("Background Color")), "Button3");
    Button4 = named(new QPushButton(QStringLiteral("Background Color when receiving ")), "Button4");
    auto* row1 = new QHBoxLayout;
    row1->addWidget(new QLabel(QStringLiteral("Sender")));
    row1->addWidget(Edit1);
    for (QWidget* w :
         std::initializer_list<QWidget*>{CheckBox1, Button1, Button2, Button3, Button4})
        row1->addWidget(w);
    row1->addStretch();
    g->addLayout(row1, 0, 0, 1, 2);

    CheckBox2 = named(new QCheckBox(QStringLiteral("定時連絡")), "CheckBox2");
    Edit2 = named(new QLineEdit(QStringLiteral("5")), "Edit2");
    Edit2->setFixedWidth(40);
    Edit3 = named(new QLineEdit(QStringLiteral("Change please !")), "Edit3");
    CheckBox3 = named(new QCheckBox(QStringLiteral("Nortify 30 seconds before.")), "CheckBox3");
    CheckBox3->setChecked(true);
    Edit4 = named(new QLineEdit(QStringLiteral("Now, 30 seconds before ")), "Edit4");
    CheckBox4 = named(new QCheckBox(QStringLiteral("Send to LAN.")), "CheckBox4");
    CheckBox5 =
        named(new QCheckBox(QStringLiteral("Display Time at “Message at the regular time ”")),
              "CheckBox5");
    CheckBox5->setChecked(true);
    CheckBox6 = named(new QCheckBox(QStringLiteral("Display Time in Message")), "CheckBox6");
    CheckBox7 = named(new QCheckBox(QStringLiteral("When Quorel ends, save it automatically. ")),
                      "CheckBox7");
    Label3 = named(new QLabel(QStringLiteral("Message at the regular time (Stopping )")), "Label3");
    auto* row2 = new QHBoxLayout;
    row2->addWidget(CheckBox2);
    row2->addWidget(withUpDown(Edit2, "UpDown1", 1, 999));
    row2->addWidget(new QLabel(QStringLiteral("min")));
    row2->addWidget(Edit3, 1);
    g->addLayout(row2, 1, 0, 1, 2);
    g->addWidget(CheckBox3, 2, 0);
    g->addWidget(Edit4, 2, 1);
    g->addWidget(CheckBox4, 3, 0);
    g->addWidget(CheckBox5, 3, 1);
    g->addWidget(CheckBox6, 4, 0);
    g->addWidget(CheckBox7, 4, 1);
    g->addWidget(Label3, 5, 0, 1, 2);
    g->setRowStretch(6, 1);

    RichEdit2 = named(new QPlainTextEdit, "RichEdit2");
    RichEdit2->setReadOnly(true);
    Panel1 = named(new QWidget, "Panel1");
    auto* inputLayout = new QVBoxLayout(Panel1);
    inputLayout->setContentsMargins(0, 0, 0, 0);
    RichEdit1 = named(new ChatInput(Panel1), "RichEdit1");
    inputLayout->addWidget(RichEdit1);
    const QFont font = japaneseFont(kDefaultFace, 12);
    for (QPlainTextEdit* e : {RichEdit2, static_cast<QPlainTextEdit*>(RichEdit1)}) {
        e->setFont(font);
        QPalette pal = e->palette();
        pal.setColor(QPalette::Base, Qt::white);
        pal.setColor(QPalette::Text, Qt::black);
        e->setPalette(pal);
    }
    // No pane can be dragged away entirely.
    for (QWidget* w : {static_cast<QWidget*>(Panel3), static_cast<QWidget*>(RichEdit2), Panel1}) {
        w->setMinimumHeight(2);
        splitter->addWidget(w);
    }
    for (QWidget* w : {static_cast<QWidget*>(RichEdit2), static_cast<QWidget*>(RichEdit1)})
        w->setMinimumHeight(2);
    splitter->setStretchFactor(1, 1);

    Timer1 = named(new QTimer(this), "Timer1");
    Timer1->setInterval(2000);
    Timer2 = named(new QTimer(this), "Timer2");
    Timer2->setInterval(1000);

    setWindowFlag(Qt::WindowStaysOnTopHint);
    resize(255, 200);
    move(0, 0);
    setStripHeight(33);
    setInputHeight(38);
    setFocusProxy(RichEdit1);
}

int TForm6::stripHeight() const {
    return splitter->sizes().value(0);
}

int TForm6::inputHeight() const {
    return splitter->sizes().value(2);
}

void TForm6::setStripHeight(int h) {
    setSplitterPart(splitter, 0, h, 1);
}

void TForm6::setInputHeight(int h) {
    setSplitterPart(splitter, 2, h, 1);
}

void TForm6::closeEvent(QCloseEvent* e) {
    emit closing();
    StationWindow::closeEvent(e);
}

bool TForm6::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate)
        emit activated();
    return StationWindow::event(e);
}

} // namespace quorel

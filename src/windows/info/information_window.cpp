#include "windows/info/information_window.h"

#include "text/cp932.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <QValidator>

namespace quorel {

namespace {

template <class T> T* named(T* w, const char* name) {
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

QCheckBox* check(QWidget* parent, const char* name, const QString& caption, bool on) {
    auto* c = named(new QCheckBox(caption, parent), name);
    c->setChecked(on);
    return c;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption) {
    return named(new QPushButton(caption, parent), name);
}

// The telop text is counted in code page 932 bytes: typing, pasting or an
// input method's commit that would pass the limit is refused whole.
class ByteLimit final : public QValidator {
public:
    ByteLimit(int bytes, QObject* parent) : QValidator(parent), bytes_(bytes) {}
    State validate(QString& input, int&) const override {
        return text::byteLength(input) <= bytes_ ? Acceptable : Invalid;
    }

private:
    int bytes_;
};

// A number box with its up-down beside it: the arrows write the box, and a
// typed box moves the arrows. The box stays the setting.
QWidget* withUpDown(QWidget* parent, QLineEdit*& edit, const char* editName, QSpinBox*& updown,
                    const char* updownName, const QString& value, int min, int max) {
    auto* row = new QWidget(parent);
    auto* h = new QHBoxLayout(row);
    h->setContentsMargins(0, 0, 0, 0);
    edit = named(new QLineEdit(value, row), editName);
    updown = named(new QSpinBox(row), updownName);
    updown->setRange(min, max);
    updown->setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    updown->setFixedWidth(18 + updown->sizeHint().height());
    updown->setValue(value.toInt());
    QLineEdit* e = edit;
    QSpinBox* u = updown;
    QObject::connect(u, &QSpinBox::valueChanged, e, [e](int v) {
        if (e->text() != QString::number(v))
            e->setText(QString::number(v));
    });
    QObject::connect(e, &QLineEdit::textChanged, u, [u](const QString& t) {
        bool ok = false;
        const int v = t.toInt(&ok);
        if (ok && v != u->value()) {
            const QSignalBlocker block(u);
            u->setValue(v);
        }
    });
    h->addWidget(edit);
    h->addWidget(updown);
    return row;
}

} // namespace

TelopPicture::TelopPicture(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Image2"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(false);
}

void TelopPicture::setLook(const QFont& font, const QColor& text, const QColor& background) {
    font_ = font;
    textColour_ = text;
    background_ = background;
    update();
}

void TelopPicture::fill() {
    textShown_ = false;
    update();
}

void TelopPicture::drawText(const QString& text, int x) {
    text_ = text;
    x_ = x;
    textShown_ = true;
    update();
}

void TelopPicture::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), background_);
    if (!textShown_)
        return;
    p.setFont(font_);
    p.setPen(textColour_);
    // The text's cell starts 5 pixels below the top.
    p.drawText(x_, 5 + QFontMetrics(font_).ascent(), text_);
}

void TelopPicture::mouseMoveEvent(QMouseEvent* e) {
    if (e->buttons() & Qt::LeftButton)
        emit dragged(e->position().toPoint());
}

TelopKeyCatcher::TelopKeyCatcher(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Edit77"));
    setFocusPolicy(Qt::StrongFocus);
}

void TelopKeyCatcher::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_F1) {
        emit f1();
        return;
    }
    QWidget::keyPressEvent(e);
}

TForm15::TForm15(QWidget* parent)
    : StationWindow(QStringLiteral("TForm15"), QStringLiteral(" : お知らせ(ctrl+o)"), parent) {
    Image2 = new TelopPicture(this);
    // The key catcher holds the focus while a telop runs, out of sight.
    Edit77 = new TelopKeyCatcher(this);
    Edit77->setGeometry(-10, -10, 1, 1);
    Timer1 = named(new QTimer(this), "Timer1");

    PageControl1 = named(new QTabWidget(this), "PageControl1");
    TabSheet1 = named(new QWidget, "TabSheet1");
    TabSheet2 = named(new QWidget, "TabSheet2");
    PageControl1->addTab(TabSheet1, QStringLiteral("Send"));
    PageControl1->addTab(TabSheet2, QStringLiteral("Setting"));
    buildSendPage();
    buildSettingPage();
    resize(640, 350);
    fitChildren();
    setDisplayMode(false);
    // Opened, the window is ready for the text.
    Edit1->setFocus();
}

void TForm15::buildSendPage() {
    auto* v = new QVBoxLayout(TabSheet1);
    // The text a fresh station starts with is the one its settings file
    // starts with; the English hint shows whenever the box is empty.
    Edit1 = named(
        new QLineEdit(QStringLiteral("ここにお知らせを入力します。（最大５００文字）"), TabSheet1),
        "Edit1");
    Edit1->setPlaceholderText(
        QStringLiteral("Information is input here. (Maximum 500 characters)"));
    Edit1->setValidator(new ByteLimit(1000, Edit1));
    v->addWidget(Edit1);
    auto* row = new QHBoxLayout;
    Button5 = button(TabSheet1, "Button5", QStringLiteral("Send"));
    Button6 = button(TabSheet1, "Button6", QStringLiteral("Stop Sending"));
    CheckBox12 = check(TabSheet1, "CheckBox12", QStringLiteral("Do not receive  Telop. "), true);
    CheckBox13 = check(TabSheet1, "CheckBox13", QStringLiteral("Do not receive  Setting. "), false);
    row->addWidget(Button5);
    row->addWidget(Button6);
    row->addWidget(CheckBox12);
    row->addWidget(CheckBox13);
    row->addStretch();
    v->addLayout(row);
    auto* row2 = new QHBoxLayout;
    Button1 = button(TabSheet1, "Button1", QStringLiteral("Display"));
    Button2 = button(TabSheet1, "Button2", QStringLiteral("Stop Display"));
    Button7 = button(TabSheet1, "Button7", QStringLiteral("Add to  Pre-roll"));
    row2->addWidget(Button1);
    row2->addWidget(Button2);
    row2->addWidget(Button7);
    row2->addStretch();
    v->addLayout(row2);
    v->addStretch();
}

void TForm15::buildSettingPage() {
    auto* v = new QVBoxLayout(TabSheet2);
    auto* place = new QGroupBox(TabSheet2);
    auto* pf = new QFormLayout(place);
    CheckBox4 =
        check(place, "CheckBox4",
              QStringLiteral(
                  "Display it on the screen by the same width aｔ the upper part of the screen. "),
              true);
    CheckBox14 =
        check(place, "CheckBox14",
              QStringLiteral(
                  "Display it on the screen by the same width at the lower part of the screen. "),
              false);
    CheckBox3 =
        check(place, "CheckBox3",
              QStringLiteral("Do the self adjustment of the height of the line by the font size. "),
              true);
    pf->addRow(CheckBox4);
    pf->addRow(CheckBox14);
    pf->addRow(CheckBox3);
    pf->addRow(QStringLiteral("Height"), withUpDown(place, Edit5, "Edit5", UpDown4, "UpDown4",
                                                    QStringLiteral("100"), 1, 9999));
    pf->addRow(QStringLiteral("Width"), withUpDown(place, Edit6, "Edit6", UpDown5, "UpDown5",
                                                   QStringLiteral("640"), 1, 9999));
    pf->addRow(QStringLiteral("Top"), withUpDown(place, Edit7, "Edit7", UpDown6, "UpDown6",
                                                 QStringLiteral("0"), -999, 9999));
    pf->addRow(QStringLiteral("Left"), withUpDown(place, Edit8, "Edit8", UpDown7, "UpDown7",
                                                  QStringLiteral("0"), -999, 9999));
    pf->addRow(QStringLiteral("Increment"),
               withUpDown(place, Edit9, "Edit9", UpDown8, "UpDown8", QStringLiteral("10"), 1, 999));
    CheckBox6 =
        check(place, "CheckBox6", QStringLiteral("Continuous sending to the Partner. "), false);
    pf->addRow(CheckBox6);
    v->addWidget(place);

    auto* basic = new QGroupBox(TabSheet2);
    auto* bf = new QFormLayout(basic);
    CheckBox11 =
        check(basic, "CheckBox11", QStringLiteral("Stop scrolling at the left end. "), false);
    CheckBox7 = check(basic, "CheckBox7",
                      QStringLiteral("Basic setting in this frame is also sent. "), true);
    bf->addRow(CheckBox11);
    bf->addRow(CheckBox7);
    bf->addRow(
        QStringLiteral("Scroll Interval"),
        withUpDown(basic, Edit2, "Edit2", UpDown1, "UpDown1", QStringLiteral("50"), 0, 1000));
    bf->addRow(QStringLiteral("Scroll Distance"),
               withUpDown(basic, Edit3, "Edit3", UpDown2, "UpDown2", QStringLiteral("3"), 0, 9999));
    CheckBox1 = check(basic, "CheckBox1", QStringLiteral("Repeat"), false);
    bf->addRow(CheckBox1);
    bf->addRow(QStringLiteral("Frequency"),
               withUpDown(basic, Edit4, "Edit4", UpDown3, "UpDown3", QStringLiteral("0"), 0, 9999));
    auto* buttons = new QHBoxLayout;
    Button3 = button(basic, "Button3", QStringLiteral("Font"));
    Button4 = button(basic, "Button4", QStringLiteral("Background Color"));
    buttons->addWidget(Button3);
    buttons->addWidget(Button4);
    buttons->addStretch();
    bf->addRow(buttons);
    CheckBox2 = check(basic, "CheckBox2", QStringLiteral("Display forward. "), true);
    bf->addRow(CheckBox2);
    v->addWidget(basic);

    auto* end = new QGroupBox(TabSheet2);
    auto* ef = new QFormLayout(end);
    CheckBox5 = check(end, "CheckBox5", QStringLiteral("Clear Telop Window (*2). "), true);
    CheckBox8 = check(end, "CheckBox8", QStringLiteral("Show Setting page.(*2)"), true);
    CheckBox10 = check(end, "CheckBox10",
                       QStringLiteral("At that time, return height to the initial value. "), true);
    CheckBox9 = check(end, "CheckBox9",
                      QStringLiteral("Move to the specified place by the above (*1). "), true);
    ef->addRow(CheckBox5);
    ef->addRow(CheckBox8);
    ef->addRow(CheckBox10);
    ef->addRow(CheckBox9);
    v->addWidget(end);
    v->addStretch();
}

void TForm15::setDisplayMode(bool on) {
    displayMode_ = on;
    PageControl1->setVisible(!on);
    Image2->setVisible(on);
    reflag(Qt::FramelessWindowHint, on);
}

void TForm15::reflag(Qt::WindowType flag, bool on) {
    // A new flag makes a new native window, which is shown again if it was.
    const QRect place = geometry();
    const bool shown = isVisible();
    setWindowFlag(flag, on);
    setGeometry(place);
    if (shown)
        show();
}

void TForm15::setStaysOnTop(bool on) {
    if (testAttribute(Qt::WA_WState_Created) &&
        bool(windowFlags() & Qt::WindowStaysOnTopHint) == on)
        return;
    reflag(Qt::WindowStaysOnTopHint, on);
}

void TForm15::fitChildren() {
    Image2->setGeometry(rect());
    PageControl1->setGeometry(rect());
}

void TForm15::resizeEvent(QResizeEvent* e) {
    StationWindow::resizeEvent(e);
    fitChildren();
}

} // namespace quorel

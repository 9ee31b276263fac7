#include "windows/prepared/preroll_window.h"

#include "text/cp932.h"
#include "windows/controls.h"
#include "windows/fonts.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBlock>
#include <QVBoxLayout>

namespace quorel {

namespace {

// The first pane's text at start: how the window is used.
const char* const kUsage[] = {
    // One line, kept as one literal: split literals in a list of lines look
    // like a missing comma to the compiler.
    // clang-format off
    "Pre-roll Template Window is used when Pre-roll is imported as Template and is sent to the Screen part after being modified or added.",
    // clang-format on
    "",
    "How to use:",
    "1. Import a prepared text with the buttons of \"Import Pre-roll\" (or type it here).",
    "2. Move the cursor to a line, correct it if needed and press F1.",
    "   The line goes to the screen as if it had been typed in the input part,",
    "   and the cursor moves to the next line.",
    "3. F9 takes the last sentence back from the screen (Undo).",
    "4. F12 sends a blank line.",
    "",
    "A line beginning with \"<-\" is a comment line: F1 skips it.",
    "<- This line is a comment line.",
    "",
    "Options:",
    "- \"Send the previous part from the cursor.\" sends only the text before the cursor.",
    "- \"Clear the sent part.\" removes what was sent from this pane.",
    "- The \"Telop\" page sends a pane's lines to the information window instead.",
    "- The \"Link \" page shows your position to the other members,",
    "  or follows the line of another member's pre-roll.",
    "",
    "Save keeps a pane's text in a file; Clear empties the pane at once.",
    "Three pre-rolls can be held: choose which are shown above.",
    "This is pre-roll 1.",
};

QGroupBox* frame(const QString& title, QLayout* inner) {
    auto* g = new QGroupBox(title);
    g->setLayout(inner);
    return g;
}

} // namespace

// ---- PrerollPane -------------------------------------------------------------------

PrerollPane::PrerollPane(QWidget* parent) : QPlainTextEdit(parent) {
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

int PrerollPane::bytes() const {
    // A line break travels as CR LF: two bytes, one character in the editor.
    return text::editorBytes(toPlainText());
}

QString PrerollPane::fitting(const QString& text) const {
    return text::fitBytes(text, limit_ - bytes() + text::editorBytes(textCursor().selectedText()));
}

void PrerollPane::keyPressEvent(QKeyEvent* e) {
    switch (e->key()) {
    case Qt::Key_F1:
    case Qt::Key_F9:
    case Qt::Key_F11:
    case Qt::Key_F12:
        e->accept();
        emit functionKey(e->key(), e->modifiers() & Qt::ShiftModifier);
        return;
    default:
        break;
    }
    const QString t = e->text();
    const bool inserts = !t.isEmpty() && (t.at(0).isPrint() || e->key() == Qt::Key_Return ||
                                          e->key() == Qt::Key_Enter || e->key() == Qt::Key_Tab);
    if (inserts && !(e->modifiers() & Qt::ControlModifier)) {
        const int need =
            (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) ? 2 : text::byteLength(t);
        const int room = limit_ - bytes() + text::byteLength(textCursor().selectedText());
        if (need > room) {
            e->accept();
            return;
        }
    }
    QPlainTextEdit::keyPressEvent(e);
}

void PrerollPane::keyReleaseEvent(QKeyEvent* e) {
    QPlainTextEdit::keyReleaseEvent(e);
    if (!e->isAutoRepeat())
        emit keyReleased(e->key());
}

void PrerollPane::insertFromMimeData(const QMimeData* source) {
    if (!source->hasText())
        return;
    const QString t = fitting(source->text());
    if (!t.isEmpty())
        textCursor().insertText(t);
}

void PrerollPane::inputMethodEvent(QInputMethodEvent* e) {
    if (e->commitString().isEmpty()) {
        QPlainTextEdit::inputMethodEvent(e);
        return;
    }
    const QString t = fitting(e->commitString());
    QInputMethodEvent cut(e->preeditString(), e->attributes());
    cut.setCommitString(t, e->replacementStart(), e->replacementLength());
    QPlainTextEdit::inputMethodEvent(&cut);
}

// ---- TForm11 -----------------------------------------------------------------------

TForm11::TForm11(QWidget* parent)
    : StationWindow(QStringLiteral("TForm11"), QStringLiteral(" : テンプレート・前ロール(ctrl+n)"),
                    parent) {
    setWindowTitle(kCaption);
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    splitter = named(new QSplitter(Qt::Vertical, this), "splitter");
    splitter->setChildrenCollapsible(false);
    v->addWidget(splitter);

    // The top control area: the left part, then the option pages.
    Panel3 = named(new QWidget, "Panel3");
    auto* top = new QHBoxLayout(Panel3);
    top->setContentsMargins(0, 0, 0, 0);
    topSplitter = named(new QSplitter(Qt::Horizontal), "topSplitter");
    topSplitter->setChildrenCollapsible(false);
    top->addWidget(topSplitter);

    auto* leftArea = new QScrollArea;
    leftArea->setFrameShape(QFrame::NoFrame);
    leftArea->setWidgetResizable(true);
    Panel1 = named(new QWidget, "Panel1");
    leftArea->setWidget(Panel1);
    auto* left = new QVBoxLayout(Panel1);
    left->setContentsMargins(2, 2, 2, 2);
    left->setSpacing(2);
    Label1 = named(new QLabel(QStringLiteral("F1key:Send F9:Undo F12:Blank Line")), "Label1");
    Label2 = named(new QLabel(QStringLiteral("The line where the beginning starts by half size "
                                             "character \"<-\" is a comment line. ")),
                   "Label2");
    Label2->setWordWrap(true);
    markExplanation(Label2);
    left->addWidget(Label1);
    left->addWidget(Label2);

    auto* shown = new QHBoxLayout;
    RadioButton1 = named(new QRadioButton(QStringLiteral("１")), "RadioButton1");
    RadioButton2 = named(new QRadioButton(QStringLiteral("２")), "RadioButton2");
    RadioButton3 = named(new QRadioButton(QStringLiteral("３")), "RadioButton3");
    RadioButton4 = named(new QRadioButton(QStringLiteral("１２")), "RadioButton4");
    RadioButton5 = named(new QRadioButton(QStringLiteral("１２３")), "RadioButton5");
    for (QRadioButton* r : {RadioButton1, RadioButton2, RadioButton3, RadioButton4, RadioButton5})
        shown->addWidget(r);
    shown->addStretch();
    RadioButton1->setChecked(true);
    left->addWidget(frame(QStringLiteral("Which Pre-roll is displayed?"), shown));

    auto button = [](const char* name, const QString& caption) {
        auto* b = named(new QPushButton(caption), name);
        b->setMinimumWidth(24);
        return b;
    };
    auto* files = new QGridLayout;
    CheckBox1 = named(new QCheckBox(QStringLiteral("Add")), "CheckBox1");
    Button36 = button("Button36", QStringLiteral("1"));
    Button48 = button("Button48", QStringLiteral("２"));
    Button49 = button("Button49", QStringLiteral("３"));
    files->addWidget(new QLabel(QStringLiteral("Import Pre-roll")), 0, 0);
    files->addWidget(Button36, 0, 1);
    files->addWidget(Button48, 0, 2);
    files->addWidget(Button49, 0, 3);
    files->addWidget(CheckBox1, 0, 4);
    Button1 = button("Button1", QStringLiteral("1"));
    Button4 = button("Button4", QStringLiteral("2"));
    Button5 = button("Button5", QStringLiteral("3"));
    files->addWidget(new QLabel(QStringLiteral("Save")), 1, 0);
    files->addWidget(Button1, 1, 1);
    files->addWidget(Button4, 1, 2);
    files->addWidget(Button5, 1, 3);
    Button6 = button("Button6", QStringLiteral("1"));
    Button7 = button("Button7", QStringLiteral("2"));
    Button8 = button("Button8", QStringLiteral("3"));
    files->addWidget(new QLabel(QStringLiteral("Clear")), 2, 0);
    files->addWidget(Button6, 2, 1);
    files->addWidget(Button7, 2, 2);
    files->addWidget(Button8, 2, 3);
    left->addLayout(files);
    left->addStretch();

    PageControl1 = named(new QTabWidget, "PageControl1");
    auto page = [this](const char* name, const QString& caption) {
        auto* area = new QScrollArea;
        area->setObjectName(QString::fromLatin1(name));
        area->setFrameShape(QFrame::NoFrame);
        area->setWidgetResizable(true);
        auto* inner = new QWidget;
        area->setWidget(inner);
        PageControl1->addTab(area, caption);
        auto* l = new QVBoxLayout(inner);
        l->setContentsMargins(2, 2, 2, 2);
        l->setSpacing(2);
        return l;
    };

    // "Telop".
    QVBoxLayout* telop = page("TabSheet1", QStringLiteral("Telop"));
    auto* toTelop = new QHBoxLayout;
    CheckBox6 = named(new QCheckBox(QStringLiteral("１")), "CheckBox6");
    CheckBox7 = named(new QCheckBox(QStringLiteral("２")), "CheckBox7");
    CheckBox8 = named(new QCheckBox(QStringLiteral("３")), "CheckBox8");
    for (QCheckBox* c : {CheckBox6, CheckBox7, CheckBox8})
        toTelop->addWidget(c);
    toTelop->addStretch();
    telop->addWidget(frame(QStringLiteral("Pre-Roll to be sent"), toTelop));
    auto* where = new QHBoxLayout;
    CheckBox4 = named(new QCheckBox(QStringLiteral("Send to LAN")), "CheckBox4");
    CheckBox4->setChecked(true);
    CheckBox5 = named(new QCheckBox(QStringLiteral("Display in Your PC")), "CheckBox5");
    CheckBox5->setChecked(true);
    Button9 = named(new QPushButton(QStringLiteral("Clear display")), "Button9");
    where->addWidget(CheckBox4);
    where->addWidget(CheckBox5);
    where->addWidget(Button9);
    telop->addLayout(where);
    CheckBox13 = named(new QCheckBox(QStringLiteral("Telop display is stopped at the left end.")),
                       "CheckBox13");
    CheckBox23 = named(new QCheckBox(QStringLiteral("Send the Setting delimited by comma too")),
                       "CheckBox23");
    telop->addWidget(CheckBox13);
    telop->addWidget(CheckBox23);
    telop->addStretch();

    // "Send 1".
    QVBoxLayout* send1 = page("TabSheet2", QStringLiteral("Send 1"));
    send1->addWidget(new QLabel(QStringLiteral("●パートナーに送信する。")));
    send1->addStretch();

    // "Send2".
    QVBoxLayout* send2 = page("TabSheet3", QStringLiteral("Send2"));
    Edit3 = named(new QLineEdit(QStringLiteral("2")), "Edit3");
    Edit3->setValidator(new QIntValidator(0, 9999, Edit3));
    Edit3->setFixedWidth(50);
    QWidget* distance = withUpDown(Edit3, "UpDown2", 1, 9999);
    UpDown2 = distance->findChild<QSpinBox*>(QStringLiteral("UpDown2"));
    auto* speed = new QHBoxLayout;
    speed->addWidget(new QLabel(QStringLiteral("Change the moving distance")));
    speed->addWidget(distance);
    speed->addStretch();
    send2->addWidget(frame(QStringLiteral("Scroll Speed"), speed));
    send2->addStretch();

    // "Link ".
    QVBoxLayout* link = page("TabSheet4", QStringLiteral("Link "));
    auto* monitor = new QVBoxLayout;
    CheckBox9 =
        named(new QCheckBox(QStringLiteral("Send to all  Memberｓ of the Group")), "CheckBox9");
    CheckBox11 = named(new QCheckBox(QStringLiteral("Send only to the Partner")), "CheckBox11");
    CheckBox10 = named(new QCheckBox(QStringLiteral("Display in your PC")), "CheckBox10");
    monitor->addWidget(CheckBox9);
    monitor->addWidget(CheckBox11);
    monitor->addWidget(CheckBox10);
    link->addWidget(frame(QStringLiteral("Send to monitor"), monitor));
    auto* lines = new QGridLayout;
    CheckBox19 = named(new QCheckBox(QStringLiteral("Send")), "CheckBox19");
    CheckBox20 = named(new QCheckBox(QStringLiteral("Receive")), "CheckBox20");
    auto paneChoice = [](std::array<QRadioButton**, 3> buttons, std::array<const char*, 3> names) {
        auto* box = new QHBoxLayout;
        const QString captions[] = {QStringLiteral("１"), QStringLiteral("２"),
                                    QStringLiteral("３")};
        for (int i = 0; i < 3; ++i) {
            *buttons[std::size_t(i)] = named(new QRadioButton(captions[i]), names[std::size_t(i)]);
            box->addWidget(*buttons[std::size_t(i)]);
        }
        box->addStretch();
        auto* g = frame(QStringLiteral("P-roll"), box);
        // The two frames choose independently of each other.
        auto* group = new QButtonGroup(g);
        for (QRadioButton** b : buttons)
            group->addButton(*b);
        return g;
    };
    lines->addWidget(CheckBox19, 0, 0);
    lines->addWidget(paneChoice({&RadioButton9, &RadioButton10, &RadioButton11},
                                {"RadioButton9", "RadioButton10", "RadioButton11"}),
                     0, 1);
    lines->addWidget(CheckBox20, 1, 0);
    lines->addWidget(paneChoice({&RadioButton12, &RadioButton13, &RadioButton14},
                                {"RadioButton12", "RadioButton13", "RadioButton14"}),
                     1, 1);
    link->addWidget(frame(QStringLiteral("Link of Pre-roll"), lines));
    link->addStretch();

    // "Other1".
    QVBoxLayout* other1 = page("TabSheet5", QStringLiteral("Other1"));
    Button2 = named(new QPushButton(QStringLiteral("Font")), "Button2");
    Button3 = named(new QPushButton(QStringLiteral("Background Color")), "Button3");
    auto* looks = new QHBoxLayout;
    looks->addWidget(Button2);
    looks->addWidget(Button3);
    looks->addStretch();
    other1->addLayout(looks);
    other1->addStretch();

    // "Other2".
    QVBoxLayout* other2 = page("TabSheet6", QStringLiteral("Other2"));
    CheckBox3 = named(new QCheckBox(QStringLiteral("Send the previous part from the cursor. ")),
                      "CheckBox3");
    CheckBox2 = named(new QCheckBox(QStringLiteral("Clear the sent part.")), "CheckBox2");
    CheckBox22 = named(new QCheckBox(QStringLiteral("Add the cleared part to the former line. ")),
                       "CheckBox22");
    Edit1 = named(new QLineEdit(QStringLiteral("1")), "Edit1");
    Edit1->setValidator(new QIntValidator(0, 9999, Edit1));
    Edit1->setFixedWidth(50);
    other2->addWidget(CheckBox3);
    other2->addWidget(CheckBox2);
    other2->addWidget(CheckBox22);
    auto* advance = new QHBoxLayout;
    advance->addWidget(new QLabel(QStringLiteral("Advanced digit number of the cursor")));
    advance->addWidget(Edit1);
    advance->addStretch();
    other2->addLayout(advance);
    other2->addStretch();

    topSplitter->addWidget(leftArea);
    topSplitter->addWidget(PageControl1);
    leftArea->setMinimumWidth(2);
    PageControl1->setMinimumWidth(2);

    // The panes side by side, with 4-pixel splitters between them.
    paneSplitter = named(new QSplitter(Qt::Horizontal), "paneSplitter");
    paneSplitter->setHandleWidth(4);
    paneSplitter->setChildrenCollapsible(false);
    const char* holderNames[] = {"Panel10", "Panel12", "Panel18"};
    const char* paneNames[] = {"RichEdit1", "RichEdit2", "RichEdit3"};
    const QFont font = japaneseFont(kDefaultFace, 9);
    for (std::size_t i = 0; i < 3; ++i) {
        holders[i] = named(new QWidget, holderNames[i]);
        auto* l = new QVBoxLayout(holders[i]);
        l->setContentsMargins(0, 0, 0, 0);
        panes[i] = named(new PrerollPane(holders[i]), paneNames[i]);
        panes[i]->setFont(font);
        l->addWidget(panes[i]);
        paneSplitter->addWidget(holders[i]);
    }
    RichEdit1 = panes[0];
    RichEdit2 = panes[1];
    RichEdit3 = panes[2];
    QStringList usage;
    for (const char* line : kUsage)
        usage << QString::fromUtf8(line);
    usage << QString() << QString();
    RichEdit1->setPlainText(usage.join(QLatin1Char('\n')));
    RichEdit2->setPlainText(QStringLiteral("これは、前ロール２です。\n\n"));
    RichEdit3->setPlainText(QStringLiteral("これは、前ロール３です。\n\n"));

    // The control area never goes below 2 pixels.
    Panel3->setMinimumHeight(2);
    paneSplitter->setMinimumHeight(2);
    splitter->addWidget(Panel3);
    splitter->addWidget(paneSplitter);
    splitter->setStretchFactor(1, 1);

    for (QRadioButton* r : {RadioButton1, RadioButton2, RadioButton3, RadioButton4, RadioButton5})
        connect(r, &QRadioButton::toggled, this, [this](bool on) {
            if (on)
                layoutPanes();
        });

    setWindowFlag(Qt::WindowStaysOnTopHint);
    resize(640, 350);
    move(0, 40);
    setTopHeight(121);
    setLeftWidth(335);
    layoutPanes();
    setFocusProxy(RichEdit1);
}

int TForm11::shownPanes() const {
    if (RadioButton2->isChecked())
        return 2;
    if (RadioButton3->isChecked())
        return 3;
    if (RadioButton4->isChecked())
        return 12;
    if (RadioButton5->isChecked())
        return 123;
    return 1;
}

bool TForm11::paneShown(int pane) const {
    switch (shownPanes()) {
    case 1:
        return pane == 0;
    case 2:
        return pane == 1;
    case 3:
        return pane == 2;
    case 12:
        return pane <= 1;
    default:
        return true;
    }
}

void TForm11::layoutPanes() {
    for (int i = 0; i < 3; ++i)
        holders[std::size_t(i)]->setVisible(paneShown(i));
    // The pane area is as wide as the window once the layout has run, and
    // the splitter shows its handles for the shown panes only after its
    // pending layout request.
    layout()->activate();
    QCoreApplication::sendPostedEvents(paneSplitter, QEvent::LayoutRequest);
    const int w = paneSplitter->width();
    QList<int> sizes{0, 0, 0};
    switch (shownPanes()) {
    case 12:
        sizes = {w / 2, std::max(1, w - w / 2 - 4), 0};
        break;
    case 123:
        sizes = {w / 3, w / 3, std::max(1, w - 2 * (w / 3) - 8)};
        break;
    default:
        for (int i = 0; i < 3; ++i)
            if (paneShown(i))
                sizes[i] = w;
        break;
    }
    paneSplitter->setSizes(sizes);
}

int TForm11::topHeight() const {
    return pendingTop_ >= 0 ? pendingTop_ : splitter->sizes().value(0);
}

void TForm11::setTopHeight(int h) {
    h = std::max(2, h);
    pendingTop_ = isVisible() ? -1 : h;
    applyTopHeight(h);
}

void TForm11::applyTopHeight(int h) {
    setSplitterPart(splitter, 0, h, 1);
}

int TForm11::leftWidth() const {
    return pendingLeft_ >= 0 ? pendingLeft_ : topSplitter->sizes().value(0);
}

void TForm11::setLeftWidth(int w) {
    w = std::max(2, w);
    pendingLeft_ = isVisible() ? -1 : w;
    applyLeftWidth(w);
}

void TForm11::applyLeftWidth(int w) {
    setSplitterPart(topSplitter, 0, w, 1);
}

bool TForm11::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate)
        emit shownOrActivated();
    return StationWindow::event(e);
}

void TForm11::showEvent(QShowEvent* e) {
    StationWindow::showEvent(e);
    if (pendingTop_ >= 0)
        applyTopHeight(pendingTop_);
    if (pendingLeft_ >= 0) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        applyLeftWidth(pendingLeft_);
    }
    pendingTop_ = pendingLeft_ = -1;
    layoutPanes();
    emit shownOrActivated();
}

void TForm11::resizeEvent(QResizeEvent* e) {
    StationWindow::resizeEvent(e);
    layoutPanes();
}

// ---- TForm3 ------------------------------------------------------------------------

TForm3::TForm3(QWidget* parent)
    : StationWindow(QStringLiteral("TForm3"), QStringLiteral(" : テンプレート前ロールモニタ"),
                    parent) {
    setWindowTitle(kCaption);
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    splitter = named(new QSplitter(Qt::Vertical, this), "splitter");
    splitter->setChildrenCollapsible(false);
    v->addWidget(splitter);

    auto* strip = new QScrollArea;
    strip->setFrameShape(QFrame::NoFrame);
    strip->setWidgetResizable(true);
    Panel1 = named(new QWidget, "Panel1");
    strip->setWidget(Panel1);
    auto* s = new QVBoxLayout(Panel1);
    s->setContentsMargins(2, 2, 2, 2);
    s->setSpacing(2);
    for (const QString& t :
         {QStringLiteral("The number of lines of each section are the fixation of the upper 2 "
                         "lines and the lower 5 lines. "),
          QStringLiteral("If the Check is put in “Double number of lines of Momitor” of  "
                         "“Auxiliary Window” page, it becomes upper 4 lines and lower 10 lines. "
                         "The current cursor position is the uppermost line in the lower "
                         "section."),
          QStringLiteral(
              "When you change Font size , change the border line and  the window size. ")}) {
        auto* l = new QLabel(t);
        l->setWordWrap(true);
        markExplanation(l);
        s->addWidget(l);
    }
    Button1 = named(new QPushButton(QStringLiteral("Font")), "Button1");
    Button2 = named(new QPushButton(QStringLiteral("Background Color")), "Button2");
    CheckBox1 = named(new QCheckBox(QStringLiteral("Line wrap at right end.")), "CheckBox1");
    auto* row = new QHBoxLayout;
    row->addWidget(Button1);
    row->addWidget(Button2);
    row->addWidget(CheckBox1);
    row->addStretch();
    s->addLayout(row);
    s->addStretch();

    Panel2 = named(new QWidget, "Panel2");
    auto* up = new QVBoxLayout(Panel2);
    up->setContentsMargins(0, 0, 0, 0);
    RichEdit2 = named(new QPlainTextEdit(Panel2), "RichEdit2");
    up->addWidget(RichEdit2);
    RichEdit1 = named(new QPlainTextEdit, "RichEdit1");
    const QFont font = japaneseFont(kDefaultFace, 9);
    for (QPlainTextEdit* e : {RichEdit2, RichEdit1}) {
        e->setReadOnly(true);
        e->setLineWrapMode(QPlainTextEdit::NoWrap);
        e->setFont(font);
        e->setMinimumHeight(2);
    }
    for (QWidget* w : {static_cast<QWidget*>(strip), Panel2, static_cast<QWidget*>(RichEdit1)}) {
        w->setMinimumHeight(2);
        splitter->addWidget(w);
    }
    splitter->setStretchFactor(2, 1);

    resize(450, 230);
    move(0, 0);
    setStripHeight(57);
    setUpperHeight(45);
}

void TForm3::showEvent(QShowEvent* e) {
    StationWindow::showEvent(e);
    emit shown();
}

int TForm3::stripHeight() const {
    return splitter->sizes().value(0);
}

void TForm3::setStripHeight(int h) {
    setSplitterPart(splitter, 0, h, 2);
}

int TForm3::upperHeight() const {
    return splitter->sizes().value(1);
}

void TForm3::setUpperHeight(int h) {
    setSplitterPart(splitter, 1, h, 2);
}

} // namespace quorel

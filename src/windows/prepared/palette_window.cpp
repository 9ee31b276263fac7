#include "windows/prepared/palette_window.h"

#include "text/cp932.h"
#include "windows/fonts.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMimeData>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace quorel {

namespace {

template <typename T> T* named(T* w, const char* name) {
    w->setObjectName(QLatin1String(name));
    return w;
}

const char* const kExplanation =
    "This function assumes the following use. \n"
    "Two input persons type in turns and one correction person checks their sentences.\n"
    "\n"
    "Input persons:\n"
    "  On the \"Auxiliary\" page of the main window, tick \"Send the input to Palette\".\n"
    "  Your sentences then go to the palette of the correction person,\n"
    "  not to the screen.\n"
    "\n"
    "Correction person:\n"
    "  On the \"Auxiliary\" page, click \"Display Confirm & Cprrect Palette\".\n"
    "  The sentences of the input persons arrive in the six panes,\n"
    "  the oldest at the top.\n"
    "  Check the sentence, correct it if needed and press Enter:\n"
    "  it goes to the screen and to the group from your station.\n"
    "  The sentences below move up by one pane.\n"
    "\n"
    "Keys in a pane:\n"
    "  Enter: send the pane to the screen part.\n"
    "  ESC: clear the pane.\n"
    "  F12: send a null line (line feed); the pane stays.\n"
    "  F9, Shift+F9: take the last sentence back into the pane.\n"
    "  F1 to F8, F11: the F-key memo texts, as in the input part.\n"
    "  Tab: move to the next pane.\n"
    "\n"
    "When all six panes are full, further sentences wait;\n"
    "the number waiting is shown above the panes, and they fill the panes\n"
    "in their order as the panes become free.\n"
    "Anyone can watch the correction with \"Monitor\" on the \"Auxiliary\" page.";

} // namespace

PalettePane::PalettePane(QWidget* parent) : QTextEdit(parent) {
    setAcceptRichText(false);
    setTabChangesFocus(true);
}

int PalettePane::bytes() const {
    // A line break travels as CR LF: two bytes, one character in the editor.
    return text::editorBytes(toPlainText());
}

QString PalettePane::fitting(const QString& text) const {
    return text::fitBytes(text,
                          kTypingLimit - bytes() + text::editorBytes(textCursor().selectedText()));
}

void PalettePane::keyPressEvent(QKeyEvent* e) {
    if (keyDown && keyDown(e))
        return;
    const QString t = e->text();
    if (!t.isEmpty() && t.at(0).isPrint() && fitting(t).size() < t.size())
        return;
    QTextEdit::keyPressEvent(e);
}

void PalettePane::keyReleaseEvent(QKeyEvent* e) {
    QTextEdit::keyReleaseEvent(e);
    emit keyReleased(e->key());
}

void PalettePane::insertFromMimeData(const QMimeData* source) {
    if (!source->hasText())
        return;
    textCursor().insertText(fitting(source->text()));
}

void PalettePane::inputMethodEvent(QInputMethodEvent* e) {
    if (!e->commitString().isEmpty()) {
        const QString fit = fitting(e->commitString());
        if (fit.size() < e->commitString().size()) {
            QInputMethodEvent cut(e->preeditString(), e->attributes());
            cut.setCommitString(fit, e->replacementStart(), e->replacementLength());
            QTextEdit::inputMethodEvent(&cut);
            return;
        }
    }
    QTextEdit::inputMethodEvent(e);
}

TFkakunin::TFkakunin(QWidget* parent)
    : StationWindow(QStringLiteral("TFkakunin"), QStringLiteral(" :確認修正パレット(ctrl+s)"),
                    parent) {
    setWindowTitle(kCaption);
    setWindowFlag(Qt::WindowStaysOnTopHint);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    PageControl1 = named(new QTabWidget(this), "PageControl1");
    outer->addWidget(PageControl1);

    TabSheet1 = named(new QWidget, "TabSheet1");
    PageControl1->addTab(TabSheet1, QStringLiteral("Confirm _Correct"));
    RichEdit1 = named(new PalettePane(TabSheet1), "RichEdit1");
    RichEdit2 = named(new PalettePane(TabSheet1), "RichEdit2");
    RichEdit3 = named(new PalettePane(TabSheet1), "RichEdit3");
    RichEdit4 = named(new PalettePane(TabSheet1), "RichEdit4");
    RichEdit5 = named(new PalettePane(TabSheet1), "RichEdit5");
    RichEdit6 = named(new PalettePane(TabSheet1), "RichEdit6");
    panes = {RichEdit1, RichEdit2, RichEdit3, RichEdit4, RichEdit5, RichEdit6};
    const QFont font = japaneseFont(kDefaultFace, 9);
    for (PalettePane* p : panes)
        p->setFont(font);
    LabelWaiting = named(new QLabel(TabSheet1), "LabelWaiting");
    LabelWaiting->hide();
    TabSheet1->installEventFilter(this);

    TabSheet2 = named(new QWidget, "TabSheet2");
    PageControl1->addTab(TabSheet2, QStringLiteral("Setting _Explanation"));
    auto* s = new QVBoxLayout(TabSheet2);
    Label1 = named(new QLabel(QStringLiteral("Enter:Move to  Screen Part　ESC:Clear"), TabSheet2),
                   "Label1");
    Label2 = named(
        new QLabel(QStringLiteral("F12:Send the null line Tab:Move between correction windows"),
                   TabSheet2),
        "Label2");
    Button1 = named(new QPushButton(QStringLiteral("Font"), TabSheet2), "Button1");
    Button2 = named(new QPushButton(QStringLiteral("Backｇround Color"), TabSheet2), "Button2");
    RichEdit7 = named(new QTextEdit(TabSheet2), "RichEdit7");
    RichEdit7->setAcceptRichText(false);
    RichEdit7->setPlainText(QString::fromUtf8(kExplanation));
    Button3 = named(new QPushButton(QStringLiteral("保存"), TabSheet2), "Button3");
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    buttons->addStretch();
    buttons->addWidget(Button3);
    s->addWidget(Label1);
    s->addWidget(Label2);
    s->addLayout(buttons);
    s->addWidget(RichEdit7);

    CheckBox30 = named(new QCheckBox(QStringLiteral("ﾊﾟﾚｯﾄ連動"), this), "CheckBox30");
    CheckBox30->hide();

    setGeometry(0, 0, 410, 360);
    move(0, 0);
}

void TFkakunin::layoutPanes() {
    const int w = TabSheet1->width();
    const int page = TabSheet1->height();
    const int h = page <= 140 ? 20 : (page - 10) / 6;
    int y = 0;
    for (PalettePane* p : panes) {
        p->setGeometry(0, y, w, h);
        y += h + 2;
    }
    LabelWaiting->adjustSize();
    LabelWaiting->move(std::max(0, w - LabelWaiting->width() - 4), 0);
    LabelWaiting->raise();
}

bool TFkakunin::eventFilter(QObject* watched, QEvent* e) {
    if (watched == TabSheet1 && e->type() == QEvent::Resize)
        layoutPanes();
    return StationWindow::eventFilter(watched, e);
}

void TFkakunin::showEvent(QShowEvent* e) {
    StationWindow::showEvent(e);
    layoutPanes();
    emit shown();
}

void TFkakunin::closeEvent(QCloseEvent* e) {
    StationWindow::closeEvent(e);
    emit closed();
}

TFshusei_moni::TFshusei_moni(QWidget* parent)
    : StationWindow(QStringLiteral("TFshusei_moni"), QStringLiteral(" :確認修正モニター"), parent) {
    setWindowTitle(kCaption);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    PageControl1 = named(new QTabWidget(this), "PageControl1");
    outer->addWidget(PageControl1);
    auto* monitor = named(new QWidget, "TabSheet1");
    PageControl1->addTab(monitor, QStringLiteral("Monitor"));
    auto* m = new QVBoxLayout(monitor);
    m->setContentsMargins(0, 0, 0, 0);
    RichEdit1 = named(new QTextEdit(monitor), "RichEdit1");
    RichEdit1->setReadOnly(true);
    RichEdit1->setFont(japaneseFont(kDefaultFace, 9));
    RichEdit1->setAcceptRichText(false);
    m->addWidget(RichEdit1);
    auto* setting = named(new QWidget, "TabSheet2");
    PageControl1->addTab(setting, QStringLiteral("Setting"));
    auto* s = new QHBoxLayout(setting);
    Button1 = named(new QPushButton(QStringLiteral("Font"), setting), "Button1");
    Button2 = named(new QPushButton(QStringLiteral("Backｇround Color"), setting), "Button2");
    s->addWidget(Button1);
    s->addWidget(Button2);
    s->addStretch();
    setGeometry(10, 10, 410, 360);
    move(10, 10);
}

} // namespace quorel

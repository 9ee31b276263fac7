#include "windows/prepared/sub_input_window.h"

#include "text/cp932.h"
#include "windows/controls.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QSpinBox>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBlock>
#include <QTimer>
#include <QVBoxLayout>

namespace quorel {

SubPane::SubPane(QWidget* parent) : InputEdit(parent) {
    setInputMethodHints(Qt::ImhPreferLowercase | Qt::ImhNoPredictiveText);
}

int SubPane::bytes() const {
    // A line break travels as CR LF: two bytes, one character in the editor.
    return text::editorBytes(toPlainText());
}

QString SubPane::fitting(const QString& text) const {
    return text::fitBytes(text, kLimit - bytes() + text::editorBytes(textCursor().selectedText()));
}

void SubPane::keyPressEvent(QKeyEvent* e) {
    const bool enter = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
    const bool ctrl = e->modifiers() & Qt::ControlModifier;
    QString adds;
    if (enter && ctrl)
        adds = QStringLiteral("\n");
    else if (!enter && !ctrl && !e->text().isEmpty() && e->text().at(0).isPrint())
        adds = e->text();
    if (!adds.isEmpty() && fitting(adds) != adds) {
        e->accept();
        return;
    }
    InputEdit::keyPressEvent(e);
}

void SubPane::insertFromMimeData(const QMimeData* source) {
    if (!source->hasText())
        return;
    const QString t = fitting(source->text());
    if (!t.isEmpty())
        textCursor().insertText(t);
}

void SubPane::inputMethodEvent(QInputMethodEvent* e) {
    if (e->commitString().isEmpty()) {
        InputEdit::inputMethodEvent(e);
        return;
    }
    QInputMethodEvent cut(e->preeditString(), e->attributes());
    cut.setCommitString(fitting(e->commitString()), e->replacementStart(), e->replacementLength());
    InputEdit::inputMethodEvent(&cut);
}

TForm14::TForm14(QWidget* parent)
    : StationWindow(QStringLiteral("TForm14"), QStringLiteral(" : サブ入力ウィンド(ctrl+i)"),
                    parent) {
    setWindowTitle(kCaption);
    setWindowFlag(Qt::WindowStaysOnTopHint, true);
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    PageControl1 = named(new QTabWidget(this), "PageControl1");
    v->addWidget(PageControl1);

    TabSheet1 = named(new QWidget, "TabSheet1");
    PageControl1->addTab(TabSheet1, QStringLiteral("Input"));
    auto* iv = new QVBoxLayout(TabSheet1);
    iv->setContentsMargins(0, 0, 0, 0);
    Splitter1 = named(new QSplitter(Qt::Vertical, TabSheet1), "Splitter1");
    Splitter1->setChildrenCollapsible(false);
    iv->addWidget(Splitter1);
    RichEdit1 = named(new SubPane, "RichEdit1");
    RichEdit1->setPlainText(kHint);
    Panel1 = named(new QWidget, "Panel1");
    Panel1->setFixedHeight(10);
    auto* strip = new QHBoxLayout(Panel1);
    strip->setContentsMargins(0, 0, 0, 0);
    Splitter2 = named(new QSplitter(Qt::Horizontal, Panel1), "Splitter2");
    strip->addWidget(Splitter2);
    Panel2 = named(new QWidget, "Panel2");
    Panel3 = named(new QWidget, "Panel3");
    Splitter2->addWidget(Panel2);
    Splitter2->addWidget(Panel3);
    Splitter2->addWidget(new QWidget);
    Splitter2->setSizes({200, 200, 200});
    RichEdit2 = named(new SubPane, "RichEdit2");
    Splitter1->addWidget(RichEdit1);
    Splitter1->addWidget(Panel1);
    Splitter1->addWidget(RichEdit2);
    Splitter1->setStretchFactor(2, 1);
    panes = {RichEdit1, RichEdit2};
    // Tab goes from pane 1 to pane 2, never into the strip.
    setTabOrder(RichEdit1, RichEdit2);

    TabSheet2 = named(new QWidget, "TabSheet2");
    PageControl1->addTab(TabSheet2, QStringLiteral("Memo"));
    auto* mv = new QVBoxLayout(TabSheet2);
    mv->setContentsMargins(0, 0, 0, 0);
    RichEdit3 = named(new QTextEdit, "RichEdit3");
    RichEdit3->setAcceptRichText(false);
    RichEdit3->setPlainText(kMemo);
    mv->addWidget(RichEdit3);

    // The options of the column split have no visible control: the main
    // window's ruby switch sets them.
    TabSheet3 = named(new QWidget, "TabSheet3");
    PageControl1->addTab(TabSheet3, QString());
    CheckBox37 =
        named(new QCheckBox(QStringLiteral("表示の右端で折り返さない。"), TabSheet3), "CheckBox37");
    CheckBox45 =
        named(new QCheckBox(QStringLiteral("桁数（半角での文字数）"), TabSheet3), "CheckBox45");
    Edit20 = named(new QLineEdit(QStringLiteral("20"), TabSheet3), "Edit20");
    UpDown14 = named(new QSpinBox(TabSheet3), "UpDown14");
    UpDown14->setRange(0, 9999);
    UpDown14->setValue(20);
    for (QWidget* w : std::initializer_list<QWidget*>{CheckBox37, CheckBox45, Edit20, UpDown14})
        w->hide();
    connect(UpDown14, &QSpinBox::valueChanged, Edit20, [this](int n) {
        if (Edit20->text() != QString::number(n))
            Edit20->setText(QString::number(n));
    });
    connect(Edit20, &QLineEdit::textChanged, UpDown14, [this](const QString& t) {
        bool ok = false;
        const int n = t.trimmed().toInt(&ok);
        if (ok && n >= 0)
            UpDown14->setValue(n);
    });
    connect(Splitter1, &QSplitter::splitterMoved, this, [this] {
        const QList<int> s = Splitter1->sizes();
        paneHeights_ = {s.value(0), s.value(2)};
    });
    connect(Splitter2, &QSplitter::splitterMoved, this, [this] {
        const QList<int> s = Splitter2->sizes();
        stripWidths_ = {s.value(0), s.value(1)};
    });
    resize(544, 153);
}

void TForm14::setPaneHeight(int index, int height) {
    paneHeights_[std::size_t(index)] = std::max(0, height);
    applySizes();
}

void TForm14::setStripWidth(int index, int width) {
    stripWidths_[std::size_t(index)] = std::max(0, width);
    applySizes();
}

void TForm14::applySizes() {
    Splitter1->setSizes({paneHeights_[0], Panel1->height(), paneHeights_[1]});
    Splitter2->setSizes({stripWidths_[0], stripWidths_[1], 200});
}

void TForm14::showEvent(QShowEvent* e) {
    StationWindow::showEvent(e);
    applySizes();
    // Shown to be typed in: pane 1 has the keyboard at once.
    RichEdit1->setFocus();
}

} // namespace quorel

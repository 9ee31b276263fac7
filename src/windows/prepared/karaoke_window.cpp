#include "windows/prepared/karaoke_window.h"

#include "windows/controls.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSpinBox>
#include <QSplitter>
#include <QTabWidget>
#include <QVBoxLayout>

namespace quorel {

namespace {

// The "説明" page at start: how the remote is used.
const char* const kUsage[] = {
    "カラオケ・送信リモコンの使い方",
    "",
    "パートナーの表示（Ｌｕｍｏ）の文字に、話の進み具合に合わせて色を付けます。",
    "",
    "1. 「パートナー」のページでパートナーを指名します。",
    "2. 「色変わりを」の「文字ｶﾗに送信」か「ｶﾗｵｹに送信」にチェックを入れます。",
    "3. 「文字ｶﾗ」「ｶﾗｵｹ」の「on」で、パートナーの色変わり表示を始めます。",
    "4. 話に合わせてスライドバーを動かします。矢印キーでの操作を推奨します。",
    "   →：進む　←：戻る　Shift+→：速く進む　Shift+←：速く戻る",
    "   ↓：次の行へ　↑：前の行へ",
    "5. 終わったら「off」で、パートナーの色変わり表示を止めます。",
    "",
    "「最大」には１行の桁数を、「←/→」と「Shift +」には１回で進む桁数を入れます。",
    "「色変え桁」は、今どの桁まで色が変わっているかを示します。",
    "「変化色」のボタンで、色変わりの色を選んで、パートナーに送ります。",
    "",
    "行の右端に着くとピッと鳴り、次の行の初めに戻ります。",
};

QGroupBox* frame(const QString& title, QLayout* inner) {
    auto* g = new QGroupBox(title);
    g->setLayout(inner);
    return g;
}

QLineEdit* numberBox(const char* name, const char* text) {
    auto* e = named(new QLineEdit(QString::fromLatin1(text)), name);
    e->setFixedWidth(48);
    return e;
}

} // namespace

KaraokeTrackBar::KaraokeTrackBar(QWidget* parent) : QSlider(Qt::Horizontal, parent) {
    setRange(0, 100);
    setValue(0);
    setTickPosition(QSlider::TicksBelow);
    setTickInterval(10);
    setFocusPolicy(Qt::StrongFocus);
}

void KaraokeTrackBar::keyPressEvent(QKeyEvent* e) {
    const int key = e->key();
    const bool shift = e->modifiers().testFlag(Qt::ShiftModifier);
    if (key == Qt::Key_Right || key == Qt::Key_Left || key == Qt::Key_Up || key == Qt::Key_Down)
        emit arrowKey(key, shift);
    // With Alt the key goes on to the window (its menus and shortcuts); the
    // slider's own steps never move the position.
    if (e->modifiers().testFlag(Qt::AltModifier))
        e->ignore();
    else
        e->accept();
}

TFmojikara::TFmojikara(QWidget* parent)
    : StationWindow(QStringLiteral("TFmojikara"),
                    QStringLiteral(" :カラオケ・送信リモコン(ctrl+k)"), parent) {
    setWindowTitle(kCaption);
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    PageControl1 = named(new QTabWidget(this), "PageControl1");
    v->addWidget(PageControl1);

    // "リモコン".
    TabSheet1 = named(new QWidget, "TabSheet1");
    PageControl1->addTab(TabSheet1, QStringLiteral("リモコン"));
    auto* page = new QVBoxLayout(TabSheet1);
    page->setContentsMargins(0, 0, 0, 0);
    Splitter1 = named(new QSplitter(Qt::Vertical, TabSheet1), "Splitter1");
    Splitter1->setChildrenCollapsible(false);
    page->addWidget(Splitter1);

    auto* scroll = new QScrollArea;
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setWidgetResizable(true);
    scroll->setMinimumHeight(1);
    Panel1 = named(new QWidget, "Panel1");
    scroll->setWidget(Panel1);
    auto* p = new QVBoxLayout(Panel1);
    p->setContentsMargins(2, 2, 2, 2);
    p->setSpacing(2);

    Edit2 = numberBox("Edit2", "1");
    Edit3 = numberBox("Edit3", "2");
    Edit4 = numberBox("Edit4", "20");
    Edit5 = numberBox("Edit5", "0");
    Edit5->setReadOnly(true);
    auto* moves = new QGridLayout;
    moves->addWidget(new QLabel(QStringLiteral("←/→")), 0, 0);
    QWidget* row1 = withUpDown(Edit2, "UpDown1", 1, 1000);
    moves->addWidget(row1, 0, 1);
    moves->addWidget(new QLabel(QStringLiteral("Shift +")), 1, 0);
    QWidget* row2 = withUpDown(Edit3, "UpDown2", 1, 1000);
    moves->addWidget(row2, 1, 1);
    GroupBox1 = named(frame(QStringLiteral("移動桁／量(%)"), moves), "GroupBox1");

    auto* columns = new QHBoxLayout;
    columns->addWidget(new QLabel(QStringLiteral("最大")));
    QWidget* row4 = withUpDown(Edit4, "UpDown4", 1, 1000);
    columns->addWidget(row4);
    GroupBox2 = named(frame(QStringLiteral("桁数"), columns), "GroupBox2");
    UpDown1 = row1->findChild<QSpinBox*>(QStringLiteral("UpDown1"));
    UpDown2 = row2->findChild<QSpinBox*>(QStringLiteral("UpDown2"));
    UpDown4 = row4->findChild<QSpinBox*>(QStringLiteral("UpDown4"));

    auto* reached = new QVBoxLayout;
    reached->addWidget(new QLabel(QStringLiteral("色変え桁")));
    reached->addWidget(Edit5);

    CheckBox59 = named(new QCheckBox(QStringLiteral("文字ｶﾗに送信")), "CheckBox59");
    CheckBox1 = named(new QCheckBox(QStringLiteral("ｶﾗｵｹに送信")), "CheckBox1");
    auto* targets = new QVBoxLayout;
    targets->addWidget(new QLabel(QStringLiteral("●パートナーの")));
    targets->addWidget(CheckBox59);
    targets->addWidget(CheckBox1);
    GroupBox3 = named(frame(QStringLiteral("色変わりを"), targets), "GroupBox3");

    Button3 = named(new QPushButton(QStringLiteral("文字ｶﾗ")), "Button3");
    Button1 = named(new QPushButton(QStringLiteral("ｶﾗｵｹ")), "Button1");
    auto* colours = new QVBoxLayout;
    colours->addWidget(Button3);
    colours->addWidget(Button1);
    GroupBox4 = named(frame(QStringLiteral("変化色"), colours), "GroupBox4");

    Button2 = named(new QPushButton(QStringLiteral("on")), "Button2");
    Button4 = named(new QPushButton(QStringLiteral("off")), "Button4");
    auto* colourOnOff = new QVBoxLayout;
    colourOnOff->addWidget(Button2);
    colourOnOff->addWidget(Button4);
    GroupBox5 = named(frame(QStringLiteral("文字ｶﾗ"), colourOnOff), "GroupBox5");

    Button5 = named(new QPushButton(QStringLiteral("on")), "Button5");
    Button6 = named(new QPushButton(QStringLiteral("off")), "Button6");
    auto* karaokeOnOff = new QVBoxLayout;
    karaokeOnOff->addWidget(Button5);
    karaokeOnOff->addWidget(Button6);
    GroupBox6 = named(frame(QStringLiteral("ｶﾗｵｹ"), karaokeOnOff), "GroupBox6");

    auto* top = new QHBoxLayout;
    top->addWidget(GroupBox1);
    top->addWidget(GroupBox2);
    top->addLayout(reached);
    top->addWidget(GroupBox3);
    top->addWidget(GroupBox4);
    top->addWidget(GroupBox5);
    top->addWidget(GroupBox6);
    top->addStretch();
    p->addLayout(top);
    Label1 = named(new QLabel(QStringLiteral(
                       "●→:進む、←:戻る、Shift+→:速く進む、Shift+←:速く戻る、↓:次行、↑:前行")),
                   "Label1");
    Label2 = named(new QLabel(QStringLiteral("矢印キーでの操作を推奨")), "Label2");
    markExplanation(Label2);
    p->addWidget(Label1);
    p->addWidget(Label2);
    p->addStretch();

    TrackBar1 = named(new KaraokeTrackBar, "TrackBar1");
    // It takes whatever height the panel leaves it.
    TrackBar1->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    TrackBar1->setMinimumHeight(1);
    Splitter1->addWidget(scroll);
    Splitter1->addWidget(TrackBar1);
    Splitter1->setStretchFactor(1, 1);

    // "説明".
    TabSheet2 = named(new QWidget, "TabSheet2");
    PageControl1->addTab(TabSheet2, QStringLiteral("説明"));
    auto* help = new QVBoxLayout(TabSheet2);
    help->setContentsMargins(2, 2, 2, 2);
    RichEdit1 = named(new QPlainTextEdit, "RichEdit1");
    QStringList usage;
    for (const char* line : kUsage)
        usage << QString::fromUtf8(line);
    RichEdit1->setPlainText(usage.join(QLatin1Char('\n')));
    help->addWidget(RichEdit1);
    Button7 = named(new QPushButton(QStringLiteral("保存")), "Button7");
    auto* saveRow = new QHBoxLayout;
    saveRow->addWidget(Button7);
    saveRow->addStretch();
    help->addLayout(saveRow);

    resize(kWidth, kHeight);
    setPanelHeight(kPanelHeight);
}

int TFmojikara::panelHeight() const {
    return pendingPanel_ >= 0 ? pendingPanel_ : Splitter1->sizes().value(0);
}

void TFmojikara::setPanelHeight(int h) {
    h = std::max(1, h);
    pendingPanel_ = isVisible() ? -1 : h;
    applyPanelHeight(h);
}

void TFmojikara::applyPanelHeight(int h) {
    // The splitter's own size first, or the sizes would be scaled to it later.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    if (QLayout* l = layout())
        l->activate();
    QList<int> sizes = Splitter1->sizes();
    const int total = sizes.value(0) + sizes.value(1);
    sizes = {h, std::max(1, total - h)};
    Splitter1->setSizes(sizes);
}

bool TFmojikara::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate)
        emit activated();
    return StationWindow::event(e);
}

void TFmojikara::showEvent(QShowEvent* e) {
    StationWindow::showEvent(e);
    if (pendingPanel_ >= 0)
        applyPanelHeight(pendingPanel_);
    pendingPanel_ = -1;
}

} // namespace quorel

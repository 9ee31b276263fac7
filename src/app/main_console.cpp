#include "app/main_console.h"

#include "base/int_text.h"
#include "caption/input_edit.h"
#include "caption/smooth_picture.h"
#include "windows/controls.h"
#include "windows/fonts.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLoggingCategory>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabWidget>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>
#include <utility>

namespace quorel {

Q_LOGGING_CATEGORY(lcWindow, "quorel.window", QtWarningMsg)

namespace {

QLineEdit* box(QWidget* parent, const char* name, const QString& value) {
    auto* e = named(new QLineEdit(value, parent), name);
    return e;
}

QCheckBox* check(QWidget* parent, const char* name, const QString& caption, bool on) {
    auto* c = named(new QCheckBox(caption, parent), name);
    c->setChecked(on);
    return c;
}

QWidget* page(QTabWidget* tabs, const char* name, const QString& caption) {
    auto* w = named(new QWidget, name);
    tabs->addTab(w, caption);
    return w;
}

// Settings pages are laid out top to bottom in titled groups, and scroll when
// the window is smaller than the page.
QVBoxLayout* pageLayout(QWidget* pageWidget) {
    auto* area = pageWidget->findChild<QScrollArea*>(QString(), Qt::FindDirectChildrenOnly);
    if (area == nullptr) {
        area = new QScrollArea(pageWidget);
        area->setWidgetResizable(true);
        area->setFrameShape(QFrame::NoFrame);
        auto* inner = new QWidget;
        auto* v = new QVBoxLayout(inner);
        v->addStretch();
        area->setWidget(inner);
        auto* l = new QVBoxLayout(pageWidget);
        l->setContentsMargins(0, 0, 0, 0);
        l->addWidget(area);
    }
    return qobject_cast<QVBoxLayout*>(area->widget()->layout());
}

QFormLayout* group(QWidget* pageWidget, const QString& title) {
    QVBoxLayout* outer = pageLayout(pageWidget);
    auto* g = new QGroupBox(title);
    auto* form = new QFormLayout(g);
    outer->insertWidget(outer->count() - 1, g);
    return form;
}

} // namespace

TMainConsole::TMainConsole(QWidget* parent)
    : StationWindow(QStringLiteral("TMainConsole"), QString(), parent) {
    setWindowTitle(QStringLiteral("Quorel"));
    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(0, 0, 0, 0);
    PageControl1 = named(new QTabWidget(this), "PageControl1");
    root->addWidget(PageControl1);

    TabSheet1 = page(PageControl1, "TabSheet1", QStringLiteral("Screen && Input "));
    TabSheet5 = page(PageControl1, "TabSheet5", QStringLiteral("Auxiliary"));
    partner = page(PageControl1, "partner", QStringLiteral("Partner"));
    TabSheet2 = page(PageControl1, "TabSheet2", QStringLiteral("Display 1"));
    TabSheet3 = page(PageControl1, "TabSheet3", QStringLiteral("Display 2"));
    TabSheet6 = page(PageControl1, "TabSheet6", QStringLiteral("Input 1"));
    TabSheet11 = page(PageControl1, "TabSheet11", QStringLiteral("Input 2"));
    TabSheet7 = page(PageControl1, "TabSheet7", QStringLiteral("Save"));
    TabSheet4 = page(PageControl1, "TabSheet4", QStringLiteral("Readme"));

    buildHiddenOptions();
    buildScreenPage();
    buildAuxiliaryPage();
    buildPartnerPage();
    buildDisplay1Page();
    buildDisplay2Page();
    buildInput1Page();
    buildInput2Page();
    buildSavePage();
    buildReadmePage();
    // Built last, so that they follow every older control in the Tab order.
    buildInputAids();

    Timer1 = named(new QTimer(this), "Timer1");
    Timer2 = named(new QTimer(this), "Timer2");
    Timer2->setSingleShot(true);
    Timer4 = named(new QTimer(this), "Timer4");
    Timer5 = named(new QTimer(this), "Timer5");
    Timer3 = named(new QTimer(this), "Timer3");
    Timer3->setSingleShot(true);
    Timer7 = named(new QTimer(this), "Timer7");
}

void TMainConsole::buildHiddenOptions() {
    // Parented to the window but never shown: the options only settings files
    // and remote settings reach.
    hiddenOptions = named(new QWidget(this), "hiddenOptions");
    hiddenOptions->hide();
    CheckBox19 = check(hiddenOptions, "CheckBox19", QStringLiteral("メッセージを表示する"), true);
    CheckBox24 = check(hiddenOptions, "CheckBox24", QStringLiteral("受信文をコピー"), false);
    CheckBox41 = check(hiddenOptions, "CheckBox41", QStringLiteral("入力文をコピー"), false);
    CheckBox37 = check(hiddenOptions, "CheckBox37",
                       QStringLiteral("「表示・入力」ｔａｂに記録量を表示する。"), false);
    CheckBox85 = check(hiddenOptions, "CheckBox85", QStringLiteral("修正モードの入り切り"), false);
}

void TMainConsole::buildScreenPage() {
    auto* v = new QVBoxLayout(TabSheet1);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);

    Panel6 = named(new ScreenPanel(TabSheet1), "Panel6");
    Panel6->setMinimumSize(50, 50);
    Image1 = named(new SmoothPicture(Panel6), "Image1");
    RichEdit2 = named(new QPlainTextEdit(Panel6), "RichEdit2");
    RichEdit2->setFont(japaneseFont(kDefaultFace, 36));
    RichEdit2->setLineWrapMode(QPlainTextEdit::NoWrap);
    RichEdit2->setFocusPolicy(Qt::ClickFocus);
    RichEdit2->hide();
    {
        QPalette pal = RichEdit2->palette();
        pal.setColor(QPalette::Base, Qt::white);
        pal.setColor(QPalette::Text, Qt::black);
        RichEdit2->setPalette(pal);
    }
    v->addWidget(Panel6, 1);

    auto* bottom = named(new ScreenPanel(TabSheet1), "Panel1");
    Panel1 = bottom;
    Panel22 = named(new QFrame(Panel1), "Panel22");
    Panel23 = named(new QFrame(Panel1), "Panel23");
    Splitter1 = named(new QFrame(Panel1), "Splitter1");
    Splitter2 = named(new QFrame(Panel1), "Splitter2");
    Splitter1->setStyleSheet(QStringLiteral("background: green"));
    Splitter2->setStyleSheet(QStringLiteral("background: olive"));
    for (QFrame* f : {Panel22, Panel23, Splitter1, Splitter2})
        f->lower();
    Button13 = named(new QPushButton(QStringLiteral("RE"), Panel1), "Button13");
    Button12 = named(new QPushButton(QStringLiteral("ワ"), Panel1), "Button12");
    Button14 = named(new QPushButton(QStringLiteral("Snd"), Panel1), "Button14");
    for (QPushButton* b : {Button13, Button12, Button14})
        b->setFocusPolicy(Qt::NoFocus);
    Button14->hide();
    RichEdit27 = named(new QTextEdit(Panel1), "RichEdit27");
    RichEdit27->setReadOnly(true);
    RichEdit27->setFocusPolicy(Qt::ClickFocus);
    RichEdit27->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    RichEdit1 = named(new InputEdit(Panel1), "RichEdit1");
    RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    for (QTextEdit* e : {static_cast<QTextEdit*>(RichEdit27), static_cast<QTextEdit*>(RichEdit1)}) {
        e->setFont(japaneseFont(kDefaultFace, 11));
        e->setFrameShape(QFrame::NoFrame);
        QPalette pal = e->palette();
        pal.setColor(QPalette::Base, inputBackground);
        e->setPalette(pal);
    }
    v->addWidget(Panel1, 0);
    connect(bottom, &ScreenPanel::resized, this, [this] { layoutBottom(wordProcessorMode_); });

    // Catches the keys of the display-only mode; shown only in that mode.
    Edit77 = named(new QLineEdit(this), "Edit77");
    Edit77->setGeometry(0, 0, 1, 1);
    Edit77->hide();

    Image2 = named(new SmoothPicture(this), "Image2");
    Image2->hide();
}

int TMainConsole::partLineHeight() const {
    // Font height in pixels at 96 dpi as the font dialog rounds it, then the
    // line height the editors need for it.
    const int pt = RichEdit1->font().pointSize();
    const int pixels = (pt * 96 + 36) / 72;
    return pixels * 96 / 72 + 4;
}

void TMainConsole::layoutBottom(bool wordProcessorMode) {
    wordProcessorMode_ = wordProcessorMode;
    const int h = partLineHeight();
    const int monitorLines = intOfBox(Edit6->text()).value_or(1);
    const int inputLines = intOfBox(Edit96->text()).value_or(1);
    const int width = Panel1->width();
    const int margin = wordProcessorMode ? 75 : 50;
    if (personsMode == 0) {
        Panel1->hide();
        return;
    }
    Panel1->show();
    int buttonHeight = 0;
    if (personsMode == 2) {
        Panel1->setFixedHeight(h * (monitorLines + inputLines) + 3);
        RichEdit27->show();
        RichEdit27->setGeometry(margin, 0, width - margin, h * monitorLines);
        RichEdit1->setGeometry(0, h * monitorLines + 3, width, h * inputLines);
        buttonHeight = h * monitorLines + 3;
    } else {
        Panel1->setFixedHeight(h * inputLines + 3);
        RichEdit27->hide();
        RichEdit1->setGeometry(margin, 3, width - margin, h * inputLines);
        buttonHeight = h * inputLines + 3;
    }
    Button13->setGeometry(0, 0, 25, buttonHeight);
    Button12->setGeometry(25, 0, 25, buttonHeight);
    Button14->setGeometry(50, 0, 25, buttonHeight);
    const int warnWidth = std::max(50, width / 2 - 15);
    Panel22->setGeometry(0, 0, warnWidth, Panel1->height());
    Splitter1->setGeometry(warnWidth, 0, 15, Panel1->height());
    Panel23->setGeometry(warnWidth + 15, 0, std::max(20, width - warnWidth - 30), Panel1->height());
    Splitter2->setGeometry(width - 15, 0, 15, Panel1->height());
    // Where the screen buttons are, for whoever drives the window from outside.
    const QPoint at = Button13->mapTo(this, QPoint(0, 0));
    qCDebug(lcWindow) << "screen buttons at" << at.x() << at.y() << "each" << 25 << buttonHeight;
}

void TMainConsole::buildAuxiliaryPage() {
    auto* eight = group(TabSheet5, QStringLiteral("8-Person Monitor"));
    Button45 =
        named(new QPushButton(QStringLiteral("Display 8-Person Monitor."), TabSheet5), "Button45");
    CheckBox12 = check(TabSheet5, "CheckBox12", QStringLiteral("Trasmission on (Send)"), true);
    CheckBox14 = check(TabSheet5, "CheckBox14", QStringLiteral("Display always forward. "), true);
    CheckBox49 = check(TabSheet5, "CheckBox49", QStringLiteral("Line feed is shown by ■."), true);
    eight->addRow(Button45);
    eight->addRow(CheckBox12);
    eight->addRow(CheckBox14);
    eight->addRow(CheckBox49);
    Edit20 = box(TabSheet5, "Edit20", QStringLiteral("1"));
    Edit20->setValidator(new QIntValidator(1, 9, Edit20));
    eight->addRow(QStringLiteral("Number of lines"), withUpDown(Edit20, "UpDown4", 1, 9));

    auto* f = group(TabSheet5, QStringLiteral(" Confirm & Correct Palette"));
    f->addRow(new QLabel(QStringLiteral("Input-person checkｓ the Box below."), TabSheet5));
    CheckBox21 = check(TabSheet5, "CheckBox21", QStringLiteral("Send the input to Palette"), false);
    f->addRow(CheckBox21);
    f->addRow(new QLabel(QStringLiteral("Correction-person clicks the Button below"), TabSheet5));
    Button23 =
        named(new QPushButton(QStringLiteral("Display Confirm & Cprrect Palette"), TabSheet5),
              "Button23");
    Button35 = named(new QPushButton(QStringLiteral("Monitor"), TabSheet5), "Button35");
    f->addRow(Button23);
    f->addRow(Button35);

    auto* chat = group(TabSheet5, QStringLiteral("Chat"));
    Button86 = named(new QPushButton(QStringLiteral("Display Chat Window"), TabSheet5), "Button86");
    chat->addRow(Button86);
    auto* telop = group(TabSheet5, QStringLiteral("Information (Telop)"));
    Button97 = named(new QPushButton(QStringLiteral("Display Telop"), TabSheet5), "Button97");
    CheckBox16 = check(TabSheet5, "CheckBox16",
                       QStringLiteral("Do not receive information (Telop). "), true);
    telop->addRow(Button97);
    telop->addRow(CheckBox16);

    auto* preroll = group(TabSheet5, QStringLiteral("Pre-roll"));
    ButtonPreroll =
        named(new QPushButton(QStringLiteral("Pre-roll Template"), TabSheet5), "ButtonPreroll");
    CheckBox10 = check(TabSheet5, "CheckBox10", QStringLiteral("Display always forward. "), true);
    Button6 =
        named(new QPushButton(QStringLiteral("Pre-roll Template Monitor"), TabSheet5), "Button6");
    CheckBox48 =
        check(TabSheet5, "CheckBox48", QStringLiteral("Double Number of lines of Monitor "), false);
    preroll->addRow(ButtonPreroll);
    preroll->addRow(CheckBox10);
    preroll->addRow(Button6);
    preroll->addRow(CheckBox48);

    auto* sub = group(TabSheet5, QStringLiteral("Sub Input Window"));
    Button10 = named(new QPushButton(QStringLiteral("Sub Input W"), TabSheet5), "Button10");
    sub->addRow(Button10);

    auto* ruby = group(TabSheet5, QStringLiteral("ルビ送信"));
    CheckBox46 = check(TabSheet5, "CheckBox46", QStringLiteral("表示・送受信する。"), false);
    ruby->addRow(CheckBox46);

    auto* audience = group(TabSheet5, QStringLiteral("Audience view"));
    CheckBoxAudience = check(TabSheet5, "CheckBoxAudience", QStringLiteral("Audience view"), false);
    EditAudiencePort = box(TabSheet5, "EditAudiencePort", QStringLiteral("8080"));
    EditAudiencePort->setValidator(new QIntValidator(1024, 65535, EditAudiencePort));
    LabelAudience = named(new QLabel(TabSheet5), "LabelAudience");
    LabelAudience->setTextInteractionFlags(Qt::TextSelectableByMouse);
    LabelAudienceQr = named(new QLabel(TabSheet5), "LabelAudienceQr");
    audience->addRow(CheckBoxAudience);
    audience->addRow(QStringLiteral("Port"), EditAudiencePort);
    audience->addRow(LabelAudience);
    audience->addRow(LabelAudienceQr);
    audience->parentWidget()->setToolTip(
        QStringLiteral("Serves the captions, read-only, to browsers on the LAN.\n"
                       "Ctrl+Q shows the page's QR code over the display screen for a few "
                       "seconds; Ctrl+Q again hides it."));
}

void TMainConsole::buildMemberList() {
    static const char* const companions[] = {"CheckBox1",  "CheckBox2",  "CheckBox3",
                                             "CheckBox4",  "CheckBox25", "CheckBox26",
                                             "CheckBox27", "CheckBox28"};
    static const char* const names[] = {"Edit36", "Edit37", "Edit38", "Edit39",
                                        "Edit81", "Edit82", "Edit83", "Edit84"};
    static const char* const addresses[] = {"Edit3",  "Edit13", "Edit14", "Edit15",
                                            "Edit85", "Edit86", "Edit87", "Edit88"};
    static const char* const partners[] = {"Button22", "Button24", "Button25", "Button32",
                                           "Button59", "Button60", "Button61", "Button62"};
    static const char* const bePartners[] = {"Button26", "Button29", "Button30", "Button31",
                                             "Button55", "Button56", "Button57", "Button58"};
    auto* g = new QGroupBox(QStringLiteral("Member List of Group"), partner);
    auto* grid = new QGridLayout(g);
    grid->addWidget(new QLabel(QStringLiteral("Companion"), g), 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Name"), g), 0, 2);
    grid->addWidget(new QLabel(QStringLiteral("IP Address"), g), 0, 3);
    grid->addWidget(new QLabel(QStringLiteral("Nominate the Patner"), g), 0, 4);
    for (int i = 0; i < 8; ++i) {
        const auto k = static_cast<std::size_t>(i);
        grid->addWidget(new QLabel(QStringLiteral("#%1").arg(i + 1), g), i + 1, 0);
        memberCompanion[k] = check(g, companions[i], QString(), false);
        memberName[k] = box(g, names[i], QString());
        memberAddress[k] = box(g, addresses[i], QString());
        memberPartner[k] = named(new QPushButton(QStringLiteral("Partner"), g), partners[i]);
        memberBePartner[k] =
            named(new QPushButton(QStringLiteral("Be Partner !"), g), bePartners[i]);
        memberPartner[k]->hide();
        auto* buttons = new QHBoxLayout;
        buttons->addWidget(memberBePartner[k]);
        buttons->addWidget(memberPartner[k]);
        grid->addWidget(memberCompanion[k], i + 1, 1);
        grid->addWidget(memberName[k], i + 1, 2);
        grid->addWidget(memberAddress[k], i + 1, 3);
        grid->addLayout(buttons, i + 1, 4);
    }
    grid->addWidget(new QLabel(QStringLiteral("●パートナーを指名します。"), g), 9, 4);
    auto* companionNote = new QLabel(
        QStringLiteral("The Input Sentence is not sent to the Person whose “Companion Check” is "
                       "removed."),
        g);
    markExplanation(companionNote);
    grid->addWidget(companionNote, 10, 0, 1, 5);

    auto* groups = new QHBoxLayout;
    for (int i = 0; i < 7; ++i) {
        const QString caption =
            i < 6 ? QStringLiteral("Group %1").arg(QChar(u'A' + i)) : QStringLiteral("G-Z");
        groupButtons[static_cast<std::size_t>(i)] = named(
            new QRadioButton(caption, g), QStringLiteral("RadioButton%1").arg(i + 6).toLatin1());
        groups->addWidget(groupButtons[static_cast<std::size_t>(i)]);
    }
    groupButtons[0]->setChecked(true);
    ComboBox1 = named(new QComboBox(g), "ComboBox1");
    ComboBox1->setEditable(true);
    ComboBox1->addItems(
        {QStringLiteral("G"),  QStringLiteral("H"),  QStringLiteral("Ｉ "), QStringLiteral("Ｊ"),
         QStringLiteral("Ｋ"), QStringLiteral("Ｌ"), QStringLiteral("Ｍ"),  QStringLiteral("Ｎ"),
         QStringLiteral("Ｏ"), QStringLiteral("Ｐ"), QStringLiteral("Ｑ"),  QStringLiteral("Ｒ"),
         QStringLiteral("Ｓ"), QStringLiteral("Ｔ"), QStringLiteral("Ｕ"),  QStringLiteral("Ｖ"),
         QStringLiteral("Ｗ"), QStringLiteral("Ｘ"), QStringLiteral("Ｙ"),  QStringLiteral("Ｚ")});
    ComboBox1->setCurrentIndex(-1);
    ComboBox1->setEditText(QStringLiteral("Ｇ"));
    groups->addWidget(ComboBox1);
    grid->addLayout(groups, 11, 0, 1, 5);

    CheckBox6 = check(g, "CheckBox6", QStringLiteral("Fix Members "), false);
    CheckBox7 = check(g, "CheckBox7", QStringLiteral("Fix Partner"), false);
    Button47 = named(new QPushButton(QStringLiteral("Search for Members"), g), "Button47");
    Button53 = named(new QPushButton(QStringLiteral("Rest"), g), "Button53");
    auto* row = new QHBoxLayout;
    row->addWidget(Button47);
    row->addWidget(Button53);
    row->addWidget(CheckBox6);
    row->addWidget(new QLabel(QStringLiteral("Ignore “Search for Members”"), g));
    row->addWidget(CheckBox7);
    grid->addLayout(row, 12, 0, 1, 5);

    QVBoxLayout* outer = pageLayout(partner);
    outer->insertWidget(outer->count() - 1, g);
}

void TMainConsole::buildPartnerPage() {
    // The LAN switch first: it is the one a typist must find at once.
    auto* f = group(partner, QStringLiteral("LAN"));
    CheckBox22 = check(partner, "CheckBox22", QStringLiteral("Send the input to LAN"), true);
    Label22 =
        named(new QLabel(QStringLiteral("Do not transmit at all when Check is removed."), partner),
              "Label22");
    markExplanation(Label22);
    f->addRow(CheckBox22);
    f->addRow(Label22);
    auto paint = [this] {
        CheckBox22->setStyleSheet(CheckBox22->isChecked() ? QString()
                                                          : QStringLiteral("color: red"));
    };
    connect(CheckBox22, &QCheckBox::toggled, this, paint);
    paint();

    buildMemberList();

    auto* pc = group(partner, QStringLiteral("Your PC"));
    Edit35 = box(partner, "Edit35", QStringLiteral("error!!"));
    Edit30 = box(partner, "Edit30", QString());
    // The name travels in comma-separated membership fields and in a
    // colon-separated settings line: neither separator may be part of it.
    Edit30->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[^,:]*")), Edit30));
    pc->addRow(QStringLiteral("IP Address"), Edit35);
    pc->addRow(QStringLiteral("Host Name"), Edit30);
    ListBox2 = named(new QListWidget(partner), "ListBox2");
    ListBox2->setMaximumHeight(80);
    ListBox2->hide();
    pc->addRow(ListBox2);
    Button39 = named(new QPushButton(QStringLiteral("Read in IP again"), partner), "Button39");
    Button36 = named(new QPushButton(QStringLiteral("winipcfg"), partner), "Button36");
    Button38 = named(new QPushButton(QStringLiteral("ipconfig"), partner), "Button38");
    auto* tools = new QHBoxLayout;
    tools->addWidget(Button39);
    tools->addWidget(Button36);
    tools->addWidget(Button38);
    pc->addRow(tools);

    hiddenNetworkGroup = named(new QGroupBox, "GroupBox_hidden");
    pageLayout(partner)->addWidget(hiddenNetworkGroup);
    hiddenNetworkGroup->hide();
    auto* hidden = new QFormLayout(hiddenNetworkGroup);
    auto* mark = new QLabel(QStringLiteral("非表示"), hiddenNetworkGroup);
    mark->setStyleSheet(QStringLiteral("color: red"));
    hidden->addRow(mark);
    ComboBox2 = named(new QComboBox(hiddenNetworkGroup), "ComboBox2");
    ComboBox2->setEditable(true);
    for (int i = 1; i <= 12; ++i)
        ComboBox2->addItem(QStringLiteral("%1ch").arg(i));
    ComboBox2->setCurrentIndex(0);
    hidden->addRow(QStringLiteral("チャンネル"), ComboBox2);
    CheckBox60 = check(hiddenNetworkGroup, "CheckBox60", QStringLiteral("Ｌｕｍｏに表示"), false);
    hidden->addRow(CheckBox60);
    auto* remote = new QLabel(QStringLiteral("遠隔地で入力。ＶＰＮルーター（ｲﾝﾀｰﾈｯﾄ）を使う"),
                              hiddenNetworkGroup);
    hidden->addRow(remote);
    CheckBox71 =
        check(hiddenNetworkGroup, "CheckBox71", QStringLiteral("下のﾈｯﾄﾜｰｸｱﾄﾞﾚｽを探す"), false);
    CheckBox72 = check(hiddenNetworkGroup, "CheckBox72", QStringLiteral("指定IPのみ探す"), false);
    hidden->addRow(CheckBox71);
    hidden->addRow(CheckBox72);
    Edit98 = box(hiddenNetworkGroup, "Edit98", QString());
    Edit99 = box(hiddenNetworkGroup, "Edit99", QString());
    Edit100 = box(hiddenNetworkGroup, "Edit100", QString());
    hidden->addRow(Edit98);
    hidden->addRow(Edit99);
    hidden->addRow(Edit100);
    CheckBox42 = check(hiddenNetworkGroup, "CheckBox42",
                       QStringLiteral("通信を暗号化する。→パスワード"), false);
    Edit1 = box(hiddenNetworkGroup, "Edit1", QStringLiteral("共有する合言葉はここです"));
    // Cut at a colon in the settings file, the password would differ after
    // the next start and every scrambled message would turn to garbage.
    Edit1->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[^:]*")), Edit1));
    hidden->addRow(CheckBox42, Edit1);
}

void TMainConsole::buildDisplay1Page() {
    auto* lines = group(TabSheet2, QStringLiteral("Screen part: lines"));
    CheckBox67 = check(
        TabSheet2, "CheckBox67",
        QStringLiteral("Adjust automatically  Number of lines,  Line spacing and  Distance . "),
        true);
    lines->addRow(CheckBox67);
    Edit8 = box(TabSheet2, "Edit8", QStringLiteral("6"));
    Edit12 = box(TabSheet2, "Edit12", QStringLiteral("60"));
    lines->addRow(QStringLiteral("Number of lines"), Edit8);
    lines->addRow(QStringLiteral("Line spacing (dots)"), Edit12);
    Button9 = named(
        new QPushButton(QStringLiteral("Calculate Line Spacing from Number of Lines. "), TabSheet2),
        "Button9");
    lines->addRow(Button9);

    auto* feed = group(TabSheet2, QStringLiteral("Line feeding method / position markers"));
    CheckBox8 =
        check(TabSheet2, "CheckBox8", QStringLiteral("Line feed only by null line."), false);
    CheckBox50 = check(TabSheet2, "CheckBox50", QStringLiteral("Display "), false);
    feed->addRow(CheckBox8);
    feed->addRow(CheckBox50);

    auto* screenLook = group(TabSheet2, QStringLiteral("Screen part"));
    Button1 = named(new QPushButton(QStringLiteral("Font"), TabSheet2), "Button1");
    Button2 = named(new QPushButton(QStringLiteral("Background　Color"), TabSheet2), "Button2");
    screenLook->addRow(Button1, Button2);

    auto* persons = group(TabSheet2, QStringLiteral("Persons"));
    Button17 = named(new QPushButton(QStringLiteral("Two Persons"), TabSheet2), "Button17");
    Button15 = named(new QPushButton(QStringLiteral("One Person"), TabSheet2), "Button15");
    Button16 = named(new QPushButton(QStringLiteral("For Display"), TabSheet2), "Button16");
    auto* row = new QHBoxLayout;
    row->addWidget(Button17);
    row->addWidget(Button15);
    row->addWidget(Button16);
    persons->addRow(row);

    auto* match = group(TabSheet2, QStringLiteral("Partner's screen"));
    Button18 = named(new QPushButton(QStringLiteral("Match"), TabSheet2), "Button18");
    auto* matchNote = new QLabel(
        QStringLiteral("パートナーの画面の幅・行数・フォントサイズに合わせます。"), TabSheet2);
    markExplanation(matchNote);
    match->addRow(Button18, matchNote);

    auto* cover = group(TabSheet2, QStringLiteral("Desktop"));
    CheckBox9 = check(TabSheet2, "CheckBox9", QStringLiteral("Cover by  single color. "), false);
    Button8 = named(new QPushButton(QStringLiteral("Cover Color"), TabSheet2), "Button8");
    cover->addRow(CheckBox9, Button8);

    auto* parts = group(TabSheet2, QStringLiteral("Monitor part and input part"));
    Button3 = named(new QPushButton(QStringLiteral("Font"), TabSheet2), "Button3");
    Button4 = named(new QPushButton(QStringLiteral("Background Color"), TabSheet2), "Button4");
    parts->addRow(Button3, Button4);
    Edit6 = box(TabSheet2, "Edit6", QStringLiteral("1"));
    Edit96 = box(TabSheet2, "Edit96", QStringLiteral("1"));
    parts->addRow(QStringLiteral("Number of Lines in Monitor Part"),
                  withUpDown(Edit6, "UpDown1", 0, 99));
    parts->addRow(QStringLiteral("Number of lines in Input Part"),
                  withUpDown(Edit96, "UpDown2", 0, 99));
    for (QLineEdit* e : {Edit6, Edit96})
        connect(e, &QLineEdit::textChanged, this, [this] { layoutBottom(wordProcessorMode_); });
}

void TMainConsole::buildDisplay2Page() {
    auto* speed = group(TabSheet3, QStringLiteral("Scroll speed"));
    Edit9 = box(TabSheet3, "Edit9", QStringLiteral("2"));
    Edit11 = box(TabSheet3, "Edit11", QStringLiteral("30"));
    speed->addRow(QStringLiteral("Distance per step (dots)"), Edit9);
    speed->addRow(QStringLiteral("Interval (ms)"), Edit11);
    CheckBox5 = check(TabSheet3, "CheckBox5",
                      QStringLiteral("Automatic acceleration of scroll speed"), false);
    speed->addRow(CheckBox5);
    auto* mouse = group(TabSheet3, QStringLiteral("Mouse cursor"));
    CheckBox68 =
        check(TabSheet3, "CheckBox68", QStringLiteral("It disappears when clicking. "), false);
    mouse->addRow(CheckBox68);
    Edit43 = box(TabSheet3, "Edit43", QStringLiteral("5"));
    Edit44 = box(TabSheet3, "Edit44", QStringLiteral("2"));
    speed->addRow(QStringLiteral("Accelerate above (waiting lines)"), Edit43);
    speed->addRow(QStringLiteral("Acceleration factor"), Edit44);

    auto* monitor = group(TabSheet3, QStringLiteral("Display Method of Monitor"));
    CheckBox55 = check(TabSheet3, "CheckBox55", QStringLiteral("Monitor　Part"), false);
    CheckBox56 = check(TabSheet3, "CheckBox56", QStringLiteral("８-person Monitor"), false);
    CheckBox57 = check(TabSheet3, "CheckBox57", QStringLiteral("Display line feed by ■."), false);
    monitor->addRow(CheckBox55);
    monitor->addRow(CheckBox56);
    monitor->addRow(CheckBox57);
    auto* undo = group(TabSheet3, QStringLiteral("Display Method of Undo"));
    CheckBox40 =
        check(TabSheet3, "CheckBox40", QStringLiteral("Display again (same as before). "), true);
    undo->addRow(CheckBox40);
}

void TMainConsole::buildInput1Page() {
    auto* f = group(TabSheet6, QStringLiteral("Input aids"));
    Edit31 = box(TabSheet6, "Edit31", QString());
    f->addRow(QStringLiteral("Ｅｎｔｅｒで発言者名を入れる"), Edit31);

    auto* undo = group(TabSheet6, QStringLiteral("Undo"));
    undo->addRow(new QLabel(QStringLiteral("●他の人の入力も")));
    CheckBox11 = check(TabSheet6, "CheckBox11", QStringLiteral("Ｕｎｄｏの対象にする"), true);
    CheckBox35 = check(TabSheet6, "CheckBox35", QStringLiteral("入力部内で改行する。"), false);
    CheckBox36 =
        check(TabSheet6, "CheckBox36", QStringLiteral("「空行のみ改行」を指定した時"), false);
    CheckBox47 =
        check(TabSheet6, "CheckBox47", QStringLiteral("Ｄｅｌキー/Clsキーにする。"), false);
    for (QCheckBox* c : {CheckBox11, CheckBox35, CheckBox36, CheckBox47})
        undo->addRow(c);
}

void TMainConsole::buildInput2Page() {
    auto* f = group(TabSheet11, QStringLiteral("Sending"));
    CheckBox53 =
        check(TabSheet11, "CheckBox53", QStringLiteral("カーソルより前の文を送る。"), false);
    f->addRow(CheckBox53);

    auto* clear = group(TabSheet11, QStringLiteral("Input clear message"));
    Edit66 = box(TabSheet11, "Edit66", QStringLiteral("・"));
    Edit68 = box(TabSheet11, "Edit68", QStringLiteral("500"));
    clear->addRow(QStringLiteral("Shown in the partner's monitor part"), Edit66);
    clear->addRow(QStringLiteral("for (ms)"), Edit68);
}

void TMainConsole::buildInputAids() {
    auto* keys = group(TabSheet6, QStringLiteral("Function keys"));
    Button52 = named(new QPushButton(QStringLiteral("Ｆキー・メモ表示"), TabSheet6), "Button52");
    keys->addRow(Button52);
    CheckBox13 = check(TabSheet6, "CheckBox13", QStringLiteral("F12で後ろにも空行を入れる"), false);
    keys->addRow(CheckBox13);
    CheckBox52 =
        check(TabSheet6, "CheckBox52", QStringLiteral("Ｆ７キーを訂正キーにする。"), false);
    Edit94 = box(TabSheet6, "Edit94", QStringLiteral("訂正：↑の「"));
    Edit95 = box(TabSheet6, "Edit95", QStringLiteral("」は「」です。"));
    keys->addRow(CheckBox52);
    keys->addRow(Edit94, Edit95);
    CheckBox43 = check(TabSheet6, "CheckBox43", QStringLiteral("くくる。"), false);
    Edit78 = box(TabSheet6, "Edit78", QStringLiteral("「"));
    Edit79 = box(TabSheet6, "Edit79", QStringLiteral("」"));
    keys->addRow(QStringLiteral("Ｆ８"), CheckBox43);
    keys->addRow(Edit78, Edit79);
    Edit5 = box(TabSheet6, "Edit5", QStringLiteral("♪"));
    Edit7 = box(TabSheet6, "Edit7", QStringLiteral("♪"));
    keys->addRow(new QLabel(QStringLiteral("Shift+Ｆ８")));
    keys->addRow(Edit5, Edit7);

    auto* time = group(TabSheet6, QStringLiteral("入力の時間指定"));
    Edit16 = box(TabSheet6, "Edit16", QStringLiteral("15"));
    time->addRow(QStringLiteral("秒"), withUpDown(Edit16, "UpDown3", 1, 100));
    CheckBox15 = check(TabSheet6, "CheckBox15", QStringLiteral("赤表示する"), false);
    CheckBox23 = check(TabSheet6, "CheckBox23", QStringLiteral("自動的にEnterし、表示する"), false);
    time->addRow(CheckBox15);
    time->addRow(CheckBox23);

    auto* length = group(TabSheet6, QStringLiteral("入力の文字数指定"));
    Edit21 = box(TabSheet6, "Edit21", QStringLiteral("40"));
    length->addRow(QStringLiteral("半角文字数"), withUpDown(Edit21, "UpDown5", 0, 9999));
    CheckBox51 = check(TabSheet6, "CheckBox51", QStringLiteral("赤表示する。"), false);
    CheckBox54 = check(TabSheet6, "CheckBox54", QStringLiteral("自動的にEnterし、表示"), false);
    length->addRow(CheckBox51);
    length->addRow(CheckBox54);

    auto* speed = group(TabSheet6, QStringLiteral("入力速度"));
    CheckBox44 = check(TabSheet6, "CheckBox44", QStringLiteral("一分間の文字数表示"), false);
    CheckBox45 = check(TabSheet6, "CheckBox45", QStringLiteral("説明ページに文字数追記"), false);
    CheckBox62 = check(TabSheet6, "CheckBox62", QStringLiteral("黄で警告する"), false);
    Edit24 = box(TabSheet6, "Edit24", QStringLiteral("100"));
    speed->addRow(CheckBox44);
    speed->addRow(CheckBox45);
    speed->addRow(CheckBox62);
    speed->addRow(QStringLiteral("字／分"), withUpDown(Edit24, "UpDown6", 0, 9999));

    auto* colours = group(TabSheet11, QStringLiteral("漢字変換色"));
    Button27 = named(new QPushButton(QStringLiteral("文字色"), TabSheet11), "Button27");
    Button34 = named(new QPushButton(QStringLiteral("背景色"), TabSheet11), "Button34");
    colours->addRow(Button27, Button34);

    CheckBox61 =
        check(hiddenOptions, "CheckBox61", QStringLiteral("自動的にEnterし表示する。"), false);

    // Reading insertion: set by settings files only, so the frame stays hidden.
    readingGroup = named(new QGroupBox(QStringLiteral("F1キーで漢字変換の入力読みを挿入")),
                         "GroupBox_reading");
    pageLayout(TabSheet11)->addWidget(readingGroup);
    readingGroup->hide();
    auto* reading = new QFormLayout(readingGroup);
    CheckBox58 =
        check(readingGroup, "CheckBox58", QStringLiteral("下の文字で入力読みを囲う"), false);
    Edit22 = box(readingGroup, "Edit22", QStringLiteral("（"));
    Edit23 = box(readingGroup, "Edit23", QStringLiteral("）"));
    CheckBox59 =
        check(readingGroup, "CheckBox59", QStringLiteral("ルビにする（`r`sで囲う）"), false);
    RadioButton1 = named(new QRadioButton(QStringLiteral("半ｶﾀｶﾅ"), readingGroup), "RadioButton1");
    RadioButton2 =
        named(new QRadioButton(QStringLiteral("カタカナ"), readingGroup), "RadioButton2");
    RadioButton3 =
        named(new QRadioButton(QStringLiteral("ひらがな"), readingGroup), "RadioButton3");
    RadioButton3->setChecked(true);
    reading->addRow(CheckBox58);
    reading->addRow(Edit22, Edit23);
    reading->addRow(CheckBox59);
    reading->addRow(RadioButton1);
    reading->addRow(RadioButton2);
    reading->addRow(RadioButton3);
}

void TMainConsole::buildSavePage() {
    auto* files = group(TabSheet7, QStringLiteral("表示設定などの保存・読込"));
    Button21 = named(new QPushButton(QStringLiteral("保存"), TabSheet7), "Button21");
    Button20 = named(new QPushButton(QStringLiteral("読込"), TabSheet7), "Button20");
    Button66 = named(new QPushButton(QStringLiteral("起動時設定にする"), TabSheet7), "Button66");
    Button67 = named(new QPushButton(QStringLiteral("初期値に戻す"), TabSheet7), "Button67");
    auto* row = new QHBoxLayout;
    for (QPushButton* b : {Button21, Button20, Button66, Button67})
        row->addWidget(b);
    row->addStretch();
    files->addRow(row);
    Label67 = named(new QLabel(TabSheet7), "Label67");
    files->addRow(QStringLiteral("ファイル"), Label67);
    LabelFolder = named(new QLabel(TabSheet7), "LabelFolder");
    LabelFolder->setTextInteractionFlags(Qt::TextSelectableByMouse);
    files->addRow(QStringLiteral("保存先フォルダ"), LabelFolder);
    auto* note =
        new QLabel(QStringLiteral("「起動時設定にする」で今の設定を保存すると、次の起動から"
                                  "自動的に読み込まれます。"),
                   TabSheet7);
    note->setWordWrap(true);
    markExplanation(note);
    files->addRow(note);

    auto* logs = group(TabSheet7, QStringLiteral("表示文の記録の保存と消去"));
    Button7 = named(new QPushButton(QStringLiteral("保存"), TabSheet7), "Button7");
    Label5 = named(new QLabel(QStringLiteral("保存なし"), TabSheet7), "Label5");
    auto* saveRow = new QHBoxLayout;
    saveRow->addWidget(Button7);
    saveRow->addWidget(Label5, 1);
    logs->addRow(saveRow);
    ButtonTranscript =
        named(new QPushButton(QStringLiteral("Save transcript (txt, srt, vtt)"), TabSheet7),
              "ButtonTranscript");
    auto* transcriptRow = new QHBoxLayout;
    transcriptRow->addWidget(ButtonTranscript);
    transcriptRow->addStretch();
    logs->addRow(transcriptRow);

    auto* periodic = new QGroupBox(QStringLiteral("定期的な消去と自動保存"), TabSheet7);
    auto* pv = new QVBoxLayout(periodic);
    CheckBox39 = check(periodic, "CheckBox39",
                       QStringLiteral("定期的に、または、Quorel終了時に自動保存する。"), false);
    pv->addWidget(CheckBox39);
    Edit92 = box(periodic, "Edit92", QStringLiteral("10"));
    Edit91 = box(periodic, "Edit91", QStringLiteral("1000"));
    Edit4 = box(periodic, "Edit4", QStringLiteral("30"));
    auto* thresholds = new QHBoxLayout;
    for (auto [edit, caption] : {std::pair{Edit92, QStringLiteral("分ごとにチェックして")},
                                 std::pair{Edit91, QStringLiteral("行以上、または")},
                                 std::pair{Edit4, QStringLiteral("ＫＢｙｔｅ以上に")}}) {
        edit->setMaximumWidth(70);
        thresholds->addWidget(edit);
        thresholds->addWidget(new QLabel(caption, periodic));
    }
    thresholds->addStretch();
    pv->addLayout(thresholds);
    // Unticked, a clearing drops the lines it takes away: the typist should
    // know before the event, not after.
    auto* clearingNote =
        new QLabel(QStringLiteral("なったら、最後の１０行を残して表示文の記録を消去します。"
                                  "チェックが無いときは、消去した行は保存されません。"),
                   periodic);
    clearingNote->setWordWrap(true);
    markExplanation(clearingNote);
    pv->addWidget(clearingNote);
    logs->addRow(periodic);
}

void TMainConsole::buildReadmePage() {
    auto* v = new QVBoxLayout(TabSheet4);
    RichEdit3 = named(new QTextEdit(TabSheet4), "RichEdit3");
    RichEdit3->setReadOnly(true);
    // Lines noted over a day (or a flood of bad datagrams) must not fill the
    // memory: the page keeps its newest lines.
    RichEdit3->document()->setMaximumBlockCount(kExplanationLines);
    RichEdit3->setPlainText(QStringLiteral(
        "Quorel — real-time captioning station\n"
        "\n"
        "Type a sentence in the input part at the bottom of the \"Screen & Input \" page and press "
        "Enter: it glides onto the screen part.\n"
        "Ctrl+Enter breaks the line inside a sentence, Esc clears the input part and Ctrl+Z brings "
        "the cleared text back.\n"
        "\n"
        "Hotkeys in every window: Ctrl+D main window, Ctrl+F F-key memo, Ctrl+R chat, Ctrl+N "
        "pre-roll, Ctrl+8 8-person monitor, Ctrl+I sub input, Ctrl+O information, Ctrl+S palette, "
        "Ctrl+K karaoke remote.\n"));
    v->addWidget(RichEdit3);
    Button11 = named(new QPushButton(QStringLiteral("保存"), TabSheet4), "Button11");
    auto* saveRow = new QHBoxLayout;
    saveRow->addWidget(Button11);
    saveRow->addStretch();
    v->addLayout(saveRow);
    // Hidden buffers of the page.
    Edit10 = box(TabSheet4, "Edit10", QStringLiteral("30"));
    Edit10->hide();
}

void TMainConsole::resizeEvent(QResizeEvent* e) {
    StationWindow::resizeEvent(e);
    emit resized();
}

void TMainConsole::closeEvent(QCloseEvent* e) {
    emit closing();
    e->accept();
}

} // namespace quorel

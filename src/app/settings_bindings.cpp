#include "app/settings_bindings.h"

#include "app/main_console.h"
#include "app/screen_modes.h"
#include "app/station.h"
#include "caption/caption_windows.h"
#include "caption/eight_person.h"
#include "caption/input_aids.h"
#include "caption/input_edit.h"
#include "caption/screen_part.h"
#include "members/member_list.h"
#include "net/channels.h"
#include "settings/settings_registry.h"
#include "windows/fonts.h"
#include "windows/info/chat.h"
#include "windows/info/info_windows.h"
#include "windows/info/information_window.h"
#include "windows/info/telop.h"
#include "windows/prepared/karaoke.h"
#include "windows/prepared/karaoke_window.h"
#include "windows/prepared/palette_window.h"
#include "windows/prepared/preroll_window.h"
#include "windows/prepared/sub_input_window.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QSplitter>
#include <QTextEdit>

namespace quorel {

using settings::Form;
using settings::SettingsRegistry;

namespace {

int number(const QString& v) {
    return settings::parseInt(v);
}

Form formOf(int key) {
    const settings::Row* row = settings::findRow(key);
    return row ? row->form : Form::Text;
}

void bindCheck(SettingsRegistry& r, int key, QAbstractButton* b) {
    const Form f = formOf(key);
    r.bind(key, {[b, f] {
                     return b->isChecked() ? settings::positiveToken(f)
                                           : settings::negativeToken(f);
                 },
                 [b, f](const QString& v) { b->setChecked(v == settings::positiveToken(f)); }});
}

void bindText(SettingsRegistry& r, int key, QLineEdit* e) {
    r.bind(key, {[e] { return e->text(); }, [e](const QString& v) { e->setText(v); }});
}

void bindGeometry(SettingsRegistry& r, QWidget* w, int height, int width, int top, int left) {
    // Sizes are the client area and places the frame's corner, both ways, so
    // that a window does not grow by its frame at every save and load.
    r.bind(height, {[w] { return QString::number(w->height()); },
                    [w](const QString& v) { w->resize(w->width(), std::max(0, number(v))); }});
    r.bind(width, {[w] { return QString::number(w->width()); },
                   [w](const QString& v) { w->resize(std::max(0, number(v)), w->height()); }});
    r.bind(top, {[w] { return QString::number(w->y()); },
                 [w](const QString& v) { w->move(w->x(), number(v)); }});
    r.bind(left, {[w] { return QString::number(w->x()); },
                  [w](const QString& v) { w->move(number(v), w->y()); }});
}

void bindShown(SettingsRegistry& r, int key, QWidget* w, const QString& shown,
               const QString& hidden) {
    r.bind(key, {[w, shown, hidden] { return w->isVisible() ? shown : hidden; },
                 [w, shown](const QString& v) { w->setVisible(v == shown); }});
}

// A font shared by several places: the face, size and style keys each change
// their part of it and leave the rest.
struct FontPlace {
    std::function<QFont()> get;
    std::function<void(const QFont&)> set;
};

QString faceOf(const QFont& f) {
    return f.families().isEmpty() ? f.family() : f.families().first();
}

void bindFont(SettingsRegistry& r, const FontPlace& p, int face, int size, int bold, int italic,
              int underline) {
    // The face asked for is what the file keeps ("ＭＳ Ｐゴシック"), not the face
    // this PC draws it with.
    r.bind(face, {[p] { return faceOf(p.get()); },
                  [p](const QString& v) {
                      const QFont old = p.get();
                      QFont f = japaneseFont(v, old.pointSize());
                      f.setBold(old.bold());
                      f.setItalic(old.italic());
                      f.setUnderline(old.underline());
                      p.set(f);
                  }});
    r.bind(size, {[p] { return QString::number(p.get().pointSize()); },
                  [p](const QString& v) {
                      QFont f = p.get();
                      f.setPointSize(number(v));
                      p.set(f);
                  }});
    auto style = [&](int key, bool (QFont::*is)() const, void (QFont::*put)(bool)) {
        const Form form = formOf(key);
        r.bind(key, {[p, is, form] {
                         return (p.get().*is)() ? settings::positiveToken(form)
                                                : settings::negativeToken(form);
                     },
                     [p, put, form](const QString& v) {
                         QFont f = p.get();
                         (f.*put)(v == settings::positiveToken(form));
                         p.set(f);
                     }});
    };
    style(bold, &QFont::bold, &QFont::setBold);
    style(italic, &QFont::italic, &QFont::setItalic);
    style(underline, &QFont::underline, &QFont::setUnderline);
}

QColor paletteColour(const QWidget* w, QPalette::ColorRole role) {
    return w->palette().color(role);
}

void setPaletteColour(QWidget* w, QPalette::ColorRole role, const QColor& c) {
    QPalette pal = w->palette();
    pal.setColor(role, c);
    w->setPalette(pal);
}

// A colour no control shows as such: kept as the file gave it and painted
// where it belongs.
void bindKeptColour(SettingsRegistry& r, int key, std::function<void(const QColor&)> paint) {
    const settings::Row* row = settings::findRow(key);
    auto value = std::make_shared<settings::WinColour>(
        settings::parseInt(QString::fromUtf8(row->defaultValue)));
    r.bind(key, {[value] { return QString::number(*value); },
                 [value, paint](const QString& v) {
                     *value = settings::parseInt(v);
                     paint(settings::colourOf(*value));
                 }});
}

// The information window: its own place and look, and the telop it sends.
// Keys 500-503 are the window's place here; in a telop message they carry the
// sender's boxes 525-528 instead.
void bindInformationSettings(Station& st, SettingsRegistry& r) {
    TForm15& w = *st.information();
    Telop& telop = st.telop();
    bindCheck(r, 258, w.CheckBox7);
    r.bind(260, {[&w] { return w.isVisible() ? QStringLiteral("true") : QStringLiteral("false"); },
                 [&w](const QString& v) { w.setVisible(v == QLatin1String("true")); }});
    bindCheck(r, 267, w.CheckBox12);
    bindCheck(r, 268, w.CheckBox13);
    bindGeometry(r, &w, 500, 501, 502, 503);
    bindText(r, 504, w.Edit1);
    bindCheck(r, 505, w.CheckBox5);
    bindCheck(r, 506, w.CheckBox1);
    bindCheck(r, 507, w.CheckBox2);
    // The count goes through its up-down, which keeps it in range.
    r.bind(508, {[&w] { return w.Edit4->text(); },
                 [&w](const QString& v) {
                     w.UpDown3->setValue(number(v));
                     w.Edit4->setText(QString::number(w.UpDown3->value()));
                 }});
    bindText(r, 509, w.Edit2);
    bindText(r, 510, w.Edit3);
    const FontPlace font{[&telop] { return telop.font(); },
                         [&telop](const QFont& f) { telop.setFont(f); }};
    bindFont(r, font, 511, 513, 515, 516, 517);
    // System colours are kept as the file named them, for the file and for
    // the telops this station sends.
    r.bind(512, {[&telop] { return QString::number(telop.fontColour()); },
                 [&telop](const QString& v) { telop.setFontColour(number(v)); }});
    r.bind(514, {[&telop] { return QString::number(telop.background()); },
                 [&telop, &w](const QString& v) {
                     telop.setBackground(number(v));
                     w.Image2->fill();
                 }});
    bindCheck(r, 518, w.CheckBox4);
    bindCheck(r, 519, w.CheckBox9);
    bindCheck(r, 520, w.CheckBox8);
    bindCheck(r, 521, w.CheckBox11);
    bindCheck(r, 522, w.CheckBox3);
    bindCheck(r, 523, w.CheckBox10);
    bindCheck(r, 524, w.CheckBox14);
    bindText(r, 525, w.Edit5);
    bindText(r, 526, w.Edit6);
    bindText(r, 527, w.Edit7);
    bindText(r, 528, w.Edit8);
    bindText(r, 529, w.Edit9);
}

} // namespace

void applyPageBackground(Station& st, const QColor& c) {
    for (QWidget* w : st.windows())
        setPaletteColour(w, QPalette::Window, c);
}

void applyItemTextColour(Station& st, const QColor& c) {
    for (QWidget* w : st.windows()) {
        setPaletteColour(w, QPalette::WindowText, c);
        setPaletteColour(w, QPalette::ButtonText, c);
    }
}

void ApplyExplanationColour(Station& st, const QColor& c) {
    for (QWidget* w : st.windows())
        for (QLabel* l : w->findChildren<QLabel*>())
            if (isExplanation(l))
                setPaletteColour(l, QPalette::WindowText, c);
}

namespace {

void bindChatSettings(Station& st, SettingsRegistry& r) {
    TForm6& w = *st.chat();
    Chat& chat = st.chatNotes();
    const FontPlace font{[&w] { return w.RichEdit1->font(); },
                         [&w](const QFont& f) {
                             w.RichEdit1->setFont(f);
                             w.RichEdit2->setFont(f);
                         }};
    bindFont(r, font, 153, 155, 147, 148, 149);
    r.bindColour(
        150, [&chat] { return chat.normalColour(); },
        [&chat](const QColor& c) { chat.setNormalColour(c); });
    r.bindColour(
        151, [&chat] { return chat.warningColour(); },
        [&chat](const QColor& c) { chat.setWarningColour(c); });
    r.bindColour(
        154, [&chat] { return chat.textColour(); },
        [&chat](const QColor& c) { chat.setTextColour(c); });
    bindShown(r, 152, &w, QStringLiteral("on"), QStringLiteral("off"));
    bindGeometry(r, &w, 156, 157, 158, 159);
    r.bind(160, {[&w] { return QString::number(w.inputHeight()); },
                 [&w](const QString& v) { w.setInputHeight(number(v)); }});
    r.bind(702, {[&w] { return QString::number(w.stripHeight()); },
                 [&w](const QString& v) { w.setStripHeight(number(v)); }});
    bindText(r, 191, w.Edit1);
    bindCheck(r, 703, w.CheckBox5);
    bindCheck(r, 704, w.CheckBox3);
    bindCheck(r, 705, w.CheckBox4);
    bindText(r, 706, w.Edit2);
    bindText(r, 707, w.Edit3);
    bindText(r, 708, w.Edit4);
    // The periodic note is never saved running; a file that says so starts it.
    r.bind(709, {[] { return QStringLiteral("false"); },
                 [&w](const QString& v) {
                     if (v == QLatin1String("true"))
                         w.CheckBox2->setChecked(true);
                 }});
    bindCheck(r, 786, w.CheckBox6);
    bindCheck(r, 857, w.CheckBox7);
}

void bindSubInputSettings(Station& st, SettingsRegistry& r) {
    TForm14& w = *st.subInput();
    bindGeometry(r, &w, 252, 251, 249, 250);
    for (int i : {0, 1})
        r.bind(253 + i, {[&w, i] { return QString::number(w.paneHeight(i)); },
                         [&w, i](const QString& v) { w.setPaneHeight(i, number(v)); }});
    bindShown(r, 255, &w, QStringLiteral("on"), QStringLiteral("off"));
    for (int i : {0, 1})
        r.bind(256 + i, {[&w, i] { return QString::number(w.stripWidth(i)); },
                         [&w, i](const QString& v) { w.setStripWidth(i, number(v)); }});
}

void bindReadingSettings(Station& st, SettingsRegistry& r) {
    TMainConsole& m = *st.main();
    bindCheck(r, 809, m.CheckBox46);
    bindCheck(r, 950, m.CheckBoxAudience);
    bindText(r, 951, m.EditAudiencePort);
    bindCheck(r, 864, m.CheckBox58);
    bindText(r, 865, m.Edit22);
    bindText(r, 866, m.Edit23);
    bindCheck(r, 867, m.CheckBox59);
    r.bind(
        868,
        {[&m] {
             return m.RadioButton3->isChecked()   ? QStringLiteral("3")
                    : m.RadioButton2->isChecked() ? QStringLiteral("2")
                                                  : QStringLiteral("1");
         },
         [&m](const QString& v) {
             const int n = v.trimmed().toInt(); // anything else: half-width
             (n == 3 ? m.RadioButton3 : n == 2 ? m.RadioButton2 : m.RadioButton1)->setChecked(true);
         }});
}

void bindPrerollSettings(Station& st, SettingsRegistry& r) {
    TForm11& w = *st.preroll();
    TForm3& monitor = *st.prerollMonitor();
    bindCheck(r, 220, st.main()->CheckBox10);
    bindGeometry(r, &w, 224, 223, 221, 222);
    r.bind(225, {[&w] { return QString::number(w.topHeight()); },
                 [&w](const QString& v) { w.setTopHeight(number(v)); }});
    bindShown(r, 226, &w, QStringLiteral("on"), QStringLiteral("off"));
    const FontPlace panes{[&w] { return w.RichEdit1->font(); },
                          [&w](const QFont& f) {
                              for (PrerollPane* p : w.panes)
                                  p->setFont(f);
                          }};
    bindFont(r, panes, 227, 229, 230, 231, 232);
    auto paintPanes = [&w](QPalette::ColorRole role) {
        return [&w, role](const QColor& c) {
            for (PrerollPane* p : w.panes)
                setPaletteColour(p, role, c);
        };
    };
    r.bindColour(
        228, [&w] { return paletteColour(w.RichEdit1, QPalette::Text); },
        paintPanes(QPalette::Text));
    r.bindColour(
        233, [&w] { return paletteColour(w.RichEdit1, QPalette::Base); },
        paintPanes(QPalette::Base));
    bindCheck(r, 234, w.CheckBox1);
    bindCheck(r, 235, w.CheckBox2);
    bindCheck(r, 236, w.CheckBox3);
    bindText(r, 237, w.Edit1);
    r.bind(711, {[&w] { return QString::number(w.topHeight()); },
                 [&w](const QString& v) { w.setTopHeight(number(v)); }});
    r.bind(712, {[&w] { return QString::number(w.leftWidth()); },
                 [&w](const QString& v) { w.setLeftWidth(number(v)); }});
    bindCheck(r, 787, w.CheckBox9);
    bindCheck(r, 788, w.CheckBox11);
    bindCheck(r, 789, w.CheckBox10);
    bindCheck(r, 859, w.CheckBox22);
    bindCheck(r, 860, w.CheckBox23);
    bindCheck(r, 861, st.main()->CheckBox48);

    // The pre-roll monitor.
    bindGeometry(r, &monitor, 790, 791, 792, 793);
    r.bind(794, {[&monitor] { return QString::number(monitor.stripHeight()); },
                 [&monitor](const QString& v) { monitor.setStripHeight(number(v)); }});
    r.bind(795, {[&monitor] { return QString::number(monitor.upperHeight()); },
                 [&monitor](const QString& v) { monitor.setUpperHeight(number(v)); }});
    const FontPlace sections{[&monitor] { return monitor.RichEdit1->font(); },
                             [&monitor](const QFont& f) {
                                 monitor.RichEdit1->setFont(f);
                                 monitor.RichEdit2->setFont(f);
                             }};
    bindFont(r, sections, 796, 798, 851, 852, 853);
    auto paintSections = [&monitor](QPalette::ColorRole role) {
        return [&monitor, role](const QColor& c) {
            setPaletteColour(monitor.RichEdit1, role, c);
            setPaletteColour(monitor.RichEdit2, role, c);
        };
    };
    r.bindColour(
        797, [&monitor] { return paletteColour(monitor.RichEdit1, QPalette::Text); },
        paintSections(QPalette::Text));
    r.bindColour(
        850, [&monitor] { return paletteColour(monitor.RichEdit1, QPalette::Base); },
        paintSections(QPalette::Base));
    bindShown(r, 799, &monitor, QStringLiteral("true"), QStringLiteral("false"));
    bindCheck(r, 854, monitor.CheckBox1);
}

// The confirm and correct palette and its monitor.
void bindPaletteSettings(Station& st, SettingsRegistry& r) {
    TFkakunin& w = *st.palette();
    TFshusei_moni& monitor = *st.paletteMonitor();
    bindGeometry(r, &w, 739, 740, 741, 742);
    bindShown(r, 743, &w, QStringLiteral("true"), QStringLiteral("false"));
    bindShown(r, 772, &monitor, QStringLiteral("true"), QStringLiteral("false"));
    bindGeometry(r, &monitor, 776, 775, 773, 774);
    bindCheck(r, 780, w.CheckBox30);
    auto bindFaceAndSize = [&r](QWidget* e, int face, int size,
                                std::function<void(const QFont&)> set) {
        r.bind(face, {[e] { return faceOf(e->font()); },
                      [e, set](const QString& v) { set(japaneseFont(v, e->font().pointSize())); }});
        r.bind(size, {[e] { return QString::number(e->font().pointSize()); },
                      [e, set](const QString& v) {
                          QFont f = e->font();
                          f.setPointSize(number(v));
                          set(f);
                      }});
    };
    bindFaceAndSize(monitor.RichEdit1, 777, 779,
                    [&monitor](const QFont& f) { monitor.RichEdit1->setFont(f); });
    bindFaceAndSize(w.RichEdit1, 781, 783, [&w](const QFont& f) {
        for (PalettePane* p : w.panes)
            p->setFont(f);
    });
    auto paintPanes = [&w](QPalette::ColorRole role) {
        return [&w, role](const QColor& c) {
            for (PalettePane* p : w.panes)
                setPaletteColour(p, role, c);
        };
    };
    r.bindColour(
        782, [&w] { return paletteColour(w.RichEdit1, QPalette::Text); },
        paintPanes(QPalette::Text));
    r.bindColour(
        784, [&w] { return paletteColour(w.RichEdit1, QPalette::Base); },
        paintPanes(QPalette::Base));
    r.bindColour(
        778, [&monitor] { return paletteColour(monitor.RichEdit1, QPalette::Text); },
        [&monitor](const QColor& c) { setPaletteColour(monitor.RichEdit1, QPalette::Text, c); });
    r.bindColour(
        785, [&monitor] { return paletteColour(monitor.RichEdit1, QPalette::Base); },
        [&monitor](const QColor& c) { setPaletteColour(monitor.RichEdit1, QPalette::Base, c); });
}

// The karaoke remote. Key 769 shows it: it has no opening control of its own.
void bindKaraokeSettings(Station& st, SettingsRegistry& r) {
    TFmojikara& w = *st.karaoke();
    KaraokeRemote& remote = st.karaokeRemote();
    bindText(r, 444, w.Edit2);
    bindText(r, 445, w.Edit3);
    bindText(r, 446, w.Edit4);
    bindGeometry(r, &w, 763, 762, 760, 761);
    bindCheck(r, 764, w.CheckBox59);
    bindCheck(r, 765, w.CheckBox1);
    bindShown(r, 769, &w, QStringLiteral("true"), QStringLiteral("false"));
    r.bind(770, {[&w] { return QString::number(w.panelHeight()); },
                 [&w](const QString& v) { w.setPanelHeight(number(v)); }});
    r.bindColour(
        771, [&remote] { return remote.colour(); },
        [&remote](const QColor& c) { remote.setColour(c); });
}

} // namespace

void bindStationSettings(Station& st, SettingsRegistry& r) {
    TMainConsole& m = *st.main();
    TForm2& eight = *st.eightPerson();
    ScreenPart& screen = st.screen();

    // The main window.
    bindGeometry(r, &m, 0, 1, 2, 3);
    bindText(r, 4, m.Edit8);
    // The writer keeps the distance as the user set it, not the one an
    // acceleration uses for the moment.
    r.bind(6, {[&screen] { return QString::number(screen.state().baseDistance); },
               [&m](const QString& v) { m.Edit9->setText(v); }});
    bindText(r, 5, m.Edit12);

    // The screen part: the record control and both smooth pictures.
    const FontPlace display{[&m] { return m.RichEdit2->font(); },
                            [&m, &screen](const QFont& f) {
                                screen.setDisplayFont(f,
                                                      paletteColour(m.RichEdit2, QPalette::Text));
                            }};
    bindFont(r, display, 7, 9, 108, 109, 110);
    r.bindColour(
        8, [&m] { return paletteColour(m.RichEdit2, QPalette::Text); },
        [&m, &screen](const QColor& c) { screen.setDisplayFont(m.RichEdit2->font(), c); });
    r.bindColour(
        10, [&m] { return paletteColour(m.RichEdit2, QPalette::Base); },
        [&screen](const QColor& c) { screen.setDisplayBackground(c); });

    // Persons and the screen kind: the bottom panel's sizes follow the fonts
    // and line counts, so its size keys stay as the file gave them.
    r.bind(11, {[&m] { return QString::number(m.personsMode); },
                [&st](const QString& v) { st.modes().applyPersons(number(v)); }});
    r.bind(25, {[&screen] { return QString::number(screen.screenKind()); },
                [&screen](const QString& v) { screen.setScreenKind(number(v)); }});

    // The input part and the monitor part.
    auto relayout = [&m, &screen] { m.layoutBottom(screen.wordProcessorMode()); };
    // The sub input window's panes look like the input part.
    TForm14& sub = *st.subInput();
    const FontPlace input{[&m] { return m.RichEdit1->font(); },
                          [&m, &sub, relayout](const QFont& f) {
                              m.RichEdit1->setFont(f);
                              for (SubPane* p : sub.panes)
                                  p->setFont(f);
                              relayout();
                          }};
    bindFont(r, input, 26, 16, 129, 130, 131);
    const FontPlace monitor{[&m] { return m.RichEdit27->font(); },
                            [&m, relayout](const QFont& f) {
                                m.RichEdit27->setFont(f);
                                relayout();
                            }};
    bindFont(r, monitor, 28, 13, 132, 133, 134);
    r.bindColour(
        23, [&m] { return m.inputBackground; },
        [&m, &sub](const QColor& c) {
            m.inputBackground = c;
            setPaletteColour(m.RichEdit1, QPalette::Base, c);
            for (SubPane* p : sub.panes)
                setPaletteColour(p, QPalette::Base, c);
        });
    r.bindColour(
        24, [&m] { return paletteColour(m.RichEdit27, QPalette::Base); },
        [&m](const QColor& c) { setPaletteColour(m.RichEdit27, QPalette::Base, c); });
    r.bindColour(
        27, [&m] { return paletteColour(m.RichEdit1, QPalette::Text); },
        [&m, &sub](const QColor& c) {
            setPaletteColour(m.RichEdit1, QPalette::Text, c);
            for (SubPane* p : sub.panes)
                setPaletteColour(p, QPalette::Text, c);
        });
    r.bindColour(
        29, [&m] { return paletteColour(m.RichEdit27, QPalette::Text); },
        [&m](const QColor& c) { setPaletteColour(m.RichEdit27, QPalette::Text, c); });

    // Scrolling.
    bindText(r, 31, m.Edit10);
    bindText(r, 32, m.Edit11);
    bindText(r, 33, m.Edit43);
    bindText(r, 34, m.Edit44);
    bindCheck(r, 35, m.CheckBox5);
    bindCheck(r, 38, m.CheckBox8);
    bindText(r, 39, m.Edit31);
    bindText(r, 59, m.Edit66);
    bindText(r, 60, m.Edit68);
    bindCheck(r, 61, m.CheckBox12);
    bindCheck(r, 64, m.CheckBox22);

    // The display record's periodic clearing and its logs.
    bindText(r, 73, m.Edit91);
    bindText(r, 74, m.Edit92);
    bindCheck(r, 75, m.CheckBox39);

    // The 8-person monitor.
    EightPersonMonitor& rows = st.eightRows();
    auto eightBoxes = [&eight] {
        QList<QWidget*> boxes;
        for (std::size_t i = 0; i < 8; ++i)
            boxes << eight.panes[i] << eight.names[i];
        return boxes;
    };
    const FontPlace eightFont{[&eight] { return eight.panes[0]->font(); },
                              [&eight, &rows](const QFont& f) {
                                  for (std::size_t i = 0; i < 8; ++i) {
                                      eight.panes[i]->setFont(f);
                                      eight.names[i]->setFont(f);
                                  }
                                  rows.layoutRows();
                              }};
    bindFont(r, eightFont, 117, 119, 114, 115, 116);
    r.bindColour(
        118, [&eight] { return paletteColour(eight.panes[0], QPalette::Text); },
        [eightBoxes](const QColor& c) {
            for (QWidget* w : eightBoxes())
                setPaletteColour(w, QPalette::Text, c);
        });
    r.bindColour(
        120, [&eight] { return paletteColour(eight.panes[0], QPalette::Base); },
        [eightBoxes](const QColor& c) {
            for (QWidget* w : eightBoxes())
                setPaletteColour(w, QPalette::Base, c);
        });
    bindShown(r, 121, &eight, settings::kShown121, settings::kHidden121);
    bindGeometry(r, &eight, 122, 123, 124, 125);
    bindCheck(r, 126, m.CheckBox11);
    bindCheck(r, 128, m.CheckBox50);

    // Page colours of every window.
    bindKeptColour(r, 135, [&st](const QColor& c) { applyPageBackground(st, c); });
    bindKeptColour(r, 136, [&st](const QColor& c) { applyItemTextColour(st, c); });
    bindKeptColour(r, 144, [&st](const QColor& c) { ApplyExplanationColour(st, c); });
    // Splitter colours are read but never written.
    auto splitter = [](QFrame* f) {
        return [f](const QString& v) {
            const QColor c = settings::colourOf(settings::parseInt(v));
            f->setStyleSheet(QStringLiteral("background: %1").arg(c.name()));
        };
    };
    // The sub input window's splitters take the same colours, on their handles.
    auto both = [&st, splitter](QFrame* mainBar, int which) {
        return [mainBar, which, &st, splitter](const QString& v) {
            splitter(mainBar)(v);
            TForm14& w = *st.subInput();
            QSplitter* s = which == 1 ? w.Splitter1 : w.Splitter2;
            const QColor c = settings::colourOf(settings::parseInt(v));
            s->setStyleSheet(QStringLiteral("QSplitter::handle { background: %1 }").arg(c.name()));
        };
    };
    r.bind(71, {{}, both(m.Splitter1, 1)});
    r.bind(72, {{}, both(m.Splitter2, 2)});

    bindCheck(r, 143, m.CheckBox53);
    bindCheck(r, 168, m.CheckBox55);
    bindCheck(r, 169, m.CheckBox56);
    // The scroll distance a second time: equal to the line spacing it makes
    // the one-step display.
    r.bind(171, {[&m] { return m.Edit9->text(); },
                 [&m, &screen](const QString& v) {
                     const bool same = m.Edit9->text() == v;
                     m.Edit9->setText(v);
                     // An unchanged box runs no change rule of its own.
                     if (same && m.Edit9->text() == m.Edit12->text())
                         screen.Edit9Change();
                 }});
    bindText(r, 172, m.Edit6);
    bindText(r, 173, m.Edit96);
    bindCheck(r, 192, m.CheckBox68);
    // The remote networks: the addresses come before the switch that checks them.
    bindCheck(r, 194, m.CheckBox72);
    bindText(r, 195, m.Edit98);
    bindText(r, 196, m.Edit99);
    bindText(r, 197, m.Edit100);
    bindCheck(r, 193, m.CheckBox71);
    bindCheck(r, 238, m.CheckBox14);
    r.bindColour(
        269, [&m] { return m.coverColor; }, [&m](const QColor& c) { m.coverColor = c; });
    bindCheck(r, 270, m.CheckBox9);
    bindCheck(r, 273, eight.CheckBox1);
    bindCheck(r, 277, m.CheckBox67);
    bindText(r, 278, m.Edit20);
    bindCheck(r, 744, m.CheckBox21);
    bindCheck(r, 800, eight.CheckBox2);
    bindCheck(r, 803, m.CheckBox19);
    bindCheck(r, 804, m.CheckBox35);
    bindCheck(r, 805, m.CheckBox36);
    bindCheck(r, 806, m.CheckBox42);
    bindText(r, 807, m.Edit1);
    bindCheck(r, 808, m.CheckBox47);
    bindCheck(r, 855, m.CheckBox24);
    bindCheck(r, 856, m.CheckBox37);
    bindCheck(r, 858, m.CheckBox41);
    bindCheck(r, 862, m.CheckBox49);
    bindCheck(r, 863, m.CheckBox57);
    bindCheck(r, 869, m.CheckBox60);
    bindInformationSettings(st, r);

    // The input aids and the F-key memo.
    TForm5& memo = *st.fKeyMemo();
    InputAids& aids = st.aids();
    for (int i = 0; i < TForm5::kMemoRows; ++i) {
        bindText(r, 40 + i, memo.texts[std::size_t(i)]);
        bindCheck(r, 49 + i, memo.replaces[std::size_t(i)]);
    }
    bindShown(r, 161, &memo, settings::kShown161, settings::kHidden161);
    bindGeometry(r, &memo, 165, 164, 162, 163);
    bindCheck(r, 58, m.CheckBox13);
    bindCheck(r, 101, m.CheckBox43);
    bindText(r, 102, m.Edit78);
    bindText(r, 103, m.Edit79);
    bindCheck(r, 140, m.CheckBox52);
    // An older name of 140.
    r.bind(139, {{}, [&m](const QString& v) {
                     m.CheckBox52->setChecked(v == settings::positiveToken(formOf(139)));
                 }});
    bindText(r, 141, m.Edit94);
    bindText(r, 142, m.Edit95);
    bindText(r, 216, m.Edit5);
    bindText(r, 217, m.Edit7);
    bindCheck(r, 700, m.CheckBox15);
    bindText(r, 701, m.Edit16);
    bindCheck(r, 870, m.CheckBox61);
    bindCheck(r, 871, m.CheckBox62);
    bindText(r, 872, m.Edit24);
    r.bindColour(
        36, [&aids] { return aids.conversionText(); },
        [&aids](const QColor& c) { aids.setConversionColours(c, aids.conversionBackground()); });
    r.bindColour(
        37, [&aids] { return aids.conversionBackground(); },
        [&aids](const QColor& c) { aids.setConversionColours(aids.conversionText(), c); });

    // Channel and group, appended by the save commands.
    r.bind(801, {{}, [&m, &st](const QString& v) {
                     const int n = number(v);
                     const int index = n == 12 ? 0 : n;
                     // A channel outside the list would move every port off the plan.
                     if (index < 0 || index >= m.ComboBox2->count())
                         return;
                     {
                         const QSignalBlocker quiet(m.ComboBox2);
                         m.ComboBox2->setCurrentIndex(index);
                     }
                     st.channels().ApplyChannel();
                 }});
    r.bind(802, {{}, [&m, &st](const QString& v) {
                     if (v.isEmpty())
                         return;
                     const int n = number(v);
                     if (n <= 0) // no group has such a number
                         return;
                     const int g = n > 26 ? 1 : n;
                     if (g == st.members().groupNumber())
                         return;
                     if (g >= 7) {
                         {
                             const QSignalBlocker quiet(m.ComboBox1);
                             m.ComboBox1->setCurrentIndex(g - 7);
                         }
                         m.groupButtons[6]->setChecked(true);
                     } else {
                         m.groupButtons[std::size_t(g - 1)]->setChecked(true);
                     }
                     st.members().groupChanged();
                 }});

    bindChatSettings(st, r);
    bindPrerollSettings(st, r);
    bindPaletteSettings(st, r);
    bindSubInputSettings(st, r);
    bindKaraokeSettings(st, r);
    bindReadingSettings(st, r);
}

} // namespace quorel

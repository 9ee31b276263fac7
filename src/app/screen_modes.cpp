#include "app/screen_modes.h"

#include "app/main_console.h"
#include "app/picture_window.h"
#include "base/int_text.h"
#include "base/services.h"
#include "caption/input_edit.h"
#include "caption/screen_part.h"
#include "caption/smooth_picture.h"

#include <QApplication>
#include <QCheckBox>
#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTextEdit>

namespace quorel {

ScreenModes::ScreenModes(TMainConsole& main, ScreenPart& screen, TForm9& cover, StationState& state,
                         Messages& messages, Choosers& choosers, QObject* parent)
    : QObject(parent), m_(main), edit77_(main.Edit77), screen_(screen), cover_(cover),
      state_(state), messages_(messages), choosers_(choosers) {
    auto on = [this](auto* sender, auto signal, auto fn) {
        connect(sender, signal, this, [this, fn] { reportErrors(messages_, [&] { fn(); }); });
    };
    on(m_.Button17, &QPushButton::clicked, [this] { setPersons(2); });
    on(m_.Button15, &QPushButton::clicked, [this] { setPersons(1); });
    on(m_.Button16, &QPushButton::clicked, [this] { setPersons(0); });
    on(m_.Button1, &QPushButton::clicked, [this] { Button1Click(); });
    on(m_.Button2, &QPushButton::clicked, [this] { Button2Click(); });
    on(m_.Button3, &QPushButton::clicked, [this] { Button3Click(); });
    on(m_.Button4, &QPushButton::clicked, [this] { Button4Click(); });
    on(m_.Button8, &QPushButton::clicked, [this] { Button8Click(); });
    on(m_.CheckBox9, &QCheckBox::toggled, [this] { CheckBox9Click(); });
    on(m_.CheckBox68, &QCheckBox::toggled, [this] {
        if (!m_.CheckBox68->isChecked()) {
            cursorStep_ = 0;
            setCursor(Qt::ArrowCursor);
        }
    });
    on(m_.Image1, &SmoothPicture::clicked, [this] { pictureClicked(); });
    on(m_.Image2, &SmoothPicture::clicked, [this] { pictureClicked(); });
    on(&m_, &TMainConsole::resized, [this] { windowResized(); });
    m_.Edit77->installEventFilter(this);
}

int ScreenModes::personsMode() const {
    return m_.personsMode;
}
bool ScreenModes::frameless() const {
    return screen_.frameless();
}

void ScreenModes::showScreenPage() {
    m_.PageControl1->setCurrentWidget(m_.TabSheet1);
}

void ScreenModes::focusTyping() {
    if (m_.personsMode == 0)
        m_.Edit77->setFocus();
    else
        m_.RichEdit1->setFocus();
}

void ScreenModes::setCursor(Qt::CursorShape shape) {
    m_.Panel6->setCursor(shape);
    m_.Image1->setCursor(shape);
    m_.Image2->setCursor(shape);
    m_.setCursor(shape);
}

void ScreenModes::setPersons(int mode) {
    applyPersons(mode);
    if (mode != 0) {
        screen_.autoLineAdjust();
        m_.layoutBottom(screen_.wordProcessorMode());
    }
    showScreenPage();
    if (mode == 0)
        showIfEnabled(messages_, m_.CheckBox19, kDisplayOnly);
}

void ScreenModes::applyPersons(int persons) {
    const int mode = persons == 0 || persons == 1 ? persons : 2;
    m_.personsMode = mode;
    if (mode == 0) {
        setCursor(Qt::BlankCursor);
        m_.layoutBottom(screen_.wordProcessorMode());
        m_.Edit77->show();
        m_.Edit77->setFocus();
        m_.RichEdit2->setFocusPolicy(Qt::ClickFocus);
        return;
    }
    m_.Edit77->hide();
    m_.layoutBottom(screen_.wordProcessorMode());
    m_.RichEdit2->resize(m_.Panel6->size());
    setCursor(Qt::ArrowCursor);
}

bool ScreenModes::eventFilter(QObject* watched, QEvent* event) {
    if (watched != edit77_ || event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    bool handled = true;
    reportErrors(messages_, [&] {
        switch (key->key()) {
        case Qt::Key_F1:
            if (m_.PageControl1->isVisible() && m_.CheckBox19->isChecked() &&
                !screen_.wordProcessorMode())
                messages_.show(kFrameless);
            toggleFrameless();
            break;
        case Qt::Key_F2:
            redraw();
            break;
        case Qt::Key_F3:
            fit();
            break;
        default:
            handled = false;
        }
    });
    return handled;
}

void ScreenModes::toggleFrameless() {
    if (screen_.wordProcessorMode()) {
        showIfEnabled(messages_, m_.CheckBox19, kNotInWordProcessor);
        return;
    }
    suppressResize_ = 2;
    const QRect frame = m_.geometry();
    if (!screen_.frameless()) {
        m_.PageControl1->hide();
        m_.Image1->hide();
        m_.Image2->setGeometry(m_.rect());
        m_.Image2->show();
        m_.Image2->raise();
        screen_.setFrameless(true);
        m_.CheckBox50->setChecked(false);
        autoAdjustBeforeFrameless_ = m_.CheckBox67->isChecked();
        m_.setWindowFlag(Qt::FramelessWindowHint, true);
        m_.setGeometry(frame);
        m_.show();
        m_.CheckBox67->setChecked(false);
        screen_.redrawBoth();
    } else {
        m_.PageControl1->show();
        m_.Image1->show();
        m_.Image2->hide();
        screen_.setFrameless(false);
        m_.setWindowFlag(Qt::FramelessWindowHint, false);
        m_.setGeometry(frame);
        m_.show();
        m_.RichEdit2->setGeometry(0, m_.Panel6->height() + 20, m_.Panel6->width(),
                                  m_.Panel6->height());
        m_.CheckBox67->setChecked(autoAdjustBeforeFrameless_);
        screen_.staticRedraw(m_.Image1);
    }
    m_.Edit77->setFocus();
}

void ScreenModes::redraw() {
    // "RE" without moving the focus. "RE" draws only the framed picture; the
    // borderless display shows the other one, so both are drawn.
    QWidget* focus = QApplication::focusWidget();
    m_.Button13->click();
    screen_.redrawBoth();
    if (focus != nullptr)
        focus->setFocus();
}

void ScreenModes::fit() {
    if (!m_.CheckBox67->isChecked() && !(screen_.frameless() && autoAdjustBeforeFrameless_)) {
        showIfEnabled(messages_, m_.CheckBox19, kNoAutoAdjust);
        return;
    }
    fitToFont();
}

void ScreenModes::fitToFont() {
    const int h = m_.height();
    // A font of size 0 (from a file) must not divide by zero.
    const int s = std::max(1, m_.RichEdit2->font().pointSize());
    int n = h / (2 * s);
    int spacing = h / (n + 1);
    const int distance = std::max(1, screen_.state().distance);
    const int steps = std::max(1, spacing / distance);
    spacing = steps * distance;
    if (screen_.frameless())
        ++n;
    m_.Edit8->setText(QString::number(n));
    m_.Edit12->setText(QString::number(spacing));
    m_.Edit10->setText(QString::number(steps));
    screen_.resetToEnd();
    screen_.redrawBoth();
}

void ScreenModes::windowResized() {
    if (m_.PageControl1->currentWidget() != m_.TabSheet1 && m_.PageControl1->isVisible())
        showScreenPage();
    m_.Image2->setGeometry(m_.rect());
    if (suppressResize_ > 0) {
        --suppressResize_;
        return;
    }
    m_.layoutBottom(screen_.wordProcessorMode());
    if (state_.settingsReady) {
        screen_.autoLineAdjust();
        screen_.redrawBoth();
        if (m_.PageControl1->currentWidget() == m_.TabSheet1)
            focusTyping();
    }
    screen_.resetToEnd();
}

void ScreenModes::Button1Click() {
    const auto choice =
        choosers_.font(m_.RichEdit2->font(), m_.RichEdit2->palette().color(QPalette::Text));
    if (!choice)
        return;
    screen_.setDisplayFont(choice->font, choice->color);
    showScreenPage();
    focusTyping();
    screen_.autoLineAdjust();
}

void ScreenModes::Button2Click() {
    const auto color = choosers_.color(m_.RichEdit2->palette().color(QPalette::Base));
    if (!color)
        return;
    screen_.setDisplayBackground(*color);
    showScreenPage();
    focusTyping();
    screen_.staticRedraw(m_.Image1);
}

void ScreenModes::Button3Click() {
    const auto choice =
        choosers_.font(m_.RichEdit1->font(), m_.RichEdit1->palette().color(QPalette::Text));
    if (!choice)
        return;
    // The sub input window's panes take it too once they exist.
    for (QTextEdit* e : {static_cast<QTextEdit*>(m_.RichEdit1), m_.RichEdit27}) {
        e->setFont(choice->font);
        QPalette pal = e->palette();
        pal.setColor(QPalette::Text, choice->color);
        e->setPalette(pal);
    }
    m_.layoutBottom(screen_.wordProcessorMode());
    showScreenPage();
    screen_.autoLineAdjust();
}

void ScreenModes::Button4Click() {
    const auto color = choosers_.color(m_.inputBackground);
    if (!color)
        return;
    m_.inputBackground = *color;
    for (QTextEdit* e : {static_cast<QTextEdit*>(m_.RichEdit1), m_.RichEdit27}) {
        QPalette pal = e->palette();
        pal.setColor(QPalette::Base, *color);
        e->setPalette(pal);
    }
}

void ScreenModes::CheckBox9Click() {
    if (!m_.CheckBox9->isChecked()) {
        cover_.hide();
        return;
    }
    cover_.setWindowFlag(Qt::FramelessWindowHint, true);
    const QRect screen = QGuiApplication::primaryScreen()
                             ? QGuiApplication::primaryScreen()->geometry()
                             : QRect(0, 0, 1024, 768);
    cover_.setGeometry(QRect(QPoint(0, 0), screen.size()));
    cover_.Image1->setColor(m_.coverColor);
    cover_.show();
    m_.show();
    m_.raise();
    m_.activateWindow();
}

void ScreenModes::Button8Click() {
    m_.CheckBox9->setChecked(false);
    if (const auto color = choosers_.color(m_.coverColor))
        m_.coverColor = *color;
}

void ScreenModes::pictureClicked() {
    if (!m_.CheckBox68->isChecked())
        return;
    static const Qt::CursorShape cycle[] = {Qt::ArrowCursor, Qt::PointingHandCursor,
                                            Qt::BlankCursor};
    cursorStep_ = (cursorStep_ + 1) % 3;
    setCursor(cycle[cursorStep_]);
}

} // namespace quorel

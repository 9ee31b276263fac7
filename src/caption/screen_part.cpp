#include "caption/screen_part.h"

#include "base/int_text.h"
#include "base/services.h"
#include "caption/smooth_picture.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>

namespace quorel {

Q_LOGGING_CATEGORY(lcCaption, "quorel.caption", QtWarningMsg)

namespace {

void setBox(QLineEdit* e, int v) {
    const QString t = QString::number(v);
    if (e->text() != t)
        e->setText(t);
}

const QString kMarkerHint = QStringLiteral("＜空行のみ改行のための行追加しました＞");

} // namespace

ScreenPart::ScreenPart(const Controls& c, DisplayRecord& record, StationState& state,
                       Clipboard& clipboard, Messages& messages, QObject* parent)
    : QObject(parent), c_(c), record_(record), station_(state), clipboard_(clipboard),
      messages_(messages) {
    // The state starts from the boxes as the window built them.
    auto boxOr = [](QLineEdit* e, int def) { return intOfBox(e->text()).value_or(def); };
    s_.displayLines = s_.userDisplayLines = boxOr(c_.Edit8, 6);
    s_.lineSpacing = boxOr(c_.Edit12, 60);
    s_.distance = s_.baseDistance = std::max(1, boxOr(c_.Edit9, 2));
    s_.stepsPerLine = std::max(1, s_.lineSpacing / s_.distance);
    s_.interval = boxOr(c_.Edit11, 30);
    s_.accelThreshold = boxOr(c_.Edit43, 5);
    s_.accelFactor = boxOr(c_.Edit44, 2);
    s_.shownIndex = s_.targetCount = record_.lineCount();
    latch();
    tabCaption_ = c_.PageControl1->tabText(c_.PageControl1->indexOf(c_.TabSheet1));

    const QFont font = c_.RichEdit2->font();
    const QColor text = c_.RichEdit2->palette().color(QPalette::Text);
    const QColor base = c_.RichEdit2->palette().color(QPalette::Base);
    for (SmoothPicture* p : {c_.Image1, c_.Image2}) {
        p->renderer().setFont(font);
        p->renderer().setTextColor(text);
        p->renderer().setBackground(base);
    }

    c_.Timer1->setTimerType(Qt::PreciseTimer);
    c_.Timer1->setInterval(s_.interval);
    auto on = [this](auto* sender, auto signal, void (ScreenPart::*handler)()) {
        connect(sender, signal, this,
                [this, handler] { reportErrors(messages_, [&] { (this->*handler)(); }); });
    };
    on(c_.Timer1, &QTimer::timeout, &ScreenPart::Timer1Timer);
    on(c_.Edit8, &QLineEdit::textChanged, &ScreenPart::Edit8Change);
    on(c_.Edit9, &QLineEdit::textChanged, &ScreenPart::Edit9Change);
    on(c_.Edit11, &QLineEdit::textChanged, &ScreenPart::Edit11Change);
    on(c_.Edit12, &QLineEdit::textChanged, &ScreenPart::Edit12Change);
    on(c_.Edit43, &QLineEdit::textChanged, &ScreenPart::Edit43Change);
    on(c_.Edit44, &QLineEdit::textChanged, &ScreenPart::Edit44Change);
    on(c_.CheckBox8, &QCheckBox::toggled, &ScreenPart::CheckBox8Click);
    on(c_.CheckBox50, &QCheckBox::toggled, &ScreenPart::CheckBox50Click);
    on(c_.CheckBox67, &QCheckBox::toggled, &ScreenPart::CheckBox67Click);
    on(c_.CheckBox37, &QCheckBox::toggled, &ScreenPart::CheckBox37Click);
    on(c_.Button9, &QPushButton::clicked, &ScreenPart::Button9Click);
    on(c_.Button12, &QPushButton::clicked, &ScreenPart::Button12Click);
    on(c_.Button13, &QPushButton::clicked, &ScreenPart::Button13Click);
    connect(c_.RichEdit2->document(), &QTextDocument::contentsChange, this,
            [this](int pos, int removed, int added) {
                reportErrors(messages_, [&] { editorChanged(pos, removed, added); });
            });

    record_.setListener([this](const DisplayRecord::Change& ch) { recordChanged(ch); });
}

DisplayRecord::AppendOptions ScreenPart::appendOptions() const {
    return {c_.CheckBox8->isChecked(), c_.CheckBox50->isChecked()};
}

void ScreenPart::appendSentence(const QString& s, bool own) {
    qCDebug(lcCaption) << (own ? "own sentence" : "received sentence") << s;
    lastAppendWasOwn_ = own;
    if (const int columns = columnSplit ? columnSplit() : 0; columns > 0)
        record_.appendColumnSplit(s, columns, appendOptions());
    else
        record_.append(s, appendOptions());
    if (!own && c_.CheckBox24->isChecked())
        clipboard_.setText(s + QStringLiteral("\r\n"));
}

void ScreenPart::appendColumnSplit(const QString& s, int columns) {
    record_.appendColumnSplit(s, columns, appendOptions());
}

// ---- record-change hook ----------------------------------------------------

void ScreenPart::recordChanged(const DisplayRecord::Change& ch) {
    qCDebug(lcCaption) << "record change: first" << ch.first << "removed" << ch.removed << "added"
                       << ch.added << "bytes" << ch.byteDelta << "lines" << record_.lineCount();
    if (c_.CheckBox37->isChecked()) {
        c_.PageControl1->setTabText(c_.PageControl1->indexOf(c_.TabSheet1),
                                    QString::number(record_.textLength()) + QStringLiteral("Byte"));
    }
    if (wordProcessor_ && !fromEditor_)
        applyToEditor(ch);
    if (wordProcessor_) {
        s_.shownIndex = record_.lineCount();
    } else {
        if (c_.CheckBox5->isChecked()) {
            if (!s_.accelerating && s_.targetCount - s_.shownIndex > s_.accelThreshold) {
                s_.accelerating = true;
                setBox(c_.Edit9, s_.baseDistance * s_.accelFactor);
            } else if (s_.accelerating && s_.shownIndex >= s_.targetCount) {
                s_.accelerating = false;
                setBox(c_.Edit9, s_.baseDistance);
            }
        }
        if (!c_.Timer1->isActive()) {
            if (c_.CheckBox8->isChecked()) {
                staticRedraw(c_.Image1);
                if (frameless_)
                    staticRedraw(c_.Image2);
            }
            c_.Timer1->start(s_.interval);
        }
    }
    s_.targetCount = record_.lineCount();
}

// ---- drawing -----------------------------------------------------------------

void ScreenPart::latch() {
    s_.latchedSteps = s_.stepsPerLine;
    s_.latchedSpacing = s_.lineSpacing;
    s_.latchedDistance = s_.distance;
}

SmoothPicture* ScreenPart::activePicture() const {
    return frameless_ ? c_.Image2 : c_.Image1;
}

void ScreenPart::draw(SmoothPicture* picture) {
    picture->render(record_, s_.shownIndex, s_.displayLines, s_.latchedSpacing,
                    s_.step * s_.latchedDistance);
}

void ScreenPart::Timer1Timer() {
    if (s_.step == 0)
        latch();
    draw(activePicture());
    if (s_.shownIndex < s_.targetCount) {
        if (c_.Timer1->interval() != s_.interval)
            c_.Timer1->setInterval(s_.interval);
        if (s_.step < s_.latchedSteps) {
            ++s_.step;
            return;
        }
        ++s_.shownIndex;
        s_.step = 0;
    } else {
        c_.Timer1->stop();
        s_.step = 0;
    }
}

void ScreenPart::staticRedraw(SmoothPicture* picture) {
    c_.Timer1->stop();
    s_.step = 0;
    latch();
    draw(picture);
}

void ScreenPart::redrawBoth() {
    staticRedraw(c_.Image1);
    staticRedraw(c_.Image2);
}

void ScreenPart::startTimerIfIdle() {
    if (!c_.Timer1->isActive()) {
        s_.interval = intOfBox(c_.Edit11->text()).value_or(s_.interval);
        c_.Timer1->start(s_.interval);
    }
}

void ScreenPart::setDisplayFont(const QFont& font, const QColor& color) {
    c_.RichEdit2->setFont(font);
    QPalette pal = c_.RichEdit2->palette();
    pal.setColor(QPalette::Text, color);
    c_.RichEdit2->setPalette(pal);
    for (SmoothPicture* p : {c_.Image1, c_.Image2}) {
        p->renderer().setFont(font);
        p->renderer().setTextColor(color);
    }
}

void ScreenPart::setDisplayBackground(const QColor& color) {
    QPalette pal = c_.RichEdit2->palette();
    pal.setColor(QPalette::Base, color);
    c_.RichEdit2->setPalette(pal);
    for (SmoothPicture* p : {c_.Image1, c_.Image2})
        p->renderer().setBackground(color);
}

void ScreenPart::blankScreen(int shownIndex) {
    s_.shownIndex = shownIndex;
    s_.targetCount = record_.lineCount();
    redrawBoth();
}

void ScreenPart::showEnd() {
    resetToEnd();
    staticRedraw(c_.Image1);
    if (frameless_)
        staticRedraw(c_.Image2);
}

void ScreenPart::resetToEnd() {
    s_.targetCount = s_.shownIndex = record_.lineCount();
    s_.step = 0;
}

// ---- parameter boxes ----------------------------------------------------------

void ScreenPart::Edit8Change() {
    if (auto v = intOfBox(c_.Edit8->text()))
        s_.displayLines = s_.userDisplayLines = std::max(0, *v);
}

void ScreenPart::Edit12Change() {
    auto v = intOfBox(c_.Edit12->text());
    if (!v)
        return;
    s_.lineSpacing = *v;
    s_.stepsPerLine = std::max(1, s_.lineSpacing / std::max(1, s_.distance));
    setBox(c_.Edit10, s_.stepsPerLine);
}

void ScreenPart::Edit11Change() {
    if (auto v = intOfBox(c_.Edit11->text()))
        s_.interval = std::max(1, *v);
}

void ScreenPart::Edit43Change() {
    if (auto v = intOfBox(c_.Edit43->text()))
        s_.accelThreshold = *v;
}

void ScreenPart::Edit44Change() {
    if (auto v = intOfBox(c_.Edit44->text()))
        s_.accelFactor = *v;
}

bool ScreenPart::autoAdjustApplies() const {
    return c_.CheckBox67->isChecked() && station_.settingsReady;
}

void ScreenPart::Edit9Change() {
    auto v = intOfBox(c_.Edit9->text());
    if (!v)
        return;
    if (*v <= 0) {
        c_.Edit9->setText(QStringLiteral("1")); // runs this rule again with 1
        return;
    }
    const int spacingBox = intOfBox(c_.Edit12->text()).value_or(s_.lineSpacing);
    if (*v >= spacingBox) {
        s_.distance = s_.lineSpacing;
        s_.stepsPerLine = 1;
        setBox(c_.Edit10, 1);
        setBox(c_.Edit9, s_.distance);
    } else if (s_.step == 0) {
        // Between two lines the new distance takes effect at once; while a line
        // is moving it would tear the line, so the distance in use stays.
        if (autoAdjustApplies())
            autoLineAdjust();
        s_.distance = *v;
        s_.lineSpacing = intOfBox(c_.Edit12->text()).value_or(s_.lineSpacing);
        s_.stepsPerLine = s_.lineSpacing / s_.distance;
        if (s_.stepsPerLine <= 0) {
            s_.stepsPerLine = 1;
            setBox(c_.Edit10, 1);
            s_.lineSpacing = s_.distance;
            setBox(c_.Edit12, s_.distance);
        } else {
            setBox(c_.Edit10, s_.stepsPerLine);
        }
    }
    if (!s_.accelerating)
        s_.baseDistance = s_.distance;
}

void ScreenPart::autoLineAdjust() {
    if (!autoAdjustApplies())
        return;
    c_.RichEdit2->resize(c_.Panel6->size());
    const int h = c_.RichEdit2->font().pointSize() * 96 / 72;
    if (h <= 0)
        return;
    setBox(c_.Edit8, c_.Panel6->height() / h);
    s_.displayLines = s_.userDisplayLines = c_.Panel6->height() / h;
    s_.lineSpacing = h;
    setBox(c_.Edit12, h);
    s_.stepsPerLine = std::max(1, s_.lineSpacing / std::max(1, s_.distance));
    setBox(c_.Edit10, s_.stepsPerLine);
    staticRedraw(c_.Image1);
}

void ScreenPart::Button9Click() {
    c_.CheckBox67->setChecked(false);
    // A zero line count would divide by zero; one line is the least there is.
    const int n = std::max(1, s_.displayLines);
    s_.lineSpacing = std::max(1, c_.Panel6->height() / n);
    setBox(c_.Edit12, s_.lineSpacing);
    if (s_.distance >= s_.lineSpacing) {
        s_.distance = s_.lineSpacing;
        setBox(c_.Edit9, s_.distance);
    }
    s_.stepsPerLine = std::max(1, s_.lineSpacing / s_.distance);
    setBox(c_.Edit10, s_.stepsPerLine);
    if (c_.CheckBox67->isChecked()) {
        s_.lineSpacing = s_.distance * s_.stepsPerLine;
        setBox(c_.Edit12, s_.lineSpacing);
    }
    Button13Click();
}

// ---- option boxes -------------------------------------------------------------

void ScreenPart::CheckBox8Click() {
    if (!c_.CheckBox8->isChecked())
        return;
    // Joined lines need a screen full of lines above them to scroll into.
    if (record_.lineCount() < 20) {
        record_.addLine(kMarkerHint);
        for (int i = 0; i < 20; ++i)
            record_.addLine(QString());
    }
    resetToEnd();
    redrawBoth();
}

void ScreenPart::CheckBox50Click() {
    // A marker inside a split or ruby-carrying line would be cut or read as
    // part of a word, so markers wait until both are off.
    if (!c_.CheckBox50->isChecked() || !markersRefused || !markersRefused())
        return;
    {
        const QSignalBlocker quiet(c_.CheckBox50);
        c_.CheckBox50->setChecked(false);
    }
    showIfEnabled(messages_, c_.CheckBox19, kMarkersRefused);
}

void ScreenPart::CheckBox67Click() {
    if (c_.CheckBox67->isChecked())
        autoLineAdjust();
}

void ScreenPart::CheckBox37Click() {
    const int idx = c_.PageControl1->indexOf(c_.TabSheet1);
    if (c_.CheckBox37->isChecked())
        c_.PageControl1->setTabText(idx,
                                    QString::number(record_.textLength()) + QStringLiteral("Byte"));
    else
        c_.PageControl1->setTabText(idx, tabCaption_);
}

// ---- screen switching -----------------------------------------------------------

bool ScreenPart::correctionMode() const {
    return c_.CheckBox85->isChecked();
}

void ScreenPart::setInputWarning(bool on) {
    QPalette pal = c_.RichEdit1->palette();
    pal.setColor(QPalette::Base, on ? QColor(255, 0, 0) : *c_.inputBackground);
    c_.RichEdit1->setPalette(pal);
    c_.RichEdit1->setFocusPolicy(on ? Qt::ClickFocus : Qt::StrongFocus);
}

void ScreenPart::Button12Click() {
    const QString caption = c_.Button12->text();
    if (caption == QStringLiteral("ワ")) {
        wordProcessor_ = true;
        c_.Timer1->stop();
        loadEditor();
        c_.RichEdit2->setGeometry(0, 0, c_.Panel6->width(), c_.Panel6->height());
        c_.RichEdit2->show();
        c_.RichEdit2->raise();
        c_.RichEdit2->setFocusPolicy(Qt::StrongFocus);
        c_.Button14->show();
        c_.Button12->setText(QStringLiteral("止"));
        emit layoutChanged();
        c_.RichEdit1->setFocus();
    } else if (caption == QStringLiteral("止")) {
        c_.Button12->setText(QStringLiteral("動"));
        c_.CheckBox85->setChecked(true);
        setInputWarning(true);
        c_.RichEdit2->setFocus();
    } else {
        c_.Button12->setText(QStringLiteral("止"));
        c_.CheckBox85->setChecked(false);
        setInputWarning(false);
        c_.RichEdit1->setFocus();
    }
}

void ScreenPart::endCorrectionModeByEnter() {
    if (!correctionMode())
        return;
    c_.CheckBox85->setChecked(false);
    c_.Button12->setText(QStringLiteral("止"));
    setInputWarning(false);
}

void ScreenPart::leaveWordProcessor() {
    wordProcessor_ = false;
    c_.Button12->setText(QStringLiteral("ワ"));
    c_.CheckBox85->setChecked(false);
    setInputWarning(false);
    if (s_.accelerating) {
        s_.accelerating = false;
        setBox(c_.Edit9, s_.baseDistance);
    }
    c_.RichEdit2->hide();
    c_.RichEdit2->setGeometry(0, c_.Panel6->height() + 20, c_.Panel6->width(), c_.Panel6->height());
    resetToEnd();
    staticRedraw(c_.Image1);
    c_.RichEdit2->setFocusPolicy(Qt::ClickFocus);
    c_.Button14->hide();
    emit layoutChanged();
}

void ScreenPart::Button13Click() {
    leaveWordProcessor();
    c_.RichEdit1->setFocus();
}

void ScreenPart::setImmediateDistance(int distance) {
    distance = std::max(1, distance);
    s_.distance = s_.baseDistance = distance;
    s_.lineSpacing = std::max(1, intOfBox(c_.Edit12->text()).value_or(s_.lineSpacing));
    s_.stepsPerLine = std::max(1, s_.lineSpacing / distance);
    latch();
    setBox(c_.Edit10, s_.stepsPerLine);
    setBox(c_.Edit9, distance);
}

int ScreenPart::screenKind() const {
    if (!wordProcessor_)
        return 0;
    return c_.Button14->isHidden() ? 2 : 1;
}

void ScreenPart::setScreenKind(int kind) {
    if (kind == 0) {
        if (wordProcessor_)
            leaveWordProcessor();
        return;
    }
    if (!wordProcessor_)
        Button12Click(); // "ワ": onto the word-processor screen
    c_.Button14->setVisible(kind == 1);
}

void ScreenPart::Panel6Resize() {
    if (!wordProcessor_)
        c_.RichEdit2->setGeometry(0, c_.Panel6->height() + 20, c_.Panel6->width(),
                                  c_.Panel6->height());
    else
        c_.RichEdit2->setGeometry(0, 0, c_.Panel6->width(), c_.Panel6->height());
    c_.Image1->setGeometry(0, 0, c_.Panel6->width(), c_.Panel6->height());
    if (station_.settingsReady) {
        autoLineAdjust();
        redrawBoth();
    } else {
        // Keep the picture whole while the station starts up.
        draw(c_.Image1);
    }
    resetToEnd();
}

// ---- word-processor screen -------------------------------------------------------

void ScreenPart::loadEditor() {
    editorUpdating_ = true;
    QString text = record_.textForm();
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    c_.RichEdit2->setPlainText(text);
    editorUpdating_ = false;
}

void ScreenPart::applyToEditor(const DisplayRecord::Change& ch) {
    QTextDocument* doc = c_.RichEdit2->document();
    editorUpdating_ = true;
    QTextCursor cur(doc);
    const QTextBlock firstBlock = doc->findBlockByNumber(ch.first);
    if (!firstBlock.isValid()) {
        editorUpdating_ = false;
        loadEditor();
        return;
    }
    cur.setPosition(firstBlock.position());
    const QTextBlock after = doc->findBlockByNumber(ch.first + ch.removed);
    if (after.isValid())
        cur.setPosition(after.position(), QTextCursor::KeepAnchor);
    else
        cur.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
    QString text;
    for (int i = ch.first; i < ch.first + ch.added; ++i) {
        text += record_.line(i);
        if (i + 1 < record_.lineCount() || record_.lastLineTerminated())
            text += QLatin1Char('\n');
    }
    cur.insertText(text);
    editorUpdating_ = false;
}

void ScreenPart::editorChanged(int pos, int removed, int added) {
    Q_UNUSED(removed);
    if (editorUpdating_ || !wordProcessor_)
        return;
    QTextDocument* doc = c_.RichEdit2->document();
    const int blocks = doc->blockCount();
    const bool terminated = doc->lastBlock().text().isEmpty();
    const int newLines = terminated ? blocks - 1 : blocks;
    const int oldLines = record_.lineCount();
    const int oldBlocks = record_.lastLineTerminated() ? oldLines + 1 : oldLines;
    const int first = doc->findBlock(pos).blockNumber();
    QTextBlock lastNewBlock = doc->findBlock(pos + added);
    const int lastNew = lastNewBlock.isValid() ? lastNewBlock.blockNumber() : blocks - 1;
    const int lastOld = lastNew - (blocks - oldBlocks);
    const int from = std::min(std::max(first, 0), oldLines);
    const int count = std::max(0, std::min(lastOld, oldLines - 1) - from + 1);
    QStringList lines;
    for (int b = from; b <= std::min(lastNew, newLines - 1); ++b)
        lines << doc->findBlockByNumber(b).text();
    fromEditor_ = true;
    record_.replaceLines(from, count, lines, terminated);
    fromEditor_ = false;
}

} // namespace quorel

#include "windows/prepared/preroll.h"

#include "base/services.h"
#include "settings/settings_file.h"
#include "text/cp932.h"
#include "windows/prepared/preroll_window.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTextBlock>
#include <QTextEdit>

namespace quorel {

Q_LOGGING_CATEGORY(lcPreroll, "quorel.preroll", QtWarningMsg)

const QString Preroll::kSizeTail = QStringLiteral(
    "Ｋバイトです。\n"
    "\n"
    "正常なパソコンなら１０００Ｋバイト以上の前ロールを読み込んでも問題ありません。\n"
    "もし、自分のパソコンに自信が持てない時は、念のため２０Ｋバイトくらいにしてください。 \n"
    "\n"
    "前ロールで編集追加できる文章量は最大６４０Ｋバイト（９５，９８，Ｍｅ）、１．２８Ｍバイト（２０"
    "００，ＸＰ）です。 \n"
    "読み込む場合は、メモリーの容量が許せば、最大値を超えた大きさの文章を読み込むことができます。\n"
    "最大値を超えた文章を読み込んだ場合は、手入力でも編集追加できるようになります。\n"
    "\n"
    "パソコンを長時間使用したり、他のソフトを使ったりすると、リソースやメモリーが不足して\n"
    "文字化けしたり、前ロールの一部が欠落するなど、動作がおかしくなる場合があります。\n"
    "あなたのパソコンで問題が無いか、事前に、本番と同じ操作・時間でチェックする事をお勧めします。\n"
    "もし不具合が出た場合は、Ｑｕｏｒｅｌ以外のソフトを使わない、Ｗｉｎｄｏｓを定期的に再起動するな"
    "どしてください。\n"
    "「めもりーくりーなー」などの「メモリー確保ソフト」を使用することもお勧めします。");
const QString Preroll::kCommaNote =
    QStringLiteral("テロップ文の後に、半角のカンマで区切った設定を送信します。\n"
                   "テロップ文に半角のカンマは使えません。\n"
                   "テロップ文に半角のカンマを入れたい時は、チェックを外してください。\n"
                   "\n"
                   "設定付きテロップ前ロールは、「お知らせ」ウィンドの「送信」ページの\n"
                   "「 テンプレート前ロールに設定付きテロップ文を追記する」で作ります。");

Preroll::Preroll(TForm11& window, const Controls& c, const StationState& state, Messages& messages,
                 Choosers& choosers, QObject* parent)
    : QObject(parent), w_(window), c_(c), state_(state), messages_(messages), choosers_(choosers) {
    auto guarded = [this](auto&& f) { return [this, f] { reportErrors(messages_, f); }; };
    for (int k = 0; k < 3; ++k) {
        PrerollPane* p = w_.panes[std::size_t(k)];
        connect(p, &PrerollPane::functionKey, this, [this, k](int key, bool shift) {
            reportErrors(messages_, [&] {
                switch (key) {
                case Qt::Key_F1:
                    F1(k);
                    break;
                case Qt::Key_F9:
                    F9(k, shift);
                    break;
                case Qt::Key_F11:
                    F11(shift);
                    break;
                case Qt::Key_F12:
                    F12(k);
                    break;
                default:
                    break;
                }
            });
        });
    }
    const std::array<QPushButton*, 3> imports{w_.Button36, w_.Button48, w_.Button49};
    const std::array<QPushButton*, 3> saves{w_.Button1, w_.Button4, w_.Button5};
    const std::array<QPushButton*, 3> clears{w_.Button6, w_.Button7, w_.Button8};
    for (int k = 0; k < 3; ++k) {
        const auto i = std::size_t(k);
        connect(imports[i], &QPushButton::clicked, this, guarded([this, k] { importInto(k); }));
        connect(saves[i], &QPushButton::clicked, this, guarded([this, k] { saveFrom(k); }));
        connect(clears[i], &QPushButton::clicked, this, guarded([this, k] { clear(k); }));
    }
    connect(w_.Button9, &QPushButton::clicked, this, guarded([this] { Button9Click(); }));
    connect(w_.Button2, &QPushButton::clicked, this, guarded([this] { Button2Click(); }));
    connect(w_.Button3, &QPushButton::clicked, this, guarded([this] { Button3Click(); }));
    connect(w_.Edit1, &QLineEdit::textChanged, this, guarded([this] { Edit1Change(); }));
    connect(w_.Edit3, &QLineEdit::textChanged, this, guarded([this] { Edit3Change(); }));
    connect(w_.CheckBox22, &QCheckBox::toggled, this, guarded([this] { CheckBox22Click(); }));
    connect(w_.CheckBox23, &QCheckBox::toggled, this, guarded([this] { CheckBox23Click(); }));

    // After any option or button of the window the pane has the keyboard
    // again, so the operator goes on with F1 at once.
    for (QAbstractButton* b : w_.findChildren<QAbstractButton*>())
        connect(b, &QAbstractButton::clicked, this, [this] { focusRule(); });
    connect(&w_, &TForm11::shownOrActivated, this, [this] { focusRule(); });
}

PrerollPane& Preroll::pane(int k) const {
    return *w_.panes[std::size_t(k)];
}

bool Preroll::toTelop(int k) const {
    const std::array<QCheckBox*, 3> boxes{w_.CheckBox6, w_.CheckBox7, w_.CheckBox8};
    return boxes[std::size_t(k)]->isChecked();
}

void Preroll::warn(const QString& text) {
    showIfEnabled(messages_, c_.CheckBox19, text);
}

void Preroll::showWindow() {
    w_.show();
    w_.raise();
    w_.activateWindow();
    focusRule();
}

void Preroll::focusRule() {
    if (!w_.isVisible())
        return;
    const int shown = w_.shownPanes();
    pane(shown == 2 ? 1 : shown == 3 ? 2 : 0).setFocus();
}

int Preroll::fileBytes(const PrerollPane& p) {
    int n = 0;
    for (QTextBlock b = p.document()->begin(); b.isValid(); b = b.next())
        n += text::byteLength(b.text()) + 2;
    return n;
}

// ---- sending -------------------------------------------------------------------

void Preroll::caretToLine(PrerollPane& p, int line) {
    QTextCursor cur = p.textCursor();
    const QTextBlock b = p.document()->findBlockByNumber(line);
    if (b.isValid())
        cur.setPosition(b.position());
    else
        cur.movePosition(QTextCursor::End);
    p.setTextCursor(cur);
}

void Preroll::scrollOneLine(PrerollPane& p) {
    QScrollBar* bar = p.verticalScrollBar();
    bar->setValue(bar->value() + 1);
}

void Preroll::advance(PrerollPane& p) {
    // The caret stands at the start of its line.
    bool ok = false;
    const int n = std::max(0, w_.Edit1->text().trimmed().toInt(&ok));
    QTextCursor cur = p.textCursor();
    const QTextBlock b = cur.block();
    const QString line = b.text();
    const int r = text::byteLength(line);
    int index = line.size();
    if (ok && r >= 2 * n) {
        // N bytes on; inside a double-byte character the caret goes past it,
        // so that a full-width line advances too.
        index = text::indexOfByteOffset(line, n);
        if (index < line.size() && text::byteOffsetOfIndex(line, index) < n)
            index += line.at(index).isHighSurrogate() ? 2 : 1;
        index = std::min<int>(index, line.size());
    }
    cur.setPosition(b.position() + index);
    p.setTextCursor(cur);
}

int Preroll::route(int k, const QString& x) {
    if (toTelop(k)) {
        telopRoute(x);
        return 0;
    }
    // Without the input part's sending there is nowhere to send: nothing
    // may be cleared then.
    if (!hooks_.sendSentence)
        return 1;
    qCDebug(lcPreroll) << "pane" << k + 1 << "sends" << x;
    return hooks_.sendSentence(x);
}

void Preroll::setTelopOption(TelopOption o, bool on) {
    if (hooks_.setTelopOption)
        hooks_.setTelopOption(o, on);
}

void Preroll::telopRoute(const QString& x) {
    if (w_.CheckBox13->isChecked()) {
        setTelopOption(TelopOption::StopAtLeftEnd, true);
        setTelopOption(TelopOption::MoveToPlace, false);
        setTelopOption(TelopOption::ClearWindow, false);
        setTelopOption(TelopOption::ShowSettingPage, false);
    } else {
        setTelopOption(TelopOption::StopAtLeftEnd, false);
        setTelopOption(TelopOption::ClearWindow, true);
        setTelopOption(TelopOption::ShowSettingPage, false);
    }
    auto setText = [this, &x] {
        if (w_.CheckBox23->isChecked()) {
            if (hooks_.setTelopTextAndSettings)
                hooks_.setTelopTextAndSettings(x);
        } else if (hooks_.setTelopText) {
            hooks_.setTelopText(x);
        }
    };
    auto call = [](const std::function<void()>& f) {
        if (f)
            f();
    };
    if (w_.CheckBox4->isChecked()) {
        call(hooks_.stopTelopOnNetwork);
        setText();
        call(hooks_.sendTelopToNetwork);
    }
    if (w_.CheckBox5->isChecked()) {
        call(hooks_.clearLocalTelop);
        call(hooks_.showInformationWindow);
        setText();
        call(hooks_.startLocalTelop);
    }
}

void Preroll::F1(int k) {
    PrerollPane& p = pane(k);
    p.setFocus();
    p.ensureCursorVisible();
    QTextCursor cur = p.textCursor();
    cur.clearSelection();
    const QTextBlock block = cur.block();
    const int line = block.blockNumber();
    const QString t = block.text();

    if (t.startsWith(kComment)) {
        caretToLine(p, line + 1);
        scrollOneLine(p);
        return;
    }

    if (!w_.CheckBox3->isChecked()) {
        if (text::byteLength(t) > kLineLimit) {
            warn(kTooLong);
            return;
        }
        const int before = cur.position();
        cur.setPosition(block.position());
        p.setTextCursor(cur);
        if (route(k, t) != 0) {
            // Refused: the line stays and so does the caret.
            cur.setPosition(before);
            p.setTextCursor(cur);
            return;
        }
        if (w_.CheckBox2->isChecked()) {
            // The line goes with its line break; the last line has none, and
            // is only emptied.
            QTextCursor del(p.document());
            del.setPosition(block.position());
            const QTextBlock next = block.next();
            del.setPosition(next.isValid() ? next.position()
                                           : block.position() + block.length() - 1,
                            QTextCursor::KeepAnchor);
            del.removeSelectedText();
            caretToLine(p, line);
        } else {
            caretToLine(p, line + 1);
            scrollOneLine(p);
        }
        p.ensureCursorVisible();
        return;
    }

    // Only the part before the caret.
    const int column = cur.positionInBlock();
    const QString part = t.left(column);
    if (text::byteLength(part) > kLineLimit) {
        warn(kTooLong);
        return;
    }
    const int before = cur.position();
    if (route(k, part) != 0 || !w_.CheckBox2->isChecked()) {
        cur.setPosition(before);
        p.setTextCursor(cur);
        p.ensureCursorVisible();
        return;
    }

    QTextCursor edit(p.document());
    edit.beginEditBlock();
    edit.setPosition(block.position());
    edit.setPosition(block.position() + column, QTextCursor::KeepAnchor);
    edit.removeSelectedText();
    int at = line;
    if (!w_.CheckBox22->isChecked()) {
        const QTextBlock now = p.document()->findBlockByNumber(at);
        if (now.text().isEmpty() && now.next().isValid()) {
            edit.setPosition(now.position());
            edit.setPosition(now.next().position(), QTextCursor::KeepAnchor);
            edit.removeSelectedText();
            edit.endEditBlock();
            caretToLine(p, at);
            p.ensureCursorVisible();
            return;
        }
        edit.endEditBlock();
        caretToLine(p, at);
        if (!p.textCursor().block().text().isEmpty())
            advance(p);
        p.ensureCursorVisible();
        return;
    }

    // The sent part joins the end of the line above, made first on line 0.
    if (at == 0) {
        edit.setPosition(0);
        edit.insertText(QStringLiteral("\n"));
        at = 1;
    }
    const QTextBlock above = p.document()->findBlockByNumber(at - 1);
    edit.setPosition(above.position() + above.length() - 1);
    edit.insertText(part);
    edit.endEditBlock();
    caretToLine(p, at);
    if (p.textCursor().block().text().isEmpty())
        caretToLine(p, at + 1);
    else
        advance(p);
    p.ensureCursorVisible();
}

void Preroll::F12(int k) {
    if (toTelop(k) || !hooks_.sendSentence)
        return;
    hooks_.sendSentence(QString());
}

void Preroll::F9(int k, bool shift) {
    if (toTelop(k))
        return;
    // Undo puts the sentence back into the input part, before or after what
    // the typist has there; only the sentence is taken, the typist's text
    // stays.
    const QString before = c_.inputPart->toPlainText();
    if (hooks_.undo)
        hooks_.undo(shift);
    const QString after = c_.inputPart->toPlainText();
    QString back = after;
    if (!before.isEmpty()) {
        if (after.endsWith(before))
            back.chop(before.size());
        else if (after.startsWith(before))
            back.remove(0, before.size());
    }
    if (w_.CheckBox2->isChecked()) {
        // It returns to the pane, the caret before it.
        back.remove(QLatin1Char('\n'));
        back.remove(QChar(QChar::ParagraphSeparator));
        PrerollPane& p = pane(k);
        QTextCursor cur = p.textCursor();
        cur.clearSelection();
        const int at = cur.position();
        cur.insertText(back);
        cur.setPosition(at);
        p.setTextCursor(cur);
    }
    if (after != before) {
        if (before.isEmpty())
            c_.inputPart->clear();
        else
            c_.inputPart->setPlainText(before);
    }
}

void Preroll::F11(bool shift) {
    if (hooks_.f11)
        hooks_.f11(shift);
}

// ---- files -----------------------------------------------------------------------

void Preroll::importInto(int k) {
    const auto path = choosers_.openFile(state_.programDirectory, kFilter, kFileName);
    if (!path)
        return;
    const std::array<QRadioButton*, 3> alone{w_.RadioButton1, w_.RadioButton2, w_.RadioButton3};
    alone[std::size_t(k)]->setChecked(true);
    PrerollPane& p = pane(k);
    p.setFocus();

    // The whole file is read before the pane changes: a file that cannot be
    // read leaves the pane as it was.
    QFile f(*path);
    if (!f.open(QIODevice::ReadOnly)) {
        messages_.show(settings::kCannotOpen.arg(*path));
        return;
    }
    if (f.size() > kMaxFileBytes) {
        messages_.show(kCannotRead.arg(*path));
        return;
    }
    const QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError) {
        messages_.show(kCannotRead.arg(*path));
        return;
    }
    const QStringList lines = settings::splitLines(text::decode(bytes));
    if (w_.CheckBox1->isChecked())
        appendLines(p, lines);
    else
        p.setPlainText(lines.join(QLatin1Char('\n')));
    const int size = fileBytes(p);
    p.allowSize(size);
    qCDebug(lcPreroll) << "pane" << k + 1 << "imported" << *path << lines.size() << "lines";
    if (size >= kSizeNotice)
        warn(kSizeHead + QString::number(size / 1024) + kSizeTail);
}

void Preroll::appendLines(PrerollPane& p, const QStringList& lines) {
    // Appended in one edit, after the pane's last line.
    if (lines.isEmpty())
        return;
    QTextCursor cur(p.document());
    cur.movePosition(QTextCursor::End);
    const QString joined = lines.join(QLatin1Char('\n'));
    cur.insertText(p.document()->isEmpty() ? joined : QStringLiteral("\n") + joined);
    p.allowSize(fileBytes(p));
}

void Preroll::appendToPane(int k, const QString& line) {
    appendLines(pane(k), {line});
}

void Preroll::saveFrom(int k) {
    const auto path =
        choosers_.saveFile(state_.programDirectory, kFileName, kFilter, QStringLiteral("txt"));
    if (!path)
        return;
    QStringList lines;
    for (QTextBlock b = pane(k).document()->begin(); b.isValid(); b = b.next())
        lines << b.text();
    QString error;
    if (!settings::writeLines(*path, lines, &error))
        messages_.show(error);
}

void Preroll::clear(int k) {
    pane(k).clear();
}

// ---- options ----------------------------------------------------------------------

void Preroll::Button9Click() {
    setTelopOption(TelopOption::ShowSettingPage, false);
    setTelopOption(TelopOption::ClearWindow, true);
    if (w_.CheckBox4->isChecked() && hooks_.stopTelopOnNetwork)
        hooks_.stopTelopOnNetwork();
    if (w_.CheckBox5->isChecked() && hooks_.clearLocalTelop)
        hooks_.clearLocalTelop();
}

void Preroll::Button2Click() {
    const auto choice =
        choosers_.font(w_.RichEdit1->font(), w_.RichEdit1->palette().color(QPalette::Text));
    if (!choice)
        return;
    for (PrerollPane* p : w_.panes) {
        p->setFont(choice->font);
        QPalette pal = p->palette();
        pal.setColor(QPalette::Text, choice->color);
        p->setPalette(pal);
    }
}

void Preroll::Button3Click() {
    const auto c = choosers_.color(w_.RichEdit1->palette().color(QPalette::Base));
    if (!c)
        return;
    for (PrerollPane* p : w_.panes) {
        QPalette pal = p->palette();
        pal.setColor(QPalette::Base, *c);
        p->setPalette(pal);
    }
}

void Preroll::Edit1Change() {
    const QString t = w_.Edit1->text().trimmed();
    bool ok = false;
    const int n = t.toInt(&ok);
    if (t.isEmpty() || (ok && n < 0))
        w_.Edit1->setText(QStringLiteral("0"));
}

void Preroll::Edit3Change() {
    const QString t = w_.Edit3->text().trimmed();
    if (t.isEmpty()) {
        w_.Edit3->setText(QStringLiteral("1"));
        return;
    }
    bool ok = false;
    const int n = t.toInt(&ok);
    // A distance below 1 is one a receiver refuses; it is not sent.
    if (!ok || n < 1 || !state_.settingsReady)
        return;
    if (hooks_.partnerNominated && hooks_.partnerNominated() && hooks_.sendRemoteSetting)
        hooks_.sendRemoteSetting(kDistanceLine.arg(t));
    if (w_.UpDown2 && w_.UpDown2->value() != n) {
        const QSignalBlocker quiet(w_.UpDown2);
        w_.UpDown2->setValue(n);
    }
}

void Preroll::CheckBox22Click() {
    if (!w_.CheckBox22->isChecked())
        return;
    w_.CheckBox2->setChecked(true);
    w_.CheckBox3->setChecked(true);
}

void Preroll::CheckBox23Click() {
    if (w_.CheckBox23->isChecked() && state_.settingsReady)
        warn(kCommaNote);
}

} // namespace quorel

#include "base/services.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>
#include <QScopeGuard>

namespace quorel {

void QtMessages::show(const QString& text) {
    // A message box runs a loop of its own; an error raised while one is up
    // (a flood of bad datagrams, say) must not stack dialogs on top of it.
    if (showing_) {
        qWarning("quorel: %s", qPrintable(text));
        return;
    }
    showing_ = true;
    const auto done = qScopeGuard([this] { showing_ = false; });
    QMessageBox box(QMessageBox::Information, QStringLiteral("Quorel"), text, QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

bool QtMessages::confirm(const QString& text) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Quorel"), text,
                    QMessageBox::Yes | QMessageBox::No, QApplication::activeWindow());
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

void QtClipboard::setText(const QString& text) {
    QGuiApplication::clipboard()->setText(text);
}

QString QtClipboard::text() const {
    return QGuiApplication::clipboard()->text();
}

std::optional<QFont> QtChoosers::font(const QFont& initial) {
    bool ok = false;
    const QFont f = QFontDialog::getFont(&ok, initial, QApplication::activeWindow());
    return ok ? std::optional<QFont>(f) : std::nullopt;
}

std::optional<QColor> QtChoosers::color(const QColor& initial) {
    const QColor c = QColorDialog::getColor(initial, QApplication::activeWindow());
    return c.isValid() ? std::optional<QColor>(c) : std::nullopt;
}

namespace {

// "名前(*.a)|*.a|全て(*.*)|*.*" -> "名前(*.a);;全て(*.*)": the captions carry the
// patterns already, so every second field is dropped.
QString qtFilter(const QString& filter) {
    const QStringList fields = filter.split(QLatin1Char('|'));
    QStringList out;
    for (qsizetype i = 0; i < fields.size(); i += 2)
        out << fields.at(i);
    return out.join(QStringLiteral(";;"));
}

} // namespace

std::optional<QString> QtChoosers::saveFile(const QString& folder, const QString& proposal,
                                            const QString& filter, const QString& suffix) {
    QFileDialog d(QApplication::activeWindow(), QString(), folder, qtFilter(filter));
    d.setAcceptMode(QFileDialog::AcceptSave);
    d.setDefaultSuffix(suffix);
    d.selectFile(proposal);
    if (d.exec() != QDialog::Accepted || d.selectedFiles().isEmpty())
        return std::nullopt;
    return d.selectedFiles().first();
}

std::optional<QString> QtChoosers::openFile(const QString& folder, const QString& filter) {
    const QString path = QFileDialog::getOpenFileName(QApplication::activeWindow(), QString(),
                                                      folder, qtFilter(filter));
    return path.isEmpty() ? std::nullopt : std::optional<QString>(path);
}

QString explanationStamp(const QDateTime& t) {
    return t.toString(QStringLiteral("yyyy/MM/dd")) + QLatin1Char('-') +
           t.toString(QStringLiteral("H:mm:ss")) + QLatin1Char(':');
}

void showIfEnabled(Messages& messages, const QCheckBox* checkBox19, const QString& text) {
    if (checkBox19 == nullptr || checkBox19->isChecked())
        messages.show(text);
}

} // namespace quorel

#include "base/services.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QColorDialog>
#include <QDeadlineTimer>
#include <QFileDialog>
#include <QFontDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScopeGuard>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextEdit>
#include <QVBoxLayout>

namespace quorel {

QtMessages::~QtMessages() {
    delete notice_;
}

void QtMessages::notify(const QString& text) {
    if (notice_ == nullptr) {
        notice_ = new QMessageBox(QMessageBox::Information, QStringLiteral("Quorel"), QString(),
                                  QMessageBox::Ok);
        notice_->setWindowModality(Qt::NonModal);
        notice_->setTextFormat(Qt::PlainText);
        // Shown beside the typist's window, not in front of its keyboard.
        notice_->setAttribute(Qt::WA_ShowWithoutActivating);
    }
    notice_->setText(text);
    notice_->show();
}

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
    // Messages quote names and texts from other stations: never markup.
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

bool QtMessages::confirm(const QString& text) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Quorel"), text,
                    QMessageBox::Yes | QMessageBox::No, QApplication::activeWindow());
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

void QtClipboard::setText(const QString& text) {
    QGuiApplication::clipboard()->setText(text);
}

QString QtClipboard::text() const {
    return QGuiApplication::clipboard()->text();
}

namespace {

// The font dialog with a colour button above it: one window for both, so the
// typist sees the sample in the colour the text will have.
class FontAndColorDialog final : public QDialog {
public:
    FontAndColorDialog(const QFont& font, const QColor& color, QWidget* parent)
        : QDialog(parent), color_(color) {
        setObjectName(QStringLiteral("fontChooser"));
        setWindowTitle(QStringLiteral("Font"));
        auto* layout = new QVBoxLayout(this);
        auto* row = new QHBoxLayout;
        row->addWidget(new QLabel(QStringLiteral("Color:"), this));
        colorButton_ = new QPushButton(this);
        colorButton_->setObjectName(QStringLiteral("fontColor"));
        colorButton_->setAutoDefault(false);
        row->addWidget(colorButton_);
        row->addStretch();
        layout->addLayout(row);
        fonts_ = new QFontDialog(font, this);
        fonts_->setOption(QFontDialog::DontUseNativeDialog);
        fonts_->setWindowFlags(Qt::Widget);
        layout->addWidget(fonts_);
        // The font dialog's own OK and Cancel answer for the whole window.
        connect(fonts_, &QDialog::accepted, this, &QDialog::accept);
        connect(fonts_, &QDialog::rejected, this, &QDialog::reject);
        connect(colorButton_, &QPushButton::clicked, this, [this] {
            const QColor c = QColorDialog::getColor(color_, this, QStringLiteral("Color"));
            if (c.isValid()) {
                color_ = c;
                showColor();
            }
        });
        showColor();
    }

    FontChoice choice() const { return {fonts_->currentFont(), color_}; }

private:
    void showColor() {
        QPixmap swatch(32, 16);
        swatch.fill(color_);
        QPainter(&swatch).drawRect(0, 0, swatch.width() - 1, swatch.height() - 1);
        colorButton_->setIcon(swatch);
        colorButton_->setText(color_.name());
        // The sample line sits in a group box of the font dialog. Light text
        // is shown on black, as captions of that colour would be on a dark
        // screen, so that it never vanishes into the sample's white.
        for (QGroupBox* box : fonts_->findChildren<QGroupBox*>())
            if (QLineEdit* sample = box->findChild<QLineEdit*>()) {
                QPalette pal = sample->palette();
                pal.setColor(QPalette::Text, color_);
                pal.setColor(QPalette::Base, color_.lightness() > 160 ? Qt::black : Qt::white);
                sample->setPalette(pal);
            }
    }

    QFontDialog* fonts_;
    QPushButton* colorButton_;
    QColor color_;
};

} // namespace

std::optional<FontChoice> QtChoosers::font(const QFont& initial, const QColor& initialColor) {
    FontAndColorDialog dialog(initial, initialColor, QApplication::activeWindow());
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.choice();
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

std::optional<QString> QtChoosers::openFile(const QString& folder, const QString& filter,
                                            const QString& proposal) {
    QFileDialog d(QApplication::activeWindow(), QString(), folder, qtFilter(filter));
    d.setAcceptMode(QFileDialog::AcceptOpen);
    d.setFileMode(QFileDialog::ExistingFile);
    if (!proposal.isEmpty())
        d.selectFile(proposal);
    if (d.exec() != QDialog::Accepted || d.selectedFiles().isEmpty())
        return std::nullopt;
    return d.selectedFiles().first();
}

QString explanationStamp(const QDateTime& t) {
    return t.toString(QStringLiteral("yyyy/MM/dd")) + QLatin1Char('-') +
           t.toString(QStringLiteral("H:mm:ss")) + QLatin1Char(':');
}

void appendExplanationLine(QTextEdit* page, const QString& line) {
    // QTextEdit::append would guess from the text whether it is HTML.
    QScrollBar* bar = page->verticalScrollBar();
    const bool atBottom = bar->value() >= bar->maximum();
    QTextCursor cursor(page->document());
    cursor.movePosition(QTextCursor::End);
    if (!page->document()->isEmpty())
        cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
    cursor.insertText(line, QTextCharFormat());
    if (atBottom)
        bar->setValue(bar->maximum());
}

void showIfEnabled(Messages& messages, const QCheckBox* checkBox19, const QString& text) {
    if (checkBox19 == nullptr || checkBox19->isChecked())
        messages.show(text);
}

qint64 SystemClock::monotonicMs() const {
    return QDeadlineTimer::current().deadline();
}

} // namespace quorel

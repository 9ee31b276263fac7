#include "settings/settings_file.h"

#include "text/cp932.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace quorel::settings {

QStringList splitLines(const QString& text) {
    QStringList lines;
    qsizetype start = 0;
    const qsizetype n = text.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        lines << text.mid(start, i - start);
        if (c == QLatin1Char('\r') && i + 1 < n && text.at(i + 1) == QLatin1Char('\n'))
            ++i;
        start = i + 1;
    }
    if (start < n)
        lines << text.mid(start);
    return lines;
}

QByteArray joinLines(const QStringList& lines) {
    QByteArray out;
    for (const QString& l : lines) {
        out += text::encode(l);
        out += "\r\n";
    }
    return out;
}

std::optional<QStringList> readLines(const QString& path, QString* error) {
    QFile f(path);
    const QString shown = QDir::toNativeSeparators(path);
    if (!f.open(QIODevice::ReadOnly)) {
        *error = kCannotOpen.arg(shown);
        return std::nullopt;
    }
    if (f.size() > kMaxFileBytes) {
        *error = kTooLarge.arg(shown);
        return std::nullopt;
    }
    // Read one byte past the limit: a file that grows while it is read (or a
    // device that reports no size) is still caught.
    const QByteArray bytes = f.read(kMaxFileBytes + 1);
    if (bytes.size() > kMaxFileBytes) {
        *error = kTooLarge.arg(shown);
        return std::nullopt;
    }
    if (f.error() != QFileDevice::NoError) {
        *error = kCannotOpen.arg(shown);
        return std::nullopt;
    }
    return splitLines(text::decode(bytes));
}

bool writeLines(const QString& path, const QStringList& lines, QString* error) {
    QSaveFile f(path);
    const QByteArray bytes = joinLines(lines);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit()) {
        *error = kCannotCreate.arg(QDir::toNativeSeparators(path));
        return false;
    }
    return true;
}

} // namespace quorel::settings

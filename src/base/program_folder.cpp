#include "base/program_folder.h"

#include <QDir>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace quorel {

namespace {

QString withSlash(QString dir) {
    dir = QDir::fromNativeSeparators(dir);
    if (!dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    return dir;
}

// Permission bits say nothing about a read-only mount or for root: only
// creating a file tells.
bool canWriteIn(const QString& dir) {
    QTemporaryFile probe(dir + QStringLiteral(".quorel-probe-XXXXXX"));
    return probe.open();
}

} // namespace

ProgramFolders chooseProgramFolders(const QString& executableDir, const QString& dataDir) {
    const QString exe = withSlash(executableDir);
    if (canWriteIn(exe))
        return {exe, QString()};
    const QString data = withSlash(dataDir);
    QDir().mkpath(data);
    return {data, exe};
}

QString userDataFolder() {
    return withSlash(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)) +
           QStringLiteral("quorel");
}

} // namespace quorel

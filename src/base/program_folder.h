#pragma once
// Where a station keeps its files. Run from a build tree or a folder of its
// own, that is the folder of the executable, as on the stations it works with.
// Installed (the executable in /usr/bin), that folder is not writable: the
// settings files and logs then go to the user's data folder, and a start-up
// settings file placed beside the executable is still read.

#include <QString>

namespace quorel {

struct ProgramFolders {
    QString files;  // where files are written and looked for first, ending in '/'
    QString beside; // the executable's folder when it is not `files`, else empty
};

// `executableDir` when a file can be created in it, else `dataDir` (created
// when missing).
ProgramFolders chooseProgramFolders(const QString& executableDir, const QString& dataDir);

// The user's data folder for the station ($XDG_DATA_HOME/quorel).
QString userDataFolder();

} // namespace quorel

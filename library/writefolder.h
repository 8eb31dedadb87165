// The write folder: where the program keeps everything it writes (roster,
// player files, high scores, history, the single-instance lock). It is the
// program folder when that folder can be written to, as in a build folder;
// an installed program's folder is read-only, and then the write folder is
// the per-user data folder, created on first use with the player template
// copied from the program folder.
#pragma once

#include <QString>

// The write folder for the program folder gDataPath, ending in "/". Decided
// again whenever gDataPath changes.
QString WriteFolder();
// The same for any program folder (start-up asks before gDataPath is set).
QString WriteFolderFor(const QString& programFolder);

// Full path of a bare file name in the write folder, with the same
// case-insensitive lookup as DataFile.
QString WriteFolderFile(const QString& name);

// The decision itself, apart from the globals. `userFolder` is used when
// `programFolder` exists and is not writable; it is created when
// missing and receives a copy of the program folder's template "vm2.psn"
// when it has none. When it cannot be created, the program folder is kept
// (writes then fail with a message naming the file).
QString ChooseWriteFolder(const QString& programFolder, bool programWritable,
                          const QString& userFolder);

// Whether a file can be created in `folder` (tried, not guessed from the
// permission bits, which say nothing on a read-only mount or for root). A
// folder on a full disk counts as writable.
bool FolderIsWritable(const QString& folder);

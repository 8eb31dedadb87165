// The data folder and every file access of the program: bounded reads,
// atomic writes, case-insensitive name lookup and the Shift-JIS codec.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// The program's folder, always ending in the platform separator "/".
extern QString gDataPath;

// Normalises a folder path into gDataPath form: exactly one trailing "/".
QString MakeDataPath(const QString& folder);

// Full path of a bare file name in `folder` (gDataPath when empty). When no
// file of that exact name exists, a case-insensitive match of the bare name
// is used; when there is none either, the exact path is returned.
QString DataFile(const QString& name, const QString& folder = QString());

// Reads a whole file of at most maxBytes. nullopt when it is missing,
// unreadable or larger; `error` then says which and names the file.
std::optional<QByteArray> ReadFileBounded(const QString& path, qint64 maxBytes,
                                          QString* error = nullptr);

// The one routine that writes our files. `data` goes to a temporary file
// `path`.XXXXXX in the same folder, which is written out in full, synced to
// the disk and only then renamed over `path`. When any step fails the
// temporary file is removed and the old file stays byte for byte as it was;
// the result is false with `error` naming the file and the reason.
bool WriteFileAtomic(const QString& path, const QByteArray& data, QString* error = nullptr);
// Why a write failed, for the user: a full disk and a refused write in
// Japanese, any other errno as the system words it.
QString WriteErrorReason(int err);

// The steps of WriteFileAtomic, for the fault hook below.
enum class WriteStep { Open, Write, Flush, Rename };
// Tests make a step fail: the hook is asked before each step and returns 0
// to let it run or an errno value (ENOSPC, EIO…) to fail it as the system
// would. An empty hook removes it.
using WriteFaultHook = std::function<int(WriteStep)>;
void SetWriteFaultHook(WriteFaultHook hook);

// The files the program writes into the data folder: the roster, the ten
// player files and the three high-score tables.
QStringList WrittenFileNames();
// Removes the temporary files `name`.XXXXXX of `names` (WrittenFileNames()
// when empty) that a write cut short by a killed program left in `folder`.
// Returns how many were removed.
int RemoveStaleTempFiles(const QString& folder, const QStringList& names = {});

// Moves a file out of the way before a new one is written: `path` becomes
// `path`.`suffix` (or with 2, 3… appended when that exists). Returns the new
// bare file name, or an empty string with `error` set when the rename failed.
QString KeepAside(const QString& path, QString* error = nullptr,
                  const QString& suffix = QStringLiteral("bad"));

// Shift-JIS (CP932) codec: the one routine for our text files. Decoding never
// fails; `ok` is cleared when the bytes held invalid sequences (they come out
// as U+FFFD). Encoding maps U+301C to U+FF5E first.
QString DecodeSjis(const QByteArray& bytes, bool* ok = nullptr);
QByteArray EncodeSjis(const QString& text, bool* ok = nullptr);

// The data folder and every file access of the program: bounded reads,
// atomic writes, case-insensitive name lookup and the Shift-JIS codec.
#pragma once

#include <QByteArray>
#include <QString>
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

// Writes `data` to a temporary file in the same folder, flushes it and renames
// it over `path`. The old file stays whole when anything fails. Returns false
// (with `error` naming the file) on failure.
bool WriteFileAtomic(const QString& path, const QByteArray& data, QString* error = nullptr);

// Shift-JIS (CP932) codec: the one routine for our text files. Decoding never
// fails; `ok` is cleared when the bytes held invalid sequences (they come out
// as U+FFFD). Encoding maps U+301C to U+FF5E first.
QString DecodeSjis(const QByteArray& bytes, bool* ok = nullptr);
QByteArray EncodeSjis(const QString& text, bool* ok = nullptr);

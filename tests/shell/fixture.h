// A throw-away program folder for shell tests: small pictures, empty problem
// indexes and comment lists, and helpers to register players.
#pragma once

#include "library/files.h"
#include "library/player.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QStringList>
#include <QTemporaryDir>

inline void WritePicture(const QString& folder, const QString& name, QSize size, QColor colour) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(colour);
    image.save(QDir(folder).filePath(name), "BMP");
}

inline void WriteBytes(const QString& folder, const QString& name, const QByteArray& bytes) {
    QFile f(QDir(folder).filePath(name));
    if (f.open(QIODevice::WriteOnly)) f.write(bytes);
}

// Fills `folder` with what the start-up and the menu read.
inline void MakeProgramFolder(const QString& folder) {
    WritePicture(folder, QStringLiteral("sakura.bmp"), {320, 200}, QColor(250, 210, 220));
    WritePicture(folder, QStringLiteral("keiryu.bmp"), {640, 480}, QColor(180, 220, 200));
    WriteBytes(folder, QStringLiteral("abc.dr"), QByteArray(8, '\0'));
    WriteBytes(folder, QStringLiteral("s1.dr"), QByteArray(4, '\0'));
    WriteBytes(folder, QStringLiteral("s2.dr"), QByteArray(4, '\0'));
    WriteBytes(folder, QStringLiteral("s1.txt"), QByteArray());
    WriteBytes(folder, QStringLiteral("s2.txt"), QByteArray());
    WriteBytes(folder, QStringLiteral("vm2.psn"), QByteArray(kPlayerFileSize, '\0'));
}

// Writes a roster of `names` with `current` marked, and a player file for
// each built from `record`.
inline void RegisterPlayers(const QString& folder, const QStringList& names, int current,
                            const PlayerRecord& record = PlayerRecord{}) {
    Roster r;
    r.count = int16_t(names.size());
    for (int i = 0; i < names.size(); ++i)
        r.names[size_t(i)] = names[i];
    r.current = int16_t(current);
    WriteBytes(folder, QStringLiteral("vm2.ply"), FormatRoster(r));
    for (int i = 0; i < names.size(); ++i)
        WriteBytes(folder, PlayerFileName(i), PlayerRecordToBytes(record));
}

inline void RemoveRoster(const QString& folder) {
    QFile::remove(QDir(folder).filePath(QStringLiteral("vm2.ply")));
}

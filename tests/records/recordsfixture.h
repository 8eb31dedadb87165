// A throw-away program folder for the registration and settings windows:
// their background pictures, a template player file, players with files of
// recognisable content, and a menu refresh that counts its calls.
#pragma once

#include "library/files.h"
#include "library/player.h"
#include "platform/recordingplatform.h"
#include "shell/router.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QStringList>
#include <QTemporaryDir>

// A player file whose every byte depends on `tag`, with valid settings.
inline QByteArray PlayerBytes(char tag, int16_t thinkTime = 60) {
    QByteArray b(kPlayerFileSize, '\0');
    for (int i = 30; i < kPlayerFileSize; ++i)
        b[i] = char((i * 7 + tag * 13) & 0xFF);
    b[0] = char(thinkTime & 0xFF);
    b[1] = char((thinkTime >> 8) & 0xFF);
    return b;
}

inline QByteArray TemplateBytes() {
    QByteArray b = PlayerBytes('T', 90);
    for (int i = 0; i < 3000; ++i) { // levels only, statistics cleared
        const int off = kProbStatOffset + 4 * i;
        b[off] = char(10 * (1 + i % 3));
        b[off + 1] = b[off + 2] = b[off + 3] = 0;
    }
    return b;
}

class RecordsFolder {
public:
    RecordsFolder() {
        gDataPath = MakeDataPath(dir_.path());
        for (const char* name : {"yuuyake.bmp", "sekitei.bmp", "keiryu.bmp"}) {
            QImage img(64, 48, QImage::Format_RGB32);
            img.fill(QColor(200, 180, 160));
            img.save(path(QLatin1String(name)), "BMP");
        }
        write(QStringLiteral("vm2.psn"), TemplateBytes());
        gPlayerCount = 0;
        gCurPlayer = 0;
        gPlayerName = {};
        gPlayerRecord = PlayerRecord{};
        SetMenuRefresh([this] {
            ++refreshes;
            ReadRoster();
            if (gPlayerCount > 0)
                LoadPlayerFile(gCurPlayer);
            else
                DefaultSettings();
        });
    }
    ~RecordsFolder() { SetMenuRefresh(nullptr); }

    QString path(const QString& name) const { return QDir(dir_.path()).filePath(name); }
    QByteArray read(const QString& name) const {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    bool exists(const QString& name) const { return QFile::exists(path(name)); }
    void write(const QString& name, const QByteArray& bytes) const {
        QFile f(path(name));
        if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(bytes);
    }
    void remove(const QString& name) const { QFile::remove(path(name)); }

    // Roster of `names` with `current` marked; player i's file is
    // PlayerBytes('A' + i). Loads it as the start-up would.
    void players(const QStringList& names, int current) {
        Roster r;
        r.count = int16_t(names.size());
        for (int i = 0; i < names.size(); ++i)
            r.names[size_t(i)] = names[i];
        r.current = int16_t(current);
        write(QStringLiteral("vm2.ply"), FormatRoster(r));
        for (int i = 0; i < names.size(); ++i)
            write(PlayerFileName(i), PlayerBytes(char('A' + i)));
        ReadRoster();
        if (gPlayerCount > 0) LoadPlayerFile(gCurPlayer);
    }

    int refreshes = 0;
    ScopedRecordingPlatform platform;

private:
    QTemporaryDir dir_;
};

// Lets a closed window delete itself.
inline void Settle() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

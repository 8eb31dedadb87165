// The shared start of the screenshot drivers: arguments, a private copy of
// the program folder, the application set-up.
#pragma once

#include "library/files.h"
#include "library/player.h"
#include "rules/outcome.h"
#include "shell/appinit.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <initializer_list>

namespace screenshots {

inline const char* gTool = "screens";

inline int Fail(const char* what) {
    std::fprintf(stderr, "%s: %s\n", gTool, what);
    return 1;
}

inline void Pump() {
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

struct Setup {
    QString source; // the program folder given
    QString out;    // where the pictures go
    QTemporaryDir copy;
};

// Reads PROGRAM_FOLDER OUTPUT_FOLDER, copies the program folder without the
// files in `drop`, sets the application up on the copy and points gDataPath
// there. False (after a message) when the arguments are missing.
inline bool Start(QApplication& app, int argc, char* argv[], const char* tool, Setup& s,
                  std::initializer_list<const char*> drop) {
    gTool = tool;
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s PROGRAM_FOLDER OUTPUT_FOLDER\n", tool);
        return false;
    }
    s.source = QString::fromLocal8Bit(argv[1]);
    s.out = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(s.out);
    for (const QFileInfo& f : QDir(s.source).entryInfoList(QDir::Files))
        QFile::copy(f.filePath(), s.copy.filePath(f.fileName()));
    for (const char* old : drop)
        QFile::remove(s.copy.filePath(QString::fromLatin1(old)));
    InitApplication(app, s.copy.path());
    gDataPath = MakeDataPath(s.copy.path());
    return true;
}

// The outcome table, the comment lists and one player, 山田, made from the
// template and loaded. False when there is no template.
inline bool StartPlayer() {
    InitOutcomeTable();
    ReadCommentLists();
    gPlayerCount = 1;
    gPlayerName[0] = QStringLiteral("山田");
    gCurPlayer = 0;
    return CreatePlayerFile(0) && LoadPlayerFile(0);
}

} // namespace screenshots

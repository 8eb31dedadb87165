// The database side of the history: SQLite through Qt SQL, in a module of
// its own (libvelmora_historydb.so beside the program) so that Qt SQL and
// SQLite are loaded with the first attempt written or read, never at
// start-up. history.cpp loads it; nothing else includes this header.
#pragma once

#include "history.h"

#include <QString>
#include <vector>

inline const QString kHistoryModuleName = QStringLiteral("velmora_historydb");
inline constexpr const char* kHistoryModuleEntry = "velmora_historydb";
// Raised whenever HistoryHost or HistoryDb changes, so that a module left
// from another build is refused instead of called wrongly.
inline constexpr int kHistoryDbVersion = 1;

// What the module asks of the program.
struct HistoryHost {
    // An SQLite failure in words for the user (HistoryErrorText).
    QString (*errorText)(const QString& nativeCode, const QString& databaseText);
    // A text to show the user once (a damaged file moved aside).
    void (*notice)(const QString& text);
};

// What the module does, on the database file `path`.
struct HistoryDb {
    int version;
    bool (*record)(const QString& path, const Attempt& a, QString* error);
    // False when the file could not be opened or read.
    bool (*attempts)(const QString& path, int player, std::vector<Attempt>* out);
    bool (*deletePlayer)(const QString& path, int index, QString* error);
};

// The module's one entry point, kHistoryModuleEntry.
using HistoryDbEntry = const HistoryDb* (*)(const HistoryHost* host);

// The history of every attempt: one row per verdict of the trial and the
// learn window, kept in an SQLite database in the data folder beside the
// player files. QtCore only: the database side is a module loaded with the
// first attempt written or read (historydb.h). The windows show the notices.
#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <map>
#include <vector>

inline const QString kHistoryFileName = QStringLiteral("vm2hist.db");

enum class AttemptMode { Trial, Learn };

struct Attempt {
    int player = 0; // player slot 0-9
    QDateTime time; // when the verdict was given
    AttemptMode mode = AttemptMode::Trial;
    int course = 0;     // the course played (trial totals are per course)
    QString dataSet;    // "abc", "s1", "s2"
    int problem = 0;    // problem number within the data set
    int firstMove = -1; // point code y * 19 + x of Black's first move; -1 none
    int reached = -1;   // result code reached (-1 none)
    int best = -1;      // the problem's best result code
    bool correct = false;
    int seconds = 0; // thinking time spent
    int level = 0;   // the problem's level code (10, 20, 30; other: unknown)
};

// Where the database lives: gDataPath + kHistoryFileName unless redirected
// (a per-user data folder when the program folder cannot be written).
QString HistoryDatabasePath();
// Redirects the database; an empty path goes back to the data folder.
void SetHistoryDatabasePath(const QString& path);

// Whether the database module can be loaded (else the reason in `why`).
bool HistoryAvailable(QString* why = nullptr);

// Appends one attempt. False with `error` when it could not be written.
bool RecordAttempt(const Attempt& a, QString* error = nullptr);
// Every attempt of a player, oldest first.
std::vector<Attempt> AttemptsOf(int player);
// Removes the rows of player `index` and moves the rows of the players after
// it down one slot, as their player files move (registration).
bool DeletePlayerHistory(int index, QString* error = nullptr);

// An SQLite failure in words for the user: a full disk, a refused write, a
// database in use, a damaged file; anything else as SQLite words it.
QString HistoryErrorText(const QString& nativeCode, const QString& databaseText);

// Texts to show the user, collected since the last call: a damaged or foreign
// database moved aside, the first failed write. Each failure is told once.
QStringList TakeHistoryNotices();
// Forgets that a failure was reported (tests, a new data folder).
void ResetHistoryReports();

// What the picker shows on a problem: the last attempt's outcome.
enum class ProblemMark { None, Solved, FailedLast };
// Marks by problem number of one data set for a player.
std::map<int, ProblemMark> ProblemMarks(int player, const QString& dataSet);

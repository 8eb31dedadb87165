// The high-score tables: one ranking file per data set, its line format,
// reading with the keep-what-was-read rule, the merge of a new result and
// the texts shown for it.
#pragma once

#include "library/session.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <cstdint>
#include <functional>
#include <vector>

inline constexpr int kRankingSize = 10;
// A ranking file is ten short lines; anything far larger is not one.
inline constexpr qint64 kRankingFileMax = 64 * 1024;

struct ScoreEntry {
    int16_t Score = 0;
    int16_t CorrectCount = 0;
    QString PlayerName;
    QString PlayDate;
    QString PlayTime;

    bool operator==(const ScoreEntry&) const = default;
};

// "abc.hsc" for courses 0..3, "s1.hsc" for 4, "s2.hsc" for 5.
QString HiscoreFileName(int course);

// Date and time texts of a result: "2026/12/07", "09:05:03".
QString PlayDateText(const QDateTime& when);
QString PlayTimeText(const QDateTime& when);

// The trial's result: the points of the questions that scored and their count.
ScoreEntry NewScoreEntry(const std::array<AnswerEntry, kTrialQuestions>& sheet,
                         const QString& playerName, const QDateTime& when);

// One line without its line end: ` 850 , 7 ,"name","2026/12/07","09:05:03"`.
QString FormatScoreLine(const ScoreEntry& e);
// The file image: the first ten entries up to the first one below 1 point,
// Shift-JIS, each line ending in CR LF.
QByteArray FormatRanking(const std::vector<ScoreEntry>& merged);

struct RankingRead {
    std::vector<ScoreEntry> entries; // at most ten
    int badLine = 0;                 // 1-based line where reading stopped; 0 when whole
};
// Reads records of two numbers and three quoted texts. A record that cannot
// be read ends the reading; the records before it are kept.
RankingRead ParseRanking(const QByteArray& bytes);

struct MergedRanking {
    std::vector<ScoreEntry> merged; // the loaded entries with the new one: count + 1
    int newPosition = 0;
    bool rankedIn = false; // in the top ten with more than 0 points
};
// The new entry goes above the first loaded entry with a strictly lower
// score; an equal score ranks below the old one.
MergedRanking MergeRanking(const std::vector<ScoreEntry>& loaded, const ScoreEntry& entry);

// A date with a four-digit year shown with two: "2026/12/07" -> "26/12/07".
QString ShortDate(const QString& date);

// The clock of the high-score window (tests fix it).
QDateTime HiscoreNow();
void SetHiscoreClock(std::function<QDateTime()> clock);

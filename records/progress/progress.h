// The figures of the 成績の推移 window, computed from a player's attempts
// without any widget.
#pragma once

#include "history/history.h"

#include <QDate>
#include <QString>
#include <map>
#include <vector>

struct DayTotal {
    QDate day;
    int answered = 0; // trial answers up to and including this day
    int correct = 0;
};
// Per course: the running totals of trial answers, one point per day played.
std::map<int, std::vector<DayTotal>> TrialTotalsByCourse(const std::vector<Attempt>& attempts);

struct WeekRate {
    QDate week; // the Monday of the week
    int answered = 0;
    int correct = 0;
    double percent() const { return answered > 0 ? 100.0 * correct / answered : 0.0; }
};
// Per level code (10, 20, 30; 0 for an unknown level): correct rate per week,
// trial and learn attempts together.
std::map<int, std::vector<WeekRate>> WeeklyRateByLevel(const std::vector<Attempt>& attempts);
QString LevelTitle(int level); // "初級", "上級", "有段", "レベル不明"

// The date axis of a chart showing the days first..last: from the day before
// to at least the day after, with at most seven labels, each on a whole day
// and all of them the same number of days apart (no day is labelled twice).
struct DateSpan {
    QDate from, to;
    int ticks = 2; // labels, both ends included
};
DateSpan DateAxis(QDate first, QDate last);

// Best outcome against the outcome reached: counts per pair of row names.
struct Confusion {
    QStringList best;                     // row names, in outcome-table order
    QStringList reached;                  // column names, in outcome-table order, "候補外" last
    std::vector<std::vector<int>> counts; // [best][reached]
};
Confusion ConfusionTable(const std::vector<Attempt>& attempts);

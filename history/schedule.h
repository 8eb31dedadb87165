// The 復習 schedule: a problem once failed comes back 1, 3, 7, 14, 30 and
// then every 60 days after each success in a row; a failure starts the
// intervals again and makes the problem due at once.
#pragma once

#include "history.h"

#include <QDate>
#include <array>
#include <set>
#include <vector>

inline constexpr std::array<int, 6> kReviewIntervals{1, 3, 7, 14, 30, 60};

struct ReviewOutcome {
    QDate day;
    bool correct = false;
};

// The day the problem is due again, from its attempts oldest first; an
// invalid date when it has never been failed (it is not on the list).
QDate NextReviewDay(const std::vector<ReviewOutcome>& attempts);
// Due on `today`: on the list and its day has come.
bool IsReviewDue(const std::vector<ReviewOutcome>& attempts, QDate today);
// Problem numbers of one data set due on `today`, from a player's attempts.
std::set<int> DueProblems(const std::vector<Attempt>& attempts, const QString& dataSet,
                          QDate today);

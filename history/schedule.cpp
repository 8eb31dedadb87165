#include "schedule.h"

#include <algorithm>
#include <map>

QDate NextReviewDay(const std::vector<ReviewOutcome>& attempts) {
    QDate due;
    bool failed = false;
    int streak = 0;
    for (const ReviewOutcome& a : attempts) {
        if (!a.day.isValid()) continue;
        if (!a.correct) {
            failed = true;
            streak = 0;
            due = a.day;
            continue;
        }
        ++streak;
        const int i = std::min<int>(streak, int(kReviewIntervals.size())) - 1;
        due = a.day.addDays(kReviewIntervals[size_t(i)]);
    }
    return failed ? due : QDate();
}

bool IsReviewDue(const std::vector<ReviewOutcome>& attempts, QDate today) {
    const QDate due = NextReviewDay(attempts);
    return due.isValid() && due <= today;
}

std::set<int> DueProblems(const std::vector<Attempt>& attempts, const QString& dataSet,
                          QDate today) {
    std::map<int, std::vector<ReviewOutcome>> byProblem;
    for (const Attempt& a : attempts) {
        if (a.dataSet != dataSet) continue;
        byProblem[a.problem].push_back({a.time.date(), a.correct});
    }
    std::set<int> due;
    for (const auto& [problem, outcomes] : byProblem)
        if (IsReviewDue(outcomes, today)) due.insert(problem);
    return due;
}

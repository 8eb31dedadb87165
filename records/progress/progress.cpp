#include "progress.h"

#include "rules/outcome.h"

#include <algorithm>
#include <set>

std::map<int, std::vector<DayTotal>> TrialTotalsByCourse(const std::vector<Attempt>& attempts) {
    std::map<int, std::map<QDate, std::pair<int, int>>> perDay;
    for (const Attempt& a : attempts) {
        if (a.mode != AttemptMode::Trial || !a.time.isValid()) continue;
        auto& day = perDay[a.course][a.time.date()];
        ++day.first;
        if (a.correct) ++day.second;
    }
    std::map<int, std::vector<DayTotal>> out;
    for (const auto& [course, days] : perDay) {
        DayTotal running;
        for (const auto& [day, counts] : days) {
            running.day = day;
            running.answered += counts.first;
            running.correct += counts.second;
            out[course].push_back(running);
        }
    }
    return out;
}

std::map<int, std::vector<WeekRate>> WeeklyRateByLevel(const std::vector<Attempt>& attempts) {
    std::map<int, std::map<QDate, WeekRate>> perWeek;
    for (const Attempt& a : attempts) {
        if (!a.time.isValid()) continue;
        const int level = (a.level == 10 || a.level == 20 || a.level == 30) ? a.level : 0;
        const QDate day = a.time.date();
        const QDate monday = day.addDays(1 - day.dayOfWeek());
        WeekRate& w = perWeek[level][monday];
        w.week = monday;
        ++w.answered;
        if (a.correct) ++w.correct;
    }
    std::map<int, std::vector<WeekRate>> out;
    for (const auto& [level, weeks] : perWeek)
        for (const auto& [monday, w] : weeks)
            out[level].push_back(w);
    return out;
}

QString LevelTitle(int level) {
    switch (level) {
    case 10:
        return QStringLiteral("初級");
    case 20:
        return QStringLiteral("上級");
    case 30:
        return QStringLiteral("有段");
    default:
        return QStringLiteral("レベル不明");
    }
}

Confusion ConfusionTable(const std::vector<Attempt>& attempts) {
    // Rows of the outcome table by their index; -1 for a move outside the
    // tree or no move at all.
    std::set<int> bestRows;
    std::set<int> reachedRows;
    std::map<std::pair<int, int>, int> counts;
    for (const Attempt& a : attempts) {
        const int b = OutcomeRow(a.best);
        if (b < 0) continue;
        const int r = OutcomeRow(a.reached);
        bestRows.insert(b);
        reachedRows.insert(r);
        ++counts[{b, r}];
    }
    Confusion c;
    std::vector<int> cols(reachedRows.begin(), reachedRows.end());
    // The "no outcome" column goes last.
    if (!cols.empty() && cols.front() < 0) {
        cols.erase(cols.begin());
        cols.push_back(-1);
    }
    const std::vector<int> rows(bestRows.begin(), bestRows.end());
    auto name = [](int row) {
        return row < 0 ? QStringLiteral("候補外") : OutcomeTable[size_t(row)].name;
    };
    for (int row : rows)
        c.best << name(row);
    for (int col : cols)
        c.reached << name(col);
    for (int row : rows) {
        std::vector<int> line;
        for (int col : cols) {
            const auto it = counts.find({row, col});
            line.push_back(it == counts.end() ? 0 : it->second);
        }
        c.counts.push_back(line);
    }
    return c;
}

DateSpan DateAxis(QDate first, QDate last) {
    if (!first.isValid() || !last.isValid()) first = last = QDate::currentDate();
    if (last < first) std::swap(first, last);
    constexpr int kMaxGaps = 6;
    const qint64 days = first.daysTo(last) + 2;
    const qint64 step = (days + kMaxGaps - 1) / kMaxGaps;
    const qint64 gaps = (days + step - 1) / step;
    DateSpan span;
    span.from = first.addDays(-1);
    span.to = span.from.addDays(gaps * step);
    span.ticks = int(gaps) + 1;
    return span;
}

#include "order.h"

#include "prove.h"
#include "rules/outcome.h"
#include "rules/rules.h"

namespace velsolver {

OrderReport CheckOrder(const Problem& problem, int limitMs, int every, bool ownPaths) {
    OrderReport rep;
    Problem p = problem;
    if (p.hands == 0 || CalcAllResults(p) < 0) {
        rep.error = QStringLiteral("the problem has no moves");
        return rep;
    }
    const int aim = ProblemAim(p);
    if (aim == 0) {
        rep.error = QStringLiteral("aim %1 unknown").arg(p.ProbPurpose);
        return rep;
    }
    // The positions compared: the start, the leaves and Black's turns.
    struct Asked {
        int16_t node;
        SearchStart pos;
        QString where;
        int inOrder = 0;
    };
    std::vector<Asked> asked;
    const std::vector<int> childCount = ChildCounts(p);
    const int step = std::max(every, 1);
    int counted = 0;
    auto limitsNow = [limitMs] {
        Limits l;
        l.deadline = SolverClock::now() + std::chrono::milliseconds(std::max(1, limitMs));
        return l;
    };
    auto inTree = [&](ProblemSolver& solver, const SearchStart& start) {
        for (int n = -1; n < p.hands; ++n) {
            const auto node = static_cast<int16_t>(n < 0 ? kRoot : n);
            const bool leaf = n >= 0 && childCount[static_cast<size_t>(n)] == 0;
            const NodeList path = n < 0 ? NodeList{} : GetPath(p, node);
            if (!leaf && path.size() % 2 != 0) continue;
            if (counted++ % step != 0) continue;
            Asked a{node, start, {}, 0};
            size_t played = 0;
            if (!ReplayPath(p, path, a.pos, played)) continue;
            a.where = n < 0  ? QStringLiteral("start")
                      : leaf ? QStringLiteral("leaf %1 (%2)").arg(n).arg(PathText(p, path, played))
                             : QStringLiteral("after %1").arg(PathText(p, path, played));
            // A position prove asked keeps the class it was given then.
            a.inOrder = solver.Classify(a.pos, limitsNow()).klass;
            asked.push_back(std::move(a));
        }
    };
    ProveProblem(p, limitMs * 10, true, inTree);
    if (asked.empty() && counted == 0) {
        rep.error = QStringLiteral("the start position is beyond reach");
        return rep;
    }
    const Goban board = GobanFromProblem(p);
    for (const Asked& a : asked) {
        ProblemSolver fresh(board, p.ViewSize, static_cast<Aim>(aim));
        if (ownPaths) fresh.KeepResultsToTheirPaths();
        const ClassResult r = fresh.Classify(a.pos, limitsNow());
        rep.nodes += r.nodes;
        ++rep.positions;
        if (!a.inOrder || !r.klass) {
            ++rep.unknown;
            continue;
        }
        if (a.inOrder != r.klass)
            rep.disagreements.push_back({a.node, a.where, a.inOrder, r.klass});
    }
    return rep;
}

} // namespace velsolver

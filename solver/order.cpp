#include "order.h"

#include "prove.h"
#include "rules/outcome.h"
#include "rules/rules.h"

#include <map>

namespace velsolver {

OrderReport CheckOrder(const Problem& problem, int limitMs, int every) {
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
    std::map<std::pair<uint64_t, int>, int> leaves;
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
            // A position prove asked keeps the class it was given then; prove
            // reads a leaf whose board, ko and side to move an earlier leaf
            // had from that leaf.
            const auto key = std::make_pair(a.pos.board.Hash() ^ a.pos.koCell, a.pos.toMove);
            const auto seen = leaves.find(key);
            a.inOrder = leaf && seen != leaves.end() ? seen->second
                                                     : solver.Classify(a.pos, limitsNow()).klass;
            if (leaf) leaves.emplace(key, a.inOrder);
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

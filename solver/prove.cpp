#include "prove.h"

#include "complete.h"

#include "rules/outcome.h"
#include "rules/rules.h"

#include <algorithm>
#include <map>

namespace velsolver {

namespace {

int ClassValue(int klass) {
    return ResultValue(klass * 10) / 10;
}

QString LineText(int colour, const std::vector<int>& moves) {
    QStringList parts;
    for (int m : moves) {
        if (m == kPassMove)
            parts << (colour == kBlackCell ? QStringLiteral("B[]") : QStringLiteral("W[]"));
        else
            parts << SgfMove(colour, CellX(m), CellY(m));
        colour = Other(colour);
    }
    return parts.join(QLatin1Char(' '));
}

} // namespace

bool ReplayPath(const Problem& p, const NodeList& path, SearchStart& s, size_t& played) {
    played = 0;
    for (int16_t m : path) {
        ++played;
        const int c = CellOf(p.x[m], p.y[m]);
        if (!ProblemSolver::PlayPlain(s, c)) return false;
    }
    return true;
}

QString PathText(const Problem& p, const NodeList& path, size_t count) {
    QStringList text;
    int colour = kBlackCell;
    for (size_t i = 0; i < count && i < path.size(); ++i) {
        text << SgfMove(colour, p.x[path[i]], p.y[path[i]]);
        colour = Other(colour);
    }
    return text.join(QLatin1Char(' '));
}

std::vector<int> ChildCounts(const Problem& p) {
    std::vector<int> counts(static_cast<size_t>(std::max<int>(p.hands, 0)), 0);
    for (int m = 0; m < p.hands; ++m)
        if (p.prev[m] >= 0 && p.prev[m] < p.hands) ++counts[static_cast<size_t>(p.prev[m])];
    return counts;
}

QString SgfMove(int colour, int x, int y) {
    return QStringLiteral("%1[%2%3]")
        .arg(colour == kBlackCell ? QLatin1Char('B') : QLatin1Char('W'))
        .arg(QLatin1Char(static_cast<char>('a' + x)))
        .arg(QLatin1Char(static_cast<char>('a' + y)));
}

QString ClassName(int klass) {
    if (klass <= 0) return QStringLiteral("?");
    const QString name = OutcomeText(0, klass * 10);
    return name == QStringLiteral("？？？") ? QString::number(klass) : name;
}

bool ClassesAgree(int tree, int solver, int aim) {
    if (tree == solver) return true;
    // Generic success and failure classes.
    const bool failure = solver == kWhiteAlive || solver == kBlackLoses || solver == kBlackDead;
    if (failure && (tree == 57 || tree == 58 || tree == 62)) return true;
    switch (solver) {
    case kWhiteDead:
        return tree == 4 || tree == 6 || tree == 12 || (aim == 3 && tree == kBlackWins);
    case kBlackAlive:
        return tree == 12;
    case kBlackWins:
        return tree == 12 || tree == kWhiteDead || tree == kBlackAlive;
    case kBlackDead:
        return tree == 59;
    case kBlackLoses:
        return tree == kBlackDead || tree == kWhiteAlive;
    case kWhiteAlive:
        return aim == 3 && tree == kBlackLoses;
    default:
        return false;
    }
}

int ProblemAim(const Problem& p) {
    if (p.ProbPurpose >= 1 && p.ProbPurpose <= 3) return p.ProbPurpose;
    if (p.ProbPurpose == 0 && (p.HeadFlag == 0 || p.HeadFlag == 1))
        return static_cast<int>(p.HeadFlag == 0 ? Aim::Connect : Aim::Cut);
    return 0;
}

Goban GobanFromProblem(const Problem& p) {
    Goban g;
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            const int v = p.gInitBoard[static_cast<size_t>(x + kSide * y)];
            if (v == kBlack || v == kWhite) g.Set(CellOf(x, y), static_cast<uint8_t>(v));
        }
    return g;
}

ProveReport ProveProblem(const Problem& problem, int limitMs, bool completeness,
                         const std::function<void(ProblemSolver&, const SearchStart&)>& after) {
    ProveReport rep;
    const auto t0 = SolverClock::now();
    Limits limits;
    limits.deadline = t0 + std::chrono::milliseconds(std::max(1, limitMs));
    auto finish = [&](ProveReport& r) -> ProveReport& {
        const auto end = SolverClock::now();
        r.ms = std::chrono::duration<double, std::milli>(end - t0).count();
        // A search cut short by the limit answers "unknown" or nothing at
        // all; a check that ran past the limit proved nothing.
        if (r.faults.isEmpty() && r.reachNote.isEmpty() && end >= limits.deadline)
            r.reachNote = QStringLiteral("the limit was reached during the checks");
        if (!r.faults.isEmpty())
            r.status = ProveStatus::Mismatch;
        else if (!r.reachNote.isEmpty())
            r.status = ProveStatus::BeyondReach;
        else
            r.status = ProveStatus::Proved;
        return r;
    };

    Problem p = problem;
    const int16_t best = CalcAllResults(p);
    if (p.hands == 0 || best < 0) {
        rep.faults << QStringLiteral("the problem has no moves");
        return finish(rep);
    }
    rep.treeClass = best / 10;
    const int aim = ProblemAim(p);
    if (aim == 0) {
        rep.reachNote = QStringLiteral("aim %1 unknown").arg(p.ProbPurpose);
        return finish(rep);
    }
    ProblemSolver solver(GobanFromProblem(p), p.ViewSize, static_cast<Aim>(aim));
    if (aim > static_cast<int>(Aim::Race)) {
        // Connect and cut: the stones at stake are the goal's colour in the
        // fight (those that do not reach the open board).
        const Region& region = solver.region();
        if (region.defenderKeys.empty() || !region.enclosed) {
            rep.faults << QStringLiteral("no %1 stones at stake: every one reaches the open board")
                              .arg(aim == static_cast<int>(Aim::Connect) ? QStringLiteral("black")
                                                                         : QStringLiteral("white"));
            return finish(rep);
        }
    }
    const SearchStart start = solver.Start();
    const ClassResult root = solver.Classify(start, limits);
    rep.nodes += root.nodes;
    if (!root.klass) {
        const Region& region = solver.region();
        rep.reachNote =
            QStringLiteral("the start position is beyond reach (%1 points in play%2)")
                .arg(region.moveCells.size())
                .arg(region.enclosed ? QString() : QStringLiteral(", the target is not enclosed"));
        return finish(rep);
    }
    rep.rootClass = root.klass;
    if (!ClassesAgree(rep.treeClass, root.klass, aim)) {
        const QString line = LineText(kBlackCell, solver.BestLine(start, root, 12, limits));
        rep.faults << QStringLiteral("start: tree %1, solver %2%3")
                          .arg(ClassName(rep.treeClass), ClassName(root.klass),
                               line.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(line));
    }

    // First moves: every legal move in the region, plus the tree's own.
    const NodeList rootKids = GetChildren(p, kRoot);
    std::vector<int> moves = solver.CandidateMoves(start);
    for (int16_t n : rootKids) {
        const int c = CellOf(p.x[n], p.y[n]);
        if (std::find(moves.begin(), moves.end(), c) == moves.end()) moves.push_back(c);
    }
    std::map<int, ClassResult> moveClass;
    std::map<int, SearchStart> afterMove;
    for (int c : moves) {
        SearchStart s = start;
        if (!solver.Advance(s, c)) continue;
        const ClassResult r = solver.Classify(s, limits);
        rep.nodes += r.nodes;
        moveClass[c] = r;
        afterMove[c] = s;
    }
    const int bestValue = ClassValue(root.klass);
    for (int c : moves) {
        const auto it = moveClass.find(c);
        if (it == moveClass.end()) continue;
        const int k = it->second.klass;
        if (!k) {
            rep.reachNote = QStringLiteral("first move %1 beyond reach")
                                .arg(SgfMove(kBlackCell, CellX(c), CellY(c)));
            continue;
        }
        const bool wins = ClassValue(k) == bestValue;
        if (wins) rep.winningMoves << SgfMove(kBlackCell, CellX(c), CellY(c));
        int16_t child = -1;
        for (int16_t n : rootKids)
            if (CellOf(p.x[n], p.y[n]) == c) {
                child = n;
                break;
            }
        const QString mv = SgfMove(kBlackCell, CellX(c), CellY(c));
        const bool treeCorrect =
            child >= 0 && ResultValue(p.kekkaCalc[child + 1]) == ResultValue(best);
        // A move the tree grades a shade lower within the same result (the
        // bent four in the corner against plain death) agrees with the solver.
        if (!treeCorrect && wins && child >= 0 && ClassesAgree(p.kekkaCalc[child + 1] / 10, k, aim))
            continue;
        if (treeCorrect && !wins) {
            std::vector<int> line = solver.BestLine(afterMove[c], it->second, 12, limits);
            rep.faults << QStringLiteral("%1 is graded correct, solver %2 (refutation %3 %4)")
                              .arg(mv, ClassName(k), mv, LineText(kWhiteCell, line));
        } else if (wins && !treeCorrect) {
            std::vector<int> line = solver.BestLine(afterMove[c], it->second, 12, limits);
            if (child < 0)
                rep.faults << QStringLiteral("%1 also reaches %2 but is not in the tree (%3 %4)")
                                  .arg(mv, ClassName(k), mv, LineText(kWhiteCell, line));
            else
                rep.faults << QStringLiteral("%1 reaches %2 but the tree grades it %3 (%4 %5)")
                                  .arg(mv, ClassName(k), ClassName(p.kekkaCalc[child + 1] / 10), mv,
                                       LineText(kWhiteCell, line));
        }
    }

    // Leaves: the class of each leaf's position, with the line's history
    // (a board reached on another line may have another class: the
    // repetition ban looks at the earlier positions).
    const std::vector<int> childCount = ChildCounts(p);
    for (int16_t n = 0; n < p.hands; ++n) {
        if (childCount[static_cast<size_t>(n)] != 0) continue;
        const NodeList path = GetPath(p, n);
        SearchStart s = start;
        size_t played = 0;
        const bool legal = ReplayPath(p, path, s, played);
        auto where = [&] {
            return QStringLiteral("leaf %1 (%2)").arg(n).arg(PathText(p, path, played));
        };
        if (!legal) {
            rep.faults << where() + QStringLiteral(": illegal move");
            continue;
        }
        const ClassResult leaf = solver.Classify(s, limits);
        rep.nodes += leaf.nodes;
        const int k = leaf.klass;
        if (!k) {
            rep.reachNote = where() + QStringLiteral(" beyond reach");
            continue;
        }
        const int treeLeaf = p.code[n];
        if (!ClassesAgree(treeLeaf, k, aim)) {
            rep.faults << QStringLiteral("%1: tree %2, solver %3 (%4)")
                              .arg(where(), ClassName(treeLeaf), ClassName(k),
                                   LineText(s.toMove, solver.BestLine(s, leaf, 12, limits)));
        }
    }
    if (completeness && rep.faults.isEmpty() && rep.reachNote.isEmpty())
        CheckCompleteness(p, solver, start, limits, rep);
    finish(rep);
    if (after) after(solver, start);
    return rep;
}

void CheckCompleteness(const Problem& p, ProblemSolver& solver, const SearchStart& start,
                       const Limits& limits, ProveReport& rep) {
    const int bestValue = ResultValue(p.kekkaCalc[0]);
    // Black decision points on correct lines: the start and every inner node
    // after a White move whose line keeps the best result all the way.
    std::vector<int16_t> points = {kRoot};
    const std::vector<int> childCount = ChildCounts(p);
    for (int16_t n = 0; n < p.hands; ++n) {
        if (childCount[static_cast<size_t>(n)] == 0) continue;
        const NodeList path = GetPath(p, n);
        if (path.size() % 2 != 0) continue;
        bool correct = true;
        for (int16_t m : path)
            correct = correct && ResultValue(p.kekkaCalc[m + 1]) == bestValue;
        if (correct) points.push_back(n);
    }
    for (int16_t n : points) {
        SearchStart s = start;
        const NodeList path = n == kRoot ? NodeList{} : GetPath(p, n);
        size_t played = 0;
        if (!ReplayPath(p, path, s, played)) continue;
        auto where = [&] {
            return n == kRoot ? QStringLiteral("start")
                              : QStringLiteral("after %1").arg(PathText(p, path, played));
        };
        const Demand d =
            DemandAt(solver, s, limits, n == kRoot ? kFirstWrongMoves : kLaterWrongMoves);
        rep.nodes += d.nodes;
        if (!d.reached) {
            rep.reachNote = where() + QStringLiteral(": a move beyond reach");
            continue;
        }
        std::map<int, int16_t> kids;
        for (int16_t k : GetChildren(p, n))
            kids.emplace(CellOf(p.x[k], p.y[k]), k);
        // The start's correct moves are held against the tree above.
        if (n != kRoot)
            for (int c : d.keepers)
                if (!kids.count(c))
                    rep.faults << QStringLiteral("%1: %2 also keeps %3 but is not in the tree")
                                      .arg(where(), SgfMove(kBlackCell, CellX(c), CellY(c)),
                                           ClassName(d.classes.at(c).klass));
        for (int c : d.wrong)
            if (!kids.count(c))
                rep.faults << QStringLiteral("%1: the plausible wrong move %2 (%3) is not in the "
                                             "tree")
                                  .arg(where(), SgfMove(kBlackCell, CellX(c), CellY(c)),
                                       ClassName(d.classes.at(c).klass));
        for (const auto& [c, k] : kids) {
            if (ResultValue(p.kekkaCalc[k + 1]) == bestValue) continue;
            if (n != kRoot && std::find(d.keepers.begin(), d.keepers.end(), c) != d.keepers.end()) {
                rep.faults << QStringLiteral("%1: %2 keeps %3 but the tree grades it %4")
                                  .arg(where(), SgfMove(kBlackCell, CellX(c), CellY(c)),
                                       ClassName(d.classes.at(c).klass),
                                       OutcomeText(0, p.kekkaCalc[k + 1]));
                continue;
            }
            if (childCount[static_cast<size_t>(k)] != 0) continue;
            // A wrong move White has no answer to that keeps its result
            // (every White move there helps Black) stays a leaf.
            SearchStart after = s;
            if (!ProblemSolver::PlayPlain(after, c)) continue;
            const auto known = d.classes.find(c);
            const ClassResult r =
                known != d.classes.end() ? known->second : solver.Classify(after, limits);
            if (!r.klass) {
                rep.reachNote = QStringLiteral("%1: the wrong move %2 beyond reach")
                                    .arg(where(), SgfMove(kBlackCell, CellX(c), CellY(c)));
                continue;
            }
            if (Refutation(solver, after, r, limits, 1).empty()) continue;
            rep.faults << QStringLiteral("%1: the wrong move %2 has no refutation")
                              .arg(where(), SgfMove(kBlackCell, CellX(c), CellY(c)));
        }
    }
}

} // namespace velsolver

#include "checker.h"

#include "rules/outcome.h"
#include "rules/rules.h"

#include <QStringList>
#include <algorithm>

QString DataSetName(DataSet set) {
    switch (set) {
    case DataSet::Abc:
        return QStringLiteral("abc");
    case DataSet::S1:
        return QStringLiteral("s1");
    case DataSet::S2:
        return QStringLiteral("s2");
    }
    return QString();
}

bool DataSetFromName(const QString& name, DataSet& set) {
    const QString n = name.toLower();
    if (n == QLatin1String("abc"))
        set = DataSet::Abc;
    else if (n == QLatin1String("s1"))
        set = DataSet::S1;
    else if (n == QLatin1String("s2"))
        set = DataSet::S2;
    else
        return false;
    return true;
}

namespace {

QString PointText(int x, int y) {
    QString s;
    s.append(QChar('a' + x));
    s.append(QChar('a' + y));
    return s;
}

void Add(std::vector<ProblemFault>& faults, int node, bool warning, const QString& message) {
    faults.push_back({node, warning, message});
}

QString ResultName(int r) {
    return QStringLiteral("%1 (%2)").arg(OutcomeText(0, r)).arg(r);
}

} // namespace

int NodeDepth(const Problem& p, int node) {
    int depth = 0;
    int cur = node;
    while (cur != kRoot && cur >= 0 && cur < p.hands && depth <= kMaxNodes) {
        cur = p.prev[cur];
        ++depth;
    }
    return depth;
}

QString MoveText(const Problem& p, int node) {
    if (node < 0 || node >= p.hands) return QString();
    const bool black = NodeDepth(p, node) % 2 == 1;
    const int x = p.x[node];
    const int y = p.y[node];
    const QString point =
        (x <= 18 && y <= 18) ? PointText(x, y) : QStringLiteral("(%1,%2)").arg(x).arg(y);
    return QStringLiteral("%1[%2]").arg(black ? QLatin1Char('B') : QLatin1Char('W')).arg(point);
}

bool ClassFitsAim(int klass, int aim) {
    // Classes that only make sense for one aim.
    static constexpr int kLiveOnly[] = {9, 10, 11, 14, 59, 60, 61};
    static constexpr int kKillOnly[] = {5, 6, 7, 51, 53, 54, 55};
    static constexpr int kRaceOnly[] = {13, 56};
    auto in = [klass](const auto& list) {
        return std::find(std::begin(list), std::end(list), klass) != std::end(list);
    };
    switch (aim) {
    case 1:
        return !in(kKillOnly) && !in(kRaceOnly);
    case 2:
        return !in(kLiveOnly) && !in(kRaceOnly);
    default:
        return true; // a race is won by life or by killing alike
    }
}

bool ClassFitsGoalAim(int klass) {
    // Aim 0 ("play one move"): the goal is reached, missed or reached in
    // part, or it turns on a ko.
    static constexpr int kGoal[] = {12, 57, 58, 15, 20, 25, 30, 35, 40, 45, 50};
    return std::find(std::begin(kGoal), std::end(kGoal), klass) != std::end(kGoal);
}

bool ViewSizeHasTiles(int viewSize) {
    return viewSize == 13 || viewSize == 19;
}

std::vector<ProblemFault> CheckProblem(const Problem& p, DataSet set,
                                       const std::vector<bool>& waits) {
    std::vector<ProblemFault> faults;

    // Header values.
    const bool viewOk = p.ViewSize >= 1 && p.ViewSize <= kBoardSize;
    if (!viewOk)
        Add(faults, -1, false, QStringLiteral("VS (ViewSize) %1 is outside 1-19").arg(p.ViewSize));
    else if (!ViewSizeHasTiles(p.ViewSize))
        Add(faults, -1, false,
            QStringLiteral("VS (ViewSize) %1: stones have tiles only on a view of 13 or 19 lines")
                .arg(p.ViewSize));
    if (set == DataSet::Abc && p.Difficulty != 10 && p.Difficulty != 20 && p.Difficulty != 30)
        Add(faults, -1, false,
            QStringLiteral("DF (Difficulty) %1 is not 10, 20 or 30").arg(p.Difficulty));
    if (p.ProbPurpose < 0 || p.ProbPurpose > 3)
        Add(faults, -1, true,
            QStringLiteral("PP (aim) %1 is unknown (0 one move, 1 live, 2 kill, 3 race)")
                .arg(p.ProbPurpose));
    if (p.hands < 0 || p.hands > kMaxNodes) {
        Add(faults, -1, false, QStringLiteral("%1 nodes: at most 1000 are allowed").arg(p.hands));
        return faults;
    }

    // Start position.
    const int vs = viewOk ? p.ViewSize : kBoardSize;
    QStringList outside;
    for (int pt = 0; pt < kPoints; ++pt) {
        const int v = p.gInitBoard[pt];
        if (v == kEmpty) continue;
        if (v != kBlack && v != kWhite) {
            Add(faults, -1, false, QStringLiteral("point %1 holds %2").arg(pt).arg(v));
            continue;
        }
        if (pt % 19 >= vs || pt / 19 >= vs)
            outside << QStringLiteral("%1[%2]").arg(v == kBlack ? "AB" : "AW",
                                                    PointText(pt % 19, pt / 19));
    }
    if (!outside.isEmpty())
        Add(faults, -1, false,
            QStringLiteral("setup stone outside the %1x%1 corner: %2")
                .arg(vs)
                .arg(outside.join(' ')));
    {
        // A group without liberties in the start position is a typing slip.
        std::vector<bool> seen(kPoints, false);
        for (int pt = 0; pt < kPoints; ++pt) {
            const int v = p.gInitBoard[pt];
            if ((v != kBlack && v != kWhite) || seen[pt]) continue;
            const PointList group = CollectGroup(v, pt % 19, pt / 19, p.gInitBoard);
            for (int16_t g : group)
                seen[g] = true;
            if (IsGroupCaptured(v, pt % 19, pt / 19, p.gInitBoard))
                Add(faults, -1, true,
                    QStringLiteral("the start position has a %1 group without liberties at %2")
                        .arg(v == kBlack ? "black" : "white", PointText(pt % 19, pt / 19)));
        }
    }

    // Shape of the tree.
    const int hands = p.hands;
    bool sound = true;
    std::vector<int> childCount(static_cast<std::size_t>(hands), 0);
    int rootChildren = 0;
    for (int n = 0; n < hands; ++n) {
        const int parent = p.prev[n];
        if (p.x[n] > 18 || p.y[n] > 18) {
            Add(faults, n, false,
                QStringLiteral("move (%1,%2) is off the board").arg(p.x[n]).arg(p.y[n]));
            sound = false;
        }
        if (parent == kRoot) {
            ++rootChildren;
        } else if (parent < 0 || parent >= hands || parent == n) {
            Add(faults, n, false, QStringLiteral("parent node %1 does not exist").arg(parent));
            sound = false;
        } else {
            ++childCount[static_cast<std::size_t>(parent)];
        }
    }
    if (!sound) return faults;
    std::vector<int> depth(static_cast<std::size_t>(hands), -1);
    for (int n = 0; n < hands; ++n) {
        // Walk up until a known depth or the root; a walk longer than the node
        // count has met a cycle.
        std::vector<int> chain;
        int cur = n;
        while (cur != kRoot && depth[static_cast<std::size_t>(cur)] < 0) {
            chain.push_back(cur);
            if (static_cast<int>(chain.size()) > hands) {
                Add(faults, n, false, QStringLiteral("the parents of node %1 form a cycle").arg(n));
                return faults;
            }
            cur = p.prev[cur];
        }
        int d = cur == kRoot ? 0 : depth[static_cast<std::size_t>(cur)];
        for (auto it = chain.rbegin(); it != chain.rend(); ++it)
            depth[static_cast<std::size_t>(*it)] = ++d;
    }
    if (rootChildren > kMaxChildren)
        Add(faults, -1, false,
            QStringLiteral("%1 first moves: at most 41 are allowed").arg(rootChildren));
    std::vector<std::vector<int>> children(static_cast<std::size_t>(hands));
    std::vector<int> rootList;
    for (int n = 0; n < hands; ++n) {
        if (childCount[static_cast<std::size_t>(n)] > kMaxChildren)
            Add(faults, n, false,
                QStringLiteral("%1 variations after this move: at most 41 are allowed")
                    .arg(childCount[static_cast<std::size_t>(n)]));
        if (depth[static_cast<std::size_t>(n)] > kMaxPath)
            Add(faults, n, false,
                QStringLiteral("line of %1 moves: at most 401 are allowed")
                    .arg(depth[static_cast<std::size_t>(n)]));
        if (p.prev[n] == kRoot)
            rootList.push_back(n);
        else
            children[static_cast<std::size_t>(p.prev[n])].push_back(n);
    }

    // Moves: inside the corner and legal along their line. The walk goes
    // root first, so each move is tested on its parent's position.
    std::vector<Board> boards(static_cast<std::size_t>(hands));
    std::vector<int> todo(rootList.rbegin(), rootList.rend());
    while (!todo.empty()) {
        const int n = todo.back();
        todo.pop_back();
        const std::size_t un = static_cast<std::size_t>(n);
        const int x = p.x[n];
        const int y = p.y[n];
        if (x >= vs || y >= vs)
            Add(faults, n, false, QStringLiteral("the move is outside the %1x%1 corner").arg(vs));
        const Board& before =
            p.prev[n] == kRoot ? p.gInitBoard : boards[static_cast<std::size_t>(p.prev[n])];
        const int colour = depth[un] % 2 == 1 ? kBlack : kWhite;
        PointList captures;
        if (!CheckMove(colour, x, y, before, captures)) {
            const bool occupied = before[static_cast<std::size_t>(XYToPoint(x, y))] != kEmpty;
            Add(faults, n, false,
                occupied
                    ? QStringLiteral("illegal move: the point is occupied")
                    : QStringLiteral("illegal move: suicide (the stone would have no liberty)"));
            continue; // the lines below it are not replayed
        }
        boards[un] = before;
        ApplyMove(colour, x, y, boards[un]);
        for (auto it = children[un].rbegin(); it != children[un].rend(); ++it)
            todo.push_back(*it);
    }

    // Two variations with the same move: play always finds the first, so the
    // second can never be reached.
    auto sameMoves = [&](const std::vector<int>& list) {
        for (std::size_t i = 0; i < list.size(); ++i)
            for (std::size_t j = 0; j < i; ++j)
                if (p.x[list[i]] == p.x[list[j]] && p.y[list[i]] == p.y[list[j]]) {
                    Add(faults, list[i], true,
                        QStringLiteral("the same move as an earlier variation (node %1): this "
                                       "line can never be reached")
                            .arg(list[j]));
                    break;
                }
    };
    sameMoves(rootList);
    for (const std::vector<int>& list : children)
        sameMoves(list);

    // Leaves and their outcomes.
    bool leavesOk = true;
    for (int n = 0; n < hands; ++n) {
        if (childCount[static_cast<std::size_t>(n)] != 0) continue;
        const int r = p.code[n] * 10 + p.best[n];
        if (p.code[n] == 0) {
            Add(faults, n, false, QStringLiteral("the line ends without an outcome (OC)"));
            leavesOk = false;
        } else if (OutcomeRow(r) < 0) {
            Add(faults, n, false,
                QStringLiteral("outcome class %1 has no row in the outcome table").arg(p.code[n]));
            leavesOk = false;
        } else if (p.ProbPurpose == 0 && !ClassFitsGoalAim(p.code[n])) {
            Add(faults, n, false,
                QStringLiteral("%1 in a PP[0] problem: its lines end in 黒成功, 黒失敗, 黒損 or a "
                               "ko")
                    .arg(ResultName(r)));
            leavesOk = false;
        }
    }

    if (hands == 0) {
        Add(faults, -1, true, QStringLiteral("the problem has no moves"));
        return faults;
    }
    bool hardFault = false;
    for (const ProblemFault& f : faults)
        hardFault = hardFault || !f.warning;
    if (!leavesOk || hardFault) return faults;

    // Results: the best result against the aim, and the View lines.
    Problem q = p;
    q.gTurnOffset = 0;
    const int best = CalcAllResults(q);
    const int bestValue = ResultValue(best);
    if (bestValue / 10 <= 131)
        Add(faults, -1, true,
            QStringLiteral("the best result %1 is a failure for Black").arg(ResultName(best)));
    else if (!ClassFitsAim(best / 10, p.ProbPurpose))
        Add(faults, -1, true,
            QStringLiteral("the best result %1 does not fit the aim %2")
                .arg(ResultName(best))
                .arg(p.ProbPurpose));
    // A wrong first move should be answered: a failing line that ends on
    // Black's own first move shows no refutation, unless White's answer is
    // to wait (marked so in the source).
    for (int n : rootList)
        if (childCount[static_cast<std::size_t>(n)] == 0 &&
            !(static_cast<std::size_t>(n) < waits.size() && waits[static_cast<std::size_t>(n)]) &&
            ResultValue(q.kekkaCalc[static_cast<std::size_t>(n) + 1]) < bestValue)
            Add(faults, n, true, QStringLiteral("a wrong first move without White's refutation"));
    const NodeList repl = ListReplNodes(q);
    if (repl.empty()) {
        Add(faults, -1, true, QStringLiteral("no RP line: View has nothing to show"));
    } else {
        int correct = 0;
        for (int16_t n : repl)
            if (ResultValue(q.kekkaCalc[static_cast<std::size_t>(n) + 1]) == bestValue) ++correct;
        if (correct == 0)
            Add(faults, -1, true, QStringLiteral("no RP line reaches the best result"));
        if (correct == static_cast<int>(repl.size()))
            Add(faults, -1, true, QStringLiteral("no failure RP line"));
    }
    return faults;
}

// Holding a problem's stored tree against the solver's proof: the best class
// of the start, the correct first moves and the class of every leaf.
#pragma once

#include "library/problem.h"
#include "solver.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace velsolver {

enum class ProveStatus { Proved, Mismatch, BeyondReach };

struct ProveReport {
    ProveStatus status = ProveStatus::Proved;
    QStringList faults;       // one entry per difference found
    QString reachNote;        // why the problem is beyond reach
    int rootClass = 0;        // the solver's class of the start (0 unknown)
    int treeClass = 0;        // the tree's best class
    QStringList winningMoves; // the solver's correct first moves, "B[cd]"
    uint64_t nodes = 0;
    double ms = 0;
};

// The solver's aim of a problem: PP 1-3 as they are; PP 0 ("play one move")
// by its goal in HeadFlag, 0 connect, 1 cut. 0 when the aim is unknown.
int ProblemAim(const Problem& p);

// Builds the solver board of a problem's start position.
Goban GobanFromProblem(const Problem& p);

// Whether a leaf or best class of the tree agrees with a class found by the
// solver. Every ko kind must be the solver's own (a two-stage ko, an eternal
// ko or a double ko marked where the solver reads another ko is a mismatch).
// A group that only a ko the defender can never resolve keeps on the board
// is dead (the solver says 白死/黒死; 白死(曲り４目)/黒死(曲り４目) agree),
// never a ko.
bool ClassesAgree(int treeClass, int solverClass, int aim);

// The name of an outcome class ("白死"), or the number when it has none.
QString ClassName(int klass);

// Proves one problem within `limitMs` milliseconds, with the completeness
// of the tree (CheckCompleteness) unless `completeness` is false.
// InitOutcomeTable must have been called. `after`, when given, is called at
// the end with the solver that proved the problem (its tables as the proof
// left them) and the start position.
ProveReport ProveProblem(const Problem& problem, int limitMs, bool completeness = true,
                         const std::function<void(ProblemSolver&, const SearchStart&)>& after = {});

// The position after the moves of `path` from `s` (the start), played by
// the program's rules (no ko ban inside a line) with the history kept.
// `played` receives the number of moves tried (the illegal one included).
bool ReplayPath(const Problem& p, const NodeList& path, SearchStart& s, size_t& played);

// The first `count` moves of `path` as text, Black first ("B[ba] W[dc]").
QString PathText(const Problem& p, const NodeList& path, size_t count);

// The number of children of every node of the tree.
std::vector<int> ChildCounts(const Problem& p);

// The completeness of a proved tree: at the start and at every Black move
// of a correct line, every move that keeps the best result is in the tree,
// the most plausible wrong moves are too, and every wrong move in the tree
// carries White's refutation. Adds one fault per gap to `rep`.
void CheckCompleteness(const Problem& p, ProblemSolver& solver, const SearchStart& start,
                       const Limits& limits, ProveReport& rep);

// "B[cd]" for a move of colour at board point (x, y).
QString SgfMove(int colour, int x, int y);

} // namespace velsolver

// What a Black decision point on a correct line must hold: every move that
// keeps the best result, and the wrong moves a player is likely to try,
// each with White's refutation. prove checks trees against it and grow adds
// what is missing, so both use this one definition.
#pragma once

#include "solver.h"

#include <map>
#include <vector>

namespace velsolver {

// More moves than this keeping the best result at one point: the fight is
// decided there (almost anything works), like a point where a pass keeps it,
// and the tree need not list them all.
inline constexpr int kMaxKeepers = 3;

// Plausible wrong moves required at the start and at later Black moves.
inline constexpr int kFirstWrongMoves = 4;
inline constexpr int kLaterWrongMoves = 2;

// How likely a player is to try the move: stones next to the point (the
// defender's count double), stones on its diagonals, and room around it (a
// vital point has three or more empty neighbours in the region). 0: a move
// nobody would look at.
int Plausibility(const Region& region, const Goban& board, int cell);

struct Demand {
    int klass = 0; // class of the position (0 beyond reach)
    // Moves that keep the class's value. Left empty where Black keeps it by
    // passing or by more than kMaxKeepers moves (the fight is decided; a tree
    // need not list every move then).
    std::vector<int> keepers;
    bool passKeeps = false;
    std::vector<int> wrong;               // most plausible losing moves, best first
    std::map<int, ClassResult> classes;   // class after each legal candidate
    std::map<int, SearchStart> positions; // the position after each of them
    bool reached = true;                  // false when some move is beyond reach
    uint64_t nodes = 0;
};

// The demand at a position with Black to move. `wrongMoves`: how many
// plausible losing moves are required.
// `everyKeeper`: list every move that keeps the class even where the fight is
// decided (at the start, where all correct first moves are held).
Demand DemandAt(ProblemSolver& solver, const SearchStart& pos, const Limits& limits, int wrongMoves,
                bool everyKeeper = false);

// White's answer to a wrong move at `pos`: the line in which both sides keep
// the class, played on to a settled position. When the position is settled
// already (or White would pass) White still answers, with the most natural
// move that keeps the result, so that the learner sees the wrong move
// refuted on the board. Empty only when no White move keeps the result.
std::vector<int> Refutation(ProblemSolver& solver, const SearchStart& pos,
                            const ClassResult& result, const Limits& limits, int maxMoves);

} // namespace velsolver

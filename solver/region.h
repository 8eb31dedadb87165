// The static analysis of a problem's start position: where moves may be
// played, which stones are the target, which outer stones are walls.
#pragma once

#include "goban.h"

#include <array>
#include <cstdint>
#include <vector>

namespace velsolver {

// The aims of a problem (ProbPurpose 1-3). A problem of aim 0 ("play one
// move") names its goal apart: Connect, every one of Black's stones in the
// fight survives; Cut, every one of White's stones in the fight is captured.
enum class Aim { Live = 1, Kill = 2, Race = 3, Connect = 4, Cut = 5 };

struct Region {
    Aim aim = Aim::Kill;
    int viewSize = 19;
    int defender = kWhiteCell; // whose stones must live (Black for Live)
    int attacker = kBlackCell;
    // Cells where a move may be played when empty: the enclosed empty points
    // of the corner, the points of every stone that can be captured and the
    // liberties of weak outer chains.
    std::array<uint8_t, kCells> movable{};
    std::vector<int16_t> moveCells;
    // Empty points outside the enclosure (never played): a target chain that
    // reaches one has escaped.
    std::array<uint8_t, kCells> open{};
    // Points inside the corner (x, y < viewSize).
    std::array<uint8_t, kCells> corner{};
    // Target stones of the defender and, in a race, Black's own race stones.
    std::vector<int16_t> defenderKeys;
    std::vector<int16_t> attackerKeys;
    std::array<uint8_t, kCells> defenderKey{};
    // False when the target touches the open area at the start: the problem
    // is not enclosed and the search works on the whole corner.
    bool enclosed = true;
    // Tells this analysis apart from every other one made in the program
    // (0: none): the judge remembers its verdicts under it.
    uint64_t id = 0;
};

// Builds the region of a start position. Outer chains that touch the open
// area with three or more liberties are walls: they are never captured in
// the search (their outside liberties are never filled).
Region AnalyzeRegion(const Goban& start, int viewSize, Aim aim);

} // namespace velsolver

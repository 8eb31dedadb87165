// Completing a problem's source tree from the solver's proof: every correct
// first move, White's refutation of the plausible wrong ones, each line
// played to a settled position with its leaf labelled.
#pragma once

#include "goban.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace velsolver {

struct GrowOptions {
    int limitMs = 10000;   // per problem
    int maxNodes = 1000;   // a tree that would grow larger is left as it was
    int maxLineMoves = 24; // moves of one added line
    bool strict = false;   // a leaf out of reach fails the problem
    // A correct line that ends on Black's move goes on with White's most
    // stubborn try and Black's answer while White has a move that matters:
    // at most this many moves (0: never), the tree growing by at most
    // resistNodes nodes for all of them.
    int resistMoves = 6;
    int resistNodes = 150;
    // solve: the attacker's wall this many empty lines around the stones'
    // box (0: next to their liberties; -1: none, the open board then counts
    // as an escape).
    int frame = -1;
};

// What solve found for one position.
struct SolveReport {
    std::string title; // the source's comment
    int aim = 0;       // of the posed problem (Black to play)
    int best = 0;      // the class of the start, 0 when out of reach
    // Black's correct first moves (cells of the posed problem) and the class
    // each reaches.
    std::vector<std::pair<int, int>> correct;
    bool swapped = false; // the source had White to play
    bool flipX = false, flipY = false;
    bool beyondReach = false; // the limit was reached
    // How an answer found with a frame stands to the open position.
    enum class Frame : uint8_t {
        None,      // no frame
        Holds,     // the defender lives: more room outside cannot change that
        Confirmed, // a frame one line further out gives the start the same class
        Unchecked, // the check with the wider frame was beyond the limit
    };
    Frame frame = Frame::None;
    std::string why; // empty when solved
    double ms = 0;
};

// Grows every game tree of an SGF text. Returns false with `error` set when
// the text cannot be read; problems the solver cannot settle are written back
// unchanged and named in `notes`.
bool GrowSgf(const std::string& text, const GrowOptions& options, std::string& out,
             std::string& notes, std::string& error);

// Solves every bare position of an SGF text (root with AB, AW and PL, no
// moves): the position is posed Black to play in the top-left corner (colours
// swapped when White plays first, mirrored from other corners), its aim
// `forcedAim` when not 0, else PP, else found from which side is shut in.
// `out` receives the solved problems with their trees; positions not solved
// (reports[i].why set) are left out of it.
bool SolveSgf(const std::string& text, const GrowOptions& options, int forcedAim, std::string& out,
              std::vector<SolveReport>& reports, std::string& error);

// Walls a position in: the attacker's stones on every point `lines` + 1
// king steps from the nearest stone of `defender` that faces the open board
// beyond; whatever stood beyond the ring is taken off. `lines` empty lines
// then separate the ring from the defender's stones, which keep every
// liberty they have. With `lines` 0 the ring stands on the points two plain
// steps from the defender's stones: it touches them diagonally and keeps
// every liberty they have, with nothing beyond. `reach` receives the largest
// coordinate of a stone left.
// False when the defender has no stone or the ring would leave no open line
// inside the board.
bool AddFrame(Goban& board, int lines, int defender, int& reach);

// A correct first move of a report in the source's own terms ("W[bc]" when
// the source had White to play, unmirrored).
std::string SolvedMove(const SolveReport& report, int cell);

} // namespace velsolver

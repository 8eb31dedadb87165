// Small closed eye spaces of one chain, read once per shape: does the space
// give the chain an eye however the attacker plays in it?
#pragma once

#include <cstdint>
#include <vector>

namespace velsolver {

// The largest space read: along the edge (two lines wide), and as a block.
inline constexpr int kEyeMaxPoints = 12;
inline constexpr int kEyeMaxBlock = 10;

// One point of a space: its place (relative to the space's top-left
// corner), whether an attacker stone stands on it and whether it touches the
// chain around the space.
struct EyePoint {
    uint8_t x = 0;
    uint8_t y = 0;
    bool attacker = false;
    bool touchesChain = false;
};

// `points` (at most kEyeMaxPoints, in any order) is a space bounded only by
// one chain of the defender and the edge. True when the defender, answering
// every attacker move inside the space (or passing), keeps a liberty of the
// chain inside it while the chain has one more liberty elsewhere, and within
// a bounded number of moves reaches a shape where every empty point of the
// space touches the chain and no other stone of the defender stands in it
// (the attacker can then never fill the last point). The attacker may take
// every ko; the defender never takes one. Two such spaces, or one and a
// space of Benson's, give the chain two eyes. Results are remembered per
// shape for the thread.
bool SureEye(std::vector<EyePoint> points);

} // namespace velsolver

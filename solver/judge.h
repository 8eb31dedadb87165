// Static judgement of a search position: target captured, unconditional life
// (Benson's algorithm, or an escape into the open area) and dead eye shapes.
#pragma once

#include "eyes.h"
#include "region.h"

#include <utility>

namespace velsolver {

enum class Verdict : uint8_t { None, DefenderWins, AttackerWins };

class Judge {
public:
    // `everyKey`: every target stone is at stake, not the target as a whole:
    // the attacker wins as soon as any of them is captured, the defender only
    // when all of them are safe (a connection must save every stone, where
    // a life needs one living chain and a kill must take them all).
    explicit Judge(const Region& region, bool everyKey = false);

    // `checkLife`: whether unconditional life can have arisen (it only can
    // after a move of the defender, or at the start). Verdicts are
    // remembered by board key for every judge of the same region (the
    // searches of one problem meet the same positions).
    Verdict Evaluate(const Goban& b, int toMove, bool checkLife) const;
    // Asks the memory for the remembered verdict of a board key.
    void Prefetch(uint64_t boardKey, int toMove, bool checkLife) const;

    bool AnyDefenderKey(const Goban& b) const;
    bool AnyAttackerKey(const Goban& b) const;
    // Every target stone still stands on its point.
    bool EveryDefenderKey(const Goban& b) const;
    // A target chain (with `everyKey` every target chain) is unconditionally
    // alive (Benson) or has escaped.
    bool DefenderSafe(const Goban& b) const;
    // The target's only eye space is a dead shape: one or two points, or a
    // nakade shape of three to six empty points with the attacker to move
    // (the square four whoever moves).
    bool StaticDead(const Goban& b, int toMove) const;

private:
    Verdict Judgement(const Goban& b, int toMove, bool checkLife) const;
    const Region& r_;
    bool everyKey_;
    uint64_t memoSalt_ = 0; // 0: verdicts not remembered
    // Per point in play (the order of moveCells): its neighbours in play,
    // cell 0 (a border cell) where there are fewer than four.
    std::vector<std::array<int16_t, 4>> playNeighbours_;
    mutable std::vector<int16_t> stones_, libs_, queue_;
    mutable std::array<int16_t, kCells> label_{};
    mutable std::array<int16_t, kCells> area_{};
    // Points in play next to a point out of play.
    std::vector<int16_t> rim_;
    // Points next to the open area (out of it).
    std::vector<int16_t> openEdge_;
    // Whether DefenderSafe can hold: a defender stone touches the open area
    // or there are two closed regions.
    bool MayBeSafe(const Goban& b) const;
    // The same on masks of the points in play (bit i: moveCells[i]), for
    // regions of at most 64 points.
    bool MayBeSafeMasks(const Goban& b) const;
    // Whether the closed area in queue_ (around one chain) is a sure eye.
    bool SureEyeOf(const Goban& b) const;
    mutable std::vector<EyePoint> eyePoints_;
    // Per point in play, its neighbours in play as a mask.
    std::vector<uint64_t> nbMask_;
    // Points in play next to a point out of play (not the border): the
    // point's index and that neighbour's cell.
    std::vector<std::pair<uint8_t, int16_t>> outNeighbours_;
    // The eye space of StaticDead: points marked with the current generation.
    mutable std::array<uint32_t, kCells> inSpace_{};
    // Attacker stones whose chain StaticDead has already looked at.
    mutable std::array<uint32_t, kCells> chainSeen_{};
    mutable uint32_t gen_ = 0;
    struct Area {
        uint64_t adjacent; // chains next to the area
        uint64_t vital;    // chains every empty point of the area touches
        bool closed;       // bounded by the defender alone
        bool small;        // a sure eye of the one chain around it
    };
    mutable std::vector<Area> areas_;
};

} // namespace velsolver

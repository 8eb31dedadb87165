#include "judge.h"

#include <algorithm>
#include <bit>

namespace velsolver {

bool Judge::AnyDefenderKey(const Goban& b) const {
    for (int k : r_.defenderKeys)
        if (b.At(k) == r_.defender) return true;
    return false;
}

bool Judge::AnyAttackerKey(const Goban& b) const {
    for (int k : r_.attackerKeys)
        if (b.At(k) == r_.attacker) return true;
    return false;
}

Verdict Judge::Evaluate(const Goban& b, int toMove, bool checkLife) const {
    if (!AnyDefenderKey(b)) return Verdict::AttackerWins;
    if (r_.aim == Aim::Race && !r_.attackerKeys.empty() && !AnyAttackerKey(b))
        return Verdict::DefenderWins;
    if (checkLife && DefenderSafe(b)) return Verdict::DefenderWins;
    if (StaticDead(b, toMove)) return Verdict::AttackerWins;
    return Verdict::None;
}

bool Judge::DefenderSafe(const Goban& b) const {
    const int def = r_.defender;
    // Label the defender's chains in play (stones on movable points). Other
    // defender stones stand for chains outside the analysis (bit 63).
    constexpr int kOuter = 63;
    label_.fill(-1);
    int chains = 0;
    uint64_t keyChains = 0;
    for (int c : r_.moveCells) {
        if (b.At(c) != def || label_[c] >= 0) continue;
        if (chains >= kOuter) return false;
        b.Chain(c, stones_, &libs_);
        bool key = false;
        for (int s : stones_) {
            label_[s] = static_cast<int16_t>(chains);
            if (r_.defenderKey[s]) key = true;
        }
        if (key) {
            for (int l : libs_)
                if (r_.open[l]) return true; // escaped
            keyChains |= uint64_t{1} << chains;
        }
        ++chains;
    }
    if (!keyChains) return false;

    // The regions: connected sets of non-defender points in play. A region
    // that reaches a point out of play (a wall, the open area) is not closed.
    std::vector<Area>& areas = areas_;
    areas.clear();
    std::array<int16_t, kCells>& area = area_;
    for (int c : r_.moveCells)
        area[c] = -1;
    for (int c : r_.moveCells) {
        if (b.At(c) == def || area[c] >= 0) continue;
        Area a{0, ~uint64_t{0}, true, false};
        bool attackerInside = false;
        const int16_t id = static_cast<int16_t>(areas.size());
        queue_.clear();
        queue_.push_back(static_cast<int16_t>(c));
        area[c] = id;
        for (size_t i = 0; i < queue_.size(); ++i) {
            const int p = queue_[i];
            uint64_t libOf = 0;
            for (int d : kDelta) {
                const int n = p + d;
                const uint8_t v = b.At(n);
                if (v == kBorderCell) continue;
                if (v == def) {
                    libOf |= uint64_t{1} << (label_[n] >= 0 ? label_[n] : kOuter);
                } else if (!r_.movable[n]) {
                    a.closed = false;
                } else if (area[n] < 0) {
                    area[n] = id;
                    queue_.push_back(static_cast<int16_t>(n));
                }
            }
            a.adjacent |= libOf;
            if (b.At(p) == kEmptyCell)
                a.vital &= libOf;
            else
                attackerInside = true;
        }
        a.vital &= a.adjacent;
        // A small empty area bounded by one chain alone: the attacker can
        // neither live in it nor fill it, so it always gives that chain an eye.
        a.small =
            a.closed && !attackerInside && queue_.size() <= 6 && std::popcount(a.adjacent) == 1;
        areas.push_back(a.closed ? a : Area{0, 0, false, false});
    }

    uint64_t alive = (uint64_t{1} << chains) - 1;
    for (bool changed = true; changed;) {
        changed = false;
        for (int i = 0; i < chains; ++i) {
            const uint64_t bit = uint64_t{1} << i;
            if (!(alive & bit)) continue;
            int healthy = 0;
            for (const Area& a : areas)
                if (a.closed && (a.vital & bit || (a.small && a.adjacent == bit)) &&
                    (a.adjacent & ~alive) == 0)
                    ++healthy;
            if (healthy < 2) {
                alive &= ~bit;
                changed = true;
            }
        }
    }
    return (alive & keyChains) != 0;
}

bool Judge::StaticDead(const Goban& b, int toMove) const {
    const int def = r_.defender;
    const int att = r_.attacker;
    // Quick test: the eye space holds every liberty, so at most six of them
    // (liberties out of play fail below).
    {
        int libs = 0;
        for (int c : r_.moveCells) {
            if (b.At(c) != kEmptyCell) continue;
            for (int d : kDelta) {
                const int n = c + d;
                if (b.At(n) == def && r_.movable[n]) {
                    if (++libs > 6) return false;
                    break;
                }
            }
        }
    }
    // Every defender stone in play, with the liberties of all of them.
    label_.fill(0); // 1 defender stone, 2 liberty, 3 eye-space point
    int seed = -1;
    for (int c : r_.moveCells) {
        if (b.At(c) != def) continue;
        for (int d : kDelta) {
            const int n = c + d;
            if (b.At(n) == def && !r_.movable[n]) return false; // joined to outer stones
            if (b.At(n) == kEmptyCell) {
                if (!r_.movable[n]) return false; // a liberty in the open
                label_[n] = 2;
                if (seed < 0) seed = n;
            }
        }
        label_[c] = 1;
    }
    if (seed < 0) return false;
    // The eye space: the non-defender area around the first liberty.
    queue_.clear();
    queue_.push_back(static_cast<int16_t>(seed));
    label_[seed] = 3;
    bool attackerInside = false;
    for (size_t i = 0; i < queue_.size(); ++i) {
        const int p = queue_[i];
        if (queue_.size() > 6 || r_.open[p] || !r_.movable[p]) return false;
        if (b.At(p) == att) attackerInside = true;
        for (int d : kDelta) {
            const int n = p + d;
            const uint8_t v = b.At(n);
            if (v == kBorderCell || label_[n] == 3) continue;
            if (v == def) {
                if (label_[n] != 1) return false; // an outer defender stone
                continue;
            }
            label_[n] = 3;
            queue_.push_back(static_cast<int16_t>(n));
        }
    }
    const int size = static_cast<int>(queue_.size());
    for (int c : r_.moveCells)
        if (label_[c] == 2) return false; // a liberty outside the eye space
    // The attacker's chains around the target must not be capturable first.
    for (int c : r_.moveCells) {
        if (b.At(c) != def) continue;
        for (int d : kDelta) {
            const int n = c + d;
            if (b.At(n) != att || label_[n] == 3) continue;
            b.Chain(n, stones_, &libs_);
            const bool wall =
                std::any_of(libs_.begin(), libs_.end(), [&](int l) { return r_.open[l] != 0; });
            if (!wall && static_cast<int>(libs_.size()) < size + 3) return false;
        }
    }
    if (size <= 2) return true;
    if (attackerInside) return false;
    // Degrees inside the eye space and 2 x 2 blocks.
    int maxDegree = 0;
    bool block = false;
    for (int p : queue_) {
        int degree = 0;
        for (int d : kDelta)
            if (label_[p + d] == 3 && b.At(p + d) != kBorderCell) ++degree;
        maxDegree = std::max(maxDegree, degree);
        if (label_[p + 1] == 3 && label_[p + kStride] == 3 && label_[p + kStride + 1] == 3)
            block = true;
    }
    const bool attackerToMove = toMove == att;
    switch (size) {
    case 3:
        return attackerToMove;
    case 4:
        if (block) return true;
        return attackerToMove && maxDegree == 3;
    case 5:
        return attackerToMove && (block || maxDegree == 4);
    case 6:
        return attackerToMove && block && maxDegree == 4;
    default:
        return false;
    }
}

} // namespace velsolver

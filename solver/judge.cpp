#include "judge.h"

#include <algorithm>
#include <bit>

namespace velsolver {

namespace {
// Verdicts by board key, shared by the judges of a thread; the key holds
// the region's id, so judges of different regions never read each
// other's verdicts.
// A slot holds the key with its two lowest bits (those the slot's index
// already gives) replaced by the verdict + 1; 0 is an empty slot.
constexpr int kMemoBits = 20;
constexpr uint64_t kMemoMask = (uint64_t{1} << kMemoBits) - 1;
std::vector<uint64_t>& Memo() {
    thread_local std::vector<uint64_t> memo(size_t{1} << kMemoBits);
    return memo;
}
constexpr uint64_t kLifeChecked = 0x6c6966655f636b31ull;
} // namespace

Judge::Judge(const Region& region, bool everyKey)
    : r_(region), everyKey_(everyKey), memoSalt_(region.id == 0 ? 0
                                                 : everyKey     ? Mix64(region.id)
                                                                : region.id) {
    playNeighbours_.reserve(r_.moveCells.size());
    for (int c : r_.moveCells) {
        std::array<int16_t, 4> nb{};
        int k = 0;
        for (int d : kDelta)
            if (r_.movable[c + d]) nb[k++] = static_cast<int16_t>(c + d);
        playNeighbours_.push_back(nb);
    }
    if (r_.moveCells.size() <= 64) {
        std::array<int, kCells> index{};
        index.fill(-1);
        for (size_t i = 0; i < r_.moveCells.size(); ++i)
            index[static_cast<size_t>(r_.moveCells[i])] = static_cast<int>(i);
        for (size_t i = 0; i < r_.moveCells.size(); ++i) {
            uint64_t mask = 0;
            for (int d : kDelta) {
                const int n = r_.moveCells[i] + d;
                if (index[static_cast<size_t>(n)] >= 0)
                    mask |= uint64_t{1} << index[static_cast<size_t>(n)];
                else if (CellX(n) >= 0 && CellX(n) < kSide && CellY(n) >= 0 && CellY(n) < kSide)
                    outNeighbours_.emplace_back(static_cast<uint8_t>(i), static_cast<int16_t>(n));
            }
            nbMask_.push_back(mask);
        }
    }
    for (int c : r_.moveCells)
        if (std::any_of(kDelta.begin(), kDelta.end(), [&](int d) {
                const int n = c + d;
                const bool onBoard =
                    CellX(n) >= 0 && CellX(n) < kSide && CellY(n) >= 0 && CellY(n) < kSide;
                return onBoard && !r_.movable[n];
            }))
            rim_.push_back(static_cast<int16_t>(c));
    for (int c = 0; c < kCells; ++c)
        if (!r_.open[c] && CellX(c) >= 0 && CellX(c) < kSide && CellY(c) >= 0 && CellY(c) < kSide &&
            std::any_of(kDelta.begin(), kDelta.end(), [&](int d) {
                const int n = c + d;
                return n >= 0 && n < kCells && r_.open[n];
            }))
            openEdge_.push_back(static_cast<int16_t>(c));
}

bool Judge::AnyDefenderKey(const Goban& b) const {
    for (int k : r_.defenderKeys)
        if (b.At(k) == r_.defender) return true;
    return false;
}

bool Judge::EveryDefenderKey(const Goban& b) const {
    for (int k : r_.defenderKeys)
        if (b.At(k) != r_.defender) return false;
    return true;
}

bool Judge::AnyAttackerKey(const Goban& b) const {
    for (int k : r_.attackerKeys)
        if (b.At(k) == r_.attacker) return true;
    return false;
}

Verdict Judge::Evaluate(const Goban& b, int toMove, bool checkLife) const {
    if (everyKey_ ? !EveryDefenderKey(b) : !AnyDefenderKey(b)) return Verdict::AttackerWins;
    if (r_.aim == Aim::Race && !r_.attackerKeys.empty() && !AnyAttackerKey(b))
        return Verdict::DefenderWins;
    if (!memoSalt_) return Judgement(b, toMove, checkLife);
    const uint64_t key =
        b.Hash() ^ Zobrist::Get().side[toMove] ^ (checkLife ? kLifeChecked : 0) ^ memoSalt_;
    uint64_t& slot = Memo()[key & kMemoMask];
    if ((slot & 3) && (slot ^ key) >> 2 == 0) return static_cast<Verdict>((slot & 3) - 1);
    const Verdict v = Judgement(b, toMove, checkLife);
    slot = (key & ~uint64_t{3}) | (static_cast<uint64_t>(v) + 1);
    return v;
}

void Judge::Prefetch(uint64_t boardKey, int toMove, bool checkLife) const {
    if (!memoSalt_) return;
    const uint64_t key =
        boardKey ^ Zobrist::Get().side[toMove] ^ (checkLife ? kLifeChecked : 0) ^ memoSalt_;
    __builtin_prefetch(&Memo()[key & kMemoMask]);
}

Verdict Judge::Judgement(const Goban& b, int toMove, bool checkLife) const {
    if (checkLife && DefenderSafe(b)) return Verdict::DefenderWins;
    if (StaticDead(b, toMove)) return Verdict::AttackerWins;
    return Verdict::None;
}

bool Judge::DefenderSafe(const Goban& b) const {
    const int def = r_.defender;
    if (!MayBeSafe(b)) return false;
    // Label the defender's chains in play (stones on movable points). Other
    // defender stones stand for chains outside the analysis (bit 63).
    constexpr int kOuter = 63;
    label_.fill(-1);
    int chains = 0;
    uint64_t keyChains = 0;
    uint64_t escaped = 0;
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
            const uint64_t bit = uint64_t{1} << chains;
            for (int l : libs_)
                if (r_.open[l]) {
                    if (!everyKey_) return true; // escaped
                    escaped |= bit;
                }
            keyChains |= bit;
        }
        ++chains;
    }
    if (!keyChains) return false;
    if (everyKey_ && escaped == keyChains) return true;

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
        // A larger one, or one with the attacker's stones in it, by reading
        // what the attacker can do there (remembered per shape).
        if (a.closed && !a.small && !a.vital && std::popcount(a.adjacent) == 1 &&
            !(a.adjacent >> kOuter) && queue_.size() <= static_cast<size_t>(kEyeMaxPoints))
            a.small = SureEyeOf(b);
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
    if (everyKey_) return ((alive | escaped) & keyChains) == keyChains;
    return (alive & keyChains) != 0;
}

bool Judge::SureEyeOf(const Goban& b) const {
    int minX = kSide, minY = kSide;
    for (int p : queue_) {
        minX = std::min(minX, CellX(p));
        minY = std::min(minY, CellY(p));
    }
    std::vector<EyePoint>& points = eyePoints_;
    points.clear();
    for (int p : queue_) {
        EyePoint e;
        e.x = static_cast<uint8_t>(CellX(p) - minX);
        e.y = static_cast<uint8_t>(CellY(p) - minY);
        e.attacker = b.At(p) != kEmptyCell;
        e.touchesChain = std::any_of(kDelta.begin(), kDelta.end(),
                                     [&](int d) { return b.At(p + d) == r_.defender; });
        points.push_back(e);
    }
    return SureEye(points);
}

bool Judge::MayBeSafe(const Goban& b) const {
    const int def = r_.defender;
    // A defender stone next to the open area may belong to a chain that
    // has escaped.
    for (int c : openEdge_)
        if (b.At(c) == def) return true;
    // Unconditional life needs two closed regions (connected sets of
    // non-defender points in play that reach no point out of play) that
    // can be healthy: every empty point next to the defender, or an area of
    // at most kEyeMaxPoints points (a sure eye: see DefenderSafe).
    if (!nbMask_.empty()) return MayBeSafeMasks(b);
    if (++gen_ == 0) {
        inSpace_.fill(0);
        chainSeen_.fill(0);
        gen_ = 1;
    }
    int closed = 0;
    for (int c : r_.moveCells) {
        if (b.At(c) == def || inSpace_[c] == gen_) continue;
        bool isClosed = true;
        bool everyEmptyTouches = true;
        queue_.clear();
        queue_.push_back(static_cast<int16_t>(c));
        inSpace_[c] = gen_;
        for (size_t i = 0; i < queue_.size(); ++i) {
            const int p = queue_[i];
            bool touches = false;
            for (int d : kDelta) {
                const int n = p + d;
                const uint8_t v = b.At(n);
                if (v == def) {
                    touches = true;
                    continue;
                }
                if (v == kBorderCell || inSpace_[n] == gen_) continue;
                if (!r_.movable[n]) {
                    isClosed = false;
                    continue;
                }
                inSpace_[n] = gen_;
                queue_.push_back(static_cast<int16_t>(n));
            }
            if (b.At(p) == kEmptyCell && !touches) everyEmptyTouches = false;
        }
        const bool mayBeHealthy =
            everyEmptyTouches || queue_.size() <= static_cast<size_t>(kEyeMaxPoints);
        if (isClosed && mayBeHealthy && ++closed == 2) return true;
    }
    return false;
}

bool Judge::MayBeSafeMasks(const Goban& b) const {
    const int def = r_.defender;
    uint64_t defender = 0, empty = 0;
    for (size_t i = 0; i < r_.moveCells.size(); ++i) {
        const uint8_t v = b.At(r_.moveCells[i]);
        if (v == def)
            defender |= uint64_t{1} << i;
        else if (v == kEmptyCell)
            empty |= uint64_t{1} << i;
    }
    // Points whose region reaches out of play, and points next to a
    // defender stone out of play.
    uint64_t leaks = 0, touches = 0;
    for (const auto& [i, n] : outNeighbours_) {
        const uint8_t v = b.At(n);
        if (v == def)
            touches |= uint64_t{1} << i;
        else if (v != kBorderCell)
            leaks |= uint64_t{1} << i;
    }
    for (uint64_t e = empty; e; e &= e - 1) {
        const int i = std::countr_zero(e);
        if (nbMask_[static_cast<size_t>(i)] & defender) touches |= uint64_t{1} << i;
    }
    const uint64_t all =
        r_.moveCells.size() == 64 ? ~uint64_t{0} : (uint64_t{1} << r_.moveCells.size()) - 1;
    uint64_t rest = all & ~defender;
    int closed = 0;
    while (rest) {
        uint64_t area = rest & (~rest + 1);
        for (uint64_t frontier = area; frontier;) {
            const int i = std::countr_zero(frontier);
            frontier &= frontier - 1;
            const uint64_t next = nbMask_[static_cast<size_t>(i)] & rest & ~area;
            area |= next;
            frontier |= next;
        }
        rest &= ~area;
        if (area & leaks) continue;
        const bool everyEmptyTouches = (area & empty & ~touches) == 0;
        if ((everyEmptyTouches || std::popcount(area) <= kEyeMaxPoints) && ++closed == 2)
            return true;
    }
    return false;
}

bool Judge::StaticDead(const Goban& b, int toMove) const {
    const int def = r_.defender;
    const int att = r_.attacker;
    // The liberties of the defender's stones in play (the eye space holds
    // all of them, so at most six), with the first of them as the seed.
    // Liberties out of play are caught by the next test.
    int libCount = 0;
    std::array<int16_t, 6> eyeLibs{};
    for (size_t i = 0; i < r_.moveCells.size(); ++i) {
        const int c = r_.moveCells[i];
        if (b.At(c) != kEmptyCell) continue;
        const std::array<int16_t, 4>& nb = playNeighbours_[i];
        if (b.At(nb[0]) == def || b.At(nb[1]) == def || b.At(nb[2]) == def || b.At(nb[3]) == def) {
            if (libCount == 6) return false;
            eyeLibs[libCount++] = static_cast<int16_t>(c);
        }
    }
    if (libCount == 0) return false;
    // A stone in play joined to outer stones or with a liberty in the open
    // (only points next to points out of play can have them).
    for (int c : rim_) {
        if (b.At(c) != def) continue;
        for (int d : kDelta) {
            const int n = c + d;
            if (!r_.movable[n] && (b.At(n) == def || b.At(n) == kEmptyCell)) return false;
        }
    }
    // The eye space: the non-defender area around the first liberty.
    if (++gen_ == 0) {
        inSpace_.fill(0);
        chainSeen_.fill(0);
        gen_ = 1;
    }
    const int seed = eyeLibs[0];
    queue_.clear();
    queue_.push_back(static_cast<int16_t>(seed));
    inSpace_[seed] = gen_;
    bool attackerInside = false;
    for (size_t i = 0; i < queue_.size(); ++i) {
        const int p = queue_[i];
        if (queue_.size() > 6 || r_.open[p] || !r_.movable[p]) return false;
        if (b.At(p) == att) attackerInside = true;
        for (int d : kDelta) {
            const int n = p + d;
            const uint8_t v = b.At(n);
            if (v == kBorderCell || inSpace_[n] == gen_) continue;
            if (v == def) {
                if (!r_.movable[n]) return false; // an outer defender stone
                continue;
            }
            inSpace_[n] = gen_;
            queue_.push_back(static_cast<int16_t>(n));
        }
    }
    for (int i = 0; i < libCount; ++i)
        if (inSpace_[eyeLibs[i]] != gen_) return false; // a liberty outside the eye space
    const int size = static_cast<int>(queue_.size());
    // The attacker's chains around the target must not be capturable first.
    for (int c : r_.moveCells) {
        if (b.At(c) != def) continue;
        for (int d : kDelta) {
            const int n = c + d;
            if (b.At(n) != att || inSpace_[n] == gen_ || chainSeen_[n] == gen_) continue;
            b.Chain(n, stones_, &libs_);
            for (int s : stones_)
                chainSeen_[s] = gen_;
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
            if (inSpace_[p + d] == gen_ && b.At(p + d) != kBorderCell) ++degree;
        maxDegree = std::max(maxDegree, degree);
        if (inSpace_[p + 1] == gen_ && inSpace_[p + kStride] == gen_ &&
            inSpace_[p + kStride + 1] == gen_)
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

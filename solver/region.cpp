#include "region.h"

#include <algorithm>
#include <atomic>

namespace velsolver {

namespace {

// Marks the points in play and the targets for a given open area. False when
// no target stone is enclosed (every defender chain reaches the open area).
bool Enclose(const Goban& start, Region& r, const std::array<uint8_t, kCells>& outside) {
    const Aim aim = r.aim;
    r.movable.fill(0);
    r.defenderKeys.clear();
    r.attackerKeys.clear();
    std::array<uint8_t, kCells> seen{};
    std::vector<int16_t> stones, libs;
    for (int c = 0; c < kCells; ++c) {
        if (!r.corner[c]) continue;
        const uint8_t colour = start.At(c);
        if (colour == kEmptyCell) {
            if (!outside[c]) r.movable[c] = 1;
            continue;
        }
        if (seen[c]) continue;
        start.Chain(c, stones, &libs);
        for (int s : stones)
            seen[s] = 1;
        const bool touchesOpen =
            std::any_of(libs.begin(), libs.end(), [&](int l) { return outside[l] != 0; });
        const bool outerColour = aim == Aim::Race || colour == r.attacker;
        bool capturable = true;
        if (touchesOpen) {
            if (outerColour && libs.size() >= 3) {
                capturable = false; // a wall
            } else if (outerColour) {
                for (int l : libs)
                    r.movable[l] = 1; // a weak outer chain
            } else {
                capturable = false; // the defender's own outside stones
            }
        }
        if (!capturable) continue;
        for (int s : stones) {
            r.movable[s] = 1;
            if (colour == r.defender)
                r.defenderKeys.push_back(static_cast<int16_t>(s));
            else if (aim == Aim::Race)
                r.attackerKeys.push_back(static_cast<int16_t>(s));
        }
    }

    return !r.defenderKeys.empty();
}

} // namespace

Region AnalyzeRegion(const Goban& start, int viewSize, Aim aim) {
    Region r;
    r.aim = aim;
    r.viewSize = std::clamp(viewSize, 1, kSide);
    r.defender = aim == Aim::Live || aim == Aim::Connect ? kBlackCell : kWhiteCell;
    r.attacker = Other(r.defender);
    const int vs = r.viewSize;
    for (int y = 0; y < vs; ++y)
        for (int x = 0; x < vs; ++x)
            r.corner[CellOf(x, y)] = 1;

    // The open area: empty points reachable from the far edges of the corner
    // (on the whole board, from the points more than a line beyond the
    // stones' box).
    int x0 = kSide, y0 = kSide, x1 = -1, y1 = -1;
    for (int c = 0; c < kCells; ++c) {
        if (!r.corner[c] || start.At(c) == kEmptyCell) continue;
        x0 = std::min(x0, CellX(c));
        x1 = std::max(x1, CellX(c));
        y0 = std::min(y0, CellY(c));
        y1 = std::max(y1, CellY(c));
    }
    auto beyondBox = [&](int c) {
        const int x = CellX(c), y = CellY(c);
        return x < x0 - 1 || x > x1 + 1 || y < y0 - 1 || y > y1 + 1;
    };
    std::array<uint8_t, kCells> outside{};
    std::vector<int16_t> stack;
    {
        auto seed = [&](int c) {
            if (start.At(c) == kEmptyCell && !outside[c]) {
                outside[c] = 1;
                stack.push_back(static_cast<int16_t>(c));
            }
        };
        if (vs < kSide) {
            for (int i = 0; i < vs; ++i) {
                seed(CellOf(vs - 1, i));
                seed(CellOf(i, vs - 1));
            }
        } else {
            for (int c = 0; c < kCells; ++c)
                if (r.corner[c] && beyondBox(c)) seed(c);
        }
        while (!stack.empty()) {
            const int p = stack.back();
            stack.pop_back();
            for (int d : kDelta) {
                const int n = p + d;
                if (r.corner[n] && !outside[n] && start.At(n) == kEmptyCell) {
                    outside[n] = 1;
                    stack.push_back(static_cast<int16_t>(n));
                }
            }
        }
    }

    if (!Enclose(start, r, outside)) {
        // A loose net: the area around the stones (their bounding box and
        // one line more) is in play, the rest of the corner is open.
        outside.fill(0);
        for (int c = 0; c < kCells; ++c)
            if (r.corner[c] && start.At(c) == kEmptyCell && beyondBox(c)) outside[c] = 1;
    }
    if (r.defenderKeys.empty() && !Enclose(start, r, outside)) {
        // Nothing enclosed to attack: search the whole corner.
        r.enclosed = false;
        r.movable = r.corner;
        r.attackerKeys.clear();
        for (int c = 0; c < kCells; ++c) {
            if (!r.corner[c]) continue;
            if (start.At(c) == r.defender) r.defenderKeys.push_back(static_cast<int16_t>(c));
            if (aim == Aim::Race && start.At(c) == r.attacker)
                r.attackerKeys.push_back(static_cast<int16_t>(c));
        }
        outside.fill(0);
    }
    for (int k : r.defenderKeys)
        r.defenderKey[k] = 1;
    for (int c = 0; c < kCells; ++c) {
        if (r.movable[c]) r.moveCells.push_back(static_cast<int16_t>(c));
        r.open[c] = outside[c] && !r.movable[c];
    }
    static std::atomic<uint64_t> analyses{0};
    r.id = Mix64(analyses.fetch_add(1, std::memory_order_relaxed) + 1) | 1;
    return r;
}

} // namespace velsolver

#include "eyes.h"

#include <algorithm>
#include <array>
#include <bit>
#include <memory>
#include <string>
#include <unordered_map>

namespace velsolver {

namespace {

// A space as masks over its points (bit i: point i).
class EyeReader {
public:
    explicit EyeReader(const std::vector<EyePoint>& points) : n_(static_cast<int>(points.size())) {
        for (int i = 0; i < n_; ++i) {
            const EyePoint& p = points[static_cast<size_t>(i)];
            if (p.touchesChain) touch_ |= Bit(i);
            for (int j = 0; j < n_; ++j) {
                const EyePoint& q = points[static_cast<size_t>(j)];
                if (std::abs(p.x - q.x) + std::abs(p.y - q.y) == 1)
                    nb_[static_cast<size_t>(i)] |= Bit(j);
            }
        }
    }

    bool Read(uint32_t attacker) {
        const uint32_t all = (uint32_t{1} << n_) - 1;
        // Enough moves to fill the space and take back a few stones.
        return AttackerTurn(all & ~attacker, attacker, 0, n_ + 1);
    }

    size_t Positions() const { return known_.size(); }

private:
    static constexpr int8_t kUnknownWin = 127;
    static constexpr int8_t kUnknownFail = -1;
    static uint32_t Bit(int i) { return uint32_t{1} << i; }

    uint32_t Neighbours(uint32_t set) const {
        uint32_t out = 0;
        for (uint32_t s = set; s; s &= s - 1)
            out |= nb_[static_cast<size_t>(std::countr_zero(s))];
        return out & ~set;
    }
    // The stones of `colour` (mask) connected to `seed` (mask).
    uint32_t Flood(uint32_t seed, uint32_t colour) const {
        uint32_t set = seed & colour;
        for (uint32_t grown = set; grown;) {
            const uint32_t next = Neighbours(set) & colour;
            grown = next & ~set;
            set |= next;
        }
        return set;
    }
    // The defender's stones joined to the chain around the space.
    uint32_t Chain(uint32_t defender) const { return Flood(defender & touch_, defender); }
    uint32_t Index(uint32_t attacker, uint32_t defender) const {
        uint32_t index = 0;
        for (int i = n_ - 1; i >= 0; --i)
            index = index * 3 + ((attacker >> i) & 1 ? 1 : (defender >> i) & 1 ? 2 : 0);
        return index;
    }

    // The attacker to move: does the defender hold within `budget` attacker moves?
    bool AttackerTurn(uint32_t empty, uint32_t attacker, uint32_t defender, int budget) {
        const uint32_t chain = Chain(defender);
        const uint32_t touching = touch_ | Neighbours(chain);
        if (!(empty & touching)) return false; // the chain's last liberty is elsewhere
        if (!(defender & ~chain) && !(empty & ~touching)) return true;
        if (budget == 0) return false;
        Known& k = known_[Index(attacker, defender) * 2];
        if (k.winAt <= budget) return true;
        if (k.failAt >= budget) return false;
        // The attacker may also play elsewhere: the defender must then
        // settle the space alone (a seki is no eye).
        bool holds = DefenderTurn(empty, attacker, defender, budget - 1);
        for (uint32_t e = empty; e && holds; e &= e - 1) {
            const uint32_t p = e & (~e + 1);
            uint32_t att = attacker | p;
            uint32_t emp = empty & ~p;
            uint32_t def = defender;
            // Stones of the defender apart from the chain that lose their
            // last liberty are taken.
            for (uint32_t rest = def & ~chain & Neighbours(p); rest;) {
                const uint32_t group = Flood(rest & (~rest + 1), def & ~chain);
                rest &= ~group;
                if (!(Neighbours(group) & emp)) {
                    def &= ~group;
                    emp |= group;
                }
            }
            if (!(Neighbours(Flood(p, att)) & emp)) continue; // suicide
            holds = DefenderTurn(emp, att, def, budget - 1);
        }
        if (holds)
            k.winAt = static_cast<int8_t>(std::min<int>(k.winAt, budget));
        else
            k.failAt = static_cast<int8_t>(std::max<int>(k.failAt, budget));
        return holds;
    }

    bool DefenderTurn(uint32_t empty, uint32_t attacker, uint32_t defender, int budget) {
        Known& k = known_[Index(attacker, defender) * 2 + 1];
        if (k.winAt <= budget) return true;
        if (k.failAt >= budget) return false;
        // Moves joined to the chain first, a move elsewhere last.
        const uint32_t joining = empty & (touch_ | Neighbours(Chain(defender)));
        bool holds = false;
        for (uint32_t e = joining, pass = 0; !holds && pass < 2; e = empty & ~joining, ++pass)
            for (; e && !holds; e &= e - 1) {
                const uint32_t p = e & (~e + 1);
                holds = DefenderMove(empty, attacker, defender, p, budget);
            }
        if (!holds) holds = AttackerTurn(empty, attacker, defender, budget);
        if (holds)
            k.winAt = static_cast<int8_t>(std::min<int>(k.winAt, budget));
        else
            k.failAt = static_cast<int8_t>(std::max<int>(k.failAt, budget));
        return holds;
    }

    // The defender plays at `p`: false when the move is not allowed.
    bool DefenderMove(uint32_t empty, uint32_t attacker, uint32_t defender, uint32_t p,
                      int budget) {
        uint32_t def = defender | p;
        uint32_t emp = empty & ~p;
        uint32_t att = attacker;
        uint32_t taken = 0;
        for (uint32_t rest = att & Neighbours(p); rest;) {
            const uint32_t group = Flood(rest & (~rest + 1), att);
            rest &= ~group;
            if (!(Neighbours(group) & emp)) {
                att &= ~group;
                emp |= group;
                taken |= group;
            }
        }
        const uint32_t own = Flood(p, def);
        const bool joined = (own & touch_) != 0;
        if (!joined && !(Neighbours(own) & emp)) return false; // suicide
        // A ko the attacker could take back at once: never relied on.
        if (own == p && !joined && std::popcount(taken) == 1 && (Neighbours(p) & emp) == taken)
            return false;
        return AttackerTurn(emp, att, def, budget);
    }

    int n_;
    uint32_t touch_ = 0;
    std::array<uint32_t, kEyeMaxPoints> nb_{};
    // Per side to move (0 attacker) and position: the least budget found
    // to hold, the greatest found to fail.
    struct Known {
        int8_t winAt = kUnknownWin;
        int8_t failAt = kUnknownFail;
    };
    std::unordered_map<uint32_t, Known> known_;
};

} // namespace

bool SureEye(std::vector<EyePoint> points) {
    const size_t n = points.size();
    if (n == 0 || n > kEyeMaxPoints) return false;
    // The shape's key: each point as two bytes (place; touch) in reading order.
    // Its reader keeps what it found for every position of the shape.
    std::sort(points.begin(), points.end(), [](const EyePoint& a, const EyePoint& b) {
        return a.y != b.y ? a.y < b.y : a.x < b.x;
    });
    int width = 0, height = 0;
    for (const EyePoint& p : points) {
        width = std::max(width, p.x + 1);
        height = std::max(height, p.y + 1);
    }
    // Spaces wider than two lines either way cost far more to read.
    if (std::min(width, height) > 2 && static_cast<int>(n) > kEyeMaxBlock) return false;
    std::string key(2 * n, '\0');
    uint32_t attacker = 0;
    for (size_t i = 0; i < n; ++i) {
        const EyePoint& p = points[i];
        if (p.x > 15 || p.y > 15) return false;
        key[2 * i] = static_cast<char>(p.x | p.y << 4);
        key[2 * i + 1] = static_cast<char>(p.touchesChain ? 1 : 0);
        if (p.attacker) attacker |= uint32_t{1} << i;
    }
    thread_local std::unordered_map<std::string, std::unique_ptr<EyeReader>> readers;
    thread_local size_t positions = 0;
    // What the readers know is a cache: forgotten when it grows too large.
    constexpr size_t kMostPositions = size_t{1} << 21;
    if (positions > kMostPositions) {
        readers.clear();
        positions = 0;
    }
    std::unique_ptr<EyeReader>& reader = readers[key];
    if (!reader) reader = std::make_unique<EyeReader>(points);
    const size_t before = reader->Positions();
    const bool sure = reader->Read(attacker);
    positions += reader->Positions() - before;
    return sure;
}

} // namespace velsolver

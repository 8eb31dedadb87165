// A fast 19 x 19 board for the life-and-death search: a padded mailbox with
// an incremental Zobrist key, the same move rules as the program (captures,
// no suicide, no ko rule of its own), and undo.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace velsolver {

inline constexpr int kSide = 19;
inline constexpr int kStride = 21;
inline constexpr int kCells = kStride * kStride;
// Cell 0 lies on the border and never holds a point: it stands for a pass.
inline constexpr int kPassMove = 0;

inline constexpr uint8_t kEmptyCell = 0;
inline constexpr uint8_t kBlackCell = 1;
inline constexpr uint8_t kWhiteCell = 2;
inline constexpr uint8_t kBorderCell = 3;

inline constexpr int CellOf(int x, int y) {
    return (y + 1) * kStride + (x + 1);
}
inline constexpr int CellX(int c) {
    return c % kStride - 1;
}
inline constexpr int CellY(int c) {
    return c / kStride - 1;
}
inline constexpr int Other(int colour) {
    return 3 - colour;
}
inline constexpr std::array<int, 4> kDelta = {-1, -kStride, 1, kStride};

// Mixes a 64-bit value (splitmix64 finaliser).
constexpr uint64_t Mix64(uint64_t v) {
    v += 0x9E3779B97F4A7C15ull;
    v = (v ^ (v >> 30)) * 0xBF58476D1CE4E5B9ull;
    v = (v ^ (v >> 27)) * 0x94D049BB133111EBull;
    return v ^ (v >> 31);
}

// Zobrist keys shared by every board and search (made at compile time, so
// that reading them costs no start-up check).
struct Zobrist {
    std::array<std::array<uint64_t, kCells>, 3> stone{};
    std::array<uint64_t, 3> side{};
    uint64_t pass = 0;
    std::array<uint64_t, kCells> ko{};
    static const Zobrist& Get();
};

namespace detail {
constexpr Zobrist MakeZobrist() {
    Zobrist z;
    uint64_t seed = 0x5EEDF00Dull;
    for (auto& colour : z.stone)
        for (auto& k : colour)
            k = Mix64(seed++);
    for (auto& k : z.side)
        k = Mix64(seed++);
    z.pass = Mix64(seed++);
    for (auto& k : z.ko)
        k = Mix64(seed++);
    z.ko[0] = 0;
    return z;
}
inline constexpr Zobrist kZobrist = MakeZobrist();
} // namespace detail

inline const Zobrist& Zobrist::Get() {
    return detail::kZobrist;
}

class Goban {
public:
    Goban();

    uint8_t At(int c) const { return cells_[c]; }
    uint64_t Hash() const { return hash_; }
    // Sets a point directly (setup stones), keeping the key.
    void Set(int c, uint8_t v);

    // Plays `colour` at `c`. False (board unchanged) when the point is taken
    // or the move would be suicide. Captured cells are appended to `captured`.
    bool Play(int colour, int c, std::vector<int16_t>& captured);
    // Takes back a move played with Play; `captured` from index `from` on are
    // the stones it took (they are put back and removed from the list).
    void Undo(int colour, int c, std::vector<int16_t>& captured, size_t from);

    // The chain through `c` (cells) and its liberties (distinct empty cells).
    void Chain(int c, std::vector<int16_t>& stones, std::vector<int16_t>* libs = nullptr) const;
    bool HasLiberty(int c) const;
    int CountLiberties(int c, int limit) const;

    // Diagram rows: '.' empty, 'X' black, 'O' white, anything else empty;
    // spaces are ignored. Row 0 is the top edge, column 0 the left edge.
    static Goban FromDiagram(const std::vector<std::string>& rows);
    std::string ToDiagram(int size) const;

private:
    bool EmptyNext(int c) const {
        return cells_[c - 1] == kEmptyCell || cells_[c + 1] == kEmptyCell ||
               cells_[c - kStride] == kEmptyCell || cells_[c + kStride] == kEmptyCell;
    }
    std::array<uint8_t, kCells> cells_{};
    uint64_t hash_ = 0;
    mutable std::array<uint32_t, kCells> mark_{};
    mutable uint32_t gen_ = 0;
    mutable std::vector<int16_t> stack_;
    uint32_t NextGen() const;
};

} // namespace velsolver

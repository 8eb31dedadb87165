// Depth-first proof-number search (df-pn) of one binary goal: does the
// defender keep the target alive, or does the attacker kill it?
#pragma once

#include "judge.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <memory>
#include <new>
#include <unordered_map>
#include <vector>

namespace velsolver {

// How kos are fought. Base: neither side has ko threats (an immediate
// recapture is banned, and so is any move that repeats a position of the
// search path). With threats, that side may always retake a ko at once.
enum class KoMode : uint8_t { Base, BlackThreats, WhiteThreats };

// The number of ko threats of a side that may retake every time.
inline constexpr int kUnlimitedThreats = 255;

enum class Outcome : uint8_t { Win, Loss, Unknown };

// The solver's clock: the CPU time of the calling thread, so that a limit
// counts the solver's own work and a busy machine does not change which
// positions are within reach.
struct SolverClock {
    using duration = std::chrono::nanoseconds;
    using rep = duration::rep;
    using period = duration::period;
    using time_point = std::chrono::time_point<SolverClock>;
    static constexpr bool is_steady = true;
    static time_point now() noexcept;
};

struct Limits {
    SolverClock::time_point deadline = SolverClock::time_point::max();
    uint64_t maxNodes = UINT64_MAX;
};

// A position to search from.
struct SearchStart {
    Goban board;
    int toMove = kBlackCell;
    // Board keys of the earlier positions of the game, oldest first (the
    // repetition ban looks at them).
    std::vector<uint64_t> history;
    int koCell = 0; // the point the side to move may not retake at once
    int passes = 0; // 1 when the previous move was a pass
    // Per colour, the points where its stones were captured in the moves
    // behind `history` (see StartPointBit); every point when not known. A
    // position of the history can come back only where a capture emptied a
    // point again.
    uint64_t captured[3] = {0, ~uint64_t{0}, ~uint64_t{0}};
};

// A point's bit in SearchStart::captured.
inline uint64_t StartPointBit(int cell) {
    return uint64_t{1} << ((CellX(cell) & 7) | ((CellY(cell) & 7) << 3));
}

// Records the stones of `colour` captured by a move in `s.captured`.
inline void NoteCaptured(SearchStart& s, int colour, const std::vector<int16_t>& captured) {
    for (int16_t c : captured)
        s.captured[colour] |= StartPointBit(c);
}

class Searcher {
public:
    // sekiToDefender: whether a game ended by two passes with the target on
    // the board counts for the defender (else for the attacker).
    //
    // `threats`: with BlackThreats or WhiteThreats, how many times that side
    // may retake at once (each retake spends one ko threat).
    //
    // `everyKey`: every target stone is at stake (see Judge).
    Searcher(const Region& region, bool sekiToDefender, KoMode mode, int tableBits = 21,
             int threats = kUnlimitedThreats, bool everyKey = false);
    ~Searcher();
    Searcher(const Searcher&) = delete;
    Searcher& operator=(const Searcher&) = delete;

    // Does the side to move win?
    Outcome Solve(const SearchStart& start, const Limits& limits);
    // Whether the last result may depend on kos (some move was banned by a
    // ko or repetition rule inside the proof).
    bool KoDependent() const { return lastKoDep_; }
    uint64_t Nodes() const { return nodes_; }
    uint64_t LastNodes() const { return lastNodes_; }

    // A principal line from a solved position: the winner's proving moves
    // and the loser's most stubborn replies (cells; kPassMove for a pass).
    std::vector<int> Line(const SearchStart& start, int maxMoves);

    // Plays a move for `start` the way the search does (ko point, passes,
    // history). False when the search would not allow it.
    bool Advance(SearchStart& s, int move) const;

    // The point an immediate recapture would be banned at after `colour`
    // played `move` capturing `captured` (0 when none).
    static int KoPointAfter(const Goban& b, int move, const std::vector<int16_t>& captured);

    const Region& region() const { return r_; }

    // A search of the same goal whose settled results that met no ko or
    // repetition ban hold here too (they do not depend on who may retake).
    void ShareSettled(const Searcher* other) { shared_ = other; }

    // The searches of one goal by the ko threats they give, as a power for
    // Black: -kRungs every threat for White, -4 … -1 that many for White, 0
    // none, 1 … 4 that many for Black, kRungs every threat for Black. Ko
    // threats only help their side, so a win of Black's settled with less
    // power holds with more, a loss settled with more holds with less; a
    // search takes such results from the searches one step either side.
    static constexpr int kRungs = 5;
    struct Ladder {
        const Searcher* rung[2 * kRungs + 1] = {};
    };
    void ShareByThreats(const Ladder* ladder) { ladder_ = ladder; }

    // Reads no settled result on a path other than the one it was settled
    // on (every other rule of the tables as before): slow, but no result
    // can lean on a path it was not settled on. A reference for the checks.
    void KeepResultsToTheirPaths() { ownPathsOnly_ = true; }

    // Judges a game ended by two passes as the rules do when the players
    // disagree about a group: the attacker moves first on the final board,
    // with no ko threats on either side and the earlier positions forgotten;
    // the target is dead when the attacker then captures it. A group kept
    // alive only by retaking a ko it can never resolve is dead so, a seki
    // is not.
    void ConfirmAtTheEnd() { confirm_ = true; }

    // A move of `colour` that repeats a position of the line (other than an
    // immediate recapture, which stays banned) is allowed and ends the game
    // in its favour: the cycle of a double ko or of eternal life, which the
    // other side can never break however many ko threats it has. Only a
    // return to a position met since the start of the search counts (a
    // return to the line before it is allowed, as a plain move). `kind`:
    // which cycles count (Kos: only those in which no move takes two stones
    // or more, as the kos of a double ko each take one; eternal life sends
    // two stones and returns one).
    enum class CycleKind : uint8_t { Any, Kos };
    void CycleWinsFor(int colour, CycleKind kind = CycleKind::Any) {
        cycleWinner_ = colour;
        cycleKind_ = kind;
    }

private:
    static constexpr uint32_t kInf = 0x3FFFFFFF;
    // A settled result leans on its path in two ways: a move of the loser
    // was banned on it (path-dependent: another path may allow the move),
    // or a move of the winner may be banned on another path, where it brings
    // back an earlier position. Such a move of the winner plays on a point
    // that was emptied since that position stood, and every stone placed
    // since the result's position that still stands was not there then:
    // each of them was captured on the other path, or inside the proof.
    // What the proof's moves need for that (points as PointBit gives them):
    struct Leans {
        // The winner's moves with no stone of the loser placed before them
        // that stands: those that capture or follow a capture of the
        // loser's stones (`top`), and the others (`quiet`: a stone of the
        // loser must then have been captured on the other path, for the
        // winner's stone there was captured by one that is gone again).
        uint32_t top = 0;
        uint32_t quiet = 0;
        uint32_t moves = 0;  // every point the winner plays
        uint32_t loser = 0;  // stones of the loser placed before the others, never captured
        uint32_t caught = 0; // points where the proof captures
    };
    // A result is read on another path unless one of its `top` points saw a
    // capture of the winner's stone there, one of its `quiet` points did
    // while some stone of the loser was captured, or one of its `moves` did
    // while one of its `loser` points saw a capture of the loser's stone. It
    // is bound to its path (flag 8) when a stone of the winner stands on a
    // point of its `moves`.
    struct Entry {
        uint64_t key = 0;
        uint64_t pathKey = 0;
        uint32_t phi = 1;
        uint32_t delta = 1;
        uint32_t work : 24 = 0;
        uint32_t flags : 8 = 0; // 1 used, 2 path-dependent, 4 ko-dependent, 8 bound, 16 White won
        uint16_t epoch = 0;     // the table's epoch when it was written
        Leans leans;
    };
    static_assert(sizeof(Entry) == 56);
    // An entry written by this search (a reused table keeps older ones).
    bool Live(const Entry& e) const { return (e.flags & 1) && e.epoch == epoch_; }
    uint16_t epoch_ = 1;
    struct Child {
        int16_t move;
        uint64_t key;
        uint32_t phi;
        uint32_t delta;
        uint8_t flags;     // 2 path-dependent, 4 ko-dependent
        int8_t order;      // move ordering score, higher first
        uint32_t captures; // the points the move captured at
        Leans leans;
    };
    struct UndoInfo {
        int move;
        int colour;
        size_t capFrom;
        int ko;
        int passes;
        uint64_t pathKey;
        uint64_t emptied;
        uint8_t budget[3];
    };
    // A settled result as the table holds it.
    struct Found {
        uint32_t phi = 1, delta = 1, work = 0;
        uint8_t flags = 0;
        Leans leans;
    };

    // `emptied`: the points captured on the asking path (see emptied_).
    // `fresh`: the point (PointBit) of the stone the move into the position
    // placed, when no stone of its colour was ever captured there on the
    // path (0 when not known): no earlier position of the path had that
    // stone, so none comes back in a proof that never captures there.
    bool Lookup(uint64_t key, uint64_t pathKey, uint64_t emptied, uint32_t fresh, Found& f) const;
    bool LookupOwn(uint64_t key, uint64_t pathKey, uint64_t emptied, uint32_t fresh,
                   Found& f) const;
    // A point's bit in Leans and emptied_ (points of the region
    // share bits when it has more than 32).
    uint32_t PointBit(int cell) const { return pointBit_[static_cast<size_t>(cell)]; }
    std::array<uint32_t, kCells> pointBit_{};
    const Searcher* shared_ = nullptr;
    const Ladder* ladder_ = nullptr;
    // The power of the current node (see Ladder).
    int Power() const;
    // The earlier positions of the path an entry was settled on.
    uint64_t StoredPath(uint64_t key) const;
    // A settled result of a search one step either side on the ladder that
    // holds here (the current node, not a child).
    bool Import(uint64_t pathKey, Found& f) const;
    void Store(uint64_t key, uint64_t pathKey, uint32_t phi, uint32_t delta, uint8_t flags,
               uint32_t work, const Leans& leans);
    uint64_t NodeKey() const;
    // Asks the memory for the table slots of a key (own and shared).
    void Prefetch(uint64_t key) const;
    // The key of the current node without the threat counts.
    uint64_t BaseKey() const;
    // 0 legal, 1 illegal, 2 banned by the immediate-ko rule, 3 banned as a
    // repetition, 4 a repetition that wins as a cycle (see CycleWinsFor).
    int DoMove(int move, UndoInfo& u);
    // Whether a move of the side to move that brings back the board of
    // hist_[from] wins as a cycle; `bigNow`: the move captures two or more.
    bool CycleWin(size_t from, bool bigNow) const;
    void UndoMove(const UndoInfo& u);
    void Generate(std::vector<Child>& kids, uint8_t& banFlags);
    void Mid(uint32_t thPhi, uint32_t thDelta, int depth, Child& node);
    bool TerminalValue(int mover, Verdict v, uint32_t& phi, uint32_t& delta) const;
    bool MayRetake(int colour) const;
    // The winner of a game ended by two passes on the current board.
    int PassWinner();

    const Region& r_;
    bool everyKey_;
    Judge judge_;
    bool sekiToDefender_;
    KoMode mode_;
    // Ko threats left per colour (kUnlimitedThreats: never used up); whether
    // the count is finite (part of the position's key).
    uint8_t budget_[3] = {0, 0, 0};
    uint8_t startBudget_[3] = {0, 0, 0};
    bool finite_ = false;
    bool confirm_ = false;
    bool ownPathsOnly_ = false;
    int cycleWinner_ = 0;
    CycleKind cycleKind_ = CycleKind::Any;
    // The index in hist_ of the search's start board.
    size_t searchFrom_ = 0;
    std::unique_ptr<Searcher> confirmer_;
    std::unordered_map<uint64_t, int> confirmed_; // board key -> winner
    void Grow();
    // Allocates on cache-line boundaries.
    template <class T> struct LineAligned {
        using value_type = T;
        LineAligned() = default;
        template <class U> LineAligned(const LineAligned<U>&) {}
        T* allocate(size_t n) {
            return static_cast<T*>(::operator new (n * sizeof(T), std::align_val_t{64}));
        }
        void deallocate(T* p, size_t) { ::operator delete (p, std::align_val_t{64}); }
        bool operator==(const LineAligned&) const { return true; }
    };
    using Table = std::vector<Entry, LineAligned<Entry>>;
    Table table_;
    // Tables of searchers gone, kept for the next ones of the thread (a
    // problem starts a dozen searches, and fresh memory costs more than
    // clearing used memory).
    struct Spare {
        Table table;
        uint16_t epoch;
    };
    static std::vector<Spare>& Spares();
    uint64_t mask_ = 0;
    int bits_ = 0;
    int maxBits_ = 0;
    size_t used_ = 0;

    Goban b_;
    int toMove_ = kBlackCell;
    int ko_ = 0;
    int passes_ = 0;
    std::vector<uint64_t> hist_; // board keys of the path, the current board last
    // Per entry of hist_: the move that made it captured two stones or more.
    std::vector<uint8_t> bigCapture_;
    uint64_t pathKey_ = 0; // combination of the earlier boards of the path
    // The points where Black's (low half) and White's stones (high half)
    // were captured on the path (PointBit).
    uint64_t emptied_ = 0;
    std::vector<int16_t> captured_;
    std::vector<std::vector<Child>> levels_;
    uint64_t nodes_ = 0;
    uint64_t lastNodes_ = 0;
    bool aborted_ = false;
    bool lastKoDep_ = false;
    Limits limits_;
    uint64_t startNodes_ = 0;
};

} // namespace velsolver

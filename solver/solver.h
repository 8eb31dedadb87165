// The exact life-and-death solver of a problem: the outcome class of any
// position of an enclosed corner problem, with life, seki and direct kos told
// apart.
#pragma once

#include "dfpn.h"

#include <memory>
#include <string>
#include <unordered_map>

namespace velsolver {

// The outcome classes the solver tells apart (class codes of the outcome table).
inline constexpr int kLongLifeBlack = 4;       // 長生（黒成功）
inline constexpr int kWhiteDead = 5;           // 白死
inline constexpr int kWhiteDeadKo = 6;         // 白死(曲り４目)
inline constexpr int kWhiteDeadDoubleKo = 7;   // 白死(両コウ)
inline constexpr int kBlackAliveDoubleKo = 9;  // 黒生き(両コウ)
inline constexpr int kBlackAlive = 10;         // 黒生き
inline constexpr int kSekiBlack = 11;          // セキ(黒生き)
inline constexpr int kBlackSucceeds = 12;      // 黒成功 (connect / cut)
inline constexpr int kBlackWins = 13;          // 黒勝ち
inline constexpr int kEternalKoLive = 14;      // 万年コウ(生き問題)
inline constexpr int kTwoApproachBlack = 15;   // ２手ヨセコウ(黒有利)
inline constexpr int kOneApproachBlack = 20;   // １手ヨセコウ(黒有利)
inline constexpr int kKoBlackFirst = 30;       // 本コウ(黒取り番)
inline constexpr int kTwoStageBlack = 25;      // ２段コウ(黒有利)
inline constexpr int kKoWhiteFirst = 35;       // 本コウ(白取り番)
inline constexpr int kTwoStageWhite = 40;      // ２段コウ(白有利)
inline constexpr int kOneApproachWhite = 45;   // １手ヨセコウ(白有利)
inline constexpr int kTwoApproachWhite = 50;   // ２手ヨセコウ(白有利)
inline constexpr int kEternalKoKill = 51;      // 万年コウ(殺し問題)
inline constexpr int kSekiWhite = 53;          // セキ(白生き)
inline constexpr int kWhiteAliveDoubleKo = 54; // 白生き(両コウ)
inline constexpr int kWhiteAlive = 55;         // 白生き
inline constexpr int kBlackLoses = 56;         // 黒負け
inline constexpr int kBlackFails = 57;         // 黒失敗 (connect / cut)
inline constexpr int kBlackLoss = 58;          // 黒損 (connect / cut: the goal reached in part)
inline constexpr int kBlackDeadKo = 59;        // 黒死(曲り４目)
inline constexpr int kBlackDead = 60;          // 黒死
inline constexpr int kBlackDeadDoubleKo = 61;  // 黒死(両コウ)
inline constexpr int kLongLifeWhite = 62;      // 長生(黒失敗)

// The class of a position, 0 when it is beyond reach within the limits.
struct ClassResult {
    int klass = 0;
    uint64_t nodes = 0;
    // The search that settled the class (for its line).
    int goal = 0;
    KoMode mode = KoMode::Base;
    int threats = kUnlimitedThreats; // of the side `mode` gives threats
    // The search in which this side's cycles win (0 none), and which cycles.
    int cycle = 0;
    Searcher::CycleKind cycleKind = Searcher::CycleKind::Any;
};

class ProblemSolver {
public:
    // `start`: the problem's start position; the region is taken from it.
    ProblemSolver(const Goban& start, int viewSize, Aim aim, int tableBits = 21);

    const Region& region() const { return region_; }
    // The start position with Black to move.
    SearchStart Start() const;

    // When the class rests on a ko, it is the best class the side to move
    // reaches in one move (each child classed directly), so that a position
    // always agrees with the positions one move on.
    ClassResult Classify(const SearchStart& pos, const Limits& limits);
    // A principal line behind a class found by Classify (cells, kPassMove
    // for a pass): the proving side's moves and the other side's best tries.
    std::vector<int> LineFor(const SearchStart& pos, const ClassResult& result, int maxMoves);
    // A line in which both sides keep the class of `pos` move by move (the
    // proof's move first, else the first move that keeps it), played by the
    // program's rules until the position is settled or a side would pass.
    std::vector<int> BestLine(const SearchStart& pos, const ClassResult& result, int maxMoves,
                              const Limits& limits);
    // Plays a move by the program's rules (no ko rule), keeping the history.
    static bool PlayPlain(SearchStart& pos, int move);
    // Whether the position is settled on the board (target captured, alive
    // or dead by shape).
    bool Settled(const SearchStart& pos) const;
    // The moves the solver considers for the side to move (legal, inside
    // the region; the pass not included).
    std::vector<int> CandidateMoves(const SearchStart& pos);
    // Plays a move under the search's rules (ko and repetition bans).
    bool Advance(SearchStart& pos, int move);
    uint64_t TotalNodes() const;
    // Whether the searches of one goal with different ko threats take
    // settled results from one another (on unless turned off before the
    // first Classify; the benchmarks and tests compare both ways).
    void ShareBetweenKoSearches(bool on) { shareByThreats_ = on; }
    // Every search reads settled results only on the path they were settled
    // on (see Searcher::KeepResultsToTheirPaths; before the first Classify).
    void KeepResultsToTheirPaths() { ownPathsOnly_ = true; }

private:
    // How Black fares in one goal. A ko: Black reaches the goal exactly when
    // Black's ko threats minus White's are at least `balance`, a move
    // elsewhere counting as a threat; `approach` is that balance against
    // the one of a direct ko taken first by the side that can take it (0 a
    // direct ko, n > 0 Black must first play n approach moves, n < 0 White).
    struct Level {
        enum Kind : uint8_t { Unconditional, Ko, None, Unknown } kind = Unknown;
        int balance = 0;
        int approach = 0;
        // The ko favours Black: Black takes first or White must approach.
        bool BlackAhead() const { return approach < 0 || (approach == 0 && balance <= 0); }
    };
    // The search behind a level: its ko mode and threat count.
    struct SearchMode {
        KoMode mode = KoMode::Base;
        int threats = kUnlimitedThreats;
    };
    Searcher& Get(int goal, KoMode mode, int threats = kUnlimitedThreats);
    Outcome BlackAchieves(int goal, SearchMode mode, const SearchStart& pos, const Limits& limits,
                          bool* koDep, uint64_t& nodes);
    // `mode` receives the search that settled the level.
    Level Achieve(int goal, const SearchStart& pos, const Limits& limits, uint64_t& nodes,
                  SearchMode& mode);
    Level AchieveLevel(int goal, const SearchStart& pos, const Limits& limits, uint64_t& nodes,
                       SearchMode& mode);
    // The threat balance of a ko found in `goal`.
    Level KoBalance(int goal, const SearchStart& pos, const Limits& limits, uint64_t& nodes,
                    SearchMode& mode);
    // The balance the ko of `pos` would have as a direct ko: 0 when Black
    // takes first, 1 when White does, -1 when the limits were reached.
    // `won`, `lost`: the searches of `goal` at the ko's balance (Black wins
    // the first, loses the second; when nobody can take yet, the fight
    // played in them shows who takes first).
    int DirectBalance(const SearchStart& pos, int goal, SearchMode won, SearchMode lost,
                      const Limits& limits, uint64_t& nodes);
    // Who takes first (0 Black, 1 White) in the fight at a ko's balance when
    // nobody can take yet.
    struct TakeGame {
        int goal;
        SearchMode won, lost;
        const Limits& limits;
        uint64_t& nodes;
        int horizon; // the answer when nobody takes within the horizon
        int solves;  // searches of moves so far
        bool aborted;
    };
    static constexpr int kTakeDepth = 6;    // moves looked ahead
    static constexpr int kTakeSolves = 400; // searches of moves, at most
    int FirstTaker(TakeGame& game, const SearchStart& pos, int depth);
    bool SekiToDefender(int goal) const;
    // The ko class of a level that turns on a ko.
    static int KoClass(const Level& level);
    // Whether the ko `goal` turns on in `pos` is a two-stage ko (２段コウ):
    // the side that takes first, once the other side has given the ko up,
    // still cannot settle the goal without a second ko. The class then
    // (the other side is favoured), 0 when not (or when nobody can take
    // yet, or the `measured` class is neither the direct ko the taker takes
    // first nor one approach move for the other side), -1 beyond the
    // limits.
    int TwoStageClass(int goal, int measured, const SearchStart& pos, const Limits& limits,
                      uint64_t& nodes);
    // Connect and cut: the goal whose target stones are all at stake (see
    // Judge); the other goal asks for the target as a whole.
    bool EveryKey(int goal) const;
    bool GoalAim() const { return region_.aim == Aim::Connect || region_.aim == Aim::Cut; }
    // The target stones of the start form one chain: both goals of a
    // connect or cut problem then ask the same.
    bool oneTarget_ = true;
    // Whether the ko the capture of `pos` turns on is an eternal ko (万年コウ):
    // left alone it is a seki, and a side that starts the ko lets the other
    // side take first, so the ko stays whoever moves. `kill`: the level of
    // the goal the capture is, found for `pos`; `cleanLife`: the level of
    // the defender's clean life for `pos` when already found (Unknown when
    // not). 0 no, 1 yes, -1 beyond the limits.
    int EternalKo(const SearchStart& pos, const Level& kill, Level cleanLife, const Limits& limits,
                  uint64_t& nodes);
    // Classify at a depth of the look one move on: the start looks at its
    // moves, a position one move on only when nobody can take a ko yet.
    ClassResult ClassifyAt(const SearchStart& pos, const Limits& limits, int depth);
    static uint64_t PositionKey(const SearchStart& pos);
    // Classes found: of positions asked for, and of positions one move on.
    std::unordered_map<uint64_t, ClassResult> classes_[2];
    // A position one move from the start.
    bool FirstMove(const SearchStart& pos) const;
    // The class from the searches of this position alone.
    ClassResult ClassifyDirect(const SearchStart& pos, const Limits& limits);
    // ClassifyDirect of a connect or cut problem: 黒成功 when Black reaches
    // the whole goal (or a ko class when it turns on a ko), 黒損 when only a
    // part of it (some of the target stones saved or taken), else 黒失敗.
    // `mode` receives the search that settled the class.
    struct Found {
        int klass = 0; // 0 beyond reach
        int goal = 0;
        int cycle = 0;
        Searcher::CycleKind cycleKind = Searcher::CycleKind::Any;
    };
    Found ClassifyGoal(const SearchStart& pos, const Limits& limits, uint64_t& nodes,
                       SearchMode& mode);

    Goban start_;
    Region region_;
    int tableBits_;
    // Per goal and ko mode: [0..kMaxThreats] a finite threat count,
    // [kMaxThreats + 1] unlimited threats (and the search without threats).
    static constexpr int kMaxThreats = 4;
    std::unique_ptr<Searcher> searchers_[2][3][kMaxThreats + 2];
    static_assert(kMaxThreats + 1 == Searcher::kRungs);
    Searcher::Ladder ladders_[2];
    bool shareByThreats_ = true;
    bool ownPathsOnly_ = false;
    // Kill: does Black still capture when White has every ko threat and a
    // game ended by passes is judged on the board? Live: does Black avoid
    // that with every threat? A ko the defender can never resolve then
    // counts as dead, a seki as alive.
    // `attackerCycles`: a repetition the attacker makes through kos is its
    // win (its double ko).
    Outcome BlackAchievesAtTheEnd(const SearchStart& pos, const Limits& limits, uint64_t& nodes,
                                  bool attackerCycles = false);
    std::unique_ptr<Searcher> endSearchers_[2];
    // Per goal: a repetition `winner` makes wins for it (a double ko,
    // eternal life; `kind` says which cycles count) and the other side has
    // every ko threat.
    Searcher& CycleSearcher(int goal, int winner, Searcher::CycleKind kind);
    Outcome BlackAchievesWithCycles(int goal, int winner, Searcher::CycleKind kind,
                                    const SearchStart& pos, const Limits& limits, uint64_t& nodes);
    std::unique_ptr<Searcher> cycleSearchers_[2][2][3]; // goal, the attacker wins, kind
    // Whether `cycler` turns the result of `goal` by a cycle it can force
    // against every ko threat: the class that gives (a double ko for life or
    // for death, eternal life), 0 none, -1 beyond the limits. `found`
    // receives the search that shows it.
    int CycleClass(int goal, const SearchStart& pos, int cycler, const Limits& limits,
                   uint64_t& nodes, Found& found);
    bool koTouched_ = false; // some search of the last ClassifyDirect met a ko
    bool koOpen_ = false;    // ... in which nobody could take yet
};

// "B[cd]"-style text of a cell for messages, "pass" for a pass.
std::string MoveText(int colour, int cell);

} // namespace velsolver

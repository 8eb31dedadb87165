#include "solver.h"

#include <algorithm>

namespace velsolver {

namespace {
constexpr int kHigh = 0; // life / kill / capture
constexpr int kLow = 1;  // life or seki / no clean life / capture or seki

// The worth of a class for Black, as the program's outcome table ranks the
// classes the solver gives.
int ClassWorth(int klass) {
    switch (klass) {
    case kBlackWins:
    case kBlackSucceeds:
        return 210;
    case kLongLifeBlack:
    case kWhiteDead:
    case kBlackAlive:
    case kSekiBlack:
        return 200;
    case kWhiteDeadKo:
    case kWhiteDeadDoubleKo:
        return 199;
    case kEternalKoLive:
        return 195;
    case kTwoApproachBlack:
        return 190;
    case kOneApproachBlack:
    case kTwoStageBlack:
        return 180;
    case kKoBlackFirst:
        return 170;
    case kKoWhiteFirst:
        return 160;
    case kOneApproachWhite:
    case kTwoStageWhite:
        return 150;
    case kTwoApproachWhite:
        return 140;
    case kEternalKoKill:
        return 135;
    case kBlackAliveDoubleKo:
        return 199;
    case kSekiWhite:
    case kWhiteAliveDoubleKo:
    case kBlackDeadKo:
    case kBlackDeadDoubleKo:
        return 131;
    default: // 白生き, 黒負け, 黒死, 長生(黒失敗)
        return 130;
    }
}
} // namespace

ProblemSolver::ProblemSolver(const Goban& start, int viewSize, Aim aim, int tableBits)
    : start_(start), region_(AnalyzeRegion(start, viewSize, aim)), tableBits_(tableBits) {
    if (!region_.defenderKeys.empty()) {
        std::vector<int16_t> chain;
        start_.Chain(region_.defenderKeys.front(), chain, nullptr);
        for (int k : region_.defenderKeys)
            if (std::find(chain.begin(), chain.end(), k) == chain.end()) oneTarget_ = false;
    }
}

SearchStart ProblemSolver::Start() const {
    SearchStart s;
    s.board = start_;
    s.toMove = kBlackCell;
    s.captured[kBlackCell] = s.captured[kWhiteCell] = 0;
    return s;
}

bool ProblemSolver::EveryKey(int goal) const {
    // Connect: every stone saved is the success, one saved the part. Cut:
    // every stone taken is the success, one taken the part.
    if (region_.aim == Aim::Connect) return goal == kHigh;
    if (region_.aim == Aim::Cut) return goal == kLow;
    return false;
}

bool ProblemSolver::SekiToDefender(int goal) const {
    // Connect and cut: stones in a seki are not captured.
    if (GoalAim()) return true;
    // For the live aim the high goal is clean life; for kill and race the
    // high goal is the capture, which a seki denies.
    return region_.aim == Aim::Live ? goal == kLow : goal == kHigh;
}

Searcher& ProblemSolver::Get(int goal, KoMode mode, int threats) {
    // No threats for either side is the search without threats.
    if (threats <= 0) mode = KoMode::Base;
    const int slot = threats >= kUnlimitedThreats || mode == KoMode::Base
                         ? kMaxThreats + 1
                         : std::clamp(threats, 0, kMaxThreats);
    auto& s = searchers_[goal][static_cast<int>(mode)][slot];
    if (!s) {
        s = std::make_unique<Searcher>(region_, SekiToDefender(goal), mode, tableBits_,
                                       slot > kMaxThreats ? kUnlimitedThreats : slot,
                                       EveryKey(goal));
        if (ownPathsOnly_) s->KeepResultsToTheirPaths();
        if (mode != KoMode::Base) s->ShareSettled(&Get(goal, KoMode::Base));
        if (shareByThreats_) {
            const int n = slot > kMaxThreats ? Searcher::kRungs : slot;
            ladders_[goal].rung[Searcher::kRungs + (mode == KoMode::WhiteThreats ? -n
                                                    : mode == KoMode::Base       ? 0
                                                                                 : n)] = s.get();
            s->ShareByThreats(&ladders_[goal]);
        }
    }
    return *s;
}

uint64_t ProblemSolver::TotalNodes() const {
    uint64_t n = 0;
    for (const auto& goal : searchers_)
        for (const auto& mode : goal)
            for (const auto& s : mode)
                if (s) n += s->Nodes();
    for (const auto& s : endSearchers_)
        if (s) n += s->Nodes();
    for (const auto& goal : cycleSearchers_)
        for (const auto& winner : goal)
            for (const auto& s : winner)
                if (s) n += s->Nodes();
    return n;
}

Searcher& ProblemSolver::CycleSearcher(int goal, int winner, Searcher::CycleKind kind) {
    auto& s = cycleSearchers_[goal][winner == region_.attacker ? 1 : 0][static_cast<int>(kind)];
    if (!s) {
        const KoMode threats = winner == kWhiteCell ? KoMode::BlackThreats : KoMode::WhiteThreats;
        s = std::make_unique<Searcher>(region_, SekiToDefender(goal), threats, tableBits_,
                                       kUnlimitedThreats, EveryKey(goal));
        s->CycleWinsFor(winner, kind);
        if (ownPathsOnly_) s->KeepResultsToTheirPaths();
        s->ShareSettled(&Get(goal, KoMode::Base));
    }
    return *s;
}

Outcome ProblemSolver::BlackAchievesWithCycles(int goal, int winner, Searcher::CycleKind kind,
                                               const SearchStart& pos, const Limits& limits,
                                               uint64_t& nodes) {
    Searcher& s = CycleSearcher(goal, winner, kind);
    const Outcome o = s.Solve(pos, limits);
    nodes += s.LastNodes();
    if (o == Outcome::Unknown) return o;
    const int black = o == Outcome::Win ? pos.toMove : Other(pos.toMove);
    return black == kBlackCell ? Outcome::Win : Outcome::Loss;
}

Outcome ProblemSolver::BlackAchieves(int goal, SearchMode mode, const SearchStart& pos,
                                     const Limits& limits, bool* koDep, uint64_t& nodes) {
    Searcher& s = Get(goal, mode.mode, mode.threats);
    const Outcome o = s.Solve(pos, limits);
    nodes += s.LastNodes();
    if (koDep) *koDep = s.KoDependent();
    if (o == Outcome::Unknown) return o;
    const int winner = o == Outcome::Win ? pos.toMove : Other(pos.toMove);
    return winner == kBlackCell ? Outcome::Win : Outcome::Loss;
}

Outcome ProblemSolver::BlackAchievesAtTheEnd(const SearchStart& pos, const Limits& limits,
                                             uint64_t& nodes, bool attackerCycles) {
    auto& s = endSearchers_[attackerCycles ? 1 : 0];
    if (!s) {
        // The defender has the threats (for connect and cut: the searches
        // of the whole goal).
        const KoMode threats =
            region_.defender == kBlackCell ? KoMode::BlackThreats : KoMode::WhiteThreats;
        s = std::make_unique<Searcher>(region_, true, threats, tableBits_, kUnlimitedThreats,
                                       EveryKey(kHigh));
        s->ConfirmAtTheEnd();
        if (ownPathsOnly_) s->KeepResultsToTheirPaths();
        if (attackerCycles) s->CycleWinsFor(region_.attacker, Searcher::CycleKind::Kos);
    }
    const Outcome o = s->Solve(pos, limits);
    nodes += s->LastNodes();
    if (o == Outcome::Unknown) return o;
    const int winner = o == Outcome::Win ? pos.toMove : Other(pos.toMove);
    return winner == kBlackCell ? Outcome::Win : Outcome::Loss;
}

ProblemSolver::Level ProblemSolver::AchieveLevel(int goal, const SearchStart& pos,
                                                 const Limits& limits, uint64_t& nodes,
                                                 SearchMode& mode) {
    bool koDep = false;
    mode = SearchMode{};
    Level level;
    const Outcome base = BlackAchieves(goal, mode, pos, limits, &koDep, nodes);
    if (base == Outcome::Unknown) return level;
    if (!koDep) {
        level.kind = base == Outcome::Win ? Level::Unconditional : Level::None;
        return level;
    }
    // Does the result hold when the other side has every ko threat?
    const SearchMode other{base == Outcome::Win ? KoMode::WhiteThreats : KoMode::BlackThreats};
    const Outcome o = BlackAchieves(goal, other, pos, limits, nullptr, nodes);
    if (o == Outcome::Unknown) return level;
    if (o == base) {
        mode = other;
        level.kind = base == Outcome::Win ? Level::Unconditional : Level::None;
        return level;
    }
    return KoBalance(goal, pos, limits, nodes, mode);
}

ProblemSolver::Level ProblemSolver::KoBalance(int goal, const SearchStart& pos,
                                              const Limits& limits, uint64_t& nodes,
                                              SearchMode& mode) {
    // Black reaches the goal when Black's threats minus White's are at
    // least the balance: count up the threats of the side that needs them
    // until the result turns. Most fights that meet a ko are not close, so
    // the most threats counted are tried first: when even they do not turn
    // the result, neither would fewer.
    Level level;
    const Outcome even =
        BlackAchieves(goal, {KoMode::BlackThreats, 0}, pos, limits, nullptr, nodes);
    if (even == Outcome::Unknown) return level;
    int balance = 0;
    SearchMode lost = {KoMode::BlackThreats, 0}; // the nearest search Black loses
    const SearchMode most{even == Outcome::Win ? KoMode::WhiteThreats : KoMode::BlackThreats,
                          kMaxThreats};
    // (A search beyond the limits counts up as well.)
    const bool close = BlackAchieves(goal, most, pos, limits, nullptr, nodes) != even;
    if (!close && even == Outcome::Win) {
        balance = -kMaxThreats;
        mode = most;
    } else if (!close) {
        balance = kMaxThreats + 1;
        mode = {KoMode::BlackThreats};
        lost = most;
    } else if (even == Outcome::Win) {
        mode = {KoMode::BlackThreats, 0};
        for (int t = 1;; ++t) {
            if (t > kMaxThreats) {
                balance = -kMaxThreats;
                break;
            }
            const SearchMode m{KoMode::WhiteThreats, t};
            const Outcome o = BlackAchieves(goal, m, pos, limits, nullptr, nodes);
            if (o == Outcome::Unknown) return level;
            if (o == Outcome::Loss) {
                balance = 1 - t;
                lost = m;
                break;
            }
            mode = m;
        }
    } else {
        for (int t = 1;; ++t) {
            if (t > kMaxThreats) {
                balance = kMaxThreats + 1;
                mode = {KoMode::BlackThreats};
                break;
            }
            const SearchMode m{KoMode::BlackThreats, t};
            const Outcome o = BlackAchieves(goal, m, pos, limits, nullptr, nodes);
            if (o == Outcome::Unknown) return level;
            if (o == Outcome::Win) {
                balance = t;
                mode = m;
                break;
            }
            lost = m;
        }
    }
    // (A fight that is not close is no ko whoever takes first.)
    const int direct = close ? DirectBalance(pos, goal, mode, lost, limits, nodes) : 0;
    if (direct < 0) return level;
    level.balance = balance;
    level.approach = balance - direct;
    // A ko that needs three approach moves is no ko (三手ヨセコウはコウにあらず).
    level.kind = level.approach <= -3  ? Level::Unconditional
                 : level.approach >= 3 ? Level::None
                                       : Level::Ko;
    return level;
}

int ProblemSolver::DirectBalance(const SearchStart& pos, int goal, SearchMode won, SearchMode lost,
                                 const Limits& limits, uint64_t& nodes) {
    const int mover = pos.toMove == kBlackCell ? 0 : 1;
    const int other = 1 - mover;
    // The side to move may not retake: the other side has taken.
    if (pos.koCell) return other;
    auto canTake = [&](const Goban& board, int colour) {
        for (int c : region_.moveCells) {
            if (board.At(c) != kEmptyCell) continue;
            Goban b = board;
            std::vector<int16_t> cap;
            if (b.Play(colour, c, cap) && Searcher::KoPointAfter(b, c, cap)) return true;
        }
        return false;
    };
    if (canTake(pos.board, pos.toMove)) return mover;
    if (canTake(pos.board, Other(pos.toMove))) return other;
    koOpen_ = true;
    // Nobody can take yet: the fight at the ko's balance shows who takes
    // first (the side to move may approach, or offer the other side the ko,
    // as White's throw-in in the bent four in the corner does).
    TakeGame game{goal, won, lost, limits, nodes, mover, 0, false};
    const int taker = FirstTaker(game, pos, 0);
    return game.aborted ? -1 : taker;
}

int ProblemSolver::FirstTaker(TakeGame& g, const SearchStart& pos, int depth) {
    // Each side plays only the moves that keep its result at the balance:
    // Black the moves that win the search Black wins with the fewest
    // threats, White those that win the search Black loses with one fewer.
    // That is the fight as both sides must play it, and the first ko
    // capture in it tells who takes first. Where a side has a choice, it
    // picks as the outcome table ranks the classes: at the same balance a
    // ko the other side takes first leaves this side fewer approach moves
    // (本コウ(白取り番) is worth more to Black than １手ヨセコウ(白有利)), so
    // Black steers for White taking first and White for Black, as the look
    // one move on would choose between the positions. Only the results of
    // searches decide, never a line read from a table, so the answer is a
    // function of the position.
    if (depth >= kTakeDepth) return g.horizon;
    const bool black = pos.toMove == kBlackCell;
    const int mover = black ? 0 : 1;
    const int wish = 1 - mover;
    const SearchMode mine = black ? g.won : g.lost;
    Searcher& search = Get(g.goal, mine.mode, mine.threats);
    std::vector<int> moves;
    for (int c : region_.moveCells)
        if (pos.board.At(c) == kEmptyCell) moves.push_back(c);
    if (!pos.passes) moves.push_back(kPassMove);
    int best = -1;
    for (int m : moves) {
        SearchStart next = pos;
        if (!search.Advance(next, m)) continue;
        if (++g.solves > kTakeSolves) break;
        const Outcome o = search.Solve(next, g.limits);
        g.nodes += search.LastNodes();
        if (o == Outcome::Unknown) {
            g.aborted = true;
            return 0;
        }
        if (o != Outcome::Loss) continue; // the other side wins after it
        const int t = next.koCell ? mover : FirstTaker(g, next, depth + 1);
        if (g.aborted) return 0;
        if (best < 0 || t == wish) best = t;
        if (best == wish) break;
    }
    return best < 0 ? g.horizon : best;
}

ProblemSolver::Level ProblemSolver::Achieve(int goal, const SearchStart& pos, const Limits& limits,
                                            uint64_t& nodes, SearchMode& mode) {
    const Level l = AchieveLevel(goal, pos, limits, nodes, mode);
    // Only a level that turns on who may retake leaves the class open to
    // the choice of fight one move on; a level that holds with every ko
    // threat for the other side does not.
    if (l.kind == Level::Ko) koTouched_ = true;
    return l;
}

uint64_t ProblemSolver::PositionKey(const SearchStart& pos) {
    const auto& z = Zobrist::Get();
    uint64_t key =
        pos.board.Hash() ^ z.side[pos.toMove] ^ (pos.passes ? z.pass : 0) ^ z.ko[pos.koCell];
    for (uint64_t h : pos.history)
        key += Mix64(h);
    return key;
}

ClassResult ProblemSolver::Classify(const SearchStart& pos, const Limits& limits) {
    // A first move has the class the start's look one move on gives it (the
    // start's class and its first moves then agree): the start is classed
    // first. Any other position has its own class, whatever was asked before.
    if (FirstMove(pos)) {
        SearchStart parent = Start();
        parent.toMove = Other(pos.toMove);
        ClassifyAt(parent, limits, 0);
        if (const auto it = classes_[1].find(PositionKey(pos)); it != classes_[1].end()) {
            ClassResult known = it->second;
            known.nodes = 0;
            return known;
        }
    }
    return ClassifyAt(pos, limits, 0);
}

bool ProblemSolver::FirstMove(const SearchStart& pos) const {
    return pos.history.size() == 1 && pos.history[0] == start_.Hash();
}

ClassResult ProblemSolver::ClassifyAt(const SearchStart& pos, const Limits& limits, int depth) {
    // The classes of positions asked for and of positions one move on are
    // kept apart: a position has its class however it is reached.
    auto& classes = classes_[depth > 0 ? 1 : 0];
    const uint64_t key = PositionKey(pos);
    if (const auto it = classes.find(key); it != classes.end()) {
        ClassResult known = it->second;
        known.nodes = 0;
        return known;
    }
    ClassResult res = ClassifyDirect(pos, limits);
    const bool nobodyTakes = koOpen_;
    auto keep = [&](const ClassResult& r) {
        if (r.klass) classes.emplace(key, r);
        return r;
    };
    // A side barred from retaking needs a ko threat first: its moves here
    // cannot show that, the searches with threats do.
    // One move on, only a position in which nobody can take yet is looked
    // past, and not after a pass (the game may end there).
    // An eternal ko is the defender's to leave: its moves cannot show that
    // (leaving it lets the attacker start the ko, which the outcome table
    // ranks apart from the eternal ko).
    if (!res.klass || !koTouched_ || pos.koCell || res.klass == kEternalKoKill ||
        res.klass == kEternalKoLive || (depth > 0 && (depth > 1 || !nobodyTakes || pos.passes)))
        return keep(res);
    // A ko position: who may retake, which fight the side to move picks and
    // whether it must approach show only one move on. The side to move
    // takes the best class of its moves (the pass included) by the outcome
    // table; each child is classed from its own searches and, where nobody
    // can take a ko yet at the start, from its own moves once more.
    const bool black = pos.toMove == kBlackCell;
    std::vector<int> moves = CandidateMoves(pos);
    if (!pos.passes) moves.push_back(kPassMove);
    int best = 0;
    for (int m : moves) {
        SearchStart next = pos;
        if (!Advance(next, m)) continue;
        const ClassResult child =
            depth == 0 ? ClassifyAt(next, limits, 1) : ClassifyDirect(next, limits);
        res.nodes += child.nodes;
        if (!child.klass) return res; // out of reach: keep the direct class
        const int v = ClassWorth(child.klass);
        if (!best || (black ? v > ClassWorth(best) : v < ClassWorth(best))) best = child.klass;
    }
    if (best && ClassWorth(best) != ClassWorth(res.klass)) {
        res.klass = best;
        // The line then follows the search of the goal the class turns on.
        res.goal = 1;
        res.mode = KoMode::Base;
        res.threats = kUnlimitedThreats;
        res.cycle = 0;
        res.cycleKind = Searcher::CycleKind::Any;
    }
    return keep(res);
}

int ProblemSolver::KoClass(const Level& l) {
    // By the number of approach moves (negative: White must approach) and,
    // for a direct ko, by who takes first.
    switch (l.approach) {
    case -2:
        return kTwoApproachBlack;
    case -1:
        return kOneApproachBlack;
    case 0:
        return l.balance <= 0 ? kKoBlackFirst : kKoWhiteFirst;
    case 1:
        return kOneApproachWhite;
    default:
        return kTwoApproachWhite;
    }
}

int ProblemSolver::TwoStageClass(int goal, int measured, const SearchStart& pos,
                                 const Limits& limits, uint64_t& nodes) {
    // The side that takes first: the one that has just taken, else the
    // side to move when it can take at once. Nobody can take yet: the
    // class stays that of the measured ko.
    SearchStart taken = pos;
    int taker = Other(pos.toMove);
    if (!pos.koCell) {
        taker = pos.toMove;
        bool took = false;
        for (int c : region_.moveCells) {
            if (pos.board.At(c) != kEmptyCell) continue;
            SearchStart next = pos;
            if (Advance(next, c) && next.koCell) {
                taken = next;
                took = true;
                break;
            }
        }
        if (!took) return 0;
    }
    // The two-stage ko is worth to the taker what a direct ko it takes first
    // less one approach move is. Only a ko measured as that or as the direct
    // ko is named so: a ko that costs the taker more (approach moves besides
    // the second ko) keeps its measured class, and so does a ko whose
    // threat balance says the other side takes first.
    const bool fits = taker == kBlackCell
                          ? measured == kKoBlackFirst || measured == kOneApproachWhite
                          : measured == kKoWhiteFirst || measured == kOneApproachBlack;
    if (!fits) return 0;
    // The other side gives the ko up (it has no threat left), and the taker
    // settles it: a move after which the other side can no longer take back
    // there. A settling move that wins outright: one ko. Every settling
    // move still leaves the result on a ko the defender can resolve: the
    // taker must win a second ko too, and the other side is ahead by a
    // stage, as by an approach move. No settling move at all (the taker
    // must approach first while the other side retakes the same ko): the
    // approach ko as measured.
    const int retake = taken.koCell;
    if (!Advance(taken, kPassMove)) return 0;
    // Giving the ko up is a move elsewhere, not a pass towards the end of
    // the game: the taker's pass must not end it there (the game judged on
    // the final board would hand the taker the ko it has just taken).
    taken.passes = 0;
    // A second ko needs a ko capture other than the retake of the first.
    auto secondKo = [&] {
        for (int colour : {taken.toMove, Other(taken.toMove)}) {
            for (int c : region_.moveCells) {
                if (taken.board.At(c) != kEmptyCell) continue;
                if (colour != taker && c == retake) continue;
                Goban b = taken.board;
                std::vector<int16_t> cap;
                if (b.Play(colour, c, cap) && Searcher::KoPointAfter(b, c, cap)) return true;
            }
        }
        return false;
    };
    if (!secondKo()) return 0;
    const bool touched = koTouched_, open = koOpen_;
    const bool lifeAndDeath = region_.aim == Aim::Live || region_.aim == Aim::Kill;
    int stages = 0;
    // An attacker that has won the first ko may kill without settling it:
    // the defender can never resolve what is left, or the attacker's own
    // double ko kills. The first ko then decides.
    if (lifeAndDeath && taker == region_.attacker) {
        for (bool cycles : {false, true}) {
            const Outcome end = BlackAchievesAtTheEnd(taken, limits, nodes, cycles);
            if (end == Outcome::Unknown) return -1;
            if ((end == Outcome::Win) == (region_.attacker == kBlackCell)) return 0;
        }
    }
    for (int c : region_.moveCells) {
        SearchStart settled = taken;
        if (taken.board.At(c) != kEmptyCell || !Advance(settled, c)) continue;
        if (settled.board.At(retake) == kEmptyCell) {
            Goban b = settled.board;
            std::vector<int16_t> cap;
            if (b.Play(settled.toMove, retake, cap) && !cap.empty()) continue;
        }
        SearchMode mode;
        const Level l = AchieveLevel(goal, settled, limits, nodes, mode);
        if (l.kind == Level::Unknown) {
            stages = -1;
            break;
        }
        if (l.kind == (taker == kBlackCell ? Level::Unconditional : Level::None)) {
            stages = 0; // the first ko decides
            break;
        }
        if (l.kind != Level::Ko) continue;
        // A second ko the defender can never resolve (its capture only put
        // off) is no ko: the attacker has won.
        if (lifeAndDeath) {
            const Outcome end = BlackAchievesAtTheEnd(settled, limits, nodes);
            if (end == Outcome::Unknown) {
                stages = -1;
                break;
            }
            if ((end == Outcome::Win) == (region_.attacker == kBlackCell)) {
                if (taker == region_.attacker) {
                    stages = 0;
                    break;
                }
                continue;
            }
        }
        stages = 1;
    }
    koTouched_ = touched;
    koOpen_ = open;
    if (stages <= 0) return stages;
    return taker == kWhiteCell ? kTwoStageBlack : kTwoStageWhite;
}

int ProblemSolver::EternalKo(const SearchStart& pos, const Level& kill, Level cleanLife,
                             const Limits& limits, uint64_t& nodes) {
    // The defender to move, a ko nobody has just taken (after a pass too:
    // ending the game there leaves the seki the class holds). With the
    // attacker to move the position is the ko the attacker can start.
    if (pos.toMove != region_.defender || pos.koCell || kill.kind != Level::Ko) return 0;
    const bool live = region_.aim == Aim::Live;
    const int killGoal = live ? kLow : kHigh;
    // The defender's clean life: kill problems keep it in the seki goal
    // (Black reaches a seki unless White lives cleanly), living problems in
    // the high goal.
    const int lifeGoal = live ? kHigh : kLow;
    const bool blackAttacks = region_.attacker == kBlackCell;
    auto attackerAhead = [&](const Level& l) {
        return l.kind == Level::Ko && l.BlackAhead() == blackAttacks;
    };
    SearchMode mode;
    if (cleanLife.kind == Level::Unknown)
        cleanLife = AchieveLevel(lifeGoal, pos, limits, nodes, mode);
    if (cleanLife.kind == Level::Unknown) return -1;
    SearchStart other = pos;
    other.toMove = Other(pos.toMove);
    other.passes = 0;
    const Level otherKill = AchieveLevel(killGoal, other, limits, nodes, mode);
    if (otherKill.kind == Level::Unknown) return -1;
    const Level otherLife = AchieveLevel(lifeGoal, other, limits, nodes, mode);
    if (otherLife.kind == Level::Unknown) return -1;
    // The attacker to move: the defender's clean life is out of reach (the
    // seki is its best short of the ko), and the attacker's start lets the
    // defender take first. The defender to move: the capture still turns
    // on the ko, and the defender's clean life is a ko the attacker would
    // take first. Each side's start gives the other the first take.
    const bool noLife =
        live ? otherLife.kind == Level::None : otherLife.kind == Level::Unconditional;
    return noLife && otherKill.kind == Level::Ko && !attackerAhead(otherKill) &&
                   attackerAhead(cleanLife)
               ? 1
               : 0;
}

int ProblemSolver::CycleClass(int goal, const SearchStart& pos, int cycler, const Limits& limits,
                              uint64_t& nodes, Found& found) {
    using Kind = Searcher::CycleKind;
    const bool live = region_.aim == Aim::Live;
    if (!live && region_.aim != Aim::Kill) return 0;
    const Outcome wanted = cycler == kBlackCell ? Outcome::Win : Outcome::Loss;
    auto forces = [&](Kind kind) {
        const Outcome o = BlackAchievesWithCycles(goal, cycler, kind, pos, limits, nodes);
        found = Found{0, goal, cycler, kind};
        return o == Outcome::Unknown ? -1 : o == wanted ? 1 : 0;
    };
    if (cycler == region_.attacker) {
        // The attacker's double ko kills: its own group never needs a
        // threat, and the defender can never resolve the ko it turns on
        // (judged on the final board, as a ko the defender can never
        // resolve is).
        const Outcome o = BlackAchievesAtTheEnd(pos, limits, nodes, true);
        found = Found{0, goal, cycler, Kind::Kos};
        if (o == Outcome::Unknown) return -1;
        if (o != wanted) return 0;
        return live ? kBlackDeadDoubleKo : kWhiteDeadDoubleKo;
    }
    const int any = forces(Kind::Any);
    if (any <= 0) return any;
    return live ? kBlackAliveDoubleKo : kWhiteAliveDoubleKo;
}

ClassResult ProblemSolver::ClassifyDirect(const SearchStart& pos, const Limits& limits) {
    koTouched_ = false;
    koOpen_ = false;
    ClassResult res;
    SearchMode mode;
    auto settle = [&](int klass, int goal, const Found& cycle = Found{}) {
        res.klass = klass;
        res.goal = goal;
        res.mode = mode.mode;
        res.threats = mode.threats;
        res.cycle = cycle.cycle;
        res.cycleKind = cycle.cycleKind;
        return res;
    };
    if (GoalAim()) {
        const Found f = ClassifyGoal(pos, limits, res.nodes, mode);
        return f.klass ? settle(f.klass, f.goal, f) : res;
    }
    // A result that turns on a ko may be a cycle one side can force:
    // whenever the other side takes in one ko, it takes in the other (a
    // double ko). The searches with threats ban that side's repetition and
    // miss it. 0: no cycle turns it, -1 beyond the limits.
    Found cycle;
    auto cycleOf = [&](int goal, int cycler) {
        return CycleClass(goal, pos, cycler, limits, res.nodes, cycle);
    };
    const int attacker = region_.attacker, defender = region_.defender;
    if (region_.aim == Aim::Kill) {
        // Most positions met while proving are lives: whether Black reaches
        // even a seki settles them with one search.
        const Level seki = Achieve(kLow, pos, limits, res.nodes, mode);
        if (seki.kind == Level::Unknown) return res;
        if (seki.kind == Level::None) return settle(kWhiteAlive, kLow);
        const SearchMode sekiMode = mode;
        const Level kill = Achieve(kHigh, pos, limits, res.nodes, mode);
        if (kill.kind == Level::Unknown) return res;
        if (kill.kind == Level::Unconditional) return settle(kWhiteDead, kHigh);
        if (kill.kind == Level::Ko) {
            // When White cannot reach a settled life even with every ko
            // threat, White can never resolve the ko (a false eye, the bent
            // four in the corner): Black removes the threats and takes at
            // leisure, so White is simply dead.
            const Outcome settled = BlackAchievesAtTheEnd(pos, limits, res.nodes);
            if (settled == Outcome::Unknown) return res;
            if (settled == Outcome::Win) return settle(kWhiteDead, kHigh);
            for (int cycler : {defender, attacker}) {
                const int c = cycleOf(kHigh, cycler);
                if (c) return c < 0 ? res : settle(c, kHigh, cycle);
            }
            const int eternal = EternalKo(pos, kill, seki, limits, res.nodes);
            if (eternal < 0) return res;
            if (eternal) return settle(kEternalKoKill, kHigh);
            const int stages = TwoStageClass(kHigh, KoClass(kill), pos, limits, res.nodes);
            if (stages < 0) return res;
            return settle(stages ? stages : KoClass(kill), kHigh);
        }
        mode = sekiMode;
        return settle(seki.kind == Level::Unconditional || seki.BlackAhead() ? kSekiWhite
                                                                             : kWhiteAlive,
                      kLow);
    }
    // Live and race: first whether Black survives at all (life or seki).
    const bool live = region_.aim == Aim::Live;
    const Level low = Achieve(kLow, pos, limits, res.nodes, mode);
    if (low.kind == Level::Unknown) return res;
    if (low.kind == Level::None) return settle(live ? kBlackDead : kBlackLoses, kLow);
    if (low.kind == Level::Ko && live) {
        // Black lives only by retaking for ever: a ko Black can never
        // resolve, so Black is dead.
        const Outcome settled = BlackAchievesAtTheEnd(pos, limits, res.nodes);
        if (settled == Outcome::Unknown) return res;
        if (settled == Outcome::Loss) return settle(kBlackDead, kLow);
        for (int cycler : {defender, attacker}) {
            const int c = cycleOf(kLow, cycler);
            if (c) return c < 0 ? res : settle(c, kLow, cycle);
        }
    }
    if (low.kind == Level::Ko) {
        const SearchMode lowMode = mode;
        const int eternal =
            region_.aim == Aim::Live ? EternalKo(pos, low, Level{}, limits, res.nodes) : 0;
        if (eternal < 0) return res;
        const int stages = eternal ? 0 : TwoStageClass(kLow, KoClass(low), pos, limits, res.nodes);
        if (stages < 0) return res;
        mode = lowMode;
        return settle(eternal ? kEternalKoLive : stages ? stages : KoClass(low), kLow);
    }
    const SearchMode lowMode = mode;
    const Level high = Achieve(kHigh, pos, limits, res.nodes, mode);
    if (high.kind == Level::Unknown) return res;
    if (high.kind == Level::Unconditional)
        return settle(region_.aim == Aim::Live ? kBlackAlive : kBlackWins, kHigh);
    mode = lowMode;
    return settle(kSekiBlack, kLow);
}

ProblemSolver::Found ProblemSolver::ClassifyGoal(const SearchStart& pos, const Limits& limits,
                                                 uint64_t& nodes, SearchMode& mode) {
    auto settle = [](int klass, int goal, int cycle = 0) {
        return Found{klass, goal, cycle, Searcher::CycleKind::Any};
    };
    const bool blackAttacks = region_.attacker == kBlackCell;
    const Level full = Achieve(kHigh, pos, limits, nodes, mode);
    if (full.kind == Level::Unknown) return {};
    if (full.kind == Level::Unconditional) return settle(kBlackSucceeds, kHigh);
    if (full.kind == Level::Ko) {
        // As in life and death: a ko the defender can never resolve is no
        // ko, and a double ko is the defender's for ever.
        const Outcome settled = BlackAchievesAtTheEnd(pos, limits, nodes);
        if (settled == Outcome::Unknown) return {};
        bool fails = false;
        if (blackAttacks && settled == Outcome::Win) return settle(kBlackSucceeds, kHigh);
        if (!blackAttacks && settled == Outcome::Loss) {
            fails = true;
        } else {
            const Outcome cycles = BlackAchievesWithCycles(
                kHigh, region_.defender, Searcher::CycleKind::Any, pos, limits, nodes);
            if (cycles == Outcome::Unknown) return {};
            if (!blackAttacks && cycles == Outcome::Win)
                return settle(kBlackSucceeds, kHigh, region_.defender);
            fails = blackAttacks && cycles == Outcome::Loss;
        }
        if (!fails) return settle(KoClass(full), kHigh);
    }
    // The whole goal fails: is part of it reached (some of the stones saved
    // or taken)? With one target chain the two goals are the same.
    if (oneTarget_) return settle(kBlackFails, kHigh);
    const Level part = Achieve(kLow, pos, limits, nodes, mode);
    if (part.kind == Level::Unconditional) return settle(kBlackLoss, kLow);
    if (part.kind == Level::None) return settle(kBlackFails, kLow);
    return {}; // beyond reach, or a part that turns on a ko (not told apart)
}

std::vector<int> ProblemSolver::LineFor(const SearchStart& pos, const ClassResult& result,
                                        int maxMoves) {
    if (!result.klass) return {};
    // The attacker's double ko is shown by the search of the final board.
    if (result.cycle && result.cycle == region_.attacker &&
        result.cycleKind == Searcher::CycleKind::Kos && endSearchers_[1])
        return endSearchers_[1]->Line(pos, maxMoves);
    if (result.cycle)
        return CycleSearcher(result.goal, result.cycle, result.cycleKind).Line(pos, maxMoves);
    return Get(result.goal, result.mode, result.threats).Line(pos, maxMoves);
}

bool ProblemSolver::PlayPlain(SearchStart& s, int cell) {
    std::vector<int16_t> cap;
    const uint64_t before = s.board.Hash();
    if (!s.board.Play(s.toMove, cell, cap)) return false;
    s.history.push_back(before);
    NoteCaptured(s, Other(s.toMove), cap);
    s.koCell = Searcher::KoPointAfter(s.board, cell, cap);
    s.passes = 0;
    s.toMove = Other(s.toMove);
    return true;
}

std::vector<int> ProblemSolver::BestLine(const SearchStart& pos, const ClassResult& result,
                                         int maxMoves, const Limits& limits) {
    std::vector<int> line;
    SearchStart s = pos;
    for (int i = 0; i < maxMoves && result.klass && !Settled(s); ++i) {
        const ClassResult here = Classify(s, limits);
        if (here.klass != result.klass) break;
        const std::vector<int> hint = LineFor(s, here, 1);
        if (hint.empty() || hint[0] == kPassMove) break;
        std::vector<int> tries = {hint[0]};
        for (int c : CandidateMoves(s))
            if (c != hint[0]) tries.push_back(c);
        int chosen = -1;
        SearchStart next;
        for (int c : tries) {
            next = s;
            if (!PlayPlain(next, c)) continue;
            if (Classify(next, limits).klass == result.klass) {
                chosen = c;
                break;
            }
        }
        if (chosen < 0) break;
        line.push_back(chosen);
        s = next;
    }
    return line;
}

bool ProblemSolver::Settled(const SearchStart& pos) const {
    // Connect and cut: both the whole goal and its part are decided.
    if (GoalAim() && Judge(region_, true).Evaluate(pos.board, pos.toMove, true) == Verdict::None)
        return false;
    return Judge(region_).Evaluate(pos.board, pos.toMove, true) != Verdict::None;
}

std::vector<int> ProblemSolver::CandidateMoves(const SearchStart& pos) {
    std::vector<int> moves;
    for (int c : region_.moveCells) {
        if (pos.board.At(c) != kEmptyCell) continue;
        SearchStart next = pos;
        if (Advance(next, c)) moves.push_back(c);
    }
    return moves;
}

bool ProblemSolver::Advance(SearchStart& pos, int move) {
    return Get(kLow, KoMode::Base).Advance(pos, move);
}

std::string MoveText(int colour, int cell) {
    std::string s(1, colour == kBlackCell ? 'B' : 'W');
    if (cell == kPassMove) return s + "[]";
    s += '[';
    s += static_cast<char>('a' + CellX(cell));
    s += static_cast<char>('a' + CellY(cell));
    s += ']';
    return s;
}

} // namespace velsolver

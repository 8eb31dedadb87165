#include "solver.h"

namespace velsolver {

namespace {
constexpr int kHigh = 0; // life / kill / capture
constexpr int kLow = 1;  // life or seki / no clean life / capture or seki

// The worth of a class for Black, as the program's outcome table ranks the
// classes the solver gives.
int ClassWorth(int klass) {
    switch (klass) {
    case kBlackWins:
        return 210;
    case kWhiteDead:
    case kBlackAlive:
    case kSekiBlack:
        return 200;
    case kWhiteDeadKo:
        return 199;
    case kKoBlackFirst:
        return 170;
    case kKoWhiteFirst:
        return 160;
    case kSekiWhite:
    case kBlackDeadKo:
        return 131;
    default: // 白生き, 黒負け, 黒死
        return 130;
    }
}
} // namespace

ProblemSolver::ProblemSolver(const Goban& start, int viewSize, Aim aim, int tableBits)
    : start_(start), region_(AnalyzeRegion(start, viewSize, aim)), tableBits_(tableBits) {}

SearchStart ProblemSolver::Start() const {
    SearchStart s;
    s.board = start_;
    s.toMove = kBlackCell;
    return s;
}

bool ProblemSolver::SekiToDefender(int goal) const {
    // For the live aim the high goal is clean life; for kill and race the
    // high goal is the capture, which a seki denies.
    return region_.aim == Aim::Live ? goal == kLow : goal == kHigh;
}

Searcher& ProblemSolver::Get(int goal, KoMode mode) {
    auto& s = searchers_[goal][static_cast<int>(mode)];
    if (!s) {
        s = std::make_unique<Searcher>(region_, SekiToDefender(goal), mode, tableBits_);
        if (mode != KoMode::Base) s->ShareSettled(&Get(goal, KoMode::Base));
    }
    return *s;
}

uint64_t ProblemSolver::TotalNodes() const {
    uint64_t n = 0;
    for (const auto& goal : searchers_)
        for (const auto& s : goal)
            if (s) n += s->Nodes();
    if (endSearcher_) n += endSearcher_->Nodes();
    return n;
}

Outcome ProblemSolver::BlackAchieves(int goal, KoMode mode, const SearchStart& pos,
                                     const Limits& limits, bool* koDep, uint64_t& nodes) {
    Searcher& s = Get(goal, mode);
    const Outcome o = s.Solve(pos, limits);
    nodes += s.LastNodes();
    if (koDep) *koDep = s.KoDependent();
    if (o == Outcome::Unknown) return o;
    const int winner = o == Outcome::Win ? pos.toMove : Other(pos.toMove);
    return winner == kBlackCell ? Outcome::Win : Outcome::Loss;
}

Outcome ProblemSolver::BlackAchievesAtTheEnd(const SearchStart& pos, const Limits& limits,
                                             uint64_t& nodes) {
    if (!endSearcher_) {
        const KoMode threats =
            region_.aim == Aim::Live ? KoMode::BlackThreats : KoMode::WhiteThreats;
        endSearcher_ = std::make_unique<Searcher>(region_, true, threats, tableBits_);
        endSearcher_->ConfirmAtTheEnd();
    }
    const Outcome o = endSearcher_->Solve(pos, limits);
    nodes += endSearcher_->LastNodes();
    if (o == Outcome::Unknown) return o;
    const int winner = o == Outcome::Win ? pos.toMove : Other(pos.toMove);
    return winner == kBlackCell ? Outcome::Win : Outcome::Loss;
}

ProblemSolver::Level ProblemSolver::AchieveLevel(int goal, const SearchStart& pos,
                                                 const Limits& limits, uint64_t& nodes,
                                                 KoMode& mode) {
    bool koDep = false;
    mode = KoMode::Base;
    const Outcome base = BlackAchieves(goal, KoMode::Base, pos, limits, &koDep, nodes);
    if (base == Outcome::Unknown) return Level::Unknown;
    if (base == Outcome::Win) {
        if (!koDep) return Level::Unconditional;
        // Does Black still make it when White has every ko threat?
        const Outcome o = BlackAchieves(goal, KoMode::WhiteThreats, pos, limits, nullptr, nodes);
        if (o == Outcome::Unknown) return Level::Unknown;
        if (o != Outcome::Win) return Level::KoBlackFirst;
        mode = KoMode::WhiteThreats;
        return Level::Unconditional;
    }
    if (!koDep) return Level::None;
    const Outcome o = BlackAchieves(goal, KoMode::BlackThreats, pos, limits, nullptr, nodes);
    if (o == Outcome::Unknown) return Level::Unknown;
    mode = KoMode::BlackThreats;
    return o == Outcome::Win ? Level::KoWhiteFirst : Level::None;
}

ProblemSolver::Level ProblemSolver::Achieve(int goal, const SearchStart& pos, const Limits& limits,
                                            uint64_t& nodes, KoMode& mode) {
    const Level l = AchieveLevel(goal, pos, limits, nodes, mode);
    // Only a level that turns on who may retake leaves the class open to
    // the choice of fight one move on; a level that holds with every ko
    // threat for the other side does not.
    if (l == Level::KoBlackFirst || l == Level::KoWhiteFirst) koTouched_ = true;
    return l;
}

ClassResult ProblemSolver::Classify(const SearchStart& pos, const Limits& limits) {
    ClassResult res = ClassifyDirect(pos, limits);
    // A side barred from retaking needs a ko threat first: its moves here
    // cannot show that, the searches with threats do.
    if (!res.klass || !koTouched_ || pos.koCell) return res;
    // A ko position: who may retake, and which fight the side to move picks,
    // shows only one move on. The side to move takes the best class of its
    // moves (the pass included) by the outcome table; each child is classed
    // from its own searches.
    const bool black = pos.toMove == kBlackCell;
    std::vector<int> moves = CandidateMoves(pos);
    if (!pos.passes) moves.push_back(kPassMove);
    int best = 0;
    for (int m : moves) {
        SearchStart next = pos;
        if (!Advance(next, m)) continue;
        const ClassResult child = ClassifyDirect(next, limits);
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
    }
    return res;
}

ClassResult ProblemSolver::ClassifyDirect(const SearchStart& pos, const Limits& limits) {
    koTouched_ = false;
    ClassResult res;
    auto ko = [](Level l) { return l == Level::KoBlackFirst ? kKoBlackFirst : kKoWhiteFirst; };
    KoMode mode = KoMode::Base;
    auto settle = [&](int klass, int goal) {
        res.klass = klass;
        res.goal = goal;
        res.mode = mode;
        return res;
    };
    if (region_.aim == Aim::Kill) {
        // Most positions met while proving are lives: whether Black reaches
        // even a seki settles them with one search.
        const Level seki = Achieve(kLow, pos, limits, res.nodes, mode);
        if (seki == Level::Unknown) return res;
        if (seki == Level::None) return settle(kWhiteAlive, kLow);
        const KoMode sekiMode = mode;
        const Level kill = Achieve(kHigh, pos, limits, res.nodes, mode);
        if (kill == Level::Unknown) return res;
        if (kill == Level::Unconditional) return settle(kWhiteDead, kHigh);
        if (kill == Level::KoBlackFirst) {
            // Black takes the ko first. When White cannot reach a settled
            // life even with every ko threat, White can never resolve the ko
            // (a false eye, the bent four in the corner): Black removes the
            // threats and takes at leisure, so White is simply dead.
            const Outcome settled = BlackAchievesAtTheEnd(pos, limits, res.nodes);
            if (settled == Outcome::Unknown) return res;
            if (settled == Outcome::Win) return settle(kWhiteDead, kHigh);
        }
        if (kill != Level::None) return settle(ko(kill), kHigh);
        mode = sekiMode;
        return settle(seki == Level::Unconditional || seki == Level::KoBlackFirst ? kSekiWhite
                                                                                  : kWhiteAlive,
                      kLow);
    }
    // Live and race: first whether Black survives at all (life or seki).
    const Level low = Achieve(kLow, pos, limits, res.nodes, mode);
    if (low == Level::Unknown) return res;
    if (low == Level::None)
        return settle(region_.aim == Aim::Live ? kBlackDead : kBlackLoses, kLow);
    if (low == Level::KoWhiteFirst && region_.aim == Aim::Live) {
        // Black lives only by retaking for ever: a ko Black can never
        // resolve, so Black is dead.
        const Outcome settled = BlackAchievesAtTheEnd(pos, limits, res.nodes);
        if (settled == Outcome::Unknown) return res;
        if (settled == Outcome::Loss) return settle(kBlackDead, kLow);
    }
    if (low != Level::Unconditional) return settle(ko(low), kLow);
    const KoMode lowMode = mode;
    const Level high = Achieve(kHigh, pos, limits, res.nodes, mode);
    if (high == Level::Unknown) return res;
    if (high == Level::Unconditional)
        return settle(region_.aim == Aim::Live ? kBlackAlive : kBlackWins, kHigh);
    mode = lowMode;
    return settle(kSekiBlack, kLow);
}

std::vector<int> ProblemSolver::LineFor(const SearchStart& pos, const ClassResult& result,
                                        int maxMoves) {
    if (!result.klass) return {};
    return Get(result.goal, result.mode).Line(pos, maxMoves);
}

bool ProblemSolver::PlayPlain(SearchStart& s, int cell) {
    std::vector<int16_t> cap;
    const uint64_t before = s.board.Hash();
    if (!s.board.Play(s.toMove, cell, cap)) return false;
    s.history.push_back(before);
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

#include "solver.h"

namespace velsolver {

namespace {
constexpr int kHigh = 0; // life / kill / capture
constexpr int kLow = 1;  // life or seki / no clean life / capture or seki
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
    if (!s) s = std::make_unique<Searcher>(region_, SekiToDefender(goal), mode, tableBits_);
    return *s;
}

uint64_t ProblemSolver::TotalNodes() const {
    uint64_t n = 0;
    for (const auto& goal : searchers_)
        for (const auto& s : goal)
            if (s) n += s->Nodes();
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

ProblemSolver::Level ProblemSolver::Achieve(int goal, const SearchStart& pos, const Limits& limits,
                                            uint64_t& nodes, KoMode& mode) {
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

ClassResult ProblemSolver::Classify(const SearchStart& pos, const Limits& limits) {
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
        const Level kill = Achieve(kHigh, pos, limits, res.nodes, mode);
        if (kill == Level::Unknown) return res;
        if (kill == Level::Unconditional) return settle(kWhiteDead, kHigh);
        if (kill == Level::KoBlackFirst) {
            // Black takes the ko first. When White cannot reach a settled
            // life even with every ko threat, White can never resolve the ko
            // and Black may start it at leisure: dead as the bent four in
            // the corner.
            const Outcome settled =
                BlackAchieves(kLow, KoMode::WhiteThreats, pos, limits, nullptr, res.nodes);
            if (settled == Outcome::Unknown) return res;
            if (settled == Outcome::Win) return settle(kWhiteDeadKo, kHigh);
        }
        if (kill != Level::None) return settle(ko(kill), kHigh);
        const Level seki = Achieve(kLow, pos, limits, res.nodes, mode);
        if (seki == Level::Unknown) return res;
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
        // Black lives only by retaking for ever: dead as the bent four.
        const Outcome settled =
            BlackAchieves(kHigh, KoMode::BlackThreats, pos, limits, nullptr, res.nodes);
        if (settled == Outcome::Unknown) return res;
        if (settled == Outcome::Loss) return settle(kBlackDeadKo, kLow);
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

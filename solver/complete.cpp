#include "complete.h"

#include "rules/outcome.h"

#include <algorithm>

namespace velsolver {

namespace {

int ClassValue(int klass) {
    return ResultValue(klass * 10) / 10;
}

} // namespace

int Plausibility(const Region& r, const Goban& b, int c) {
    int score = 0, room = 0;
    for (int d : kDelta) {
        const uint8_t v = b.At(c + d);
        if (v == r.defender) score += 2;
        if (v == r.attacker) score += 1;
        if (v == kEmptyCell && r.movable[c + d]) ++room;
    }
    for (int d : {-kStride - 1, -kStride + 1, kStride - 1, kStride + 1}) {
        const uint8_t v = b.At(c + d);
        if (v == kBlackCell || v == kWhiteCell) score += 1;
    }
    if (room >= 3) score += 3;
    return score;
}

Demand DemandAt(ProblemSolver& solver, const SearchStart& pos, const Limits& limits, int wrongMoves,
                bool everyKeeper) {
    Demand d;
    const ClassResult here = solver.Classify(pos, limits);
    d.nodes += here.nodes;
    d.klass = here.klass;
    if (!d.klass) {
        d.reached = false;
        return d;
    }
    SearchStart passed = pos;
    if (solver.Advance(passed, kPassMove)) {
        const ClassResult r = solver.Classify(passed, limits);
        d.nodes += r.nodes;
        if (!r.klass) d.reached = false; // whether a pass keeps the result is not known
        d.passKeeps = r.klass && ClassValue(r.klass) == ClassValue(d.klass);
    }
    struct Scored {
        int cell;
        int score;
    };
    std::vector<Scored> losing;
    for (int c : solver.CandidateMoves(pos)) {
        SearchStart s = pos;
        if (!solver.Advance(s, c)) continue;
        const ClassResult r = solver.Classify(s, limits);
        d.nodes += r.nodes;
        if (!r.klass) {
            d.reached = false;
            continue;
        }
        d.classes[c] = r;
        d.positions[c] = s;
        if (ClassValue(r.klass) == ClassValue(d.klass)) {
            if (everyKeeper || !d.passKeeps) d.keepers.push_back(c);
        } else if (const int score = Plausibility(solver.region(), pos.board, c); score > 0)
            losing.push_back({c, score});
    }
    if (!everyKeeper && static_cast<int>(d.keepers.size()) > kMaxKeepers) d.keepers.clear();
    std::stable_sort(losing.begin(), losing.end(),
                     [](const Scored& a, const Scored& b) { return a.score > b.score; });
    for (size_t i = 0; i < losing.size() && static_cast<int>(i) < wrongMoves; ++i)
        d.wrong.push_back(losing[i].cell);
    return d;
}

std::vector<int> Refutation(ProblemSolver& solver, const SearchStart& pos,
                            const ClassResult& result, const Limits& limits, int maxMoves) {
    std::vector<int> line = solver.BestLine(pos, result, maxMoves, limits);
    if (!line.empty()) return line;
    int chosen = -1, chosenScore = -1;
    for (int c : solver.CandidateMoves(pos)) {
        SearchStart next = pos;
        if (!ProblemSolver::PlayPlain(next, c)) continue;
        const int score = Plausibility(solver.region(), pos.board, c);
        if (score <= chosenScore) continue;
        const int k = solver.Classify(next, limits).klass;
        if (k && ClassValue(k) == ClassValue(result.klass)) {
            chosen = c;
            chosenScore = score;
        }
    }
    if (chosen >= 0) line.push_back(chosen);
    return line;
}

} // namespace velsolver

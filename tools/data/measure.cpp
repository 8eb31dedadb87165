#include "measure.h"

#include "rules/outcome.h"
#include "rules/rules.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <string>
#include <vector>

namespace {

using Stones = std::bitset<kPoints>;

struct Variant {
    Stones black, white;
};

// The point (x, y) under symmetry s of the 19 x 19 board.
int Transform(int s, int x, int y) {
    const int last = kBoardSize - 1;
    if (s & 4) std::swap(x, y);
    if (s & 1) x = last - x;
    if (s & 2) y = last - y;
    return x + kBoardSize * y;
}

std::array<Variant, 16> Variants(const Problem& p) {
    std::array<Variant, 16> out{};
    for (int pt = 0; pt < kPoints; ++pt) {
        const int v = p.gInitBoard[static_cast<size_t>(pt)];
        if (v != kBlack && v != kWhite) continue;
        for (int s = 0; s < 8; ++s) {
            const int t = Transform(s, pt % kBoardSize, pt / kBoardSize);
            (v == kBlack ? out[s].black : out[s].white).set(static_cast<size_t>(t));
            (v == kBlack ? out[s + 8].white : out[s + 8].black).set(static_cast<size_t>(t));
        }
    }
    return out;
}

int Distance(const Variant& a, const std::array<Variant, 16>& b) {
    int best = kPoints * 2;
    for (const Variant& v : b)
        best = std::min(
            best, static_cast<int>((a.black ^ v.black).count() + (a.white ^ v.white).count()));
    return best;
}

// Main-line length below `node` (kRoot for the start).
int LineBelow(const Problem& p, int node, std::vector<int16_t>* line) {
    const NodeList kids = GetChildren(p, node);
    if (kids.empty()) return 0;
    const int value = ResultValue(node == kRoot ? p.kekkaCalc[0] : p.kekkaCalc[node + 1]);
    const bool black = Depth(p, node) % 2 == 0;
    int best = -1;
    int16_t chosen = -1;
    std::vector<int16_t> bestLine;
    for (int16_t k : kids) {
        if (ResultValue(p.kekkaCalc[k + 1]) != value) continue;
        std::vector<int16_t> below;
        const int len = 1 + LineBelow(p, k, line ? &below : nullptr);
        if (best < 0 || (black ? len < best : len > best)) {
            best = len;
            chosen = k;
            bestLine = std::move(below);
        }
    }
    if (best < 0) return 0;
    if (line) {
        line->push_back(chosen);
        line->insert(line->end(), bestLine.begin(), bestLine.end());
    }
    return best;
}

} // namespace

int PositionDistance(const Problem& a, const Problem& b) {
    return Distance(Variants(a)[0], Variants(b));
}

std::vector<SimilarPair> FindSimilar(const std::vector<const Problem*>& problems, int maxDistance) {
    std::vector<std::array<Variant, 16>> all;
    all.reserve(problems.size());
    std::vector<int> counts;
    for (const Problem* p : problems) {
        all.push_back(Variants(*p));
        counts.push_back(
            static_cast<int>(all.back()[0].black.count() + all.back()[0].white.count()));
    }
    std::vector<SimilarPair> out;
    for (size_t i = 0; i < all.size(); ++i)
        for (size_t j = i + 1; j < all.size(); ++j) {
            if (std::abs(counts[i] - counts[j]) > maxDistance) continue;
            const int d = Distance(all[i][0], all[j]);
            if (d <= maxDistance) out.push_back({static_cast<int>(i), static_cast<int>(j), d});
        }
    return out;
}

DifficultyMeasure MeasureDifficulty(const Problem& problem) {
    Problem p = problem;
    DifficultyMeasure m;
    if (p.hands <= 0 || CalcAllResults(p) < 0) return m;
    std::vector<int16_t> line;
    m.mainLine = LineBelow(p, kRoot, &line);
    if (line.empty()) return m;
    int16_t at = kRoot;
    for (size_t i = 0; i < line.size(); i += 2) {
        if (CountChildren(p, at) > 1) ++m.branching;
        if (i + 1 < line.size()) at = line[i + 1];
    }
    // The first move: touching nothing, or captured later on the main line.
    Board board{};
    BuildPosition(p, kRoot, board);
    const int fx = p.x[line[0]], fy = p.y[line[0]];
    bool touches = false;
    for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
        const int x = fx + dx, y = fy + dy;
        if (x >= 0 && y >= 0 && x < kBoardSize && y < kBoardSize &&
            board[static_cast<size_t>(x + kBoardSize * y)] != kEmpty)
            touches = true;
    }
    bool captured = false;
    for (size_t i = 0; i < line.size(); ++i) {
        const int colour = i % 2 == 0 ? kBlack : kWhite;
        if (!ApplyMove(colour, p.x[line[i]], p.y[line[i]], board)) break;
        if (i > 0 && board[static_cast<size_t>(fx + kBoardSize * fy)] != kBlack) captured = true;
    }
    m.hardFirstMove = !touches || captured;
    return m;
}

std::string PositionKey(const Problem& p) {
    std::string best;
    for (const Variant& v : Variants(p)) {
        std::vector<std::string> stones;
        for (int pt = 0; pt < kPoints; ++pt) {
            const bool b = v.black.test(static_cast<size_t>(pt));
            if (!b && !v.white.test(static_cast<size_t>(pt))) continue;
            stones.push_back({b ? 'b' : 'w', static_cast<char>('a' + pt % kBoardSize),
                              static_cast<char>('a' + pt / kBoardSize)});
        }
        std::sort(stones.begin(), stones.end());
        std::string key;
        for (const std::string& s : stones)
            key += s;
        if (best.empty() || key < best) best = key;
    }
    return best;
}

int HighestLevel(const DifficultyMeasure& m) {
    const bool hard = m.hardFirstMove || m.engineMisses;
    if (m.mainLine >= 7 || (m.mainLine >= 5 && hard)) return 30;
    if (m.mainLine >= 5) return 20;
    return 10;
}

QString LevelFault(const Problem& p, bool engineMisses) {
    if (p.Difficulty != 20 && p.Difficulty != 30) return {};
    DifficultyMeasure m = MeasureDifficulty(p);
    m.engineMisses = engineMisses;
    if (p.Difficulty <= HighestLevel(m)) return {};
    return QStringLiteral("DF %1 is above the measured difficulty (main line %2 moves%3): "
                          "上級 needs 5, 有段 7 or 5 with a hard first move")
        .arg(p.Difficulty)
        .arg(m.mainLine)
        .arg(m.hardFirstMove  ? QStringLiteral(", hard first move")
             : m.engineMisses ? QStringLiteral(", GNU Go misses the first move")
                              : QString());
}

#include "goban.h"

namespace velsolver {

Goban::Goban() {
    cells_.fill(kBorderCell);
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x)
            cells_[CellOf(x, y)] = kEmptyCell;
    stack_.reserve(kCells);
}

uint32_t Goban::NextGen() const {
    if (++gen_ == 0) {
        mark_.fill(0);
        gen_ = 1;
    }
    return gen_;
}

void Goban::Set(int c, uint8_t v) {
    const auto& z = Zobrist::Get();
    if (cells_[c] == kBorderCell) return;
    if (cells_[c] != kEmptyCell) hash_ ^= z.stone[cells_[c]][c];
    cells_[c] = v;
    if (v != kEmptyCell) hash_ ^= z.stone[v][c];
}

bool Goban::HasLiberty(int c) const {
    // Most chains have a liberty next to the stone itself.
    for (int d : kDelta)
        if (cells_[c + d] == kEmptyCell) return true;
    const uint8_t colour = cells_[c];
    const uint32_t g = NextGen();
    stack_.clear();
    stack_.push_back(static_cast<int16_t>(c));
    mark_[c] = g;
    while (!stack_.empty()) {
        const int p = stack_.back();
        stack_.pop_back();
        for (int d : kDelta) {
            const int n = p + d;
            const uint8_t v = cells_[n];
            if (v == kEmptyCell) return true;
            if (v == colour && mark_[n] != g) {
                mark_[n] = g;
                stack_.push_back(static_cast<int16_t>(n));
            }
        }
    }
    return false;
}

int Goban::CountLiberties(int c, int limit) const {
    const uint8_t colour = cells_[c];
    const uint32_t g = NextGen();
    stack_.clear();
    stack_.push_back(static_cast<int16_t>(c));
    mark_[c] = g;
    int libs = 0;
    while (!stack_.empty()) {
        const int p = stack_.back();
        stack_.pop_back();
        for (int d : kDelta) {
            const int n = p + d;
            if (mark_[n] == g) continue;
            const uint8_t v = cells_[n];
            if (v == kEmptyCell) {
                mark_[n] = g;
                if (++libs >= limit) return libs;
            } else if (v == colour) {
                mark_[n] = g;
                stack_.push_back(static_cast<int16_t>(n));
            }
        }
    }
    return libs;
}

void Goban::Chain(int c, std::vector<int16_t>& stones, std::vector<int16_t>* libs) const {
    stones.clear();
    if (libs) libs->clear();
    const uint8_t colour = cells_[c];
    if (colour != kBlackCell && colour != kWhiteCell) return;
    const uint32_t g = NextGen();
    stones.push_back(static_cast<int16_t>(c));
    mark_[c] = g;
    for (size_t i = 0; i < stones.size(); ++i) {
        const int p = stones[i];
        for (int d : kDelta) {
            const int n = p + d;
            if (mark_[n] == g) continue;
            const uint8_t v = cells_[n];
            if (v == colour) {
                mark_[n] = g;
                stones.push_back(static_cast<int16_t>(n));
            } else if (v == kEmptyCell && libs) {
                mark_[n] = g;
                libs->push_back(static_cast<int16_t>(n));
            }
        }
    }
}

bool Goban::Play(int colour, int c, std::vector<int16_t>& captured) {
    if (cells_[c] != kEmptyCell) return false;
    const auto& z = Zobrist::Get();
    const uint8_t opp = static_cast<uint8_t>(Other(colour));
    cells_[c] = static_cast<uint8_t>(colour);
    const size_t before = captured.size();
    for (int d : kDelta) {
        const int n = c + d;
        if (cells_[n] != opp || EmptyNext(n) || HasLiberty(n)) continue;
        // Remove the chain through n.
        stack_.clear();
        stack_.push_back(static_cast<int16_t>(n));
        cells_[n] = kEmptyCell;
        hash_ ^= z.stone[opp][n];
        captured.push_back(static_cast<int16_t>(n));
        while (!stack_.empty()) {
            const int p = stack_.back();
            stack_.pop_back();
            for (int e : kDelta) {
                const int q = p + e;
                if (cells_[q] == opp) {
                    cells_[q] = kEmptyCell;
                    hash_ ^= z.stone[opp][q];
                    captured.push_back(static_cast<int16_t>(q));
                    stack_.push_back(static_cast<int16_t>(q));
                }
            }
        }
    }
    if (captured.size() == before && !EmptyNext(c) && !HasLiberty(c)) {
        cells_[c] = kEmptyCell;
        return false;
    }
    hash_ ^= z.stone[colour][c];
    return true;
}

void Goban::Undo(int colour, int c, std::vector<int16_t>& captured, size_t from) {
    const auto& z = Zobrist::Get();
    const uint8_t opp = static_cast<uint8_t>(Other(colour));
    cells_[c] = kEmptyCell;
    hash_ ^= z.stone[colour][c];
    for (size_t i = from; i < captured.size(); ++i) {
        cells_[captured[i]] = opp;
        hash_ ^= z.stone[opp][captured[i]];
    }
    captured.resize(from);
}

Goban Goban::FromDiagram(const std::vector<std::string>& rows) {
    Goban b;
    for (int y = 0; y < static_cast<int>(rows.size()) && y < kSide; ++y) {
        int x = 0;
        for (char ch : rows[y]) {
            if (ch == ' ') continue;
            if (x >= kSide) break;
            if (ch == 'X' || ch == 'x')
                b.Set(CellOf(x, y), kBlackCell);
            else if (ch == 'O' || ch == 'o')
                b.Set(CellOf(x, y), kWhiteCell);
            ++x;
        }
    }
    return b;
}

std::string Goban::ToDiagram(int size) const {
    std::string out;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const uint8_t v = cells_[CellOf(x, y)];
            out += v == kBlackCell ? 'X' : v == kWhiteCell ? 'O' : '.';
            if (x + 1 < size) out += ' ';
        }
        out += '\n';
    }
    return out;
}

} // namespace velsolver

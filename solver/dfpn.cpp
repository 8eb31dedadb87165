#include "dfpn.h"

#include <algorithm>
#include <bit>
#include <ctime>

namespace velsolver {

namespace {
constexpr int kMaxDepth = 300;
constexpr uint8_t kUsed = 1;
constexpr uint8_t kPathDep = 2;
constexpr uint8_t kKoDep = 4;
constexpr uint8_t kBound = 8;
constexpr uint8_t kWhiteWon = 16;
constexpr uint8_t kDepMask = kPathDep | kKoDep | kBound | kWhiteWon;
// The flags that tie a settled result to the path it was settled on.
constexpr uint8_t kOnPath = kPathDep | kBound;
} // namespace

Searcher::Searcher(const Region& region, bool sekiToDefender, KoMode mode, int tableBits,
                   int threats, bool everyKey)
    : r_(region), everyKey_(everyKey), judge_(region, everyKey), sekiToDefender_(sekiToDefender),
      mode_(mode) {
    const int side = mode == KoMode::BlackThreats   ? kBlackCell
                     : mode == KoMode::WhiteThreats ? kWhiteCell
                                                    : 0;
    if (side) {
        finite_ = threats < kUnlimitedThreats;
        startBudget_[side] = static_cast<uint8_t>(std::clamp(threats, 0, kUnlimitedThreats));
    }
    std::copy(std::begin(startBudget_), std::end(startBudget_), std::begin(budget_));
    // The table starts small and doubles as it fills, up to 2^tableBits.
    maxBits_ = std::clamp(tableBits, 10, 26);
    bits_ = std::min(maxBits_, 14);
    const size_t size = size_t{1} << bits_;
    // A table of a finished search is taken under a new epoch: its entries
    // read as unused without clearing it (cleared only when the epoch
    // wraps round).
    std::vector<Spare>& spares = Spares();
    for (size_t i = 0; i < spares.size(); ++i) {
        if (spares[i].table.size() != size) continue;
        table_.swap(spares[i].table);
        epoch_ = static_cast<uint16_t>(spares[i].epoch + 1);
        spares.erase(spares.begin() + static_cast<std::ptrdiff_t>(i));
        if (epoch_ == 0) {
            std::fill(table_.begin(), table_.end(), Entry{});
            epoch_ = 1;
        }
        break;
    }
    if (table_.empty()) table_.resize(size);
    mask_ = (uint64_t{1} << bits_) - 1;
    levels_.resize(kMaxDepth + 2);
    captured_.reserve(kCells);
    for (size_t i = 0; i < region.moveCells.size(); ++i)
        pointBit_[static_cast<size_t>(region.moveCells[i])] = uint32_t{1} << (i % 32);
}

Searcher::~Searcher() {
    std::vector<Spare>& spares = Spares();
    constexpr size_t kMostSpares = 32;
    if (table_.size() <= (size_t{1} << 14) && spares.size() < kMostSpares)
        spares.push_back(Spare{std::move(table_), epoch_});
}

std::vector<Searcher::Spare>& Searcher::Spares() {
    thread_local std::vector<Spare> spares;
    return spares;
}

SolverClock::time_point SolverClock::now() noexcept {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return time_point(
        duration(std::chrono::seconds(ts.tv_sec) + std::chrono::nanoseconds(ts.tv_nsec)));
}

bool Searcher::Lookup(uint64_t key, uint64_t pathKey, uint64_t emptied, uint32_t fresh,
                      Found& f) const {
    if (LookupOwn(key, pathKey, emptied, fresh, f)) return true;
    if (!shared_) return false;
    Found o;
    // Only a result that met no ban holds whoever may retake.
    if (!shared_->LookupOwn(key, pathKey, emptied, fresh, o) || (o.phi != 0 && o.delta != 0) ||
        (o.flags & (kPathDep | kKoDep)))
        return false;
    f = o;
    return true;
}

bool Searcher::LookupOwn(uint64_t key, uint64_t pathKey, uint64_t emptied, uint32_t fresh,
                         Found& f) const {
    const size_t base = static_cast<size_t>(key & mask_ & ~uint64_t{1});
    const Entry* found = nullptr;
    for (size_t i = base; i < base + 2; ++i) {
        const Entry& e = table_[i];
        if (!Live(e) || e.key != key) continue;
        const bool final = e.phi == 0 || e.delta == 0;
        // A stone that stands through the whole proof and stood in no
        // earlier position of the path: no move of the proof can bring one
        // back.
        const bool apart =
            fresh && !(e.leans.caught & fresh) && !(e.flags & kPathDep) && !ownPathsOnly_;
        if (final && e.pathKey != pathKey && ownPathsOnly_) continue;
        if (final && e.pathKey != pathKey && !apart) {
            const bool white = e.flags & kWhiteWon;
            const auto won = static_cast<uint32_t>(white ? emptied >> 32 : emptied);
            const auto lost = static_cast<uint32_t>(white ? emptied : emptied >> 32);
            if ((e.flags & kOnPath) || (e.leans.top & won) || ((e.leans.quiet & won) && lost) ||
                ((e.leans.moves & won) && (e.leans.loser & lost)))
                continue;
        }
        // A settled result before a search in progress.
        if (!found || final) found = &e;
    }
    if (!found) return false;
    f.phi = found->phi;
    f.delta = found->delta;
    f.flags = static_cast<uint8_t>(found->flags & kDepMask);
    f.work = found->work;
    f.leans = found->leans;
    return true;
}

void Searcher::Grow() {
    decltype(table_) old(size_t{1} << (bits_ + 1));
    old.swap(table_);
    ++bits_;
    mask_ = (uint64_t{1} << bits_) - 1;
    used_ = 0;
    for (const Entry& e : old) {
        if (!Live(e)) continue;
        const size_t base = static_cast<size_t>(e.key & mask_ & ~uint64_t{1});
        Entry* slot = !Live(table_[base])                          ? &table_[base]
                      : !Live(table_[base + 1])                    ? &table_[base + 1]
                      : table_[base].work <= table_[base + 1].work ? &table_[base]
                                                                   : &table_[base + 1];
        if (Live(*slot) && slot->work > e.work) continue;
        if (!Live(*slot)) ++used_;
        *slot = e;
    }
}

void Searcher::Store(uint64_t key, uint64_t pathKey, uint32_t phi, uint32_t delta, uint8_t flags,
                     uint32_t work, const Leans& leans) {
    if (bits_ < maxBits_ && used_ * 4 > table_.size() * 3) Grow();
    const size_t base = static_cast<size_t>(key & mask_ & ~uint64_t{1});
    Entry* slot = nullptr;
    for (size_t i = base; i < base + 2; ++i) {
        Entry& e = table_[i];
        if (!Live(e) || e.key != key) continue;
        // A result settled on another path keeps its slot while the other
        // slot of the pair can take this one.
        const bool otherPath = (e.phi == 0 || e.delta == 0) && e.pathKey != pathKey;
        if (!slot || !otherPath) slot = &e;
    }
    if (slot && slot->pathKey != pathKey && (slot->phi == 0 || slot->delta == 0)) {
        Entry& other = table_[base + (slot == &table_[base] ? 1 : 0)];
        if (!Live(other)) ++used_;
        slot = &other;
    } else if (!slot) {
        Entry& a = table_[base];
        Entry& b = table_[base + 1];
        if (!Live(a)) {
            slot = &a;
            ++used_;
        } else if (!Live(b)) {
            slot = &b;
            ++used_;
        } else {
            slot = a.work <= b.work ? &a : &b;
            // Results of a static judgement (no work) never push out
            // searched ones.
            if (work == 0 && slot->work > 0) return;
        }
    }
    slot->key = key;
    slot->pathKey = pathKey;
    slot->phi = phi;
    slot->delta = delta;
    slot->work = std::min<uint32_t>(work, 0xFFFFFF);
    slot->flags = static_cast<uint8_t>(kUsed | (flags & kDepMask));
    slot->epoch = epoch_;
    slot->leans = leans;
}

namespace {
uint64_t ThreatCode(unsigned black, unsigned white) {
    return Mix64(0x6b6f000u + black * 16u + white);
}
} // namespace

uint64_t Searcher::BaseKey() const {
    const auto& z = Zobrist::Get();
    return b_.Hash() ^ z.side[toMove_] ^ (passes_ ? z.pass : 0) ^ z.ko[ko_];
}

uint64_t Searcher::NodeKey() const {
    const uint64_t key = BaseKey();
    return finite_ ? key ^ ThreatCode(budget_[kBlackCell], budget_[kWhiteCell]) : key;
}

uint64_t Searcher::StoredPath(uint64_t key) const {
    const size_t base = static_cast<size_t>(key & mask_ & ~uint64_t{1});
    for (size_t i = base; i < base + 2; ++i)
        if (Live(table_[i]) && table_[i].key == key) return table_[i].pathKey;
    return ~uint64_t{0};
}

int Searcher::Power() const {
    if (mode_ == KoMode::Base) return 0;
    const bool black = mode_ == KoMode::BlackThreats;
    const int left =
        finite_ ? std::min<int>(budget_[black ? kBlackCell : kWhiteCell], kRungs - 1) : kRungs;
    return black ? left : -left;
}

bool Searcher::Import(uint64_t pathKey, Found& found) const {
    if (!ladder_) return false;
    const int power = Power();
    const uint64_t base = BaseKey();
    for (int q : {power - 1, power + 1}) {
        if (q < -kRungs || q > kRungs) continue;
        const Searcher* from = ladder_->rung[q + kRungs];
        if (!from) continue;
        // A finite count is part of the key; none and every threat are not.
        const unsigned n = static_cast<unsigned>(q < 0 ? -q : q);
        const uint64_t key =
            n == 0 || n == kRungs ? base : base ^ (q > 0 ? ThreatCode(n, 0) : ThreatCode(0, n));
        Found o;
        if (!from->LookupOwn(key, pathKey, emptied_, 0, o) || (o.phi != 0 && o.delta != 0))
            continue;
        // Only a result settled for this very set of earlier positions is
        // taken. One flagged as not resting on the path may still do so: a
        // move it allowed may repeat a position of another path (taken from
        // any path, such results turned a White win with two threats into a
        // Black one in the tables of a living problem).
        if (from->StoredPath(key) != pathKey) continue;
        const bool blackWins = (o.phi == 0) == (toMove_ == kBlackCell);
        if (blackWins != (q < power)) continue;
        found = o;
        // Not a result without bans here: whether it holds whoever may
        // retake is for this search to find out.
        found.flags = static_cast<uint8_t>(kKoDep | (o.flags & kOnPath));
        return true;
    }
    return false;
}

bool Searcher::MayRetake(int colour) const {
    return budget_[colour] > 0;
}

int Searcher::KoPointAfter(const Goban& b, int move, const std::vector<int16_t>& captured) {
    if (captured.size() != 1) return 0;
    const uint8_t colour = b.At(move);
    int libs = 0;
    for (int d : kDelta) {
        const uint8_t v = b.At(move + d);
        if (v == colour) return 0;
        if (v == kEmptyCell) ++libs;
    }
    return libs == 1 ? captured[0] : 0;
}

bool Searcher::CycleWin(size_t from, bool bigNow) const {
    // A cycle brings back the position with the same side to move (the
    // board alone may recur with the other side to move, which is free to
    // play otherwise: sending two stones and taking one back is no cycle
    // unless the other side's move completes it).
    if (toMove_ != cycleWinner_ || (hist_.size() - from) % 2 != 0) return false;
    if (cycleKind_ == CycleKind::Any) return true;
    return !bigNow && std::none_of(bigCapture_.begin() + static_cast<std::ptrdiff_t>(from) + 1,
                                   bigCapture_.end(), [](uint8_t b) { return b != 0; });
}

int Searcher::DoMove(int move, UndoInfo& u) {
    u.move = move;
    u.colour = toMove_;
    u.capFrom = captured_.size();
    u.ko = ko_;
    u.passes = passes_;
    u.pathKey = pathKey_;
    u.emptied = emptied_;
    std::copy(std::begin(budget_), std::end(budget_), std::begin(u.budget));
    if (move == kPassMove) {
        pathKey_ += Mix64(hist_.back());
        hist_.push_back(hist_.back());
        bigCapture_.push_back(0);
        passes_ = 1;
        ko_ = 0;
        toMove_ = Other(toMove_);
        return 0;
    }
    const bool retake = move == ko_;
    if (retake && !MayRetake(toMove_)) return 2;
    if (!b_.Play(toMove_, move, captured_)) return 1;
    if (retake && budget_[toMove_] != kUnlimitedThreats) --budget_[toMove_];
    const uint64_t h = b_.Hash();
    const bool big = captured_.size() >= u.capFrom + 2;
    if (!retake) {
        // The side whose cycles win may bring back a position of the line
        // before the search (it needs no threat for that), but only a
        // return to one met since is a cycle it has forced: at an earlier
        // position the other side's choices were never searched.
        int st = 0;
        for (size_t i = 0; i < hist_.size(); ++i) {
            if (hist_[i] != h) continue;
            const bool earlier = toMove_ == cycleWinner_ && i < searchFrom_;
            st = std::max(st, earlier ? 0 : CycleWin(i, big) ? 4 : 3);
        }
        if (st) {
            b_.Undo(toMove_, move, captured_, u.capFrom);
            std::copy(std::begin(u.budget), std::end(u.budget), std::begin(budget_));
            return st;
        }
    }
    int newKo = 0;
    if (captured_.size() == u.capFrom + 1) {
        const uint8_t colour = b_.At(move);
        int libs = 0;
        bool single = true;
        for (int d : kDelta) {
            const uint8_t v = b_.At(move + d);
            if (v == colour) single = false;
            if (v == kEmptyCell) ++libs;
        }
        if (single && libs == 1) newKo = captured_.back();
    }
    const int shift = toMove_ == kBlackCell ? 32 : 0; // the other side's stones
    for (size_t i = u.capFrom; i < captured_.size(); ++i)
        emptied_ |= uint64_t{PointBit(captured_[i])} << shift;
    pathKey_ += Mix64(hist_.back());
    hist_.push_back(h);
    bigCapture_.push_back(big ? 1 : 0);
    ko_ = newKo;
    passes_ = 0;
    toMove_ = Other(toMove_);
    return 0;
}

void Searcher::UndoMove(const UndoInfo& u) {
    if (u.move != kPassMove) b_.Undo(u.colour, u.move, captured_, u.capFrom);
    hist_.pop_back();
    bigCapture_.pop_back();
    toMove_ = u.colour;
    ko_ = u.ko;
    passes_ = u.passes;
    pathKey_ = u.pathKey;
    emptied_ = u.emptied;
    std::copy(std::begin(u.budget), std::end(u.budget), std::begin(budget_));
}

bool Searcher::TerminalValue(int mover, Verdict v, uint32_t& phi, uint32_t& delta) const {
    if (v == Verdict::None) return false;
    const int winner = v == Verdict::DefenderWins ? r_.defender : r_.attacker;
    phi = mover == winner ? 0 : kInf;
    delta = mover == winner ? kInf : 0;
    return true;
}

void Searcher::Prefetch(uint64_t key) const {
    // (A slot pair spans two cache lines.)
    const size_t base = static_cast<size_t>(key & mask_ & ~uint64_t{1});
    __builtin_prefetch(&table_[base]);
    __builtin_prefetch(&table_[base + 1]);
    if (shared_)
        __builtin_prefetch(
            &shared_->table_[static_cast<size_t>(key & shared_->mask_ & ~uint64_t{1})]);
}

void Searcher::Generate(std::vector<Child>& kids, uint8_t& banFlags) {
    kids.clear();
    banFlags = 0;
    // The table slots and judgements of the children are far apart in
    // memory: ask for them all first (a move that captures has another key,
    // and its slots are simply not prefetched).
    {
        const auto& z = Zobrist::Get();
        const int next = Other(toMove_);
        const uint64_t common =
            b_.Hash() ^ z.side[next] ^
            (finite_ ? ThreatCode(budget_[kBlackCell], budget_[kWhiteCell]) : 0);
        for (int c : r_.moveCells) {
            if (b_.At(c) != kEmptyCell) continue;
            Prefetch(common ^ z.stone[toMove_][c]);
            judge_.Prefetch(b_.Hash() ^ z.stone[toMove_][c], next, next == r_.attacker);
        }
    }
    auto evaluate = [this](int move, uint32_t captures) {
        Child k{static_cast<int16_t>(move), NodeKey(), 1, 1, 0, 0, captures, {}};
        Found f;
        uint32_t fresh = 0;
        if (move != kPassMove) {
            const int shift = toMove_ == kBlackCell ? 32 : 0; // the mover's stones
            fresh = PointBit(move);
            if ((emptied_ >> shift) & fresh) fresh = 0;
        }
        if (Lookup(k.key, pathKey_, emptied_, fresh, f) || Import(pathKey_, f)) {
            k.phi = f.phi;
            k.delta = f.delta;
            k.flags = f.flags & (kPathDep | kKoDep);
            k.leans = f.leans;
            return k;
        }
        const Verdict v = judge_.Evaluate(b_, toMove_, toMove_ == r_.attacker);
        if (TerminalValue(toMove_, v, k.phi, k.delta)) {
            k.flags = 0;
            Store(k.key, pathKey_, k.phi, k.delta, 0, 0, Leans{});
        } else {
            Store(k.key, pathKey_, 1, 1, 0, 0, Leans{});
        }
        return k;
    };
    UndoInfo u;
    for (int c : r_.moveCells) {
        if (b_.At(c) != kEmptyCell) continue;
        const int st = DoMove(c, u);
        if (st == 1) continue;
        if (st == 2) {
            banFlags |= kKoDep;
            continue;
        }
        if (st >= 3) {
            banFlags |= kKoDep | kPathDep;
            // The cycle is this side's win: the child (the other side to
            // move) is lost.
            if (st == 4)
                kids.push_back(
                    Child{static_cast<int16_t>(c), 0, kInf, 0, kKoDep | kPathDep, 0, 0, {}});
            continue;
        }
        uint32_t captures = 0;
        for (size_t i = u.capFrom; i < captured_.size(); ++i)
            captures |= PointBit(captured_[i]);
        kids.push_back(evaluate(c, captures));
        UndoMove(u);
    }
    // Order: points with room around them (vital points of eye shapes) and
    // points next to stones first; df-pn breaks ties by this order.
    for (Child& k : kids) {
        int sc = 0;
        for (int d : kDelta) {
            const uint8_t v = b_.At(k.move + d);
            if (v == kEmptyCell && r_.movable[k.move + d])
                sc += 2;
            else if (v == kBlackCell || v == kWhiteCell)
                sc += 1;
        }
        k.order = static_cast<int8_t>(sc);
    }
    // Insertion sort: stable and quick for a few dozen moves.
    for (size_t i = 1; i < kids.size(); ++i) {
        const Child k = kids[i];
        size_t j = i;
        for (; j > 0 && kids[j - 1].order < k.order; --j)
            kids[j] = kids[j - 1];
        kids[j] = k;
    }
    // Two passes end the game; the side that loses then gains nothing by
    // passing, since the other side would pass at once.
    if (confirm_ && !passes_) {
        // The other side's reply decides; the end is judged on the board.
        DoMove(kPassMove, u);
        kids.push_back(evaluate(kPassMove, 0));
        UndoMove(u);
        return;
    }
    const int passWinner = PassWinner();
    if (passes_ || passWinner != toMove_) {
        const bool childWins = Other(toMove_) == passWinner;
        kids.push_back(
            Child{kPassMove, 0, childWins ? 0 : kInf, childWins ? kInf : 0, 0, 0, 0, {}});
    } else {
        DoMove(kPassMove, u);
        kids.push_back(evaluate(kPassMove, 0));
        UndoMove(u);
    }
}

int Searcher::PassWinner() {
    if (!confirm_) return sekiToDefender_ ? r_.defender : r_.attacker;
    const uint64_t key = b_.Hash();
    if (const auto it = confirmed_.find(key); it != confirmed_.end()) return it->second;
    if (!confirmer_)
        confirmer_ =
            std::make_unique<Searcher>(r_, true, KoMode::Base, 18, kUnlimitedThreats, everyKey_);
    if (ownPathsOnly_) confirmer_->KeepResultsToTheirPaths();
    SearchStart s;
    s.board = b_;
    s.toMove = r_.attacker;
    const Outcome o = confirmer_->Solve(s, limits_);
    nodes_ += confirmer_->LastNodes();
    if (o == Outcome::Unknown) {
        aborted_ = true; // the caller's result is out of reach
        return r_.defender;
    }
    const int winner = o == Outcome::Win ? r_.attacker : r_.defender;
    confirmed_.emplace(key, winner);
    return winner;
}

void Searcher::Mid(uint32_t thPhi, uint32_t thDelta, int depth, Child& node) {
    uint32_t& phi = node.phi;
    uint32_t& delta = node.delta;
    ++nodes_;
    if ((nodes_ & 15) == 0) {
        if (nodes_ - startNodes_ > limits_.maxNodes || SolverClock::now() > limits_.deadline)
            aborted_ = true;
    }
    if (depth >= kMaxDepth) aborted_ = true;
    if (aborted_) return;
    const uint64_t key = NodeKey();
    const uint64_t myPath = pathKey_;
    std::vector<Child>& kids = levels_[depth];
    uint8_t banFlags = 0;
    Generate(kids, banFlags);
    const uint64_t startNodes = nodes_;
    for (;;) {
        uint32_t minDelta = kInf, delta2 = kInf;
        uint64_t sumPhi = 0;
        bool infPhi = false;
        size_t best = 0;
        for (size_t i = 0; i < kids.size(); ++i) {
            const Child& k = kids[i];
            if (k.delta < minDelta) {
                delta2 = minDelta;
                minDelta = k.delta;
                best = i;
            } else if (k.delta < delta2) {
                delta2 = k.delta;
            }
            if (k.phi >= kInf)
                infPhi = true;
            else
                sumPhi += k.phi;
        }
        phi = minDelta;
        delta = infPhi ? kInf : static_cast<uint32_t>(std::min<uint64_t>(sumPhi, kInf - 1));
        if (phi == 0 || delta == 0 || phi >= thPhi || delta >= thDelta || aborted_) break;
        Child& c = kids[best];
        const uint32_t cPhi =
            static_cast<uint32_t>(std::min<uint64_t>(uint64_t{thDelta} + c.phi - delta, kInf - 1));
        const uint32_t cDelta = static_cast<uint32_t>(std::min<uint64_t>(
            {uint64_t{thPhi}, uint64_t{delta2} + delta2 / 8 + 1, uint64_t{kInf} - 1}));
        UndoInfo u;
        DoMove(c.move, u);
        Mid(cPhi, cDelta, depth + 1, c);
        UndoMove(u);
    }
    // What the result leans on (see Leans).
    uint8_t flags = 0;
    Leans leans;
    if (phi == 0) {
        // The winning move that leans on the least.
        flags = kPathDep | kKoDep;
        int weight = 0;
        for (const Child& k : kids) {
            if (k.delta != 0) continue;
            const uint8_t f = k.flags & (kPathDep | kKoDep);
            const int w = std::popcount(k.leans.top) + std::popcount(k.leans.moves);
            if (f < flags || (f == flags && w < weight)) {
                flags = f;
                weight = w;
                leans = k.leans;
                const uint32_t at = k.move == kPassMove ? 0 : PointBit(k.move);
                if (k.captures) {
                    // Every quiet move below follows a capture of the loser's stones.
                    leans.top |= leans.quiet | at;
                    leans.quiet = 0;
                } else {
                    leans.quiet |= at;
                }
                leans.moves |= at;
                leans.caught |= k.captures;
            }
        }
    } else if (delta == 0) {
        flags = banFlags;
        for (const Child& k : kids) {
            flags |= k.flags & (kPathDep | kKoDep);
            const uint32_t at = k.move == kPassMove ? 0 : PointBit(k.move);
            // The loser's stone stands before every move of the winner
            // below it unless the proof captures there.
            if (at && !(k.leans.caught & at)) {
                leans.loser |= k.leans.loser | at;
            } else {
                leans.top |= k.leans.top;
                leans.quiet |= k.leans.quiet;
                leans.loser |= k.leans.loser;
            }
            leans.moves |= k.leans.moves;
            leans.caught |= k.leans.caught | k.captures;
        }
    }
    uint8_t stored = flags;
    const int winner = (phi == 0) == (toMove_ == kWhiteCell) ? kWhiteCell : kBlackCell;
    if (winner == kWhiteCell) stored |= kWhiteWon;
    if (leans.moves) {
        uint32_t own = 0, any = 0;
        for (int c : r_.moveCells) {
            const uint8_t v = b_.At(c);
            if (v == winner) own |= PointBit(c);
            if (v != kEmptyCell) any |= PointBit(c);
        }
        // A stone of the winner where the winner plays again: no capture on
        // another path need have emptied the point (one of the loser's means
        // the winner's stone there was captured).
        if (leans.moves & own) stored |= kBound;
        // A loser's stone counted as placed since that stands here already.
        if (leans.loser & any) {
            leans.top = leans.moves;
            leans.quiet = 0;
            leans.loser = 0;
        }
    }
    node.flags = flags;
    node.leans = leans;
    if (aborted_) return;
    const uint64_t work = nodes_ - startNodes + 1;
    Store(key, myPath, phi, delta, stored,
          static_cast<uint32_t>(std::min<uint64_t>(work, 0xFFFFFFFFu)), leans);
}

Outcome Searcher::Solve(const SearchStart& start, const Limits& limits) {
    b_ = start.board;
    toMove_ = start.toMove;
    ko_ = start.koCell;
    passes_ = start.passes ? 1 : 0;
    hist_ = start.history;
    // A search in which cycles win tells the line before its start from its
    // own moves: its results are kept apart by that split.
    const uint64_t salt = cycleWinner_ ? 0x6379636c65ull : 0;
    pathKey_ = 0;
    for (uint64_t h : start.history)
        pathKey_ += Mix64(h ^ salt);
    searchFrom_ = hist_.size();
    hist_.push_back(b_.Hash());
    bigCapture_.assign(hist_.size(), 0);
    captured_.clear();
    // The points captured before the search, as far as the start knows them.
    emptied_ = 0;
    if (!start.history.empty())
        for (int c : r_.moveCells) {
            if (start.captured[kBlackCell] & StartPointBit(c)) emptied_ |= PointBit(c);
            if (start.captured[kWhiteCell] & StartPointBit(c))
                emptied_ |= uint64_t{PointBit(c)} << 32;
        }
    std::copy(std::begin(startBudget_), std::end(startBudget_), std::begin(budget_));
    aborted_ = false;
    limits_ = limits;
    startNodes_ = nodes_;
    lastKoDep_ = false;
    uint32_t phi = 1, delta = 1;
    if (TerminalValue(toMove_, judge_.Evaluate(b_, toMove_, true), phi, delta)) {
        lastNodes_ = 0;
        return phi == 0 ? Outcome::Win : Outcome::Loss;
    }
    Found f;
    Child root{0, NodeKey(), 1, 1, 0, 0, 0, {}};
    if (Lookup(root.key, pathKey_, emptied_, 0, f) || Import(pathKey_, f)) {
        root.phi = f.phi;
        root.delta = f.delta;
        root.flags = f.flags;
    }
    if (root.phi != 0 && root.delta != 0) Mid(kInf - 1, kInf - 1, 0, root);
    phi = root.phi;
    delta = root.delta;
    lastNodes_ = nodes_ - startNodes_;
    lastKoDep_ = (root.flags & kKoDep) != 0;
    if (phi == 0) return Outcome::Win;
    if (delta == 0) return Outcome::Loss;
    lastKoDep_ = true;
    return Outcome::Unknown;
}

bool Searcher::Advance(SearchStart& s, int move) const {
    if (move == kPassMove) {
        s.history.push_back(s.board.Hash());
        s.passes = 1;
        s.koCell = 0;
        s.toMove = Other(s.toMove);
        return true;
    }
    const bool retake = move == s.koCell;
    if (retake && !MayRetake(s.toMove)) return false;
    const uint64_t before = s.board.Hash();
    std::vector<int16_t> cap;
    if (!s.board.Play(s.toMove, move, cap)) return false;
    if (!retake) {
        const uint64_t h = s.board.Hash();
        if (h == before || std::find(s.history.begin(), s.history.end(), h) != s.history.end()) {
            s.board.Undo(s.toMove, move, cap, 0);
            return false;
        }
    }
    s.history.push_back(before);
    NoteCaptured(s, Other(s.toMove), cap);
    s.koCell = KoPointAfter(s.board, move, cap);
    s.passes = 0;
    s.toMove = Other(s.toMove);
    return true;
}

std::vector<int> Searcher::Line(const SearchStart& start, int maxMoves) {
    std::vector<int> line;
    SearchStart s = start;
    Limits limits;
    limits.deadline = SolverClock::now() + std::chrono::seconds(1);
    limits.maxNodes = 100000;
    for (int i = 0; i < maxMoves; ++i) {
        // Settles the position (usually a table hit) and sets up the board.
        const Outcome status = Solve(s, limits);
        if (status == Outcome::Unknown) break;
        if (judge_.Evaluate(b_, toMove_, true) != Verdict::None) break;
        uint8_t ban = 0;
        Generate(levels_[0], ban);
        const std::vector<Child> kids = levels_[0];
        const uint64_t childPath = pathKey_ + Mix64(hist_.back());
        auto workOf = [&](const Child& k) {
            Found f;
            f.work = 0;
            if (k.key) Lookup(k.key, childPath, emptied_, 0, f);
            return f.work;
        };
        int chosen = -1;
        uint32_t chosenWork = 0;
        if (status == Outcome::Win) {
            // The quickest proven win; a move that settles at once first.
            for (size_t k = 0; k < kids.size(); ++k) {
                if (kids[k].delta != 0) continue;
                const uint32_t w = workOf(kids[k]);
                if (chosen < 0 || w < chosenWork) {
                    chosen = static_cast<int>(k);
                    chosenWork = w;
                }
            }
            // The table may have lost the proof of the winning move: search
            // the moves again until one is refuted for the other side.
            for (size_t k = 0; chosen < 0 && k < kids.size(); ++k) {
                if (kids[k].key == 0) continue;
                SearchStart next = s;
                if (Advance(next, kids[k].move) && Solve(next, limits) == Outcome::Loss)
                    chosen = static_cast<int>(k);
            }
        } else {
            // The most stubborn reply: the one that cost the most to refute.
            for (size_t k = 0; k < kids.size(); ++k) {
                const uint32_t w = workOf(kids[k]);
                if (chosen < 0 || w > chosenWork) {
                    chosen = static_cast<int>(k);
                    chosenWork = w;
                }
            }
        }
        if (chosen < 0) break;
        const int move = kids[static_cast<size_t>(chosen)].move;
        line.push_back(move);
        if (kids[static_cast<size_t>(chosen)].key == 0) break; // the game is over
        if (!Advance(s, move)) break;
    }
    return line;
}

} // namespace velsolver

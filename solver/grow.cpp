#include "grow.h"

#include "complete.h"

#include "rules/outcome.h"
#include "sgf/sgf.h"
#include "solver.h"

#include <algorithm>
#include <map>

namespace velsolver {

namespace {

struct GNode {
    std::vector<std::pair<std::string, std::vector<std::string>>> props;
    std::vector<int> kids;
    int parent = -1;

    const std::vector<std::string>* Find(const std::string& id) const {
        for (const auto& p : props)
            if (p.first == id) return &p.second;
        return nullptr;
    }
};

bool ParsePoint(const std::string& v, int& x, int& y) {
    if (v.size() != 2 || v[0] < 'a' || v[0] > 's' || v[1] < 'a' || v[1] > 's') return false;
    x = v[0] - 'a';
    y = v[1] - 'a';
    return true;
}

int IntProp(const GNode& n, const std::string& id, int fallback) {
    const auto* v = n.Find(id);
    if (!v || v->empty()) return fallback;
    try {
        return std::stoi((*v)[0]);
    } catch (...) {
        return fallback;
    }
}

void AddStones(Goban& g, const std::vector<std::string>* values, uint8_t colour) {
    if (!values) return;
    for (const std::string& v : *values) {
        int x0, y0, x1, y1;
        const auto colon = v.find(':');
        if (colon == std::string::npos) {
            if (ParsePoint(v, x0, y0)) g.Set(CellOf(x0, y0), colour);
            continue;
        }
        if (!ParsePoint(v.substr(0, colon), x0, y0) || !ParsePoint(v.substr(colon + 1), x1, y1))
            continue;
        for (int y = std::min(y0, y1); y <= std::max(y0, y1); ++y)
            for (int x = std::min(x0, x1); x <= std::max(x0, x1); ++x)
                g.Set(CellOf(x, y), colour);
    }
}

// The move of a node (cell and colour), false when it has none.
bool NodeMove(const GNode& n, int& cell, int& colour) {
    for (const char* id : {"B", "W"}) {
        const auto* v = n.Find(id);
        if (!v || v->empty()) continue;
        int x, y;
        if (!ParsePoint((*v)[0], x, y)) return false;
        cell = CellOf(x, y);
        colour = id[0] == 'B' ? kBlackCell : kWhiteCell;
        return true;
    }
    return false;
}

// The solver's aim of a source root: PP 1-3, or PP 0 with its goal GL
// ("connect" or "cut"); 0 when unknown.
int SourceAim(const GNode& root) {
    const int pp = IntProp(root, "PP", -1);
    if (pp >= 1 && pp <= 3) return pp;
    const auto* gl = root.Find("GL");
    if (pp != 0 || !gl || gl->empty()) return 0;
    if ((*gl)[0] == "connect") return static_cast<int>(Aim::Connect);
    if ((*gl)[0] == "cut") return static_cast<int>(Aim::Cut);
    return 0;
}

std::string PointText(int cell) {
    return std::string{static_cast<char>('a' + CellX(cell)), static_cast<char>('a' + CellY(cell))};
}

int ClassValue(int klass) {
    return ResultValue(klass * 10) / 10;
}

void Write(const std::vector<GNode>& nodes, int i, std::string& out) {
    out += ';';
    for (const auto& [id, values] : nodes[i].props) {
        out += id;
        for (const std::string& v : values)
            out += '[' + sgf::Escape(v) + ']';
    }
    const auto& kids = nodes[i].kids;
    if (kids.size() == 1) {
        out += '\n';
        Write(nodes, kids[0], out);
        return;
    }
    for (int k : kids) {
        out += "\n(";
        Write(nodes, k, out);
        out += ')';
    }
}

class TreeGrower {
public:
    TreeGrower(std::vector<GNode>& nodes, const GrowOptions& o) : nodes_(nodes), o_(o) {}

    // Returns an empty string when grown, else why not.
    std::string Grow() {
        const GNode& root = nodes_[0];
        const int aim = SourceAim(root);
        if (aim == 0) return "aim (PP) not 1-3, nor 0 with GL connect or cut";
        Goban start;
        AddStones(start, root.Find("AB"), kBlackCell);
        AddStones(start, root.Find("AW"), kWhiteCell);
        solver_ =
            std::make_unique<ProblemSolver>(start, IntProp(root, "VS", 19), static_cast<Aim>(aim));
        limits_.deadline = SolverClock::now() + std::chrono::milliseconds(o_.limitMs);
        const SearchStart s0 = solver_->Start();
        const int best = solver_->Classify(s0, limits_).klass;
        if (!best) return "the start position is beyond reach";
        bestValue_ = ClassValue(best);
        bestDigit_ = BestDigit();
        report_.best = best;

        // Every Black decision point of a correct line, the new ones included,
        // gets what the completeness check asks of it.
        std::vector<Leaf> settled;
        if (std::string why = Complete({{0, s0}}, &settled); !why.empty()) return why;
        if (static_cast<int>(nodes_.size()) - 1 > o_.maxNodes)
            return "the tree would grow past " + std::to_string(o_.maxNodes) + " nodes";
        LabelLeaves(s0);
        if (incomplete_) return "a line is beyond reach";
        ShowResistance(settled);
        return {};
    }

    const SolveReport& report() const { return report_; }

private:
    // A correct line that ends on Black's move: its leaf, the position there
    // (White to move) and the class the leaf reaches.
    struct Leaf {
        int node;
        SearchStart pos;
        int klass;
    };

    // Completes the Black decision points `points` and those on the correct
    // lines below them. `settled` (when given) receives the correct lines
    // that end on Black's move. Empty when done, else why not.
    std::string Complete(std::vector<std::pair<int, SearchStart>> points,
                         std::vector<Leaf>* settled) {
        for (size_t at = 0; at < points.size(); ++at) {
            const int node = points[at].first;
            const SearchStart s = points[at].second;
            if (static_cast<int>(nodes_.size()) > o_.maxNodes)
                return "the tree would grow past " + std::to_string(o_.maxNodes) + " nodes";
            const Demand d = DemandAt(*solver_, s, limits_,
                                      node == 0 ? kFirstWrongMoves : kLaterWrongMoves, node == 0);
            if (!d.reached) return "a move is beyond reach";
            if (ClassValue(d.klass) != bestValue_) continue;
            std::map<int, int> kids;
            for (int k : nodes_[static_cast<size_t>(node)].kids) {
                int cell, colour;
                if (NodeMove(nodes_[static_cast<size_t>(k)], cell, colour)) kids.emplace(cell, k);
            }
            for (int c : d.keepers)
                if (!kids.count(c)) {
                    AddLine(node, d.positions.at(c), c, d.classes.at(c));
                    if (node == 0) report_.correct.push_back({c, d.classes.at(c).klass});
                }
            for (int c : d.wrong)
                if (!kids.count(c)) AddLine(node, d.positions.at(c), c, d.classes.at(c), true);
            // Every move now under the node: wrong ones get their refutation,
            // correct ones lead on to White's replies and Black's next decision.
            for (int k : nodes_[static_cast<size_t>(node)].kids) {
                int cell, colour;
                if (NodeMove(nodes_[static_cast<size_t>(k)], cell, colour)) kids.emplace(cell, k);
            }
            for (const auto& [c, k] : kids) {
                SearchStart after = s;
                if (!ProblemSolver::PlayPlain(after, c)) continue;
                const auto known = d.classes.find(c);
                const int klass = known != d.classes.end()
                                      ? known->second.klass
                                      : solver_->Classify(after, limits_).klass;
                if (!klass) continue;
                if (ClassValue(klass) != bestValue_) {
                    if (nodes_[static_cast<size_t>(k)].kids.empty()) ExtendLeaf(k, after);
                    continue;
                }
                if (nodes_[static_cast<size_t>(k)].kids.empty() && settled)
                    settled->push_back({k, after, klass});
                for (int w : nodes_[static_cast<size_t>(k)].kids) {
                    int cell, colour;
                    SearchStart next = after;
                    if (!NodeMove(nodes_[static_cast<size_t>(w)], cell, colour) ||
                        !ProblemSolver::PlayPlain(next, cell))
                        continue;
                    if (!nodes_[static_cast<size_t>(w)].kids.empty()) points.push_back({w, next});
                }
            }
        }
        return {};
    }

    // Where a correct line ends on Black's move and White still has a move
    // Black must answer, a teacher shows it: the line goes on with White's
    // most stubborn try and Black's answer, and the new decision point is
    // completed like any other. Lines are taken main lines first, within a
    // time and size budget of their own; a line whose completion cannot be
    // settled is left as it was.
    void ShowResistance(const std::vector<Leaf>& leaves) {
        if (o_.resistMoves < 2) return;
        limits_.deadline = SolverClock::now() + std::chrono::milliseconds(o_.limitMs);
        const size_t cap =
            std::min<size_t>(static_cast<size_t>(o_.maxNodes),
                             nodes_.size() + static_cast<size_t>(std::max(0, o_.resistNodes)));
        for (const Leaf& leaf : leaves) {
            if (SolverClock::now() >= limits_.deadline) break;
            if (!TeachableClass(leaf.klass) || !nodes_[static_cast<size_t>(leaf.node)].kids.empty())
                continue;
            const std::vector<int> line = Resistance(leaf.pos, leaf.klass);
            if (line.size() < 2) continue;
            const std::vector<GNode> saved = nodes_;
            // The leaf's stored class moves down with its marks: the line
            // ends in the same class (Resistance made sure).
            SearchStart s = leaf.pos;
            const int end = HangLine(leaf.node, s, line, {});
            SearchStart afterWhite = leaf.pos;
            ProblemSolver::PlayPlain(afterWhite, line[0]);
            const int white = nodes_[static_cast<size_t>(leaf.node)].kids.back();
            if (!nodes_[static_cast<size_t>(end)].Find("OC") ||
                !Complete({{white, afterWhite}}, nullptr).empty() || incomplete_ ||
                nodes_.size() > cap + 1) {
                nodes_ = saved;
                incomplete_ = false;
            }
        }
    }

    // Classes a resisting line may be shown for: settled results, no ko.
    static bool TeachableClass(int klass) {
        return klass == kWhiteDead || klass == kWhiteDeadKo || klass == kBlackAlive ||
               klass == kSekiBlack || klass == kBlackSucceeds || klass == kBlackWins;
    }

    // White's resistance at `pos` (White to move, class `klass`): White's
    // most stubborn try and Black's answer, again while White has a move
    // that matters, within resistMoves moves. Empty when White has no such
    // move: every move is a self-atari that gains nothing, or none is left.
    std::vector<int> Resistance(SearchStart pos, int klass) {
        std::vector<int> line;
        while (static_cast<int>(line.size()) + 2 <= o_.resistMoves && !solver_->Settled(pos)) {
            std::vector<int> next = StubbornTry(pos, klass);
            if (next.size() < 2) break;
            for (size_t i = 0; i < 2; ++i) {
                line.push_back(next[i]);
                ProblemSolver::PlayPlain(pos, next[i]);
            }
        }
        if (solver_->Classify(pos, limits_).klass != klass) return {};
        return line;
    }

    // Among the White moves at `pos` that keep the class and that Black must
    // answer (passing after them would change the result), the one that
    // makes Black's task longest: the most moves until the position is
    // settled, then the most work for the solver's proof, then the most
    // natural one. Returns that move and the rest of the line, Black's
    // answer first; empty when there is none.
    std::vector<int> StubbornTry(const SearchStart& pos, int klass) {
        std::vector<int> best;
        uint64_t bestWork = 0;
        int bestScore = -1;
        for (int w : solver_->CandidateMoves(pos)) {
            SearchStart s = pos;
            if (!ProblemSolver::PlayPlain(s, w)) continue;
            const ClassResult r = solver_->Classify(s, limits_);
            if (r.klass != klass) continue;
            SearchStart passed = s;
            if (!solver_->Advance(passed, kPassMove)) continue;
            const int ignored = solver_->Classify(passed, limits_).klass;
            if (!ignored || ClassValue(ignored) == ClassValue(klass)) continue;
            std::vector<int> line = {w};
            for (int m : solver_->BestLine(s, r, o_.maxLineMoves - 1, limits_))
                line.push_back(m);
            if (line.size() < 2) continue;
            const int score = Plausibility(solver_->region(), pos.board, w);
            const bool better =
                line.size() != best.size()
                    ? line.size() > best.size()
                    : (r.nodes != bestWork ? r.nodes > bestWork : score > bestScore);
            if (!better) continue;
            best = line;
            bestWork = r.nodes;
            bestScore = score;
        }
        return best;
    }

    // Plays `line` on from `leaf` (the position `s` there), moving the leaf's
    // marks (RP, OB) and its class down to the new end, where `oc` replaces
    // the class unless empty. Returns the new leaf.
    int HangLine(int leaf, SearchStart& s, const std::vector<int>& line, const std::string& oc) {
        std::vector<std::pair<std::string, std::vector<std::string>>> moved;
        auto& props = nodes_[static_cast<size_t>(leaf)].props;
        for (auto it = props.begin(); it != props.end();) {
            // A leaf that goes on is no longer a move White waits after.
            if (it->first == "OC" || it->first == "OB" || it->first == "RP" || it->first == "C" ||
                it->first == "WA") {
                if (it->first == "RP" || it->first == "OB" || (it->first == "OC" && oc.empty()))
                    moved.push_back(*it);
                it = props.erase(it);
            } else {
                ++it;
            }
        }
        int node = leaf;
        for (int m : line) {
            node = NewNode(node, s.toMove, m);
            ProblemSolver::PlayPlain(s, m);
        }
        auto& end = nodes_[static_cast<size_t>(node)].props;
        if (!oc.empty()) end.push_back({"OC", {oc}});
        for (auto& p : moved)
            end.push_back(p);
        return node;
    }

    // A wrong move stored without White's answer: White's refutation is
    // played on from it to a settled position, and the leaf moves down.
    void ExtendLeaf(int leaf, SearchStart s) {
        const ClassResult r = solver_->Classify(s, limits_);
        if (!r.klass) return;
        const std::vector<int> line = Refutation(*solver_, s, r, limits_, o_.maxLineMoves - 1);
        if (line.empty()) {
            MarkWait(leaf);
            return;
        }
        SearchStart end = s;
        for (int m : line)
            ProblemSolver::PlayPlain(end, m);
        int leafClass = solver_->Classify(end, limits_).klass;
        if (!leafClass) leafClass = r.klass;
        HangLine(leaf, s, line, std::to_string(leafClass));
    }

    // A wrong move no White move answers without giving up its result: White
    // waits, and the line ends on Black's move (WA[1] tells the checker so).
    void MarkWait(int leaf) {
        GNode& n = nodes_[static_cast<size_t>(leaf)];
        if (!n.Find("WA")) n.props.push_back({"WA", {"1"}});
    }

    int NewNode(int parent, int colour, int cell) {
        GNode n;
        n.parent = parent;
        n.props.push_back({colour == kBlackCell ? "B" : "W", {PointText(cell)}});
        nodes_.push_back(n);
        const int id = static_cast<int>(nodes_.size()) - 1;
        nodes_[static_cast<size_t>(parent)].kids.push_back(id);
        return id;
    }

    // Adds Black's first move and a line after it in which each side keeps
    // the class (the winner's proving moves, the loser's most stubborn
    // replies), played until the position is settled.
    void AddLine(int parent, SearchStart s, int first, const ClassResult& result,
                 bool wrong = false) {
        int node = NewNode(parent, kBlackCell, first);
        const std::vector<int> line =
            wrong ? Refutation(*solver_, s, result, limits_, o_.maxLineMoves - 1)
                  : solver_->BestLine(s, result, o_.maxLineMoves - 1, limits_);
        for (int m : line) {
            node = NewNode(node, s.toMove, m);
            ProblemSolver::PlayPlain(s, m);
        }
        int leafClass = solver_->Classify(s, limits_).klass;
        if (!leafClass) {
            // Out of time: a solved problem never carries a guessed leaf.
            if (o_.strict) incomplete_ = true;
            leafClass = result.klass;
        }
        nodes_[static_cast<size_t>(node)].props.push_back({"OC", {std::to_string(leafClass)}});
        if (wrong && line.empty()) MarkWait(node);
        // A line that keeps the best result ranks with the tree's own best
        // lines, or the program would grade it a failure.
        if (!wrong && bestDigit_ && ClassValue(leafClass) == bestValue_)
            nodes_[static_cast<size_t>(node)].props.push_back({"OB", {"1"}});
    }

    // The last digit of the tree's best lines: 1 when a leaf of the best
    // class carries OB[1].
    int BestDigit() const {
        for (const GNode& n : nodes_) {
            const auto* oc = n.Find("OC");
            if (!n.kids.empty() || !oc || oc->empty() || IntProp(n, "OB", 0) != 1) continue;
            int klass = 0;
            for (int k = 1; k < 100 && !klass; ++k)
                if (QString::fromStdString((*oc)[0]) == OutcomeText(0, k * 10) ||
                    (*oc)[0] == std::to_string(k))
                    klass = k;
            if (klass && ClassValue(klass) == bestValue_) return 1;
        }
        return 0;
    }

    // Leaves of the author's own lines that carry no class yet.
    void LabelLeaves(const SearchStart& s0) {
        for (size_t i = 1; i < nodes_.size(); ++i) {
            if (!nodes_[i].kids.empty() || nodes_[i].Find("OC")) continue;
            std::vector<int> path;
            for (int n = static_cast<int>(i); n > 0; n = nodes_[static_cast<size_t>(n)].parent)
                path.push_back(n);
            std::reverse(path.begin(), path.end());
            SearchStart s = s0;
            bool ok = true;
            for (int n : path) {
                int cell, colour;
                std::vector<int16_t> cap;
                const uint64_t before = s.board.Hash();
                if (!NodeMove(nodes_[static_cast<size_t>(n)], cell, colour) ||
                    !s.board.Play(colour, cell, cap)) {
                    ok = false;
                    break;
                }
                s.history.push_back(before);
                NoteCaptured(s, Other(colour), cap);
                s.koCell = Searcher::KoPointAfter(s.board, cell, cap);
                s.toMove = Other(colour);
            }
            if (!ok) continue;
            const int k = solver_->Classify(s, limits_).klass;
            if (k)
                nodes_[i].props.push_back({"OC", {std::to_string(k)}});
            else if (o_.strict)
                incomplete_ = true;
        }
    }

    std::vector<GNode>& nodes_;
    const GrowOptions& o_;
    SolveReport report_;
    bool incomplete_ = false;
    std::unique_ptr<ProblemSolver> solver_;
    Limits limits_;
    int bestValue_ = 0;
    int bestDigit_ = 0;
};

// The game trees of an SGF text; false with "line:column: message" when it
// does not parse.
bool ParseTrees(const std::string& text, std::vector<sgf::Tree>& trees, std::string& error) {
    sgf::Error err;
    if (sgf::Parse(text, trees, err)) return true;
    error = std::to_string(err.line) + ":" + std::to_string(err.column) + ": " + err.message;
    return false;
}

} // namespace

bool GrowSgf(const std::string& text, const GrowOptions& options, std::string& out,
             std::string& notes, std::string& error) {
    std::vector<sgf::Tree> trees;
    if (!ParseTrees(text, trees, error)) return false;
    out.clear();
    for (size_t t = 0; t < trees.size(); ++t) {
        std::vector<GNode> nodes;
        for (const sgf::Node& n : trees[t].nodes) {
            GNode g;
            g.parent = n.parent;
            g.kids = n.children;
            for (const sgf::Property& p : n.props)
                g.props.push_back({p.ident, p.values});
            nodes.push_back(std::move(g));
        }
        if (nodes.empty()) continue;
        const std::vector<GNode> original = nodes;
        TreeGrower grower(nodes, options);
        const std::string why = grower.Grow();
        if (!why.empty()) {
            notes += "problem " + std::to_string(t + 1) + ": not grown: " + why + "\n";
            nodes = original;
        }
        out += '(';
        Write(nodes, 0, out);
        out += ")\n";
    }
    return true;
}

namespace {

constexpr int kFramedView = 13;

// A bare position turned into our problem form: Black to play, the stones
// mirrored into the top-left corner.
struct Posed {
    Goban board;
    bool swapped = false;
    bool flipX = false, flipY = false;
    int viewSize = 19;
    int aim = 0;
    std::string why; // empty when posed
};

int MapX(const Posed& p, int x) {
    return p.flipX ? kSide - 1 - x : x;
}
int MapY(const Posed& p, int y) {
    return p.flipY ? kSide - 1 - y : y;
}

// The aim when the source gives none: the side whose stones cannot reach the
// open board is the one in danger; Black lives when it is Black's, kills
// when it is White's.
int GuessAim(const Goban& g, int viewSize) {
    const Region kill = AnalyzeRegion(g, viewSize, Aim::Kill);
    const Region live = AnalyzeRegion(g, viewSize, Aim::Live);
    const bool whiteEnclosed = kill.enclosed && !kill.defenderKeys.empty();
    const bool blackEnclosed = live.enclosed && !live.defenderKeys.empty();
    if (blackEnclosed && !whiteEnclosed) return static_cast<int>(Aim::Live);
    if (whiteEnclosed && !blackEnclosed) return static_cast<int>(Aim::Kill);
    if (whiteEnclosed && blackEnclosed) {
        // Both shut in: the side with the fewer points to live on is the
        // target of the problem.
        return live.moveCells.size() < kill.moveCells.size() ? static_cast<int>(Aim::Live)
                                                             : static_cast<int>(Aim::Kill);
    }
    return 0;
}

} // namespace

bool AddFrame(Goban& board, int lines, int defender, int& reach) {
    const uint8_t wall = static_cast<uint8_t>(Other(defender));
    // King-step distance of every point from the nearest defender stone. With
    // no empty line between (lines 0) the distance is counted in plain steps
    // instead: the ring then touches the defender's stones only diagonally and
    // stands next to their liberties, which all stay.
    const bool tight = lines == 0;
    std::array<int, kCells> dist;
    dist.fill(-1);
    std::vector<int> queue;
    for (int c = 0; c < kCells; ++c)
        if (board.At(c) == defender) {
            dist[c] = 0;
            queue.push_back(c);
        }
    if (queue.empty()) return false;
    constexpr std::array<int, 8> kAround = {
        -1, 1, -kStride, kStride, -kStride - 1, -kStride + 1, kStride - 1, kStride + 1};
    for (size_t i = 0; i < queue.size(); ++i)
        for (int k = 0; k < (tight ? 4 : 8); ++k) {
            const int n = queue[i] + kAround[static_cast<size_t>(k)];
            if (board.At(n) == kBorderCell || dist[n] >= 0) continue;
            dist[n] = dist[queue[i]] + 1;
            queue.push_back(n);
        }
    // The open board: points beyond the ring's distance, reached from the
    // far sides. The points between the defender's stones and the near edges
    // (above or left of them, within their span) are the group's own side
    // and stay in play. Whatever stands on the open board leaves.
    int bx0 = kSide, by0 = kSide, bx1 = -1, by1 = -1;
    for (int c = 0; c < kCells; ++c)
        if (board.At(c) == defender) {
            bx0 = std::min(bx0, CellX(c));
            bx1 = std::max(bx1, CellX(c));
            by0 = std::min(by0, CellY(c));
            by1 = std::max(by1, CellY(c));
        }
    const int ring = tight ? 2 : lines + 1;
    auto mayOpen = [&](int c) {
        const int x = CellX(c), y = CellY(c);
        const bool ownSide = (x <= bx1 && y < by0) || (y <= by1 && x < bx0);
        return board.At(c) != kBorderCell && dist[c] > ring && !ownSide;
    };
    std::array<uint8_t, kCells> open{};
    queue.clear();
    for (int c = 0; c < kCells; ++c)
        if (mayOpen(c) && (CellX(c) == kSide - 1 || CellY(c) == kSide - 1)) {
            open[c] = 1;
            queue.push_back(c);
        }
    for (size_t i = 0; i < queue.size(); ++i)
        for (int d : kDelta) {
            const int n = queue[i] + d;
            if (!open[n] && mayOpen(n)) {
                open[n] = 1;
                queue.push_back(n);
            }
        }
    // The ring: every point in play next to the open board. Such a point is
    // at least the ring's distance away, so it touches no defender stone.
    std::vector<int> placed;
    for (int c = 0; c < kCells; ++c) {
        if (board.At(c) == kBorderCell || open[c]) continue;
        if (std::any_of(kDelta.begin(), kDelta.end(), [&](int d) { return open[c + d] != 0; }))
            placed.push_back(c);
    }
    if (placed.empty()) return false;
    for (int c = 0; c < kCells; ++c)
        if (open[c]) board.Set(c, kEmptyCell);
    for (int c : placed)
        board.Set(c, wall);
    // A piece of the ring with few liberties in the open (near the edge) grows
    // outwards until no one could ever capture it.
    std::vector<int16_t> stones, libs;
    for (bool grown = true; grown;) {
        grown = false;
        for (int c : placed) {
            board.Chain(c, stones, &libs);
            if (libs.size() >= 3) continue;
            for (int l : libs)
                if (open[l]) {
                    board.Set(l, wall);
                    grown = true;
                }
            if (grown) break;
        }
        placed.clear();
        for (int c = 0; c < kCells; ++c)
            if (open[c] && board.At(c) == wall) placed.push_back(c);
        for (int c = 0; c < kCells; ++c)
            if (!open[c] && dist[c] >= ring && board.At(c) == wall) placed.push_back(c);
    }
    reach = 0;
    for (int c = 0; c < kCells; ++c)
        if (board.At(c) == kBlackCell || board.At(c) == kWhiteCell)
            reach = std::max({reach, CellX(c), CellY(c)});
    // The open board must stay open beyond the ring (at least one line).
    return reach <= kSide - 3;
}

namespace {

Posed Pose(const GNode& root, int forcedAim, int frame) {
    Posed p;
    Goban raw;
    AddStones(raw, root.Find("AB"), kBlackCell);
    AddStones(raw, root.Find("AW"), kWhiteCell);
    const auto* pl = root.Find("PL");
    p.swapped = pl && !pl->empty() && ((*pl)[0] == "W" || (*pl)[0] == "w");
    const auto* sz = root.Find("SZ");
    if (sz && !sz->empty() && (*sz)[0] != "19") {
        p.why = "board size " + (*sz)[0] + " (19 only)";
        return p;
    }
    int x0 = kSide, y0 = kSide, x1 = -1, y1 = -1;
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x)
            if (raw.At(CellOf(x, y)) != kEmptyCell) {
                x0 = std::min(x0, x);
                x1 = std::max(x1, x);
                y0 = std::min(y0, y);
                y1 = std::max(y1, y);
            }
    if (x1 < 0) {
        p.why = "no stones";
        return p;
    }
    // The nearer edges become the top and the left.
    p.flipX = x0 + x1 > kSide - 1;
    p.flipY = y0 + y1 > kSide - 1;
    int extent = 0;
    for (int y = 0; y < kSide; ++y)
        for (int x = 0; x < kSide; ++x) {
            uint8_t v = raw.At(CellOf(x, y));
            if (v == kEmptyCell) continue;
            if (p.swapped) v = static_cast<uint8_t>(Other(v));
            const int nx = MapX(p, x), ny = MapY(p, y);
            p.board.Set(CellOf(nx, ny), v);
            extent = std::max({extent, nx, ny});
        }
    // Two open lines beyond the stones: room to escape into.
    p.viewSize = std::min(kSide, IntProp(root, "VS", extent + 3));
    p.aim = forcedAim ? forcedAim : SourceAim(root);
    // A live problem for White is a kill one for Black (a connection or a
    // cut stays what it is: it names the side to play's goal).
    if (p.aim && p.swapped && !forcedAim && p.aim < static_cast<int>(Aim::Race)) p.aim = 3 - p.aim;
    if (!p.aim) p.aim = GuessAim(p.board, p.viewSize);
    if (p.aim < 1 || p.aim > static_cast<int>(Aim::Cut)) {
        p.why = "cannot tell whose stones are at stake (give --aim)";
        return p;
    }
    if (frame >= 0 && p.aim != static_cast<int>(Aim::Race)) {
        const int defender =
            p.aim == static_cast<int>(Aim::Live) || p.aim == static_cast<int>(Aim::Connect)
                ? kBlackCell
                : kWhiteCell;
        int reach = 0;
        // The problem is then shown and searched in a 13-line corner, or on
        // the whole board when the ring reaches further (a side problem).
        if (!AddFrame(p.board, frame, defender, reach)) {
            p.why = "a frame " + std::to_string(frame) + " lines out does not fit the board";
            return p;
        }
        p.viewSize = reach + 2 < kFramedView ? kFramedView : kSide;
    }
    return p;
}

std::string RootText(const Posed& p, const GNode& source) {
    std::string out = "(;GM[1]FF[4]SZ[19]PL[B]";
    out += "VS[" + std::to_string(p.viewSize) + "]";
    if (p.aim == static_cast<int>(Aim::Connect) || p.aim == static_cast<int>(Aim::Cut))
        out += std::string("PP[0]GL[") + (p.aim == static_cast<int>(Aim::Cut) ? "cut" : "connect") +
               "]";
    else
        out += "PP[" + std::to_string(p.aim) + "]";
    for (const char* colourId : {"AB", "AW"}) {
        const uint8_t colour = colourId[1] == 'B' ? kBlackCell : kWhiteCell;
        std::string pts;
        for (int y = 0; y < kSide; ++y)
            for (int x = 0; x < kSide; ++x)
                if (p.board.At(CellOf(x, y)) == colour) pts += "[" + PointText(CellOf(x, y)) + "]";
        if (!pts.empty()) out += colourId + pts;
    }
    if (const auto* c = source.Find("C"); c && !c->empty())
        out += "C[" + sgf::Escape((*c)[0]) + "]";
    return out + ")";
}

} // namespace

namespace {

// Classes the start of the position posed with a frame `lines` out; true
// when it is found and ranks with `best`. `why` names a different class.
bool CheckFurtherFrame(const GNode& root, int forcedAim, int lines, int limitMs, int best,
                       std::string& why) {
    const Posed wider = Pose(root, forcedAim, lines);
    if (!wider.why.empty()) {
        why = wider.why + ": the answer is not checked against a wider frame";
        return false;
    }
    ProblemSolver solver(wider.board, wider.viewSize, static_cast<Aim>(wider.aim));
    Limits limits;
    limits.deadline = SolverClock::now() + std::chrono::milliseconds(limitMs);
    const int klass = solver.Classify(solver.Start(), limits).klass;
    if (!klass) return false;
    if (ClassValue(klass) == ClassValue(best)) return true;
    why = "the frame decides: " + OutcomeText(0, best * 10).toStdString() + " with the frame, " +
          OutcomeText(0, klass * 10).toStdString() + " with it " + std::to_string(lines) +
          " lines out";
    return false;
}

} // namespace

std::string SolvedMove(const SolveReport& r, int cell) {
    int x = CellX(cell), y = CellY(cell);
    if (r.flipX) x = kSide - 1 - x;
    if (r.flipY) y = kSide - 1 - y;
    std::string s(1, r.swapped ? 'W' : 'B');
    s += '[';
    s += static_cast<char>('a' + x);
    s += static_cast<char>('a' + y);
    return s + ']';
}

bool SolveSgf(const std::string& text, const GrowOptions& options, int forcedAim, std::string& out,
              std::vector<SolveReport>& reports, std::string& error) {
    std::vector<sgf::Tree> trees;
    if (!ParseTrees(text, trees, error)) return false;
    out.clear();
    reports.clear();
    GrowOptions strict = options;
    strict.strict = true;
    for (size_t t = 0; t < trees.size(); ++t) {
        if (trees[t].nodes.empty()) continue;
        SolveReport rep;
        GNode root;
        for (const sgf::Property& p : trees[t].nodes[0].props)
            root.props.push_back({p.ident, p.values});
        if (const auto* c = root.Find("C"); c && !c->empty()) rep.title = (*c)[0];
        const Posed posed = Pose(root, forcedAim, options.frame);
        rep.swapped = posed.swapped;
        rep.flipX = posed.flipX;
        rep.flipY = posed.flipY;
        rep.aim = posed.aim;
        if (trees[t].nodes.size() > 1) {
            rep.why = "the position already has moves (grow completes a tree)";
        } else if (!posed.why.empty()) {
            rep.why = posed.why;
        } else {
            // The posed problem goes through the tree builder of grow.
            std::vector<sgf::Tree> posedTree;
            sgf::Error perr;
            sgf::Parse(RootText(posed, root), posedTree, perr);
            std::vector<GNode> nodes;
            for (const sgf::Node& n : posedTree[0].nodes) {
                GNode g;
                g.parent = n.parent;
                g.kids = n.children;
                for (const sgf::Property& p : n.props)
                    g.props.push_back({p.ident, p.values});
                nodes.push_back(std::move(g));
            }
            const auto t0 = SolverClock::now();
            TreeGrower grower(nodes, strict);
            const std::string why = grower.Grow();
            rep.ms = std::chrono::duration<double, std::milli>(SolverClock::now() - t0).count();
            const SolveReport& found = grower.report();
            rep.best = found.best;
            rep.correct = found.correct;
            if (why.empty() && options.frame >= 0) {
                // The frame is the strongest outside the attacker could have:
                // a life or seki of the defender holds on the open board too.
                // A kill or a ko may be the frame's doing: the frame one line
                // further out (searched within a limit of its own) must give
                // the start the same class, or the position is refused.
                // (A connection made holds; a cut that fails fails.)
                const bool defenderLives = posed.aim == static_cast<int>(Aim::Live)
                                               ? rep.best == kBlackAlive || rep.best == kSekiBlack
                                           : posed.aim == static_cast<int>(Aim::Connect)
                                               ? rep.best == kBlackSucceeds
                                           : posed.aim == static_cast<int>(Aim::Cut)
                                               ? rep.best == kBlackFails
                                               : rep.best == kWhiteAlive || rep.best == kSekiWhite;
                if (defenderLives)
                    rep.frame = SolveReport::Frame::Holds;
                else if (CheckFurtherFrame(root, forcedAim, options.frame + 1, options.limitMs,
                                           rep.best, rep.why))
                    rep.frame = SolveReport::Frame::Confirmed;
                else if (rep.why.empty())
                    rep.frame = SolveReport::Frame::Unchecked;
            }
            if (!why.empty()) {
                rep.why = why;
                rep.beyondReach = true;
            } else if (rep.why.empty()) {
                out += '(';
                Write(nodes, 0, out);
                out += ")\n";
            }
        }
        reports.push_back(rep);
    }
    return true;
}

} // namespace velsolver

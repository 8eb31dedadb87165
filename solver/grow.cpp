#include "grow.h"

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
        const int aim = IntProp(root, "PP", 0);
        if (aim < 1 || aim > 3) return "aim (PP) not 1-3";
        Goban start;
        AddStones(start, root.Find("AB"), kBlackCell);
        AddStones(start, root.Find("AW"), kWhiteCell);
        solver_ =
            std::make_unique<ProblemSolver>(start, IntProp(root, "VS", 19), static_cast<Aim>(aim));
        limits_.deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(o_.limitMs);
        const SearchStart s0 = solver_->Start();
        const int best = solver_->Classify(s0, limits_).klass;
        if (!best) return "the start position is beyond reach";

        std::map<int, int> inTree; // first-move cell -> node
        for (int k : nodes_[0].kids) {
            int cell, colour;
            if (NodeMove(nodes_[k], cell, colour)) inTree.emplace(cell, k);
        }
        struct Candidate {
            int cell;
            ClassResult result;
            int score;
        };
        std::vector<Candidate> wrong;
        for (int c : solver_->CandidateMoves(s0)) {
            SearchStart s = s0;
            if (!solver_->Advance(s, c)) continue;
            const ClassResult r = solver_->Classify(s, limits_);
            if (!r.klass) return "a first move is beyond reach";
            if (inTree.count(c)) continue;
            if (ClassValue(r.klass) == ClassValue(best))
                AddLine(0, s, c, r);
            else if (const int score = Plausibility(s0.board, c); score > 0)
                wrong.push_back({c, r, score});
        }
        std::stable_sort(wrong.begin(), wrong.end(),
                         [](const Candidate& a, const Candidate& b) { return a.score > b.score; });
        if (static_cast<int>(wrong.size()) > o_.maxWrongMoves)
            wrong.resize(static_cast<size_t>(o_.maxWrongMoves));
        for (const Candidate& w : wrong) {
            SearchStart s = s0;
            solver_->Advance(s, w.cell);
            AddLine(0, s, w.cell, w.result);
        }
        LabelLeaves(s0);
        return {};
    }

private:
    // Stones next to the point (the target's count double) and room around
    // it: a vital point has three or more empty neighbours in the region.
    int Plausibility(const Goban& b, int c) const {
        const Region& r = solver_->region();
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
    void AddLine(int parent, SearchStart s, int first, const ClassResult& result) {
        int node = NewNode(parent, kBlackCell, first);
        for (int m : solver_->BestLine(s, result, o_.maxLineMoves - 1, limits_)) {
            node = NewNode(node, s.toMove, m);
            ProblemSolver::PlayPlain(s, m);
        }
        int leafClass = solver_->Classify(s, limits_).klass;
        if (!leafClass) leafClass = result.klass;
        nodes_[static_cast<size_t>(node)].props.push_back({"OC", {std::to_string(leafClass)}});
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
                s.koCell = Searcher::KoPointAfter(s.board, cell, cap);
                s.toMove = Other(colour);
            }
            if (!ok) continue;
            const int k = solver_->Classify(s, limits_).klass;
            if (k) nodes_[i].props.push_back({"OC", {std::to_string(k)}});
        }
    }

    std::vector<GNode>& nodes_;
    const GrowOptions& o_;
    std::unique_ptr<ProblemSolver> solver_;
    Limits limits_;
};

} // namespace

bool GrowSgf(const std::string& text, const GrowOptions& options, std::string& out,
             std::string& notes, std::string& error) {
    std::vector<sgf::Tree> trees;
    sgf::Error err;
    if (!sgf::Parse(text, trees, err)) {
        error = std::to_string(err.line) + ":" + std::to_string(err.column) + ": " + err.message;
        return false;
    }
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

} // namespace velsolver

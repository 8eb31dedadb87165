#include "dump.h"

#include "sgf/sgf.h"

#include "rules/outcome.h"
#include "rules/rules.h"

#include <algorithm>
#include <vector>

namespace {

std::string Point(int x, int y) {
    std::string s;
    s.push_back(static_cast<char>('a' + x));
    s.push_back(static_cast<char>('a' + y));
    return s;
}

std::string Num(int v) {
    return std::to_string(v);
}

} // namespace

QByteArray DumpProblem(const Problem& source, DataSet set, int number, const QString& comment) {
    Problem p = source;
    p.gTurnOffset = 0;
    CalcAllResults(p);

    std::string out = "(;FF[4]GM[1]CA[UTF-8]SZ[19]PL[B]GN[" + DataSetName(set).toStdString() + " " +
                      Num(number) + "]\n";
    // An aim-0 problem keeps its goal in HeadFlag: GL names it.
    const std::string flag = p.ProbPurpose != 0 ? "HF[" + Num(p.HeadFlag) + "]"
                             : p.HeadFlag == 1  ? std::string("GL[cut]")
                                                : std::string("GL[connect]");
    out += "VS[" + Num(p.ViewSize) + "]" + flag + "DF[" + Num(p.Difficulty) + "]PP[" +
           Num(p.ProbPurpose) + "]KC[" + Num(p.kekkaCalc[0]) + "]";
    if (set != DataSet::Abc && !comment.isEmpty())
        out += "CM[" + sgf::Escape(comment.toStdString()) + "]";
    out += "\n";
    for (int colour : {kBlack, kWhite}) {
        std::string stones;
        for (int pt = 0; pt < kPoints; ++pt)
            if (p.gInitBoard[static_cast<std::size_t>(pt)] == colour)
                stones += "[" + Point(pt % 19, pt / 19) + "]";
        if (!stones.empty()) out += (colour == kBlack ? "AB" : "AW") + stones + "\n";
    }

    // Children in node order; the walk is iterative so no tree can exhaust
    // the stack.
    std::vector<std::vector<int>> children(static_cast<std::size_t>(p.hands) + 1);
    auto slot = [](int node) { return node == kRoot ? 0 : static_cast<std::size_t>(node) + 1; };
    for (int n = 0; n < p.hands; ++n) {
        const int parent = p.prev[static_cast<std::size_t>(n)];
        if (parent == kRoot || (parent >= 0 && parent < p.hands))
            children[slot(parent)].push_back(n);
    }
    auto nodeText = [&](int n, int depth) {
        const std::size_t u = static_cast<std::size_t>(n);
        const bool leaf = children[u + 1].empty();
        std::string s = ";";
        s += depth % 2 == 1 ? "B[" : "W[";
        s += Point(p.x[u], p.y[u]) + "]NN[" + Num(n) + "]KC[" + Num(p.kekkaCalc[u + 1]) + "]";
        if (leaf || p.code[u] != 0) s += "OC[" + Num(p.code[u]) + "]";
        if (leaf || p.best[u] != 0) s += "OB[" + Num(p.best[u]) + "]";
        if (p.repl[u] != 0) s += "RP[" + Num(p.repl[u]) + "]";
        if (leaf)
            s += "C[" + sgf::Escape(OutcomeText(0, p.code[u] * 10 + p.best[u]).toStdString()) + "]";
        return s;
    };
    // Work items: a node to write, or a closing parenthesis.
    struct Item {
        int node; // -1: write ")"
        int depth;
        bool open; // write "(" before the node
    };
    std::vector<Item> todo;
    const std::vector<int>& first = children[0];
    if (first.size() == 1) {
        todo.push_back({first[0], 1, false});
    } else {
        for (auto it = first.rbegin(); it != first.rend(); ++it) {
            todo.push_back({-1, 0, false});
            todo.push_back({*it, 1, true});
        }
    }
    while (!todo.empty()) {
        const Item item = todo.back();
        todo.pop_back();
        if (item.node < 0) {
            out += ")";
            continue;
        }
        // Indent by depth (capped, so long lines stay readable).
        if (out.back() != '\n') out += "\n";
        out += std::string(static_cast<std::size_t>(std::min(item.depth - 1, 24)), ' ');
        if (item.open) out += "(";
        out += nodeText(item.node, item.depth);
        const std::vector<int>& kids = children[static_cast<std::size_t>(item.node) + 1];
        if (kids.size() == 1) {
            todo.push_back({kids[0], item.depth + 1, false});
        } else {
            for (auto it = kids.rbegin(); it != kids.rend(); ++it) {
                todo.push_back({-1, 0, false});
                todo.push_back({*it, item.depth + 1, true});
            }
        }
    }
    out += ")\n";
    return QByteArray::fromStdString(out);
}

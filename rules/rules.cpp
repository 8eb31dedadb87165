#include "rules.h"

#include <algorithm>

int16_t gHamaS = 0;
PointList gHamaList;

namespace {

// Neighbours in the fixed order left, up, right, down; off-board ones skipped.
template <typename F> void ForEachNeighbour(int x, int y, F&& f) {
    if (x > 0) f(x - 1, y);
    if (y > 0) f(x, y - 1);
    if (x < 18) f(x + 1, y);
    if (y < 18) f(x, y + 1);
}

bool Contains(const PointList& list, int16_t code) {
    return std::find(list.begin(), list.end(), code) != list.end();
}

bool OnBoard(int x, int y) {
    return x >= 0 && x < 19 && y >= 0 && y < 19;
}

} // namespace

int16_t OppositeColor(int colour) {
    if (colour == kBlack) return kWhite;
    if (colour == kWhite) return kBlack;
    return 0;
}

int16_t XYToPoint(int x, int y) {
    return static_cast<int16_t>(y * 19 + x);
}

void PointToXY(int code, int& x, int& y) {
    x = code % 19;
    y = code / 19;
}

void CopyBoard(Board& dest, const Board& src) {
    dest = src;
}

PointList CollectGroup(int colour, int x, int y, const Board& board) {
    PointList group;
    if (!OnBoard(x, y) || board[XYToPoint(x, y)] != colour) return group;
    group.push_back(XYToPoint(x, y));
    for (size_t read = 0; read < group.size(); ++read) {
        int px = 0;
        int py = 0;
        PointToXY(group[read], px, py);
        ForEachNeighbour(px, py, [&](int nx, int ny) {
            const int16_t c = XYToPoint(nx, ny);
            if (board[c] == colour && !Contains(group, c)) group.push_back(c);
        });
    }
    return group;
}

PointList CollectNeighbours(const PointList& group) {
    PointList result;
    for (const int16_t p : group) {
        int px = 0;
        int py = 0;
        PointToXY(p, px, py);
        ForEachNeighbour(px, py, [&](int nx, int ny) {
            const int16_t c = XYToPoint(nx, ny);
            if (!Contains(group, c) && !Contains(result, c)) result.push_back(c);
        });
    }
    return result;
}

bool IsGroupCaptured(int colour, int x, int y, const Board& board) {
    const PointList group = CollectGroup(colour, x, y, board);
    if (group.empty()) return false;
    const PointList around = CollectNeighbours(group);
    if (around.empty()) return false;
    const int16_t enemy = OppositeColor(colour);
    for (const int16_t c : around) {
        if (board[c] != enemy) return false;
    }
    return true;
}

bool CheckMove(int colour, int x, int y, const Board& board, PointList& captures) {
    captures.clear();
    if (!OnBoard(x, y)) return false;
    const int16_t at = XYToPoint(x, y);
    if (board[at] != kEmpty) return false;
    Board b = board; // the caller's board stays unchanged
    b[at] = static_cast<int16_t>(colour);
    bool captured = false;
    const int16_t enemy = OppositeColor(colour);
    ForEachNeighbour(x, y, [&](int nx, int ny) {
        const int16_t c = XYToPoint(nx, ny);
        if (Contains(captures, c)) return;
        if (IsGroupCaptured(enemy, nx, ny, b)) {
            captured = true;
            const PointList g = CollectGroup(enemy, nx, ny, b);
            captures.insert(captures.end(), g.begin(), g.end());
        }
    });
    if (captured) return true;
    return !IsGroupCaptured(colour, x, y, b);
}

bool PlayMove(int colour, int x, int y, Board& board, bool commit) {
    const bool legal = CheckMove(colour, x, y, board, gHamaList);
    gHamaS = static_cast<int16_t>(gHamaList.size());
    if (!commit || !OnBoard(x, y)) return legal;
    for (const int16_t c : gHamaList)
        board[c] = kEmpty;
    board[XYToPoint(x, y)] = static_cast<int16_t>(colour);
    return legal;
}

bool ApplyMove(int colour, int x, int y, Board& board, PointList* captures) {
    PointList local;
    PointList& caps = captures ? *captures : local;
    const bool legal = CheckMove(colour, x, y, board, caps);
    if (!OnBoard(x, y)) return false;
    for (const int16_t c : caps)
        board[c] = kEmpty;
    board[XYToPoint(x, y)] = static_cast<int16_t>(colour);
    return legal;
}

NodeList GetChildren(const Problem& p, int node) {
    NodeList children;
    for (int m = 0; m < p.hands; ++m) {
        if (p.prev[m] == node) children.push_back(static_cast<int16_t>(m));
    }
    return children;
}

int CountChildren(const Problem& p, int node) {
    int count = 0;
    for (int m = 0; m < p.hands; ++m) {
        if (p.prev[m] == node) ++count;
    }
    return count;
}

int FindChildByMove(int x, int y, const std::vector<ChildInfo>& children) {
    for (size_t i = 0; i < children.size(); ++i) {
        if (children[i].x == x && children[i].y == y) return static_cast<int>(i);
    }
    return -1;
}

int FindChildByMove(const Problem& p, int x, int y, const NodeList& children) {
    for (size_t i = 0; i < children.size(); ++i) {
        const int n = children[i];
        if (p.x[n] == x && p.y[n] == y) return static_cast<int>(i);
    }
    return -1;
}

NodeList GetPath(const Problem& p, int node) {
    NodeList path;
    int cur = node;
    // Bounded walk: a loaded tree is validated, but never loop on a bad one.
    while (cur != kRoot && cur >= 0 && cur < p.hands &&
           static_cast<int>(path.size()) <= kMaxNodes) {
        path.push_back(static_cast<int16_t>(cur));
        cur = p.prev[cur];
    }
    std::reverse(path.begin(), path.end());
    return path;
}

int Depth(const Problem& p, int node) {
    return static_cast<int>(GetPath(p, node).size());
}

int16_t SideToMove(const Problem& p, int node) {
    const int depth = Depth(p, node);
    return ((p.gTurnOffset + depth) % 2 == 0) ? kBlack : kWhite;
}

int BuildPosition(const Problem& p, int node, Board& board, PointList* lastCaptures) {
    const NodeList path = GetPath(p, node);
    board = p.gInitBoard;
    int16_t colour = (p.gTurnOffset % 2 == 0) ? kBlack : kWhite;
    PointList caps;
    for (const int16_t n : path) {
        PlayMove(colour, p.x[n], p.y[n], board, true);
        caps = gHamaList;
        colour = OppositeColor(colour);
    }
    if (lastCaptures) *lastCaptures = path.empty() ? PointList() : caps;
    return static_cast<int>(path.size());
}

CurrentPosition SetUpNode(const Problem& p, int node) {
    CurrentPosition cur;
    cur.gNowLoc = static_cast<int16_t>(node);
    const int depth = BuildPosition(p, node, cur.board, &cur.lastCaptures);
    cur.path = GetPath(p, node);
    cur.gNowNth = static_cast<int16_t>(depth + p.gTurnOffset);
    for (const int16_t c : GetChildren(p, node)) {
        cur.children.push_back(ChildInfo{c, p.x[c], p.y[c], p.kekkaCalc[c + 1]});
    }
    cur.result = node == kRoot                     ? p.kekkaCalc[0]
                 : (node >= 0 && node < kMaxNodes) ? p.kekkaCalc[node + 1]
                                                   : int16_t(-1);
    cur.side = ((p.gTurnOffset + depth) % 2 == 0) ? kBlack : kWhite;
    return cur;
}

// Board and move rules: legality, capture and replay of moves; the tree
// relations of the loaded problem and the current position.
#pragma once

#include "library/problem.h"
#include "library/types.h"

// Captures of the most recent PlayMove.
extern int16_t gHamaS;
extern PointList gHamaList;

int16_t OppositeColor(int colour);
int16_t XYToPoint(int x, int y);
void PointToXY(int code, int& x, int& y);
void CopyBoard(Board& dest, const Board& src);

PointList CollectGroup(int colour, int x, int y, const Board& board);
PointList CollectNeighbours(const PointList& group);
bool IsGroupCaptured(int colour, int x, int y, const Board& board);
// Legality; the board is unchanged; `captures` receives the captured stones.
bool CheckMove(int colour, int x, int y, const Board& board, PointList& captures);
// CheckMove into gHamaList/gHamaS; with commit also applies the move.
bool PlayMove(int colour, int x, int y, Board& board, bool commit);
// The same without touching the globals.
bool ApplyMove(int colour, int x, int y, Board& board, PointList* captures = nullptr);

NodeList GetChildren(const Problem& p, int node);
int CountChildren(const Problem& p, int node);
struct ChildInfo {
    int16_t node;
    int16_t x;
    int16_t y;
    int16_t result;
};
int FindChildByMove(int x, int y, const std::vector<ChildInfo>& children);
int FindChildByMove(const Problem& p, int x, int y, const NodeList& children);
NodeList GetPath(const Problem& p, int node);
int Depth(const Problem& p, int node);
int16_t SideToMove(const Problem& p, int node);
// Rebuilds the position at `node`; returns its depth. `lastCaptures` receives
// the stones taken by the last move of the path.
int BuildPosition(const Problem& p, int node, Board& board, PointList* lastCaptures = nullptr);

// A window's current position, recomputed as a whole from gNowLoc.
struct CurrentPosition {
    int16_t gNowLoc = kRoot;
    int16_t gNowNth = 0; // move number
    NodeList path;
    Board board{};
    std::vector<ChildInfo> children;
    int16_t result = -1; // kekkaCalc of gNowLoc
    int16_t side = kBlack;
    PointList lastCaptures; // stones removed by the last replayed move
};
CurrentPosition SetUpNode(const Problem& p, int node);

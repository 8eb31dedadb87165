// Where a settled line went wrong: the first move that lowered the result,
// and the stored moves that keep the best result at that point.
#pragma once

#include "rules.h"

#include <QString>
#include <vector>

// The children of a node that keep `nodeResult` (same comparison value).
std::vector<ChildInfo> BestChildren(const std::vector<ChildInfo>& children, int nodeResult);

struct TurningPoint {
    bool found = false;
    int index = -1;         // position of the wrong move in the line (0 = first move)
    int16_t parent = kRoot; // the node at which the wrong move was chosen
    int16_t node = -1;      // the wrong move's node
    int moveNumber = 0;     // the wrong move's number as the move counter shows it
    int16_t x = -1;
    int16_t y = -1;
    std::vector<ChildInfo> best; // the moves that keep the parent's result
};

// Walks the line from the start to `node` (results computed) and returns the
// first move whose result is worse for Black than the result before it.
// Nothing is found when the line never got worse.
TurningPoint FindTurningPoint(const Problem& p, int node);

// "３手目が悪手でした。○が正解です"
QString TurningPointText(int moveNumber);

// The right first moves of problem n of a course, read from its data set
// without touching the loaded problem. Empty when the problem cannot be read.
std::vector<ChildInfo> RightFirstMoves(int course, int n);

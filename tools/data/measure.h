// What the data tool measures of whole problems: how alike two start
// positions are (the eight symmetries of the board and the swap of colours
// count as the same position), and how hard a problem is, for the rule that
// ties each level of the main collection to measured difficulty.
#pragma once

#include "library/problem.h"

#include <QString>
#include <string>
#include <vector>

// The number of stones by which two start positions differ, at the best of
// the 8 symmetries of the board and the colour swap; 0 for the same position.
int PositionDistance(const Problem& a, const Problem& b);

// Start positions this many stones apart or fewer are reported as near
// duplicates (a warning) by check.
inline constexpr int kNearDistance = 1;

struct SimilarPair {
    int first = 0; // indices into the list given, first < second
    int second = 0;
    int distance = 0;
};

// Every pair of problems whose start positions differ by at most
// `maxDistance` stones, in index order.
std::vector<SimilarPair> FindSimilar(const std::vector<const Problem*>& problems, int maxDistance);

struct DifficultyMeasure {
    // Moves of the main line: Black takes the shortest way to the best
    // result, White the longest resistance that keeps it.
    int mainLine = 0;
    // Black decision points on the main line with more than one move stored.
    int branching = 0;
    // The first move is hard to see: Black's first stone is captured later in
    // the main line (a sacrifice), or it touches no stone at all.
    bool hardFirstMove = false;
    // GNU Go does not find a correct first move (recorded by the problem
    // tools, see PositionKey); it counts as a hard first move.
    bool engineMisses = false;
};

// The start position as text, the same for its images under the eight
// symmetries and the colour swap: of the sixteen images, the smallest
// concatenation of its stones sorted as "b"/"w" plus the SGF point.
std::string PositionKey(const Problem& p);

// Measures a problem with a sound tree (results computed inside).
DifficultyMeasure MeasureDifficulty(const Problem& p);

// The highest level (10 初級, 20 上級, 30 有段) the measure allows:
// 上級 needs a main line of at least 5 moves; 有段 one of at least 7, or of
// at least 5 with a hard-to-see first move.
int HighestLevel(const DifficultyMeasure& m);

// Empty when the problem's Difficulty is within the rule, else why not;
// `engineMisses`: GNU Go is recorded as missing the first move.
QString LevelFault(const Problem& p, bool engineMisses = false);

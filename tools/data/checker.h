// Checks of one problem that hold for sources and for compiled data alike:
// the header values, the start position, the shape of the tree, the legality
// of every move and the outcomes of the leaves.
#pragma once

#include "library/problem.h"

#include <QString>
#include <vector>

enum class DataSet { Abc = 0, S1 = 1, S2 = 2 };
inline constexpr int kDataSetCount = 3;
inline constexpr int kMaxCommentFields = 250;

QString DataSetName(DataSet set);
// "abc", "s1" or "s2" (any case); false for anything else.
bool DataSetFromName(const QString& name, DataSet& set);

struct ProblemFault {
    int node = -1; // node number the fault is about, -1 for the problem as a whole
    bool warning = false;
    QString message;
};

// Whether the board picture of a view of this many lines has stone tiles of
// the cell's size (29 pixels for 13 lines, 20 for 19): problems are shown on
// those views only.
bool ViewSizeHasTiles(int viewSize);

// Every fault of `p` as a problem of `set`. Structural faults (a parent that
// does not exist, a cycle) stop the checks that need a sound tree.
// `waits` (by node number, may be shorter or empty) marks the wrong first
// moves White answers by waiting: no White move keeps their result, so they
// stand without a refutation by design (the source's `WA[1]`).
std::vector<ProblemFault> CheckProblem(const Problem& p, DataSet set,
                                       const std::vector<bool>& waits = {});

// "B[cd]": the move of node n in SGF form, with the colour its depth gives.
QString MoveText(const Problem& p, int node);

// The depth of a node of a sound tree (1 for a child of the root).
int NodeDepth(const Problem& p, int node);

// Whether an outcome class belongs to the aim (for the fit warning).
// Exposed for tests.
bool ClassFitsAim(int klass, int aim);

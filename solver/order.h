// Whether a position's class depends on what was asked before it: the
// classes a proof of the whole tree gives its positions against those a
// fresh solver gives each position asked alone (the same path behind it).
#pragma once

#include "library/problem.h"

#include <QString>
#include <vector>

namespace velsolver {

struct OrderDisagreement {
    int16_t node = 0; // the tree's node, kRoot for the start
    QString where;    // "leaf 154 (B[ba] W[dc])", "after B[ba] W[dc]", "start"
    int inOrder = 0;  // the class as the proof of the tree gave it
    int fresh = 0;    // the class a fresh solver gives the position
};

struct OrderReport {
    QString error;     // why the problem was not checked (empty when it was)
    int positions = 0; // positions compared
    int unknown = 0;   // positions beyond reach one way or the other
    std::vector<OrderDisagreement> disagreements;
    uint64_t nodes = 0; // of the fresh solvers
};

// The start, every leaf and every node with Black to move (`every` > 1:
// every such position in `every`, in tree order) classed by the solver
// that proved the tree (prove's order, then the positions prove did not
// ask in tree order) and by a fresh solver each, within `limitMs` per
// classification. `ownPaths`: the fresh solvers read no settled result on
// another path than its own (a reference for the path checks, slow).
// InitOutcomeTable must have been called.
OrderReport CheckOrder(const Problem& problem, int limitMs, int every = 1, bool ownPaths = false);

} // namespace velsolver

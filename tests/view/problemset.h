// Tiny problem sets written to a temporary folder for the view and review
// tests: a builder for problem trees and a writer for the ".dr"/".dt" pair.
#pragma once

#include "library/problem.h"

#include <QString>
#include <initializer_list>
#include <vector>

// Builds a problem node by node.
class TreeBuilder {
public:
    explicit TreeBuilder(int viewSize = 19);
    // Puts stones on the start position.
    TreeBuilder& black(std::initializer_list<std::pair<int, int>> points);
    TreeBuilder& white(std::initializer_list<std::pair<int, int>> points);
    // Adds a node; returns its number. code/best make a leaf's result, repl
    // marks a stored line ending here.
    int node(int prev, int x, int y, int code = 0, int best = 0, int repl = 0);
    // A chain of moves from `prev`; the last one carries code/repl.
    int line(int prev, std::initializer_list<std::pair<int, int>> moves, int code, int repl = 1);
    const Problem& problem() const { return p_; }

private:
    Problem p_;
};

// Writes the problems as data set "abc" into `folder`, points gDataPath at it
// and fills the course table (course 0 holds them all).
bool WriteProblemSet(const QString& folder, const std::vector<Problem>& problems);

// Writes "board.bmp", the sixteen stone tiles (plain discs) and the window
// background "marble.bmp" into `folder`.
bool WriteBoardPictures(const QString& folder);

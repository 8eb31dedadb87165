// Tiny problem sets written to a temporary folder for the window tests: a
// builder for problem trees, a writer for the ".dr"/".dt" pair and the
// pictures and sounds the windows read.
#pragma once

#include "library/problem.h"

#include <QString>
#include <initializer_list>
#include <utility>
#include <vector>

// Builds a problem node by node.
class TreeBuilder {
public:
    explicit TreeBuilder(int viewSize = 19);
    // Puts stones on the start position.
    TreeBuilder& black(std::initializer_list<std::pair<int, int>> points);
    TreeBuilder& white(std::initializer_list<std::pair<int, int>> points);
    TreeBuilder& purpose(int aim);
    TreeBuilder& difficulty(int level);
    // Adds a node; returns its number. code/best make a leaf's result, repl
    // marks a stored line ending here.
    int node(int prev, int x, int y, int code = 0, int best = 0, int repl = 0);
    // A chain of moves from `prev`; the last one carries code/repl.
    int line(int prev, std::initializer_list<std::pair<int, int>> moves, int code, int repl = 1);
    const Problem& problem() const { return p_; }

private:
    Problem p_;
};

// Writes `base`.dr and `base`.dt for the problems into `folder`.
bool WriteSetFiles(const QString& folder, const QString& base,
                   const std::vector<Problem>& problems);

// Writes the problems as data set "abc" into `folder`, points gDataPath at it
// and fills the course table (course 0 holds them all).
bool WriteProblemSet(const QString& folder, const std::vector<Problem>& problems);

// Writes "board.bmp", the sixteen stone tiles (plain discs), the window
// backgrounds and the learn window's button pictures into `folder`.
bool WriteBoardPictures(const QString& folder);

// Writes a minimal WAV header under each name (the tests record, never play).
bool WriteSoundStubs(const QString& folder, std::initializer_list<const char*> names);

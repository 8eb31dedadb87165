// Problem sources: SGF game trees with our private properties, turned into
// problems (see docs/problem-format.md for the conventions).
#pragma once

#include "checker.h"
#include "diagnostic.h"
#include "sgf/sgf.h"

#include "library/problem.h"

#include <QString>
#include <string_view>
#include <vector>

struct SourceProblem {
    Problem problem;
    QString comment; // CM of an s1/s2 problem, empty when none
    QString file;    // the file as shown in messages
    int tree = 0;    // game tree within the file, from 1
};

// Converts one game tree of `text` into a problem of `set`. `file` names the
// file in messages and `number` is the problem's number within its set (from
// 1). Faults and warnings are appended to `diags`; returns false when there
// was a fault (warnings alone do not fail).
bool ProblemFromTree(std::string_view text, const sgf::LineIndex& lines, const sgf::Tree& tree,
                     DataSet set, const QString& file, int number, SourceProblem& out,
                     std::vector<Diagnostic>& diags);

// Parses one source file's bytes (UTF-8 SGF) and converts every tree,
// appending the problems to `out` (numbered on from out.size() + 1).
bool ProblemsFromSource(const QByteArray& bytes, DataSet set, const QString& file,
                        std::vector<SourceProblem>& out, std::vector<Diagnostic>& diags);

// The ".sgf" files directly inside `folder`, sorted by name (byte order of
// the UTF-8 name). A missing folder has none.
QStringList SourceFiles(const QString& folder);

// Reads every problem of one set folder. False when any file had a fault.
bool ReadSourceFolder(const QString& folder, DataSet set, std::vector<SourceProblem>& out,
                      std::vector<Diagnostic>& diags);

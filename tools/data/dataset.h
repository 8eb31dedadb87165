// The compiled data folder: the three ".dr"/".dt" pairs, the template player
// file and the two comment lists; building them from problems, reading them
// back and checking them.
#pragma once

#include "checker.h"
#include "diagnostic.h"

#include "library/problem.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <set>
#include <string>
#include <vector>

// The problems of the three sets; comments only for s1 and s2 (index 1, 2).
struct ProblemSets {
    std::array<std::vector<Problem>, kDataSetCount> problems;
    std::array<std::vector<QString>, kDataSetCount> comments;
};

struct DataFiles {
    std::array<QByteArray, kDataSetCount> dr;
    std::array<QByteArray, kDataSetCount> dt;
    QByteArray psn;
    std::array<QByteArray, 2> txt; // s1.txt, s2.txt
};

// Index and block file of one set.
void BuildSetFiles(const std::vector<Problem>& problems, QByteArray& dr, QByteArray& dt);
// The template player file: default settings, each problem's Level from its
// Difficulty at its global index (abc, then s1, then s2).
QByteArray BuildTemplate(const ProblemSets& sets);
// One quoted field per problem, CR LF, Shift-JIS. False when a comment cannot
// be written (quote, line break, not Shift-JIS); `error` says which.
bool BuildCommentList(const std::vector<QString>& comments, QByteArray& out, QString* error);

// Every file of the data folder. Set-level faults (more than 3000 problems,
// more than 250 comment fields, an unwritable comment) go to `diags`.
bool BuildDataFiles(const ProblemSets& sets, DataFiles& out, std::vector<Diagnostic>& diags);

// Writes the files into `folder` (created when missing), each atomically.
bool WriteDataFiles(const QString& folder, const DataFiles& files, QString* error);

// The file names of the data folder, in the order above.
QStringList DataFileNames();

// One set read back from a data folder. A block that cannot be decoded is
// kept with an empty problem and `decoded` false.
struct LoadedSet {
    std::vector<QByteArray> blocks;
    std::vector<Problem> problems;
    std::vector<bool> decoded;
    std::vector<QString> comments; // s1/s2: the comment fields, when the list exists
    bool hasComments = false;
};

// Reads a set's index and blocks (and its comment list for s1/s2). Faults of
// the files themselves and undecodable blocks go to `diags`; false when the
// index cannot be used at all.
bool ReadDataSet(const QString& folder, DataSet set, LoadedSet& out,
                 std::vector<Diagnostic>& diags);

// Every check of a data folder: the sets, every problem, the template and the
// comment lists.
void CheckDataFolder(const QString& folder, std::vector<Diagnostic>& diags);

// The checks of the content as a whole: the same start position twice in
// any of the sets (turned, mirrored or with the colours swapped; positions
// one stone apart are warnings), and levels of the main collection above
// what the measured difficulty allows. `engineMisses` holds the position
// keys (PositionKey) of the problems whose first move GNU Go misses.
void AuditDataFolder(const QString& folder, std::vector<Diagnostic>& diags,
                     const std::set<std::string>& engineMisses = {});

// Reads the GNU Go verdicts the problem tools write: one position key per
// line (then free text), '#' starts a comment. False with `error` set when
// the file cannot be read or is not such a list.
bool ReadEngineMisses(const QString& path, std::set<std::string>& keys, QString& error);

// The loaded problem: start position, header values and the parent-linked
// node table; decoding and encoding of problem blocks, loading from the
// ".dr"/".dt" pair, and the examination stack.
#pragma once

#include "types.h"

#include <QByteArray>
#include <QString>

struct Problem {
    Board gInitBoard{};
    int16_t ViewSize = 0;
    int16_t HeadFlag = 0;
    int16_t Difficulty = 0;
    int16_t ProbPurpose = 0;
    int16_t hands = 0;
    std::array<int16_t, kResultSlots> prev{};
    std::array<uint8_t, kResultSlots> x{};
    std::array<uint8_t, kResultSlots> y{};
    std::array<uint8_t, kResultSlots> code{};
    std::array<uint8_t, kResultSlots> best{};
    std::array<uint8_t, kResultSlots> repl{};
    // Result slots: 0 the root, n + 1 node n; -1 not computed.
    std::array<int16_t, kResultSlots> kekkaCalc{};
    int16_t gTurnOffset = 0;

    Problem() { kekkaCalc.fill(-1); }
};

// Decodes a block into `out` (the computed results are reset to -1, the turn
// offset to 0). On a corrupt block returns false with `error` saying what is
// wrong; `out` is then left empty (no stones, no nodes). Never reads past the
// buffer nor writes past the arrays.
bool DecodeProblem(const QByteArray& block, Problem& out, QString* error = nullptr);

// Checks the tree of a decoded problem: every prev is 2047 or an existing
// node, no cycles, moves on the board, at most 41 children and 401 moves deep.
bool ValidateTree(const Problem& p, QString* error = nullptr);

// The exact block layout for a problem (the inverse of DecodeProblem).
QByteArray EncodeProblem(const Problem& p);

// Reads block n of a data set ("abc", "s1", "s2") from `folder` (gDataPath
// when empty) into `out`. Errors name the file and the problem number.
bool LoadProblemFromSet(const QString& baseName, int n, Problem& out, QString* error = nullptr,
                        const QString& folder = QString());
// Problem n of a course (gCourses) into `out`. Every window that shows a
// problem keeps its own copy, so that no other window's load changes it.
bool LoadProblem(int course, int n, Problem& out, QString* error = nullptr);

// Number of blocks in an index file's bytes, or -1 when the index is corrupt
// (length not a multiple of 4, offsets going backwards or past dtSize).
int CheckIndex(const QByteArray& dr, qint64 dtSize, QString* error = nullptr);

// Examination: the shown position becomes a new root and the node table a
// stack of the user's moves.
void StartExamine(Problem& p, const Board& shown, int16_t moveNumber, int16_t& nowLoc);
// Pushes a move (already found legal). False when the node table is full.
bool AddExamMove(Problem& p, int x, int y, int16_t& nowLoc);
// Pops the newest move. False when there is none.
bool TakeBackExamMove(Problem& p, int16_t& nowLoc);

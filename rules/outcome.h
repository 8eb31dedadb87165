// Outcome classes, the minimax over the problem tree and answer judging.
#pragma once

#include "library/problem.h"

#include <QString>
#include <array>

struct OutcomeRowInfo {
    int16_t value;
    int16_t klass;
    QString name;
    QString became;
    QString bestWas;
};
inline constexpr int kOutcomeRows = 29;
extern std::array<OutcomeRowInfo, kOutcomeRows> OutcomeTable;

struct GradeLabelSet {
    QString single;                  // "正解　"
    std::array<QString, 4> numbered; // "正解１" ...
    QString failSingle;              // "失敗　"
    std::array<QString, 4> failNumbered;
    QString blank; // "　　"
};
extern GradeLabelSet GradeLabels;

void InitOutcomeTable();
int OutcomeRow(int r);
QString OutcomeText(int kind, int r);
int16_t ResultValue(int r);
int16_t NodeResult(const Problem& p, int node);
// Fills every result slot; returns ProbKekkaCalc (the root's result).
int16_t CalcAllResults(Problem& p);
int16_t ChooseBest(int side, const std::vector<int16_t>& results);
NodeList ListReplNodes(const Problem& p);
bool IsCorrectAnswer(int answeredResult, int probResult);
std::array<QString, 5> MakeGradeLabels(const std::vector<int16_t>& candidateResults);
QString JudgeResult(int v0, int v);

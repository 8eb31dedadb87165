// The current selection shared by the menu, the selection windows and the
// play windows, and the answer sheet of the last trial.
#pragma once

#include "types.h"

#include <array>
#include <cstdint>

// Entry last started on the menu: 1 trial, 2 learn, 3 view, 4 settings,
// 5 registration.
extern int16_t gMode;
extern int16_t gCourse;
extern int16_t gProbNo;
extern int16_t gQuestionNo;
extern int16_t gReviewCount;

struct AnswerEntry {
    Board StartBoard{};
    int16_t ProbNo = -1; // -1: never asked
    int16_t Points = 0;
    int16_t AnswerX = -1; // -1: no move
    int16_t AnswerY = -1;
    int16_t BoardLines = 19;
};
inline constexpr int kTrialQuestions = 10;
extern std::array<AnswerEntry, kTrialQuestions> gAnswerSheet;

// Empties the sheet for a new trial.
void ClearAnswerSheet();

// The current selection shared by the menu, the selection windows and the
// play windows, and the answer sheet of the last trial.
#pragma once

#include "types.h"

#include <QString>
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

// A reviewed question's caption: "第１問" for question 0.
QString QuestionCaption(int questionNo);

// The problem or question after stepping by delta (+1 / -1) with wrap-around;
// -1 when there is nothing to step through.
int StepWrapped(int current, int count, int delta);

// What a play window was opened on: taken from the current selection when it
// opens and handed back to it when it opens the next window, so that another
// window loading or selecting meanwhile changes nothing the window shows.
struct SelectionSnapshot {
    int16_t mode = 0;
    int16_t course = 0;
    int16_t probNo = 0;
    int16_t questionNo = 0;
    int16_t reviewCount = 0;
    std::array<AnswerEntry, kTrialQuestions> sheet{};

    static SelectionSnapshot Take();
    // The next window starts from here: gMode, gCourse, gProbNo, gQuestionNo.
    void Publish() const;
    // Reviewing a trial: the question is kept on the sheet and its problem shown.
    void FollowQuestion();
    // One problem on when browsing a course, one question on when reviewing,
    // wrapping round; false when there is nothing to step through.
    bool Step(int delta, bool browsing, int problemCount);
};

#include "session.h"

int16_t gMode = 0;
int16_t gCourse = 0;
int16_t gProbNo = 0;
int16_t gQuestionNo = 0;
int16_t gReviewCount = 0;
std::array<AnswerEntry, kTrialQuestions> gAnswerSheet{};

void ClearAnswerSheet() {
    for (auto& e : gAnswerSheet)
        e = AnswerEntry{};
}

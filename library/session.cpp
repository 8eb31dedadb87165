#include "session.h"

#include "player.h"

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

QString QuestionCaption(int questionNo) {
    return QStringLiteral("第") + ToWideDigits(QString::number(questionNo + 1)) +
           QStringLiteral("問");
}

int StepWrapped(int current, int count, int delta) {
    if (count <= 0) return -1;
    if (current < 0 || current >= count) current = 0;
    int next = current + delta;
    if (next >= count) next = 0;
    if (next < 0) next = count - 1;
    return next;
}

SelectionSnapshot SelectionSnapshot::Take() {
    SelectionSnapshot s;
    s.mode = gMode;
    s.course = gCourse;
    s.probNo = gProbNo;
    s.questionNo = gQuestionNo;
    s.reviewCount = gReviewCount;
    s.sheet = gAnswerSheet;
    return s;
}

void SelectionSnapshot::Publish() const {
    gMode = mode;
    gCourse = course;
    gProbNo = probNo;
    gQuestionNo = questionNo;
}

void SelectionSnapshot::FollowQuestion() {
    if (questionNo < 0 || questionNo >= kTrialQuestions) questionNo = 0;
    probNo = sheet[static_cast<size_t>(questionNo)].ProbNo;
}

bool SelectionSnapshot::Step(int delta, bool browsing, int problemCount) {
    if (browsing) {
        const int n = StepWrapped(probNo, problemCount, delta);
        if (n < 0) return false;
        probNo = static_cast<int16_t>(n);
    } else {
        const int questions = reviewCount < kTrialQuestions ? reviewCount : kTrialQuestions;
        const int q = StepWrapped(questionNo, questions, delta);
        if (q < 0) return false;
        questionNo = static_cast<int16_t>(q);
    }
    return true;
}

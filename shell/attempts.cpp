#include "attempts.h"

#include "library/courses.h"
#include "library/player.h"
#include "library/types.h"
#include "platform/platform.h"

Attempt CurrentAttempt(AttemptMode mode, int course, int probNo, int firstX, int firstY,
                       int reached, int best, bool correct, int seconds) {
    Attempt a;
    a.player = gCurPlayer;
    a.time = QDateTime::currentDateTime();
    a.mode = mode;
    a.course = course;
    a.dataSet = course >= 0 && course < kCourseCount
                    ? gCourses[static_cast<size_t>(course)].BaseName
                    : QString();
    a.problem = probNo;
    a.firstMove =
        firstX >= 0 && firstX < 19 && firstY >= 0 && firstY < 19 ? firstY * 19 + firstX : -1;
    a.reached = reached;
    a.best = best;
    a.correct = correct;
    a.seconds = seconds < 0 ? 0 : seconds;
    const int index = GlobalProbIndex(course, probNo);
    a.level = index >= 0 && index < kMaxProblemsTotal
                  ? gPlayerRecord.Stat[static_cast<size_t>(index)].Level
                  : 0;
    return a;
}

void RecordAndTell(const Attempt& a, QWidget* parent) {
    if (gPlayerCount <= 0) return; // nobody to remember it for
    RecordAttempt(a);
    TellHistoryNotices(parent);
}

void TellHistoryNotices(QWidget* parent) {
    for (const QString& text : TakeHistoryNotices())
        CurrentPlatform().messageBox(text, parent);
}

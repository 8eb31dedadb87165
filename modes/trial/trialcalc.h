// The trial's arithmetic and texts: level points, the clock, the countdown
// announcements, the score transfer and the verdict on an answer.
#pragma once

#include <QString>

struct TrialLevel {
    QString text;   // "有段レベル" ...
    int basePoints; // 200, 150, 100
};
TrialLevel TrialLevelOf(int level);

// base - (thinkTime - seconds) \ 2, never below 0: a point every two seconds.
int TrialPoints(int basePoints, int thinkTime, int seconds);

// The announcement file for this many seconds left, or an empty name.
QString CountdownSound(int seconds);

// "あと ３０ 秒".
QString TimeText(int seconds);

// Points moved into the total by one step of the transfer: 10 while at least
// ten are left, else 1; 0 when nothing is left.
int TransferStep(int transfer);

// Whether the answered child's result is as good as the problem's best.
// A result without an outcome class counts only when it is the best itself.
bool TrialAnswerIsCorrect(int answerResult, int problemResult);

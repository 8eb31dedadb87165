// The list of a trial's questions for the review window and the place of
// the answer mark, without any widget.
#pragma once

#include "library/session.h"

#include <QPoint>
#include <QString>
#include <array>

using AnswerSheet = std::array<AnswerEntry, kTrialQuestions>;

// The number of questions asked: entries up to the first one never asked.
int CountReviewQuestions(const AnswerSheet& sheet);
// "第１問" … "第９問", then "第10問".
QString ReviewQuestionCaption(int i);
// Questions that scored nothing are highlighted.
bool QuestionHighlighted(const AnswerEntry& entry);
// Two columns of five, from the first option's place.
QPoint QuestionPlace(QPoint first, int i);
// The question selected when the window opens: the one last studied while it
// is still listed, else the first.
int OpeningQuestion(int questionNo, int previousCount, int newCount);
// "○" for an answer that scored, "×" for one that did not, nothing when the
// player gave no answer.
QString AnswerMark(const AnswerEntry& entry);

// Where the mark's text starts on a board surface of boardW x boardH pixels
// showing `lines` lines with stones of stoneSize pixels.
QPoint AnswerMarkPlace(int boardW, int boardH, int lines, int stoneSize, int answerX, int answerY);
// The mark's font size in points.
double AnswerMarkPointSize(int stoneSize);

// What the learn window shows once a line has settled below the problem's
// best result: the move where it went wrong and the moves that were right.
#pragma once

#include "learnlogic.h"
#include "rules/lesson.h"

class BoardView;
class QWidget;

namespace learn {

// The turning point of the settled line, found only when the line settled
// with a result worse than V0.
TurningPoint SettledLesson(const Problem& p, const LearnState& s);
// The verdict of a settled line, followed by where it went wrong.
QString SettledVerdict(const Problem& p, const LearnState& s);
// Back to the position before the move at `index` of the line (0: the start);
// the timer action becomes idle. False when the index is past the history.
bool LearnStepBackTo(const Problem& p, LearnState& s, int index);
// The clock of the attempt at the problem shown: started when it is shown.
void StartAttemptClock();
// Writes the settled line to the history (first move, result, best result).
void RecordSettledLine(const Problem& p, const LearnState& s, int course, int probNo,
                       QWidget* parent);
// Crosses the wrong move and circles the right ones on the drawn board.
void DrawLesson(BoardView& board, const TurningPoint& tp);

} // namespace learn

// Writing an attempt to the history from a window: the row is filled from
// the current player and selection, and what the history has to say (a
// damaged file moved aside, a write that failed) is shown once over the
// window. Play always goes on.
#pragma once

#include "history/history.h"

class QWidget;

// An attempt at problem `probNo` of `course` by player gCurPlayer, now.
Attempt CurrentAttempt(AttemptMode mode, int course, int probNo, int firstX, int firstY,
                       int reached, int best, bool correct, int seconds);
// Records the attempt (when a player is registered) and shows any notice.
void RecordAndTell(const Attempt& a, QWidget* parent);
// Shows the history's pending notices over `parent`.
void TellHistoryNotices(QWidget* parent);

#include "learnlesson.h"

#include "board/boardview.h"
#include "rules/outcome.h"
#include "shell/attempts.h"

#include <QElapsedTimer>

namespace learn {

TurningPoint SettledLesson(const Problem& p, const LearnState& s) {
    if (!s.settled() || s.v0 < 0 || s.pos.result < 0) return {};
    if (ResultValue(s.pos.result) >= ResultValue(s.v0)) return {};
    return FindTurningPoint(p, s.pos.gNowLoc);
}

QString SettledVerdict(const Problem& p, const LearnState& s) {
    QString text = JudgeResult(s.v0, s.pos.result);
    const TurningPoint tp = SettledLesson(p, s);
    if (tp.found) text += TurningPointText(tp.moveNumber);
    return text;
}

bool LearnStepBackTo(const Problem& p, LearnState& s, int index) {
    if (index < 0 || index >= s.historyDepth()) return false;
    const int16_t node = s.history[static_cast<size_t>(index)];
    s.history.resize(static_cast<size_t>(index));
    s.pos = SetUpNode(p, node);
    s.timerAction = kTimerIdle;
    return true;
}

namespace {
QElapsedTimer gAttemptClock;
}

void StartAttemptClock() {
    gAttemptClock.start();
}

void RecordSettledLine(const Problem& p, const LearnState& s, int course, int probNo,
                       QWidget* parent) {
    if (!s.settled() || s.v0 < 0 || s.pos.result < 0 || s.pos.path.empty()) return;
    const int16_t first = s.pos.path.front();
    const int seconds =
        gAttemptClock.isValid() ? static_cast<int>(gAttemptClock.elapsed() / 1000) : 0;
    RecordAndTell(CurrentAttempt(AttemptMode::Learn, course, probNo, p.x[size_t(first)],
                                 p.y[size_t(first)], s.pos.result, s.v0,
                                 IsCorrectAnswer(s.pos.result, s.v0), seconds),
                  parent);
}

void DrawLesson(BoardView& board, const TurningPoint& tp) {
    if (!tp.found) return;
    board.DrawColouredMark(tp.x, tp.y, 1, kWrongMoveColour);
    for (const ChildInfo& c : tp.best)
        board.DrawColouredMark(c.x, c.y, 0, kRightMoveColour);
}

} // namespace learn

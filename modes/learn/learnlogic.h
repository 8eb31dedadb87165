// The learn window's play state and its caption rules, kept free of widgets
// so that they can be exercised on their own.
#pragma once

#include "library/session.h"
#include "rules/rules.h"

#include <QString>
#include <vector>

namespace learn {

// What the next tick of the learn window's timer does.
enum LearnTimerAction : int16_t {
    kTimerIdle = 0,     // nothing
    kTimerReply = 1,    // the system's reply is due
    kTimerStepBack = 2, // a step back is due
};

struct LearnState {
    CurrentPosition pos;          // the current node and everything derived from it
    std::vector<int16_t> history; // nodes left by each move played; grows as needed
    int16_t v0 = -1;              // the problem's best result, taken at the root
    int16_t timerAction = kTimerIdle;

    int historyDepth() const { return static_cast<int>(history.size()); }
    bool settled() const { return pos.children.empty(); }
};

// Back to the root: empty history, the root's position, V0 = its result.
// The timer action is left as it is.
void LearnReset(const Problem& p, LearnState& s);
// Moves to child i of the current node and returns the result of the node
// left. False (nothing changed) when i is not a child index.
bool LearnAdvance(const Problem& p, LearnState& s, int i, int16_t* oldResult = nullptr);
// Undoes the last move of the history; when Black is then to move the timer
// action becomes idle. False when the history is empty.
bool LearnRetreat(const Problem& p, LearnState& s);
// Whether a move that went from result `before` to `after` changed the value.
bool IsBadMove(int before, int after);

// Hint marks for the children: 0 circle (exactly the node's result), 1 cross.
std::vector<int> CandidateKinds(const std::vector<ChildInfo>& children, int nodeResult);

// Captions.
QString ProblemCaption(int probNo);        // "#1" for problem 0
QString TaskCaption(int v0);               // "黒先白死"; only "黒先" without a result
QString MoveNumberCaption(int moveNumber); // the move to play next: "１手" at 0
QString SideCaption(int moveNumber);       // "黒番" / "白番"
// The comment while playing: the problem's comment, else the statement that
// asks to play until the position settles.
QString PlayingComment(const QString& comment, int purpose);

struct BackButtonLook {
    QString prevPicture;
    QString rewPicture;
    bool enabled;
};
BackButtonLook BackButtons(int historyDepth);

} // namespace learn

#include "learnlogic.h"

#include "library/courses.h"
#include "library/player.h"
#include "rules/outcome.h"

namespace learn {

void LearnReset(const Problem& p, LearnState& s) {
    s.history.clear();
    s.pos = SetUpNode(p, kRoot);
    s.v0 = s.pos.result;
}

bool LearnAdvance(const Problem& p, LearnState& s, int i, int16_t* oldResult) {
    if (i < 0 || i >= static_cast<int>(s.pos.children.size())) return false;
    const int16_t next = s.pos.children[static_cast<size_t>(i)].node;
    s.history.push_back(s.pos.gNowLoc);
    if (oldResult) *oldResult = s.pos.result;
    s.pos = SetUpNode(p, next);
    return true;
}

bool LearnRetreat(const Problem& p, LearnState& s) {
    if (s.history.empty()) return false;
    const int16_t back = s.history.back();
    s.history.pop_back();
    s.pos = SetUpNode(p, back);
    if (s.pos.side == kBlack) s.timerAction = kTimerIdle;
    return true;
}

bool IsBadMove(int before, int after) {
    // A position without a result (a tree without moves) has no value to lose.
    if (before < 0 || after < 0) return false;
    return ResultValue(before) != ResultValue(after);
}

std::vector<int> CandidateKinds(const std::vector<ChildInfo>& children, int nodeResult) {
    std::vector<int> kinds;
    kinds.reserve(children.size());
    for (const ChildInfo& c : children)
        kinds.push_back(c.result == nodeResult ? 0 : 1);
    return kinds;
}

QString ProblemCaption(int probNo) {
    return QStringLiteral("#") + QString::number(probNo + 1);
}

QString TaskCaption(int v0) {
    if (v0 < 0) return QStringLiteral("黒先");
    return QStringLiteral("黒先") + OutcomeText(0, v0);
}

QString MoveNumberCaption(int moveNumber) {
    return ToWideDigits(QString::number(moveNumber + 1)) + QStringLiteral("手");
}

QString SideCaption(int moveNumber) {
    return (moveNumber % 2 != 0) ? QStringLiteral("白番") : QStringLiteral("黒番");
}

QString PlayingComment(const QString& comment, int purpose) {
    if (!comment.isEmpty()) return comment;
    return ProblemStatement(purpose, 2);
}

BackButtonLook BackButtons(int historyDepth) {
    if (historyDepth != 0)
        return {QStringLiteral("1Prev000.bmp"), QStringLiteral("ToRoo000.bmp"), true};
    return {QStringLiteral("1Prev002.bmp"), QStringLiteral("ToRoo002.bmp"), false};
}

} // namespace learn

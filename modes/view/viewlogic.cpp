#include "viewlogic.h"

#include "library/player.h"
#include "rules/outcome.h"
#include "rules/rules.h"

#include <algorithm>
#include <climits>

namespace {

// The comparison value of a result; results without an outcome row (no
// result at all) compare equal only to each other.
int ComparableValue(int r) {
    return OutcomeRow(r) < 0 ? INT_MIN : ResultValue(r);
}

bool OnBoard(int x, int y) {
    return x >= 0 && x < kBoardSize && y >= 0 && y < kBoardSize;
}

} // namespace

SequenceList ListSequences(const Problem& p) {
    SequenceList list;
    NodeList all = ListReplNodes(p);
    if (all.size() > size_t(kMaxSequences)) all.resize(kMaxSequences);
    list.ReplNodes = all;
    for (auto& label : list.GradeLabel)
        label = QStringLiteral("　　");
    if (all.empty()) return list;

    std::vector<int16_t> results;
    for (int16_t node : all)
        results.push_back(NodeResult(p, node));
    list.GradeLabel = MakeGradeLabels(results);
    for (size_t i = 0; i < all.size(); ++i)
        list.captions.push_back(list.GradeLabel[i] + QStringLiteral(" - ") +
                                OutcomeText(0, results[i]));
    return list;
}

PlayButtons IdleButtons(int nowNth, int keiros) {
    PlayButtons b;
    b.rew = b.prev = nowNth > 0;
    b.playStop = b.que = b.next = nowNth < keiros;
    b.stop = false;
    return b;
}

PlayButtons PlayingButtons() {
    PlayButtons b;
    b.stop = true;
    return b;
}

PlayButtons NoButtons() {
    return PlayButtons{};
}

QString MoveNumberText(int nowNth) {
    return ToWideDigits(QString::number(nowNth + 1)) + QStringLiteral("手");
}

QString TebanText(int nowNth) {
    return nowNth % 2 != 0 ? QStringLiteral("白番") : QStringLiteral("黒番");
}

QString NowKekkaText(int result) {
    return QStringLiteral("「") + OutcomeText(0, result) + QStringLiteral("」になりました");
}

void ReplayState::LoadSequences() {
    ExamineOn = false;
    sequences = ListSequences(p_);
    SelectSequence(0);
}

void ReplayState::SelectSequence(int index) {
    if (ReplCount() == 0) {
        ReplIndex = 0;
        SeqNodes.clear();
    } else {
        ReplIndex = std::clamp(index, 0, ReplCount() - 1);
        SeqNodes = GetPath(p_, sequences.ReplNodes[size_t(ReplIndex)]);
    }
    gKeiros = int(SeqNodes.size());

    gNowLoc = kRoot;
    CopyBoard(board, p_.gInitBoard);
    side = kBlack;
    RootResult = NowResult = NodeResult(p_, kRoot);
    gNowNth = 0;
    captureLog.clear();
}

StepResult ReplayState::StepForward() {
    StepResult r;
    if (gNowNth >= gKeiros) return r;
    r.moved = true;

    const int16_t old = NowResult;
    gNowLoc = SeqNodes[size_t(gNowNth)];
    NowResult = NodeResult(p_, gNowLoc);
    ++gNowNth;
    r.reachedEnd = gNowNth >= gKeiros;

    const int x = p_.x[size_t(gNowLoc)];
    const int y = p_.y[size_t(gNowLoc)];
    PointList captures;
    if (OnBoard(x, y) && ApplyMove(side, x, y, board, &captures)) {
        for (int16_t point : captures)
            captureLog.push_back({point, gNowLoc});
    }
    side = OppositeColor(side);
    r.valueChanged = ComparableValue(old) != ComparableValue(NowResult);
    return r;
}

bool ReplayState::StepBackward() {
    if (gNowNth == 0) return false;

    // The stones this move took go back in the colour of the side now to
    // move, the side that did not make the move.
    while (!captureLog.empty() && captureLog.back().HamaLoc == gNowLoc) {
        const int point = captureLog.back().HamaXY;
        if (point >= 0 && point < kPoints) board[size_t(point)] = side;
        captureLog.pop_back();
    }
    const int x = p_.x[size_t(gNowLoc)];
    const int y = p_.y[size_t(gNowLoc)];
    if (OnBoard(x, y)) board[size_t(x + kBoardSize * y)] = kEmpty;

    --gNowNth;
    gNowLoc = gNowNth == 0 ? kRoot : SeqNodes[size_t(gNowNth - 1)];
    NowResult = NodeResult(p_, gNowLoc);
    side = OppositeColor(side);
    return true;
}

void ReplayState::StartExamine() {
    if (ExamineOn) return;
    saved_ = p_;
    SavedLoc = gNowLoc;
    ::StartExamine(p_, board, int16_t(gNowNth), gNowLoc);
    const CurrentPosition pos = SetUpNode(p_, gNowLoc);
    board = pos.board;
    gNowNth = pos.gNowNth;
    side = pos.side;
    ExamineOn = true;
}

ExamMoveResult ReplayState::ExamineMove(int x, int y) {
    if (!ExamineOn || !OnBoard(x, y)) return ExamMoveResult::Illegal;
    PointList captures;
    if (!CheckMove(side, x, y, board, captures)) return ExamMoveResult::Illegal;
    if (!AddExamMove(p_, x, y, gNowLoc)) return ExamMoveResult::Full;
    const CurrentPosition pos = SetUpNode(p_, gNowLoc);
    board = pos.board;
    gNowNth = pos.gNowNth;
    side = pos.side;
    return ExamMoveResult::Played;
}

bool ReplayState::ExamineTakeBack() {
    if (!ExamineOn || !TakeBackExamMove(p_, gNowLoc)) return false;
    const CurrentPosition pos = SetUpNode(p_, gNowLoc);
    board = pos.board;
    gNowNth = pos.gNowNth;
    side = pos.side;
    return true;
}

void ReplayState::EndExamine() {
    if (!ExamineOn) return;
    // The saved copy holds the tree, the start position and the results
    // computed when the problem was shown.
    p_ = saved_;
    gNowLoc = SavedLoc;
    const CurrentPosition pos = SetUpNode(p_, gNowLoc);
    board = pos.board;
    gNowNth = pos.gNowNth;
    side = pos.side;
    NowResult = NodeResult(p_, gNowLoc);
    ExamineOn = false;
}

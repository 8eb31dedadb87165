#include "outcome.h"

#include "rules.h"

namespace {
const OutcomeRowInfo kRows[kOutcomeRows] = {
    {200, 4, "長生（黒成功）", "『長生』になりました。", "最善は『長生』ですが、"},
    {200, 5, "白死", "『白死』になりました。", "最善は『白死』ですが、"},
    {199, 6, "白死(曲り４目)", "曲り４目で『白死』になりました。",
     "最善は曲り４目で『白死』ですが、"},
    {199, 7, "白死(両コウ)", "両コウで『白死』になりました。", "最善は両コウで『白死』ですが、"},
    {199, 9, "黒生き(両コウ)", "両コウで『黒生き』になりました。",
     "最善は両コウで『黒生き』ですが、"},
    {200, 10, "黒生き", "『黒生き』になりました。", "最善は『黒生き』ですが、"},
    {200, 11, "セキ(黒生き)", "セキで『黒生き』になりました。", "最善はセキで『黒生き』ですが、"},
    {210, 12, "黒成功", "『黒成功』になりました。", "最善は『黒成功』ですが、"},
    {210, 13, "黒勝ち", "『黒勝ち』になりました。", "最善は『黒勝ち』ですが、"},
    {195, 14, "万年コウ(生き問題)", "『万年コウ』になりました。", "最善は『万年コウ』ですが、"},
    {190, 15, "２手ヨセコウ(黒有利)", "『黒有利な２手ヨセコウ』になりました。",
     "最善は『黒有利な２手ヨセコウ』ですが、"},
    {180, 20, "１手ヨセコウ(黒有利)", "『黒有利な１手ヨセコウ』になりました。",
     "最善は『黒有利な１手ヨセコウ』ですが、"},
    {180, 25, "２段コウ(黒有利)", "『黒有利な２段コウ』になりました。",
     "最善は『黒有利な２段コウ』ですが、"},
    {170, 30, "本コウ(黒取り番)", "『黒取り番の本コウ』になりました。",
     "最善は『黒取り番の本コウ』ですが、"},
    {160, 35, "本コウ(白取り番)", "『白取り番の本コウ』になりました。",
     "最善は『白取り番の本コウ』ですが、"},
    {150, 40, "２段コウ(白有利)", "『白有利な２段コウ』になりました。",
     "最善は『白有利な２段コウ』ですが、"},
    {150, 45, "１手ヨセコウ(白有利)", "『白有利な１手ヨセコウ』になりました。",
     "最善は『白有利な１手ヨセコウ』ですが、"},
    {140, 50, "２手ヨセコウ(白有利)", "『白有利な２手ヨセコウ』になりました。",
     "最善は『白有利な２手ヨセコウ』ですが、"},
    {135, 51, "万年コウ(殺し問題)", "『万年コウ』になりました。", "最善は『万年コウ』ですが、"},
    {131, 53, "セキ(白生き)", "セキで『白生き』になりました。", "最善はセキで『白生き』ですが、"},
    {131, 54, "白生き(両コウ)", "両コウで『白生き』になりました。",
     "最善は両コウで『白生き』ですが、"},
    {130, 55, "白生き", "『白生き』になりました。", "最善は『白生き』ですが、"},
    {130, 56, "黒負け", "『黒負け』になりました。", "最善は『黒負け』ですが、"},
    {130, 57, "黒失敗", "『黒失敗』になりました。", "最善は『黒失敗』ですが、"},
    {130, 58, "黒損", "『黒損』になりました。", "最善は『黒損』ですが、"},
    {131, 59, "黒死(曲り４目)", "曲り４目で『黒死』になりました。",
     "最善は曲り４目で『黒死』ですが、"},
    {130, 60, "黒死", "『黒死』になりました。", "最善は『黒死』ですが、"},
    {131, 61, "黒死(両コウ)", "両コウで『黒死』になりました。", "最善は両コウで『黒死』ですが、"},
    {130, 62, "長生(黒失敗)", "『長生』になりました(黒失敗です)。",
     "最善は『長生(黒失敗です)』ですが、"},
};
} // namespace

std::array<OutcomeRowInfo, kOutcomeRows> OutcomeTable;
GradeLabelSet GradeLabels;

void InitOutcomeTable() {
    for (int i = 0; i < kOutcomeRows; ++i)
        OutcomeTable[i] = kRows[i];
    GradeLabels.single = QStringLiteral("正解　");
    GradeLabels.numbered = {QStringLiteral("正解１"), QStringLiteral("正解２"),
                            QStringLiteral("正解３"), QStringLiteral("正解４")};
    GradeLabels.failSingle = QStringLiteral("失敗　");
    GradeLabels.failNumbered = {QStringLiteral("失敗１"), QStringLiteral("失敗２"),
                                QStringLiteral("失敗３"), QStringLiteral("失敗４")};
    GradeLabels.blank = QStringLiteral("　　");
}

namespace {
// The table is a constant: make it usable even before InitOutcomeTable.
void EnsureTable() {
    if (OutcomeTable[1].klass != 5) InitOutcomeTable();
}
} // namespace

int OutcomeRow(int r) {
    if (r < 0) return -1;
    EnsureTable();
    for (int i = 0; i < kOutcomeRows; ++i) {
        if (OutcomeTable[i].klass == r / 10) return i;
    }
    return -1;
}

QString OutcomeText(int kind, int r) {
    const int row = OutcomeRow(r);
    if (row < 0) return QStringLiteral("？？？");
    switch (kind) {
    case 0:
        return OutcomeTable[row].name;
    case 1:
        return OutcomeTable[row].became;
    case 2:
        return OutcomeTable[row].bestWas;
    default:
        return QString();
    }
}

int16_t ResultValue(int r) {
    const int row = OutcomeRow(r);
    // Results without a row compare below every real outcome.
    if (row < 0) return static_cast<int16_t>(-1);
    return static_cast<int16_t>(OutcomeTable[row].value * 10 + r % 10);
}

int16_t NodeResult(const Problem& p, int node) {
    if (node == kRoot) return p.kekkaCalc[0];
    if (node < 0 || node >= kMaxNodes) return -1;
    return p.kekkaCalc[node + 1];
}

int16_t ChooseBest(int side, const std::vector<int16_t>& results) {
    if (results.empty()) return -1;
    int16_t choice = results[0];
    for (size_t i = 1; i < results.size(); ++i) {
        const int16_t v = ResultValue(results[i]);
        const int16_t c = ResultValue(choice);
        if (side == kBlack ? v > c : v < c) choice = results[i];
    }
    return choice;
}

namespace {

// Children lists of every node, built once per evaluation (the tree is
// parent-linked; a scan per node would be quadratic).
struct ChildIndex {
    std::vector<std::vector<int16_t>> of; // index: node + 1 (0 = root)
    explicit ChildIndex(const Problem& p) : of(kResultSlots) {
        for (int m = 0; m < p.hands; ++m) {
            const int parent = p.prev[m];
            const int slot = parent == kRoot ? 0 : parent + 1;
            if (slot >= 0 && slot < kResultSlots) of[slot].push_back(static_cast<int16_t>(m));
        }
    }
};

int16_t CalcNodeResult(Problem& p, const ChildIndex& idx, int side, int node) {
    const int slot = node == kRoot ? 0 : node + 1;
    if (p.kekkaCalc[slot] >= 0) return p.kekkaCalc[slot];
    const auto& children = idx.of[slot];
    int16_t result = -1;
    if (!children.empty()) {
        std::vector<int16_t> results;
        results.reserve(children.size());
        for (const int16_t c : children) {
            results.push_back(CalcNodeResult(p, idx, OppositeColor(side), c));
        }
        result = ChooseBest(side, results);
    } else if (node != kRoot) {
        result = static_cast<int16_t>(p.code[node] * 10 + p.best[node]);
    }
    p.kekkaCalc[slot] = result;
    return result;
}

} // namespace

int16_t CalcAllResults(Problem& p) {
    p.kekkaCalc.fill(-1);
    const ChildIndex idx(p);
    // Deepest nodes first keeps the recursion shallow: every node's children
    // have higher numbers in our data, but do not rely on it.
    for (int node = p.hands - 1; node >= 0; --node) {
        CalcNodeResult(p, idx, SideToMove(p, node), node);
    }
    return CalcNodeResult(p, idx, SideToMove(p, kRoot), kRoot);
}

NodeList ListReplNodes(const Problem& p) {
    NodeList list;
    for (int n = 0; n < p.hands; ++n) {
        if (p.repl[n] != 0) list.push_back(static_cast<int16_t>(n));
    }
    const int count = static_cast<int>(list.size());
    for (int a = 0; a <= count - 2; ++a) {
        for (int k = 0; k <= count - a - 2; ++k) {
            if (ResultValue(p.kekkaCalc[list[k] + 1]) < ResultValue(p.kekkaCalc[list[k + 1] + 1])) {
                std::swap(list[k], list[k + 1]);
            }
        }
    }
    return list;
}

bool IsCorrectAnswer(int answeredResult, int probResult) {
    if (answeredResult < 0 || probResult < 0) return false;
    return ResultValue(answeredResult) == ResultValue(probResult);
}

std::array<QString, 5> MakeGradeLabels(const std::vector<int16_t>& candidates) {
    EnsureTable();
    std::array<QString, 5> labels;
    labels.fill(GradeLabels.blank);
    const int count = static_cast<int>(candidates.size());
    if (count == 0) return labels;
    const int16_t reference = ResultValue(candidates[0]);
    int correct = 0;
    int failure = 0;
    for (const int16_t c : candidates) {
        if (ResultValue(c) == reference)
            ++correct;
        else
            ++failure;
    }
    if (correct == 1) {
        labels[0] = GradeLabels.single;
    } else {
        for (int i = 0; i < correct && i < 4; ++i)
            labels[i] = GradeLabels.numbered[i];
    }
    if (failure == 1) {
        if (correct < 5) labels[correct] = GradeLabels.failSingle;
    } else {
        for (int i = 0; i < failure && correct + i < 5; ++i) {
            labels[correct + i] = GradeLabels.failNumbered[std::min(i, 3)];
        }
    }
    return labels;
}

QString JudgeResult(int v0, int v) {
    if (v0 == 120) {
        return v == 120 ? QStringLiteral("黒成功です。") : QStringLiteral("黒失敗です。");
    }
    const int a = ResultValue(v0);
    const int b = ResultValue(v);
    if (a == b) return QStringLiteral("正解です。") + OutcomeText(1, v);
    if (a / 10 == b / 10)
        return QStringLiteral("準正解です（正解より多少損)。") + OutcomeText(1, v);
    return QStringLiteral("失敗です。") + OutcomeText(2, v0) + OutcomeText(1, v);
}

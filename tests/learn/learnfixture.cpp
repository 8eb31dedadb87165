#include "learnfixture.h"

#include "library/courses.h"
#include "library/files.h"
#include "library/player.h"
#include "library/session.h"
#include "rules/outcome.h"
#include "tests/common/problemset.h"

#include <QApplication>
#include <QWidget>

Problem MakeProblem(int purpose, int difficulty, std::initializer_list<TestNode> nodes,
                    int viewSize) {
    // A few stones away from every move of the trees below.
    TreeBuilder tree(viewSize);
    tree.purpose(purpose)
        .difficulty(difficulty)
        .black({{0, 8}, {1, 8}, {2, 8}, {3, 8}})
        .white({{0, 7}, {1, 7}, {2, 7}});
    for (const TestNode& n : nodes)
        tree.node(n.prev, n.x, n.y, n.code, n.best);
    return tree.problem();
}

// Root: (2,2) right, (1,1) wrong. After (2,2) White answers (3,3) first; then
// (4,4) kills (50) and (5,5) lets White live (550).
Problem KillProblem(int difficulty) {
    return MakeProblem(2, difficulty,
                       {{kRoot, 2, 2},
                        {0, 3, 3},
                        {1, 4, 4, 5, 0},
                        {1, 5, 5, 55, 0},
                        {0, 6, 6},
                        {4, 7, 7, 5, 0},
                        {kRoot, 1, 1},
                        {6, 2, 3, 55, 0}});
}

// After (2,2) White's first reply (3,3) is worth 51 (White's best is 50);
// Black then finishes with (5,5).
Problem NearProblem() {
    return MakeProblem(2, 20, {{kRoot, 2, 2}, {0, 3, 3}, {0, 4, 4, 5, 0}, {1, 5, 5, 5, 1}});
}

// (2,2) reaches 黒成功 (120), (1,1) 黒失敗 (570).
Problem SuccessProblem() {
    return MakeProblem(3, 30, {{kRoot, 2, 2}, {0, 3, 3, 12, 0}, {kRoot, 1, 1}, {2, 4, 4, 57, 0}});
}

// Aim 0: (2,2) reaches 黒成功, (1,1) only part of the goal (黒損), (5,5)
// nothing (黒失敗); White answers each.
Problem OneMoveProblem() {
    return MakeProblem(0, 10,
                       {{kRoot, 2, 2},
                        {0, 3, 3, 12, 0},
                        {kRoot, 1, 1},
                        {2, 4, 4, 58, 0},
                        {kRoot, 5, 5},
                        {4, 6, 6, 57, 0}});
}

Problem EmptyTreeProblem() {
    return MakeProblem(1, 10, {});
}

std::vector<Problem> Repeat(const Problem& p, int count) {
    return std::vector<Problem>(static_cast<size_t>(count), p);
}

std::vector<Problem> StandardAbc() {
    std::vector<Problem> v{KillProblem(), NearProblem(), SuccessProblem(), EmptyTreeProblem()};
    const int levels[3] = {10, 20, 30};
    for (int i = 4; i < 25; ++i)
        v.push_back(KillProblem(levels[i % 3]));
    return v;
}

void LearnPlatform::playSound(const QString& path, bool toEnd) {
    sounds << QStringLiteral("%1:%2").arg(path.section(QLatin1Char('/'), -1)).arg(toEnd ? 1 : 0);
    if (onSound) onSound();
}

void LearnPlatform::showMessage(const QString& text) {
    messages << text;
    if (onMessage) onMessage();
}

LearnTestData::LearnTestData(const std::vector<Problem>& abc, const std::vector<Problem>& s1,
                             const std::vector<Problem>& s2) {
    WriteSetFiles(dir_.path(), QStringLiteral("abc"), abc);
    WriteSetFiles(dir_.path(), QStringLiteral("s1"), s1);
    WriteSetFiles(dir_.path(), QStringLiteral("s2"), s2);
    WriteBoardPictures(dir_.path());
    WriteSoundStubs(dir_.path(), {"stone"});
    gDataPath = MakeDataPath(dir_.path());
    InitCourses();
    InitOutcomeTable();
    SetCommentLists({});
    gCurPlayer = 0;
    gPlayerRecord = PlayerRecord{};
    gMode = 2;
    gCourse = 0;
    gProbNo = 0;
    gQuestionNo = 0;
    gReviewCount = 0;
    ClearAnswerSheet();
    SetPlatform(&platform);
    for (Role r : {Role::Picker, Role::Learn, Role::View, Role::Review}) {
        RegisterWindow(r, [this, r]() -> QWidget* {
            opened.push_back(r);
            auto* stub = new QWidget;
            stub->setObjectName(QStringLiteral("stub"));
            return stub;
        });
    }
    SetMenuRefresh([this] { ++menuRefreshes; });
}

LearnTestData::~LearnTestData() {
    for (Role r : {Role::Picker, Role::Learn, Role::View, Role::Review})
        RegisterWindow(r, nullptr);
    SetMenuRefresh(nullptr);
    SetPlatform(nullptr);
    // Stub windows opened by the router close with the test.
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QStringLiteral("stub")) delete w;
}

// Takes the pictures of the view and review windows in use, from a copy of
// a program folder: view_screens PROGRAM_FOLDER OUTPUT_FOLDER.
// Not a test: run it under a virtual X server to refresh
// docs/screenshots/view.png and review.png.
#include "library/courses.h"
#include "library/files.h"
#include "library/player.h"
#include "library/session.h"
#include "modes/review/frmhukusyu.h"
#include "modes/view/frmview.h"
#include "platform/recordingplatform.h"
#include "rules/outcome.h"
#include "shell/appinit.h"
#include "shell/router.h"
#include "tests/common/problemset.h"
#include "tests/common/screenshots.h"

#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <cstdio>

namespace {

using screenshots::Fail;
using screenshots::Pump;

// Straight three on the top edge: Black kills by the placement in the middle.
Problem StraightThree(std::initializer_list<std::pair<int, int>> extraBlack) {
    TreeBuilder t(13);
    t.white({{0, 1}, {1, 1}, {2, 1}, {3, 1}, {3, 0}});
    t.black({{0, 2}, {1, 2}, {2, 2}, {3, 2}, {4, 2}, {4, 1}, {4, 0}});
    t.black(extraBlack);
    const int vital = t.node(kRoot, 1, 0);
    t.line(vital, {{2, 0}, {0, 0}}, 5);
    t.line(vital, {{0, 0}, {2, 0}}, 5, 0);
    t.line(kRoot, {{2, 0}, {1, 0}}, 55);
    t.line(kRoot, {{0, 0}, {1, 0}}, 55, 0);
    return t.problem();
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    screenshots::Setup setup;
    if (!screenshots::Start(app, argc, argv, "view_screens", setup,
                            {"vm2.ply", "vm2.ps0", "abc.dr", "abc.dt"}))
        return 1;
    const QString& out = setup.out;
    QTemporaryDir& copy = setup.copy;
    if (!WriteProblemSet(copy.path(), {StraightThree({}), StraightThree({{9, 9}}),
                                       StraightThree({{8, 3}, {9, 9}})}))
        return Fail("cannot write the problems");
    InitOutcomeTable();

    gPlayerCount = 1;
    gPlayerName[0] = QStringLiteral("山田");
    gCurPlayer = 0;
    if (!CreatePlayerFile(0)) {
        // No template in this folder: a player with the default settings.
        gPlayerRecord = PlayerRecord{};
        if (!SavePlayerFile(0)) return Fail("cannot write the player file");
    }
    if (!LoadPlayerFile(0)) return Fail("cannot read the player file");

    RecordingPlatform platform;
    SetPlatform(&platform);
    SetMenuRefresh([] {});

    // The view: the correct line played to its end, the stones taken.
    gMode = 3;
    gCourse = 0;
    gProbNo = 0;
    {
        auto* view = new frmView;
        view->show();
        Pump();
        view->cmdQue->click();
        for (int i = 0; i < 20 && view->TimerAction() != frmView::Idle; ++i)
            view->Timer1Tick();
        Pump();
        if (!view->grab().save(out + "/view.png")) return Fail("cannot write view.png");
        delete view;
    }

    // The review of a trial quit after its seventh question.
    gMode = 1;
    ClearAnswerSheet();
    const int16_t points[] = {187, 0, 142, 165, 0, 120, 0};
    const int16_t answerX[] = {1, 2, 1, 1, 0, 1, -1};
    for (int i = 0; i < 7; ++i) {
        AnswerEntry& e = gAnswerSheet[static_cast<size_t>(i)];
        e.ProbNo = static_cast<int16_t>(i % 3);
        Problem problem;
        LoadProblem(0, e.ProbNo, problem);
        e.StartBoard = problem.gInitBoard;
        e.BoardLines = problem.ViewSize;
        e.Points = points[i];
        e.AnswerX = answerX[i];
        e.AnswerY = answerX[i] < 0 ? -1 : 0;
    }
    gQuestionNo = 6;
    gReviewCount = 0;
    {
        auto* review = new frmHukusyu;
        review->show();
        review->optQuestion[1]->click();
        Pump();
        if (!review->grab().save(out + "/review.png")) return Fail("cannot write review.png");
        delete review;
    }
    return 0;
}

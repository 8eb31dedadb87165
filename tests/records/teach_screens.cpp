// Takes the pictures of what the trainer shows after a failure and of the
// history: teach_screens PROGRAM_FOLDER OUTPUT_FOLDER. Not a test: run it
// offscreen (or under a virtual X server) to refresh docs/screenshots/
// learn-lesson.png, trial-right.png, review-right.png, picker-marks.png and
// progress*.png.
#include "history/history.h"
#include "library/courses.h"
#include "library/player.h"
#include "library/session.h"
#include "modes/learn/frmlearn.h"
#include "modes/review/frmhukusyu.h"
#include "modes/trial/frmTrial.h"
#include "platform/recordingplatform.h"
#include "records/progress/frmProgress.h"
#include "rules/outcome.h"
#include "selection/picker/frmselqrep.h"
#include "shell/router.h"
#include "tests/common/screenshots.h"

#include <QTabWidget>
#include <QTimer>

namespace {

using screenshots::Fail;
using screenshots::Pump;

// Plays Black's best moves, except the `wrongAt`-th Black move which takes
// the worst child; true when the line settled below the best result.
bool PlayWithMistake(frmLearn* w, int wrongAt) {
    int blackMoves = 0;
    for (int step = 0; step < 60 && !w->state().settled(); ++step) {
        const learn::LearnState& s = w->state();
        size_t pick = 0;
        for (size_t i = 0; i < s.pos.children.size(); ++i) {
            const int v = ResultValue(s.pos.children[i].result);
            const int best = ResultValue(s.pos.children[pick].result);
            if (blackMoves == wrongAt ? v < best : v > best) pick = i;
        }
        ++blackMoves;
        const ChildInfo c = s.pos.children[pick];
        w->picBoard_MouseDown(c.x, c.y, 1);
        w->Timer1_Timer();
    }
    return ResultValue(w->state().pos.result) < ResultValue(w->state().v0);
}

// Attempts of the last five weeks, for the picker marks and the charts.
void WriteHistory() {
    const QDate today = QDate::currentDate();
    const int best[] = {50, 50, 100, 50, 110, 50};
    const int wrong[] = {300, 550, 550, 350, 100, -1};
    unsigned seed = 7;
    auto next = [&seed] {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 16) & 0x7fff;
    };
    for (int day = 35; day >= 1; --day) {
        if (day % 3 == 1) continue;
        for (int k = 0; k < 10; ++k) {
            Attempt a;
            a.player = 0;
            a.time = QDateTime(today.addDays(-day), QTime(19, k));
            a.mode = k < 7 ? AttemptMode::Trial : AttemptMode::Learn;
            a.course = k % 4 == 3 ? 4 : 0;
            a.dataSet = gCourses[size_t(a.course)].BaseName;
            a.problem = int(next() % 40);
            a.level = 10 * (1 + int(next() % 3));
            const int kind = int(next() % 6);
            a.best = best[kind];
            // Better with practice: the chance of a right answer grows.
            a.correct = int(next() % 100) < 40 + (35 - day) + (30 - a.level);
            a.reached = a.correct ? a.best : wrong[kind];
            a.seconds = 10 + int(next() % 40);
            RecordAttempt(a);
        }
    }
    // The first page of the main collection: some solved, some failed last.
    for (int p = 0; p < 12; ++p) {
        if (p % 3 == 2) continue;
        Attempt a;
        a.player = 0;
        a.time = QDateTime(today, QTime(8, p));
        a.mode = AttemptMode::Learn;
        a.dataSet = gCourses[0].BaseName;
        a.problem = p;
        a.best = 50;
        a.correct = p % 3 == 0;
        a.reached = a.correct ? 50 : 550;
        RecordAttempt(a);
    }
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    screenshots::Setup setup;
    if (!screenshots::Start(app, argc, argv, "teach_screens", setup,
                            {"vm2.ply", "vm2.ps0", "vm2hist.db"}))
        return 1;
    const QString& out = setup.out;
    QString error;
    if (!InitCourses(&error) || gCourses[0].ProbCount < 12) return Fail("no problem data");
    if (!screenshots::StartPlayer()) return Fail("no player template");
    gPlayerRecord.LastCourse = 0;
    gPlayerRecord.LastProb[0] = 0;
    SavePlayerFile(0);

    RecordingPlatform platform;
    SetPlatform(&platform);
    SetMenuRefresh([] {});
    for (Role r : {Role::Picker, Role::Review, Role::View, Role::HiScore, Role::Learn})
        RegisterWindow(r, [] { return new QWidget; });

    // Learn: a line that went wrong, with its marks and verdict.
    gMode = 2;
    gCourse = 0;
    bool shown = false;
    for (int p = 0; p < gCourses[0].ProbCount && !shown; ++p) {
        for (int wrongAt = 1; wrongAt >= 0 && !shown; --wrongAt) {
            gProbNo = int16_t(p);
            auto* learn = new frmLearn;
            learn->show();
            Pump();
            if (learn->problemLoaded() && PlayWithMistake(learn, wrongAt)) {
                Pump();
                if (!learn->grab().save(out + "/learn-lesson.png"))
                    return Fail("cannot write learn-lesson.png");
                shown = true;
            }
            learn->close();
            delete learn;
        }
    }
    if (!shown) return Fail("no problem with a black move to get wrong");

    // Trial: a wrong first move; the right ones are circled during the verdict.
    gMode = 1;
    gCourse = 0;
    ClearAnswerSheet();
    auto* trial = new frmTrial(uint64_t(11));
    trial->show();
    for (int i = 0; i < 12; ++i)
        trial->Timer1Tick();
    const CurrentPosition& root = trial->position();
    int wx = -1, wy = -1;
    for (const ChildInfo& c : root.children)
        if (ResultValue(c.result) < ResultValue(trial->problemResult())) {
            wx = c.x;
            wy = c.y;
            break;
        }
    if (wx < 0) return Fail("the first trial problem has no wrong first move");
    trial->picBoardMouseDown(wx, wy, 1);
    Pump();
    if (!trial->grab().save(out + "/trial-right.png")) return Fail("cannot write trial-right.png");

    // Review of that question: the player's × and the right ○.
    gQuestionNo = 10;
    auto* review = new frmHukusyu;
    review->show();
    Pump();
    if (!review->grab().save(out + "/review-right.png"))
        return Fail("cannot write review-right.png");
    review->close();
    trial->close();

    // The picker with this player's marks, and the progress window.
    if (QFile::exists(HistoryDatabasePath())) QFile::remove(HistoryDatabasePath());
    WriteHistory();
    gMode = 2;
    auto* picker = new frmSelQRep;
    picker->show();
    Pump();
    if (!picker->grab().save(out + "/picker-marks.png"))
        return Fail("cannot write picker-marks.png");
    picker->close();

    auto* progress = new frmProgress;
    progress->show();
    const char* names[] = {"progress.png", "progress-level.png", "progress-confusion.png"};
    for (int tab = 0; tab < 3; ++tab) {
        progress->tabPages->setCurrentIndex(tab);
        Pump();
        QTimer::singleShot(50, [] {});
        Pump();
        if (!progress->grab().save(out + "/" + names[tab])) return Fail("cannot write progress");
    }
    SetPlatform(nullptr);
    return 0;
}

// Takes the pictures of the trial and high-score windows in use, from a copy
// of a program folder: trial_screens PROGRAM_FOLDER OUTPUT_FOLDER.
// Not a test: run it under a virtual X server (or offscreen) to refresh
// docs/screenshots/trial.png and hiscore.png.
#include "library/courses.h"
#include "library/files.h"
#include "library/player.h"
#include "library/problem.h"
#include "library/session.h"
#include "modes/trial/frmTrial.h"
#include "modes/trial/trialcalc.h"
#include "platform/recordingplatform.h"
#include "records/hiscore/frmHiscore.h"
#include "rules/outcome.h"
#include "selection/course/frmSelQuestion.h"
#include "shell/appinit.h"
#include "shell/router.h"
#include "tests/common/screenshots.h"

#include <QApplication>
#include <QDir>
#include <QPointer>
#include <QTemporaryDir>
#include <cstdio>

namespace {

using screenshots::Fail;
using screenshots::Pump;

// A best or a wrong move of the question on screen.
bool Answer(frmTrial* t, bool correct) {
    for (const ChildInfo& c : t->position().children) {
        if (TrialAnswerIsCorrect(c.result, t->problemResult()) == correct) {
            t->picBoardMouseDown(c.x, c.y, 1);
            return true;
        }
    }
    return false;
}

// Straight three on the top edge: Black kills with the placement in the
// middle; either end lets White live.
Problem StraightThree(int level) {
    Problem p;
    const auto put = [&](int x, int y, int16_t colour) {
        p.gInitBoard[static_cast<size_t>(x + 19 * y)] = colour;
    };
    for (auto [x, y] : {std::pair{0, 1}, {1, 1}, {2, 1}, {3, 1}, {3, 0}})
        put(x, y, kWhite);
    for (auto [x, y] : {std::pair{0, 2}, {1, 2}, {2, 2}, {3, 2}, {4, 2}, {4, 1}, {4, 0}})
        put(x, y, kBlack);
    p.ViewSize = 9;
    p.Difficulty = static_cast<int16_t>(level);
    p.ProbPurpose = 2;
    const int moves[3][3] = {{1, 0, 5}, {0, 0, 55}, {2, 0, 55}};
    p.hands = 3;
    for (int i = 0; i < 3; ++i) {
        p.prev[static_cast<size_t>(i)] = kRoot;
        p.x[static_cast<size_t>(i)] = static_cast<uint8_t>(moves[i][0]);
        p.y[static_cast<size_t>(i)] = static_cast<uint8_t>(moves[i][1]);
        p.code[static_cast<size_t>(i)] = static_cast<uint8_t>(moves[i][2]);
    }
    return p;
}

// A small stand-in collection for a program folder that has no problems yet.
bool WriteDemoData(const QString& folder) {
    PlayerRecord psn;
    psn.ThinkTime = 60;
    for (const char* base : {"abc", "s1", "s2"}) {
        QByteArray dr, dt;
        for (int i = 0; i < 12; ++i) {
            const int level = std::array<int, 3>{30, 20, 10}[static_cast<size_t>(i % 3)];
            dt += EncodeProblem(StraightThree(level));
            const quint32 end = static_cast<quint32>(dt.size());
            for (int b = 0; b < 4; ++b)
                dr.append(static_cast<char>((end >> (8 * b)) & 0xFF));
            if (QLatin1String(base) == QLatin1String("abc"))
                psn.Stat[static_cast<size_t>(i)].Level = static_cast<uint8_t>(level);
        }
        const QString name = QLatin1String(base);
        if (!WriteFileAtomic(folder + name + ".dr", dr) ||
            !WriteFileAtomic(folder + name + ".dt", dt))
            return false;
    }
    return WriteFileAtomic(folder + "vm2.psn", PlayerRecordToBytes(psn)) &&
           WriteFileAtomic(folder + "s1.txt", QByteArray()) &&
           WriteFileAtomic(folder + "s2.txt", QByteArray());
}

void FinishQuestion(QPointer<frmTrial>& t) {
    for (int i = 0; i < 400 && t && t->mode() != frmTrial::Answering; ++i)
        t->Timer1Tick();
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    screenshots::Setup setup;
    if (!screenshots::Start(app, argc, argv, "trial_screens", setup,
                            {"vm2.ply", "vm2.ps0", "abc.hsc"}))
        return 1;
    const QString& out = setup.out;
    QString error;
    if (!InitCourses(&error) || gCourses[0].ProbCount < 3) {
        std::fprintf(stderr, "trial_screens: no problem data; using a stand-in collection\n");
        if (!WriteDemoData(gDataPath) || !InitCourses(&error)) return Fail("no problem data");
    }
    if (!screenshots::StartPlayer()) return Fail("no player template");
    gPlayerRecord.ThinkTime = 60;
    SavePlayerFile(0);

    // Quiet: no sounds or boxes while the pictures are taken.
    RecordingPlatform platform;
    SetPlatform(&platform);
    SetMenuRefresh([] {});
    RegisterWindow(Role::HiScore, [] { return new frmHiscore; });
    RegisterWindow(Role::Review, [] { return new QWidget; });
    SetHiscoreClock([] { return QDateTime(QDate(2026, 12, 7), QTime(10, 42, 18)); });

    gCourse = 0;
    gMode = 1;
    // The course list with a few answers behind the player.
    for (int p = 0; p < 3 && p < gCourses[0].ProbCount; ++p) {
        gPlayerRecord.Stat[static_cast<size_t>(p)].Asked = 1;
        gPlayerRecord.Stat[static_cast<size_t>(p)].Correct = p != 1;
    }
    SavePlayerFile(0);
    {
        auto* courses = new frmSelQuestion;
        courses->show();
        Pump();
        if (!courses->grab().save(out + "/courses.png")) return Fail("cannot write courses.png");
        delete courses;
    }

    QPointer<frmTrial> t = new frmTrial(20261207);
    t->show();
    Pump();
    // Two questions behind the player, the third just answered.
    t->Timer1Tick();
    Answer(t, true);
    FinishQuestion(t);
    for (int i = 0; i < 9; ++i)
        t->Timer1Tick();
    if (!Answer(t, false)) t->picBoardMouseDown(18, 18, 1);
    FinishQuestion(t);
    for (int i = 0; i < 17; ++i)
        t->Timer1Tick();
    if (!t || !Answer(t, true)) return Fail("no question to answer");
    Pump();
    if (!t->grab().save(out + "/trial.png")) return Fail("cannot write trial.png");

    // A ranking the player already has some entries in.
    const std::vector<ScoreEntry> earlier{
        {612, 4, QStringLiteral("佐藤"), QStringLiteral("2026/11/30"), QStringLiteral("19:12:40")},
        {398, 3, QStringLiteral("山田"), QStringLiteral("2026/12/01"), QStringLiteral("21:05:11")},
        {150, 1, QStringLiteral("鈴木"), QStringLiteral("2026/12/03"), QStringLiteral("07:58:02")}};
    WriteFileAtomic(DataFile(QStringLiteral("abc.hsc")), FormatRanking(earlier));
    FinishQuestion(t);
    if (t) t->Command1Click();
    Pump();
    frmHiscore* h = nullptr;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* hw = qobject_cast<frmHiscore*>(w)) h = hw;
    if (!h) return Fail("no high-score window");
    Pump();
    if (!h->grab().save(out + "/hiscore.png")) return Fail("cannot write hiscore.png");
    SetPlatform(nullptr);
    return 0;
}

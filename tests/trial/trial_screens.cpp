// Takes the pictures of the trial and high-score windows in use, from a copy
// of a program folder: trial_screens PROGRAM_FOLDER OUTPUT_FOLDER.
// Not a test: run it under a virtual X server (or offscreen) to refresh
// docs/screenshots/trial.png and hiscore.png.
#include "library/courses.h"
#include "library/files.h"
#include "library/player.h"
#include "library/session.h"
#include "modes/trial/frmTrial.h"
#include "modes/trial/trialcalc.h"
#include "records/hiscore/frmHiscore.h"
#include "rules/outcome.h"
#include "selection/course/frmSelQuestion.h"
#include "shell/appinit.h"
#include "shell/recordingplatform.h"
#include "shell/router.h"

#include <QApplication>
#include <QDir>
#include <QPointer>
#include <QTemporaryDir>
#include <cstdio>

namespace {

int Fail(const char* what) {
    std::fprintf(stderr, "trial_screens: %s\n", what);
    return 1;
}

void Pump() {
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
}

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

void FinishQuestion(QPointer<frmTrial>& t) {
    for (int i = 0; i < 400 && t && t->mode() != frmTrial::Answering; ++i)
        t->Timer1Tick();
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc < 3) return Fail("usage: trial_screens PROGRAM_FOLDER OUTPUT_FOLDER");
    const QString source = QString::fromLocal8Bit(argv[1]);
    const QString out = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(out);

    QTemporaryDir copy;
    for (const QFileInfo& f : QDir(source).entryInfoList(QDir::Files))
        QFile::copy(f.filePath(), copy.filePath(f.fileName()));
    for (const char* old : {"vm2.ply", "vm2.ps0", "abc.hsc"})
        QFile::remove(copy.filePath(old));
    InitApplication(app, copy.path());
    gDataPath = MakeDataPath(copy.path());
    QString error;
    if (!InitCourses(&error) || gCourses[0].ProbCount < 3) return Fail("no problem data");
    InitOutcomeTable();
    ReadCommentLists();

    gPlayerCount = 1;
    gPlayerName[0] = QStringLiteral("山田");
    gCurPlayer = 0;
    if (!CreatePlayerFile(0) || !LoadPlayerFile(0)) return Fail("no player template");
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

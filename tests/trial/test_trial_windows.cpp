// The trial window driven through its tick handler, the high-score window,
// the course selection, and one whole trial through the real windows.
#include "modes/trial/frmTrial.h"
#include "records/hiscore/frmHiscore.h"
#include "selection/course/frmSelQuestion.h"
#include "trialworld.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <cerrno>

namespace {

constexpr uint64_t kSeed = 7;

void Ticks(frmTrial* t, int n) {
    for (int i = 0; i < n; ++i)
        t->Timer1Tick();
}

// Runs the verdict and the transfer until the next question (or the end).
void FinishQuestion(QPointer<frmTrial>& t) {
    for (int i = 0; i < 400 && t && t->mode() != frmTrial::Answering; ++i)
        t->Timer1Tick();
}

void Settle() {
    QCoreApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QColor Background(QLabel* l) {
    return l->palette().color(QPalette::Window);
}

std::vector<int> Levels(int n, int level) {
    return std::vector<int>(static_cast<size_t>(n), level);
}

} // namespace

class TestTrialWindows : public QObject {
    Q_OBJECT
private slots:
    void correctAnswerScoresAndTransfers_data() {
        QTest::addColumn<int>("waited");
        QTest::addColumn<int>("move"); // 2: (2,2), 4: the other best child (4,4)
        QTest::addColumn<int>("points");
        QTest::newRow("193 after 15 s") << 15 << 2 << 193;
        QTest::newRow("171 after 59 s") << 59 << 2 << 171;
        QTest::newRow("the other best child") << 0 << 4 << 200;
    }
    void correctAnswerScoresAndTransfers() {
        QFETCH(int, waited);
        QFETCH(int, move);
        QFETCH(int, points);
        TrialWorld world(Levels(12, 30));
        gCourse = 1;
        QPointer<frmTrial> t = new frmTrial(kSeed);
        QCOMPARE(t->windowTitle(), QStringLiteral("Velmora２ - トライアル - Velmora(有段)"));
        QCOMPARE(t->mode(), int(frmTrial::Answering));
        QCOMPARE(t->Label1->text(), QStringLiteral("第1問"));
        QCOMPARE(t->Label2->text(), QStringLiteral("#%1").arg(gProbNo + 1));
        QCOMPARE(t->Label7->text(), QStringLiteral("有段レベル"));
        QCOMPARE(t->Label4->text(), QStringLiteral("黒先白死"));
        QCOMPARE(t->Label3->text(), QStringLiteral("<殺し問題>"));
        QCOMPARE(t->lblComment->text(), QStringLiteral("黒先で白を殺してください"));
        QCOMPARE(t->lblTime->text(), QStringLiteral("あと ６０ 秒"));
        QCOMPARE(gAnswerSheet[0].ProbNo, gProbNo);
        QCOMPARE(gPlayerRecord.Stat[static_cast<size_t>(gProbNo)].Asked, 1);

        Ticks(t, waited);
        t->picBoardMouseDown(move, move, 1);
        QCOMPARE(t->mode(), int(frmTrial::Message));
        QCOMPARE(t->Label12->text(), QStringLiteral("正解です"));
        QVERIFY(!t->Label12->isHidden());
        QCOMPARE(t->points(), points);
        QCOMPARE(t->Label13->text(), QString::number(points));
        QCOMPARE(gAnswerSheet[0].Points, points);
        QCOMPARE(gAnswerSheet[0].AnswerX, move);
        QCOMPARE(gPlayerRecord.Stat[static_cast<size_t>(gProbNo)].Correct, 1);
        QCOMPARE(t->lblProbUsed[0]->text(), QStringLiteral("○"));
        QCOMPARE(t->position().board[static_cast<size_t>(move + 19 * move)], kBlack);
        QCOMPARE(world.platform->sounds.back().path, gDataPath + "stone.wav");

        Ticks(t, 2);
        QCOMPARE(t->mode(), int(frmTrial::Message));
        t->Timer1Tick(); // the third tick ends the verdict
        QCOMPARE(t->mode(), int(frmTrial::Transfer));
        QVERIFY(t->Label12->isHidden());
        QCOMPARE(t->Timer1->interval(), 100);

        const int tens = points / 10, ones = points % 10;
        Ticks(t, tens);
        QCOMPARE(t->total(), tens * 10);
        QCOMPARE(t->Label13->text(), QString::number(ones));
        Ticks(t, ones);
        QCOMPARE(t->total(), points);
        QCOMPARE(t->Label11->text(), QString::number(points));
        QCOMPARE(gQuestionNo, 0); // still on the first question
        t->Timer1Tick();
        QCOMPARE(gQuestionNo, 1);
        QCOMPARE(t->mode(), int(frmTrial::Answering));
        QCOMPARE(t->Timer1->interval(), 1000);
        QCOMPARE(t->Label1->text(), QStringLiteral("第2問"));
        QCOMPARE(t->seconds(), 60);
        QCOMPARE(t->lblProbUsed[1]->frameStyle(), int(QFrame::Box | QFrame::Plain));
        QCOMPARE(t->lblProbUsed[0]->frameStyle(), int(QFrame::NoFrame));
        QCOMPARE(Background(t->lblProbUsed[0]), QColor(255, 255, 128));
        QCOMPARE(Background(t->lblProbUsed[1]), QColor(255, 128, 255));
        delete t;
    }

    void wrongAnswers_data() {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("shown");
        QTest::newRow("inferior child") << 3 << 550 << "0";
        QTest::newRow("not in the tree") << 8 << -1 << "195";
    }
    void wrongAnswers() {
        QFETCH(int, x);
        QFETCH(int, result);
        QFETCH(QString, shown);
        TrialWorld world(Levels(12, 30));
        gCourse = 0;
        QPointer<frmTrial> t = new frmTrial(kSeed);
        Ticks(t, 10);
        t->picBoardMouseDown(x, x, 1);
        QCOMPARE(t->Label12->text(), QStringLiteral("不正解です"));
        QCOMPARE(t->answerResult(), result);
        QCOMPARE(t->Label13->text(), shown);
        QCOMPARE(t->points(), 0);
        QCOMPARE(gAnswerSheet[0].Points, 0);
        QCOMPARE(gAnswerSheet[0].AnswerX, x);
        QCOMPARE(gPlayerRecord.Stat[static_cast<size_t>(gProbNo)].Correct, 0);
        QCOMPARE(t->lblProbUsed[0]->text(), QStringLiteral("×"));
        Ticks(t, 3);
        QCOMPARE(t->mode(), int(frmTrial::Transfer));
        t->Timer1Tick();
        QCOMPARE(gQuestionNo, 1);
        QCOMPARE(t->total(), 0);
        delete t;
    }

    // A one-move problem (aim 0, a connection or a cut): the aim label has no
    // row for it, the comment asks for one move; 黒損 (the goal reached only
    // in part) is as wrong as 黒失敗.
    void oneMoveProblem_data() {
        QTest::addColumn<int>("x");
        QTest::addColumn<QString>("verdict");
        QTest::addColumn<int>("correct");
        QTest::newRow("黒成功") << 2 << "正解です" << 1;
        QTest::newRow("黒損") << 4 << "不正解です" << 0;
        QTest::newRow("黒失敗") << 3 << "不正解です" << 0;
    }
    void oneMoveProblem() {
        QFETCH(int, x);
        QFETCH(QString, verdict);
        QFETCH(int, correct);
        TrialWorld world(Levels(12, 30));
        Problem p = MakeProblem({{2, 2, 12, 0}, {3, 3, 57, 0}, {4, 4, 58, 0}});
        p.ProbPurpose = 0;
        QVERIFY(
            WriteSetFiles(world.dir.path(), QStringLiteral("abc"), std::vector<Problem>(12, p)));
        gCourse = 0;
        QPointer<frmTrial> t = new frmTrial(kSeed);
        QCOMPARE(t->Label3->text(), QStringLiteral("題意不明"));
        QCOMPARE(t->lblComment->text(), QStringLiteral("黒先で一手打ってください"));
        QCOMPARE(t->Label4->text(), QStringLiteral("黒先黒成功"));
        t->picBoardMouseDown(x, x, 1);
        QCOMPARE(t->Label12->text(), verdict);
        QCOMPARE(gPlayerRecord.Stat[static_cast<size_t>(gProbNo)].Correct, correct);
        delete t;
    }

    void illegalAndRightPressesAreRefused() {
        TrialWorld world(Levels(12, 30));
        gCourse = 0;
        QPointer<frmTrial> t = new frmTrial(kSeed);
        t->picBoardMouseDown(5, 5, 1); // occupied
        t->picBoardMouseDown(0, 0, 1);
        QCOMPARE(world.platform->beeps, 2);
        t->picBoardMouseDown(2, 2, 2); // right button: nothing
        QCOMPARE(world.platform->beeps, 2);
        QCOMPARE(t->mode(), int(frmTrial::Answering));
        QCOMPARE(gAnswerSheet[0].AnswerX, -1);
        t->Timer1Tick();
        QCOMPARE(t->seconds(), 59); // the clock runs on
        delete t;
    }

    // Outside the drawn lines a press beeps while the trial waits for an
    // answer; during the verdict and the transfer every press is silent.
    void pressesOutsideTheDrawnLines_data() {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::newRow("past the last column") << 19 << 4;
        QTest::newRow("below the last row") << 4 << 19;
        QTest::newRow("on the frame") << -1 << -1;
    }
    void pressesOutsideTheDrawnLines() {
        QFETCH(int, x);
        QFETCH(int, y);
        TrialWorld world(Levels(12, 30));
        gCourse = 0;
        QPointer<frmTrial> t = new frmTrial(kSeed);
        t->picBoardMouseDown(x, y, 1);
        QCOMPARE(world.platform->beeps, 1);
        QCOMPARE(t->mode(), int(frmTrial::Answering));
        QCOMPARE(gAnswerSheet[0].AnswerX, -1);

        t->picBoardMouseDown(2, 2, 1);
        QCOMPARE(t->mode(), int(frmTrial::Message));
        t->picBoardMouseDown(x, y, 1);
        t->picBoardMouseDown(3, 3, 1);
        Ticks(t, 3);
        QCOMPARE(t->mode(), int(frmTrial::Transfer));
        t->picBoardMouseDown(x, y, 1);
        t->picBoardMouseDown(3, 3, 1);
        QCOMPARE(world.platform->beeps, 1);
        QCOMPARE(gAnswerSheet[0].AnswerX, 2);
        QCOMPARE(t->points(), 200);
        delete t;
    }

    // Another mode selecting a course and problem and reading the player's
    // file meanwhile changes neither the trial's questions nor what it saves.
    void anotherWindowChangesNothingInTheTrial() {
        TrialWorld world(Levels(12, 30));
        gCourse = 1;
        QPointer<frmTrial> t = new frmTrial(kSeed);
        const int first = t->probNo();
        QCOMPARE(t->course(), 1);

        gCourse = 4;
        gProbNo = 0;
        gQuestionNo = 5;
        QVERIFY(LoadPlayerFile(0)); // nothing of the running trial is on disk yet

        t->picBoardMouseDown(2, 2, 1);
        QCOMPARE(t->Label12->text(), QStringLiteral("正解です"));
        QCOMPARE(gAnswerSheet[0].AnswerX, 2);
        QCOMPARE(gAnswerSheet[5].AnswerX, -1);
        FinishQuestion(t);
        QCOMPARE(t->questionNo(), 1);
        QCOMPARE(t->Label1->text(), QStringLiteral("第2問"));
        t->Command1Click();
        Settle();
        QCOMPARE(gCourse, int16_t(1)); // the high scores rank the trial's course

        const PlayerRecord disk = world.playerOnDisk();
        QCOMPARE(disk.Stat[size_t(first)].Asked, 1);
        QCOMPARE(disk.Stat[size_t(first)].Correct, 1);
        const int s1 = CourseBase(4);
        QCOMPARE(disk.Stat[size_t(s1)].Correct, 0);
        int asked = 0, correct = 0;
        for (const ProbStat& st : disk.Stat) {
            asked += st.Asked;
            correct += st.Correct;
        }
        QCOMPARE(asked, 2);
        QCOMPARE(correct, 1);
    }

    void timeRunsOut() {
        TrialWorld world(Levels(12, 30));
        gCourse = 0;
        QPointer<frmTrial> t = new frmTrial(kSeed);
        Ticks(t, 59);
        QCOMPARE(t->mode(), int(frmTrial::Answering));
        t->Timer1Tick();
        QCOMPARE(t->mode(), int(frmTrial::Message));
        QCOMPARE(t->Label12->text(), QStringLiteral("時間切れです"));
        QCOMPARE(t->points(), 0);
        Ticks(t, 3); // no transfer after a missing answer
        QCOMPARE(gQuestionNo, 1);
        QCOMPARE(t->mode(), int(frmTrial::Answering));
        QCOMPARE(gAnswerSheet[0].AnswerX, -1);
        QCOMPARE(gAnswerSheet[0].AnswerY, -1);
        QCOMPARE(gAnswerSheet[0].Points, 0);
        QCOMPARE(t->lblProbUsed[0]->text(), QStringLiteral("×"));
        delete t;
    }

    void slowCorrectBeginnerScoresNothing() {
        TrialWorld world(Levels(12, 10));
        gPlayerRecord.ThinkTime = 300;
        world.savePlayer();
        gCourse = 3;
        QPointer<frmTrial> t = new frmTrial(kSeed);
        QCOMPARE(t->basePoints(), 100);
        Ticks(t, 200);
        t->picBoardMouseDown(2, 2, 1);
        QCOMPARE(t->Label12->text(), QStringLiteral("正解です"));
        QCOMPARE(gAnswerSheet[0].Points, 0);
        QCOMPARE(gPlayerRecord.Stat[static_cast<size_t>(gProbNo)].Correct, 1);
        QCOMPARE(t->lblProbUsed[0]->text(), QStringLiteral("×"));
        delete t;
    }

    void countdownAnnouncements_data() {
        QTest::addColumn<int>("thinkTime");
        QTest::addColumn<int>("soundOff");
        QTest::addColumn<QStringList>("expected"); // "seconds:file"
        const QStringList tail{"30:sec30.wav", "20:sec20.wav", "10:sec10.wav", "5:sec05.wav",
                               "4:sec04.wav",  "3:sec03.wav",  "2:sec02.wav",  "1:sec01.wav"};
        QTest::newRow("60 s announces itself") << 60 << 0 << (QStringList{"60:min01.wav"} + tail);
        QTest::newRow("120 s") << 120 << 0 << (QStringList{"120:min02.wav", "60:min01.wav"} + tail);
        QTest::newRow("90 s is silent at first") << 90 << 0 << (QStringList{"60:min01.wav"} + tail);
        QTest::newRow("sound off") << 60 << 1 << QStringList{};
    }
    void countdownAnnouncements() {
        QFETCH(int, thinkTime);
        QFETCH(int, soundOff);
        QFETCH(QStringList, expected);
        TrialWorld world(Levels(12, 30));
        gPlayerRecord.ThinkTime = static_cast<int16_t>(thinkTime);
        gPlayerRecord.SoundEffect = static_cast<int16_t>(soundOff);
        world.savePlayer();
        gCourse = 0;
        QStringList heard;
        size_t seen = 0;
        QPointer<frmTrial> t = new frmTrial(kSeed);
        const auto collect = [&] {
            for (; seen < world.platform->sounds.size(); ++seen) {
                const RecordedSound& s = world.platform->sounds[seen];
                QVERIFY(!s.toEnd);
                heard
                    << QStringLiteral("%1:%2").arg(t->seconds()).arg(QFileInfo(s.path).fileName());
            }
        };
        collect();
        while (t->mode() == frmTrial::Answering) {
            t->Timer1Tick();
            collect();
        }
        QCOMPARE(heard, expected);
        delete t;
    }

    void quittingAfterThreeQuestions() {
        TrialWorld world(Levels(12, 30));
        gCourse = 0;
        QPointer<frmTrial> t = new frmTrial(kSeed);
        for (int q = 0; q < 2; ++q) {
            t->picBoardMouseDown(2, 2, 1);
            FinishQuestion(t);
        }
        QCOMPARE(gQuestionNo, 2);
        t->Command1Click();
        Settle();
        QVERIFY(t.isNull());
        QCOMPARE(world.opened[Role::HiScore], 1);
        for (int i = 0; i < 10; ++i)
            QCOMPARE(gAnswerSheet[static_cast<size_t>(i)].ProbNo != -1, i < 3);
        const PlayerRecord disk = world.playerOnDisk();
        for (int i = 0; i < 3; ++i) {
            const ProbStat& s =
                disk.Stat[static_cast<size_t>(gAnswerSheet[static_cast<size_t>(i)].ProbNo)];
            QCOMPARE(s.Asked, 1);
            QCOMPARE(s.Correct, i < 2 ? 1 : 0);
        }
        int asked = 0;
        for (const ProbStat& s : disk.Stat)
            asked += s.Asked;
        QCOMPARE(asked, 3);
        QCOMPARE(world.menuRefreshes, 0);
    }

    // A full disk at the end of a trial: the player is told why, naming the
    // file, and asked whether to try again. Declining keeps the old bytes;
    // trying again once there is room saves the trial just played.
    void saveFailureAtTheEndIsTold_data() {
        QTest::addColumn<bool>("retry");
        QTest::newRow("declined") << false;
        QTest::newRow("tried again after making room") << true;
    }
    void saveFailureAtTheEndIsTold() {
        QFETCH(bool, retry);
        TrialWorld world(Levels(12, 30));
        gCourse = 0;
        const QByteArray before = world.read(PlayerFileName(0));
        QPointer<frmTrial> t = new frmTrial(kSeed);
        t->picBoardMouseDown(2, 2, 1);
        FinishQuestion(t);
        int full = 1; // the disk is full for the first save only
        SetWriteFaultHook(
            [&full](WriteStep s) { return s == WriteStep::Flush && full-- > 0 ? ENOSPC : 0; });
        world.platform->answers = {retry};
        t->Command1Click();
        SetWriteFaultHook({});
        Settle();
        QCOMPARE(world.platform->questions.size(), 1);
        QVERIFY(world.platform->questions[0].startsWith("成績を保存できませんでした。"));
        QVERIFY(world.platform->questions[0].contains(PlayerFileName(0)));
        if (retry)
            QCOMPARE(world.playerOnDisk().Stat[static_cast<size_t>(gAnswerSheet[0].ProbNo)].Asked,
                     1);
        else
            QCOMPARE(world.read(PlayerFileName(0)), before);
    }

    void closingFromTheFrameDoesNotSave() {
        TrialWorld world(Levels(12, 30));
        gCourse = 0;
        QPointer<frmTrial> t = new frmTrial(kSeed);
        t->picBoardMouseDown(2, 2, 1);
        t->close();
        Settle();
        QVERIFY(t.isNull());
        QCOMPARE(world.menuRefreshes, 1);
        QCOMPARE(world.opened[Role::HiScore], 0);
        int flags = 0;
        for (const ProbStat& s : world.playerOnDisk().Stat)
            flags += s.Asked + s.Correct;
        QCOMPARE(flags, 0);
    }

    void tenthAnswerLeadsToTheHighScores() {
        TrialWorld world(Levels(12, 30));
        gCourse = 0;
        QPointer<frmTrial> t = new frmTrial(kSeed);
        for (int q = 0; q < 9; ++q) {
            t->picBoardMouseDown(2, 2, 1);
            FinishQuestion(t);
        }
        QCOMPARE(gQuestionNo, 9);
        t->picBoardMouseDown(2, 2, 1);
        Ticks(t, 3 + 20); // verdict and the transfer of 200
        QVERIFY(!t.isNull());
        QCOMPARE(world.opened[Role::HiScore], 0);
        t->Timer1Tick();
        Settle();
        QVERIFY(t.isNull());
        QCOMPARE(world.opened[Role::HiScore], 1);
        QSet<int> problems;
        for (const AnswerEntry& e : gAnswerSheet) {
            problems.insert(e.ProbNo);
            QCOMPARE(e.Points, 200);
        }
        QCOMPARE(problems.size(), 10); // no repeats
        const PlayerRecord disk = world.playerOnDisk();
        for (int p : problems)
            QCOMPARE(disk.Stat[static_cast<size_t>(p)].Correct, 1);
    }

    void drawRunningOutEndsTheTrial() {
        // Course 2 (上級) offers three problems of its level.
        TrialWorld world({30, 20, 10, 20, 30, 20, 10, 30});
        gCourse = 2;
        QPointer<frmTrial> t = new frmTrial(kSeed);
        for (int q = 0; q < 3 && t; ++q) {
            QCOMPARE(t->Label7->text(), QStringLiteral("上級レベル"));
            t->picBoardMouseDown(2, 2, 1);
            FinishQuestion(t);
        }
        Settle();
        QVERIFY(t.isNull());
        QCOMPARE(world.opened[Role::HiScore], 1);
        QSet<int> drawn;
        for (int i = 0; i < 3; ++i)
            drawn.insert(gAnswerSheet[static_cast<size_t>(i)].ProbNo);
        QCOMPARE(drawn, (QSet<int>{1, 3, 5}));
        for (int i = 3; i < 10; ++i)
            QCOMPARE(gAnswerSheet[static_cast<size_t>(i)].ProbNo, -1);
    }

    void courseWithoutProblemsGoesBackToTheMenu() {
        TrialWorld world(Levels(4, 10));
        gCourse = 1; // no 有段 problem at all
        QPointer<frmTrial> t = new frmTrial(kSeed);
        t->show();
        Settle();
        QVERIFY(t.isNull());
        QCOMPARE(world.platform->boxes, QStringList{"このコースには出題できる問題がありません。"});
        QCOMPARE(world.menuRefreshes, 1);
        QCOMPARE(world.opened[Role::HiScore], 0);
    }

    void rootWithMoreThanThirtyChildren() {
        TrialWorld world(Levels(2, 30), 1); // s1 holds only the 35-child problem
        gCourse = 4;
        QPointer<frmTrial> t = new frmTrial(kSeed);
        QCOMPARE(t->position().children.size(), size_t{35});
        t->picBoardMouseDown(34 % 19, 10 + 34 / 19, 1);
        QCOMPARE(t->Label12->text(), QStringLiteral("正解です"));
        delete t;
    }

    // High scores ----------------------------------------------------------

    void highScoreCases_data() {
        QTest::addColumn<int>("course");
        QTest::addColumn<QByteArray>("before"); // abc.hsc / s1.hsc, "-" for none
        QTest::addColumn<QList<int>>("points");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("rank");
        QTest::addColumn<bool>("rankedIn");
        QTest::addColumn<QByteArray>("after");
        const QByteArray mine =
            " 364 , 2 ,\"\x83\x65\x83\x58\x83\x67\",\"2026/12/07\",\"09:05:03\"\r\n";
        QByteArray ten, tenWithMine;
        for (int i = 0; i < 10; ++i) {
            const QByteArray line =
                QStringLiteral(" %1 , 3 ,\"p%2\",\"2025/01/0%2\",\"10:00:00\"\r\n")
                    .arg(1000 - 100 * i)
                    .arg(i)
                    .toLatin1();
            ten += line;
            if (i == 4) tenWithMine += QByteArray(mine).replace(" 364 ", " 650 ");
            if (i < 9) tenWithMine += line;
        }
        QTest::newRow("first result, no file")
            << 0 << QByteArray("-") << QList<int>{193, 171} << 0 << "1" << true << mine;
        QTest::newRow("equal to the lowest of ten")
            << 2 << ten << QList<int>{60, 40} << 10 << "--" << false << ten;
        QTest::newRow("between the fourth and fifth")
            << 3 << ten << QList<int>{600, 50} << 4 << "5" << true << tenWithMine;
        QTest::newRow("no points, empty ranking")
            << 0 << QByteArray() << QList<int>{} << 0 << "1" << false << QByteArray();
        QTest::newRow("s1 keeps its own file")
            << 4 << QByteArray("-") << QList<int>{193, 171} << 0 << "1" << true << mine;
    }
    void highScoreCases() {
        QFETCH(int, course);
        QFETCH(QByteArray, before);
        QFETCH(QList<int>, points);
        QFETCH(int, row);
        QFETCH(QString, rank);
        QFETCH(bool, rankedIn);
        QFETCH(QByteArray, after);
        TrialWorld world(Levels(12, 30));
        SetHiscoreClock([] { return QDateTime(QDate(2026, 12, 7), QTime(9, 5, 3)); });
        const QString file = HiscoreFileName(course);
        if (before != "-") world.write(file, before);
        gCourse = static_cast<int16_t>(course);
        for (int i = 0; i < points.size(); ++i) {
            gAnswerSheet[static_cast<size_t>(i)].ProbNo = static_cast<int16_t>(i);
            gAnswerSheet[static_cast<size_t>(i)].Points = static_cast<int16_t>(points[i]);
        }
        QPointer<frmHiscore> h = new frmHiscore;
        const auto r = static_cast<size_t>(row);
        QCOMPARE(h->lblArrayRank[r]->text(), rank);
        QVERIFY(!h->lblArrayRank[r]->isHidden());
        QCOMPARE(h->lblArrayName[r]->text(), QStringLiteral("テスト"));
        QCOMPARE(h->lblArrayDate[r]->text(), QStringLiteral("26/12/07"));
        QCOMPARE(h->lblArrayTime[r]->text(), QStringLiteral("09:05:03"));
        for (int j = 0; j < frmHiscore::kRows; ++j) {
            const auto k = static_cast<size_t>(j);
            const bool shown =
                j < static_cast<int>(h->ranking().merged.size()) && (j < kRankingSize || j == row);
            QCOMPARE(!h->lblArrayPoint[k]->isHidden(), shown);
            if (shown)
                QCOMPARE(Background(h->lblArrayTime[k]),
                         j == row ? QColor(255, 128, 255) : QColor(255, 255, 128));
        }
        QVERIFY(world.platform->boxes.isEmpty());
        h->Timer1Tick();
        h->Timer1Tick();
        QCOMPARE(world.platform->boxes,
                 QStringList{rankedIn ? "おめでとうございます。ランクインしました。"
                                      : "ランクインしませんでした。次回がんばってください。"});
        h->cmdExitClick();
        Settle();
        QVERIFY(h.isNull());
        QCOMPARE(world.opened[Role::Review], 1);
        QVERIFY(QFileInfo::exists(gDataPath + file));
        QCOMPARE(world.read(file), after);
        if (course != 0) QVERIFY(!QFileInfo::exists(gDataPath + "abc.hsc") || course < 4);
        SetHiscoreClock(nullptr);
    }

    void rankingProblems() {
        TrialWorld world(Levels(12, 30));
        gCourse = 0;
        gAnswerSheet[0].Points = 120;
        // A damaged second line: the first entry is kept and the player told.
        world.write("abc.hsc", " 500 , 4 ,\"a\",\"2026/01/01\",\"10:00:00\"\r\n 400 , x\r\n");
        QPointer<frmHiscore> h = new frmHiscore;
        QCOMPARE(h->ranking().merged.size(), size_t{2});
        QCOMPARE(h->ranking().newPosition, 1);
        h->Timer1Tick();
        QCOMPARE(world.platform->boxes.size(), 2);
        QVERIFY(world.platform->boxes[0].contains("abc.hsc"));
        // ＯＫ keeps the damaged file aside, named in a message, before the
        // new ranking is written: its unread lines are not lost.
        const QByteArray damaged = world.read("abc.hsc");
        h->cmdExitClick();
        Settle();
        QCOMPARE(world.platform->boxes.size(), 3);
        QVERIFY(world.platform->boxes[2].contains("abc.hsc.bad"));
        QCOMPARE(world.read("abc.hsc.bad"), damaged);
        QCOMPARE(ParseRanking(world.read("abc.hsc")).entries.size(), size_t{2});
        QCOMPARE(world.opened[Role::Review], 1);

        // The ranking cannot be written (a full disk): the player is told,
        // naming the file, the old file stays and the review opens.
        world.platform->clear();
        const QByteArray whole = world.read("abc.hsc");
        h = new frmHiscore;
        h->Timer1Tick();
        SetWriteFaultHook([](WriteStep s) { return s == WriteStep::Write ? ENOSPC : 0; });
        h->cmdExitClick();
        SetWriteFaultHook({});
        Settle();
        QCOMPARE(world.platform->boxes.size(), 2);
        QVERIFY(world.platform->boxes[1].startsWith("ランキングを保存できませんでした。"));
        QVERIFY(world.platform->boxes[1].contains("abc.hsc"));
        QCOMPARE(world.read("abc.hsc"), whole);
        QCOMPARE(world.opened[Role::Review], 2);
    }

    void closingTheHighScoresFromTheFrame() {
        TrialWorld world(Levels(12, 30));
        gCourse = 0;
        gAnswerSheet[0].Points = 120;
        QPointer<frmHiscore> h = new frmHiscore;
        h->close();
        Settle();
        QVERIFY(h.isNull());
        QCOMPARE(world.menuRefreshes, 1);
        QVERIFY(!QFileInfo::exists(gDataPath + "abc.hsc"));
        QCOMPARE(world.opened[Role::Review], 0);
    }

    // Course selection -----------------------------------------------------

    void courseRows() {
        TrialWorld world({30, 20, 10, 20, 30, 20, 10, 30, 0});
        QPointer<frmSelQuestion> f = new frmSelQuestion;
        QCOMPARE(f->windowTitle(), QStringLiteral("コース選択"));
        const QStringList totals{" 9", " 3", " 3", " 2", " 3", " 3"};
        for (int i = 0; i < 6; ++i) {
            const auto k = static_cast<size_t>(i);
            QCOMPARE(f->cmdVol[k]->text(), gCourses[k].Title);
            QCOMPARE(f->lblProbs[k]->text(), totals[i]);
            QCOMPARE(f->lblAnswer[k]->text(), QStringLiteral(" 0"));
            QString ratio;
            for (int c = 0; c < 5; ++c)
                ratio += f->lblRatio[5 * k + static_cast<size_t>(c)]->text();
            QCOMPARE(ratio, QStringLiteral("-----"));
        }
        QCOMPARE(f->cmdVol[6]->text(), QStringLiteral("中止"));
        delete f;

        // Answers of the player, read from the file when the window opens.
        PlayerRecord r = world.playerOnDisk();
        for (int p : {0, 4, 7})
            r.Stat[static_cast<size_t>(p)].Asked = 1;
        r.Stat[0].Correct = 1;
        QVERIFY(WriteFileAtomic(gDataPath + PlayerFileName(0), PlayerRecordToBytes(r)));
        f = new frmSelQuestion;
        QCOMPARE(f->lblAnswer[1]->text(), QStringLiteral(" 3"));
        QCOMPARE(f->lblCorrect[1]->text(), QStringLiteral(" 1"));
        QString ratio;
        for (size_t c = 5; c < 10; ++c)
            ratio += f->lblRatio[c]->text();
        QCOMPARE(ratio, QStringLiteral(" 33.3"));
        QCOMPARE(f->lblAnswer[0]->text(), QStringLiteral(" 3"));
        QCOMPARE(f->lblAnswer[2]->text(), QStringLiteral(" 0"));
        delete f;
    }

    void courseButtons_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("button");
        QTest::addColumn<int>("role"); // -1: back to the menu
        QTest::addColumn<QStringList>("boxes");
        QTest::newRow("trial") << 1 << 5 << int(Role::Trial)
                               << QStringList{"トライアルモードを開始します"};
        QTest::newRow("learn") << 2 << 3 << int(Role::Learn) << QStringList{};
        QTest::newRow("view") << 3 << 0 << int(Role::View) << QStringList{};
        QTest::newRow("cancel") << 1 << 6 << -1 << QStringList{};
    }
    void courseButtons() {
        QFETCH(int, mode);
        QFETCH(int, button);
        QFETCH(int, role);
        QFETCH(QStringList, boxes);
        TrialWorld world(Levels(12, 30));
        gMode = static_cast<int16_t>(mode);
        gCourse = 0;
        QPointer<frmSelQuestion> f = new frmSelQuestion;
        f->show();
        f->cmdVol[static_cast<size_t>(button)]->click();
        Settle();
        QVERIFY(f.isNull());
        QCOMPARE(world.platform->boxes, boxes);
        if (role >= 0) {
            QCOMPARE(gCourse, button);
            QCOMPARE(world.opened[static_cast<Role>(role)], 1);
        }
        QCOMPARE(world.menuRefreshes, role < 0 ? 1 : 0);
    }

    // One whole trial through the router: course selection, trial, high
    // scores, review.
    void wholeTrialThroughTheWindows() {
        TrialWorld world(Levels(12, 30));
        RegisterWindow(Role::CourseSelect, [] { return new frmSelQuestion; });
        RegisterWindow(Role::Trial, [] { return new frmTrial(kSeed); });
        RegisterWindow(Role::HiScore, [] { return new frmHiscore; });
        QPointer<QWidget> sel = OpenWindow(Role::CourseSelect);
        qobject_cast<frmSelQuestion*>(sel.data())->cmdVol[1]->click();
        Settle();
        QVERIFY(sel.isNull());
        QPointer<frmTrial> t;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* tw = qobject_cast<frmTrial*>(w)) t = tw;
        QVERIFY(t);
        for (int q = 0; q < 10 && t; ++q) {
            Ticks(t, q);
            t->picBoardMouseDown(q % 2 ? 4 : 2, q % 2 ? 4 : 2, 1);
            FinishQuestion(t);
        }
        Settle();
        QVERIFY(t.isNull());
        frmHiscore* h = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* hw = qobject_cast<frmHiscore*>(w)) h = hw;
        QVERIFY(h);
        QCOMPARE(h->newEntry().CorrectCount, 10);
        QCOMPARE(h->newEntry().Score, 2000 - 0 - 0 - 1 - 1 - 2 - 2 - 3 - 3 - 4 - 4);
        h->Timer1Tick();
        QCOMPARE(world.platform->boxes.last(),
                 QStringLiteral("おめでとうございます。ランクインしました。"));
        h->cmdExitClick();
        Settle();
        QCOMPARE(world.opened[Role::Review], 1);
        QVERIFY(world.read("abc.hsc").startsWith(" 1980 , 10 ,"));
        int asked = 0, correct = 0;
        for (const ProbStat& s : world.playerOnDisk().Stat) {
            asked += s.Asked;
            correct += s.Correct;
        }
        QCOMPARE(asked, 10);
        QCOMPARE(correct, 10);
    }
};

QTEST_MAIN(TestTrialWindows)
#include "test_trial_windows.moc"

// The learn window driven through its handlers: whole problems to each kind
// of verdict, the reply timer with re-entrant ticks, take-backs, hints and
// problem stepping in both settings.
#include "learnfixture.h"
#include "modes/learn/frmlearn.h"
#include "openlearn.h"

#include "board/boardview.h"
#include "library/courses.h"
#include "library/files.h"
#include "library/player.h"
#include "library/session.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

#include <memory>

using namespace learn;

namespace {

struct Move {
    int x;
    int y;
};

int DarkRedPixels(const QImage& img) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixelColor(x, y) == QColor(128, 0, 0)) ++n;
    return n;
}

} // namespace

class TestLearn : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<LearnTestData> data_;

private slots:
    void init() {
        data_ = std::make_unique<LearnTestData>(StandardAbc(), Repeat(KillProblem(), 5),
                                                Repeat(KillProblem(), 3));
    }
    void cleanup() { data_.reset(); }

    // An unreadable player file or problem ends the run with a message
    // naming the file, as in the trial; nothing is saved over the file.
    void unreadableFilesEndTheRun_data() {
        QTest::addColumn<QString>("file");
        QTest::newRow("player file") << QStringLiteral("vm2.ps0");
        QTest::newRow("problem data") << QStringLiteral("abc.dt");
    }
    void unreadableFilesEndTheRun() {
        QFETCH(QString, file);
        const QString path = gDataPath + file;
        QByteArray bytes;
        if (file == QStringLiteral("vm2.ps0")) {
            bytes = QByteArray((1 << 20) + 1, 'x'); // larger than any player file
        } else {
            QFile dt(path);
            QVERIFY(dt.open(QIODevice::ReadOnly));
            bytes = dt.read(3); // cut short inside problem 1
        }
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(bytes);
        }
        QVERIFY_THROWS_EXCEPTION(ProgramAborted, OpenLearn(0));
        QVERIFY(!data_->platform.boxes.isEmpty());
        QVERIFY2(data_->platform.boxes.last().contains(file),
                 qPrintable(data_->platform.boxes.last()));
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), bytes);
    }

    void opensOnTheChosenProblem() {
        auto w = OpenLearn(0);
        QCOMPARE(w->windowTitle(), QStringLiteral("学習"));
        QCOMPARE(w->size(), QSize(635, 429));
        QCOMPARE(w->picBoard->geometry(), QRect(242, 38, 385, 385));
        QCOMPARE(w->lblProb->text(), QStringLiteral("#1"));
        QVERIFY(!w->lblQNth->isVisible());
        QCOMPARE(w->lblProbKekka->text(), QStringLiteral("黒先白死"));
        QCOMPARE(w->lblNth->text(), QStringLiteral("１手"));
        QCOMPARE(w->lblTeban->text(), QStringLiteral("黒番"));
        QCOMPARE(w->lblComment->text(), QStringLiteral("黒先で白を殺すまで打ってください"));
        QCOMPARE(frmLearn::PictureOf(w->cmdShowNext), QStringLiteral("quest000.bmp"));
        QCOMPARE(w->picBoard->accessibleName(), QStringLiteral("碁盤"));
    }

    void wholeProblem_data() {
        QTest::addColumn<int>("probNo");
        QTest::addColumn<QList<QPoint>>("moves"); // Black's moves, each followed by one tick
        QTest::addColumn<QString>("verdict");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<int>("sounds");

        QTest::newRow("correct") << 0 << QList<QPoint>{{2, 2}, {4, 4}}
                                 << QStringLiteral("正解です。『白死』になりました。")
                                 << QStringList{} << 3;
        QTest::newRow("failed at the second move")
            << 0 << QList<QPoint>{{2, 2}, {5, 5}}
            << QStringLiteral("失敗です。最善は『白死』ですが、『白生き』になりました。"
                              "３手目が悪手でした。○が正解です")
            << QStringList{QStringLiteral("悪手です")} << 3;
        QTest::newRow("failed at the first move")
            << 0 << QList<QPoint>{{1, 1}}
            << QStringLiteral("失敗です。最善は『白死』ですが、『白生き』になりました。"
                              "１手目が悪手でした。○が正解です")
            << QStringList{QStringLiteral("悪手です")} << 2;
        QTest::newRow("near-correct")
            << 1 << QList<QPoint>{{2, 2}, {5, 5}}
            << QStringLiteral("準正解です（正解より多少損)。『白死』になりました。")
            << QStringList{QStringLiteral("悪手です")} << 3;
        QTest::newRow("black success")
            << 2 << QList<QPoint>{{2, 2}} << QStringLiteral("黒成功です。") << QStringList{} << 2;
        QTest::newRow("black failure")
            << 2 << QList<QPoint>{{1, 1}}
            << QStringLiteral("黒失敗です。１手目が悪手でした。○が正解です")
            << QStringList{QStringLiteral("悪手です")} << 2;
    }
    void wholeProblem() {
        QFETCH(int, probNo);
        QFETCH(QList<QPoint>, moves);
        QFETCH(QString, verdict);
        QFETCH(QStringList, messages);
        QFETCH(int, sounds);

        auto w = OpenLearn(probNo);
        w->activateWindow();
        for (const QPoint& m : moves) {
            QVERIFY2(!w->state().settled(), "settled too early");
            w->picBoard_MouseDown(m.x(), m.y(), 1);
            QCOMPARE(w->state().timerAction, int16_t(kTimerReply));
            QCOMPARE(w->Timer1->interval(), 1000);
            QVERIFY(w->Timer1->isActive());
            w->Timer1_Timer();
            QCOMPARE(w->state().timerAction, int16_t(kTimerIdle));
        }
        QVERIFY(w->state().settled());
        QCOMPARE(w->lblComment->text(), verdict);
        QCOMPARE(data_->platform.messages, messages);
        QCOMPARE(data_->platform.sounds.size(), sounds);
        QCOMPARE(data_->platform.sounds.value(0), QStringLiteral("stone.wav:1"));
        QCOMPARE(data_->platform.beeps, 0);
        QCOMPARE(w->focusWidget(), w->cmdNextProb);
        // Settled: presses of either button do nothing.
        const int depth = w->state().historyDepth();
        w->picBoard_MouseDown(8, 0, 1);
        w->picBoard_MouseDown(8, 0, 2);
        w->picBoard_MouseDown(-1, -1, 1); // on the frame: silent too
        w->picBoard_MouseDown(9, 0, 2);
        QCOMPARE(w->state().historyDepth(), depth);
        QCOMPARE(data_->platform.beeps, 0);
    }

    // A one-move problem (aim 0, a connection or a cut) with no comment asks
    // to play until the position settles; the verdict knows only 黒成功 and
    // 黒失敗, so a line that reaches the goal in part (黒損) is a failure.
    void oneMoveProblem_data() {
        QTest::addColumn<QPoint>("move");
        QTest::addColumn<QString>("verdict");
        QTest::newRow("黒成功") << QPoint(2, 2) << QStringLiteral("黒成功です。");
        QTest::newRow("黒損") << QPoint(1, 1)
                              << QStringLiteral("黒失敗です。１手目が悪手でした。○が正解です");
        QTest::newRow("黒失敗") << QPoint(5, 5)
                                << QStringLiteral("黒失敗です。１手目が悪手でした。○が正解です");
    }
    void oneMoveProblem() {
        QFETCH(QPoint, move);
        QFETCH(QString, verdict);
        data_.reset();
        data_ = std::make_unique<LearnTestData>(std::vector<Problem>{OneMoveProblem()},
                                                Repeat(KillProblem(), 1), Repeat(KillProblem(), 1));
        auto w = OpenLearn(0);
        QCOMPARE(w->lblComment->text(), QStringLiteral("黒先で一段落するまで打ってください"));
        PlayLearn(*w, {move});
        QVERIFY(w->state().settled());
        QCOMPARE(w->lblComment->text(), verdict);
    }

    void mousePressesReachTheBoard() {
        auto w = OpenLearn(0);
        const BoardMetrics& m = w->picBoard->metrics();
        const QPoint at(PointToPixel(m, 2), PointToPixel(m, 2));
        QTest::mouseClick(w->picBoard, Qt::LeftButton, Qt::NoModifier, at);
        QCOMPARE(w->state().historyDepth(), 1);
        w->Timer1_Timer(); // the reply
        QTest::mouseClick(w->picBoard, Qt::RightButton, Qt::NoModifier, at);
        QCOMPARE(w->state().historyDepth(), 1);
        w->Timer1_Timer(); // Black's move goes a second after the reply
        QCOMPARE(w->state().historyDepth(), 0);
        QTest::mouseClick(w->cmdShowNext, Qt::LeftButton);
        QCOMPARE(data_->platform.messages, QStringList{QStringLiteral("次の手の候補です")});
    }

    void labelsFollowTheMoves() {
        auto w = OpenLearn(0);
        w->picBoard_MouseDown(2, 2, 1);
        QCOMPARE(w->lblNth->text(), QStringLiteral("２手"));
        QCOMPARE(w->lblTeban->text(), QStringLiteral("白番"));
        w->Timer1_Timer();
        QCOMPARE(w->lblNth->text(), QStringLiteral("３手"));
        QCOMPARE(w->lblTeban->text(), QStringLiteral("黒番"));
        QCOMPARE(w->state().pos.board[static_cast<size_t>(3 + 19 * 3)], kWhite);
    }

    void backButtonPictures() {
        auto w = OpenLearn(0);
        QCOMPARE(frmLearn::PictureOf(w->cmdPrev), QStringLiteral("1Prev002.bmp"));
        QCOMPARE(frmLearn::PictureOf(w->cmdRew), QStringLiteral("ToRoo002.bmp"));
        QVERIFY(!w->cmdPrev->isEnabled());
        QVERIFY(!w->cmdRew->isEnabled());
        w->picBoard_MouseDown(2, 2, 1);
        QCOMPARE(frmLearn::PictureOf(w->cmdPrev), QStringLiteral("1Prev000.bmp"));
        QCOMPARE(frmLearn::PictureOf(w->cmdRew), QStringLiteral("ToRoo000.bmp"));
        QVERIFY(w->cmdPrev->isEnabled());
        QVERIFY(w->cmdRew->isEnabled());
        w->cmdRew_Click();
        QCOMPARE(w->state().historyDepth(), 0);
        QCOMPARE(frmLearn::PictureOf(w->cmdPrev), QStringLiteral("1Prev002.bmp"));
        QVERIFY(!w->cmdRew->isEnabled());
    }

    void rightClickAtStartDoesNothing() {
        auto w = OpenLearn(0);
        w->picBoard_MouseDown(2, 2, 2);
        QCOMPARE(w->state().historyDepth(), 0);
        QCOMPARE(w->state().pos.gNowLoc, kRoot);
        QCOMPARE(w->state().timerAction, int16_t(kTimerIdle));
        QCOMPARE(data_->platform.beeps, 0);
        QVERIFY(data_->platform.sounds.isEmpty());
    }

    void pendingReplyCancelledByPrev() {
        auto w = OpenLearn(0);
        w->picBoard_MouseDown(2, 2, 1);
        w->cmdPrev_Click();
        QCOMPARE(w->state().historyDepth(), 0);
        // Black is to move again: nothing is left to do at the next tick.
        QCOMPARE(w->state().timerAction, int16_t(kTimerIdle));
        w->Timer1_Timer();
        w->Timer1_Timer();
        QCOMPARE(w->state().pos.gNowLoc, kRoot);
        QCOMPARE(data_->platform.sounds.size(), 1); // no reply was played
        w->picBoard_MouseDown(2, 2, 1);             // and the board takes Black's move at once
        QCOMPARE(w->state().historyDepth(), 1);
    }

    // A press while the system's reply or a step back is still to come would
    // be played for White: it is ignored, without a beep.
    void pressesWaitForThePendingReplyAndStepBack() {
        auto w = OpenLearn(0);
        w->picBoard_MouseDown(2, 2, 1);
        w->picBoard_MouseDown(3, 3, 1); // White's reply point, pressed before the reply
        w->picBoard_MouseDown(3, 3, 2);
        QCOMPARE(w->state().historyDepth(), 1);
        QCOMPARE(w->state().pos.side, kWhite);
        w->Timer1_Timer();
        QCOMPARE(w->state().historyDepth(), 2);
        QCOMPARE(w->state().pos.board[static_cast<size_t>(3 + 19 * 3)], kWhite);

        w->cmdPrev_Click(); // the reply goes at once, Black's move a second later
        QCOMPARE(w->state().timerAction, int16_t(kTimerStepBack));
        w->picBoard_MouseDown(3, 3, 1);
        w->picBoard_MouseDown(3, 3, 2);
        QCOMPARE(w->state().historyDepth(), 1);
        w->Timer1_Timer();
        QCOMPARE(w->state().historyDepth(), 0);
        QCOMPARE(w->state().timerAction, int16_t(kTimerIdle));
        QCOMPARE(data_->platform.beeps, 0);
        QVERIFY(data_->platform.messages.isEmpty());
        QCOMPARE(data_->platform.sounds.size(), 2); // Black's move and the reply only
    }

    // Presses outside the drawn lines of the 9-line view are refused with a
    // beep, whichever button: they never reach the moves nor the take-back.
    void pressesOutsideTheDrawnLines_data() {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<int>("buttons");
        QTest::newRow("past the last column") << 9 << 0 << 1;
        QTest::newRow("below the last row") << 0 << 9 << 1;
        QTest::newRow("far corner") << 18 << 18 << 1;
        QTest::newRow("on the frame") << -1 << -1 << 1;
        QTest::newRow("right button on the frame") << -1 << -1 << 2;
        QTest::newRow("right button past the last column") << 9 << 4 << 2;
    }
    void pressesOutsideTheDrawnLines() {
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(int, buttons);
        auto w = OpenLearn(0);
        w->picBoard_MouseDown(2, 2, 1);
        w->Timer1_Timer();
        QCOMPARE(w->state().historyDepth(), 2);
        w->picBoard_MouseDown(x, y, buttons);
        QCOMPARE(w->state().historyDepth(), 2);
        QCOMPARE(w->state().timerAction, int16_t(kTimerIdle));
        QCOMPARE(data_->platform.beeps, 1);
        QVERIFY(data_->platform.messages.isEmpty());
    }

    void pressOnTheBoardFrame() {
        auto w = OpenLearn(0);
        const int inner = w->picBoard->innerSize().width();
        QCOMPARE(inner, 381);
        // The strip the 42-pixel lines leave at the right, then the frame itself.
        for (const QPoint& at : {QPoint(2 + 380, 100), QPoint(384, 100), QPoint(100, 384)})
            QTest::mouseClick(w->picBoard, Qt::LeftButton, Qt::NoModifier, at);
        QCOMPARE(w->state().historyDepth(), 0);
        QCOMPARE(data_->platform.beeps, 3);
        QVERIFY(data_->platform.messages.isEmpty());
    }

    // Another window loading and selecting a problem meanwhile changes
    // neither what this window judges nor where its problem buttons lead.
    void anotherWindowChangesNothingHere() {
        auto w = OpenLearn(0);
        gMode = 1;
        gReviewCount = 1;
        gQuestionNo = 0;
        gAnswerSheet[0].ProbNo = 2;
        frmLearn other; // the 黒成功 problem, opened as from the review
        QCOMPARE(other.lblProbKekka->text(), QStringLiteral("黒先黒成功"));

        w->picBoard_MouseDown(2, 2, 1);
        w->Timer1_Timer();
        w->picBoard_MouseDown(4, 4, 1);
        w->Timer1_Timer();
        QCOMPARE(w->lblComment->text(), QStringLiteral("正解です。『白死』になりました。"));
        QCOMPARE(w->lblProbKekka->text(), QStringLiteral("黒先白死"));
        QVERIFY(data_->platform.messages.isEmpty());

        w->cmdNextProb_Click();
        QCOMPARE(w->lblProb->text(), QStringLiteral("#2"));
        QVERIFY(!w->lblQNth->isVisible());
        w->cmdModeChange_Click();
        QCOMPARE(gMode, int16_t(3));
        QCOMPARE(gProbNo, int16_t(1));
    }

    void prevAfterReplyTakesBackThePair() {
        auto w = OpenLearn(0);
        w->picBoard_MouseDown(2, 2, 1);
        w->Timer1_Timer();
        QCOMPARE(w->state().historyDepth(), 2);
        w->picBoard_MouseDown(8, 0, 2); // the right button does what cmdPrev does
        QCOMPARE(w->state().historyDepth(), 1);
        QCOMPARE(w->state().pos.side, kWhite);
        w->Timer1_Timer();
        QCOMPARE(w->state().historyDepth(), 0);
        QCOMPARE(w->state().pos.side, kBlack);
        QCOMPARE(w->state().timerAction, int16_t(kTimerIdle));
    }

    void rewindCancelsAPendingReply() {
        auto w = OpenLearn(0);
        w->picBoard_MouseDown(2, 2, 1);
        w->cmdRew_Click();
        w->Timer1_Timer();
        QCOMPARE(w->state().pos.gNowLoc, kRoot);
        QCOMPARE(w->state().historyDepth(), 0);
    }

    void badMoveAfterTheSystemsReply() {
        auto w = OpenLearn(1);
        w->picBoard_MouseDown(2, 2, 1);
        QVERIFY(data_->platform.messages.isEmpty());
        w->Timer1_Timer();
        QCOMPARE(data_->platform.messages, QStringList{QStringLiteral("悪手です")});
    }

    void tickDuringTheReplyMessageStartsNothing() {
        auto w = OpenLearn(1);
        int nested = 0;
        data_->platform.onMessage = [&] {
            ++nested;
            w->Timer1_Timer();
            w->Timer1_Timer();
        };
        w->picBoard_MouseDown(2, 2, 1);
        w->Timer1_Timer(); // the reply, whose "悪手です" ticks twice inside
        QCOMPARE(nested, 1);
        QCOMPARE(w->state().historyDepth(), 2); // Black's next move was not played for him
        QCOMPARE(data_->platform.sounds.size(), 2);
        QCOMPARE(w->state().timerAction, int16_t(kTimerIdle));
        w->Timer1_Timer();
        QCOMPARE(w->state().historyDepth(), 2);
    }

    void tickDuringTheStoneSoundStartsNothing() {
        auto w = OpenLearn(0);
        w->picBoard_MouseDown(2, 2, 1);
        w->cmdPrev_Click(); // a step back is due
        data_->platform.onSound = [&] { w->Timer1_Timer(); };
        w->picBoard_MouseDown(2, 2, 1);
        QCOMPARE(w->state().historyDepth(), 1);
        QCOMPARE(w->state().timerAction, int16_t(kTimerReply));
        w->Timer1_Timer(); // the reply; its sound ticks inside
        QCOMPARE(w->state().historyDepth(), 2);
        QCOMPARE(data_->platform.sounds.size(), 3);
    }

    void refusedClicks() {
        auto w = OpenLearn(0);
        w->picBoard_MouseDown(0, 8, 1); // occupied
        QCOMPARE(data_->platform.beeps, 1);
        QVERIFY(data_->platform.messages.isEmpty());
        w->picBoard_MouseDown(19, 3, 1); // outside the board
        QCOMPARE(data_->platform.beeps, 2);
        w->picBoard_MouseDown(8, 0, 1); // legal but not stored
        QCOMPARE(data_->platform.beeps, 3);
        QCOMPARE(data_->platform.messages, QStringList{QStringLiteral("候補にありません")});
        QCOMPARE(w->state().historyDepth(), 0);
        QCOMPARE(w->state().timerAction, int16_t(kTimerIdle));
    }

    void hintShowsMarksWhileTheMessageIsUp() {
        auto w = OpenLearn(0);
        QString pictureDuring;
        int marksDuring = 0;
        data_->platform.onMessage = [&] {
            pictureDuring = frmLearn::PictureOf(w->cmdShowNext);
            marksDuring = DarkRedPixels(w->picBoard->image());
        };
        w->cmdShowNext_Click();
        QCOMPARE(data_->platform.messages, QStringList{QStringLiteral("次の手の候補です")});
        QCOMPARE(pictureDuring, QStringLiteral("quest001.bmp"));
        QVERIFY(marksDuring > 0);
        QCOMPARE(frmLearn::PictureOf(w->cmdShowNext), QStringLiteral("quest000.bmp"));
        QCOMPARE(DarkRedPixels(w->picBoard->image()), 0);
        QCOMPARE(data_->platform.beeps, 0);

        w->picBoard_MouseDown(2, 2, 1); // White to move: no hint
        w->cmdShowNext_Click();
        QCOMPARE(data_->platform.beeps, 1);
        QCOMPARE(data_->platform.messages.size(), 1);
    }

    void candidateKindsAtTheRoot() {
        auto w = OpenLearn(0);
        const std::vector<int> kinds =
            CandidateKinds(w->state().pos.children, w->state().pos.result);
        QVERIFY(kinds == (std::vector<int>{0, 1}));
    }

    void problemStepping_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("start");
        QTest::addColumn<bool>("forward");
        QTest::addColumn<QString>("prob");
        QTest::addColumn<QString>("question");

        QTest::newRow("learn, last to first") << 2 << 24 << true << "#1"
                                              << "";
        QTest::newRow("learn, first to last") << 2 << 0 << false << "#25"
                                              << "";
        QTest::newRow("learn, forward") << 2 << 3 << true << "#5"
                                        << "";
        QTest::newRow("review, last to first") << 1 << 9 << true << "#11"
                                               << "第１問";
        QTest::newRow("review, first to last") << 1 << 0 << false << "#20"
                                               << "第１０問";
    }
    void problemStepping() {
        QFETCH(int, mode);
        QFETCH(int, start);
        QFETCH(bool, forward);
        QFETCH(QString, prob);
        QFETCH(QString, question);

        gMode = static_cast<int16_t>(mode);
        gCourse = 0;
        gReviewCount = 10;
        for (int i = 0; i < 10; ++i)
            gAnswerSheet[static_cast<size_t>(i)].ProbNo = static_cast<int16_t>(10 + i);
        if (mode == 2)
            gProbNo = static_cast<int16_t>(start);
        else
            gQuestionNo = static_cast<int16_t>(start);
        frmLearn w;
        w.show();
        w.picBoard_MouseDown(2, 2, 1);
        if (forward)
            w.cmdNextProb_Click();
        else
            w.cmdPrevProb_Click();
        QCOMPARE(w.lblProb->text(), prob);
        QCOMPARE(w.lblQNth->isVisible(), mode != 2);
        if (mode != 2) QCOMPARE(w.lblQNth->text(), question);
        QCOMPARE(w.state().historyDepth(), 0);
        QCOMPARE(w.state().timerAction, int16_t(kTimerIdle));
    }

    void problemWithoutLines() {
        auto w = OpenLearn(3);
        QVERIFY(w->problemLoaded());
        QCOMPARE(w->lblComment->text(), QStringLiteral("この問題には手順が登録されていません。"));
        QCOMPARE(w->lblProbKekka->text(), QStringLiteral("黒先"));
        w->picBoard_MouseDown(2, 2, 1);
        QCOMPARE(w->state().historyDepth(), 0);
        w->cmdShowNext_Click();
        QCOMPARE(data_->platform.beeps, 1);
    }

    void emptyReviewEntryIsRefused() {
        gMode = 1;
        gReviewCount = 0; // a trial that asked nothing
        gQuestionNo = 0;  // never asked: no problem number
        frmLearn w;
        QVERIFY(!w.problemLoaded());
        QCOMPARE(w.lblComment->text(), QStringLiteral("この問題はありません。"));
        w.picBoard_MouseDown(2, 2, 1);
        w.cmdShowNext_Click();
        QCOMPARE(data_->platform.beeps, 1);
        w.cmdNextProb_Click(); // nothing to step through
        QCOMPARE(data_->platform.beeps, 2);
    }

    void soundOffPlaysNothing() {
        gPlayerRecord.SoundEffect = 1;
        SavePlayerFile(0);
        auto w = OpenLearn(0);
        w->picBoard_MouseDown(2, 2, 1);
        w->Timer1_Timer();
        QCOMPARE(w->state().historyDepth(), 2);
        QVERIFY(data_->platform.sounds.isEmpty());
    }

    void exitRemembersAndOpensThePicker() {
        auto w = OpenLearn(5);
        gPlayerRecord.LastProb = {0, 0, 0};
        w->cmdExit_Click();
        QVERIFY(data_->opened == std::vector<Role>{Role::Picker});
        QCOMPARE(data_->menuRefreshes, 0);
        gPlayerRecord = PlayerRecord{};
        QVERIFY(LoadPlayerFile(0));
        QCOMPARE(gPlayerRecord.LastProb[0], int16_t(5));
        QCOMPARE(gPlayerRecord.LastCourse, int16_t(0));
    }

    void exitInReviewGoesBackToTheReview() {
        gMode = 1;
        gReviewCount = 1;
        gAnswerSheet[0].ProbNo = 2;
        frmLearn w;
        w.show();
        QCOMPARE(w.lblQNth->text(), QStringLiteral("第１問"));
        QCOMPARE(w.lblProb->text(), QStringLiteral("#3"));
        w.cmdExit_Click();
        QVERIFY(data_->opened == std::vector<Role>{Role::Review});
        QVERIFY(!QFile::exists(DataFile(PlayerFileName(0)))); // nothing to remember
    }

    void closeBoxRemembersAndReturnsToTheMenu() {
        gCourse = 4;
        gMode = 2;
        gProbNo = 3;
        auto w = std::make_unique<frmLearn>();
        w->show();
        w->close();
        QCOMPARE(data_->menuRefreshes, 1);
        QVERIFY(data_->opened.empty());
        QVERIFY(!frmSource::IsLoaded());
        gPlayerRecord = PlayerRecord{};
        QVERIFY(LoadPlayerFile(0));
        QCOMPARE(gPlayerRecord.LastProb[1], int16_t(3));
        QCOMPARE(gPlayerRecord.LastCourse, int16_t(4));
    }

    void modeChangeOpensTheViewWindow() {
        auto w = OpenLearn(2);
        w->cmdModeChange_Click();
        QCOMPARE(gMode, int16_t(3));
        QVERIFY(data_->opened == std::vector<Role>{Role::View});
        QCOMPARE(gProbNo, int16_t(2));
        QCOMPARE(data_->menuRefreshes, 0);
    }
};

QTEST_MAIN(TestLearn)
#include "test_learn.moc"

// The history through the windows: the learn window writes each settled
// line, a failed write is told once and play goes on, and the picker shows
// the marks and the problems due for 復習 today.
#include "learnfixture.h"

#include "board/boardview.h"
#include "history/history.h"
#include "library/files.h"
#include "library/player.h"
#include "library/session.h"
#include "modes/learn/frmlearn.h"
#include "openlearn.h"
#include "selection/picker/frmselqrep.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QtTest>

#include <memory>

namespace {

Attempt Past(int problem, bool correct, int daysAgo) {
    Attempt a;
    a.player = 0;
    a.time = QDateTime(QDate::currentDate().addDays(-daysAgo), QTime(9, 0));
    a.mode = AttemptMode::Learn;
    a.dataSet = QStringLiteral("abc");
    a.problem = problem;
    a.best = 50;
    a.reached = correct ? 50 : 550;
    a.correct = correct;
    return a;
}

} // namespace

class TestHistoryRoad : public QObject {
    Q_OBJECT
    std::unique_ptr<LearnTestData> data_;

private slots:
    void init() {
        data_ = std::make_unique<LearnTestData>(StandardAbc(), Repeat(KillProblem(), 5),
                                                Repeat(KillProblem(), 3));
        gPlayerCount = 2;
        gCurPlayer = 1;
        QVERIFY(SavePlayerFile(1)); // the window reads the player's file
        SetHistoryDatabasePath(QString());
        ResetHistoryReports();
    }
    void cleanup() {
        gPlayerCount = 0;
        gCurPlayer = 0;
        data_.reset();
    }

    void learnWritesEachSettledLine() {
        auto w = OpenLearn(0, false);
        PlayLearn(*w, {{2, 2}, {5, 5}});
        QVERIFY(w->state().settled());
        w->cmdRew_Click();
        PlayLearn(*w, {{2, 2}, {4, 4}});
        const std::vector<Attempt> rows = AttemptsOf(1);
        QCOMPARE(rows.size(), size_t(2));
        QCOMPARE(int(rows[0].mode), int(AttemptMode::Learn));
        QCOMPARE(rows[0].dataSet, QStringLiteral("abc"));
        QCOMPARE(rows[0].problem, 0);
        QCOMPARE(rows[0].firstMove, 2 * 19 + 2);
        QCOMPARE(rows[0].reached, 550);
        QCOMPARE(rows[0].best, 50);
        QVERIFY(!rows[0].correct);
        QVERIFY(rows[1].correct);
        QVERIFY(AttemptsOf(0).empty()); // the other player
        QVERIFY(data_->platform.boxes.isEmpty());
    }

    void nobodyRegisteredWritesNothing() {
        gPlayerCount = 0;
        auto w = OpenLearn(0, false);
        PlayLearn(*w, {{1, 1}});
        QVERIFY(w->state().settled());
        QVERIFY(!QFile::exists(HistoryDatabasePath()));
    }

    void failedWriteIsToldOnceAndPlayGoesOn() {
        QVERIFY(QDir(data_->folder()).mkdir(QStringLiteral("vm2hist.db")));
        auto w = OpenLearn(0, false);
        PlayLearn(*w, {{1, 1}});
        QVERIFY(w->state().settled());
        QCOMPARE(data_->platform.boxes.size(), 1);
        QVERIFY(data_->platform.boxes[0].contains(QStringLiteral("書き込めませんでした")));
        w->cmdRew_Click();
        PlayLearn(*w, {{2, 2}, {4, 4}});
        QVERIFY(w->state().settled());
        QCOMPARE(w->lblComment->text(), QStringLiteral("正解です。『白死』になりました。"));
        QCOMPARE(data_->platform.boxes.size(), 1);
    }

    void pickerShowsMarksAndDueProblems() {
        gCurPlayer = 0;
        QVERIFY(RecordAttempt(Past(1, true, 0)));  // solved: ○, not due (never failed)
        QVERIFY(RecordAttempt(Past(2, false, 3))); // failed: ×, due
        QVERIFY(RecordAttempt(Past(3, false, 2))); // failed then solved yesterday: ○, due today
        QVERIFY(RecordAttempt(Past(3, true, 1)));
        QVERIFY(RecordAttempt(Past(14, false, 0))); // second page: due
        QVERIFY(RecordAttempt(Past(5, false, 9)));  // failed, solved today: not due yet
        QVERIFY(RecordAttempt(Past(5, true, 0)));
        gPlayerRecord = PlayerRecord{};
        QVERIFY(SavePlayerFile(0));
        gMode = 2;
        frmSelQRep w;
        w.show();
        QCOMPARE(w.lblTried[0]->isVisible(), false);
        QCOMPARE(w.lblTried[1]->text(), QStringLiteral("○"));
        QVERIFY(w.lblTried[1]->isVisible());
        QCOMPARE(w.lblTried[2]->text(), QStringLiteral("×"));
        QCOMPARE(w.lblTried[3]->text(), QStringLiteral("○"));
        QCOMPARE(w.lblTried[4]->isVisible(), false);
        QCOMPARE(w.lblDue->text(), QStringLiteral("今日の復習 ３問"));

        w.chkDue->setChecked(true);
        QCOMPARE(w.lblQNum[0]->text(), QStringLiteral("#3"));
        QCOMPARE(w.lblQNum[1]->text(), QStringLiteral("#4"));
        QCOMPARE(w.lblQNum[2]->text(), QStringLiteral("#15"));
        QVERIFY(!w.picBoard[3]->isVisible());
        QCOMPARE(w.lblBunbo->text(), QStringLiteral("1"));
        w.picBoard_Click(2);
        QCOMPARE(w.ChosenProblem(), 14);
        w.cmdGo_Click();
        QCOMPARE(gProbNo, int16_t(14));

        gPlayerRecord = PlayerRecord{};
        QVERIFY(LoadPlayerFile(0));
        QCOMPARE(gPlayerRecord.LastProb[0], int16_t(14)); // the real problem number
    }

    void dueToggleWithNothingDue() {
        gCurPlayer = 0;
        QVERIFY(SavePlayerFile(0));
        gMode = 2;
        frmSelQRep w;
        w.show();
        w.chkDue->setChecked(true);
        QCOMPARE(w.lblDue->text(), QStringLiteral("今日の復習 ０問"));
        for (QLabel* l : w.lblQNum)
            QVERIFY(!l->isVisible());
        const int beeps = data_->platform.beeps;
        w.cmdGo_Click();
        QCOMPARE(data_->platform.beeps, beeps + 1);
        w.chkDue->setChecked(false);
        QVERIFY(w.lblQNum[0]->isVisible());
    }
};

QTEST_MAIN(TestHistoryRoad)
#include "test_history_road.moc"

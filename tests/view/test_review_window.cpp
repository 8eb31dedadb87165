// The review window: the listed questions, their highlight, the answer mark,
// the question selected at opening and the four ways on.
#include "library/player.h"
#include "library/session.h"
#include "modes/review/frmhukusyu.h"
#include "platform/recordingplatform.h"
#include "tests/common/problemset.h"
#include "shell/router.h"

#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QColor kHighlight(255, 255, 128);

bool Highlighted(QRadioButton* opt) {
    return opt->autoFillBackground() && opt->palette().color(QPalette::Window) == kHighlight;
}

// A trial quit before its fourth answer: three answered (one correct with
// points, one correct after its points ran out, one wrong), the fourth asked
// but unanswered.
void QuitBeforeFourthAnswer() {
    ClearAnswerSheet();
    for (int i = 0; i < 4; ++i) {
        AnswerEntry& e = gAnswerSheet[size_t(i)];
        e.ProbNo = int16_t(20 + i);
        e.BoardLines = 13;
        e.StartBoard[size_t(2 + 19 * 2)] = kWhite;
    }
    gAnswerSheet[0].Points = 143;
    gAnswerSheet[0].AnswerX = 3;
    gAnswerSheet[0].AnswerY = 1;
    gAnswerSheet[1].Points = 0; // correct, but too slow to score
    gAnswerSheet[1].AnswerX = 4;
    gAnswerSheet[1].AnswerY = 4;
    gAnswerSheet[2].Points = 0;
    gAnswerSheet[2].AnswerX = 0;
    gAnswerSheet[2].AnswerY = 5;
    gQuestionNo = 3; // the trial stopped on its fourth question
}

} // namespace

class TestReviewWindow : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    ScopedRecordingPlatform* platform_ = nullptr;
    QStringList opened_;
    int menuRefreshes_ = 0;

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        QVERIFY(WriteProblemSet(dir_.path(), {TreeBuilder().problem()}));
        QVERIFY(WriteBoardPictures(dir_.path()));
        gCurPlayer = 0;
        for (auto [role, name] : {std::pair{Role::Learn, "learn"}, std::pair{Role::View, "view"},
                                  std::pair{Role::Trial, "trial"}}) {
            const QString n = QString::fromLatin1(name);
            RegisterWindow(role, [this, n] {
                opened_ << n;
                return new QWidget;
            });
        }
        SetMenuRefresh([this] { ++menuRefreshes_; });
    }
    void init() {
        platform_ = new ScopedRecordingPlatform;
        opened_.clear();
        menuRefreshes_ = 0;
        gMode = 1;
        gCourse = 0;
    }
    void cleanup() { delete platform_; }

    // Runs first: nothing has been reviewed in this run yet.
    void firstOpeningSelectsFirstQuestion() {
        QCOMPARE(gReviewCount, int16_t(0));
        QuitBeforeFourthAnswer();
        frmHukusyu w;
        QCOMPARE(w.windowTitle(), QStringLiteral("復習"));
        QCOMPARE(gReviewCount, int16_t(4));
        QVERIFY(w.optQuestion[0]->isChecked());
        QCOMPARE(gQuestionNo, int16_t(0));
        QCOMPARE(gProbNo, int16_t(20));
        QCOMPARE(w.lblQuestion->text(), QStringLiteral("#21"));
        QCOMPARE(w.lblDoing->text(), QStringLiteral("復習する問題を選んでください"));
    }

    void quitBeforeFourthAnswerListsFour() {
        QuitBeforeFourthAnswer();
        frmHukusyu w;
        for (int i = 0; i < 10; ++i)
            QCOMPARE(w.optQuestion[size_t(i)]->isHidden(), i >= 4);
        QCOMPARE(w.optQuestion[0]->text(), QStringLiteral("第１問"));
        QCOMPARE(w.optQuestion[3]->text(), QStringLiteral("第４問"));
        QCOMPARE(w.optQuestion[3]->objectName(), QStringLiteral("optQuestion_3"));
        QVERIFY(!Highlighted(w.optQuestion[0]));
        QVERIFY(Highlighted(w.optQuestion[1]));
        QVERIFY(Highlighted(w.optQuestion[2]));
        QVERIFY(Highlighted(w.optQuestion[3]));
        // Two columns of five.
        QCOMPARE(w.optQuestion[3]->y() - w.optQuestion[0]->y(), 3 * 48);
        QCOMPARE(w.optQuestion[3]->x(), w.optQuestion[0]->x());

        QVERIFY(w.optQuestion[3]->isChecked()); // the question the trial stopped on
        w.optQuestion[0]->click();
        QCOMPARE(w.picBoard->mark(), QStringLiteral("○"));
        w.optQuestion[1]->click();
        QCOMPARE(w.picBoard->mark(), QStringLiteral("×"));
        QCOMPARE(gQuestionNo, int16_t(1));
        QCOMPARE(gProbNo, int16_t(21));
        w.optQuestion[2]->click();
        QCOMPARE(w.picBoard->mark(), QStringLiteral("×"));
        w.optQuestion[3]->click();
        QVERIFY(w.picBoard->mark().isEmpty());
        QCOMPARE(w.lblQuestion->text(), QStringLiteral("#24"));
        QCOMPARE(w.picBoard->metrics().gBoardLines, int16_t(13));
    }

    void markPlacedAtTheAnswer() {
        QuitBeforeFourthAnswer();
        gAnswerSheet[0].BoardLines = 19;
        frmHukusyu w;
        w.optQuestion[0]->click();
        const BoardMetrics& m = w.picBoard->metrics();
        QCOMPARE(m.gBoardLines, int16_t(19));
        // Column 3, row 1, then back by two.
        const int cell = m.gBoardW / 19;
        const QPoint place = w.picBoard->markPlace();
        QVERIFY(qAbs(place.x() - (cell * 3 + m.gStoneSize / 8 - 2)) <= 1);
        QVERIFY(qAbs(place.y() - (cell * 1 + m.gStoneSize / 8 - 3)) <= 1);
    }

    void tenthQuestionCaption() {
        ClearAnswerSheet();
        for (int i = 0; i < 10; ++i) {
            gAnswerSheet[size_t(i)].ProbNo = int16_t(i);
            gAnswerSheet[size_t(i)].Points = 100;
        }
        gQuestionNo = 10; // after a finished trial
        frmHukusyu w;
        QCOMPARE(w.optQuestion[9]->text(), QStringLiteral("第10問"));
        QVERIFY(!w.optQuestion[9]->isHidden());
        QCOMPARE(w.optQuestion[5]->y(), w.optQuestion[0]->y());
        QCOMPARE(w.optQuestion[5]->x() - w.optQuestion[0]->x(), 120);
        QVERIFY(w.optQuestion[0]->isChecked());
        QVERIFY(!Highlighted(w.optQuestion[9]));
    }

    void returnFromLearnSelectsQuestionStudied() {
        QuitBeforeFourthAnswer();
        {
            frmHukusyu w;
            w.optQuestion[2]->click();
            w.cmdReStudy->click();
            QCOMPARE(opened_, QStringList{QStringLiteral("learn")});
            QCOMPARE(menuRefreshes_, 0);
        }
        QCOMPARE(gQuestionNo, int16_t(2));
        QCOMPARE(gProbNo, int16_t(22));
        // The learn window stepped on to question 4 and came back.
        gQuestionNo = 3;
        frmHukusyu again;
        QVERIFY(again.optQuestion[3]->isChecked());
        QCOMPARE(gProbNo, int16_t(23));
    }

    void quitAtFourthAfterShorterList() {
        // An earlier opening listed three questions only: 第４問 is not kept.
        ClearAnswerSheet();
        for (int i = 0; i < 3; ++i)
            gAnswerSheet[size_t(i)].ProbNo = int16_t(i);
        gQuestionNo = 0;
        { frmHukusyu first; }
        QCOMPARE(gReviewCount, int16_t(3));
        QuitBeforeFourthAnswer();
        frmHukusyu w;
        QVERIFY(w.optQuestion[0]->isChecked());
    }

    void waysOn_data() {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("window");
        QTest::newRow("learn") << QStringLiteral("cmdReStudy") << QStringLiteral("learn");
        QTest::newRow("view") << QStringLiteral("cmdReView") << QStringLiteral("view");
        QTest::newRow("next trial") << QStringLiteral("cmdRetry") << QStringLiteral("trial");
        QTest::newRow("menu") << QStringLiteral("cmdExit") << QString();
    }
    void waysOn() {
        QFETCH(QString, button);
        QFETCH(QString, window);
        QuitBeforeFourthAnswer();
        frmHukusyu w;
        w.show();
        auto* b = w.findChild<QPushButton*>(button);
        QVERIFY(b);
        b->click();
        QVERIFY(!w.isVisible());
        QCOMPARE(opened_, window.isEmpty() ? QStringList{} : QStringList{window});
        QCOMPARE(menuRefreshes_, window.isEmpty() ? 1 : 0);
        QCOMPARE(gCourse, int16_t(0));
    }

    void closeBoxReturnsToMenu() {
        QuitBeforeFourthAnswer();
        frmHukusyu w;
        w.show();
        w.close();
        QCOMPARE(menuRefreshes_, 1);
        QVERIFY(opened_.isEmpty());
    }

    void noQuestionAsked() {
        ClearAnswerSheet();
        gQuestionNo = 0;
        frmHukusyu w;
        QCOMPARE(gReviewCount, int16_t(0));
        for (QRadioButton* opt : w.optQuestion)
            QVERIFY(opt->isHidden());
        QVERIFY(!w.cmdReStudy->isEnabled());
        QVERIFY(!w.cmdReView->isEnabled());
        QVERIFY(w.cmdRetry->isEnabled());
        QVERIFY(w.picBoard->mark().isEmpty());
    }
};

QTEST_MAIN(TestReviewWindow)
#include "test_review_window.moc"

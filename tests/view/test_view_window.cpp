// The view window: options, play buttons, the timer, examining and leaving.
#include "library/courses.h"
#include "library/files.h"
#include "library/player.h"
#include "library/session.h"
#include "modes/view/frmview.h"
#include "platform/recordingplatform.h"
#include "rules/outcome.h"
#include "shell/router.h"
#include "tests/common/problemset.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

int16_t At(const Board& b, int x, int y) {
    return b[size_t(x + 19 * y)];
}

// 0: one line of four moves; B (0,1) takes the white stone at (0,0).
Problem CaptureLine() {
    TreeBuilder t;
    t.white({{0, 0}}).black({{1, 0}});
    t.line(kRoot, {{0, 1}, {4, 4}, {5, 5}, {6, 6}}, 5);
    return t.problem();
}

// 1: three lines valued 2000, 2000, 1800.
Problem ThreeLines() {
    TreeBuilder t;
    t.node(kRoot, 2, 0, 20, 0, 1);
    t.node(kRoot, 0, 1, 5, 0, 1);
    t.node(kRoot, 1, 1, 10, 0, 1);
    return t.problem();
}

// 2: the best line 白死, the failure line turns into 白生き at its first move.
Problem FailureLine() {
    TreeBuilder t;
    t.node(kRoot, 2, 2, 5, 0, 1);
    t.line(kRoot, {{3, 3}, {4, 4}}, 55);
    return t.problem();
}

// 3: a tree without any stored line.
Problem NoLine() {
    TreeBuilder t;
    t.node(kRoot, 3, 3, 5, 0, 0);
    return t.problem();
}

bool Active(QPushButton* b, const QString& base) {
    const QString picture = b->property("picture").toString();
    const bool active = picture == base + QStringLiteral("000.bmp");
    const bool inactive = picture == base + QStringLiteral("002.bmp");
    if (active == inactive || active != b->isEnabled())
        qWarning() << "button" << b->objectName() << picture;
    return active && b->isEnabled();
}

// Runs `during` while the stone sound of a step plays (the step waits for the
// sound's end, so the user can press buttons meanwhile).
class InterruptingPlatform : public RecordingPlatform {
public:
    std::function<void()> during;
    void playSound(const QString& path, bool toEnd) override {
        RecordingPlatform::playSound(path, toEnd);
        if (auto f = std::exchange(during, nullptr)) f();
    }
};

// Ticks until the action is done (at most `limit` ticks).
void TickUntilIdle(frmView& w, int limit = 500) {
    for (int i = 0; i < limit && w.TimerAction() != frmView::Idle; ++i)
        w.Timer1Tick();
}

} // namespace

class TestViewWindow : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    ScopedRecordingPlatform* platform_ = nullptr;
    QStringList opened_;

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        QVERIFY(
            WriteProblemSet(dir_.path(), {CaptureLine(), ThreeLines(), FailureLine(), NoLine()}));
        QVERIFY(WriteBoardPictures(dir_.path()));
        QFile wav(dir_.filePath(QStringLiteral("stone.wav")));
        QVERIFY(wav.open(QIODevice::WriteOnly));
        wav.write("RIFF");
        wav.close();
        InitOutcomeTable();
        gCurPlayer = 0;
        for (auto [role, name] :
             {std::pair{Role::Picker, "picker"}, std::pair{Role::Learn, "learn"},
              std::pair{Role::Review, "review"}}) {
            const QString n = QString::fromLatin1(name);
            RegisterWindow(role, [this, n] {
                opened_ << n;
                return new QWidget;
            });
        }
    }
    void init() {
        platform_ = new ScopedRecordingPlatform;
        opened_.clear();
        gMode = 3;
        gCourse = 0;
        gProbNo = 0;
    }
    void cleanup() { delete platform_; }

    void singleLineShowsOneOption() {
        frmView w;
        QCOMPARE(w.windowTitle(), QStringLiteral("鑑賞"));
        QVERIFY(!w.optRepresent[0]->isHidden());
        QVERIFY(w.optRepresent[0]->text().startsWith(QStringLiteral("正解　")));
        QCOMPARE(w.optRepresent[0]->text(), QStringLiteral("正解　 - 白死"));
        for (int i = 1; i < 4; ++i)
            QVERIFY(w.optRepresent[size_t(i)]->isHidden());
        QVERIFY(w.lblQNth->isHidden());
        QCOMPARE(w.lblProb->text(), QStringLiteral("#1"));
        QCOMPARE(w.lblProbKekka->text(), QStringLiteral("黒先白死"));
        QCOMPARE(w.lblNth->text(), QStringLiteral("１手"));
        QCOMPARE(w.lblTeban->text(), QStringLiteral("黒番"));
        QVERIFY(w.lblNowKekka->isHidden());
        QVERIFY(w.lblMouse->isHidden());
    }

    void threeLinesHideTheFourth() {
        gProbNo = 1;
        frmView w;
        QCOMPARE(w.optRepresent[0]->text(), QStringLiteral("正解１ - 白死"));
        QCOMPARE(w.optRepresent[1]->text(), QStringLiteral("正解２ - 黒生き"));
        QCOMPARE(w.optRepresent[2]->text(), QStringLiteral("失敗　 - １手ヨセコウ(黒有利)"));
        QVERIFY(w.optRepresent[3]->isHidden());
        QVERIFY(w.optRepresent[0]->isChecked());
        QCOMPARE(w.optRepresent[3]->objectName(), QStringLiteral("optRepresent_3"));
        // Choosing the third line shows its move.
        w.optRepresent[2]->click();
        QCOMPARE(w.replay().ReplIndex, 2);
        w.cmdNext->click();
        w.Timer1Tick();
        QCOMPARE(At(w.replay().board, 2, 0), kBlack);
    }

    void buttonsAtBothEnds() {
        frmView w;
        QVERIFY(!Active(w.cmdRew, QStringLiteral("toroo")));
        QVERIFY(!Active(w.cmdPrev, QStringLiteral("1prev")));
        QVERIFY(Active(w.cmdPlayStop, QStringLiteral("playi")));
        QVERIFY(Active(w.cmdQue, QStringLiteral("tobot")));
        QVERIFY(Active(w.cmdNext, QStringLiteral("1forw")));
        QVERIFY(!Active(w.cmdStop, QStringLiteral("stopi")));

        w.cmdQue->click();
        QCOMPARE(w.TimerAction(), int(frmView::PlayForward));
        QCOMPARE(w.Timer1->interval(), 5);
        QVERIFY(Active(w.cmdStop, QStringLiteral("stopi")));
        QVERIFY(!Active(w.cmdPlayStop, QStringLiteral("playi")));
        QVERIFY(!Active(w.cmdRew, QStringLiteral("toroo")));
        TickUntilIdle(w);
        QCOMPARE(w.replay().gNowNth, 4);
        QVERIFY(!Active(w.cmdPlayStop, QStringLiteral("playi")));
        QVERIFY(!Active(w.cmdQue, QStringLiteral("tobot")));
        QVERIFY(!Active(w.cmdNext, QStringLiteral("1forw")));
        QVERIFY(!Active(w.cmdStop, QStringLiteral("stopi")));
        QVERIFY(Active(w.cmdRew, QStringLiteral("toroo")));
        QVERIFY(Active(w.cmdPrev, QStringLiteral("1prev")));
        QVERIFY(!w.lblNowKekka->isHidden());
        QCOMPARE(w.lblNowKekka->text(), QStringLiteral("「白死」になりました"));
        QVERIFY(!w.Timer1->isActive());
        QCOMPARE(int(platform_->platform.sounds.size()), 4);
        QVERIFY(platform_->platform.sounds[0].toEnd);
        QVERIFY(platform_->platform.messages.isEmpty());

        w.cmdRew->click();
        QCOMPARE(w.TimerAction(), int(frmView::PlayBackward));
        TickUntilIdle(w);
        QCOMPARE(w.replay().gNowNth, 0);
        QVERIFY(!Active(w.cmdRew, QStringLiteral("toroo")));
        QVERIFY(Active(w.cmdPlayStop, QStringLiteral("playi")));
        QVERIFY(w.lblNowKekka->isHidden());
    }

    void nextActsAtTheNextTick() {
        frmView w;
        w.cmdNext->click();
        QCOMPARE(w.replay().gNowNth, 0);
        QCOMPARE(w.TimerAction(), int(frmView::OneForward));
        QCOMPARE(w.Timer1->interval(), 1000);
        QVERIFY(w.Timer1->isActive());
        QVERIFY(Active(w.cmdNext, QStringLiteral("1forw"))); // unchanged until the step
        QVERIFY(!Active(w.cmdPrev, QStringLiteral("1prev")));
        w.Timer1Tick();
        QCOMPARE(w.replay().gNowNth, 1);
        QCOMPARE(w.TimerAction(), int(frmView::Idle));
        QVERIFY(Active(w.cmdPrev, QStringLiteral("1prev")));
        QCOMPARE(w.lblNth->text(), QStringLiteral("２手"));
        QCOMPARE(w.lblTeban->text(), QStringLiteral("白番"));
        w.Timer1Tick(); // idle: nothing
        QCOMPARE(w.replay().gNowNth, 1);
    }

    void stepBackPutsCapturedStoneBack() {
        frmView w;
        w.cmdNext->click();
        w.Timer1Tick();
        QCOMPARE(At(w.replay().board, 0, 0), kEmpty);
        w.cmdPrev->click();
        QCOMPARE(w.replay().gNowNth, 1);
        w.Timer1Tick();
        QCOMPARE(w.replay().gNowNth, 0);
        QCOMPARE(At(w.replay().board, 0, 0), kWhite);
        QCOMPARE(At(w.replay().board, 0, 1), kEmpty);
        QCOMPARE(w.TimerAction(), int(frmView::Idle));
    }

    void stopHaltsPlaying() {
        frmView w;
        w.cmdPlayStop->click();
        QCOMPARE(w.Timer1->interval(), 1000);
        w.Timer1Tick();
        w.cmdStop->click();
        QCOMPARE(w.TimerAction(), int(frmView::Idle));
        w.Timer1Tick();
        QCOMPARE(w.replay().gNowNth, 1);
        QVERIFY(Active(w.cmdPlayStop, QStringLiteral("playi")));
    }

    void badMoveMessage() {
        gProbNo = 2;
        frmView w;
        w.optRepresent[1]->click();
        w.cmdPlayStop->click();
        TickUntilIdle(w);
        QCOMPARE(w.replay().gNowNth, 2);
        QCOMPARE(platform_->platform.messages, QStringList{QStringLiteral("悪手です")});
        QCOMPARE(w.lblNowKekka->text(), QStringLiteral("「白生き」になりました"));
    }

    void examineAfterThreeMoves() {
        frmView w;
        for (int i = 0; i < 3; ++i) {
            w.cmdNext->click();
            w.Timer1Tick();
        }
        const Board afterThree = w.replay().board;
        w.cmdExamine->click();
        QCOMPARE(w.cmdExamine->text(), QStringLiteral("検討終了"));
        QCOMPARE(w.lblNth->text(), QStringLiteral("４手"));
        QCOMPARE(w.lblTeban->text(), QStringLiteral("白番"));
        QVERIFY(!w.lblMouse->isHidden());
        QVERIFY(!w.cmdExit->isEnabled());
        QVERIFY(!w.cmdNextProb->isEnabled());
        QVERIFY(!w.optRepresent[0]->isEnabled());
        QVERIFY(w.cmdModeChange->isEnabled());
        for (QPushButton* b : {w.cmdRew, w.cmdPrev, w.cmdPlayStop, w.cmdQue, w.cmdNext, w.cmdStop})
            QVERIFY(!b->isEnabled());

        w.BoardPressed(10, 10, 1);
        QCOMPARE(At(w.replay().board, 10, 10), kWhite);
        QCOMPARE(w.lblNth->text(), QStringLiteral("５手"));
        QCOMPARE(w.lblTeban->text(), QStringLiteral("黒番"));
        const int beeps = platform_->platform.beeps;
        w.BoardPressed(10, 10, 1); // occupied
        QCOMPARE(platform_->platform.beeps, beeps + 1);
        w.BoardPressed(11, 11, 1);
        QCOMPARE(At(w.replay().board, 11, 11), kBlack);
        w.BoardPressed(0, 0, 2); // right: take back
        QCOMPARE(At(w.replay().board, 11, 11), kEmpty);
        QCOMPARE(w.lblNth->text(), QStringLiteral("５手"));

        w.cmdExamine->click();
        QCOMPARE(w.cmdExamine->text(), QStringLiteral("検討"));
        QVERIFY(w.lblMouse->isHidden());
        QVERIFY(w.cmdExit->isEnabled());
        QCOMPARE(w.replay().board, afterThree);
        QCOMPARE(w.replay().gNowNth, 3);
        QCOMPARE(w.lblNth->text(), QStringLiteral("４手"));
        QVERIFY(Active(w.cmdPrev, QStringLiteral("1prev")));
        QVERIFY(Active(w.cmdNext, QStringLiteral("1forw")));
        QCOMPARE(w.lblProbKekka->text(), QStringLiteral("黒先白死"));
        // The line goes on to its end from there.
        w.cmdNext->click();
        w.Timer1Tick();
        QCOMPARE(w.lblNowKekka->text(), QStringLiteral("「白死」になりました"));
    }

    void examineStopsReplayFirst() {
        frmView w;
        w.cmdPlayStop->click();
        w.Timer1Tick();
        w.cmdExamine->click();
        QCOMPARE(w.TimerAction(), int(frmView::Idle));
        QVERIFY(!w.Timer1->isActive());
        const Board shown = w.replay().board;
        w.Timer1Tick();
        QCOMPARE(w.replay().board, shown);
    }

    void buttonsPressedDuringTheStoneSound_data() {
        QTest::addColumn<QString>("button");
        QTest::newRow("stop") << QStringLiteral("cmdStop");
        QTest::newRow("examine") << QStringLiteral("cmdExamine");
    }
    void buttonsPressedDuringTheStoneSound() {
        QFETCH(QString, button);
        InterruptingPlatform interrupting;
        SetPlatform(&interrupting);
        frmView w;
        w.cmdPlayStop->click();
        interrupting.during = [&] {
            // The playing buttons are set; stop is the active one.
            if (button == QLatin1String("cmdStop"))
                w.cmdStop->click();
            else
                w.cmdExamine->click();
        };
        w.Timer1Tick();
        QCOMPARE(w.replay().gNowNth, 1);
        QCOMPARE(w.TimerAction(), int(frmView::Idle));
        QVERIFY(!w.Timer1->isActive());
        const Board shown = w.replay().board;
        w.Timer1Tick();
        QCOMPARE(w.replay().board, shown);
        SetPlatform(&platform_->platform);
    }

    void windowClosedDuringTheStoneSound() {
        InterruptingPlatform interrupting;
        SetPlatform(&interrupting);
        QPointer<frmView> w = new frmView;
        w->cmdPlayStop->click();
        interrupting.during = [&] { delete w.data(); };
        w->Timer1Tick();
        QVERIFY(w.isNull());
        SetPlatform(&platform_->platform);
    }

    void pressOutsideExamineBeeps() {
        frmView w;
        w.BoardPressed(3, 3, 1);
        QCOMPARE(platform_->platform.beeps, 1);
        QCOMPARE(At(w.replay().board, 3, 3), kEmpty);
    }

    // While examining, presses outside the drawn lines beep and neither play
    // nor take back a move.
    void pressesOutsideTheDrawnLinesWhileExamining_data() {
        QTest::addColumn<int>("x");
        QTest::addColumn<int>("y");
        QTest::addColumn<int>("buttons");
        QTest::newRow("past the last column") << 19 << 3 << 1;
        QTest::newRow("on the frame") << -1 << -1 << 1;
        QTest::newRow("right button on the frame") << -1 << -1 << 2;
    }
    void pressesOutsideTheDrawnLinesWhileExamining() {
        QFETCH(int, x);
        QFETCH(int, y);
        QFETCH(int, buttons);
        frmView w;
        w.cmdExamine->click();
        w.BoardPressed(10, 10, 1);
        const Board shown = w.replay().board;
        w.BoardPressed(x, y, buttons);
        QCOMPARE(platform_->platform.beeps, 1);
        QCOMPARE(w.replay().board, shown);
        QCOMPARE(w.replay().problem().hands, int16_t(1));
    }

    // Another window loading and selecting a problem meanwhile changes
    // neither the line this window replays nor where its problem buttons lead.
    void anotherWindowChangesNothingHere() {
        frmView w; // problem 0: B (0,1) takes the white stone at (0,0)
        gMode = 1;
        ClearAnswerSheet();
        gAnswerSheet[0].ProbNo = 2;
        gReviewCount = 1;
        gQuestionNo = 0;
        frmView other; // the failure-line problem, opened as from the review
        QCOMPARE(other.lblQNth->text(), QStringLiteral("第１問"));

        w.cmdNext->click();
        w.Timer1Tick();
        QCOMPARE(At(w.replay().board, 0, 1), kBlack);
        QCOMPARE(At(w.replay().board, 0, 0), kEmpty);
        QCOMPARE(w.replay().problem().hands, int16_t(4));
        w.cmdNextProb->click();
        QCOMPARE(w.lblProb->text(), QStringLiteral("#2"));
        QVERIFY(w.lblQNth->isHidden());
        w.cmdExit->click();
        QCOMPARE(opened_, QStringList{QStringLiteral("picker")});
        QCOMPARE(gMode, int16_t(3));
        QCOMPARE(gProbNo, int16_t(1));
    }

    void problemWithoutLines() {
        gProbNo = 3;
        frmView w;
        for (QRadioButton* opt : w.optRepresent)
            QVERIFY(opt->isHidden());
        for (QPushButton* b : {w.cmdRew, w.cmdPrev, w.cmdPlayStop, w.cmdQue, w.cmdNext, w.cmdStop})
            QVERIFY(!b->isEnabled());
        QVERIFY(!w.lblNowKekka->isHidden());
        // Examining still works.
        w.cmdExamine->click();
        w.BoardPressed(5, 5, 1);
        QCOMPARE(At(w.replay().board, 5, 5), kBlack);
    }

    void problemButtonsWrap() {
        frmView w;
        w.cmdPrevProb->click();
        QCOMPARE(gProbNo, int16_t(3));
        QCOMPARE(w.lblProb->text(), QStringLiteral("#4"));
        w.cmdNextProb->click();
        QCOMPARE(gProbNo, int16_t(0));
        QCOMPARE(w.lblProb->text(), QStringLiteral("#1"));
    }

    void reviewSettingStepsQuestions() {
        gMode = 1;
        ClearAnswerSheet();
        gAnswerSheet[0].ProbNo = 2;
        gAnswerSheet[1].ProbNo = 1;
        gReviewCount = 2;
        gQuestionNo = 1;
        frmView w;
        QVERIFY(!w.lblQNth->isHidden());
        QCOMPARE(w.lblQNth->text(), QStringLiteral("第２問"));
        QCOMPARE(gProbNo, int16_t(1));
        QCOMPARE(w.lblProb->text(), QStringLiteral("#2"));
        w.cmdNextProb->click();
        QCOMPARE(gQuestionNo, int16_t(0));
        QCOMPARE(gProbNo, int16_t(2));
        w.cmdExit->click();
        QCOMPARE(opened_, QStringList{QStringLiteral("review")});
    }

    void exitRemembersProblem() {
        gProbNo = 2;
        frmView w;
        gPlayerRecord.LastProb = {0, 0, 0};
        w.cmdExit->click();
        QCOMPARE(opened_, QStringList{QStringLiteral("picker")});
        QVERIFY(LoadPlayerFile(0));
        QCOMPARE(gPlayerRecord.LastProb[0], int16_t(2));
        QCOMPARE(gPlayerRecord.LastCourse, int16_t(0));
    }

    void modeChangeOpensLearn() {
        frmView w;
        w.cmdModeChange->click();
        QCOMPARE(gMode, int16_t(2));
        QCOMPARE(opened_, QStringList{QStringLiteral("learn")});
    }

    void problemPastTheEndIsRefused() {
        gProbNo = 99;
        frmView w;
        QCOMPARE(platform_->platform.boxes.size(), 1);
        for (QRadioButton* opt : w.optRepresent)
            QVERIFY(opt->isHidden());
        QVERIFY(platform_->platform.beeps >= 1);
    }
};

QTEST_MAIN(TestViewWindow)
#include "test_view_window.moc"

// The road after a trial: the review, studying a missed question in the learn
// and view windows (examining a variation on the way), coming back to the
// same question each time, and the next trial from the review.
#include "library/player.h"
#include "library/session.h"
#include "modes/learn/frmlearn.h"
#include "modes/review/frmhukusyu.h"
#include "modes/view/frmview.h"
#include "platform/recordingplatform.h"
#include "rules/outcome.h"
#include "shell/router.h"
#include "tests/common/problemset.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

namespace {

Problem Lines(int x) {
    TreeBuilder t;
    t.white({{0, 0}}).black({{1, 0}});
    t.line(kRoot, {{0, 1}, {4, 4}, {5, 5}}, 5);
    t.line(kRoot, {{x, 3}, {6, 6}}, 55);
    return t.problem();
}

// The one visible window of type W, after deferred deletes have run.
template <typename W> W* Shown() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    W* found = nullptr;
    int count = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* candidate = qobject_cast<W*>(w); candidate && candidate->isVisible()) {
            found = candidate;
            ++count;
        }
    }
    return count == 1 ? found : nullptr;
}

int VisibleWindows() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    int count = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible()) ++count;
    return count;
}

} // namespace

class TestViewRoad : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    int menuRefreshes_ = 0;
    int trialsOpened_ = 0;

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        QVERIFY(WriteProblemSet(dir_.path(), {Lines(7), Lines(8), Lines(9)}));
        QVERIFY(WriteBoardPictures(dir_.path()));
        InitOutcomeTable();
        SetCommentLists({}); // this program folder has none
        gCurPlayer = 0;
        RegisterWindow(Role::Review, [] { return new frmHukusyu; });
        RegisterWindow(Role::Learn, [] { return new frmLearn; });
        RegisterWindow(Role::View, [] { return new frmView; });
        RegisterWindow(Role::Trial, [this] {
            ++trialsOpened_;
            return new QWidget;
        });
        SetMenuRefresh([this] { ++menuRefreshes_; });
    }

    void studyAMissedQuestionAndGoOn() {
        ScopedRecordingPlatform platform;
        // A trial quit after three questions; the second scored nothing.
        gMode = 1;
        gCourse = 0;
        ClearAnswerSheet();
        for (int i = 0; i < 3; ++i) {
            AnswerEntry& e = gAnswerSheet[size_t(i)];
            e.ProbNo = int16_t(2 - i);
            e.Points = i == 1 ? 0 : 120;
            e.AnswerX = 0;
            e.AnswerY = 1;
        }
        gQuestionNo = 2;
        gReviewCount = 0;

        QVERIFY(OpenWindow(Role::Review));
        frmHukusyu* review = Shown<frmHukusyu>();
        QVERIFY(review);
        QVERIFY(review->optQuestion[0]->isChecked());
        review->optQuestion[1]->click();
        QCOMPARE(gProbNo, int16_t(1));

        // Learn the missed problem, then back to the review.
        review->cmdReStudy->click();
        frmLearn* learn = Shown<frmLearn>();
        QVERIFY(learn);
        QVERIFY(!Shown<frmHukusyu>());
        QCOMPARE(gProbNo, int16_t(1));
        learn->cmdExit->click();
        review = Shown<frmHukusyu>();
        QVERIFY(review);
        QVERIFY(review->optQuestion[1]->isChecked());

        // View it and examine a variation.
        review->cmdReView->click();
        frmView* view = Shown<frmView>();
        QVERIFY(view);
        QCOMPARE(view->lblQNth->text(), QStringLiteral("第２問"));
        QCOMPARE(view->lblProb->text(), QStringLiteral("#2"));
        view->cmdNext->click();
        view->Timer1Tick();
        view->cmdExamine->click();
        view->BoardPressed(12, 12, 1);
        view->BoardPressed(13, 12, 1);
        QCOMPARE(view->lblNth->text(), QStringLiteral("４手"));
        view->cmdExamine->click();
        QCOMPARE(view->lblNth->text(), QStringLiteral("２手"));
        QCOMPARE(view->replay().problem().hands, int16_t(5));

        // Over to learn and back to view on the same question.
        view->cmdModeChange->click();
        QCOMPARE(gMode, int16_t(1));
        learn = Shown<frmLearn>();
        QVERIFY(learn);
        learn->cmdModeChange->click();
        view = Shown<frmView>();
        QVERIFY(view);
        QCOMPARE(view->lblQNth->text(), QStringLiteral("第２問"));
        // Stepping to the next question there; the review then selects it.
        view->cmdNextProb->click();
        QCOMPARE(view->lblQNth->text(), QStringLiteral("第３問"));
        view->cmdExit->click();
        review = Shown<frmHukusyu>();
        QVERIFY(review);
        QVERIFY(review->optQuestion[2]->isChecked());
        QCOMPARE(gProbNo, int16_t(0));

        // The next trial on the same course.
        review->cmdRetry->click();
        QCOMPARE(trialsOpened_, 1);
        QVERIFY(!Shown<frmHukusyu>());
        QCOMPARE(gCourse, int16_t(0));
        QCOMPARE(menuRefreshes_, 0);
        QCOMPARE(VisibleWindows(), 1); // only the new trial
        QCOMPARE(platform->beeps, 0);
    }
};

QTEST_MAIN(TestViewRoad)
#include "test_view_road.moc"

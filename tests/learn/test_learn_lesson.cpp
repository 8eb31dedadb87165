// The learn window after a line settled below the best result: the wrong
// move crossed, the right moves circled, the verdict saying which move it
// was, and the hint going back there.
#include "learnfixture.h"
#include "modes/learn/frmlearn.h"
#include "modes/learn/learnlesson.h"
#include "openlearn.h"

#include "board/boardview.h"
#include "library/session.h"

#include <QLabel>
#include <QTimer>
#include <QtTest>

#include <memory>

using namespace learn;

namespace {

// Pixels of exactly `colour` in the cell of point (x, y).
int MarkPixels(const BoardView& board, int x, int y, const QColor& colour) {
    const BoardMetrics& m = board.metrics();
    const int cx = PointToPixel(m, x);
    const int cy = PointToPixel(m, y);
    const int h = m.gStoneSize / 2 + 1;
    int n = 0;
    const QImage& img = board.image();
    for (int py = cy - h; py <= cy + h; ++py)
        for (int px = cx - h; px <= cx + h; ++px)
            if (img.rect().contains(px, py) && img.pixelColor(px, py) == colour) ++n;
    return n;
}

int AllPixels(const QImage& img, const QColor& colour) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (img.pixelColor(x, y) == colour) ++n;
    return n;
}

} // namespace

class TestLearnLesson : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<LearnTestData> data_;

private slots:
    void init() {
        data_ = std::make_unique<LearnTestData>(StandardAbc(), Repeat(KillProblem(), 5),
                                                Repeat(KillProblem(), 3));
    }
    void cleanup() { data_.reset(); }

    void marksWhereTheLineWentWrong_data() {
        QTest::addColumn<int>("probNo");
        QTest::addColumn<QList<QPoint>>("moves");
        QTest::addColumn<QPoint>("wrong");
        QTest::addColumn<QList<QPoint>>("right");
        QTest::newRow("third move")
            << 0 << QList<QPoint>{{2, 2}, {5, 5}} << QPoint(5, 5) << QList<QPoint>{{4, 4}};
        QTest::newRow("first move")
            << 0 << QList<QPoint>{{1, 1}} << QPoint(1, 1) << QList<QPoint>{{2, 2}};
        QTest::newRow("black failure")
            << 2 << QList<QPoint>{{1, 1}} << QPoint(1, 1) << QList<QPoint>{{2, 2}};
    }
    void marksWhereTheLineWentWrong() {
        QFETCH(int, probNo);
        QFETCH(QList<QPoint>, moves);
        QFETCH(QPoint, wrong);
        QFETCH(QList<QPoint>, right);
        auto w = OpenLearn(probNo, false);
        for (const QPoint& m : moves) {
            // No mark while the line is still being played.
            QCOMPARE(AllPixels(w->picBoard->image(), kWrongMoveColour), 0);
            w->picBoard_MouseDown(m.x(), m.y(), 1);
            w->Timer1_Timer();
        }
        QVERIFY(w->state().settled());
        QVERIFY(w->lblComment->text().endsWith(QStringLiteral("手目が悪手でした。○が正解です")));
        const BoardView& b = *w->picBoard;
        QVERIFY(MarkPixels(b, wrong.x(), wrong.y(), kWrongMoveColour) > 0);
        for (const QPoint& r : right)
            QVERIFY(MarkPixels(b, r.x(), r.y(), kRightMoveColour) > 0);
        // Nothing else is marked: every mark pixel lies in those cells.
        int inCells = MarkPixels(b, wrong.x(), wrong.y(), kWrongMoveColour);
        QCOMPARE(AllPixels(b.image(), kWrongMoveColour), inCells);
        inCells = 0;
        for (const QPoint& r : right)
            inCells += MarkPixels(b, r.x(), r.y(), kRightMoveColour);
        QCOMPARE(AllPixels(b.image(), kRightMoveColour), inCells);
    }

    void rightLineHasNoMarks() {
        auto w = OpenLearn(0);
        PlayLearn(*w, {{2, 2}, {4, 4}});
        QVERIFY(w->state().settled());
        QCOMPARE(w->lblComment->text(), QStringLiteral("正解です。『白死』になりました。"));
        QCOMPARE(AllPixels(w->picBoard->image(), kWrongMoveColour), 0);
        QCOMPARE(AllPixels(w->picBoard->image(), kRightMoveColour), 0);
        w->cmdShowNext_Click(); // settled and right: nothing to go back to
        QCOMPARE(data_->platform.beeps, 1);
    }

    void hintGoesBackToTheWrongMove() {
        auto w = OpenLearn(0);
        PlayLearn(*w, {{2, 2}, {5, 5}});
        QVERIFY(w->state().settled());
        int depthDuring = -1;
        data_->platform.onMessage = [&] { depthDuring = w->state().historyDepth(); };
        w->cmdShowNext_Click();
        QCOMPARE(data_->platform.beeps, 0);
        QCOMPARE(data_->platform.messages.last(), QStringLiteral("次の手の候補です"));
        QCOMPARE(depthDuring, 2);
        // Black is to play the third move again; the lesson marks are gone.
        QCOMPARE(w->state().historyDepth(), 2);
        QVERIFY(!w->state().settled());
        QCOMPARE(w->lblNth->text(), QStringLiteral("３手"));
        QCOMPARE(w->state().timerAction, int16_t(kTimerIdle));
        QCOMPARE(AllPixels(w->picBoard->image(), kWrongMoveColour), 0);
        // Playing the right move now settles as correct.
        w->picBoard_MouseDown(4, 4, 1);
        QVERIFY(w->state().settled());
        QCOMPARE(w->lblComment->text(), QStringLiteral("正解です。『白死』になりました。"));
    }

    void stepBackGuards() {
        LearnState s;
        QVERIFY(!LearnStepBackTo(Problem{}, s, 0));
        QVERIFY(!LearnStepBackTo(Problem{}, s, -1));
    }
};

QTEST_MAIN(TestLearnLesson)
#include "test_learn_lesson.moc"

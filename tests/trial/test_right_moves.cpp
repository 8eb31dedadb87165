// The right first moves shown after a wrong trial answer: circled on the
// trial's board during the verdict, and "○" beside the review's "×".
#include "board/boardview.h"
#include "modes/review/frmhukusyu.h"
#include "modes/trial/frmTrial.h"
#include "trialworld.h"

#include <QLabel>
#include <QPointer>

namespace {

constexpr uint64_t kSeed = 7;

// Pixels in the square of half-size `h` around board point (x, y), with
// `origin` the drawing area's place in the image.
template <class Pred>
int PixelsNear(const QImage& img, const BoardMetrics& m, QPoint origin, int x, int y, int h,
               Pred pred) {
    const int cx = origin.x() + PointToPixel(m, x);
    const int cy = origin.y() + PointToPixel(m, y);
    int n = 0;
    for (int py = cy - h; py <= cy + h; ++py)
        for (int px = cx - h; px <= cx + h; ++px)
            if (img.rect().contains(px, py) && pred(img.pixelColor(px, py))) ++n;
    return n;
}

template <class Pred> int PixelsAll(const QImage& img, Pred pred) {
    int n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (pred(img.pixelColor(x, y))) ++n;
    return n;
}

bool ExactRight(const QColor& c) {
    return c == kRightMoveColour;
}
// Text is drawn smoothed: any strongly red pixel belongs to the mark.
bool Reddish(const QColor& c) {
    return c.red() > 150 && c.green() < 90 && c.blue() < 90;
}

void Ticks(frmTrial* t, int n) {
    for (int i = 0; i < n; ++i)
        t->Timer1Tick();
}

} // namespace

class TestRightMoves : public QObject {
    Q_OBJECT
private slots:
    void trialVerdictMarksTheRightMoves_data() {
        QTest::addColumn<int>("x"); // -1: the time runs out
        QTest::addColumn<bool>("marked");
        QTest::newRow("inferior child") << 3 << true;
        QTest::newRow("not in the tree") << 8 << true;
        QTest::newRow("time out") << -1 << true;
        QTest::newRow("correct answer") << 2 << false;
    }
    void trialVerdictMarksTheRightMoves() {
        QFETCH(int, x);
        QFETCH(bool, marked);
        TrialWorld world(std::vector<int>(12, 30));
        gCourse = 0;
        QPointer<frmTrial> t = new frmTrial(kSeed);
        if (x < 0)
            Ticks(t, 60);
        else
            t->picBoardMouseDown(x, x, 1);
        QCOMPARE(t->mode(), int(frmTrial::Message));
        const BoardView& b = *t->picBoard;
        const BoardMetrics& m = b.metrics();
        const int h = m.gStoneSize / 2 + 1;
        const int at22 = PixelsNear(b.image(), m, {}, 2, 2, h, ExactRight);
        const int at44 = PixelsNear(b.image(), m, {}, 4, 4, h, ExactRight);
        QCOMPARE(at22 > 0, marked);
        QCOMPARE(at44 > 0, marked);
        QCOMPARE(PixelsAll(b.image(), ExactRight), at22 + at44);
        // Scoring and timing are unchanged: three ticks of verdict.
        Ticks(t, 3);
        QVERIFY(t->mode() != int(frmTrial::Message));
        Ticks(t, 40);
        QCOMPARE(t->mode(), int(frmTrial::Answering));
        QCOMPARE(PixelsAll(t->picBoard->image(), ExactRight), 0);
        delete t;
    }

    void reviewMarksBesideTheCross_data() {
        QTest::addColumn<int>("answer"); // point (a, a); -1 no answer
        QTest::addColumn<int>("points");
        QTest::addColumn<QList<int>>("right"); // diagonal points marked ○
        QTest::newRow("wrong answer") << 3 << 0 << QList<int>{2, 4};
        QTest::newRow("no answer") << -1 << 0 << QList<int>{2, 4};
        QTest::newRow("right but too slow") << 2 << 0 << QList<int>{4};
        QTest::newRow("scored") << 2 << 150 << QList<int>{};
    }
    void reviewMarksBesideTheCross() {
        QFETCH(int, answer);
        QFETCH(int, points);
        QFETCH(QList<int>, right);
        TrialWorld world(std::vector<int>(12, 30));
        gCourse = 0;
        gQuestionNo = 10;
        AnswerEntry& e = gAnswerSheet[0];
        e.StartBoard = MakeProblem().gInitBoard;
        e.ProbNo = 0;
        e.Points = int16_t(points);
        e.AnswerX = e.AnswerY = int16_t(answer);
        e.BoardLines = 19;
        frmHukusyu w;
        w.show();
        QCOMPARE(w.picBoard->rightMarks().size(), right.size());
        QCOMPARE(w.lblLegend->isVisible(), !right.isEmpty());
        QCOMPARE(w.lblLegend->text(), QStringLiteral("×＝あなたの解答　○＝正解"));
        QVERIFY(w.lblLegend->geometry().top() >= w.picBoard->geometry().bottom());

        const QImage img = w.picBoard->grab().toImage();
        const BoardMetrics& m = w.picBoard->metrics();
        const QSize inner = w.picBoard->innerSize();
        const QPoint origin((w.picBoard->width() - inner.width()) / 2,
                            (w.picBoard->height() - inner.height()) / 2);
        int near = 0;
        for (int r : right) {
            const int n = PixelsNear(img, m, origin, r, r, m.gStoneSize - 1, Reddish);
            QVERIFY2(n > 0, qPrintable(QStringLiteral("no ○ at %1").arg(r)));
            near += n;
        }
        QCOMPARE(PixelsAll(img, Reddish), near);
    }
};

QTEST_MAIN(TestRightMoves)
#include "test_right_moves.moc"

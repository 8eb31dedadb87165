// Where a settled line went wrong: the first move that lowered the result
// and the moves that kept it.
#include "rules/lesson.h"
#include "rules/outcome.h"

#include <QtTest>

namespace {

struct N {
    int parent; // -1 for a child of the root
    int code = 0;
    int best = 0;
};

// Moves are spread over the second row and below so every line is legal.
Problem Tree(std::initializer_list<N> nodes, int turnOffset = 0) {
    Problem p;
    int n = 0;
    for (const N& node : nodes) {
        p.prev[size_t(n)] = int16_t(node.parent < 0 ? kRoot : node.parent);
        p.x[size_t(n)] = uint8_t(2 * (n % 9) + 1);
        p.y[size_t(n)] = uint8_t(2 * (n / 9) + 1);
        p.code[size_t(n)] = uint8_t(node.code);
        p.best[size_t(n)] = uint8_t(node.best);
        ++n;
    }
    p.hands = int16_t(n);
    p.gTurnOffset = int16_t(turnOffset);
    CalcAllResults(p);
    return p;
}

// 0 Black, 1 White's reply; then Black: 2 本コウ (first), 3 白死, 4 白生き.
// 5 a first move that lets White live at once.
Problem KoTree(int turnOffset = 0) {
    return Tree({{-1}, {0}, {1, 30, 0}, {1, 5, 0}, {1, 55, 0}, {-1, 55, 0}}, turnOffset);
}

QList<int> Nodes(const std::vector<ChildInfo>& children) {
    QList<int> nodes;
    for (const ChildInfo& c : children)
        nodes << c.node;
    return nodes;
}

} // namespace

class TestLesson : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { InitOutcomeTable(); }

    void turningPoint_data() {
        QTest::addColumn<int>("settled");
        QTest::addColumn<int>("offset");
        QTest::addColumn<bool>("found");
        QTest::addColumn<int>("wrong");
        QTest::addColumn<int>("moveNumber");
        QTest::addColumn<QList<int>>("right");
        QTest::newRow("third move turns 白死 into 本コウ")
            << 2 << 0 << true << 2 << 3 << QList<int>{3};
        QTest::newRow("third move lets White live") << 4 << 0 << true << 4 << 3 << QList<int>{3};
        QTest::newRow("the right line") << 3 << 0 << false << -1 << 0 << QList<int>{};
        QTest::newRow("first move wrong") << 5 << 0 << true << 5 << 1 << QList<int>{0};
        QTest::newRow("move numbers follow the turn offset")
            << 2 << 10 << true << 2 << 13 << QList<int>{3};
    }
    void turningPoint() {
        QFETCH(int, settled);
        QFETCH(int, offset);
        QFETCH(bool, found);
        QFETCH(int, wrong);
        QFETCH(int, moveNumber);
        QFETCH(QList<int>, right);
        const Problem p = KoTree(offset);
        QCOMPARE(NodeResult(p, kRoot), int16_t(50));
        const TurningPoint tp = FindTurningPoint(p, settled);
        QCOMPARE(tp.found, found);
        if (!found) return;
        QCOMPARE(int(tp.node), wrong);
        QCOMPARE(tp.moveNumber, moveNumber);
        QCOMPARE(int(tp.x), int(p.x[size_t(wrong)]));
        QCOMPARE(int(tp.y), int(p.y[size_t(wrong)]));
        QCOMPARE(Nodes(tp.best), right);
        QCOMPARE(tp.index, int(GetPath(p, settled).size()) - 1); // the wrong move ends each line
    }

    void firstDropCountsNotTheLast() {
        // Black errs at move 1 (白死 → 本コウ), then errs again at move 3.
        const Problem p = Tree({{-1}, {0}, {1, 5, 0}, {-1}, {3}, {4, 30, 0}, {4, 55, 0}});
        QCOMPARE(NodeResult(p, 0), int16_t(50));
        QCOMPARE(NodeResult(p, 3), int16_t(300));
        const TurningPoint tp = FindTurningPoint(p, 6);
        QVERIFY(tp.found);
        QCOMPARE(int(tp.node), 3);
        QCOMPARE(tp.moveNumber, 1);
        QCOMPARE(int(tp.parent), int(kRoot));
        QCOMPARE(Nodes(tp.best), QList<int>{0});
    }

    void everyEqualSiblingIsRight() {
        // Two moves kill; one kills with 曲り４目 (another row of equal class value).
        const Problem p = Tree({{-1, 5, 0}, {-1, 5, 0}, {-1, 30, 0}, {-1, 6, 0}});
        const TurningPoint tp = FindTurningPoint(p, 2);
        QVERIFY(tp.found);
        QCOMPARE(Nodes(tp.best), (QList<int>{0, 1}));
        QCOMPARE(Nodes(BestChildren(SetUpNode(p, kRoot).children, 50)), (QList<int>{0, 1}));
    }

    void guards() {
        const Problem empty = Tree({});
        QVERIFY(!FindTurningPoint(empty, kRoot).found);
        QVERIFY(!FindTurningPoint(KoTree(), 999).found);
        QVERIFY(BestChildren(SetUpNode(KoTree(), kRoot).children, -1).empty());
        QVERIFY(RightFirstMoves(-1, 0).empty());
        QVERIFY(RightFirstMoves(0, -1).empty());
    }

    void text() {
        QCOMPARE(TurningPointText(3), QStringLiteral("３手目が悪手でした。○が正解です"));
        QCOMPARE(TurningPointText(12), QStringLiteral("１２手目が悪手でした。○が正解です"));
    }
};

QTEST_MAIN(TestLesson)
#include "test_lesson.moc"

// Move rules as board diagrams, and the tree relations of a loaded problem.
#include "diagram.h"
#include "rules/rules.h"

#include <QtTest>

namespace {

int16_t P(int x, int y) {
    return XYToPoint(x, y);
}

// A small tree: root -> 0 (B 1,1) -> 2 (W 2,2); root -> 1 (B 3,3); 0 -> 3 (W 1,2)
Problem SmallTree() {
    Problem p;
    p.hands = 4;
    const int prev[] = {kRoot, kRoot, 0, 0};
    const int xs[] = {1, 3, 2, 1};
    const int ys[] = {1, 3, 2, 2};
    for (int i = 0; i < 4; ++i) {
        p.prev[i] = int16_t(prev[i]);
        p.x[i] = uint8_t(xs[i]);
        p.y[i] = uint8_t(ys[i]);
    }
    return p;
}

} // namespace

class TestRules : public QObject {
    Q_OBJECT
private slots:
    void legality_data();
    void legality();
    void captureOrderTwoGroups();
    void sameGroupCapturedOnce();
    void retakeWithoutKoRule();
    void checkLeavesBoardUnchanged();
    void playMoveCommitAndGlobals();
    void groupAndNeighbourOrder();
    void wholeBoardGroupIsNotCaptured();
    void childrenInNodeOrder();
    void findChildByMoveFirstMatch();
    void pathAndDepth();
    void sideToMoveFollowsOffset();
    void setUpNodeReplaysCaptures();
};

void TestRules::legality_data() {
    QTest::addColumn<Board>("board");
    QTest::addColumn<int>("colour");
    QTest::addColumn<int>("x");
    QTest::addColumn<int>("y");
    QTest::addColumn<bool>("legal");
    QTest::addColumn<int>("captured");
    QTest::newRow("occupied point") << BoardFromRows({"X.."}) << 2 << 0 << 0 << false << 0;
    QTest::newRow("suicide in the corner")
        << BoardFromRows({".O", "O."}) << 1 << 0 << 0 << false << 0;
    QTest::newRow("filling own last liberty")
        << BoardFromRows({".XO", "XO.", "O.."}) << 1 << 0 << 0 << false << 0;
    QTest::newRow("suicide that captures is legal")
        << BoardFromRows({".OX", "OX.", "X.."}) << 1 << 0 << 0 << true << 2;
    QTest::newRow("ordinary move") << BoardFromRows({"..."}) << 1 << 1 << 0 << true << 0;
    QTest::newRow("edge point 18,18") << Board{} << 2 << 18 << 18 << true << 0;
    QTest::newRow("off the board") << Board{} << 1 << 19 << 0 << false << 0;
}

void TestRules::legality() {
    QFETCH(Board, board);
    QFETCH(int, colour);
    QFETCH(int, x);
    QFETCH(int, y);
    QFETCH(bool, legal);
    QFETCH(int, captured);
    PointList caps{1, 2, 3};
    QCOMPARE(CheckMove(colour, x, y, board, caps), legal);
    QCOMPARE(int(caps.size()), captured);
}

void TestRules::captureOrderTwoGroups() {
    // Black at (1,1) captures the white stone above (via 'up') and the two
    // stones to the right (via 'right'); left comes first, then up, right.
    const Board b = BoardFromRows({
        "XOXX.",
        "O.OOX",
        "X.XX.",
    });
    PointList caps;
    QVERIFY(CheckMove(kBlack, 1, 1, b, caps));
    const PointList expected{P(0, 1), P(1, 0), P(2, 1), P(3, 1)};
    QCOMPARE(caps, expected);
}

void TestRules::sameGroupCapturedOnce() {
    // The white group wraps around (1,1): reached through left and up.
    const Board b = BoardFromRows({
        "OOX",
        "O.X",
        "XX.",
    });
    PointList caps;
    QVERIFY(CheckMove(kBlack, 1, 1, b, caps));
    QCOMPARE(caps, (PointList{P(0, 1), P(0, 0), P(1, 0)}));
}

void TestRules::retakeWithoutKoRule() {
    Board b = BoardFromRows({
        ".XO.",
        "X.XO",
        ".XO.",
    });
    // White takes the black stone at (2,1) by playing (1,1)...
    QVERIFY(PlayMove(kWhite, 1, 1, b, true));
    QCOMPARE(gHamaS, int16_t(1));
    QCOMPARE(b[P(2, 1)], kEmpty);
    // ...and Black may retake at once: there is no ko rule.
    QVERIFY(PlayMove(kBlack, 2, 1, b, true));
    QCOMPARE(gHamaList, (PointList{P(1, 1)}));
    QCOMPARE(b[P(1, 1)], kEmpty);
}

void TestRules::checkLeavesBoardUnchanged() {
    const Board b = BoardFromRows({".OX", "OX.", "X.."});
    Board copy = b;
    PointList caps;
    QVERIFY(CheckMove(kBlack, 0, 0, copy, caps));
    QCOMPARE(copy, b);
    QVERIFY(PlayMove(kBlack, 0, 0, copy, false));
    QCOMPARE(copy, b);
    QCOMPARE(gHamaS, int16_t(2));
}

void TestRules::playMoveCommitAndGlobals() {
    Board b = BoardFromRows({".OX", "OX.", "X.."});
    QVERIFY(PlayMove(kBlack, 0, 0, b, true));
    QCOMPARE(b[P(0, 0)], kBlack);
    QCOMPARE(b[P(1, 0)], kEmpty);
    QCOMPARE(b[P(0, 1)], kEmpty);
    QCOMPARE(gHamaList, (PointList{P(1, 0), P(0, 1)})); // right before down
}

void TestRules::groupAndNeighbourOrder() {
    const Board b = BoardFromRows({
        ".X.",
        "XXX",
        ".X.",
    });
    const PointList g = CollectGroup(kBlack, 1, 1, b);
    // breadth first, neighbours left, up, right, down
    QCOMPARE(g, (PointList{P(1, 1), P(0, 1), P(1, 0), P(2, 1), P(1, 2)}));
    QVERIFY(CollectGroup(kWhite, 1, 1, b).empty());
    QVERIFY(CollectGroup(kBlack, 0, 0, b).empty());
    const PointList n = CollectNeighbours(CollectGroup(kBlack, 0, 1, b));
    QCOMPARE(n, (PointList{P(0, 0), P(0, 2), P(2, 0), P(3, 1), P(2, 2), P(1, 3)}));
}

void TestRules::wholeBoardGroupIsNotCaptured() {
    Board b;
    b.fill(kWhite);
    QVERIFY(!IsGroupCaptured(kWhite, 5, 5, b));
    QVERIFY(!IsGroupCaptured(kBlack, 5, 5, b));
}

void TestRules::childrenInNodeOrder() {
    Problem p = SmallTree();
    // A later node hung under the root comes after the earlier ones.
    p.hands = 5;
    p.prev[4] = kRoot;
    p.x[4] = 0;
    p.y[4] = 0;
    QCOMPARE(GetChildren(p, kRoot), (NodeList{0, 1, 4}));
    p.hands = 4;
    QCOMPARE(GetChildren(p, kRoot), (NodeList{0, 1}));
    QCOMPARE(GetChildren(p, 0), (NodeList{2, 3}));
    QCOMPARE(CountChildren(p, 1), 0);
    p.hands = 0;
    QVERIFY(GetChildren(p, kRoot).empty());
}

void TestRules::findChildByMoveFirstMatch() {
    Problem p = SmallTree();
    p.x[3] = 2;
    p.y[3] = 2; // nodes 2 and 3 now play the same point
    const NodeList kids = GetChildren(p, 0);
    QCOMPARE(FindChildByMove(p, 2, 2, kids), 0);
    QCOMPARE(FindChildByMove(p, 9, 9, kids), -1);
    const CurrentPosition cur = SetUpNode(p, 0);
    QCOMPARE(FindChildByMove(2, 2, cur.children), 0);
    QCOMPARE(FindChildByMove(18, 18, cur.children), -1);
}

void TestRules::pathAndDepth() {
    const Problem p = SmallTree();
    QVERIFY(GetPath(p, kRoot).empty());
    QCOMPARE(GetPath(p, 3), (NodeList{0, 3}));
    QCOMPARE(Depth(p, 2), 2);
}

void TestRules::sideToMoveFollowsOffset() {
    Problem p = SmallTree();
    QCOMPARE(SideToMove(p, kRoot), kBlack);
    QCOMPARE(SideToMove(p, 0), kWhite);
    QCOMPARE(SideToMove(p, 2), kBlack);
    p.gTurnOffset = 1;
    QCOMPARE(SideToMove(p, kRoot), kWhite);
    QCOMPARE(SideToMove(p, 0), kBlack);
    p.gTurnOffset = 3;
    const CurrentPosition cur = SetUpNode(p, 0);
    QCOMPARE(cur.gNowNth, int16_t(4));
    QCOMPARE(cur.side, kBlack);
}

void TestRules::setUpNodeReplaysCaptures() {
    // Black's first move captures a white stone; White then plays elsewhere.
    Problem p;
    p.gInitBoard = BoardFromRows({
        "XO.",
        ".X.",
    });
    p.hands = 2;
    p.prev[0] = kRoot;
    p.x[0] = 2;
    p.y[0] = 0;
    p.prev[1] = 0;
    p.x[1] = 5;
    p.y[1] = 5;
    p.kekkaCalc[1] = 50;
    p.kekkaCalc[2] = 51;
    CurrentPosition c0 = SetUpNode(p, 0);
    QCOMPARE(c0.board[P(1, 0)], kEmpty);
    QCOMPARE(c0.lastCaptures, (PointList{P(1, 0)}));
    QCOMPARE(c0.result, int16_t(50));
    QCOMPARE(int(c0.children.size()), 1);
    QCOMPARE(c0.children[0].result, int16_t(51));
    QCOMPARE(c0.side, kWhite);
    CurrentPosition c1 = SetUpNode(p, 1);
    QCOMPARE(c1.board[P(5, 5)], kWhite);
    QVERIFY(c1.lastCaptures.empty());
    QCOMPARE(c1.gNowNth, int16_t(2));
    QCOMPARE(c1.path, (NodeList{0, 1}));
    const CurrentPosition root = SetUpNode(p, kRoot);
    QCOMPARE(root.board, p.gInitBoard);
    QCOMPARE(root.side, kBlack);
}

QTEST_GUILESS_MAIN(TestRules)
#include "test_rules.moc"

// The solver on textbook shapes given as board diagrams ('X' Black, 'O'
// White, '.' empty; row 0 is the top edge), its static judgement and its
// region analysis.
#include "solver/solver.h"

#include <algorithm>

#include <QtTest>

using namespace velsolver;

namespace {

using Rows = std::vector<std::string>;

// White to kill, each shape walled in by a black wall that touches the open
// board.
const Rows kStraightThree = {
    ". . . O X . .",
    "O O O O X . .",
    "X X X X X . .",
};
const Rows kBentThree = {
    ". . O X . . .",
    ". O O X . . .",
    "O O X X . . .",
    "X X X . . . .",
};
const Rows kSquareFour = {
    ". . O X . . .",
    ". . O X . . .",
    "O O O X . . .",
    "X X X X . . .",
};
const Rows kBulkyFive = {
    ". . . O X . .",
    ". . O O X . .",
    "O O O X X . .",
    "X X X X . . .",
};
const Rows kRabbitySix = {
    "O O . . O X . . .", "O . . . O X . . .", "O O . O O X . . .",
    "X O O O X X . . .", "X X X X X . . . .",
};
// Bent four in the corner: the 1-1 point is not connected, so the vital
// point leads to a ko (our rules play it out).
const Rows kBentFourCorner = {
    ". . . O X . .",
    ". O O O X . .",
    "O O X X X . .",
    "X X X . . . .",
};
// White and Black's inner three share two liberties: seki.
const Rows kSeki = {
    ". X X X . O X . .",
    "O O O O O O X . .",
    "X X X X X X X . .",
};
// White's second eye is a ko White can never win for good: its stone at
// (3,0) cannot be saved, so Black takes at (2,0) whenever it suits Black.
const Rows kKo = {
    ". O . O X . .",
    "O O O X X . .",
    "X X X X . . .",
};
// White's second eye at (4,0) is false: its stone at (5,0) cannot be saved
// once Black plays (5,1). Connecting at (4,0) leaves one eye in atari.
const Rows kFalseEyeKo = {
    "O . O O . O X . .",
    "O O O O O . X . .",
    "X X X X X X X . .",
};
// White to move: a sure seki (at (1,0) or (2,1)) or a ko at (1,1) in
// which Black could kill, but only after filling White's outside liberty
// at (2,2) (a one-move approach ko in White's favour).
const Rows kSekiOrKo = {
    ". . O X X . . . .", "X . . O X . . . .", ". . . O X . . . .",
    "O O O O X . . . .", "X X X X X . . . .",
};
// Black to live in a straight three.
const Rows kLiveThree = {
    ". . . X O . .",
    "X X X X O . .",
    "O O O O O . .",
};
// The seki above with the colours swapped: Black lives in seki.
const Rows kLiveSeki = {
    ". O O O . X O . .",
    "X X X X X X O . .",
    "O O O O O O O . .",
};
// Capturing races: Black's two liberties against White's three (one shared),
// and against White's two.
const Rows kRaceLost = {
    ". . O . X . .",
    "X X O . X . .",
    "O O O X X . .",
    "X X X X . . .",
};
const Rows kRaceWon = {
    ". . O . X . .",
    "X X O X X . .",
    "O O O X X . .",
    "X X X X . . .",
};

// A straight three whose net has gaps.
const Rows kLooseNet = {
    ". . . O . X .",
    "O O O O . . .",
    ". . . . . X .",
    "X . X . X . .",
};

// Connect: Black's three corner stones are cut off from Black's wall on the
// fifth line by White's stone at (0,2), which has two liberties, (1,2) and
// (0,3). Black (1,2) joins (1,1) and ataris it: if White extends to (0,3)
// Black takes both at (1,3); if White cuts at (1,3) Black takes at (0,3)
// and joins the wall. Black (1,0) instead lets White (1,2) take all four
// stones; White moving first plays (1,2) and they have one liberty left.
const Rows kConnect = {
    "X . O . . . .", "X X O . . . .", "O . O . . . .", ". . O . . . .", "X X X . . . .",
};
// Cut: the same with the colours swapped (White's corner stones must all be
// taken; White's stones on the fifth line are its own outside stones).
const Rows kCut = {
    "O . X . . . .", "O O X . . . .", "X . X . . . .", ". . X . . . .", "O O O . . . .",
};
// Two targets. White's corner group has two eyes, (0,0) and (2,0), and can
// never be taken; its stone at (5,0) has its last liberty at (6,0), where
// White cannot play (no liberty). Black takes the stone: only part of the
// goal, whoever moves.
const Rows kCutInPart = {
    ". O . O X O . X .",
    "O O O O X X X X .",
    "X X X X X . . . .",
};
// The same with the colours swapped, as a connection: Black's corner group
// lives, its stone at (5,0) is lost.
const Rows kConnectInPart = {
    ". X . X O X . O .",
    "X X X X O O O O .",
    "O O O O O . . . .",
};

Limits Generous() {
    Limits l;
    l.deadline = SolverClock::now() + std::chrono::seconds(60);
    return l;
}

} // namespace

class TestSolver : public QObject {
    Q_OBJECT
private slots:
    void shapes_data();
    void shapes();
    void koDirections();
    void koKinds_data();
    void koKinds();
    void classDoesNotDependOnEarlierSearches_data();
    void classDoesNotDependOnEarlierSearches();
    void classDoesNotDependOnWhereFirstAsked();
    void eternalKoStartedIsADirectKo();
    void sharingBetweenKoSearchesKeepsClasses_data();
    void sharingBetweenKoSearchesKeepsClasses();
    void falseEyeKoIsDead();
    void koLeafTakesTheBestReply();
    void killingMoveIsTheVitalPoint();
    void lineProvesTheClass();
    void repetitionBanStopsRetakes();
    void settledResultKeepsToItsPath();
    void placedStoneSetsPathsApartOnlyWhenNew();
    void limitsGiveUnknown();
    void regionFindsWallsAndTargets();
    void regionLooseNetUsesTheAreaAroundTheStones();
    void regionWholeBoardUsesTheAreaAroundTheStones();
    void regionWithoutTargetUsesWholeCorner();
    void bensonLife_data();
    void bensonLife();
    void deadShapes_data();
    void deadShapes();
    void verdictsStayWithTheirRegion();
    void reusedTablesSearchAsFresh();
    void gobanCapturesAndSuicide();
    void goals_data();
    void goals();
    void everyKeyJudge();
};

void TestSolver::shapes_data() {
    QTest::addColumn<Rows>("rows");
    QTest::addColumn<int>("viewSize");
    QTest::addColumn<int>("aim");
    QTest::addColumn<int>("toMove");
    QTest::addColumn<int>("expected");
    const int kill = static_cast<int>(Aim::Kill);
    const int live = static_cast<int>(Aim::Live);
    const int race = static_cast<int>(Aim::Race);
    QTest::newRow("straight three, Black kills") << kStraightThree << 7 << kill << 1 << kWhiteDead;
    QTest::newRow("straight three, White lives") << kStraightThree << 7 << kill << 2 << kWhiteAlive;
    QTest::newRow("bent three, Black kills") << kBentThree << 7 << kill << 1 << kWhiteDead;
    QTest::newRow("bent three, White lives") << kBentThree << 7 << kill << 2 << kWhiteAlive;
    QTest::newRow("square four, Black to move") << kSquareFour << 7 << kill << 1 << kWhiteDead;
    QTest::newRow("square four, dead even with White to move")
        << kSquareFour << 7 << kill << 2 << kWhiteDead;
    QTest::newRow("bulky five, Black kills") << kBulkyFive << 7 << kill << 1 << kWhiteDead;
    QTest::newRow("bulky five, White lives") << kBulkyFive << 7 << kill << 2 << kWhiteAlive;
    QTest::newRow("rabbity six, Black kills") << kRabbitySix << 9 << kill << 1 << kWhiteDead;
    QTest::newRow("rabbity six, White lives") << kRabbitySix << 9 << kill << 2 << kWhiteAlive;
    QTest::newRow("bent four in the corner is a ko")
        << kBentFourCorner << 7 << kill << 1 << kKoBlackFirst;
    QTest::newRow("bent four in the corner, White lives")
        << kBentFourCorner << 7 << kill << 2 << kWhiteAlive;
    QTest::newRow("seki, Black to move") << kSeki << 9 << kill << 1 << kSekiWhite;
    QTest::newRow("seki, White to move") << kSeki << 9 << kill << 2 << kSekiWhite;
    QTest::newRow("live in straight three") << kLiveThree << 7 << live << 1 << kBlackAlive;
    QTest::newRow("straight three killed first") << kLiveThree << 7 << live << 2 << kBlackDead;
    QTest::newRow("live in seki") << kLiveSeki << 9 << live << 1 << kSekiBlack;
    QTest::newRow("race lost by a liberty") << kRaceLost << 7 << race << 1 << kBlackLoses;
    QTest::newRow("race won moving first") << kRaceWon << 7 << race << 1 << kBlackWins;
    QTest::newRow("race lost moving second") << kRaceWon << 7 << race << 2 << kBlackLoses;
}

void TestSolver::shapes() {
    QFETCH(Rows, rows);
    QFETCH(int, viewSize);
    QFETCH(int, aim);
    QFETCH(int, toMove);
    QFETCH(int, expected);
    ProblemSolver solver(Goban::FromDiagram(rows), viewSize, static_cast<Aim>(aim));
    SearchStart s = solver.Start();
    s.toMove = toMove;
    QCOMPARE(solver.Classify(s, Generous()).klass, expected);
}

void TestSolver::koDirections() {
    // The bent four in the corner: Black's vital point starts a direct ko.
    ProblemSolver solver(Goban::FromDiagram(kBentFourCorner), 7, Aim::Kill);
    SearchStart s = solver.Start();
    const Limits limits = Generous();
    QCOMPARE(solver.Classify(s, limits).klass, kKoBlackFirst);
    // Played out by the program's rules: B (1,0), W (0,0), B (0,1) takes.
    auto play = [](SearchStart& pos, int cell) {
        std::vector<int16_t> cap;
        const uint64_t before = pos.board.Hash();
        QVERIFY(pos.board.Play(pos.toMove, cell, cap));
        pos.history.push_back(before);
        pos.koCell = Searcher::KoPointAfter(pos.board, cell, cap);
        pos.toMove = Other(pos.toMove);
    };
    play(s, CellOf(1, 0));
    play(s, CellOf(0, 0));
    play(s, CellOf(0, 1));
    QCOMPARE(s.koCell, CellOf(0, 0));
    // Black has taken: White needs the first threat.
    QCOMPARE(solver.Classify(s, limits).klass, kKoBlackFirst);
    // White retakes: now Black needs the first threat.
    play(s, CellOf(0, 0));
    QCOMPARE(s.koCell, CellOf(0, 1));
    QCOMPARE(solver.Classify(s, limits).klass, kKoWhiteFirst);
    // A ko White can never resolve (its stone cannot be saved): White is
    // dead, whoever moves.
    ProblemSolver eternal(Goban::FromDiagram(kKo), 7, Aim::Kill);
    SearchStart e = eternal.Start();
    QCOMPARE(eternal.Classify(e, limits).klass, kWhiteDead);
    e.toMove = kWhiteCell;
    QCOMPARE(eternal.Classify(e, limits).klass, kWhiteDead);
}

void TestSolver::koKinds_data() {
    QTest::addColumn<Rows>("rows");
    QTest::addColumn<int>("aim");
    QTest::addColumn<int>("toMove");
    QTest::addColumn<int>("expected");
    const int race = static_cast<int>(Aim::Race);
    // A capturing race decided by a ko: White's corner group (ba ab bb cb)
    // has one liberty at aa while Black's stone ca stands; Black's outer group
    // has the liberty da and the outside liberties under the edge (fb, hb,
    // jb: empty points White walls in). White takes the ko at da, capturing
    // ca, and then needs every outside liberty of Black filled to capture
    // Black. Each filling move lets Black retake at ca without a threat
    // (the ban has lapsed), putting White in atari again.
    //
    // One outside liberty (fb): after White takes, Black is in atari and
    // must retake at once with a threat: a direct ko White takes first.
    QTest::newRow("direct ko, White takes first")
        << Rows{". O X . X O O O .", "O O O X X . O O .", "X X X X X X X O .", "O O O O O O O O ."}
        << race << 2 << kKoWhiteFirst;
    // Two outside liberties (fb, hb): White must fill one of them, a move
    // Black ignores to retake for free: White needs one threat more.
    QTest::newRow("one-move approach ko in Black's favour")
        << Rows{". O X . X O O O O O .", "O O O X X . O . O O .", "X X X X X X X X X O .",
                "O O O O O O O O O O ."}
        << race << 2 << kOneApproachBlack;
    // Three outside liberties (fb, hb, jb): two approach moves.
    QTest::newRow("two-move approach ko in Black's favour")
        << Rows{". O X . X O O O O O O O .", "O O O X X . O . O . O O .",
                "X X X X X X X X X X X O .", "O O O O O O O O O O O O ."}
        << race << 2 << kTwoApproachBlack;
    // Four: three approach moves are no ko (三手ヨセコウはコウにあらず):
    // Black survives the race, White cannot capture.
    QTest::newRow("three approach moves are no ko")
        << Rows{". O X . X O O O O O O O O O .", "O O O X X . O . O . O . O O .",
                "X X X X X X X X X X X X X O .", "O O O O O O O O O O O O O O ."}
        << race << 2 << kSekiBlack;
    // The same fight from the other side, a killing problem: Black's corner
    // stones (ba ab bb cb) are in atari at aa, White's stone ca at da. Black
    // takes at da, capturing ca, and kills only by capturing White's outer
    // group, whose liberties are da and the outside points fb, hb, jb.
    // White retakes at ca, puts Black in atari and captures at aa.
    //
    // One outside liberty (fb): Black's take puts White in atari: a direct
    // ko Black takes first.
    const int kill = static_cast<int>(Aim::Kill);
    QTest::newRow("direct ko, Black takes first")
        << Rows{". X O . O X X X .", "X X X O O . X X .", "O O O O O O O X .", "X X X X X X X X ."}
        << kill << 1 << kKoBlackFirst;
    // Two (fb, hb): Black must fill one after taking; White ignores it and
    // retakes without a threat: Black needs one threat more.
    QTest::newRow("one-move approach ko in White's favour")
        << Rows{". X O . O X X X X X .", "X X X O O . X . X X .", "O O O O O O O O O X .",
                "X X X X X X X X X X ."}
        << kill << 1 << kOneApproachWhite;
    // Three (fb, hb, jb): two approach moves.
    QTest::newRow("two-move approach ko in White's favour")
        << Rows{". X O . O X X X X X X X .", "X X X O O . X . X . X X .",
                "O O O O O O O O O O O X .", "X X X X X X X X X X X X ."}
        << kill << 1 << kTwoApproachWhite;
    // A two-stage ko (２段コウ). White's group has one eye (ea eb) and needs a
    // second at cb, which it gets by connecting at ba (aa and bb join the
    // group): White to move lives. Black's inner stones ab ac bc have one
    // liberty, bd, and so has White's ad; bd is surrounded by Black (bc cd
    // be), so White can play there only to capture, and Black at bd first
    // (capturing ad) lets White connect at ba. Black to move takes the first
    // ko at ba, capturing aa; ab ac bc now have aa and bd. White retakes at
    // aa with a threat (capturing ba). When White has none left, Black still
    // cannot connect at aa: aa ba ab ac bc would keep only bd, and White
    // takes the five stones there. Black settles the first ko only by
    // capturing bb at cb (ba and ab gain bb), and that is a second ko Black
    // has taken: White retakes at bb with a threat, capturing cb, which puts
    // ba in atari again (White's aa would take the first ko back). Only
    // when Black also wins that one and connects at bb is White left with
    // one eye. White has no local move in between: aa and bd are suicide
    // while ba and ab ac bc keep two liberties. Black must win two kos in a
    // row: ２段コウ(白有利), which the outcome table ranks with one approach
    // move for White (the threat balance alone is that of a direct ko Black
    // takes first).
    const Rows twoStage = {"O . O O . O X", "X O . O . O X", "X X O O O O X", "O . X O O O X",
                           "X X X X X X X"};
    QTest::newRow("two-stage ko, Black to move") << twoStage << kill << 1 << kTwoStageWhite;
    QTest::newRow("two-stage ko, White connects") << twoStage << kill << 2 << kWhiteAlive;
    // The colours swapped, a living problem: White must win both kos to
    // kill, Black is ahead by a stage: ２段コウ(黒有利); Black to move
    // connects and lives.
    const int live = static_cast<int>(Aim::Live);
    const Rows twoStageLive = {"X . X X . X O", "O X . X . X O", "O O X X X X O", "X . O X X X O",
                               "O O O O O O O"};
    QTest::newRow("two-stage ko of a living problem, White to move")
        << twoStageLive << live << 2 << kTwoStageBlack;
    QTest::newRow("two-stage ko of a living problem, Black connects")
        << twoStageLive << live << 1 << kBlackAlive;
    // A double ko: White lives (one eye at gb) unless Black wins two kos at
    // once. Ko 1: Black's stone da, which White retakes at ca, putting
    // Black's corner (ba ab bb cb) in atari at aa. Ko 2: White's stone ia,
    // which Black takes at ha, leaving White's group one liberty (gb).
    // Whenever Black takes in one ko, White takes in the other: Black must
    // find a threat every time, White never, so however many threats Black
    // has, White is never captured.
    const Rows doubleKo = {". X . X O O O . O X .", "X X X O O O . O X X .",
                           "O O O O O O O O O X .", "X X X X X X X X X X ."};
    QTest::newRow("White lives by a double ko, Black to move")
        << doubleKo << kill << 1 << kWhiteAliveDoubleKo;
    QTest::newRow("White lives by a double ko, White to move")
        << doubleKo << kill << 2 << kWhiteAliveDoubleKo;
    // The colours swapped, a living problem: Black lives by the double ko.
    const Rows blackDoubleKo = {". O . O X X X . X O .", "O O O X X X . X O O .",
                                "X X X X X X X X X O .", "O O O O O O O O O O ."};
    QTest::newRow("Black lives by a double ko, Black to move")
        << blackDoubleKo << live << 1 << kBlackAliveDoubleKo;
    QTest::newRow("Black lives by a double ko, White to move")
        << blackDoubleKo << live << 2 << kBlackAliveDoubleKo;
    // The same two positions with the other side's stones at stake: a
    // double ko for death. In the first, Black's corner (ba ab bb cb, one
    // eye at aa) must capture White's group to live: making a second eye
    // at ca fails (connecting ca and da leaves the corner the one liberty
    // aa). White's group owns the double ko, so Black can never capture it:
    // Black dies, whoever moves (White to move simply takes at ca first and
    // answers Black's retake at da by retaking at ia). In the second, the
    // colours swapped as a killing problem, White dies.
    QTest::newRow("Black dies by a double ko, Black to move")
        << doubleKo << live << 1 << kBlackDeadDoubleKo;
    QTest::newRow("Black dies by a double ko, White to move")
        << doubleKo << live << 2 << kBlackDeadDoubleKo;
    QTest::newRow("White dies by a double ko, Black to move")
        << blackDoubleKo << kill << 1 << kWhiteDeadDoubleKo;
    QTest::newRow("White dies by a double ko, White to move")
        << blackDoubleKo << kill << 2 << kWhiteDeadDoubleKo;
    // An eternal ko (万年コウ). Black's inner stones ca da ea bb cb have the
    // liberties ba, db and fa; White's group around them has only db and
    // fa, both shared; Black's corner stone aa hangs on ba. Read by hand:
    // - Left alone it is a seki: whoever fills db or fa puts its own group
    //   in atari.
    // - Black starts the ko by filling db (or fa): White, in atari, takes
    //   at ba, capturing aa; that gives White the liberty aa and leaves the
    //   inner stones one. Black must retake at aa with a threat: White took
    //   first, so Black kills only with more threats than White. If White
    //   wins (connects at aa), it captures the inner stones and lives.
    // - White may take at ba at once but gains nothing: connecting at aa
    //   makes the seki for good (filling db to sacrifice the inner stones
    //   only gives White a living six), and Black's retake at aa restores
    //   the start. To live cleanly White must take at ba and fill db or fa,
    //   putting its own group down to aa and the other shared point: Black
    //   retakes at aa and White is in atari, a ko Black takes first.
    // So neither side gains by starting: the side that starts lets the
    // other take first. With White (the defender) to move that is the
    // class, 万年コウ: White has nothing better than to leave it. With Black
    // to move, Black may start the ko by filling db, and a direct ko White
    // takes first is worth more to Black than the eternal ko (the outcome
    // table ranks 本コウ(白取り番) above 万年コウ(殺し問題)).
    const Rows eternalKo = {"X . X X X . O X", "O X X . O O O X", "O O O O O X X X",
                            "X X X X X X X ."};
    QTest::newRow("eternal ko, White to move") << eternalKo << kill << 2 << kEternalKoKill;
    QTest::newRow("eternal ko, Black starts it") << eternalKo << kill << 1 << kKoWhiteFirst;
    // The colours swapped, a living problem: Black's group lives in the
    // seki; with Black to move it is 万年コウ, with White to move White may
    // start the ko, which lets Black take first (本コウ(黒取り番), which the
    // table ranks below the eternal ko for Black).
    const Rows eternalKoLive = {"O . O O O . X O", "X O O . X X X O", "X X X X X O O O",
                                "O O O O O O O ."};
    QTest::newRow("eternal ko of a living problem, Black to move")
        << eternalKoLive << live << 1 << kEternalKoLive;
    QTest::newRow("eternal ko of a living problem, White starts it")
        << eternalKoLive << live << 2 << kKoBlackFirst;
}

void TestSolver::koKinds() {
    QFETCH(Rows, rows);
    QFETCH(int, aim);
    QFETCH(int, toMove);
    QFETCH(int, expected);
    ProblemSolver solver(Goban::FromDiagram(rows), 13, static_cast<Aim>(aim));
    SearchStart s = solver.Start();
    s.toMove = toMove;
    const ClassResult r = solver.Classify(s, Generous());
    QCOMPARE(r.klass, expected);
}

void TestSolver::classDoesNotDependOnEarlierSearches_data() {
    QTest::addColumn<Rows>("rows");
    QTest::addColumn<int>("viewSize");
    QTest::addColumn<int>("aim");
    QTest::addColumn<int>("toMove");
    QTest::addColumn<int>("expected"); // 0: only the two classes compared
    const int kill = static_cast<int>(Aim::Kill);
    // Black's vital point starts a direct ko that Black takes first.
    QTest::newRow("bent four in the corner") << kBentFourCorner << 7 << kill << 1 << kKoBlackFirst;
    // White settles for the seki rather than the approach ko.
    QTest::newRow("seki or ko, White to move") << kSekiOrKo << 9 << kill << 2 << kSekiWhite;
    // Black takes at da and must still fill one outside liberty (fb or hb).
    QTest::newRow("one-move approach ko") << Rows{". X O . O X X X X X .", "X X X O O . X . X X .",
                                                  "O O O O O O O O O X .", "X X X X X X X X X X ."}
                                          << 13 << kill << 1 << kOneApproachWhite;
    // A generated killing problem with several kos at the corner, in which
    // nobody can take yet after Black's first moves: who takes first was
    // read from the searches' lines and changed with what the tables held.
    QTest::newRow("corner with kos after the first moves")
        << Rows{". . . O X .", ". . O . X .", ". X O X X .",
                "O O O X . .", "X X X X . .", ". . . . . ."}
        << 13 << kill << 1 << 0;
}

void TestSolver::classDoesNotDependOnEarlierSearches() {
    // The class of a position is the same from a fresh solver and from one
    // whose tables other positions filled first (the same position with
    // the other side to move and every position two moves on: none of them
    // is a position the class itself is kept for one move on).
    QFETCH(Rows, rows);
    QFETCH(int, viewSize);
    QFETCH(int, aim);
    QFETCH(int, toMove);
    QFETCH(int, expected);
    const Limits limits = Generous();
    ProblemSolver fresh(Goban::FromDiagram(rows), viewSize, static_cast<Aim>(aim));
    SearchStart s = fresh.Start();
    s.toMove = toMove;
    const int klass = fresh.Classify(s, limits).klass;
    QVERIFY(klass != 0);
    if (expected) QCOMPARE(klass, expected);

    ProblemSolver filled(Goban::FromDiagram(rows), viewSize, static_cast<Aim>(aim));
    SearchStart other = s;
    other.toMove = Other(toMove);
    QVERIFY(filled.Classify(other, limits).klass != 0);
    std::vector<int> first = filled.CandidateMoves(s);
    std::reverse(first.begin(), first.end());
    for (int m : first) {
        SearchStart one = s;
        QVERIFY(filled.Advance(one, m));
        for (int r : filled.CandidateMoves(one)) {
            SearchStart two = one;
            QVERIFY(filled.Advance(two, r));
            filled.Classify(two, limits);
        }
    }
    QCOMPARE(filled.Classify(s, limits).klass, klass);
}

void TestSolver::classDoesNotDependOnWhereFirstAsked() {
    // A generated living problem. After B[bd] W[bb] B[ba] (White to move)
    // a ko turns the result, and the position's own look one move on reads
    // it otherwise than its direct class. Classing the position before it
    // (B[bd] W[bb]) first, which looks one move on, once gave the position
    // the direct class it has one move on from there, and kept it: the tree
    // `solve` built (the parent asked first) and `prove` (the leaf asked
    // directly) then disagreed on such a leaf.
    const Goban board = Goban::FromDiagram(
        {"O . . X O . .", ". . X X O . .", ". . X O . . .", "X . X O . . .", "O O O O . . ."});
    const Limits limits = Generous();
    ProblemSolver fresh(board, 13, Aim::Live);
    SearchStart parent = fresh.Start();
    for (int c : {CellOf(1, 3), CellOf(1, 1)})
        QVERIFY(ProblemSolver::PlayPlain(parent, c));
    SearchStart leaf = parent;
    QVERIFY(ProblemSolver::PlayPlain(leaf, CellOf(1, 0)));
    const int klass = fresh.Classify(leaf, limits).klass;
    QVERIFY(klass != 0);
    ProblemSolver parentFirst(board, 13, Aim::Live);
    QVERIFY(parentFirst.Classify(parent, limits).klass != 0);
    QCOMPARE(parentFirst.Classify(leaf, limits).klass, klass);
}

void TestSolver::eternalKoStartedIsADirectKo() {
    // The eternal ko of koKinds once a side has started it.
    const Limits limits = Generous();
    ProblemSolver solver(Goban::FromDiagram({"X . X X X . O X", "O X X . O O O X",
                                             "O O O O O X X X", "X X X X X X X ."}),
                         13, Aim::Kill);
    // Black fills the shared liberty db: White, in atari, takes first at ba.
    SearchStart s = solver.Start();
    QVERIFY(solver.Advance(s, CellOf(3, 1)));
    QCOMPARE(solver.Classify(s, limits).klass, kKoWhiteFirst);
    // White takes at ba and connects at aa: the seki for good.
    SearchStart w = solver.Start();
    w.toMove = kWhiteCell;
    QVERIFY(solver.Advance(w, CellOf(1, 0)));
    QVERIFY(solver.Advance(w, kPassMove));
    QVERIFY(solver.Advance(w, CellOf(0, 0)));
    QCOMPARE(solver.Classify(w, limits).klass, kSekiWhite);
}

void TestSolver::sharingBetweenKoSearchesKeepsClasses_data() {
    QTest::addColumn<Rows>("rows");
    QTest::addColumn<int>("viewSize");
    QTest::addColumn<int>("aim");
    QTest::addColumn<QString>("moves"); // played from the start, Black first
    QTest::addColumn<int>("expected");
    const int kill = static_cast<int>(Aim::Kill);
    const int live = static_cast<int>(Aim::Live);
    // A hand-made living problem with two kos at the corner. After B[cc]
    // W[aa] Black lives in seki at least; clean life turns on a ko White
    // wins with two threats. Results taken across the searches from other
    // paths once made it clean life.
    const Rows twoKos = {". . . X O O .", ". O . X X O .", ". X . . X O .",
                         "X X O X X O .", "O O O O O O .", ". . . . . . ."};
    QTest::newRow("two kos at the corner, after B[cc] W[aa]")
        << twoKos << 13 << live << QStringLiteral("cc aa") << kSekiBlack;
    QTest::newRow("two kos at the corner, after B[cc] W[aa] B[ba]")
        << twoKos << 13 << live << QStringLiteral("cc aa ba") << kBlackAliveDoubleKo;
    // A 4 x 3 eye space, Black first: White lives (many kos on the way).
    QTest::newRow("4 x 3 eye space, Black first")
        << Rows{". . . . O X", ". . . . O X", ". . . . O X", "O O O O O X", "X X X X X X"} << 8
        << kill << QString() << kWhiteAlive;
    // A capturing race decided by a one-move approach ko.
    QTest::newRow("one-move approach ko") << Rows{". X O . O X X X X X .", "X X X O O . X . X X .",
                                                  "O O O O O O O O O X .", "X X X X X X X X X X ."}
                                          << 13 << kill << QString() << kOneApproachWhite;
}

void TestSolver::sharingBetweenKoSearchesKeepsClasses() {
    // The searches of one goal with different ko threats take settled
    // results from one another; every class is the one each search finds
    // alone.
    QFETCH(Rows, rows);
    QFETCH(int, viewSize);
    QFETCH(int, aim);
    QFETCH(QString, moves);
    QFETCH(int, expected);
    int klass[2] = {0, 0};
    for (int share = 0; share < 2; ++share) {
        ProblemSolver solver(Goban::FromDiagram(rows), viewSize, static_cast<Aim>(aim));
        solver.ShareBetweenKoSearches(share == 1);
        SearchStart s = solver.Start();
        for (const QString& m : moves.split(QLatin1Char(' '), Qt::SkipEmptyParts))
            QVERIFY(
                ProblemSolver::PlayPlain(s, CellOf(m[0].unicode() - 'a', m[1].unicode() - 'a')));
        klass[share] = solver.Classify(s, Generous()).klass;
    }
    QCOMPARE(klass[1], klass[0]);
    QCOMPARE(klass[1], expected);
}

void TestSolver::falseEyeKoIsDead() {
    const Limits limits = Generous();
    ProblemSolver solver(Goban::FromDiagram(kFalseEyeKo), 9, Aim::Kill);
    const SearchStart s0 = solver.Start();
    QCOMPARE(solver.Classify(s0, limits).klass, kWhiteDead);
    // Black's only kill is (5,1); anything else lets White connect there.
    std::vector<int> killing;
    for (int m : solver.CandidateMoves(s0)) {
        SearchStart s = s0;
        QVERIFY(solver.Advance(s, m));
        if (solver.Classify(s, limits).klass == kWhiteDead) killing.push_back(m);
    }
    QCOMPARE(killing, std::vector<int>{CellOf(5, 1)});
    SearchStart white = s0;
    white.toMove = kWhiteCell;
    QCOMPARE(solver.Classify(white, limits).klass, kWhiteAlive);
    // After (5,1) the ko at (4,0)/(5,0) only decides when Black captures:
    // dead whatever White does, connecting included.
    SearchStart s = s0;
    QVERIFY(ProblemSolver::PlayPlain(s, CellOf(5, 1)));
    QCOMPARE(solver.Classify(s, limits).klass, kWhiteDead);
    for (int m : {CellOf(4, 0), static_cast<int>(kPassMove)}) {
        SearchStart next = s;
        QVERIFY(solver.Advance(next, m));
        QCOMPARE(solver.Classify(next, limits).klass, kWhiteDead);
    }
    // Black takes the ko: White, barred from retaking, is still dead.
    SearchStart taken = s;
    QVERIFY(solver.Advance(taken, kPassMove));
    QVERIFY(solver.Advance(taken, CellOf(4, 0)));
    QCOMPARE(taken.koCell, CellOf(5, 0));
    QCOMPARE(solver.Classify(taken, limits).klass, kWhiteDead);
}

void TestSolver::koLeafTakesTheBestReply() {
    // White to move may settle for a seki or fight a ko for clean life in
    // which Black could kill; by the outcome table White takes the seki, so
    // the position is the seki, not life.
    const Limits limits = Generous();
    ProblemSolver solver(Goban::FromDiagram(kSekiOrKo), 9, Aim::Kill);
    SearchStart s = solver.Start();
    s.toMove = kWhiteCell;
    QCOMPARE(solver.Classify(s, limits).klass, kSekiWhite);
    struct Reply {
        int cell;
        int klass;
    };
    for (const Reply& r :
         {Reply{CellOf(1, 0), kSekiWhite}, Reply{CellOf(2, 1), kSekiWhite},
          Reply{CellOf(1, 1), kOneApproachWhite}, Reply{CellOf(0, 0), kWhiteDead}}) {
        SearchStart next = s;
        QVERIFY(solver.Advance(next, r.cell));
        QCOMPARE(solver.Classify(next, limits).klass, r.klass);
    }
    // The line behind the class keeps it: White's first move is a seki move.
    const std::vector<int> line = solver.BestLine(s, solver.Classify(s, limits), 4, limits);
    QVERIFY(!line.empty());
    QVERIFY(line[0] == CellOf(1, 0) || line[0] == CellOf(2, 1));
}

void TestSolver::killingMoveIsTheVitalPoint() {
    struct Case {
        const Rows* rows;
        int vs;
        int vital;
    };
    const Case cases[] = {{&kStraightThree, 7, CellOf(1, 0)},
                          {&kBentThree, 7, CellOf(0, 0)},
                          {&kBulkyFive, 7, CellOf(1, 0)},
                          {&kRabbitySix, 9, CellOf(2, 1)}};
    for (const Case& c : cases) {
        ProblemSolver solver(Goban::FromDiagram(*c.rows), c.vs, Aim::Kill);
        const SearchStart s0 = solver.Start();
        std::vector<int> killing;
        for (int m : solver.CandidateMoves(s0)) {
            SearchStart s = s0;
            QVERIFY(solver.Advance(s, m));
            if (solver.Classify(s, Generous()).klass == kWhiteDead) killing.push_back(m);
        }
        QCOMPARE(killing, std::vector<int>{c.vital});
    }
}

void TestSolver::lineProvesTheClass() {
    // White to move in the bulky five lives on the vital point.
    ProblemSolver solver(Goban::FromDiagram(kBulkyFive), 7, Aim::Kill);
    SearchStart s = solver.Start();
    s.toMove = kWhiteCell;
    const ClassResult r = solver.Classify(s, Generous());
    QCOMPARE(r.klass, kWhiteAlive);
    const std::vector<int> line = solver.LineFor(s, r, 10);
    QVERIFY(!line.empty());
    QCOMPARE(line[0], CellOf(1, 0));
    // Every move of the line is playable under the search's rules.
    for (int m : line)
        QVERIFY(solver.Advance(s, m));
}

void TestSolver::repetitionBanStopsRetakes() {
    ProblemSolver solver(Goban::FromDiagram(kKo), 7, Aim::Kill);
    SearchStart s = solver.Start();
    QVERIFY(solver.Advance(s, CellOf(2, 0))); // Black takes the ko
    QCOMPARE(s.koCell, CellOf(3, 0));
    SearchStart retake = s;
    QVERIFY(!solver.Advance(retake, CellOf(3, 0))); // White may not retake at once
    QVERIFY(solver.Advance(s, kPassMove));
    QCOMPARE(s.koCell, 0);
    QCOMPARE(s.passes, 1);
}

namespace {
// The board key after Black's take in the ko of kKo.
uint64_t KoTakenKey() {
    Goban taken = Goban::FromDiagram(kKo);
    std::vector<int16_t> cap;
    taken.Play(kBlackCell, CellOf(2, 0), cap);
    return taken.Hash();
}

// `board` with `toMove` to play, on two paths: one open, and one on which
// the board after Black's take in the ko stood before (Black's stone at the
// ko point has been captured since, and White's stones at `whiteCaught`).
// A search of the open one and then of the other gives each what a search
// of it alone gives: `onOpen` and the other.
void ExpectPathsApart(const Goban& board, int toMove, uint64_t whiteCaught, Outcome onOpen) {
    const Region region = AnalyzeRegion(Goban::FromDiagram(kKo), 7, Aim::Kill);
    SearchStart open;
    open.board = board;
    open.toMove = toMove;
    open.captured[kBlackCell] = open.captured[kWhiteCell] = 0;
    SearchStart banned = open;
    banned.history = {KoTakenKey()};
    banned.captured[kBlackCell] = StartPointBit(CellOf(2, 0));
    banned.captured[kWhiteCell] = whiteCaught;
    const Outcome onBanned = onOpen == Outcome::Win ? Outcome::Loss : Outcome::Win;
    const Limits limits = Generous();
    Searcher fresh(region, true, KoMode::Base);
    QCOMPARE(fresh.Solve(open, limits), onOpen);
    Searcher other(region, true, KoMode::Base);
    QCOMPARE(other.Solve(banned, limits), onBanned);
    // One search, the open path first: its result is not read on the other.
    QCOMPARE(fresh.Solve(banned, limits), onBanned);
}
} // namespace

void TestSolver::settledResultKeepsToItsPath() {
    // The ko of kKo, Black to move: Black takes at (2,0) and White, barred
    // from retaking, cannot save its stone at (3,0): one eye, Black wins.
    // On a path on which the board after the take already stood (White
    // retook since), the take repeats it and is banned; Black's other move,
    // the 1-1 point, is suicide, so Black passes and White lives.
    ExpectPathsApart(Goban::FromDiagram(kKo), kBlackCell, 0, Outcome::Win);
}

void TestSolver::placedStoneSetsPathsApartOnlyWhenNew() {
    // The ko of kKo without White's stone at (1,0), White to move. White
    // plays it back and Black takes the ko: White dies. On a path on which
    // the board after the take already stood (White's stone at (1,0) has
    // been captured and played again since), the take repeats it and is
    // banned, and White lives. The stone White places at (1,0) is not new
    // to that path, so it does not set it apart from the first one: the
    // first path's result must not be read there.
    Goban board = Goban::FromDiagram(kKo);
    board.Set(CellOf(1, 0), kEmptyCell);
    ExpectPathsApart(board, kWhiteCell, StartPointBit(CellOf(1, 0)), Outcome::Loss);
}

void TestSolver::limitsGiveUnknown() {
    // A white group behind a loose net: far more than a few hundred nodes.
    ProblemSolver solver(Goban::FromDiagram(kLooseNet), 9, Aim::Kill);
    Limits tight;
    tight.maxNodes = 200;
    QCOMPARE(solver.Classify(solver.Start(), tight).klass, 0);
}

void TestSolver::regionFindsWallsAndTargets() {
    const Region r = AnalyzeRegion(Goban::FromDiagram(kBentThree), 7, Aim::Kill);
    QVERIFY(r.enclosed);
    QCOMPARE(r.defender, static_cast<int>(kWhiteCell));
    QCOMPARE(static_cast<int>(r.defenderKeys.size()), 5);
    // Three eye points and the five white stones; the black wall is not in play.
    QCOMPARE(static_cast<int>(r.moveCells.size()), 8);
    QVERIFY(!r.movable[CellOf(3, 0)]);
    QVERIFY(r.open[CellOf(6, 6)]);
    QVERIFY(!r.open[CellOf(0, 0)]);
}

void TestSolver::regionLooseNetUsesTheAreaAroundTheStones() {
    // The net has gaps: the bounding box of the stones and one line more is
    // in play, the rest of the corner is open.
    const Region r = AnalyzeRegion(Goban::FromDiagram(kLooseNet), 9, Aim::Kill);
    QVERIFY(r.enclosed);
    QCOMPARE(static_cast<int>(r.moveCells.size()), 35); // 7 x 5 points
    QCOMPARE(static_cast<int>(r.defenderKeys.size()), 5);
    QVERIFY(r.movable[CellOf(6, 4)]);
    QVERIFY(r.open[CellOf(7, 0)]);
    QVERIFY(r.open[CellOf(0, 5)]);
}

void TestSolver::regionWholeBoardUsesTheAreaAroundTheStones() {
    // A 19-line problem has no far edge to flood from.
    const Region r = AnalyzeRegion(Goban::FromDiagram({". . .", ". O .", ". . X"}), 19, Aim::Kill);
    QVERIFY(r.enclosed);
    QCOMPARE(static_cast<int>(r.moveCells.size()), 16); // columns and rows 0-3
    QVERIFY(r.open[CellOf(4, 0)]);
}

void TestSolver::regionWithoutTargetUsesWholeCorner() {
    const Region r = AnalyzeRegion(Goban::FromDiagram({". X ."}), 5, Aim::Kill);
    QVERIFY(!r.enclosed);
    QCOMPARE(static_cast<int>(r.moveCells.size()), 25);
    QVERIFY(r.defenderKeys.empty());
}

void TestSolver::bensonLife_data() {
    QTest::addColumn<Rows>("rows");
    QTest::addColumn<bool>("safe");
    QTest::newRow("two eyes") << Rows{". O . O X", "O O O O X", "X X X X X"} << true;
    QTest::newRow("one eye of two points") << Rows{". . O X .", "O O O X .", "X X X X ."} << false;
    QTest::newRow("eye with a dead stone and a real eye")
        << Rows{". X O . O X", "O O O O O X", "X X X X X X"} << true;
    QTest::newRow("false eye") << Rows{". O . O X", "O X O O X", "X X X X X"} << false;
    // A small empty area around one chain is a sure eye even where Black
    // could stand on a point that is no liberty (the corner of the six).
    QTest::newRow("six in the corner and one eye")
        << Rows{". . . O . O X", ". . . O O O X", "O O O O X X X", "X X X X X . ."} << true;
    QTest::newRow("six in the corner alone")
        << Rows{". . . O X", ". . . O X", "O O O O X", "X X X X X"} << false;
    // A stone of Black's in the corner eight, two points no liberty:
    // White, answering each move of Black's there, keeps a liberty there.
    QTest::newRow("eight in the corner with a stone of Black's and one eye")
        << Rows{"X . . . O . O X", ". . . . O O O X", "O O O O O X X X", "X X X X X X . ."} << true;
    // White takes Black's stones only by a ko (B[ab] W[aa]... ), or leaves
    // them in seki: no eye.
    QTest::newRow("stones of Black's taken only by a ko")
        << Rows{"X . . O . O X", ". X O O O O X", ". O O X X X X", "O O X . . . .", "X X X . . . ."}
        << false;
}

void TestSolver::bensonLife() {
    QFETCH(Rows, rows);
    QFETCH(bool, safe);
    const Region r = AnalyzeRegion(Goban::FromDiagram(rows), 7, Aim::Kill);
    Judge judge(r);
    QCOMPARE(judge.DefenderSafe(Goban::FromDiagram(rows)), safe);
}

void TestSolver::deadShapes_data() {
    QTest::addColumn<Rows>("rows");
    QTest::addColumn<int>("toMove");
    QTest::addColumn<bool>("dead");
    QTest::newRow("straight three, Black to move") << kStraightThree << 1 << true;
    QTest::newRow("straight three, White to move") << kStraightThree << 2 << false;
    QTest::newRow("square four, White to move") << kSquareFour << 2 << true;
    QTest::newRow("bulky five, Black to move") << kBulkyFive << 1 << true;
    QTest::newRow("bulky five, White to move") << kBulkyFive << 2 << false;
    QTest::newRow("bent four in the corner is no static shape") << kBentFourCorner << 1 << false;
    QTest::newRow("seki is no dead shape") << kSeki << 1 << false;
}

void TestSolver::deadShapes() {
    QFETCH(Rows, rows);
    QFETCH(int, toMove);
    QFETCH(bool, dead);
    const Goban g = Goban::FromDiagram(rows);
    const Region r = AnalyzeRegion(g, 9, Aim::Kill);
    Judge judge(r);
    QCOMPARE(judge.StaticDead(g, toMove), dead);
}

void TestSolver::verdictsStayWithTheirRegion() {
    // Judges remember verdicts by board key for the searches of one region;
    // the same board posed as another problem must be judged afresh. The
    // straight three is dead with Black to move; on a larger board its
    // three points are one eye of a group that reaches the open area.
    const Goban g = Goban::FromDiagram(kStraightThree);
    const Region corner = AnalyzeRegion(g, 9, Aim::Kill);
    const Region live = AnalyzeRegion(g, 9, Aim::Live);
    QCOMPARE(Judge(corner).Evaluate(g, kBlackCell, true), Verdict::AttackerWins);
    Region unremembered = live;
    unremembered.id = 0;
    const Verdict fresh = Judge(unremembered).Evaluate(g, kBlackCell, true);
    QVERIFY(fresh != Verdict::AttackerWins);
    QCOMPARE(Judge(live).Evaluate(g, kBlackCell, true), fresh);
}

void TestSolver::reusedTablesSearchAsFresh() {
    // The tables of finished searches are handed to the next ones: what an
    // earlier problem left in them must change nothing, not even the nodes.
    const Rows strip = {". . . . . . O X", ". . . . . . O X", "O O O O O O O X", "X X X X X X X X"};
    auto nodes = [&] {
        ProblemSolver solver(Goban::FromDiagram(strip), 10, Aim::Kill);
        const ClassResult r = solver.Classify(solver.Start(), Generous());
        return std::make_pair(r.klass, r.nodes);
    };
    const auto first = nodes();
    ProblemSolver other(Goban::FromDiagram(kRabbitySix), 9, Aim::Kill);
    QVERIFY(other.Classify(other.Start(), Generous()).klass != 0);
    QCOMPARE(nodes(), first);
    QCOMPARE(nodes(), first);
}

void TestSolver::gobanCapturesAndSuicide() {
    Goban g = Goban::FromDiagram({". X O X", "X . . ."});
    const uint64_t before = g.Hash();
    std::vector<int16_t> cap;
    // White in the corner would have no liberty and captures nothing.
    QVERIFY(!g.Play(kWhiteCell, CellOf(0, 0), cap));
    QCOMPARE(g.Hash(), before);
    // Black below the white stone takes its last liberty.
    QVERIFY(g.Play(kBlackCell, CellOf(2, 1), cap));
    QCOMPARE(cap, std::vector<int16_t>{static_cast<int16_t>(CellOf(2, 0))});
    QCOMPARE(g.At(CellOf(2, 0)), kEmptyCell);
    g.Undo(kBlackCell, CellOf(2, 1), cap, 0);
    QCOMPARE(g.Hash(), before);
    QCOMPARE(g.At(CellOf(2, 0)), kWhiteCell);
    QVERIFY(cap.empty());
}

void TestSolver::goals_data() {
    QTest::addColumn<Rows>("rows");
    QTest::addColumn<int>("aim");
    QTest::addColumn<int>("toMove");
    QTest::addColumn<int>("expected");
    // Black's moves to try first and the class each reaches (-1: none).
    QTest::addColumn<int>("move");
    QTest::addColumn<int>("moveClass");
    const int connect = static_cast<int>(Aim::Connect);
    const int cut = static_cast<int>(Aim::Cut);
    const int black = kBlackCell, white = kWhiteCell;
    QTest::newRow("connect: the atari joins")
        << kConnect << connect << black << kBlackSucceeds << CellOf(1, 2) << kBlackSucceeds;
    QTest::newRow("connect: the corner point loses all")
        << kConnect << connect << black << kBlackSucceeds << CellOf(1, 0) << kBlackFails;
    QTest::newRow("connect: White first cuts")
        << kConnect << connect << white << kBlackFails << -1 << 0;
    QTest::newRow("cut: the atari takes them")
        << kCut << cut << black << kBlackSucceeds << CellOf(1, 2) << kBlackSucceeds;
    // White first joins: (1,2) leaves Black's stone at (0,2) one liberty,
    // and White takes it at (0,3) onto its own stones, or, after Black
    // (1,3), fills (0,2) once taken.
    QTest::newRow("cut: White first joins") << kCut << cut << white << kBlackFails << -1 << 0;
    QTest::newRow("cut: a living group and a lost stone")
        << kCutInPart << cut << black << kBlackLoss << CellOf(6, 0) << kBlackLoss;
    QTest::newRow("cut in part, White first")
        << kCutInPart << cut << white << kBlackLoss << -1 << 0;
    QTest::newRow("connect: a living group and a lost stone")
        << kConnectInPart << connect << black << kBlackLoss << -1 << 0;
}

void TestSolver::goals() {
    QFETCH(Rows, rows);
    QFETCH(int, aim);
    QFETCH(int, toMove);
    QFETCH(int, expected);
    QFETCH(int, move);
    QFETCH(int, moveClass);
    // The view one line wider than the diagram: its right-hand column is
    // open board.
    const int view = static_cast<int>(rows[0].size() + 1) / 2 + 1;
    ProblemSolver solver(Goban::FromDiagram(rows), view, static_cast<Aim>(aim));
    QVERIFY(solver.region().enclosed);
    SearchStart s = solver.Start();
    s.toMove = toMove;
    QCOMPARE(solver.Classify(s, Generous()).klass, expected);
    if (move < 0) return;
    QVERIFY(solver.Advance(s, move));
    QCOMPARE(solver.Classify(s, Generous()).klass, moveClass);
}

void TestSolver::everyKeyJudge() {
    // Two White targets: the stone at (5,0) taken off, the living group
    // left. Taking the target as a whole is not reached; with every stone at
    // stake, the loss of one decides.
    Rows rows = kCutInPart;
    const Region r = AnalyzeRegion(Goban::FromDiagram(rows), 10, Aim::Cut);
    QCOMPARE(static_cast<int>(r.defenderKeys.size()), 7);
    rows[0] = ". O . O X . X X .";
    const Goban after = Goban::FromDiagram(rows);
    QCOMPARE(Judge(r, true).Evaluate(after, kWhiteCell, true), Verdict::AttackerWins);
    QCOMPARE(Judge(r, false).Evaluate(after, kWhiteCell, true), Verdict::DefenderWins);
    // With the stone back on the board, the group's two eyes make the target
    // as a whole safe, but not every stone of it.
    const Goban start = Goban::FromDiagram(kCutInPart);
    QCOMPARE(Judge(r, false).DefenderSafe(start), true);
    QCOMPARE(Judge(r, true).DefenderSafe(start), false);
}

QTEST_GUILESS_MAIN(TestSolver)
#include "test_solver.moc"

// The problem picker: pages, paging, the focus frame, volumes and the
// remembered position.
#include "learnfixture.h"
#include "selection/picker/frmselqrep.h"

#include "board/boardview.h"
#include "library/courses.h"
#include "library/files.h"
#include "library/player.h"
#include "library/session.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QtTest>

#include <memory>

using namespace picker;

class TestPicker : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<LearnTestData> data_;

    std::unique_ptr<frmSelQRep> Open(int lastCourse = 0, int lastProb = 0) {
        gPlayerRecord = PlayerRecord{};
        gPlayerRecord.LastCourse = static_cast<int16_t>(lastCourse);
        gPlayerRecord.LastProb[static_cast<size_t>(CourseDataSet(lastCourse))] =
            static_cast<int16_t>(lastProb);
        SavePlayerFile(0);
        auto w = std::make_unique<frmSelQRep>();
        w->show();
        return w;
    }

    static int VisiblePictures(const frmSelQRep& w) {
        int n = 0;
        for (BoardView* p : w.picBoard)
            if (p->isVisible()) ++n;
        return n;
    }

    static int StoredLastProb(int set) {
        gPlayerRecord = PlayerRecord{};
        LoadPlayerFile(0);
        return gPlayerRecord.LastProb[static_cast<size_t>(set)];
    }

private slots:
    void init() {
        data_ = std::make_unique<LearnTestData>(StandardAbc(), Repeat(KillProblem(), 5),
                                                Repeat(KillProblem(), 3));
    }
    void cleanup() { data_.reset(); }

    // A problem on the page that cannot be read ends the run with a message
    // naming the file, as in the trial, instead of an empty 易 board.
    void unreadableProblemIsReported() {
        QFile dt(gDataPath + QStringLiteral("abc.dt"));
        QVERIFY(dt.open(QIODevice::ReadWrite));
        QVERIFY(dt.resize(3)); // cut short inside problem 1
        dt.close();
        QVERIFY_THROWS_EXCEPTION(ProgramAborted, Open());
        QVERIFY(!data_->platform.boxes.isEmpty());
        QVERIFY(data_->platform.boxes.last().contains(QStringLiteral("abc.dt")));
    }

    void pureRules_data() {
        QTest::addColumn<int>("n");
        QTest::addColumn<int>("perPage");
        QTest::addColumn<int>("pages");
        QTest::newRow("25 in A") << 25 << 12 << 3;
        QTest::newRow("24 in A") << 24 << 12 << 2;
        QTest::newRow("1 in A") << 1 << 12 << 1;
        QTest::newRow("5 in B") << 5 << 4 << 2;
        QTest::newRow("empty") << 0 << 12 << 1;
    }
    void pureRules() {
        QFETCH(int, n);
        QFETCH(int, perPage);
        QFETCH(int, pages);
        QCOMPARE(PageCountFor(n, perPage), pages);
    }

    void pagingRules_data() {
        QTest::addColumn<int>("page");
        QTest::addColumn<int>("delta");
        QTest::addColumn<int>("expected");
        QTest::newRow("+50 from the first of 3") << 0 << 50 << 2;
        QTest::newRow("-50 from the last of 3") << 2 << -50 << 0;
        QTest::newRow("-1 on the first") << 0 << -1 << 0;
        QTest::newRow("+1 on the last") << 2 << 1 << 2;
        QTest::newRow("+10 clamps") << 1 << 10 << 2;
        QTest::newRow("-10 clamps") << 1 << -10 << 0;
        QTest::newRow("+1") << 0 << 1 << 1;
    }
    void pagingRules() {
        QFETCH(int, page);
        QFETCH(int, delta);
        QFETCH(int, expected);
        QCOMPARE(PageAfter(page, 3, delta), expected);
    }

    void focusFrameLeavesTheLabelOpen() {
        const std::array<QLine, 4> l = FocusLines(QRect(40, 40, 131, 123));
        QCOMPARE(l[0], QLine(37, 37, 37, 166));
        QCOMPARE(l[1], QLine(37, 166, 174, 166));
        QCOMPARE(l[2], QLine(174, 166, 174, 37));
        QCOMPARE(l[3], QLine(174, 37, 87, 37));
        // With the next row close below, the bottom edge rises to stay clear.
        const std::array<QLine, 4> close = FocusLines(QRect(40, 40, 131, 123), 162);
        QCOMPARE(close[0], QLine(37, 37, 37, 162));
        QCOMPARE(close[1], QLine(37, 162, 174, 162));
    }

    void levelColours_data() {
        QTest::addColumn<int>("level");
        QTest::addColumn<QColor>("colour");
        QTest::newRow("dan") << 30 << QColor(255, 0, 0);
        QTest::newRow("advanced") << 20 << QColor(255, 0, 255);
        QTest::newRow("beginner") << 10 << QColor(255, 255, 0);
        QTest::newRow("unknown") << 7 << QColor(255, 255, 0);
    }
    void levelColours() {
        QFETCH(int, level);
        QFETCH(QColor, colour);
        QCOMPARE(LevelColour(level), colour);
    }

    void firstPageOfTheMainVolume() {
        auto w = Open();
        QCOMPARE(w->windowTitle(), QStringLiteral("問題選択"));
        QCOMPARE(w->lblDoing->text(), QStringLiteral("学習する問題図を選んでください"));
        QCOMPARE(w->lblVolume->text(), QStringLiteral("Velmora"));
        QCOMPARE(w->PageCount, 3);
        QCOMPARE(w->lblBunsi->text(), QStringLiteral("1"));
        QCOMPARE(w->lblBunbo->text(), QStringLiteral("3"));
        QCOMPARE(VisiblePictures(*w), 12);
        QCOMPARE(w->picBoard[0]->geometry(), QRect(40, 40, 131, 123));
        QCOMPARE(w->picBoard[5]->geometry(), QRect(183, 177, 131, 123));
        QCOMPARE(w->lblQNum[5]->text(), QStringLiteral("#6"));
        QCOMPARE(w->lblQNum[5]->geometry().bottom() + 1, 177 + 2);
        QCOMPARE(w->picBoard[0]->metrics().gBoardLines, int16_t(11));
        // Problem 2 is a dan problem, problem 1 an advanced one.
        QCOMPARE(w->lblQLvl[2]->palette().color(QPalette::Window), QColor(255, 0, 0));
        QCOMPARE(w->lblQLvl[1]->palette().color(QPalette::Window), QColor(255, 0, 255));
        QCOMPARE(w->lblQLvl[2]->accessibleName(), QStringLiteral("難"));
        QCOMPARE(w->picBoard[5]->accessibleName(), QStringLiteral("問題 6、難、未挑戦"));
        QCOMPARE(w->linFocus[0]->geometry().left(), 36);
        QVERIFY(w->linFocus[3]->isVisible());
        // The focus frame never runs through the next row's level box or
        // number label.
        for (int cell = 0; cell < 8; ++cell) {
            w->CursorCell = cell;
            w->PlaceFocus();
            for (QWidget* line : w->linFocus)
                for (QWidget* below : {static_cast<QWidget*>(w->lblQLvl[size_t(cell + 4)]),
                                       static_cast<QWidget*>(w->lblQNum[size_t(cell + 4)])})
                    QVERIFY2(!line->geometry().intersects(below->geometry()),
                             qPrintable(line->objectName() + " over " + below->objectName()));
        }
    }

    void shortLastPage() {
        auto w = Open(0, 7);
        QCOMPARE(w->PageNo, 0);
        QCOMPARE(w->CursorCell, 7);
        w->cmdP50_Click();
        QCOMPARE(w->PageNo, 2);
        QCOMPARE(VisiblePictures(*w), 1);
        QVERIFY(w->picBoard[0]->isVisible());
        QVERIFY(!w->lblQNum[1]->isVisible());
        QCOMPARE(w->lblQNum[0]->text(), QStringLiteral("#25"));
        QCOMPARE(w->CursorCell, 0);
        QCOMPARE(w->ChosenProblem(), 24);
        w->cmdM50_Click();
        QCOMPARE(w->PageNo, 0);
        QCOMPARE(w->CursorCell, 0);
    }

    void pagingRedrawsOnlyOnChange() {
        auto w = Open();
        const int draws = w->pageDraws();
        w->cmdM1_Click();
        w->cmdM10_Click();
        w->cmdM50_Click();
        QCOMPARE(w->pageDraws(), draws);
        w->cmdP1_Click();
        QCOMPARE(w->PageNo, 1);
        w->cmdP10_Click();
        QCOMPARE(w->PageNo, 2);
        QCOMPARE(w->lblBunsi->text(), QStringLiteral("3"));
        QCOMPARE(w->pageDraws(), draws + 2);
        w->cmdP1_Click();
        w->cmdP50_Click();
        QCOMPARE(w->pageDraws(), draws + 2);
        w->cmdM10_Click();
        QCOMPARE(w->PageNo, 0);
    }

    void volumes() {
        auto w = Open();
        const int draws = w->pageDraws();
        w->volItem_Click(0); // the volume already shown
        QCOMPARE(w->pageDraws(), draws);
        w->volItem_Click(1);
        QCOMPARE(gCourse, int16_t(4));
        QCOMPARE(w->lblVolume->text(), QStringLiteral("珍瓏"));
        QCOMPARE(w->PageCount, 2);
        QCOMPARE(VisiblePictures(*w), 4);
        QCOMPARE(w->picBoard[3]->geometry(), QRect(346, 250, 176, 176));
        QCOMPARE(w->picBoard[0]->metrics().gBoardLines, int16_t(19));
        w->volItem_Click(2);
        QCOMPARE(gCourse, int16_t(5));
        QCOMPARE(w->lblVolume->text(), QStringLiteral("入門"));
        QCOMPARE(VisiblePictures(*w), 3);
        QCOMPARE(w->mnuVolume->title(), QStringLiteral("問題集"));
        QCOMPARE(w->volItem[1]->text(), QStringLiteral("珍瓏"));
    }

    void clickFramesThenStarts_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<int>("role");
        QTest::newRow("learn") << 2 << int(Role::Learn);
        QTest::newRow("view") << 3 << int(Role::View);
    }
    void clickFramesThenStarts() {
        QFETCH(int, mode);
        QFETCH(int, role);
        gMode = static_cast<int16_t>(mode);
        auto w = Open();
        w->cmdP1_Click();
        w->picBoard_Click(3);
        QCOMPARE(w->CursorCell, 3);
        QCOMPARE(w->linFocus[0]->geometry().left(), w->picBoard[3]->geometry().left() - 4);
        QVERIFY(data_->opened.empty());
        w->picBoard_Click(3);
        QCOMPARE(gProbNo, int16_t(15));
        QVERIFY(data_->opened == std::vector<Role>{static_cast<Role>(role)});
        QCOMPARE(data_->menuRefreshes, 0);
        QCOMPARE(StoredLastProb(0), 15);
    }

    void mouseAndKeys() {
        auto w = Open();
        QTest::mouseClick(w->picBoard[6], Qt::LeftButton, Qt::NoModifier, QPoint(60, 60));
        QCOMPARE(w->CursorCell, 6);
        QTest::keyClick(w.get(), Qt::Key_Right);
        QCOMPARE(w->CursorCell, 7);
        QTest::keyClick(w.get(), Qt::Key_Right); // from the end of a row to the next row
        QCOMPARE(w->CursorCell, 8);
        QTest::keyClick(w.get(), Qt::Key_Down); // no row below the last one
        QCOMPARE(w->CursorCell, 8);
        QTest::keyClick(w.get(), Qt::Key_Up);
        QCOMPARE(w->CursorCell, 4);
        QTest::keyClick(w.get(), Qt::Key_PageDown);
        QCOMPARE(w->PageNo, 1);
        QVERIFY(data_->opened.empty());
        QTest::mouseClick(w->picBoard[4], Qt::LeftButton, Qt::NoModifier, QPoint(60, 60));
        QCOMPARE(gProbNo, int16_t(16));
        QVERIFY(data_->opened == std::vector<Role>{Role::Learn});
    }

    void closeBoxRemembers() {
        auto w = Open(4, 0);
        w->picBoard_Click(2);
        w->close();
        QCOMPARE(data_->menuRefreshes, 1);
        QVERIFY(data_->opened.empty());
        QCOMPARE(StoredLastProb(1), 2);
        QCOMPARE(gPlayerRecord.LastCourse, int16_t(4));
    }

    void exitReturnsToTheMenu() {
        auto w = Open(5, 2);
        QCOMPARE(w->lblVolume->text(), QStringLiteral("入門"));
        QCOMPARE(w->CursorCell, 2);
        w->cmdExit_Click();
        QCOMPARE(data_->menuRefreshes, 1);
        QCOMPARE(StoredLastProb(2), 2);
    }

    void outOfRangeMemoryStartsAtTheFirstProblem() {
        auto w = Open(0, 300);
        QCOMPARE(w->PageNo, 0);
        QCOMPARE(w->CursorCell, 0);
        auto v = Open(9, 0); // not a volume of the picker
        QCOMPARE(gCourse, int16_t(0));
    }

    void emptyVolume() {
        gCourses[5].ProbCount = 0;
        auto w = Open(5, 0);
        QCOMPARE(w->PageCount, 1);
        QCOMPARE(VisiblePictures(*w), 0);
        QVERIFY(!w->linFocus[0]->isVisible());
        w->cmdGo_Click();
        QCOMPARE(data_->platform.beeps, 1);
        QVERIFY(data_->opened.empty());
    }
};

QTEST_MAIN(TestPicker)
#include "test_picker.moc"

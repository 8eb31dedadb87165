// The whole road with the real windows behind the router: the picker on the
// remembered page, a problem started from its thumbnail, solved in the learn
// window, the next problem, and back to the picker on the same page.
#include "learnfixture.h"
#include "modes/learn/frmlearn.h"
#include "selection/picker/frmselqrep.h"

#include "library/player.h"
#include "library/session.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QtTest>

namespace {

template <typename T> T* OnlyWindow() {
    T* found = nullptr;
    int count = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* t = qobject_cast<T*>(w); t && t->isVisible()) {
            found = t;
            ++count;
        }
    }
    return count == 1 ? found : nullptr;
}

void DeleteClosedWindows() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

class TestLearnRoad : public QObject {
    Q_OBJECT

private slots:
    void pickSolveStepAndComeBack() {
        LearnTestData data(StandardAbc(), Repeat(KillProblem(), 5), Repeat(KillProblem(), 3));
        RegisterWindow(Role::Picker, [] { return new frmSelQRep; });
        RegisterWindow(Role::Learn, [] { return new frmLearn; });
        gPlayerRecord.LastProb[0] = 13;
        SavePlayerFile(0);
        gMode = 2;

        QPointer<QWidget> first = OpenWindow(Role::Picker);
        auto* picker = qobject_cast<frmSelQRep*>(first.data());
        QVERIFY(picker);
        QCOMPARE(picker->PageNo, 1);
        QCOMPARE(picker->CursorCell, 1);
        picker->picBoard_Click(2);
        picker->picBoard_Click(2);
        DeleteClosedWindows();
        QVERIFY(!first);

        frmLearn* learn = OnlyWindow<frmLearn>();
        QVERIFY(learn);
        QCOMPARE(learn->lblProb->text(), QStringLiteral("#15"));
        learn->cmdShowNext_Click();
        learn->picBoard_MouseDown(2, 2, 1);
        learn->Timer1_Timer();
        learn->picBoard_MouseDown(4, 4, 1);
        QCOMPARE(learn->lblComment->text(), QStringLiteral("正解です。『白死』になりました。"));
        learn->cmdNextProb_Click();
        QCOMPARE(learn->lblProb->text(), QStringLiteral("#16"));
        QCOMPARE(learn->state().historyDepth(), 0);
        learn->cmdExit_Click();
        DeleteClosedWindows();
        QVERIFY(!OnlyWindow<frmLearn>());

        picker = OnlyWindow<frmSelQRep>();
        QVERIFY(picker);
        QCOMPARE(picker->PageNo, 1);
        QCOMPARE(picker->CursorCell, 3);
        QCOMPARE(data.menuRefreshes, 0);
        picker->close();
        DeleteClosedWindows();
        QCOMPARE(data.menuRefreshes, 1);
        QVERIFY(!OnlyWindow<frmSelQRep>());
        QCOMPARE(data.platform.messages, QStringList{QStringLiteral("次の手の候補です")});
        QCOMPARE(data.platform.beeps, 0);
    }
};

QTEST_MAIN(TestLearnRoad)
#include "test_learn_road.moc"

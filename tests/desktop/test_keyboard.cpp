// The keyboard of every window: Return on the focused or default button,
// Escape on the window's own way out, and keys bound to buttons; the view
// window's ← → Home End.
#include "library/courses.h"
#include "library/files.h"
#include "library/player.h"
#include "library/session.h"
#include "modes/view/frmview.h"
#include "platform/recordingplatform.h"
#include "rules/outcome.h"
#include "shell/keyboard.h"
#include "shell/router.h"

#include <QDir>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

class TestKeyboard : public QObject {
    Q_OBJECT
private slots:
    void keysPressTheirButtons_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("pressed");
        QTest::newRow("Escape leaves") << int(Qt::Key_Escape) << "leave";
        QTest::newRow("Return on the default") << int(Qt::Key_Return) << "ok";
        QTest::newRow("keypad Enter too") << int(Qt::Key_Enter) << "ok";
        QTest::newRow("bound key") << int(Qt::Key_Home) << "start";
        QTest::newRow("unbound key") << int(Qt::Key_End) << "";
    }
    void keysPressTheirButtons() {
        QFETCH(int, key);
        QFETCH(QString, pressed);
        ScopedRecordingPlatform rec;
        QWidget w;
        auto* ok = new QPushButton(QStringLiteral("OK"), &w);
        auto* leave = new QPushButton(QStringLiteral("終了"), &w);
        auto* start = new QPushButton(QStringLiteral("最初へ"), &w);
        QString got;
        connect(ok, &QPushButton::clicked, [&] { got += QStringLiteral("ok"); });
        connect(leave, &QPushButton::clicked, [&] { got += QStringLiteral("leave"); });
        connect(start, &QPushButton::clicked, [&] { got += QStringLiteral("start"); });
        SetKeyboardButtons(&w, leave, ok, {{Qt::Key_Home, start}});
        w.show();
        QTest::keyClick(&w, Qt::Key(key));
        QCOMPARE(got, pressed);
        QCOMPARE(rec.platform.beeps, 0);
    }

    void focusedButtonTakesReturn() {
        QWidget w;
        auto* ok = new QPushButton(QStringLiteral("OK"), &w);
        auto* other = new QPushButton(QStringLiteral("他"), &w);
        int okPresses = 0, otherPresses = 0;
        connect(ok, &QPushButton::clicked, [&] { ++okPresses; });
        connect(other, &QPushButton::clicked, [&] { ++otherPresses; });
        SetKeyboardButtons(&w, nullptr, ok);
        w.show();
        QVERIFY(other->autoDefault());
        QTest::keyClick(other, Qt::Key_Return);
        QCOMPARE(otherPresses, 1);
        QCOMPARE(okPresses, 0);
        // Keys a control takes for itself never reach the window.
        auto* edit = new QLineEdit(&w);
        edit->show();
        QTest::keyClick(edit, Qt::Key_Home);
        QCOMPARE(okPresses + otherPresses, 1);
    }

    void disabledButtonBeeps() {
        ScopedRecordingPlatform rec;
        QWidget w;
        auto* leave = new QPushButton(QStringLiteral("終了"), &w);
        int presses = 0;
        connect(leave, &QPushButton::clicked, [&] { ++presses; });
        SetKeyboardButtons(&w, leave);
        w.show();
        leave->setEnabled(false);
        QTest::keyClick(&w, Qt::Key_Escape);
        QCOMPARE(presses, 0);
        QCOMPARE(rec.platform.beeps, 1);
    }

    void viewStepsWithArrowsHomeAndEnd() {
        const QDir dist(QStringLiteral(VELMORA_DIST_DIR));
        if (!dist.exists(QStringLiteral("abc.dr"))) QSKIP("the program folder has no data yet");
        QTemporaryDir dir;
        for (const QFileInfo& fi : dist.entryInfoList(QDir::Files))
            if (!fi.fileName().startsWith(QLatin1String("vm2.p")) ||
                fi.fileName() == QLatin1String("vm2.psn"))
                QFile::copy(fi.filePath(), dir.filePath(fi.fileName()));
        gDataPath = MakeDataPath(dir.path());
        QVERIFY(InitCourses());
        InitOutcomeTable();
        gPlayerCount = 1;
        gPlayerName[0] = QStringLiteral("A");
        gCurPlayer = 0;
        QVERIFY(CreatePlayerFile(0));
        QVERIFY(LoadPlayerFile(0));
        ScopedRecordingPlatform rec;
        SetMenuRefresh([] {});
        RegisterWindow(Role::Picker, [] { return new QWidget; });
        gMode = 3;
        gCourse = 0;
        gProbNo = 0;
        QPointer<frmView> v = new frmView;
        v->show();
        // Each key presses its button; the step itself is the timer's.
        const auto press = [&](Qt::Key key) {
            QTest::keyClick(v, key);
            for (int i = 0; i < 50 && v->TimerAction() != frmView::Idle; ++i)
                v->Timer1Tick();
            return v->replay().gNowNth;
        };
        QCOMPARE(v->replay().gNowNth, 0);
        QCOMPARE(press(Qt::Key_Right), 1);
        QCOMPARE(press(Qt::Key_Right), 2);
        QCOMPARE(press(Qt::Key_Left), 1);
        const int end = press(Qt::Key_End);
        QVERIFY(end >= 2);
        QCOMPARE(press(Qt::Key_Right), end); // nothing past the end: a beep
        QCOMPARE(press(Qt::Key_Home), 0);
        QCOMPARE(rec.platform.beeps, 1);
        QTest::keyClick(v, Qt::Key_Escape); // 終了: back to the picker
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!v || !v->isVisible());
        delete v;
    }
};

QTEST_MAIN(TestKeyboard)
#include "test_keyboard.moc"

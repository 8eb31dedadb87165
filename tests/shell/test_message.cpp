// The self-closing message window with its remembered place, and the
// version window.
#include "library/writefolder.h"
#include "platform/platform.h"
#include "platform/recordingplatform.h"
#include "shell/appinit.h"
#include "shell/clicklabel.h"
#include "shell/message.h"
#include "shell/router.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTimer>
#include <QUrl>
#include <QtTest>
#include <memory>

namespace {

std::unique_ptr<QSettings> Store() {
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                       QStringLiteral("VELMORA2"), QStringLiteral("VELMORA2"));
}

} // namespace

class TestMessage : public QObject {
    Q_OBJECT
private:
    QWidget* menu_ = nullptr;

    QPoint expectedDefault(const QSize& own) const {
        return MessageDefaultPosition(menu_->frameGeometry(), own);
    }

private slots:
    void initTestCase() {
        InitApplication(*qApp, QString()); // the program's pixel-sized font
        menu_ = new QWidget;
        menu_->setGeometry(100, 60, 520, 340);
        SetMenuWindow(menu_);
    }
    void cleanupTestCase() {
        SetMenuWindow(nullptr);
        delete menu_;
    }
    void init() {
        QSettings s(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("VELMORA2"),
                    QStringLiteral("VELMORA2"));
        s.clear();
        s.sync();
    }

    void defaultPosition_data() {
        QTest::addColumn<QRect>("menu");
        QTest::addColumn<QSize>("own");
        QTest::addColumn<QPoint>("expected");
        // left + width * 3/4 - own / 2, rounded to the nearest, ties to even.
        QTest::newRow("whole numbers")
            << QRect(100, 50, 520, 340) << QSize(260, 64) << QPoint(360, 273);
        QTest::newRow("ties go to even (up)")
            << QRect(100, 50, 522, 340) << QSize(260, 64) << QPoint(362, 273);
        QTest::newRow("ties go to even (down)")
            << QRect(101, 50, 522, 342) << QSize(260, 65) << QPoint(362, 274);
        QTest::newRow("menu at the origin")
            << QRect(0, 0, 400, 300) << QSize(100, 50) << QPoint(250, 200);
    }
    void defaultPosition() {
        QFETCH(QRect, menu);
        QFETCH(QSize, own);
        QFETCH(QPoint, expected);
        QCOMPARE(MessageDefaultPosition(menu, own), expected);
    }

    void storedCoordinates_data() {
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<int>("value");
        QTest::newRow("integer text") << QVariant(QStringLiteral("123")) << true << 123;
        QTest::newRow("negative") << QVariant(QStringLiteral("-40")) << true << -40;
        QTest::newRow("single-precision text") << QVariant(QStringLiteral("12.5")) << true << 12;
        QTest::newRow("missing") << QVariant() << false << 0;
        QTest::newRow("not a number") << QVariant(QStringLiteral("left")) << false << 0;
        QTest::newRow("empty") << QVariant(QStringLiteral("")) << false << 0;
        QTest::newRow("too large") << QVariant(QStringLiteral("1e12")) << false << 0;
    }
    void storedCoordinates() {
        QFETCH(QVariant, stored);
        QFETCH(bool, valid);
        QFETCH(int, value);
        const auto got = ParseStoredCoordinate(stored);
        QCOMPARE(got.has_value(), valid);
        if (valid) QCOMPARE(*got, value);
    }

    void besideBoard_data() {
        QTest::addColumn<QRect>("board");
        QTest::addColumn<QPoint>("expected");
        const QSize own(260, 64); // on a 1024 x 768 screen
        QTest::newRow("right of the board, centred on it")
            << QRect(100, 100, 381, 381) << QPoint(100 + 381 + 12, 100 + (381 - own.height()) / 2);
        QTest::newRow("no room on the right: left of it")
            << QRect(700, 100, 300, 300)
            << QPoint(700 - 12 - own.width(), 100 + (300 - own.height()) / 2);
        QTest::newRow("kept on the screen") << QRect(0, -200, 300, 200) << QPoint(312, 0);
    }
    void besideBoard() {
        QFETCH(QRect, board);
        QFETCH(QPoint, expected);
        QCOMPARE(MessageBesideBoard(board, QSize(260, 64), QRect(0, 0, 1024, 768)), expected);
    }

    void toolWindowBesideTheAskingBoard() {
        QWidget owner;
        owner.setGeometry(40, 40, 700, 500);
        auto* board = new QWidget(&owner);
        board->setObjectName(QStringLiteral("picBoard"));
        board->setGeometry(20, 30, 381, 381);
        owner.show();
        QVERIFY(QTest::qWaitForWindowExposed(&owner));
        frmMessage w(&owner);
        const QRect frame(board->mapToGlobal(QPoint(0, 0)), board->size());
        QCOMPARE(w.pos(),
                 MessageBesideBoard(frame, w.size(),
                                    QGuiApplication::primaryScreen()->availableGeometry()));
        QVERIFY(w.x() > frame.right()); // the board stays in view
        const Qt::WindowFlags flags = w.windowFlags();
        QCOMPARE(flags & Qt::WindowType_Mask, Qt::Tool);
        QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
        QVERIFY(flags & Qt::WindowCloseButtonHint);
    }

    void firstOpenUsesDefaultPlace() {
        gMessageText = QStringLiteral("次の手の候補です");
        frmMessage w;
        QCOMPARE(w.pos(), expectedDefault(w.size()));
        QCOMPARE(w.windowTitle(), QStringLiteral("Velmora２"));
        QCOMPARE(w.lblMessage->text(), QStringLiteral("次の手の候補です"));
        QCOMPARE(w.Timer1->interval(), 2000);
        // Larger than ordinary text, whatever unit the application font uses.
        QVERIFY(QFontInfo(w.lblMessage->font()).pixelSize() >
                QFontInfo(QApplication::font()).pixelSize());
        QVERIFY(w.Timer1->isActive());
    }

    void placeIsRememberedAcrossOpenings() {
        {
            frmMessage w;
            w.show();
            w.move(150, 170);
            w.Timer1_Timer();
            QVERIFY(!w.isVisible());
        }
        {
            auto s = Store();
            QCOMPARE(s->value(QStringLiteral("VM_VIEW/frmLeft")).toString(), QStringLiteral("150"));
            QCOMPARE(s->value(QStringLiteral("VM_VIEW/frmTop")).toString(), QStringLiteral("170"));
        }
        frmMessage again; // also after a restart: the place lives in the settings file
        QCOMPARE(again.pos(), QPoint(150, 170));
    }

    void minimisedCloseKeepsStoredPlace() {
        {
            auto s = Store();
            s->setValue(QStringLiteral("VM_VIEW/frmLeft"), QStringLiteral("10"));
            s->setValue(QStringLiteral("VM_VIEW/frmTop"), QStringLiteral("20"));
        }
        frmMessage w;
        w.show();
        w.move(300, 300);
        w.setWindowState(Qt::WindowMinimized);
        QVERIFY(w.isMinimized());
        w.Timer1_Timer();
        auto s = Store();
        QCOMPARE(s->value(QStringLiteral("VM_VIEW/frmLeft")).toString(), QStringLiteral("10"));
        QCOMPARE(s->value(QStringLiteral("VM_VIEW/frmTop")).toString(), QStringLiteral("20"));
    }

    void unusableStoredPlaceFallsBack_data() {
        QTest::addColumn<QString>("left");
        QTest::addColumn<QString>("top");
        QTest::newRow("not numbers") << "abc"
                                     << "20";
        QTest::newRow("only one stored") << "40"
                                         << "";
        QTest::newRow("off every screen") << "50000"
                                          << "50000";
        QTest::newRow("left of every screen") << "-5000"
                                              << "100";
    }
    void unusableStoredPlaceFallsBack() {
        QFETCH(QString, left);
        QFETCH(QString, top);
        {
            auto s = Store();
            s->setValue(QStringLiteral("VM_VIEW/frmLeft"), left);
            if (!top.isEmpty()) s->setValue(QStringLiteral("VM_VIEW/frmTop"), top);
        }
        frmMessage w;
        QCOMPARE(w.pos(), expectedDefault(w.size()));
    }

    void clickOnTextCloses() {
        frmMessage w;
        w.show();
        QTest::mouseClick(w.lblMessage, Qt::LeftButton);
        QVERIFY(!w.isVisible());
        QVERIFY(!w.Timer1->isActive());
    }

    // The caller of ShowMessage resumes only after the window has closed
    // itself on its first tick.
    void callerResumesOnlyAfterTick() {
        SetPlatform(nullptr); // the real message window
        bool resumed = false;
        bool sawWindow = false;
        QString shownText;
        bool timerRunning = false;
        QElapsedTimer guard;
        guard.start();
        QTimer poll;
        poll.setInterval(10);
        connect(&poll, &QTimer::timeout, this, [&] {
            if (auto* w = qobject_cast<frmMessage*>(QApplication::activeModalWidget())) {
                poll.stop();
                sawWindow = !resumed;
                shownText = w->lblMessage->text();
                timerRunning = w->Timer1->isActive();
                w->Timer1_Timer(); // the tick, without waiting for the clock
            } else if (guard.elapsed() > 3000) {
                poll.stop();
                if (QWidget* m = QApplication::activeModalWidget()) m->close();
            }
        });
        poll.start();
        ShowMessage(QStringLiteral("候補にありません"));
        resumed = true;
        QVERIFY(sawWindow);
        QCOMPARE(shownText, QStringLiteral("候補にありません"));
        QCOMPARE(gMessageText, QStringLiteral("候補にありません"));
        QVERIFY(timerRunning);
    }

    void recordingPlatformTakesMessages() {
        ScopedRecordingPlatform rec;
        ShowMessage(QStringLiteral("悪手です"));
        QCOMPARE(rec.platform.messages, QStringList{QStringLiteral("悪手です")});
        QCOMPARE(gMessageText, QStringLiteral("悪手です"));
    }

    // ---- version window ------------------------------------------------------

    void versionFormat_data() {
        QTest::addColumn<int>("major");
        QTest::addColumn<int>("minor");
        QTest::addColumn<int>("revision");
        QTest::addColumn<QString>("text");
        QTest::newRow("1.0.8") << 1 << 0 << 8 << "1.00.08";
        QTest::newRow("two-digit parts") << 12 << 34 << 56 << "12.34.56";
        QTest::newRow("zero major") << 0 << 5 << 0 << "0.05.00";
    }
    void versionFormat() {
        QFETCH(int, major);
        QFETCH(int, minor);
        QFETCH(int, revision);
        QFETCH(QString, text);
        QCOMPARE(FormatVersion(major, minor, revision), text);
    }

    void versionWindowContent() {
        ScopedRecordingPlatform rec;
        RegisterWindow(Role::About, [] { return new frmAboutThis; });
        QPointer<QWidget> about = OpenWindow(Role::About);
        auto* w = qobject_cast<frmAboutThis*>(about.data());
        QVERIFY(w);
        QCOMPARE(w->windowModality(), Qt::ApplicationModal);
        QCOMPARE(w->windowTitle(), QStringLiteral("バージョン情報"));
        QCOMPARE(w->Label2->text(), QStringLiteral("Velmora２"));
        QVERIFY(w->Label4->text().startsWith(QStringLiteral("バージョン　　")));
        QCOMPARE(w->Label4->text().mid(7).count(QLatin1Char('.')), 2);
        QVERIFY(!w->Label3->text().isEmpty());
        QVERIFY(QFontInfo(w->Label2->font()).pixelSize() >
                QFontInfo(w->Label3->font()).pixelSize());
        // No made-up web address: the folder where the records are kept.
        QCOMPARE(w->Label5->text(),
                 QStringLiteral("記録の保存先: ") + QDir::toNativeSeparators(WriteFolder()));
        for (QWidget* c : {static_cast<QWidget*>(w->picIcon), static_cast<QWidget*>(w->cmdOK),
                           static_cast<QWidget*>(w->Label5)})
            QVERIFY(!c->accessibleName().isEmpty());
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QCOMPARE(w->pos(), QPoint(screen.x() + (screen.width() - w->width()) / 2,
                                  screen.y() + (screen.height() - w->height()) / 2));

        QTest::mouseClick(w->Label5, Qt::LeftButton);
        QCOMPARE(rec.platform.urls, QStringList{QUrl::fromLocalFile(WriteFolder()).toString()});

        QTest::mouseClick(w->cmdOK, Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(about.isNull()); // closed and gone
    }
};

QTEST_MAIN(TestMessage)
#include "test_message.moc"

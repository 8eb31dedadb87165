// The start-up sequence, the main menu and the common window look.
#include "board/boardview.h"
#include "fixture.h"
#include "library/session.h"
#include "platform/instance.h"
#include "platform/recordingplatform.h"
#include "shell/help.h"
#include "shell/menu.h"
#include "shell/router.h"
#include "shell/startup.h"
#include "shell/windowlook.h"

#include <QApplication>
#include <QLabel>
#include <QLockFile>
#include <QMenu>
#include <QRadioButton>
#include <QScreen>
#include <QTextBrowser>
#include <QtTest>
#include <memory>

namespace {

// Registers every role the menu opens with a stand-in window that records
// which role was asked for.
struct OpenedWindows {
    QList<Role> roles;
    void install() {
        for (Role r : {Role::CourseSelect, Role::Picker, Role::Settings, Role::Registration,
                       Role::About, Role::Help}) {
            RegisterWindow(r, [this, r] {
                roles.append(r);
                auto* w = new QWidget;
                w->setObjectName(QStringLiteral("standin"));
                return w;
            });
        }
    }
};

void CloseStandIns() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("standin")) w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace

class TestMenu : public QObject {
    Q_OBJECT
private:
    QTemporaryDir dir_;
    QString folder_;
    ScopedRecordingPlatform* platform_ = nullptr;
    OpenedWindows opened_;

    std::unique_ptr<frmMenu> makeMenu() {
        auto menu = std::make_unique<frmMenu>();
        menu->show();
        QCoreApplication::processEvents();
        return menu;
    }

private slots:
    void initTestCase() {
        QVERIFY(dir_.isValid());
        folder_ = dir_.path();
        MakeProgramFolder(folder_);
        gDataPath = MakeDataPath(folder_);
        opened_.install();
    }

    void init() {
        platform_ = new ScopedRecordingPlatform;
        opened_.roles.clear();
        RemoveRoster(folder_);
        gPlayerCount = 0;
        gCurPlayer = 0;
        gMode = 0;
        gPlayerRecord = PlayerRecord{};
    }

    void cleanup() {
        CloseStandIns();
        delete platform_;
        platform_ = nullptr;
    }

    void helpMenuHasUsageBesideVersion() {
        auto menu = makeMenu();
        const QList<QAction*> items = menu->mnuHelp->actions();
        QCOMPARE(items.size(), 2);
        QCOMPARE(items[0], menu->mnuUsage);
        QCOMPARE(items[1], menu->mnuVersion);
        QCOMPARE(menu->mnuUsage->text(), QStringLiteral("使い方(&H)"));
        QCOMPARE(menu->mnuUsage->shortcut(), QKeySequence(QKeySequence::HelpContents));
        menu->mnuUsage->trigger();
        QCOMPARE(opened_.roles, QList<Role>{Role::Help});
        CloseStandIns();
        // The explanation box says once how an entry starts.
        QVERIFY(menu->lblStartHint->text().contains(QStringLiteral("もう一度クリック")));
        QVERIFY(menu->lblStartHint->text().contains(QStringLiteral("Return")));
        QCOMPARE(menu->lblStartHint->parentWidget(), menu->lblExplain->parentWidget());
        QVERIFY(!MenuEntryExplanation(0).contains(QStringLiteral("Return")));
    }

    void helpPageCoversModesJudgingOutcomesAndKeys() {
        const QString html = HelpPageHtml();
        for (const char* needed : {"トライアルモード", "学習モード", "鑑賞モード", "答えの判定",
                                   "白死", "黒生き", "セキ", "本コウ(黒取り番)", "ヨセコウ",
                                   "万年コウ", "キー操作", "Esc", "Home", "Backspace"})
            QVERIFY2(html.contains(QString::fromUtf8(needed)), needed);
        QVERIFY(!html.contains(QLatin1Char('\n'))); // no stray spaces in Japanese text
        frmHelp help;
        QCOMPARE(help.windowTitle(), QStringLiteral("使い方"));
        QVERIFY(help.txtHelp->toPlainText().contains(QStringLiteral("結果の名前")));
        QVERIFY(!help.txtHelp->openExternalLinks());
        QVERIFY(!help.txtHelp->accessibleName().isEmpty());
    }

    void firstStartShowsUnregisteredAndEntryZero() {
        auto menu = makeMenu();
        QCOMPARE(menu->windowTitle(), QStringLiteral("Velmora２"));
        QCOMPARE(menu->lblPlayer->text(), QStringLiteral("未登録"));
        QCOMPARE(menu->selectedEntry(), 0);
        QCOMPARE(menu->focusWidget(), static_cast<QWidget*>(menu->optMode[0]));
        QCOMPARE(menu->lblExplain->text(), MenuEntryExplanation(0));
        QCOMPARE(menu->lblDoing->text(), QStringLiteral("ゲームモードを選んでください"));
        QCOMPARE(menu->Label5->text(), QStringLiteral("プレイヤー"));
        QCOMPARE(menu->Label4->text(), QStringLiteral("説明"));
        QCOMPARE(menu->mnuHelp->title(), QStringLiteral("ヘルプ"));
        QCOMPARE(menu->mnuVersion->text(), QStringLiteral("バージョン情報(&V)"));
        const QStringList captions = {"トライアルモード", "学習モード",     "鑑賞モード",
                                      "モード設定",       "プレイヤー登録", "終了"};
        for (int i = 0; i < kMenuEntries; ++i) {
            auto* opt = menu->findChild<QRadioButton*>(QStringLiteral("optMode_%1").arg(i));
            QVERIFY(opt);
            QCOMPARE(opt, menu->optMode[size_t(i)]);
            QCOMPARE(opt->text(), captions[i]);
            QCOMPARE(opt->accessibleName(), captions[i]);
            QVERIFY(opt->isVisible());
            // 550 twips below the previous entry.
            QCOMPARE(opt->y() - menu->optMode[0]->y(), i * 550 / 15);
        }
        // The menu's own picture (players' display settings allow it).
        QCOMPARE(menu->centralWidget()->property("velmoraBackground").toString(),
                 QStringLiteral("keiryu.bmp"));
        QCOMPARE(menu.get(), MenuWindow());
    }

    void explanationsFollowSelection_data() {
        QTest::addColumn<int>("entry");
        QTest::addColumn<QString>("firstLine");
        QTest::addColumn<int>("lines");
        QTest::newRow("trial") << 0 << "感覚を養うモードです。" << 3;
        QTest::newRow("learn") << 1 << "読みを養うモードです。" << 3;
        QTest::newRow("view, with a trailing line break")
            << 2 << "手順を見るモードです。代表的な" << 4;
        QTest::newRow("settings") << 3 << "各種設定をします。" << 1;
        QTest::newRow("registration") << 4 << "プレイヤーの登録をします。" << 3;
        QTest::newRow("quit") << 5 << "Velmora２を終了します。" << 1;
    }
    void explanationsFollowSelection() {
        QFETCH(int, entry);
        QFETCH(QString, firstLine);
        QFETCH(int, lines);
        auto menu = makeMenu();
        QTest::mouseClick(menu->optMode[size_t(entry)], Qt::LeftButton);
        const QStringList got = menu->lblExplain->text().split(QLatin1Char('\n'));
        QCOMPARE(got.first(), firstLine);
        QCOMPARE(got.size(), lines);
        QCOMPARE(menu->selectedEntry(), entry);
        // Only entry 0 was selected before: one click on another entry starts nothing.
        if (entry != 0) {
            QVERIFY(opened_.roles.isEmpty());
            QCOMPARE(platform_->platform.boxes.size(), 0);
            QCOMPARE(platform_->platform.quits, 0);
        }
    }

    void secondClickStartsEntry_data() {
        QTest::addColumn<int>("entry");
        QTest::addColumn<int>("role");
        QTest::addColumn<int>("mode");
        QTest::newRow("trial") << 0 << int(Role::CourseSelect) << 1;
        QTest::newRow("learn") << 1 << int(Role::Picker) << 2;
        QTest::newRow("view") << 2 << int(Role::Picker) << 3;
        QTest::newRow("settings") << 3 << int(Role::Settings) << 4;
        QTest::newRow("registration") << 4 << int(Role::Registration) << 5;
    }
    void secondClickStartsEntry() {
        QFETCH(int, entry);
        QFETCH(int, role);
        QFETCH(int, mode);
        RegisterPlayers(folder_, {QStringLiteral("本因坊")}, 0);
        auto menu = makeMenu();
        QCOMPARE(menu->lblPlayer->text(), QStringLiteral("本因坊"));
        if (entry != 0) {
            QTest::mouseClick(menu->optMode[size_t(entry)], Qt::LeftButton);
            QVERIFY(opened_.roles.isEmpty());
        }
        QTest::mouseClick(menu->optMode[size_t(entry)], Qt::LeftButton);
        QCOMPARE(opened_.roles.size(), 1);
        QCOMPARE(int(opened_.roles.first()), role);
        QCOMPARE(int(gMode), mode);
        QCOMPARE(platform_->platform.boxes.size(), 0);
        // The menu stays open underneath and the pointer is back to normal.
        QVERIFY(menu->isVisible());
        QVERIFY(!QApplication::overrideCursor());
    }

    void doubleClickOnOtherEntryStartsIt() {
        RegisterPlayers(folder_, {QStringLiteral("a")}, 0);
        auto menu = makeMenu();
        // A real double click: press and release, then the second press
        // arrives as a double-click event.
        QTest::mouseClick(menu->optMode[3], Qt::LeftButton);
        QVERIFY(opened_.roles.isEmpty());
        QTest::mouseDClick(menu->optMode[3], Qt::LeftButton);
        QCOMPARE(opened_.roles, QList<Role>{Role::Settings});
    }

    void keyboardStartsSelectedEntry() {
        RegisterPlayers(folder_, {QStringLiteral("a")}, 0);
        auto menu = makeMenu();
        QTest::keyClick(menu->optMode[0], Qt::Key_Return);
        QCOMPARE(opened_.roles, QList<Role>{Role::CourseSelect});
    }

    void entriesNeedAPlayer_data() {
        QTest::addColumn<int>("entry");
        for (int i = 0; i < 4; ++i)
            QTest::newRow(qPrintable(MenuEntryCaption(i))) << i;
    }
    void entriesNeedAPlayer() {
        QFETCH(int, entry);
        auto menu = makeMenu();
        gMode = 9;
        if (entry != 0) QTest::mouseClick(menu->optMode[size_t(entry)], Qt::LeftButton);
        QTest::mouseClick(menu->optMode[size_t(entry)], Qt::LeftButton);
        QCOMPARE(platform_->platform.boxes,
                 QStringList{QStringLiteral("プレイヤーを登録してからゲームを始めてください")});
        QVERIFY(opened_.roles.isEmpty());
        QCOMPARE(int(gMode), 9);
    }

    // One mode at a time: while a window of any entry is open, the entries
    // beep and start nothing; the help menu still opens its window.
    void entriesWaitForTheOpenWindow_data() {
        QTest::addColumn<int>("entry");
        for (int i = 0; i < 5; ++i)
            QTest::newRow(qPrintable(MenuEntryCaption(i))) << i;
    }
    void entriesWaitForTheOpenWindow() {
        QFETCH(int, entry);
        RegisterPlayers(folder_, {QStringLiteral("a")}, 0);
        auto menu = makeMenu();
        QTest::keyClick(menu->optMode[0], Qt::Key_Return);
        QCOMPARE(opened_.roles, QList<Role>{Role::CourseSelect});
        QVERIFY(RoadWindowOpen());

        menu->optMode[size_t(entry)]->setChecked(true);
        QTest::keyClick(menu->optMode[size_t(entry)], Qt::Key_Return);
        QTest::mouseClick(menu->optMode[size_t(entry)], Qt::LeftButton);
        QCOMPARE(opened_.roles, QList<Role>{Role::CourseSelect});
        QCOMPARE(platform_->platform.beeps, 2);
        QCOMPARE(int(gMode), 1);
        QVERIFY(platform_->platform.boxes.isEmpty());

        menu->mnuVersion->trigger();
        QCOMPARE(opened_.roles, (QList<Role>{Role::CourseSelect, Role::About}));
        QVERIFY(RoadWindowOpen()); // the version window does not count

        // Once the window has closed the entry starts again.
        CloseStandIns();
        QVERIFY(!RoadWindowOpen());
        menu->StartSelected();
        QCOMPARE(opened_.roles.size(), 3);
        QCOMPARE(platform_->platform.beeps, 2);
    }

    void quitWorksWhileAWindowIsOpen() {
        auto menu = makeMenu();
        QTest::mouseClick(menu->optMode[4], Qt::LeftButton);
        QTest::mouseClick(menu->optMode[4], Qt::LeftButton);
        QCOMPARE(opened_.roles, QList<Role>{Role::Registration});
        // No player yet: the entries beep instead of asking for one.
        menu->optMode[0]->setChecked(true);
        menu->StartSelected();
        QCOMPARE(platform_->platform.beeps, 1);
        QVERIFY(platform_->platform.boxes.isEmpty());
        menu->optMode[5]->setChecked(true);
        menu->StartSelected();
        QCOMPARE(platform_->platform.quits, 1);
    }

    void registrationWorksWithoutPlayer() {
        auto menu = makeMenu();
        QTest::mouseClick(menu->optMode[4], Qt::LeftButton);
        QVERIFY(opened_.roles.isEmpty());
        QTest::mouseClick(menu->optMode[4], Qt::LeftButton);
        QCOMPARE(opened_.roles, QList<Role>{Role::Registration});
        QCOMPARE(platform_->platform.boxes.size(), 0);
    }

    void quitEntryEndsAtOnce() {
        WritePicture(folder_, QStringLiteral("board.bmp"), {389, 389}, Qt::white);
        for (int i = 0; i < 16; ++i)
            WritePicture(folder_, StoneBitmapName(i), {29, 29}, Qt::black);
        QVERIFY(frmSource::Load());
        auto menu = makeMenu();
        QTest::mouseClick(menu->optMode[5], Qt::LeftButton);
        QCOMPARE(platform_->platform.quits, 0);
        QTest::mouseClick(menu->optMode[5], Qt::LeftButton);
        QCOMPARE(platform_->platform.quits, 1);
        QCOMPARE(platform_->platform.questions.size(), 0); // no confirmation
        QCOMPARE(platform_->platform.boxes.size(), 0);
        QVERIFY(!frmSource::IsLoaded());
    }

    void closingTheMenuUnloadsTiles() {
        WritePicture(folder_, QStringLiteral("board.bmp"), {389, 389}, Qt::white);
        for (int i = 0; i < 16; ++i)
            WritePicture(folder_, StoneBitmapName(i), {29, 29}, Qt::black);
        QVERIFY(frmSource::Load());
        auto menu = makeMenu();
        menu->close();
        QVERIFY(!frmSource::IsLoaded());
    }

    void myInitFormShowsRegisteredPlayer() {
        auto menu = makeMenu();
        QCOMPARE(menu->lblPlayer->text(), QStringLiteral("未登録"));
        PlayerRecord rec;
        rec.ThinkTime = 90;
        rec.Background = 1; // this player wants no pictures
        RegisterPlayers(folder_, {QStringLiteral("一郎"), QStringLiteral("二郎")}, 1, rec);
        MyInitForm(); // what a closing window calls, through the router
        QCOMPARE(menu->lblPlayer->text(), QStringLiteral("二郎"));
        QCOMPARE(menu->lblPlayer->accessibleName(), QStringLiteral("二郎"));
        QCOMPARE(int(gPlayerCount), 2);
        QCOMPARE(int(gPlayerRecord.ThinkTime), 90);
        QCOMPARE(menu->centralWidget()->property("velmoraBackground").toString(), QString());
        QCOMPARE(menu->centralWidget()->palette().color(QPalette::Window), QColor(128, 128, 0));

        // Deleting every player brings the defaults and "未登録" back.
        RemoveRoster(folder_);
        MyInitForm();
        QCOMPARE(menu->lblPlayer->text(), QStringLiteral("未登録"));
        QCOMPARE(int(gPlayerRecord.ThinkTime), 60);
        QCOMPARE(menu->centralWidget()->property("velmoraBackground").toString(),
                 QStringLiteral("keiryu.bmp"));
    }

    // Damage found while the menu reads the files is told once, naming the
    // file: a roster read in part, a player file rebuilt from the template.
    void damagedFilesAreToldOnce() {
        auto menu = makeMenu();
        platform_->platform.clear();
        RegisterPlayers(folder_, {QStringLiteral("一郎"), QStringLiteral("二郎")}, 1);
        WriteBytes(folder_, QStringLiteral("vm2.ply"),
                   QByteArray(" 0 ,\"A\"\r\n 1 ,\"B\"\r\n??\r\n"));
        WriteBytes(folder_, PlayerFileName(1), QByteArray(100, '\0'));
        MyInitForm();
        QCOMPARE(platform_->platform.boxes.size(), 2);
        QVERIFY(platform_->platform.boxes[0].contains(QStringLiteral("vm2.ply")));
        QVERIFY(platform_->platform.boxes[0].contains(QStringLiteral("3 行目")));
        QVERIFY(platform_->platform.boxes[1].contains(PlayerFileName(1)));
        QCOMPARE(menu->lblPlayer->text(), QStringLiteral("B"));
        MyInitForm(); // every return to the menu reads again: nothing new to tell
        QCOMPARE(platform_->platform.boxes.size(), 2);
        QFile::remove(QDir(folder_).filePath(PlayerFileName(1) + QStringLiteral(".bad")));
    }

    // The comment lists wait for the first window that shows a comment: the
    // menu opens without them, that window's opening names the missing file.
    void commentListsWaitForTheModes() {
        const QString s1 = QDir(folder_).filePath(QStringLiteral("s1.txt"));
        QVERIFY(QFile::remove(s1));
        {
            auto menu = makeMenu();
            QVERIFY(menu->isVisible());
            QVERIFY(platform_->platform.boxes.isEmpty());
        }
        QWidget learn;
        QVERIFY_THROWS_EXCEPTION(ProgramAborted, NeedCommentLists(&learn));
        QCOMPARE(platform_->platform.boxes.size(), 1);
        QVERIFY(platform_->platform.boxes.first().contains(QStringLiteral("s1.txt")));
        WriteBytes(folder_, QStringLiteral("s1.txt"), QByteArray());
        NeedCommentLists(&learn);
        QCOMPARE(platform_->platform.boxes.size(), 1);
    }

    void menuGoneMakesRefreshHarmless() {
        { auto menu = makeMenu(); }
        QVERIFY(!MenuWindow());
        MyInitForm(); // a window closing after the menu must not crash
    }

    void everyNamedControlHasAnAccessibleName() {
        auto menu = makeMenu();
        for (QWidget* w : menu->findChildren<QWidget*>()) {
            const QString name = w->objectName();
            if (name.startsWith(QLatin1String("opt")) || name.startsWith(QLatin1String("lbl")) ||
                name.startsWith(QLatin1String("Label")))
                QVERIFY2(!w->accessibleName().isEmpty(), qPrintable(name));
        }
    }

    // ---- window look -------------------------------------------------------

    void windowLookChoosesPicture_data() {
        QTest::addColumn<QString>("picture");
        QTest::addColumn<bool>("force");
        QTest::addColumn<int>("background");
        QTest::addColumn<int>("colorMode");
        QTest::addColumn<bool>("usesPicture");
        QTest::newRow("plain settings") << "keiryu.bmp" << false << 0 << 0 << true;
        QTest::newRow("pictures off") << "keiryu.bmp" << false << 1 << 0 << false;
        QTest::newRow("256 colours") << "keiryu.bmp" << false << 0 << 1 << false;
        QTest::newRow("forced despite settings") << "sakura.bmp" << true << 1 << 1 << true;
        QTest::newRow("no picture named") << "" << false << 0 << 0 << false;
        QTest::newRow("other values count as on") << "keiryu.bmp" << false << 2 << 3 << true;
    }
    void windowLookChoosesPicture() {
        QFETCH(QString, picture);
        QFETCH(bool, force);
        QFETCH(int, background);
        QFETCH(int, colorMode);
        QFETCH(bool, usesPicture);
        QCOMPARE(WindowLookUsesPicture(picture, force, background, colorMode), usesPicture);
    }

    void windowLookPlacesWindow() {
        QWidget w;
        w.setFixedSize(400, 250);
        gPlayerRecord.FormArrange = 1;
        ApplyWindowLook(&w, QStringLiteral("sakura.bmp"), false);
        QCOMPARE(w.pos(), QPoint(0, 0));
        gPlayerRecord.FormArrange = 0;
        ApplyWindowLook(&w, QStringLiteral("sakura.bmp"), false);
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QCOMPARE(w.pos(), QPoint(screen.x() + (screen.width() - 400) / 2,
                                 screen.y() + (screen.height() - 250) / 2));
        // The picture at the top-left corner, the plain colour beyond it.
        const QImage painted = w.palette().brush(QPalette::Window).texture().toImage();
        QCOMPARE(painted.pixelColor(0, 0), QColor(250, 210, 220));
        QCOMPARE(painted.pixelColor(319, 199), QColor(250, 210, 220));
        QCOMPARE(painted.pixelColor(399, 249), QColor(128, 128, 0));
        QCOMPARE(painted.pixelColor(320, 0), QColor(128, 128, 0));
    }

    void missingPictureIsFatalAndNamesFile() {
        QWidget w;
        QVERIFY_THROWS_EXCEPTION(ProgramAborted,
                                 ApplyWindowLook(&w, QStringLiteral("nothere.bmp"), true));
        QCOMPARE(platform_->platform.boxes.size(), 1);
        QVERIFY(platform_->platform.boxes.first().contains(QStringLiteral("nothere.bmp")));
    }

    // ---- start-up ------------------------------------------------------------

    void secondCopyIsRefused() {
        QLockFile other(QDir(folder_).filePath(QLatin1String(kInstanceLockName)));
        QVERIFY(other.tryLock(0));
        gDataPath = QStringLiteral("/unchanged/");
        gPlayerCount = 7;
        RegisterWindow(Role::Menu, [] { return new frmMenu; });
        QVERIFY(!StartUp(folder_));
        QCOMPARE(platform_->platform.boxes,
                 QStringList{QStringLiteral("このプログラムは複数回起動できません")});
        // Nothing read, nothing opened.
        QCOMPARE(gDataPath, QStringLiteral("/unchanged/"));
        QCOMPARE(int(gPlayerCount), 7);
        QVERIFY(!MenuWindow());
        other.unlock();
        gDataPath = MakeDataPath(folder_);
    }

    void startUpOpensMenuAndClosesSplash() {
        RegisterPlayers(folder_, {QStringLiteral("一郎"), QStringLiteral("二郎")}, 1);
        // A save cut short by a killed copy left its temporary file.
        WriteBytes(folder_, QStringLiteral("vm2.ps1.Xy12Zq"), QByteArray(40, 'x'));
        RegisterWindow(Role::Menu, [] { return new frmMenu; });
        gDataPath.clear();
        QVERIFY(StartUp(folder_ + QStringLiteral("/")));
        QCOMPARE(gDataPath, MakeDataPath(folder_));
        QVERIFY(gDataPath.endsWith(QLatin1Char('/')) && !gDataPath.endsWith(QLatin1String("//")));
        QCOMPARE(int(gCurPlayer), 1);
        QVERIFY(!QFile::exists(QDir(folder_).filePath(QStringLiteral("vm2.ps1.Xy12Zq"))));
        auto* menu = qobject_cast<frmMenu*>(MenuWindow());
        QVERIFY(menu);
        QVERIFY(menu->isVisible());
        QCOMPARE(menu->lblPlayer->text(), QStringLiteral("二郎"));
        for (QWidget* w : QApplication::topLevelWidgets())
            QVERIFY(!qobject_cast<frmStartup*>(w));
        QVERIFY(!QApplication::overrideCursor());
        // Our own lock is held: a further copy would be refused.
        QLockFile other(QDir(folder_).filePath(QLatin1String(kInstanceLockName)));
        QVERIFY(!other.tryLock(0));
        menu->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QVERIFY(!MenuWindow());
        ReleaseInstanceLock();
    }

    void splashTakesItsPictureSize() {
        frmStartup splash;
        QCOMPARE(splash.size(), QSize(320, 200));
        QCOMPARE(splash.windowTitle(), QStringLiteral("スタートアップ"));
    }
};

QTEST_MAIN(TestMenu)
#include "test_menu.moc"

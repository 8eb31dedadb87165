// The settings window through its controls, and the rules beneath it.
#include "records/settings/frmSetmode.h"
#include "recordsfixture.h"

#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include <cerrno>

namespace {

// One player "A" whose file holds `r` over recognisable reserved bytes and
// statistics.
QByteArray WritePlayer(RecordsFolder& folder, const PlayerRecord& settings) {
    folder.players({"A"}, 0);
    PlayerRecord r = PlayerRecordFromBytes(PlayerBytes('S'));
    r.ThinkTime = settings.ThinkTime;
    r.SoundEffect = settings.SoundEffect;
    r.MakeQ = settings.MakeQ;
    r.FormArrange = settings.FormArrange;
    r.BGMEffect = settings.BGMEffect;
    r.Background = settings.Background;
    r.ColorMode = settings.ColorMode;
    const QByteArray bytes = PlayerRecordToBytes(r);
    folder.write(PlayerFileName(0), bytes);
    LoadPlayerFile(0);
    return bytes;
}

PlayerRecord Stored(RecordsFolder& folder) {
    return PlayerRecordFromBytes(folder.read(PlayerFileName(0)));
}

QRadioButton* Option(frmSetmode* w, const QString& name) {
    return w->findChild<QRadioButton*>(name);
}

// A click on the button's circle, where a user aims.
void Click(QRadioButton* b) {
    QVERIFY(b);
    QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(8, b->height() / 2));
}

// Which button of each group is checked, as "placement background sound
// bgm colour order" indices (- for none).
QString Checked(frmSetmode* w) {
    QString s;
    for (const auto* group : {&w->optFormArrange, &w->optBackground, &w->optSoundEffect,
                              &w->optBGMEffect, &w->optColorMode, &w->optMakeQ}) {
        QChar c = QLatin1Char('-');
        for (size_t i = 0; i < group->size(); ++i)
            if ((*group)[i]->isChecked()) c = QChar(u'0' + int(i));
        s += c;
    }
    return s;
}

void DoubleClickRow(frmSetmode* w, int row) {
    QListWidgetItem* item = w->ThinkTime->item(row);
    w->ThinkTime->scrollToItem(item);
    const QRect r = w->ThinkTime->visualItemRect(item);
    QTest::mouseClick(w->ThinkTime->viewport(), Qt::LeftButton, {}, r.center());
    QTest::mouseDClick(w->ThinkTime->viewport(), Qt::LeftButton, {}, r.center());
}

} // namespace

class TestSettings : public QObject {
    Q_OBJECT
private slots:
    void showsStoredSettings_data();
    void showsStoredSettings();
    void groupsAreBuiltOnTheirGrid();
    void colourModeGreysBackgroundGroup();
    void saveStoresEachChoice_data();
    void saveStoresEachChoice();
    void saveWithoutChangesRewritesSameBytes();
    void unlistedThinkTimeSurvivesSave();
    void outOfRangeValueSelectsNothingAndSurvives();
    void cancelAndCloseBoxDropChanges_data();
    void cancelAndCloseBoxDropChanges();
    void saveWritesTheRecordInMemory();
    void saveFailureIsReported();
    void saveWithoutPlayerWritesNothing();
    void thinkTimeRows_data();
    void thinkTimeRows();
};

void TestSettings::showsStoredSettings_data() {
    QTest::addColumn<int>("formArrange");
    QTest::addColumn<int>("background");
    QTest::addColumn<int>("sound");
    QTest::addColumn<int>("bgm");
    QTest::addColumn<int>("colour");
    QTest::addColumn<int>("makeQ");
    QTest::addColumn<int>("thinkTime");
    QTest::addColumn<QString>("checked");
    QTest::addColumn<QString>("label");
    QTest::newRow("defaults") << 0 << 0 << 0 << 0 << 0 << 0 << 60 << "000000"
                              << "６０秒";
    QTest::newRow("all other") << 1 << 1 << 1 << 1 << 1 << 3 << 300 << "111113"
                               << "３００秒";
    QTest::newRow("mixed") << 1 << 0 << 1 << 0 << 0 << 2 << 10 << "101002"
                           << "１０秒";
}

void TestSettings::showsStoredSettings() {
    QFETCH(int, formArrange);
    QFETCH(int, background);
    QFETCH(int, sound);
    QFETCH(int, bgm);
    QFETCH(int, colour);
    QFETCH(int, makeQ);
    QFETCH(int, thinkTime);
    QFETCH(QString, checked);
    QFETCH(QString, label);
    RecordsFolder folder;
    PlayerRecord r;
    r.FormArrange = int16_t(formArrange);
    r.Background = int16_t(background);
    r.SoundEffect = int16_t(sound);
    r.BGMEffect = int16_t(bgm);
    r.ColorMode = int16_t(colour);
    r.MakeQ = int16_t(makeQ);
    r.ThinkTime = int16_t(thinkTime);
    WritePlayer(folder, r);
    gPlayerRecord = PlayerRecord{}; // the window reads the file itself
    QPointer<frmSetmode> w = new frmSetmode;
    QCOMPARE(w->windowTitle(), QStringLiteral("モード設定"));
    QCOMPARE(Checked(w), checked);
    QCOMPARE(w->Label2->text(), label);
    QCOMPARE(w->ThinkTime->count(), 30);
    QCOMPARE(w->ThinkTime->currentRow(), thinkTime / 10 - 1);
    QCOMPARE(w->frameBackImage->isEnabled(), colour == 0);
    delete w;
}

void TestSettings::groupsAreBuiltOnTheirGrid() {
    RecordsFolder folder;
    WritePlayer(folder, PlayerRecord{});
    frmSetmode w;
    QCOMPARE(w.optMakeQ.size(), size_t(4));
    QCOMPARE(w.optColorMode.size(), size_t(2));
    for (size_t i = 0; i < w.optMakeQ.size(); ++i) {
        QCOMPARE(w.optMakeQ[i]->objectName(), QStringLiteral("optMakeQ_%1").arg(i));
        QCOMPARE(w.optMakeQ[i]->y() - w.optMakeQ[0]->y(), TwipsToPixels(600 * int(i)));
        QCOMPARE(w.optMakeQ[i]->parentWidget(), w.frameMakeProb);
    }
    QCOMPARE(w.optMakeQ[1]->text(), QStringLiteral("不正解を優先して出題"));
    QCOMPARE(w.optColorMode[1]->text(), QStringLiteral("２５６色"));
    QCOMPARE(w.frameMakeProb->title(), QStringLiteral("トライアルモードの出題"));
    QCOMPARE(w.Frame2->title(), QStringLiteral("考慮時間"));
    QCOMPARE(w.ThinkTime->item(0)->text(), QStringLiteral(" 10"));
    QCOMPARE(w.ThinkTime->item(29)->text(), QStringLiteral(" 300"));
}

void TestSettings::colourModeGreysBackgroundGroup() {
    RecordsFolder folder;
    PlayerRecord r;
    r.Background = 1;
    WritePlayer(folder, r);
    QPointer<frmSetmode> w = new frmSetmode;
    QVERIFY(w->frameBackImage->isEnabled());
    Click(Option(w, "optColorMode_1"));
    QVERIFY(w->optColorMode[1]->isChecked());
    QVERIFY(!w->frameBackImage->isEnabled());
    QVERIFY(!w->optBackground[0]->isEnabled());
    QVERIFY(!w->optBackground[1]->isEnabled());
    QVERIFY(w->optBackground[1]->isChecked()); // the value is left as it was

    Click(Option(w, "optColorMode_0"));
    QVERIFY(w->frameBackImage->isEnabled());
    QVERIFY(w->optBackground[0]->isEnabled() && w->optBackground[1]->isEnabled());
    QVERIFY(w->optBackground[1]->isChecked());
    QVERIFY(!w->optBackground[0]->isChecked());
    delete w;
}

void TestSettings::saveStoresEachChoice_data() {
    QTest::addColumn<QString>("option");
    QTest::addColumn<int>("field"); // byte offset of the 16-bit field
    QTest::addColumn<int>("value");
    QTest::newRow("placement") << "optFormArrange_1" << 14 << 1;
    QTest::newRow("background") << "optBackground_1" << 18 << 1;
    QTest::newRow("sound") << "optSoundEffect_1" << 2 << 1;
    QTest::newRow("bgm") << "optBGMEffect_1" << 16 << 1;
    QTest::newRow("colour") << "optColorMode_1" << 28 << 1;
    QTest::newRow("order 3") << "optMakeQ_3" << 4 << 3;
    QTest::newRow("order 1") << "optMakeQ_1" << 4 << 1;
}

void TestSettings::saveStoresEachChoice() {
    QFETCH(QString, option);
    QFETCH(int, field);
    QFETCH(int, value);
    RecordsFolder folder;
    QByteArray expected = WritePlayer(folder, PlayerRecord{});
    QPointer<frmSetmode> w = new frmSetmode;
    Click(Option(w, option));
    DoubleClickRow(w, 11);
    QCOMPARE(w->Label2->text(), QStringLiteral("１２０秒"));
    w->cmdSaveSetting->click();
    Settle();
    QVERIFY(!w);
    expected[field] = char(value);
    expected[0] = char(120);
    QCOMPARE(folder.read(PlayerFileName(0)), expected);
    QCOMPARE(folder.refreshes, 1);
}

void TestSettings::saveWithoutChangesRewritesSameBytes() {
    RecordsFolder folder;
    PlayerRecord r;
    r.ThinkTime = 200;
    r.MakeQ = 2;
    r.ColorMode = 1;
    const QByteArray bytes = WritePlayer(folder, r);
    QPointer<frmSetmode> w = new frmSetmode;
    w->cmdSaveSetting->click();
    QCOMPARE(folder.read(PlayerFileName(0)), bytes);
}

// A thinking time the trial cannot use (not 10..300 in steps of 10) is
// shown and used as 60, and saved so.
void TestSettings::unlistedThinkTimeSurvivesSave() {
    RecordsFolder folder;
    PlayerRecord r;
    r.ThinkTime = 45;
    WritePlayer(folder, r);
    QPointer<frmSetmode> w = new frmSetmode;
    QCOMPARE(w->Label2->text(), QStringLiteral("６０秒"));
    QCOMPARE(w->ThinkTime->currentRow(), 5);
    QCOMPARE(w->thinkTime(), int16_t(60));
    Click(Option(w, "optSoundEffect_1"));
    w->cmdSaveSetting->click();
    QCOMPARE(Stored(folder).ThinkTime, int16_t(60));
    QCOMPARE(Stored(folder).SoundEffect, int16_t(1));
}

void TestSettings::outOfRangeValueSelectsNothingAndSurvives() {
    RecordsFolder folder;
    PlayerRecord r;
    r.MakeQ = 7;
    r.ColorMode = -1;
    WritePlayer(folder, r);
    QPointer<frmSetmode> w = new frmSetmode;
    QCOMPARE(Checked(w), QStringLiteral("0000--"));
    QVERIFY(w->frameBackImage->isEnabled());
    w->cmdSaveSetting->click();
    QCOMPARE(Stored(folder).MakeQ, int16_t(7));
    QCOMPARE(Stored(folder).ColorMode, int16_t(-1));
}

void TestSettings::cancelAndCloseBoxDropChanges_data() {
    QTest::addColumn<bool>("viaCancel");
    QTest::newRow("キャンセル") << true;
    QTest::newRow("close box") << false;
}

void TestSettings::cancelAndCloseBoxDropChanges() {
    QFETCH(bool, viaCancel);
    RecordsFolder folder;
    const QByteArray bytes = WritePlayer(folder, PlayerRecord{});
    QPointer<frmSetmode> w = new frmSetmode;
    DoubleClickRow(w, 2);
    QCOMPARE(w->thinkTime(), int16_t(30));
    Click(Option(w, "optMakeQ_2"));
    Click(Option(w, "optColorMode_1"));
    if (viaCancel)
        w->cmdCancelSetting->click();
    else
        w->close();
    Settle();
    QVERIFY(!w);
    QCOMPARE(folder.read(PlayerFileName(0)), bytes);
    QCOMPARE(folder.refreshes, 1);
    // The next window to open reads the file: the thinking time is unchanged.
    QCOMPARE(gPlayerRecord.ThinkTime, int16_t(60));
    QCOMPARE(gPlayerRecord.MakeQ, int16_t(0));
}

// 更新 saves the record in memory with the new settings; it does not read
// the file again first (that threw away a running trial's flags).
void TestSettings::saveWritesTheRecordInMemory() {
    RecordsFolder folder;
    WritePlayer(folder, PlayerRecord{});
    QPointer<frmSetmode> w = new frmSetmode;
    gPlayerRecord.Stat[123].Asked = 1;
    gPlayerRecord.Stat[123].Correct = 1;
    Click(Option(w, "optMakeQ_1"));
    w->cmdSaveSetting->click();
    const PlayerRecord saved = Stored(folder);
    QCOMPARE(saved.MakeQ, int16_t(1));
    QCOMPARE(saved.Stat[123].Asked, uint8_t(1));
    QCOMPARE(saved.Stat[123].Correct, uint8_t(1));
}

// A save that fails (a full disk) is told with the file's name; the window
// stays open and the file keeps its old bytes.
void TestSettings::saveFailureIsReported() {
    RecordsFolder folder;
    const QByteArray bytes = WritePlayer(folder, PlayerRecord{});
    QPointer<frmSetmode> w = new frmSetmode;
    Click(Option(w, "optMakeQ_1"));
    SetWriteFaultHook([](WriteStep s) { return s == WriteStep::Flush ? ENOSPC : 0; });
    w->cmdSaveSetting->click();
    SetWriteFaultHook({});
    Settle();
    QVERIFY(w);
    QCOMPARE(folder.platform->boxes.size(), 1);
    QVERIFY(folder.platform->boxes[0].contains(QStringLiteral("設定を保存できませんでした")));
    QVERIFY(folder.platform->boxes[0].contains(QStringLiteral("vm2.ps0")));
    QCOMPARE(folder.read(PlayerFileName(0)), bytes);
    delete w;
}

void TestSettings::saveWithoutPlayerWritesNothing() {
    RecordsFolder folder;
    DefaultSettings();
    QPointer<frmSetmode> w = new frmSetmode;
    QCOMPARE(w->Label2->text(), QStringLiteral("６０秒"));
    w->cmdSaveSetting->click();
    Settle();
    QVERIFY(!w);
    QCOMPARE(folder.platform->boxes.size(), 1);
    for (int i = 0; i < 10; ++i)
        QVERIFY(!folder.exists(PlayerFileName(i)));
    QCOMPARE(folder.refreshes, 1);
}

void TestSettings::thinkTimeRows_data() {
    QTest::addColumn<int>("seconds");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("caption");
    QTest::newRow("10") << 10 << 0 << "１０秒";
    QTest::newRow("60") << 60 << 5 << "６０秒";
    QTest::newRow("300") << 300 << 29 << "３００秒";
    QTest::newRow("45") << 45 << -1 << "４５秒";
    QTest::newRow("0") << 0 << -1 << "０秒";
    QTest::newRow("310") << 310 << -1 << "３１０秒";
}

void TestSettings::thinkTimeRows() {
    QFETCH(int, seconds);
    QFETCH(int, row);
    QFETCH(QString, caption);
    QCOMPARE(ThinkTimeRow(seconds), row);
    QCOMPARE(ThinkTimeCaption(seconds), caption);
    if (row >= 0) {
        QCOMPARE(ThinkTimeForRow(row), seconds);
        QCOMPARE(ThinkTimeRows()[row], QStringLiteral(" %1").arg(seconds));
    }
}

QTEST_MAIN(TestSettings)
#include "test_settings.moc"

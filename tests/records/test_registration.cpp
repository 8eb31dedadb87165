// The registration window through its controls, and the rules beneath it.
#include "records/registration/frmPlayerRegist.h"
#include "recordsfixture.h"
#include "shell/clicklabel.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QtTest>

namespace {

QStringList Names() {
    QStringList n;
    for (int i = 0; i < gPlayerCount; ++i)
        n << gPlayerName[size_t(i)];
    return n;
}

void Type(frmPlayerRegist* w, const QString& text) {
    for (QChar c : text) {
        const int i = c.isDigit() ? 26 + (c.unicode() - u'0') : c.unicode() - u'A';
        w->cmdCharacter[size_t(i)]->click();
    }
}

void ClickRow(frmPlayerRegist* w, int i) {
    QTest::mouseClick(w->lblName[size_t(i)], Qt::LeftButton);
}

QColor RowColour(frmPlayerRegist* w, int i) {
    return w->lblName[size_t(i)]->palette().color(QPalette::Window);
}

const QColor kNormal(255, 255, 128);
const QColor kHighlight(255, 128, 255);

} // namespace

class TestRegistration : public QObject {
    Q_OBJECT
private slots:
    void firstPlayer();
    void chooseThenLeave_data();
    void chooseThenLeave();
    void deleteSecondOfFour();
    void deleteAnsweredNo();
    void deleteOnlyPlayerThenRegisterAgain();
    void deleteSkipsFailedCopy();
    void deleteThenCloseBoxKeepsRosterInStepWithFiles();
    void removeFromRosterFollowsThePerson_data();
    void removeFromRosterFollowsThePerson();
    void renameThenLeave_data();
    void renameThenLeave();
    void nameLengthAndErasing();
    void registerWithoutTemplateIsReported();
    void registerThenCloseBoxKeepsPlayer_data();
    void registerThenCloseBoxKeepsPlayer();
    void deleteRemovesTheSurplusFile();
    void damagedRosterIsRewrittenOnlyWithConsent_data();
    void damagedRosterIsRewrittenOnlyWithConsent();
    void handEditedRosterRoundTrips();
    void tenPlayersHaveNoNewRow();
    void stateTable_data();
    void stateTable();
    void keyboardLayout_data();
    void keyboardLayout();
    void keysTypeOnlyLettersAndDigits();
    void typedText_data();
    void typedText();
    void typedNameFromKeyboardAndInputMethod();
    void escapeLeavesOrCancels();
};

void TestRegistration::firstPlayer() {
    RecordsFolder folder;
    QPointer<frmPlayerRegist> w = new frmPlayerRegist;
    QCOMPARE(w->windowTitle(), QStringLiteral("プレイヤー登録"));
    QVERIFY(!w->lblName[0]->isHidden());
    QCOMPARE(w->lblName[0]->text(), QStringLiteral("新規登録"));
    QCOMPARE(w->lblRanking[0]->text(), QStringLiteral("1"));
    QVERIFY(w->lblName[1]->isHidden());
    QVERIFY(w->cmdCharacter[0]->isHidden());
    QVERIFY(w->cmdExit->isEnabled());
    QVERIFY(!w->cmdRegist->isEnabled());

    ClickRow(w, 0);
    QCOMPARE(w->state().state, int16_t(RegistState::Typing));
    QCOMPARE(w->lblDoing->text(), QStringLiteral("名前を入力してください"));
    QVERIFY(!w->cmdCharacter[35]->isHidden());
    QVERIFY(!w->cmdRegist->isEnabled());
    QVERIFY(!w->cmdExit->isEnabled());
    Type(w, QStringLiteral("AB7"));
    QCOMPARE(w->lblName[1]->text(), QStringLiteral("AB7_"));
    QCOMPARE(w->lblName[0]->text(), QStringLiteral("新規登録"));
    QVERIFY(w->cmdRegist->isEnabled());

    w->cmdRegist->click();
    QCOMPARE(folder.read(QStringLiteral("vm2.ps0")), TemplateBytes());
    QCOMPARE(gPlayerCount, int16_t(1));
    QCOMPARE(gCurPlayer, int16_t(0));
    QCOMPARE(w->lblName[0]->text(), QStringLiteral("AB7"));
    QCOMPARE(RowColour(w, 0), kHighlight);
    QCOMPARE(w->lblName[1]->text(), QStringLiteral("新規登録"));
    QCOMPARE(RowColour(w, 1), kNormal);
    QVERIFY(!folder.exists(QStringLiteral("vm2.ply"))); // written only by 終了

    w->cmdExit->click();
    Settle();
    QVERIFY(!w);
    QCOMPARE(folder.read(QStringLiteral("vm2.ply")), QByteArray(" 1 ,\"AB7\"\r\n"));
    QCOMPARE(folder.refreshes, 1);
    QCOMPARE(gPlayerRecord.ThinkTime, int16_t(90)); // the menu now reads the new player's file
}

void TestRegistration::chooseThenLeave_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<int>("current");
    QTest::newRow("cancel restores") << "cmdCancel" << 0;
    QTest::newRow("choose keeps") << "cmdChange" << 2;
}

void TestRegistration::chooseThenLeave() {
    QFETCH(QString, button);
    QFETCH(int, current);
    RecordsFolder folder;
    folder.players({"A", "B", "C", "D"}, 0);
    const QByteArray roster = folder.read(QStringLiteral("vm2.ply"));
    QPointer<frmPlayerRegist> w = new frmPlayerRegist;
    ClickRow(w, 2);
    QCOMPARE(w->state().state, int16_t(RegistState::Chosen));
    QCOMPARE(gCurPlayer, int16_t(2));
    QCOMPARE(RowColour(w, 2), kHighlight);
    QCOMPARE(RowColour(w, 0), kNormal);
    ClickRow(w, 3); // ignored outside the list state
    QCOMPARE(gCurPlayer, int16_t(2));

    w->findChild<QPushButton*>(button)->click();
    QCOMPARE(w->state().state, int16_t(RegistState::List));
    QCOMPARE(gCurPlayer, int16_t(current));
    QCOMPARE(RowColour(w, current), kHighlight);
    QCOMPARE(folder.read(QStringLiteral("vm2.ply")), roster);
    delete w;
}

void TestRegistration::deleteSecondOfFour() {
    RecordsFolder folder;
    folder.players({"A", "B", "C", "D"}, 0);
    QPointer<frmPlayerRegist> w = new frmPlayerRegist;
    ClickRow(w, 1);
    w->cmdDelete->click();
    QCOMPARE(folder.platform->questions,
             QStringList{QStringLiteral("登録番号２のプレイヤー「B」を削除しますか？")});
    QCOMPARE(Names(), (QStringList{"A", "C", "D"}));
    QCOMPARE(gCurPlayer, int16_t(1));
    QCOMPARE(w->state().state, int16_t(RegistState::List));
    QCOMPARE(folder.read(QStringLiteral("vm2.ps0")), PlayerBytes('A'));
    QCOMPARE(folder.read(QStringLiteral("vm2.ps1")), PlayerBytes('C'));
    QCOMPARE(folder.read(QStringLiteral("vm2.ps2")), PlayerBytes('D'));
    QVERIFY(!folder.exists(QStringLiteral("vm2.ps3"))); // a copy of vm2.ps2: removed
    QCOMPARE(w->lblName[3]->text(), QStringLiteral("新規登録"));
    QVERIFY(!w->lblName[3]->isHidden());
    QVERIFY(w->lblName[4]->isHidden());
    QCOMPARE(RowColour(w, 1), kHighlight);

    w->cmdExit->click();
    QCOMPARE(folder.read(QStringLiteral("vm2.ply")),
             QByteArray(" 0 ,\"A\"\r\n 1 ,\"C\"\r\n 0 ,\"D\"\r\n"));
}

void TestRegistration::deleteAnsweredNo() {
    RecordsFolder folder;
    folder.players({"A", "B", "C"}, 0);
    folder.platform->answers = {false};
    QPointer<frmPlayerRegist> w = new frmPlayerRegist;
    ClickRow(w, 0);
    w->cmdDelete->click();
    QCOMPARE(folder.platform->questions.size(), 1);
    QCOMPARE(Names(), (QStringList{"A", "B", "C"}));
    QCOMPARE(w->state().state, int16_t(RegistState::Chosen));
    QCOMPARE(folder.read(QStringLiteral("vm2.ps0")), PlayerBytes('A'));
    QCOMPARE(folder.platform->beeps, 0);
    delete w;
}

void TestRegistration::deleteOnlyPlayerThenRegisterAgain() {
    RecordsFolder folder;
    folder.players({"SOLO"}, 0);
    QPointer<frmPlayerRegist> w = new frmPlayerRegist;
    ClickRow(w, 0);
    w->cmdDelete->click();
    QCOMPARE(gPlayerCount, int16_t(0));
    QCOMPARE(gCurPlayer, int16_t(-1)); // nobody is current
    QCOMPARE(w->lblName[0]->text(), QStringLiteral("新規登録"));
    QCOMPARE(RowColour(w, 0), kNormal);
    QVERIFY(w->lblName[1]->isHidden());

    // Registering again starts from the template, over the old file.
    ClickRow(w, 0);
    Type(w, QStringLiteral("NEW"));
    QCOMPARE(w->lblName[1]->text(), QStringLiteral("NEW_"));
    QCOMPARE(w->lblRanking[1]->text(), QStringLiteral("1"));
    w->cmdCancel->click();
    QCOMPARE(gCurPlayer, int16_t(-1));
    QCOMPARE(gPlayerCount, int16_t(0));

    w->cmdExit->click();
    Settle();
    QVERIFY(!w);
    QCOMPARE(folder.read(QStringLiteral("vm2.ply")), QByteArray());
    QCOMPARE(gPlayerCount, int16_t(0)); // the menu shows 未登録

    QPointer<frmPlayerRegist> again = new frmPlayerRegist;
    ClickRow(again, 0);
    Type(again, QStringLiteral("NEW"));
    again->cmdRegist->click();
    QCOMPARE(folder.read(QStringLiteral("vm2.ps0")), TemplateBytes());
    QCOMPARE(gCurPlayer, int16_t(0));
    QCOMPARE(Names(), QStringList{"NEW"});
    delete again;
}

void TestRegistration::deleteSkipsFailedCopy() {
    RecordsFolder folder;
    folder.players({"A", "B", "C"}, 0);
    folder.remove(QStringLiteral("vm2.ps2"));
    QPointer<frmPlayerRegist> w = new frmPlayerRegist;
    ClickRow(w, 0);
    w->cmdDelete->click();
    QCOMPARE(Names(), (QStringList{"B", "C"}));
    QCOMPARE(folder.read(QStringLiteral("vm2.ps0")), PlayerBytes('B'));
    QCOMPARE(folder.read(QStringLiteral("vm2.ps1")), PlayerBytes('B')); // copy skipped
    QCOMPARE(gCurPlayer, int16_t(0));
    delete w;
}

void TestRegistration::deleteThenCloseBoxKeepsRosterInStepWithFiles() {
    RecordsFolder folder;
    folder.players({"A", "B", "C"}, 2);
    QPointer<frmPlayerRegist> w = new frmPlayerRegist;
    ClickRow(w, 1);
    w->cmdDelete->click();
    // A rename after the deletion is still dropped by the close box.
    ClickRow(w, 0);
    w->cmdRename->click();
    Type(w, QStringLiteral("Z"));
    w->cmdRegist->click();
    QCOMPARE(Names(), (QStringList{"Z", "C"}));
    w->close();
    Settle();
    QVERIFY(!w);
    // The files moved, so the roster file follows them: B is gone and C
    // (still the current player) now sits at index 1 with its own record.
    QCOMPARE(folder.read(QStringLiteral("vm2.ply")), QByteArray(" 0 ,\"A\"\r\n 1 ,\"C\"\r\n"));
    QCOMPARE(folder.read(QStringLiteral("vm2.ps1")), PlayerBytes('C'));
    QCOMPARE(folder.refreshes, 1);
    QCOMPARE(Names(), (QStringList{"A", "C"}));
    QCOMPARE(gCurPlayer, int16_t(1));
}

void TestRegistration::removeFromRosterFollowsThePerson_data() {
    QTest::addColumn<int>("current");
    QTest::addColumn<int>("removed");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("after");
    QTest::newRow("current after the removed one") << 3 << 1 << 4 << 2;
    QTest::newRow("current before it") << 0 << 2 << 4 << 0;
    QTest::newRow("current removed, next one takes over") << 1 << 1 << 4 << 1;
    QTest::newRow("last and current removed") << 3 << 3 << 4 << 2;
    QTest::newRow("only player") << 0 << 0 << 1 << -1;
    QTest::newRow("index past the file's roster") << 1 << 4 << 4 << 1;
}

void TestRegistration::removeFromRosterFollowsThePerson() {
    QFETCH(int, current);
    QFETCH(int, removed);
    QFETCH(int, count);
    QFETCH(int, after);
    Roster r;
    r.count = int16_t(count);
    for (int i = 0; i < count; ++i)
        r.names[size_t(i)] = QString(QChar(u'A' + i));
    r.current = int16_t(current);
    RemoveFromRoster(r, removed);
    const int left = removed < count ? count - 1 : count;
    QCOMPARE(int(r.count), left);
    QCOMPARE(int(r.current), after);
    for (int i = 0; i < left; ++i)
        QCOMPARE(r.names[size_t(i)], QString(QChar(u'A' + (i < removed ? i : i + 1))));
    if (left < kMaxPlayers) QVERIFY(r.names[size_t(left)].isEmpty());
}

void TestRegistration::renameThenLeave_data() {
    QTest::addColumn<bool>("viaExit");
    QTest::newRow("終了 keeps it") << true;
    QTest::newRow("close box loses it") << false;
}

void TestRegistration::renameThenLeave() {
    QFETCH(bool, viaExit);
    RecordsFolder folder;
    folder.players({"A", "B"}, 0);
    const QByteArray roster = folder.read(QStringLiteral("vm2.ply"));
    QPointer<frmPlayerRegist> w = new frmPlayerRegist;
    ClickRow(w, 1);
    w->cmdRename->click();
    QCOMPARE(w->state().state, int16_t(RegistState::Renaming));
    QCOMPARE(w->lblName[0]->text(), QStringLiteral("B"));
    QCOMPARE(w->lblRanking[0]->text(), QStringLiteral("2"));
    Type(w, QStringLiteral("ZED"));
    w->cmdRegist->click();
    QCOMPARE(Names(), (QStringList{"A", "ZED"}));
    QVERIFY(!folder.exists(QStringLiteral("vm2.ps2"))); // renaming copies nothing
    QCOMPARE(folder.read(QStringLiteral("vm2.ps1")), PlayerBytes('B'));

    if (viaExit)
        w->cmdExit->click();
    else
        w->close();
    Settle();
    QVERIFY(!w);
    QCOMPARE(folder.refreshes, 1);
    if (viaExit) {
        QCOMPARE(folder.read(QStringLiteral("vm2.ply")),
                 QByteArray(" 0 ,\"A\"\r\n 1 ,\"ZED\"\r\n"));
        QCOMPARE(gPlayerName[1], QStringLiteral("ZED"));
    } else {
        QCOMPARE(folder.read(QStringLiteral("vm2.ply")), roster);
        QCOMPARE(gPlayerName[1], QStringLiteral("B"));
        QCOMPARE(gCurPlayer, int16_t(0));
    }
}

void TestRegistration::nameLengthAndErasing() {
    RecordsFolder folder;
    folder.players({"A"}, 0);
    QPointer<frmPlayerRegist> w = new frmPlayerRegist;
    ClickRow(w, 1);
    Type(w, QStringLiteral("ABCDEFGHIJ"));
    QCOMPARE(folder.platform->beeps, 0);
    Type(w, QStringLiteral("K"));
    QCOMPARE(folder.platform->beeps, 1);
    QCOMPARE(w->state().entered, QStringLiteral("ABCDEFGHIJ"));
    QCOMPARE(w->lblName[1]->text(), QStringLiteral("ABCDEFGHIJ_"));

    for (int i = 0; i < 10; ++i)
        w->cmdDelete->click();
    QCOMPARE(w->state().entered, QString());
    QVERIFY(!w->cmdDelete->isEnabled());
    QVERIFY(!w->cmdRegist->isEnabled());
    w->cmdDeleteClick(); // the handler itself, past the disabled button
    QCOMPARE(folder.platform->beeps, 2);
    QCOMPARE(folder.platform->questions.size(), 0);
    delete w;
}

void TestRegistration::registerWithoutTemplateIsReported() {
    RecordsFolder folder;
    folder.remove(QStringLiteral("vm2.psn"));
    QPointer<frmPlayerRegist> w = new frmPlayerRegist;
    ClickRow(w, 0);
    Type(w, QStringLiteral("X"));
    w->cmdRegist->click();
    QCOMPARE(folder.platform->boxes.size(), 1);
    QVERIFY(folder.platform->boxes[0].contains(QStringLiteral("vm2.psn")));
    QCOMPARE(gPlayerCount, int16_t(0));
    QCOMPARE(gPlayerName[0], QString());
    QCOMPARE(w->state().state, int16_t(RegistState::Typing));
    QVERIFY(!folder.exists(QStringLiteral("vm2.ps0")));
    delete w;
}

void TestRegistration::registerThenCloseBoxKeepsPlayer_data() {
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QByteArray>("roster");
    QTest::newRow("first player") << QStringList{} << QByteArray(" 1 ,\"NEW\"\r\n");
    // The rename and the choice of player made here are still dropped.
    QTest::newRow("third player after a rename")
        << QStringList{"A", "B"} << QByteArray(" 0 ,\"A\"\r\n 1 ,\"B\"\r\n 0 ,\"NEW\"\r\n");
}

// A player registered and then the window closed from its frame is on the
// roster: the file was made, so the roster names it.
void TestRegistration::registerThenCloseBoxKeepsPlayer() {
    QFETCH(QStringList, before);
    QFETCH(QByteArray, roster);
    RecordsFolder folder;
    if (!before.isEmpty()) folder.players(before, 1);
    QPointer<frmPlayerRegist> w = new frmPlayerRegist;
    if (!before.isEmpty()) {
        ClickRow(w, 0);
        w->cmdRename->click();
        Type(w, QStringLiteral("Z"));
        w->cmdRegist->click();
    }
    ClickRow(w, int(before.size()));
    Type(w, QStringLiteral("NEW"));
    w->cmdRegist->click();
    w->close();
    Settle();
    QVERIFY(!w);
    QCOMPARE(folder.read(QStringLiteral("vm2.ply")), roster);
    QCOMPARE(folder.read(PlayerFileName(int(before.size()))), TemplateBytes());
    QCOMPARE(gPlayerName[size_t(before.size())], QStringLiteral("NEW"));
    QVERIFY(folder.platform->boxes.isEmpty());
}

// After a deletion the highest old file is a copy of the one below it: it
// goes, so a player registered there later starts clean without a file to
// keep aside.
void TestRegistration::deleteRemovesTheSurplusFile() {
    RecordsFolder folder;
    folder.players({"A", "B", "C"}, 0);
    QPointer<frmPlayerRegist> w = new frmPlayerRegist;
    ClickRow(w, 0);
    w->cmdDelete->click();
    QCOMPARE(folder.read(QStringLiteral("vm2.ps0")), PlayerBytes('B'));
    QCOMPARE(folder.read(QStringLiteral("vm2.ps1")), PlayerBytes('C'));
    QVERIFY(!folder.exists(QStringLiteral("vm2.ps2")));
    ClickRow(w, 2);
    Type(w, QStringLiteral("D"));
    w->cmdRegist->click();
    QCOMPARE(folder.read(QStringLiteral("vm2.ps2")), TemplateBytes());
    QVERIFY(folder.platform->boxes.isEmpty());
    delete w;
}

void TestRegistration::damagedRosterIsRewrittenOnlyWithConsent_data() {
    QTest::addColumn<bool>("agree");
    QTest::newRow("the user agrees") << true;
    QTest::newRow("the user declines") << false;
}

// A roster with a bad second line: the first player is kept, the second
// player's file is never overwritten by a registration, and the roster is
// written without the unread players only when the user agrees, the old
// file kept aside.
void TestRegistration::damagedRosterIsRewrittenOnlyWithConsent() {
    QFETCH(bool, agree);
    RecordsFolder folder;
    folder.players({"A", "B"}, 0);
    const QByteArray damaged(" 1 ,\"A\"\r\n 0 ,B\r\n");
    folder.write(QStringLiteral("vm2.ply"), damaged);
    ReadRoster();
    QCOMPARE(Names(), QStringList{"A"});
    QVERIFY(RosterProblem().contains(QStringLiteral("2 行目")));

    QPointer<frmPlayerRegist> w = new frmPlayerRegist;
    ClickRow(w, 1);
    Type(w, QStringLiteral("NEW"));
    w->cmdRegist->click();
    // B's record is kept aside, named in a message.
    QCOMPARE(folder.read(QStringLiteral("vm2.ps1.old")), PlayerBytes('B'));
    QCOMPARE(folder.read(QStringLiteral("vm2.ps1")), TemplateBytes());
    QCOMPARE(folder.platform->boxes.size(), 1);
    QVERIFY(folder.platform->boxes[0].contains(QStringLiteral("vm2.ps1.old")));

    folder.platform->answers = {agree};
    w->cmdExit->click();
    Settle();
    QCOMPARE(folder.platform->questions.size(), 1);
    QVERIFY(folder.platform->questions[0].contains(QStringLiteral("vm2.ply")));
    if (agree) {
        QCOMPARE(folder.read(QStringLiteral("vm2.ply.bad")), damaged);
        QCOMPARE(folder.read(QStringLiteral("vm2.ply")),
                 QByteArray(" 0 ,\"A\"\r\n 1 ,\"NEW\"\r\n"));
        QVERIFY(folder.platform->boxes.last().contains(QStringLiteral("vm2.ply.bad")));
    } else {
        QCOMPARE(folder.read(QStringLiteral("vm2.ply")), damaged);
        QVERIFY(!folder.exists(QStringLiteral("vm2.ply.bad")));
    }
}

void TestRegistration::handEditedRosterRoundTrips() {
    RecordsFolder folder;
    const QByteArray roster = EncodeSjis(QStringLiteral(" 0 ,\"山田\"\r\n 1 ,\"ＳＡＴＯ～\"\r\n"));
    folder.write(QStringLiteral("vm2.ply"), roster);
    folder.write(QStringLiteral("vm2.ps0"), PlayerBytes('A'));
    folder.write(QStringLiteral("vm2.ps1"), PlayerBytes('B'));
    ReadRoster();
    QPointer<frmPlayerRegist> w = new frmPlayerRegist;
    QCOMPARE(w->lblName[0]->text(), QStringLiteral("山田"));
    QCOMPARE(w->lblName[1]->text(), QStringLiteral("ＳＡＴＯ～"));
    QCOMPARE(RowColour(w, 1), kHighlight);
    w->cmdExit->click();
    QCOMPARE(folder.read(QStringLiteral("vm2.ply")), roster);
}

void TestRegistration::tenPlayersHaveNoNewRow() {
    RecordsFolder folder;
    QStringList ten;
    for (int i = 0; i < 10; ++i)
        ten << QStringLiteral("P%1").arg(i);
    folder.players(ten, 9);
    QPointer<frmPlayerRegist> w = new frmPlayerRegist;
    for (int i = 0; i < 10; ++i) {
        QVERIFY(!w->lblName[size_t(i)]->isHidden());
        QCOMPARE(w->lblName[size_t(i)]->text(), ten[i]);
        QCOMPARE(w->lblRanking[size_t(i)]->text(), QString::number(i + 1));
        QCOMPARE(w->lblName[size_t(i)]->geometry().top() - w->lblName[0]->geometry().top(),
                 TwipsToPixels(500 * i));
    }
    QCOMPARE(RowColour(w, 9), kHighlight);
    delete w;
}

void TestRegistration::stateTable_data() {
    QTest::addColumn<int>("state");
    QTest::addColumn<QString>("entered");
    QTest::addColumn<QString>("enabled"); // change regist rename delete cancel exit
    QTest::addColumn<bool>("keys");
    QTest::addColumn<QString>("doing");
    QTest::newRow("list") << 0 << ""
                          << "000001" << false << "名前表示欄をクリック後，処理を選んでください";
    QTest::newRow("chosen") << 1 << ""
                            << "101111" << false << "処理を選んでください";
    QTest::newRow("typing, empty") << 2 << ""
                                   << "000010" << true << "名前を入力してください";
    QTest::newRow("typing") << 2 << "AB"
                            << "010110" << true << "名前を入力してください";
    QTest::newRow("renaming") << 3 << "C"
                              << "010110" << true << "名前を入力してください";
}

void TestRegistration::stateTable() {
    QFETCH(int, state);
    QFETCH(QString, entered);
    QFETCH(QString, enabled);
    QFETCH(bool, keys);
    QFETCH(QString, doing);
    Roster r;
    r.count = 3;
    r.names = {"A", "B", "C"};
    r.current = 1;
    RegistState st;
    st.state = int16_t(state);
    st.entered = entered;
    const RegistView v = ViewFor(r, st);
    const QString got = QString("%1%2%3%4%5%6")
                            .arg(int(v.change))
                            .arg(int(v.regist))
                            .arg(int(v.rename))
                            .arg(int(v.del))
                            .arg(int(v.cancel))
                            .arg(int(v.exit));
    QCOMPARE(got, enabled);
    QCOMPARE(v.keysVisible, keys);
    QCOMPARE(v.doing, doing);
    if (keys) {
        QCOMPARE(v.rows[0].name, QStringLiteral("B"));
        QCOMPARE(v.rows[1].name, entered + "_");
        QCOMPARE(v.rows[1].number, QStringLiteral("2"));
        QVERIFY(!v.rows[0].highlighted && !v.rows[1].highlighted);
        QVERIFY(!v.rows[2].visible);
    } else {
        QCOMPARE(v.rows[3].name, QStringLiteral("新規登録"));
        QVERIFY(v.rows[3].visible && !v.rows[4].visible);
        QVERIFY(v.rows[1].highlighted && !v.rows[0].highlighted);
    }
}

void TestRegistration::keyboardLayout_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("row");
    QTest::newRow("A") << 0 << "A" << 0 << 0;
    QTest::newRow("J") << 9 << "J" << 9 << 0;
    QTest::newRow("K") << 10 << "K" << 0 << 1;
    QTest::newRow("Z") << 25 << "Z" << 5 << 2;
    QTest::newRow("0") << 26 << "0" << 0 << 3;
    QTest::newRow("9") << 35 << "9" << 9 << 3;
}

void TestRegistration::keyboardLayout() {
    QFETCH(int, key);
    QFETCH(QString, caption);
    QFETCH(int, column);
    QFETCH(int, row);
    QCOMPARE(QString(KeyCharacter(key)), caption);
    QCOMPARE(KeyOffsetTwips(key), QPoint(600 * column, 600 * row));
    RecordsFolder folder;
    frmPlayerRegist w;
    QPushButton* b = w.cmdCharacter[size_t(key)];
    QCOMPARE(b->text(), caption);
    QCOMPARE(b->objectName(), QStringLiteral("cmdCharacter_%1").arg(key));
    QCOMPARE(b->accessibleName(), caption);
    QCOMPARE(b->pos() - w.cmdCharacter[0]->pos(), QPoint(40 * column, 40 * row));
}

void TestRegistration::keysTypeOnlyLettersAndDigits() {
    RegistState st;
    st.state = RegistState::Typing;
    QVERIFY(TypeKey(st, QLatin1Char('Q')));
    QVERIFY(TypeKey(st, QLatin1Char('4')));
    QVERIFY(!TypeKey(st, QLatin1Char('q')));
    QVERIFY(!TypeKey(st, QLatin1Char('"')));
    QVERIFY(!TypeKey(st, QLatin1Char(',')));
    QCOMPARE(st.entered, QStringLiteral("Q4"));
    st.state = RegistState::Chosen;
    QVERIFY(!TypeKey(st, QLatin1Char('A'))); // the keyboard is hidden there
}

void TestRegistration::typedText_data() {
    QTest::addColumn<QString>("before");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("lower case") << ""
                                << "ab" << true;
    QTest::newRow("kana") << ""
                          << "たろう" << true;
    QTest::newRow("kanji from an input method") << "山"
                                                << "田太郎" << true;
    QTest::newRow("half-width kana") << ""
                                     << "ｶﾅ" << true;
    QTest::newRow("wave dash maps to Shift-JIS") << ""
                                                 << "〜" << true;
    QTest::newRow("fills exactly ten") << "ABCDEFG"
                                       << "八九十" << true;
    QTest::newRow("one past ten") << "ABCDEFGH"
                                  << "九十一" << false;
    QTest::newRow("no Shift-JIS form (Hangul)") << ""
                                                << "한" << false;
    QTest::newRow("no Shift-JIS form (emoji)") << ""
                                               << "\U0001F600" << false;
    QTest::newRow("Shift-JIS missing in a commit") << ""
                                                   << "山한" << false;
    QTest::newRow("quote ends a roster name") << ""
                                              << "A\"" << false;
    QTest::newRow("control character") << ""
                                       << "\t" << false;
    QTest::newRow("nothing") << ""
                             << "" << false;
}

void TestRegistration::typedText() {
    QFETCH(QString, before);
    QFETCH(QString, typed);
    QFETCH(bool, accepted);
    RegistState st;
    st.state = RegistState::Renaming;
    st.entered = before;
    QCOMPARE(TypeText(st, typed), accepted);
    QCOMPARE(st.entered, accepted ? before + typed : before);
    st.state = RegistState::List; // typing only while a name is asked for
    QVERIFY(!TypeText(st, QStringLiteral("A")));
}

void TestRegistration::typedNameFromKeyboardAndInputMethod() {
    RecordsFolder folder;
    QPointer<frmPlayerRegist> w = new frmPlayerRegist;
    w->show();
    QVERIFY(QTest::qWaitForWindowActive(w));
    ClickRow(w, 0);
    QVERIFY(w->hasFocus());
    QVERIFY(w->testAttribute(Qt::WA_InputMethodEnabled));
    QVERIFY(w->inputMethodQuery(Qt::ImEnabled).toBool());
    QTest::keyClicks(w, QStringLiteral("ab"));
    // What an input method commits after conversion.
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("山田"));
    QApplication::sendEvent(w, &commit);
    QCOMPARE(w->lblName[1]->text(), QStringLiteral("ab山田_"));
    QCOMPARE(folder.platform->beeps, 0);
    QInputMethodEvent refused;
    refused.setCommitString(QStringLiteral("한"));
    QApplication::sendEvent(w, &refused);
    QCOMPARE(folder.platform->beeps, 1);
    QTest::keyClick(w, Qt::Key_Backspace);
    QCOMPARE(w->state().entered, QStringLiteral("ab山"));
    Type(w, QStringLiteral("Z")); // the on-screen keys still work
    QCOMPARE(w->state().entered, QStringLiteral("ab山Z"));
    QTest::keyClick(w, Qt::Key_Return); // presses プレイヤー登録
    QCOMPARE(gPlayerCount, int16_t(1));
    QCOMPARE(gPlayerName[0], QStringLiteral("ab山Z"));
    QVERIFY(!w->inputMethodQuery(Qt::ImEnabled).toBool());
    QTest::keyClick(w, Qt::Key_Escape); // 終了: the roster is written
    Settle();
    QVERIFY(!w);
    QCOMPARE(DecodeSjis(folder.read(QStringLiteral("vm2.ply"))),
             QStringLiteral(" 1 ,\"ab山Z\"\r\n"));
}

void TestRegistration::escapeLeavesOrCancels() {
    RecordsFolder folder;
    folder.players({"A", "B"}, 0);
    QPointer<frmPlayerRegist> w = new frmPlayerRegist;
    w->show();
    ClickRow(w, 1);
    QCOMPARE(gCurPlayer, int16_t(1));
    QTest::keyClick(w, Qt::Key_Escape); // キャンセル
    QCOMPARE(w->state().state, int16_t(RegistState::List));
    QCOMPARE(gCurPlayer, int16_t(0));
    ClickRow(w, 2);
    QTest::keyClick(w, Qt::Key_Return); // nothing typed: nothing to register
    QCOMPARE(folder.platform->beeps, 1);
    QTest::keyClick(w, Qt::Key_Escape);
    QCOMPARE(w->state().state, int16_t(RegistState::List));
    QCOMPARE(gPlayerCount, int16_t(2));
    QVERIFY(w);
    delete w;
}

QTEST_MAIN(TestRegistration)
#include "test_registration.moc"

// Roster, player files, comment lists, the data folder and small helpers.
#include "library/courses.h"
#include "library/files.h"
#include "library/player.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QtTest>

#include "tests/common/testfiles.h"

namespace {

using testfiles::ReadFile;
using testfiles::WriteFile;

} // namespace

class TestPlayer : public QObject {
    Q_OBJECT
private slots:
    void init();
    void parseRoster_data();
    void parseRoster();
    void formatRosterBytes();
    void writeRosterIsAtomicAndEmptyWhenNoPlayers();
    void playerRecordOffsets();
    void shortOrMissingPlayerFile_data();
    void shortOrMissingPlayerFile();
    void thinkTimeOutOfRangeReadsAs60_data();
    void thinkTimeOutOfRangeReadsAs60();
    void damagedRosterIsToldAndKeptAside_data();
    void damagedRosterIsToldAndKeptAside();
    void createKeepsExistingFileAside();
    void commentListWithBadBytesIsTold();
    void saveKeepsReservedBytes();
    void createAndCopyPlayerFiles();
    void defaultSettingsKeepColorModeAndStats();
    void playerFileName();
    void wideDigits_data();
    void wideDigits();
    void stoneBitmaps_data();
    void stoneBitmaps();
    void commentFields_data();
    void commentFields();
    void commentListsAndLimit();
    void commentListsReadOncePerFolder();
    void dataPathAndCaseFallback();
    void sjisCodec();
    void coursesAndStatements();
    void countCourseStats();

private:
    QTemporaryDir dir_;
};

void TestPlayer::init() {
    QVERIFY(dir_.isValid());
    gDataPath = MakeDataPath(dir_.path());
    for (const QString& f : QDir(dir_.path()).entryList(QDir::Files))
        QFile::remove(dir_.filePath(f));
    gPlayerCount = 0;
    gCurPlayer = 0;
    gPlayerRecord = PlayerRecord{};
}

void TestPlayer::parseRoster_data() {
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("startCurrent");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<int>("current");
    QTest::newRow("second marked") << QByteArray(" 0 ,\"AKI\"\r\n 1 ,\"BEN\"\r\n 0 ,\"CHO\"\r\n")
                                   << 0 << QStringList{"AKI", "BEN", "CHO"} << 1;
    QTest::newRow("no mark keeps current")
        << QByteArray(" 0 ,\"A\"\r\n 0 ,\"B\"\r\n") << 1 << QStringList{"A", "B"} << 1;
    QTest::newRow("spaces and LF only")
        << QByteArray("1,\"X\"\n  0  ,  \"Y\"\n") << 0 << QStringList{"X", "Y"} << 0;
    QByteArray eleven;
    for (int i = 0; i < 11; ++i)
        eleven += " 0 ,\"P" + QByteArray::number(i) + "\"\r\n";
    QStringList ten;
    for (int i = 0; i < 10; ++i)
        ten << "P" + QString::number(i);
    QTest::newRow("eleven lines give ten") << eleven << 0 << ten << 0;
    QTest::newRow("bad line ends reading")
        << QByteArray(" 0 ,\"A\"\r\ngarbage\r\n 1 ,\"C\"\r\n") << 0 << QStringList{"A"} << 0;
    QTest::newRow("name edited by hand")
        << QByteArray(" 1 ,\"名人 x-1\"\r\n").replace("名人", EncodeSjis("名人")) << 0
        << QStringList{"名人 x-1"} << 0;
}

void TestPlayer::parseRoster() {
    QFETCH(QByteArray, text);
    QFETCH(int, startCurrent);
    QFETCH(QStringList, names);
    QFETCH(int, current);
    Roster r;
    r.current = int16_t(startCurrent);
    ParseRoster(text, r);
    QCOMPARE(int(r.count), int(names.size()));
    for (int i = 0; i < names.size(); ++i)
        QCOMPARE(r.names[i], names[i]);
    QCOMPARE(int(r.current), current);
}

void TestPlayer::formatRosterBytes() {
    Roster r;
    r.count = 3;
    r.names = {"AKI", "BEN", "CHO"};
    r.current = 2;
    QCOMPARE(FormatRoster(r), QByteArray(" 0 ,\"AKI\"\r\n 0 ,\"BEN\"\r\n 1 ,\"CHO\"\r\n"));
}

void TestPlayer::writeRosterIsAtomicAndEmptyWhenNoPlayers() {
    gPlayerCount = 2;
    gPlayerName[0] = "A";
    gPlayerName[1] = "B";
    gCurPlayer = 1;
    QVERIFY(WriteRoster());
    gPlayerCount = 0;
    gCurPlayer = 0;
    ReadRoster();
    QCOMPARE(int(gPlayerCount), 2);
    QCOMPARE(int(gCurPlayer), 1);
    QCOMPARE(gPlayerName[1], QString("B"));
    gPlayerCount = 0;
    QVERIFY(WriteRoster());
    QCOMPARE(QFileInfo(gDataPath + "vm2.ply").size(), 0);
    // A folder that cannot be written reports failure and leaves no file.
    gDataPath = MakeDataPath(dir_.path() + "/missing-folder");
    QString err;
    QVERIFY(!WriteRoster(&err));
    QVERIFY(err.contains("vm2.ply"));
}

void TestPlayer::playerRecordOffsets() {
    PlayerRecord r;
    r.ThinkTime = 120;
    r.SoundEffect = 1;
    r.MakeQ = 3;
    r.LastCourse = 5;
    r.LastProb = {7, 300, -2};
    r.FormArrange = 1;
    r.BGMEffect = 1;
    r.Background = 1;
    r.ColorMode = 1;
    r.reserved1[0] = 0xAB;
    r.reserved2[217] = 0xCD;
    r.Stat[0] = {10, 1, 0, 9};
    r.Stat[2999] = {30, 1, 1, 0};
    const QByteArray b = PlayerRecordToBytes(r);
    QCOMPARE(b.size(), 12248);
    QCOMPARE(quint8(b[0]), quint8(120));
    QCOMPARE(quint8(b[2]), quint8(1));
    QCOMPARE(quint8(b[4]), quint8(3));
    QCOMPARE(quint8(b[6]), quint8(5));
    QCOMPARE(quint8(b[10]), quint8(300 & 0xFF));
    QCOMPARE(quint8(b[11]), quint8(300 >> 8));
    QCOMPARE(quint8(b[12]), quint8(0xFE));
    QCOMPARE(quint8(b[13]), quint8(0xFF));
    QCOMPARE(quint8(b[14]), quint8(1));
    QCOMPARE(quint8(b[16]), quint8(1));
    QCOMPARE(quint8(b[18]), quint8(1));
    QCOMPARE(quint8(b[20]), quint8(0xAB));
    QCOMPARE(quint8(b[28]), quint8(1));
    QCOMPARE(quint8(b[247]), quint8(0xCD));
    QCOMPARE(quint8(b[248]), quint8(10));
    QCOMPARE(quint8(b[251]), quint8(9));
    QCOMPARE(quint8(b[248 + 4 * 2999]), quint8(30));
    QCOMPARE(quint8(b[248 + 4 * 2999 + 2]), quint8(1));
    QCOMPARE(PlayerRecordToBytes(PlayerRecordFromBytes(b)), b);
}

void TestPlayer::shortOrMissingPlayerFile_data() {
    QTest::addColumn<int>("size"); // -1: no file
    QTest::newRow("missing") << -1;
    QTest::newRow("0 bytes") << 0;
    QTest::newRow("3 bytes") << 3;
    QTest::newRow("one byte short") << 12247;
}

// A registered player's file that is gone or cut short is rebuilt from the
// template (its level codes with it), the short one kept aside and the user
// told; before, it was read as zeros and saved so.
void TestPlayer::shortOrMissingPlayerFile() {
    QFETCH(int, size);
    QByteArray templ(12248, '\0');
    templ[0] = 120;
    templ[248] = 20;
    WriteFile(gDataPath + "vm2.psn", templ);
    const QByteArray damaged = QByteArray(12248, '\x07').left(std::max(size, 0));
    if (size >= 0) WriteFile(gDataPath + "vm2.ps4", damaged);
    // Past the roster the file is only read, zero-filled; nothing is made.
    gPlayerCount = 4;
    TakeFileNotices();
    QVERIFY(LoadPlayerFile(4));
    QCOMPARE(gPlayerRecord.Stat[0].Level, uint8_t(size > 300 ? 7 : 0));
    QVERIFY(TakeFileNotices().isEmpty());
    QCOMPARE(QFile::exists(gDataPath + "vm2.ps4"), size >= 0);
    gPlayerCount = 5;
    QVERIFY(LoadPlayerFile(4));
    QCOMPARE(gPlayerRecord.ThinkTime, int16_t(120));
    QCOMPARE(gPlayerRecord.Stat[0].Level, uint8_t(20));
    QCOMPARE(ReadFile(gDataPath + "vm2.ps4"), templ);
    const QStringList notices = TakeFileNotices();
    QCOMPARE(notices.size(), 1);
    QVERIFY(notices[0].contains("vm2.ps4"));
    if (size >= 0) {
        QCOMPARE(ReadFile(gDataPath + "vm2.ps4.bad"), damaged);
        QVERIFY(notices[0].contains("vm2.ps4.bad"));
    }
    // Without a template nothing can be rebuilt: the load fails, naming it.
    QFile::remove(gDataPath + "vm2.ps4");
    QFile::remove(gDataPath + "vm2.psn");
    QString err;
    QVERIFY(!LoadPlayerFile(4, &err));
    QVERIFY(err.contains("vm2.psn"));
}

void TestPlayer::thinkTimeOutOfRangeReadsAs60_data() {
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("used");
    QTest::newRow("10") << 10 << 10;
    QTest::newRow("120") << 120 << 120;
    QTest::newRow("300") << 300 << 300;
    QTest::newRow("0") << 0 << 60;
    QTest::newRow("-4377") << -4377 << 60;
    QTest::newRow("65") << 65 << 60;
    QTest::newRow("310") << 310 << 60;
}

void TestPlayer::thinkTimeOutOfRangeReadsAs60() {
    QFETCH(int, stored);
    QFETCH(int, used);
    QByteArray image(12248, '\0');
    image[0] = char(stored & 0xFF);
    image[1] = char((stored >> 8) & 0xFF);
    WriteFile(gDataPath + "vm2.ps2", image);
    QVERIFY(LoadPlayerFile(2));
    QCOMPARE(int(gPlayerRecord.ThinkTime), used);
}

void TestPlayer::damagedRosterIsToldAndKeptAside_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("told"); // a word of the notice; empty: none
    QTest::newRow("whole") << QByteArray(" 1 ,\"A\"\r\n 0 ,\"B\"\r\n") << QStringList{"A", "B"}
                           << QString();
    QTest::newRow("bad first line")
        << QByteArray("garbage\r\n 1 ,\"B\"\r\n") << QStringList{} << QString("1 行目");
    QTest::newRow("bad second line") << QByteArray(" 1 ,\"A\"\r\n 0 B\r\n 0 ,\"C\"\r\n")
                                     << QStringList{"A"} << QString("2 行目");
    QTest::newRow("over 64 KiB") << (QByteArray(" 1 ,\"A\"\r\n") + QByteArray(70000, ' '))
                                 << QStringList{} << QString("大きすぎ");
    QTest::newRow("not Shift-JIS") << QByteArray(" 1 ,\"A\x81\"\r\n 0 ,\"B\"\r\n")
                                   << QStringList{"A\uFFFD", "B"} << QString("Shift-JIS");
}

// A roster that cannot be read whole says so, naming the file, keeps the
// players before the bad line, and is kept aside before it is written anew.
void TestPlayer::damagedRosterIsToldAndKeptAside() {
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, names);
    QFETCH(QString, told);
    WriteFile(gDataPath + "vm2.ply", bytes);
    TakeFileNotices();
    ReadRoster();
    QStringList got;
    for (int i = 0; i < gPlayerCount; ++i)
        got << gPlayerName[size_t(i)];
    QCOMPARE(got, names);
    const QStringList notices = TakeFileNotices();
    if (told.isEmpty()) {
        QVERIFY(notices.isEmpty());
        QVERIFY(RosterProblem().isEmpty());
        return;
    }
    QCOMPARE(notices.size(), 1);
    QVERIFY2(notices[0].contains(told), qPrintable(notices[0]));
    QVERIFY(notices[0].contains("vm2.ply"));
    QCOMPARE(RosterProblem(), notices[0]);
    // Read again (every return to the menu): told only once.
    ReadRoster();
    QVERIFY(TakeFileNotices().isEmpty());
    // Writing keeps the damaged file aside first.
    QString keptAs;
    QVERIFY(WriteRoster(nullptr, &keptAs));
    QCOMPARE(keptAs, QString("vm2.ply.bad"));
    QCOMPARE(ReadFile(gDataPath + "vm2.ply.bad"), bytes);
    QVERIFY(RosterProblem().isEmpty());
}

// Registering never copies the template over a file that exists: it may be
// the record of a player the roster no longer lists.
void TestPlayer::createKeepsExistingFileAside() {
    QByteArray templ(12248, '\0');
    templ[0] = 60;
    WriteFile(gDataPath + "vm2.psn", templ);
    QByteArray someone(12248, '\x05');
    WriteFile(gDataPath + "vm2.ps0", someone);
    QString keptAs;
    QVERIFY(CreatePlayerFile(0, nullptr, &keptAs));
    QCOMPARE(keptAs, QString("vm2.ps0.old"));
    QCOMPARE(ReadFile(gDataPath + "vm2.ps0.old"), someone);
    QCOMPARE(ReadFile(gDataPath + "vm2.ps0"), templ);
    // A second time the first kept file stays too.
    WriteFile(gDataPath + "vm2.ps0", someone + "x");
    QVERIFY(CreatePlayerFile(0, nullptr, &keptAs));
    QCOMPARE(keptAs, QString("vm2.ps0.old2"));
    QCOMPARE(ReadFile(gDataPath + "vm2.ps0.old"), someone);
}

void TestPlayer::saveKeepsReservedBytes() {
    QByteArray image(12248, '\0');
    image[25] = 'R';
    image[100] = 'S';
    WriteFile(gDataPath + "vm2.ps1", image);
    QVERIFY(LoadPlayerFile(1));
    gPlayerRecord.ThinkTime = 90;
    QVERIFY(SavePlayerFile(1));
    const QByteArray saved = ReadFile(gDataPath + "vm2.ps1");
    QCOMPARE(saved.size(), 12248);
    QCOMPARE(saved[25], 'R');
    QCOMPARE(saved[100], 'S');
    QCOMPARE(quint8(saved[0]), quint8(90));
}

void TestPlayer::createAndCopyPlayerFiles() {
    QByteArray templ(12248, '\0');
    templ[0] = 60;
    templ[248] = 20;
    WriteFile(gDataPath + "vm2.psn", templ);
    QVERIFY(CreatePlayerFile(0));
    QCOMPARE(ReadFile(gDataPath + "vm2.ps0"), templ);
    QByteArray other = templ;
    other[249] = 1;
    WriteFile(gDataPath + "vm2.ps1", other);
    QVERIFY(CopyPlayerFile(1, 0));
    QCOMPARE(ReadFile(gDataPath + "vm2.ps0"), other);
    QString err;
    QVERIFY(!CopyPlayerFile(7, 0, &err)); // missing source: reported, target intact
    QCOMPARE(ReadFile(gDataPath + "vm2.ps0"), other);
    QFile::remove(gDataPath + "vm2.psn");
    QVERIFY(!CreatePlayerFile(2, &err));
    QVERIFY(err.contains("vm2.psn"));
}

void TestPlayer::defaultSettingsKeepColorModeAndStats() {
    gPlayerRecord.ThinkTime = 10;
    gPlayerRecord.MakeQ = 2;
    gPlayerRecord.LastProb = {1, 2, 3};
    gPlayerRecord.ColorMode = 1;
    gPlayerRecord.Stat[5].Asked = 1;
    DefaultSettings();
    QCOMPARE(gPlayerRecord.ThinkTime, int16_t(60));
    QCOMPARE(gPlayerRecord.MakeQ, int16_t(0));
    QCOMPARE(gPlayerRecord.LastProb[2], int16_t(0));
    QCOMPARE(gPlayerRecord.ColorMode, int16_t(1));
    QCOMPARE(gPlayerRecord.Stat[5].Asked, uint8_t(1));
}

void TestPlayer::playerFileName() {
    QCOMPARE(PlayerFileName(7), QString("vm2.ps7"));
    QCOMPARE(PlayerFileName(0), QString("vm2.ps0"));
    QCOMPARE(PlayerFileName(12), QString("vm2.ps2"));
}

void TestPlayer::wideDigits_data() {
    QTest::addColumn<QString>("in");
    QTest::addColumn<QString>("out");
    QTest::newRow("125") << "125"
                         << "１２５";
    QTest::newRow("blank 7") << " 7"
                             << "７";
    QTest::newRow("empty") << ""
                           << "";
    QTest::newRow("10") << "10"
                        << "１０";
}

void TestPlayer::wideDigits() {
    QFETCH(QString, in);
    QFETCH(QString, out);
    QCOMPARE(ToWideDigits(in), out);
}

void TestPlayer::stoneBitmaps_data() {
    QTest::addColumn<int>("pitch");
    QTest::addColumn<int>("colour");
    QTest::addColumn<int>("mask");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("name");
    QTest::newRow("white 20 mask") << 20 << 2 << 1 << 7 << "Wh20Rev.bmp";
    QTest::newRow("black 25 uses 29") << 25 << 1 << 0 << 0 << "Bl29Nrm.bmp";
    QTest::newRow("white 29 mask") << 29 << 2 << 1 << 3 << "Wh29Rev.bmp";
    QTest::newRow("black 9 mask") << 9 << 1 << 1 << 13 << "Bl09Rev.bmp";
    QTest::newRow("black 9 image") << 9 << 1 << 0 << 12 << "Bl09Nrm.bmp";
    QTest::newRow("white 11 image") << 11 << 2 << 0 << 10 << "Wh11Nrm.bmp";
}

void TestPlayer::stoneBitmaps() {
    QFETCH(int, pitch);
    QFETCH(int, colour);
    QFETCH(int, mask);
    QFETCH(int, index);
    QFETCH(QString, name);
    QCOMPARE(StoneBitmapIndex(pitch, colour, mask), index);
    QCOMPARE(StoneBitmapName(index), name);
}

void TestPlayer::commentFields_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("fields");
    QTest::newRow("quoted per line") << "\"一\"\r\n\"\"\r\n\"三\"\r\n"
                                     << QStringList{"一", "", "三"};
    QTest::newRow("comma inside quotes") << "\"a, b\",c\r\n" << QStringList{"a, b", "c"};
    QTest::newRow("spaces trimmed") << "  x  ,  y\n" << QStringList{"x", "y"};
    QTest::newRow("no final newline") << "\"last\"" << QStringList{"last"};
    QTest::newRow("blank lines skipped") << "\"a\"\r\n\r\n\"b\"\r\n" << QStringList{"a", "b"};
}

void TestPlayer::commentFields() {
    QFETCH(QString, text);
    QFETCH(QStringList, fields);
    const auto got = ParseCommentFields(text);
    QCOMPARE(QStringList(got.begin(), got.end()), fields);
}

void TestPlayer::commentListsAndLimit() {
    WriteFile(gDataPath + "s1.txt", EncodeSjis("\"天元\"\r\n\"\"\r\n"));
    WriteFile(gDataPath + "s2.txt", EncodeSjis("\"取ってください\"\r\n"));
    QVERIFY(ReadCommentLists());
    QCOMPARE(int(gCommentCount), 3);
    QCOMPARE(ProbComment(4, 0), QString("天元"));
    QCOMPARE(ProbComment(4, 1), QString());
    QCOMPARE(ProbComment(5, 0), QString("取ってください"));
    QCOMPARE(ProbComment(0, 0), QString());
    QByteArray many;
    for (int i = 0; i < 251; ++i)
        many += "\"c\"\r\n";
    WriteFile(gDataPath + "s2.txt", many);
    QString err;
    QVERIFY(!ReadCommentLists(&err));
    QVERIFY(err.contains("s2.txt"));
    QFile::remove(gDataPath + "s1.txt");
    QVERIFY(!ReadCommentLists(&err));
    QVERIFY(err.contains("s1.txt"));
}

// Read by the first window that needs them: once for a folder, again for
// another folder, and a failed read is tried again.
void TestPlayer::commentListsReadOncePerFolder() {
    QTemporaryDir first;
    QTemporaryDir second;
    gDataPath = MakeDataPath(first.path());
    WriteFile(gDataPath + "s1.txt", EncodeSjis("\"天元\"\r\n"));
    WriteFile(gDataPath + "s2.txt", EncodeSjis("\"取ってください\"\r\n"));
    QVERIFY(EnsureCommentLists());
    QCOMPARE(ProbComment(4, 0), QString("天元"));
    WriteFile(gDataPath + "s1.txt", EncodeSjis("\"隅\"\r\n"));
    QVERIFY(EnsureCommentLists());
    QCOMPARE(ProbComment(4, 0), QString("天元"));

    gDataPath = MakeDataPath(second.path());
    QString err;
    QVERIFY(!EnsureCommentLists(&err));
    QVERIFY(err.contains("s1.txt"));
    WriteFile(gDataPath + "s1.txt", EncodeSjis("\"辺\"\r\n"));
    WriteFile(gDataPath + "s2.txt", QByteArray());
    QVERIFY(EnsureCommentLists());
    QCOMPARE(ProbComment(4, 0), QString("辺"));
    QCOMPARE(ProbComment(5, 0), QString());

    gDataPath = MakeDataPath(first.path());
    QVERIFY(EnsureCommentLists());
    QCOMPARE(ProbComment(4, 0), QString("隅"));
    SetCommentLists({CommentEntry{5, 2, QStringLiteral("置かれた")}});
    QVERIFY(EnsureCommentLists());
    QCOMPARE(ProbComment(5, 2), QString("置かれた"));
    QCOMPARE(ProbComment(4, 0), QString());
}

void TestPlayer::commentListWithBadBytesIsTold() {
    WriteFile(gDataPath + "s1.txt", EncodeSjis("\"天元\"\r\n") + "\"\x82\"\r\n");
    WriteFile(gDataPath + "s2.txt", EncodeSjis("\"取ってください\"\r\n"));
    TakeFileNotices();
    QVERIFY(ReadCommentLists());
    const QStringList notices = TakeFileNotices();
    QCOMPARE(notices.size(), 1);
    QVERIFY(notices[0].contains("s1.txt"));
    QVERIFY(notices[0].contains("2 行目"));
}

void TestPlayer::dataPathAndCaseFallback() {
    QCOMPARE(MakeDataPath("/"), QString("/"));
    QCOMPARE(MakeDataPath("/a/b"), QString("/a/b/"));
    QCOMPARE(MakeDataPath("/a/b/"), QString("/a/b/"));
    WriteFile(gDataPath + "1Prev000.bmp", "x");
    QCOMPARE(DataFile("1prev000.bmp"), gDataPath + "1Prev000.bmp");
    QCOMPARE(DataFile("1Prev000.bmp"), gDataPath + "1Prev000.bmp");
    QCOMPARE(DataFile("nothing.bmp"), gDataPath + "nothing.bmp");
}

void TestPlayer::sjisCodec() {
    bool ok = false;
    const QString text = "～①髙〜名人";
    const QByteArray bytes = EncodeSjis(text, &ok);
    QVERIFY(ok);
    QCOMPARE(DecodeSjis(bytes, &ok), QString("～①髙～名人"));
    QVERIFY(ok);
    // A cut-off lead byte and an invalid pair are reported, never a crash.
    DecodeSjis(QByteArray("\x82", 1), &ok);
    QVERIFY(!ok);
    DecodeSjis(QByteArray("A\xFF\xFF", 3), &ok);
    QVERIFY(!ok);
    EncodeSjis(QString::fromUtf8("😀"), &ok);
    QVERIFY(!ok);
}

void TestPlayer::coursesAndStatements() {
    QCOMPARE(ProblemStatement(3, 2), QString("黒先で攻め合いに勝つまで打ってください"));
    QCOMPARE(ProblemStatement(0, 1), QString("黒先で一手打ってください"));
    QCOMPARE(ProblemStatement(5, 0), QString("題意不明"));
    QCOMPARE(ProblemStatement(1, 0), QString("<生き問題>"));
    QCOMPARE(ProblemStatement(2, 7), QString());
    // Index files of 8, 3 and 2 problems.
    WriteFile(gDataPath + "abc.dr", QByteArray(32, '\0'));
    WriteFile(gDataPath + "s1.dr", QByteArray(12, '\0'));
    WriteFile(gDataPath + "S2.DR", QByteArray(8, '\0'));
    QString err;
    QVERIFY2(InitCourses(&err), qPrintable(err));
    QCOMPARE(gCourses[2].ProbCount, int16_t(8));
    QCOMPARE(gCourses[4].ProbCount, int16_t(3));
    QCOMPARE(gCourses[5].ProbCount, int16_t(2));
    QCOMPARE(CourseBase(3), 0);
    QCOMPARE(CourseBase(4), 8);
    QCOMPARE(CourseBase(5), 11);
    QCOMPARE(CourseBase(6), 0);
    QCOMPARE(GlobalProbIndex(5, 1), 12);
    QCOMPARE(CourseDataSet(4), 1);
    QCOMPARE(CourseDataSet(5), 2);
    QCOMPARE(CourseDataSet(2), 0);
    QFile::remove(gDataPath + "s1.dr");
    QVERIFY(!InitCourses(&err));
    QVERIFY(err.contains("s1.dr"));
}

void TestPlayer::countCourseStats() {
    InitCoursesWithCounts(4, 2, 1);
    PlayerRecord r;
    const uint8_t levels[] = {10, 20, 10, 30};
    for (int i = 0; i < 4; ++i)
        r.Stat[i].Level = levels[i];
    r.Stat[0].Asked = 1;
    r.Stat[0].Correct = 1;
    r.Stat[2].Asked = 1;
    r.Stat[4] = {0, 1, 1, 0}; // first problem of course 4
    const CourseStats all = CountCourseStats(0, r);
    QCOMPARE(int(all.total), 4);
    QCOMPARE(int(all.answered), 2);
    QCOMPARE(int(all.correct), 1);
    const CourseStats beginner = CountCourseStats(3, r);
    QCOMPARE(int(beginner.total), 2);
    QCOMPARE(int(beginner.answered), 2);
    const CourseStats s1 = CountCourseStats(4, r);
    QCOMPARE(int(s1.total), 2);
    QCOMPARE(int(s1.correct), 1);
}

QTEST_GUILESS_MAIN(TestPlayer)
#include "test_player.moc"

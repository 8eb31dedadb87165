// The one write routine: every failing step leaves the old file as it was
// and is reported; callers pass the report on. Stale temporary files and
// files kept aside.
#include "library/files.h"
#include "library/player.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "tests/common/testfiles.h"

#include <cerrno>

Q_DECLARE_METATYPE(WriteStep)

namespace {

using testfiles::ReadFile;
using testfiles::WriteFile;

// Fails `step` with `err` for the lifetime of the guard.
class FailStep {
public:
    FailStep(WriteStep step, int err) {
        SetWriteFaultHook([step, err](WriteStep s) { return s == step ? err : 0; });
    }
    ~FailStep() { SetWriteFaultHook({}); }
};

} // namespace

class TestFiles : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void failingStepKeepsOldFile_data();
    void failingStepKeepsOldFile();
    void failingStepLeavesNoNewFile();
    void writeReplacesAndKeepsPermissions();
    void callersReportTheFile_data();
    void callersReportTheFile();
    void staleTempFilesAreRemoved();
    void keepAsideFindsFreeName();

private:
    QTemporaryDir dir_;
    QStringList entries() const { return QDir(dir_.path()).entryList(QDir::Files); }
};

void TestFiles::init() {
    QVERIFY(dir_.isValid());
    gDataPath = MakeDataPath(dir_.path());
    for (const QString& f : entries())
        QFile::remove(dir_.filePath(f));
}

void TestFiles::cleanup() {
    SetWriteFaultHook({});
}

void TestFiles::failingStepKeepsOldFile_data() {
    QTest::addColumn<WriteStep>("step");
    QTest::addColumn<int>("err");
    QTest::addColumn<QString>("reason");
    QTest::newRow("open") << WriteStep::Open << EACCES << QString("書き込みが許可されていません");
    QTest::newRow("write: disk full")
        << WriteStep::Write << ENOSPC << QString("ディスクに空きがありません");
    QTest::newRow("flush: disk full")
        << WriteStep::Flush << ENOSPC << QString("ディスクに空きがありません");
    QTest::newRow("flush: i/o error") << WriteStep::Flush << EIO << QString();
    QTest::newRow("rename") << WriteStep::Rename << EIO << QString();
}

void TestFiles::failingStepKeepsOldFile() {
    QFETCH(WriteStep, step);
    QFETCH(int, err);
    QFETCH(QString, reason);
    const QString path = gDataPath + "vm2.ps0";
    const QByteArray old(12248, 'o');
    WriteFile(path, old);
    {
        FailStep fail(step, err);
        QString error;
        QVERIFY(!WriteFileAtomic(path, QByteArray(12248, 'n'), &error));
        QVERIFY2(error.contains(path), qPrintable(error));
        if (!reason.isEmpty()) QVERIFY2(error.contains(reason), qPrintable(error));
    }
    QCOMPARE(ReadFile(path), old);
    QCOMPARE(entries(), QStringList{"vm2.ps0"}); // no temporary file left behind
    // The same write goes through once the fault is gone.
    QVERIFY(WriteFileAtomic(path, QByteArray(12248, 'n')));
    QCOMPARE(ReadFile(path), QByteArray(12248, 'n'));
}

void TestFiles::failingStepLeavesNoNewFile() {
    FailStep fail(WriteStep::Flush, ENOSPC);
    QVERIFY(!WriteFileAtomic(gDataPath + "abc.hsc", "x"));
    QVERIFY(entries().isEmpty());
}

void TestFiles::writeReplacesAndKeepsPermissions() {
    const QString path = gDataPath + "vm2.ply";
    WriteFile(path, "old");
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QVERIFY(WriteFileAtomic(path, "new"));
    QCOMPARE(ReadFile(path), QByteArray("new"));
    QCOMPARE(QFile::permissions(path), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                           QFileDevice::ReadUser | QFileDevice::WriteUser);
    QVERIFY(WriteFileAtomic(path, QByteArray()));
    QCOMPARE(ReadFile(path), QByteArray());
}

void TestFiles::callersReportTheFile_data() {
    QTest::addColumn<QString>("name");
    QTest::newRow("player file") << QString("vm2.ps0");
    QTest::newRow("roster") << QString("vm2.ply");
    QTest::newRow("new player from the template") << QString("vm2.ps1");
}

// The player file, the roster and a new player's file all go through the
// routine and report its failure, naming the file; nothing on disk changes.
void TestFiles::callersReportTheFile() {
    QFETCH(QString, name);
    WriteFile(gDataPath + "vm2.psn", QByteArray(12248, 't'));
    WriteFile(gDataPath + "vm2.ps0", QByteArray(12248, 'p'));
    WriteFile(gDataPath + "vm2.ply", " 1 ,\"A\"\r\n");
    ReadRoster();
    QVERIFY(LoadPlayerFile(0));
    gPlayerRecord.Stat[7].Asked = 1;
    gPlayerName[0] = "B";
    const QStringList before = entries();
    QString error;
    {
        FailStep fail(WriteStep::Flush, ENOSPC);
        bool ok = true;
        if (name == "vm2.ps0")
            ok = SavePlayerFile(0, &error);
        else if (name == "vm2.ply")
            ok = WriteRoster(&error);
        else
            ok = CreatePlayerFile(1, &error);
        QVERIFY(!ok);
    }
    QVERIFY2(error.contains(gDataPath + name), qPrintable(error));
    QCOMPARE(entries(), before);
    QCOMPARE(ReadFile(gDataPath + "vm2.ps0"), QByteArray(12248, 'p'));
    QCOMPARE(ReadFile(gDataPath + "vm2.ply"), QByteArray(" 1 ,\"A\"\r\n"));
}

void TestFiles::staleTempFilesAreRemoved() {
    const QStringList ours{"vm2.ps0.Ab12Cd", "vm2.ply.x9Y8z7", "abc.hsc.QQQQQQ", "vm2.ps9.000000"};
    const QStringList theirs{"vm2.ps0",          "vm2.ps0.bad",     "vm2.psn.Ab12Cd",
                             "notes.txt.abcdef", "vm2.ps0.Ab12Cde", "vm2.ps0.Ab-2Cd",
                             "abc.dt.Ab12Cd"};
    for (const QString& f : ours + theirs)
        WriteFile(gDataPath + f, "x");
    QCOMPARE(RemoveStaleTempFiles(gDataPath), int(ours.size()));
    QStringList left = theirs;
    left.sort();
    QCOMPARE(entries(), left);
}

void TestFiles::keepAsideFindsFreeName() {
    const QString path = gDataPath + "s1.hsc";
    WriteFile(path, "first");
    QCOMPARE(KeepAside(path), QString("s1.hsc.bad"));
    WriteFile(path, "second");
    QCOMPARE(KeepAside(path), QString("s1.hsc.bad2"));
    QCOMPARE(ReadFile(path + ".bad"), QByteArray("first"));
    QCOMPARE(ReadFile(path + ".bad2"), QByteArray("second"));
    QVERIFY(!QFile::exists(path));
    QString error;
    QCOMPARE(KeepAside(path, &error), QString());
    QVERIFY(error.contains(path));
}

QTEST_GUILESS_MAIN(TestFiles)
#include "test_files.moc"

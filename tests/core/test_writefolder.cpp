// The write folder: the program folder when it can be written to, else the
// per-user data folder with a copy of the template; every writer uses it.
#include "library/files.h"
#include "library/player.h"
#include "library/writefolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <unistd.h>

namespace {

void Put(const QString& path, const QByteArray& data) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(data);
}

QByteArray Get(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return QByteArray();
    return f.readAll();
}

QStringList Files(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name);
}

} // namespace

class TestWriteFolder : public QObject {
    Q_OBJECT
private slots:
    void init() {
        QVERIFY(dir_.isValid());
        program_ = dir_.path() + QStringLiteral("/program");
        user_ = dir_.path() + QStringLiteral("/user");
        QDir(program_).removeRecursively();
        QDir(user_).removeRecursively();
        QVERIFY(QDir().mkpath(program_));
        QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).removeRecursively();
        gPlayerCount = 0;
        gCurPlayer = 0;
        gPlayerName = {};
    }

    void folderIsWritable_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<bool>("writable");
        QTest::newRow("temporary folder") << QString() << true;
        QTest::newRow("missing folder") << QStringLiteral("/missing") << false;
        QTest::newRow("regular file") << QStringLiteral("/file") << false;
        // Not even root can create a file there.
        QTest::newRow("/proc") << QStringLiteral("!/proc") << false;
        if (geteuid() != 0) QTest::newRow("mode 0555") << QStringLiteral("/locked") << false;
    }
    void folderIsWritable() {
        QFETCH(QString, folder);
        QFETCH(bool, writable);
        QString path = program_ + folder;
        if (folder.startsWith(QLatin1Char('!'))) path = folder.mid(1);
        if (folder == QLatin1String("/file")) Put(path, "x");
        if (folder == QLatin1String("/locked")) {
            QVERIFY(QDir().mkpath(path));
            QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::ExeOwner));
        }
        QCOMPARE(FolderIsWritable(path), writable);
        // The probe leaves nothing behind.
        if (writable) QCOMPARE(Files(path), QStringList());
        if (folder == QLatin1String("/locked"))
            QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    void writableProgramFolderIsKept() {
        Put(program_ + QStringLiteral("/vm2.psn"), "template");
        QCOMPARE(ChooseWriteFolder(program_, true, user_), MakeDataPath(program_));
        QVERIFY(!QFileInfo::exists(user_)); // nothing made elsewhere
    }

    void readOnlyProgramFolderUsesUserFolder() {
        Put(program_ + QStringLiteral("/VM2.PSN"), "template"); // found whatever its case
        QCOMPARE(ChooseWriteFolder(program_, false, user_ + QStringLiteral("/a/b")),
                 MakeDataPath(user_ + QStringLiteral("/a/b")));
        QCOMPARE(Get(user_ + QStringLiteral("/a/b/vm2.psn")), QByteArray("template"));
        // A template already there is the user's: it is not replaced.
        Put(user_ + QStringLiteral("/a/b/vm2.psn"), "mine");
        ChooseWriteFolder(program_, false, user_ + QStringLiteral("/a/b"));
        QCOMPARE(Get(user_ + QStringLiteral("/a/b/vm2.psn")), QByteArray("mine"));
        // No template in the program folder: the folder is still made.
        QCOMPARE(ChooseWriteFolder(program_ + QStringLiteral("/"), false, user_ + "/c"),
                 MakeDataPath(user_ + "/c"));
        QVERIFY(QFileInfo(user_ + "/c").isDir());
    }

    void fallsBackToProgramFolderWhenNoUserFolder() {
        // A missing program folder is reported through its files, not hidden.
        QCOMPARE(ChooseWriteFolder(program_ + "/gone", false, user_),
                 MakeDataPath(program_ + "/gone"));
        QVERIFY(!QFileInfo::exists(user_));
        // A user folder that cannot be made (a file stands in the way).
        Put(user_, "file");
        QCOMPARE(ChooseWriteFolder(program_, false, user_ + "/sub"), MakeDataPath(program_));
        QCOMPARE(ChooseWriteFolder(program_, false, QString()), MakeDataPath(program_));
    }

    void writersUseProgramFolderWhenWritable() {
        gDataPath = MakeDataPath(program_);
        Put(program_ + QStringLiteral("/vm2.psn"), QByteArray(kPlayerFileSize, '\0'));
        QCOMPARE(WriteFolder(), gDataPath);
        RegisterOne();
        QVERIFY(QFileInfo::exists(program_ + QStringLiteral("/vm2.ply")));
        QVERIFY(QFileInfo::exists(program_ + QStringLiteral("/vm2.ps0")));
        QVERIFY(
            !QFileInfo::exists(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)));
    }

    void writersUseUserFolderWhenReadOnly() {
        // /proc stands for a read-only program folder (no file can be made
        // there, not even by root).
        gDataPath = QStringLiteral("/proc/");
        const QString user =
            MakeDataPath(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
        QCOMPARE(WriteFolder(), user);
        QCOMPARE(WriteFolderFile(QStringLiteral("vm2.ply")), user + QStringLiteral("vm2.ply"));
        QVERIFY(QFileInfo(user).isDir());
        Put(user + QStringLiteral("vm2.psn"), QByteArray(kPlayerFileSize, '\0'));
        RegisterOne();
        QCOMPARE(Files(user), (QStringList{QStringLiteral("vm2.ply"), QStringLiteral("vm2.ps0"),
                                           QStringLiteral("vm2.psn")}));
        // Read back from the same place.
        gPlayerCount = 0;
        gPlayerName = {};
        ReadRoster();
        QCOMPARE(int(gPlayerCount), 1);
        QCOMPARE(gPlayerName[0], QStringLiteral("和子"));
        QVERIFY(LoadPlayerFile(0));
        QCOMPARE(int(gPlayerRecord.ThinkTime), 40);
        // Changing the program folder decides again.
        gDataPath = MakeDataPath(program_);
        QCOMPARE(WriteFolder(), gDataPath);
    }

private:
    // Registers "和子" as player 0 with a thinking time of 40 seconds.
    void RegisterOne() {
        QString error;
        QVERIFY2(CreatePlayerFile(0, &error), qPrintable(error));
        gPlayerCount = 1;
        gPlayerName[0] = QStringLiteral("和子");
        gCurPlayer = 0;
        QVERIFY2(WriteRoster(&error), qPrintable(error));
        QVERIFY(LoadPlayerFile(0));
        gPlayerRecord.ThinkTime = 40;
        QVERIFY2(SavePlayerFile(0, &error), qPrintable(error));
    }

    QTemporaryDir dir_;
    QString program_;
    QString user_;
};

QTEST_GUILESS_MAIN(TestWriteFolder)
#include "test_writefolder.moc"

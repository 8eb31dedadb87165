// The attempt history database: rows written and read back, marks for the
// picker, a damaged or foreign file moved aside, a failed write told once,
// and a deleted player's rows gone with the later players' moved down.
#include "history/history.h"
#include "library/files.h"
#include "library/modules.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QtTest>

namespace {

Attempt Make(int player, const char* set, int problem, bool correct, int minute = 0) {
    Attempt a;
    a.player = player;
    a.time = QDateTime(QDate(2026, 5, 4), QTime(9, minute));
    a.mode = AttemptMode::Learn;
    a.course = 4;
    a.dataSet = QString::fromLatin1(set);
    a.problem = problem;
    a.firstMove = 2 * 19 + 3;
    a.reached = correct ? 50 : 300;
    a.best = 50;
    a.correct = correct;
    a.seconds = 17;
    a.level = 20;
    return a;
}

void Write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

class TestHistory : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;

private slots:
    void init() {
        QVERIFY(dir_.isValid());
        QDir d(dir_.path());
        for (const QString& f : d.entryList(QDir::Files))
            d.remove(f);
        gDataPath = MakeDataPath(dir_.path());
        SetHistoryDatabasePath(QString());
        ResetHistoryReports();
    }

    void pathIsBesideThePlayerFiles() {
        QCOMPARE(HistoryDatabasePath(), gDataPath + QStringLiteral("vm2hist.db"));
        SetHistoryDatabasePath(dir_.path() + QStringLiteral("/elsewhere.db"));
        QCOMPARE(HistoryDatabasePath(), dir_.path() + QStringLiteral("/elsewhere.db"));
        QVERIFY(RecordAttempt(Make(0, "abc", 1, true)));
        QVERIFY(QFile::exists(dir_.path() + QStringLiteral("/elsewhere.db")));
        QVERIFY(!QFile::exists(gDataPath + kHistoryFileName));
    }

    void rowsRoundTrip() {
        QVERIFY(AttemptsOf(0).empty()); // no file yet: nothing, and nothing created
        QVERIFY(!QFile::exists(HistoryDatabasePath()));
        Attempt a = Make(3, "s1", 12, false, 5);
        a.mode = AttemptMode::Trial;
        QVERIFY(RecordAttempt(a));
        QVERIFY(RecordAttempt(Make(3, "s1", 12, true, 6)));
        QVERIFY(RecordAttempt(Make(4, "s1", 12, true, 7)));
        const std::vector<Attempt> rows = AttemptsOf(3);
        QCOMPARE(rows.size(), size_t(2));
        const Attempt& r = rows[0];
        QCOMPARE(r.player, 3);
        QCOMPARE(r.time, a.time);
        QCOMPARE(int(r.mode), int(AttemptMode::Trial));
        QCOMPARE(r.course, 4);
        QCOMPARE(r.dataSet, QStringLiteral("s1"));
        QCOMPARE(r.problem, 12);
        QCOMPARE(r.firstMove, 41);
        QCOMPARE(r.reached, 300);
        QCOMPARE(r.best, 50);
        QCOMPARE(r.correct, false);
        QCOMPARE(r.seconds, 17);
        QCOMPARE(r.level, 20);
        QVERIFY(rows[1].correct);
        QVERIFY(TakeHistoryNotices().isEmpty());
    }

    void marksFollowTheLastAttempt() {
        QVERIFY(RecordAttempt(Make(0, "abc", 1, true, 1)));
        QVERIFY(RecordAttempt(Make(0, "abc", 1, false, 2))); // solved, then failed: ×
        QVERIFY(RecordAttempt(Make(0, "abc", 2, false, 3)));
        QVERIFY(RecordAttempt(Make(0, "abc", 2, true, 4))); // failed, then solved: ○
        QVERIFY(RecordAttempt(Make(0, "s2", 3, true, 5)));
        QVERIFY(RecordAttempt(Make(1, "abc", 4, true, 6))); // another player
        const auto marks = ProblemMarks(0, QStringLiteral("abc"));
        QCOMPARE(marks.size(), size_t(2));
        QCOMPARE(int(marks.at(1)), int(ProblemMark::FailedLast));
        QCOMPARE(int(marks.at(2)), int(ProblemMark::Solved));
        QCOMPARE(ProblemMarks(0, QStringLiteral("s2")).size(), size_t(1));
    }

    void damagedOrForeignFileIsMovedAside_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("sqlite"); // build a foreign SQLite database instead
        QTest::newRow("not a database")
            << QByteArray("this is not a database at all, sorry") << false;
        QTest::newRow("cut-off header") << QByteArray("SQLite format 3\0\x10\0", 19) << false;
        QTest::newRow("another program's database") << QByteArray() << true;
    }
    void damagedOrForeignFileIsMovedAside() {
        QFETCH(QByteArray, content);
        QFETCH(bool, sqlite);
        const QString path = HistoryDatabasePath();
        if (sqlite) {
            {
                QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "foreign");
                db.setDatabaseName(path);
                QVERIFY(db.open());
                QSqlQuery q(db);
                QVERIFY(q.exec(QStringLiteral("CREATE TABLE notes (text TEXT)")));
                QVERIFY(q.exec(QStringLiteral("INSERT INTO notes VALUES ('keep me')")));
                db.close();
            }
            QSqlDatabase::removeDatabase(QStringLiteral("foreign"));
        } else {
            Write(path, content);
        }
        const QByteArray before = [&] {
            QFile f(path);
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        }();

        QVERIFY(RecordAttempt(Make(0, "abc", 1, true)));
        const QStringList notices = TakeHistoryNotices();
        QCOMPARE(notices.size(), 1);
        QVERIFY(notices[0].contains(QStringLiteral("vm2hist.db.broken")));
        // The old file is kept untouched beside the new database.
        QFile aside(path + QStringLiteral(".broken"));
        QVERIFY(aside.open(QIODevice::ReadOnly));
        QCOMPARE(aside.readAll(), before);
        QCOMPARE(AttemptsOf(0).size(), size_t(1));

        // A second damaged file does not overwrite the first one set aside.
        Write(path, "garbage again");
        QVERIFY(RecordAttempt(Make(0, "abc", 2, true)));
        QVERIFY(QFile::exists(path + QStringLiteral(".broken1")));
        QCOMPARE(TakeHistoryNotices().size(), 1);
    }

    void failedWriteIsToldOnce() {
        // The database path is a folder: nothing can be written there.
        SetHistoryDatabasePath(dir_.path());
        QString error;
        QVERIFY(!RecordAttempt(Make(0, "abc", 1, true), &error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!RecordAttempt(Make(0, "abc", 2, true)));
        const QStringList notices = TakeHistoryNotices();
        QCOMPARE(notices.size(), 1);
        QVERIFY(notices[0].contains(QStringLiteral("書き込めませんでした")));
        QVERIFY(!RecordAttempt(Make(0, "abc", 3, true)));
        QVERIFY(TakeHistoryNotices().isEmpty());
        QVERIFY(AttemptsOf(0).empty());
    }

    // SQLite's failures reach the user in Japanese; extended codes count by
    // their primary code, and what is not known keeps SQLite's own words.
    void sqliteErrorsInWords_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("disk full")
            << "13"
            << "database or disk is full" << QStringLiteral("ディスクに空きがありません");
        QTest::newRow("read-only, extended") << "1032"
                                             << "attempt to write a readonly database"
                                             << QStringLiteral("書き込みが許可されていません");
        QTest::newRow("busy") << "5"
                              << "database is locked"
                              << QStringLiteral("ほかのプログラムが使用中です");
        QTest::newRow("not a database")
            << "26"
            << "file is not a database" << QStringLiteral("ファイルが壊れています");
        QTest::newRow("other code")
            << "19"
            << "UNIQUE constraint failed" << QStringLiteral("UNIQUE constraint failed");
        QTest::newRow("no code") << ""
                                 << "" << QStringLiteral("原因不明のエラー");
    }
    void sqliteErrorsInWords() {
        QFETCH(QString, code);
        QFETCH(QString, text);
        QFETCH(QString, expected);
        QCOMPARE(HistoryErrorText(code, text), expected);
    }

    void deletingAPlayerMovesTheLaterOnesDown() {
        for (int p = 0; p < 4; ++p)
            for (int k = 0; k <= p; ++k)
                QVERIFY(RecordAttempt(Make(p, "abc", 10 * p + k, true, k)));
        QVERIFY(DeletePlayerHistory(1));
        QCOMPARE(AttemptsOf(0).size(), size_t(1));
        // The old player 2 (three rows) is now player 1, old 3 is now 2.
        const auto one = AttemptsOf(1);
        QCOMPARE(one.size(), size_t(3));
        QCOMPARE(one[0].problem, 20);
        QCOMPARE(AttemptsOf(2).size(), size_t(4));
        QVERIFY(AttemptsOf(3).empty());
        QVERIFY(DeletePlayerHistory(0)); // the last rows of slot 0 go
        QCOMPARE(AttemptsOf(0).size(), size_t(3));
    }

    // Qt SQL lives in a module loaded with the first attempt; without it play
    // goes on: nothing is written or shown, and the user is told once why.
    void missingModuleIsToldOnce() {
        QVERIFY(RecordAttempt(Make(0, "abc", 1, true))); // a database to read, with the module
        QTemporaryDir empty;
        SetModuleFolder(empty.path());
        QString why;
        QVERIFY(!HistoryAvailable(&why));
        QVERIFY(why.contains(QStringLiteral("libvelmora_historydb.so")));
        QString error;
        QVERIFY(!RecordAttempt(Make(0, "abc", 2, true), &error));
        QVERIFY(error.contains(QStringLiteral("libvelmora_historydb.so")));
        QVERIFY(AttemptsOf(0).empty());
        QString deleteError;
        QVERIFY(!DeletePlayerHistory(0, &deleteError));
        QVERIFY(!deleteError.isEmpty());
        const QStringList notices = TakeHistoryNotices();
        QCOMPARE(notices.size(), 1);
        QVERIFY(notices[0].contains(QStringLiteral("インストールを確かめてください")));

        SetModuleFolder(QStringLiteral(VELMORA_DIST_DIR)); // back: the row is still there
        QVERIFY(HistoryAvailable());
        QCOMPARE(AttemptsOf(0).size(), size_t(1));
    }

    void deletingWithoutADatabaseCreatesNone() {
        QVERIFY(DeletePlayerHistory(2));
        QVERIFY(!QFile::exists(HistoryDatabasePath()));
    }
};

QTEST_MAIN(TestHistory)
#include "test_history.moc"

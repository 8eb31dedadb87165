// The history module (libvelmora_historydb.so): the attempts table in SQLite
// through Qt SQL. Loaded by history.cpp with the first attempt written or
// read; QtCore and QtSql only.
#include "historydb.h"

#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

// "VMH2": marks the database as ours; any other SQLite file is foreign.
constexpr int kApplicationId = 0x564D4832;
constexpr int kSchemaVersion = 1;
const QString kConnection = QStringLiteral("velmora-history");

const HistoryHost* gHost = nullptr;

const char* kCreate = "CREATE TABLE IF NOT EXISTS attempts ("
                      " id INTEGER PRIMARY KEY,"
                      " player INTEGER NOT NULL,"
                      " time TEXT NOT NULL,"
                      " mode TEXT NOT NULL,"
                      " course INTEGER NOT NULL,"
                      " dataset TEXT NOT NULL,"
                      " problem INTEGER NOT NULL,"
                      " first_move INTEGER NOT NULL,"
                      " reached INTEGER NOT NULL,"
                      " best INTEGER NOT NULL,"
                      " correct INTEGER NOT NULL,"
                      " seconds INTEGER NOT NULL,"
                      " level INTEGER NOT NULL)";

QString ErrorText(const QSqlError& e) {
    return gHost->errorText(e.nativeErrorCode(), e.databaseText());
}

void Notice(const QString& text) {
    gHost->notice(text);
}

// One open database for the length of one operation; closed and removed
// when it goes out of scope, so the file is never held open.
class Session {
public:
    explicit Session(const QString& path) : path_(path) {
        {
            QSqlDatabase db =
                QSqlDatabase::contains(kConnection)
                    ? QSqlDatabase::database(kConnection, false)
                    : QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), kConnection);
            db.setDatabaseName(path_);
        }
        ok_ = openChecked(true);
    }
    ~Session() {
        {
            QSqlDatabase db = QSqlDatabase::database(kConnection, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(kConnection);
    }
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    bool ok() const { return ok_; }
    QString error() const { return error_; }
    QSqlDatabase db() const { return QSqlDatabase::database(kConnection, false); }

private:
    // Opens the file and checks that it is our database; a damaged or
    // foreign file is moved aside once and a new database started.
    bool openChecked(bool mayMoveAside) {
        QSqlDatabase d = db();
        if (!d.open()) {
            error_ = ErrorText(d.lastError());
            return false;
        }
        QString why;
        if (!isOurs(d, &why)) {
            d.close();
            if (!mayMoveAside || !moveAside(why)) return false;
            return openChecked(false);
        }
        return true;
    }

    bool isOurs(QSqlDatabase& d, QString* why) {
        QSqlQuery q(d);
        if (!q.exec(QStringLiteral("PRAGMA quick_check")) || !q.next() ||
            q.value(0).toString() != QStringLiteral("ok")) {
            *why = QStringLiteral("壊れていた");
            return false;
        }
        q.finish();
        if (!q.exec(QStringLiteral("PRAGMA application_id")) || !q.next()) {
            *why = QStringLiteral("壊れていた");
            return false;
        }
        const int id = q.value(0).toInt();
        q.finish();
        if (id == 0) {
            // A new file, or an SQLite file that is not ours.
            if (!q.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")) || !q.next()) {
                *why = QStringLiteral("壊れていた");
                return false;
            }
            if (q.value(0).toInt() != 0) {
                *why = QStringLiteral("この記録の形式ではなかった");
                return false;
            }
            q.finish();
            if (!q.exec(QString::fromLatin1(kCreate)) ||
                !q.exec(QStringLiteral("PRAGMA application_id = %1").arg(kApplicationId)) ||
                !q.exec(QStringLiteral("PRAGMA user_version = %1").arg(kSchemaVersion))) {
                error_ = ErrorText(q.lastError());
                *why = QString();
                return false;
            }
            return true;
        }
        if (id != kApplicationId) {
            *why = QStringLiteral("この記録の形式ではなかった");
            return false;
        }
        if (!q.exec(QStringLiteral("SELECT player, time, mode, course, dataset, problem, "
                                   "first_move, reached, best, correct, seconds, level "
                                   "FROM attempts LIMIT 0"))) {
            *why = QStringLiteral("この記録の形式ではなかった");
            return false;
        }
        return true;
    }

    bool moveAside(const QString& why) {
        if (why.isEmpty()) return false; // could not write a new one: a write failure
        const QString& path = path_;
        QString aside = path + QStringLiteral(".broken");
        for (int i = 1; QFileInfo::exists(aside) && i < 1000; ++i)
            aside = path + QStringLiteral(".broken%1").arg(i);
        if (!QFile::rename(path, aside)) {
            error_ = QStringLiteral("%1 を移せませんでした").arg(QFileInfo(path).fileName());
            return false;
        }
        Notice(QStringLiteral("成績の記録 %1 が%2ため、%3 に移して新しい記録を始めました。")
                   .arg(QFileInfo(path).fileName(), why, QFileInfo(aside).fileName()));
        return true;
    }

    QString path_;
    bool ok_ = false;
    QString error_;
};

QString ModeName(AttemptMode m) {
    return m == AttemptMode::Learn ? QStringLiteral("learn") : QStringLiteral("trial");
}

bool Record(const QString& path, const Attempt& a, QString* error) {
    Session s(path);
    QString why = s.error();
    if (s.ok()) {
        QSqlQuery q(s.db());
        q.prepare(QStringLiteral(
            "INSERT INTO attempts (player, time, mode, course, dataset, problem, first_move, "
            "reached, best, correct, seconds, level) VALUES (?,?,?,?,?,?,?,?,?,?,?,?)"));
        q.addBindValue(a.player);
        q.addBindValue(a.time.toString(Qt::ISODate));
        q.addBindValue(ModeName(a.mode));
        q.addBindValue(a.course);
        q.addBindValue(a.dataSet);
        q.addBindValue(a.problem);
        q.addBindValue(a.firstMove);
        q.addBindValue(a.reached);
        q.addBindValue(a.best);
        q.addBindValue(a.correct ? 1 : 0);
        q.addBindValue(a.seconds);
        q.addBindValue(a.level);
        if (q.exec()) return true;
        why = ErrorText(q.lastError());
    }
    *error = why;
    return false;
}

bool Attempts(const QString& path, int player, std::vector<Attempt>* out) {
    Session s(path);
    if (!s.ok()) return false;
    QSqlQuery q(s.db());
    q.prepare(QStringLiteral("SELECT player, time, mode, course, dataset, problem, first_move, "
                             "reached, best, correct, seconds, level FROM attempts "
                             "WHERE player = ? ORDER BY time, id"));
    q.addBindValue(player);
    if (!q.exec()) return false;
    while (q.next()) {
        Attempt a;
        a.player = q.value(0).toInt();
        a.time = QDateTime::fromString(q.value(1).toString(), Qt::ISODate);
        a.mode = q.value(2).toString() == QStringLiteral("learn") ? AttemptMode::Learn
                                                                  : AttemptMode::Trial;
        a.course = q.value(3).toInt();
        a.dataSet = q.value(4).toString();
        a.problem = q.value(5).toInt();
        a.firstMove = q.value(6).toInt();
        a.reached = q.value(7).toInt();
        a.best = q.value(8).toInt();
        a.correct = q.value(9).toInt() != 0;
        a.seconds = q.value(10).toInt();
        a.level = q.value(11).toInt();
        out->push_back(a);
    }
    return true;
}

bool DeletePlayer(const QString& path, int index, QString* error) {
    Session s(path);
    if (!s.ok()) {
        *error = s.error();
        return false;
    }
    QSqlDatabase d = s.db();
    QSqlQuery q(d);
    d.transaction();
    q.prepare(QStringLiteral("DELETE FROM attempts WHERE player = ?"));
    q.addBindValue(index);
    bool ok = q.exec();
    if (ok) {
        q.prepare(QStringLiteral("UPDATE attempts SET player = player - 1 WHERE player > ?"));
        q.addBindValue(index);
        ok = q.exec();
    }
    if (ok) ok = d.commit();
    if (!ok) {
        *error = ErrorText(q.lastError());
        d.rollback();
    }
    return ok;
}

const HistoryDb kDb{kHistoryDbVersion, Record, Attempts, DeletePlayer};

} // namespace

extern "C" __attribute__((visibility("default"))) const HistoryDb*
velmora_historydb(const HistoryHost* host) {
    if (!host || !host->errorText || !host->notice) return nullptr;
    gHost = host;
    return &kDb;
}

#include "history.h"

#include "historydb.h"
#include "library/files.h"
#include "library/modules.h"
#include "library/writefolder.h"

#include <QFileInfo>

#include <cerrno>

namespace {

QString gRedirect;
QStringList gNotices;
bool gFailureReported = false;
bool gMissingReported = false;

void Notice(const QString& text) {
    if (!gNotices.contains(text)) gNotices << text;
}

const HistoryHost kHost{HistoryErrorText, Notice};

// The database module, loaded with the first attempt written or read; null
// with the reason in `why` when it cannot be used.
const HistoryDb* Database(QString* why) {
    static QString folder; // the module folder it was loaded from
    static const HistoryDb* db = nullptr;
    static QString error;
    if (!db || folder != ModuleFolder()) {
        folder = ModuleFolder();
        db = nullptr;
        const auto entry = reinterpret_cast<HistoryDbEntry>(
            ModuleEntry(kHistoryModuleName, kHistoryModuleEntry, &error));
        if (entry) {
            db = entry(&kHost);
            if (!db || db->version != kHistoryDbVersion) {
                db = nullptr;
                error = QStringLiteral("%1 はこのプログラムと版が合いません")
                            .arg(QFileInfo(ModuleFilePath(kHistoryModuleName)).fileName());
            }
        }
    }
    if (!db && why) *why = error;
    return db;
}

QString MissingModuleText(const QString& why) {
    return QStringLiteral("成績の記録を扱う部品を読み込めません。インストールを確かめてください。"
                          "練習はこのまま続けられます。\n") +
           why;
}

void ReportFailure(const QString& error) {
    if (gFailureReported) return;
    gFailureReported = true;
    Notice(QStringLiteral("成績の記録 %1 に書き込めませんでした。練習はこのまま続けられます。\n%2")
               .arg(QFileInfo(HistoryDatabasePath()).fileName(), error));
}

} // namespace

QString HistoryErrorText(const QString& nativeCode, const QString& databaseText) {
    bool numeric = false;
    const int code = nativeCode.toInt(&numeric) & 0xff; // the primary code of an extended one
    if (numeric) {
        switch (code) {
        case 13: // SQLITE_FULL
            return WriteErrorReason(ENOSPC);
        case 3: // SQLITE_PERM
        case 8: // SQLITE_READONLY
            return WriteErrorReason(EACCES);
        case 5: // SQLITE_BUSY
        case 6: // SQLITE_LOCKED
            return QStringLiteral("ほかのプログラムが使用中です");
        case 11: // SQLITE_CORRUPT
        case 26: // SQLITE_NOTADB
            return QStringLiteral("ファイルが壊れています");
        case 14: // SQLITE_CANTOPEN
            return QStringLiteral("ファイルを開けません");
        default:
            break;
        }
    }
    return databaseText.isEmpty() ? QStringLiteral("原因不明のエラー") : databaseText;
}

QString HistoryDatabasePath() {
    return gRedirect.isEmpty() ? WriteFolderFile(kHistoryFileName) : gRedirect;
}

void SetHistoryDatabasePath(const QString& path) {
    gRedirect = path;
}

bool HistoryAvailable(QString* why) {
    return Database(why) != nullptr;
}

bool RecordAttempt(const Attempt& a, QString* error) {
    QString why;
    const HistoryDb* db = Database(&why);
    if (db) {
        if (db->record(HistoryDatabasePath(), a, &why)) return true;
        ReportFailure(why);
    } else if (!gMissingReported) {
        gMissingReported = true;
        gFailureReported = true; // one notice says it all
        Notice(MissingModuleText(why));
    }
    if (error) *error = why;
    return false;
}

std::vector<Attempt> AttemptsOf(int player) {
    std::vector<Attempt> out;
    if (!QFileInfo::exists(HistoryDatabasePath())) return out;
    QString why;
    const HistoryDb* db = Database(&why);
    if (!db) {
        if (!gMissingReported) {
            gMissingReported = true;
            Notice(MissingModuleText(why));
        }
        return out;
    }
    if (!db->attempts(HistoryDatabasePath(), player, &out)) out.clear();
    return out;
}

bool DeletePlayerHistory(int index, QString* error) {
    if (!QFileInfo::exists(HistoryDatabasePath())) return true;
    QString why;
    const HistoryDb* db = Database(&why);
    if (db && db->deletePlayer(HistoryDatabasePath(), index, &why)) return true;
    if (error) *error = why;
    return false;
}

QStringList TakeHistoryNotices() {
    QStringList n = gNotices;
    gNotices.clear();
    return n;
}

void ResetHistoryReports() {
    gFailureReported = false;
    gMissingReported = false;
    gNotices.clear();
}

std::map<int, ProblemMark> ProblemMarks(int player, const QString& dataSet) {
    std::map<int, ProblemMark> marks;
    for (const Attempt& a : AttemptsOf(player)) {
        if (a.dataSet != dataSet) continue;
        marks[a.problem] = a.correct ? ProblemMark::Solved : ProblemMark::FailedLast;
    }
    return marks;
}

#include "platform/instance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLockFile>
#include <QStandardPaths>
#include <memory>

namespace {

std::unique_ptr<QLockFile>& Held() {
    static std::unique_ptr<QLockFile> lock;
    return lock;
}

enum class Outcome { Taken, Busy, Unusable };

Outcome TryLock(const QString& path) {
    auto lock = std::make_unique<QLockFile>(path);
    // Staleness only by a dead owner: a copy that runs for hours keeps its lock.
    lock->setStaleLockTime(0);
    if (lock->tryLock(0)) {
        Held() = std::move(lock);
        return Outcome::Taken;
    }
    return lock->error() == QLockFile::LockFailedError ? Outcome::Busy : Outcome::Unusable;
}

} // namespace

bool AcquireInstanceLock(const QString& folder) {
    if (Held()) return true;
    const QString dir = QDir(folder).absolutePath();
    switch (TryLock(dir + QLatin1Char('/') + QLatin1String(kInstanceLockName))) {
    case Outcome::Taken:
        return true;
    case Outcome::Busy:
        return false;
    case Outcome::Unusable:
        break;
    }
    // A read-only program folder: fall back to a per-user lock for this folder.
    QString base = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (base.isEmpty()) base = QDir::tempPath();
    const QByteArray key =
        QCryptographicHash::hash(dir.toUtf8(), QCryptographicHash::Sha1).toHex().left(16);
    switch (TryLock(base + QStringLiteral("/velmora-") + QString::fromLatin1(key) +
                    QStringLiteral(".lock"))) {
    case Outcome::Busy:
        return false;
    case Outcome::Taken:
    case Outcome::Unusable:
        return true; // no place for a lock at all: do not refuse to run
    }
    return true;
}

void ReleaseInstanceLock() {
    if (Held()) {
        Held()->unlock();
        Held().reset();
    }
}

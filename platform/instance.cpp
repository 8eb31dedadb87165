#include "platform/instance.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QSysInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The held lock: an open descriptor with flock on it, which the kernel gives
// back when the process ends in any way.
struct HeldLock {
    int fd = -1;
    QByteArray path;
};

HeldLock& Held() {
    static HeldLock lock;
    return lock;
}

enum class Outcome { Taken, Busy, Unusable };

// An entry that cannot be opened as a lock file (unreadable, a folder…) and
// older than this is left over from something long gone.
constexpr qint64 kStaleUnusableSecs = 60;

bool RemoveEntry(const QByteArray& path) {
    struct stat st {};
    if (::lstat(path.constData(), &st) != 0) return errno == ENOENT;
    if (S_ISDIR(st.st_mode)) return ::rmdir(path.constData()) == 0;
    return ::unlink(path.constData()) == 0;
}

Outcome TryLock(const QByteArray& path) {
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (fd < 0) {
            struct stat st {};
            if (::lstat(path.constData(), &st) != 0) return Outcome::Unusable; // cannot create
            const qint64 age = QDateTime::currentSecsSinceEpoch() - qint64(st.st_mtime);
            if (age <= kStaleUnusableSecs) return Outcome::Busy;
            if (!RemoveEntry(path)) return Outcome::Unusable;
            continue;
        }
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            const int err = errno;
            ::close(fd);
            return err == EWOULDBLOCK ? Outcome::Busy : Outcome::Unusable;
        }
        // The file may have been removed by a copy that was just ending;
        // then our lock is on a file nobody else will see: start again.
        struct stat held {};
        struct stat now {};
        if (::fstat(fd, &held) != 0 || ::stat(path.constData(), &now) != 0 ||
            held.st_ino != now.st_ino || held.st_dev != now.st_dev) {
            ::close(fd);
            continue;
        }
        // For people looking at the folder: who holds it.
        const QByteArray info = QByteArray::number(QCoreApplication::applicationPid()) + '\n' +
                                QCoreApplication::applicationName().toUtf8() + '\n' +
                                QSysInfo::machineHostName().toUtf8() + '\n';
        if (::ftruncate(fd, 0) == 0) {
            [[maybe_unused]] const ssize_t n = ::write(fd, info.constData(), size_t(info.size()));
        }
        Held() = HeldLock{fd, path};
        return Outcome::Taken;
    }
    return Outcome::Unusable;
}

} // namespace

bool AcquireInstanceLock(const QString& folder) {
    if (Held().fd >= 0) return true;
    const QString dir = QDir(folder).absolutePath();
    switch (TryLock(QFile::encodeName(dir + QLatin1Char('/') + QLatin1String(kInstanceLockName)))) {
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
    switch (TryLock(QFile::encodeName(base + QStringLiteral("/velmora-") +
                                      QString::fromLatin1(key) + QStringLiteral(".lock")))) {
    case Outcome::Busy:
        return false;
    case Outcome::Taken:
    case Outcome::Unusable:
        return true; // no place for a lock at all: do not refuse to run
    }
    return true;
}

void ReleaseInstanceLock() {
    HeldLock& held = Held();
    if (held.fd < 0) return;
    // Remove the file while still holding it, so that no copy starting now
    // locks a file that is about to go.
    ::unlink(held.path.constData());
    ::close(held.fd);
    held = HeldLock{};
}

// A program killed while it saves never leaves a torn or missing file: a
// child process saves the player file in a loop, switching between three
// records, and is killed with SIGKILL at a random moment, 200 times. After
// each kill the file is one of the records, whole; the temporary files the
// kills leave are what the start-up clean-up removes.
#include "library/files.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <csignal>
#include <cstdio>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QByteArray Record(int k) {
    // Different lengths and bytes, so that any mix of two is told apart.
    const int sizes[] = {12248, 12248, 5000};
    return QByteArray(sizes[k], char('a' + k));
}

[[noreturn]] void SaveForever(const QString& path) {
    for (int k = 1;; k = (k + 1) % 3)
        WriteFileAtomic(path, Record(k));
}

} // namespace

int main() {
    constexpr int kKills = 200;
    QTemporaryDir dir;
    if (!dir.isValid()) return 1;
    const QString path = dir.filePath(QStringLiteral("vm2.ps0"));
    if (!WriteFileAtomic(path, Record(0))) return 1;

    std::mt19937 random(20261207);
    std::uniform_int_distribution<int> delayUs(0, 20000);
    int torn = 0;
    int changed = 0;
    int killedMidWrite = 0;
    QByteArray last = Record(0);
    for (int i = 0; i < kKills; ++i) {
        const pid_t child = ::fork();
        if (child < 0) return 1;
        if (child == 0) SaveForever(path);
        ::usleep(useconds_t(delayUs(random)));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);

        QFile f(path);
        const QByteArray now = f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        if (now != Record(0) && now != Record(1) && now != Record(2)) {
            std::fprintf(stderr, "FAIL: after kill %d the file holds %lld bytes, not a record\n",
                         i + 1, static_cast<long long>(now.size()));
            ++torn;
        }
        if (now != last) ++changed;
        last = now;
        killedMidWrite += RemoveStaleTempFiles(dir.path());
    }
    const QStringList left = QDir(dir.path()).entryList(QDir::Files);
    std::printf("%d kills: the file changed %d times, %d kills cut a write short, %d torn\n",
                kKills, changed, killedMidWrite, torn);
    if (left != QStringList{QStringLiteral("vm2.ps0")}) {
        std::fprintf(stderr, "FAIL: left in the folder: %s\n", qPrintable(left.join(' ')));
        return 1;
    }
    // A run in which no save ever finished would prove nothing.
    if (changed < 10) {
        std::fprintf(stderr, "FAIL: the child saved too rarely (%d changes)\n", changed);
        return 1;
    }
    return torn == 0 ? 0 : 1;
}

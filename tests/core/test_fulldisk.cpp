// A real full disk: a 256 KiB tmpfs, filled up, then the player file, the
// roster and a high-score table are saved. Each save must fail, say so and
// leave the old file whole. Needs root to mount; otherwise skipped (77).
#include "library/files.h"
#include "library/player.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <sys/mount.h>
#include <unistd.h>

namespace {

constexpr int kSkip = 77;
int failures = 0;

void Check(bool ok, const char* what) {
    if (!ok) {
        std::fprintf(stderr, "FAIL: %s\n", what);
        ++failures;
    }
}

QByteArray ReadFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// Writes until the file system refuses another byte.
void FillUp(const QString& path) {
    QFile filler(path);
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return;
    const QByteArray block(4096, 'f');
    while (filler.write(block) == block.size()) {
    }
    while (filler.write("f", 1) == 1) {
    }
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (::geteuid() != 0) {
        std::printf("SKIP: mounting a small file system needs root\n");
        return kSkip;
    }
    QTemporaryDir dir;
    const QByteArray mountPoint = QFile::encodeName(dir.path());
    if (::mount("tmpfs", mountPoint.constData(), "tmpfs", 0, "size=256k") != 0) {
        std::printf("SKIP: cannot mount a tmpfs here\n");
        return kSkip;
    }
    gDataPath = MakeDataPath(dir.path());

    // The files as a player has them.
    PlayerRecord r;
    r.ThinkTime = 120;
    r.Stat[3].Asked = 1;
    gPlayerRecord = r;
    Check(SavePlayerFile(0), "first save of the player file");
    gPlayerCount = 1;
    gPlayerName[0] = QStringLiteral("A");
    gCurPlayer = 0;
    Check(WriteRoster(), "first save of the roster");
    Check(WriteFileAtomic(gDataPath + QStringLiteral("abc.hsc"), QByteArray(600, 's')),
          "first save of the high scores");
    const QByteArray player = ReadFile(gDataPath + QStringLiteral("vm2.ps0"));
    const QByteArray roster = ReadFile(gDataPath + QStringLiteral("vm2.ply"));
    const QByteArray scores = ReadFile(gDataPath + QStringLiteral("abc.hsc"));
    Check(player.size() == kPlayerFileSize, "the player file is whole");

    FillUp(gDataPath + QStringLiteral("filler"));

    // The disk is full: every save fails, is reported and changes nothing.
    gPlayerRecord.Stat[4].Asked = 1;
    gPlayerRecord.Stat[4].Correct = 1;
    QString error;
    Check(!SavePlayerFile(0, &error), "saving the player file on a full disk fails");
    Check(error.contains(QStringLiteral("vm2.ps0")), "the failure names the player file");
    Check(error.contains(QStringLiteral("空き")), "the failure says the disk is full");
    gPlayerName[0] = QStringLiteral("LONGERNAME");
    error.clear();
    Check(!WriteRoster(&error), "writing the roster on a full disk fails");
    Check(error.contains(QStringLiteral("vm2.ply")), "the failure names the roster");
    error.clear();
    Check(!WriteFileAtomic(gDataPath + QStringLiteral("abc.hsc"), QByteArray(900, 't'), &error),
          "writing the high scores on a full disk fails");
    Check(ReadFile(gDataPath + QStringLiteral("vm2.ps0")) == player, "player file unchanged");
    Check(ReadFile(gDataPath + QStringLiteral("vm2.ply")) == roster, "roster unchanged");
    Check(ReadFile(gDataPath + QStringLiteral("abc.hsc")) == scores, "high scores unchanged");
    const QStringList left = QDir(dir.path()).entryList(QDir::Files);
    Check(left.size() == 4, "no temporary file is left on the full disk");

    // With room again the same save goes through.
    QFile::remove(gDataPath + QStringLiteral("filler"));
    Check(SavePlayerFile(0), "saving with room again");
    Check(ReadFile(gDataPath + QStringLiteral("vm2.ps0")) != player, "the new record is saved");

    ::umount(mountPoint.constData());
    if (failures == 0) std::printf("PASS: full disk\n");
    return failures == 0 ? 0 : 1;
}

// libFuzzer entry point (built with -DVELMORA_FUZZ=ON and clang): a player file
// "vm2.ps0" read as every window reads the current player's record, and the
// record's image written back.
#include "library/files.h"
#include "library/player.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir dir;
    if (!dir.isValid()) return 0;
    gDataPath = MakeDataPath(dir.path());
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    {
        QFile f(dir.filePath(PlayerFileName(0)));
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return 0;
        f.write(bytes);
    }
    QString error;
    if (LoadPlayerFile(0, &error)) {
        if (PlayerRecordToBytes(gPlayerRecord).size() != kPlayerFileSize) std::abort();
    }
    const PlayerRecord r = PlayerRecordFromBytes(bytes);
    if (PlayerRecordToBytes(r).size() != kPlayerFileSize) std::abort();
    (void)ToWideDigits(QString::number(r.ThinkTime));
    return 0;
}

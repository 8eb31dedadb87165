// libFuzzer entry point (built with -DVELMORA_FUZZ=ON and clang): the roster
// file "vm2.ply" read at start-up and whenever the menu refreshes, and the
// roster written back from what was read.
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
        QFile f(dir.filePath(QStringLiteral("vm2.ply")));
        if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return 0;
        f.write(bytes);
    }
    gCurPlayer = 0;
    ReadRoster();
    if (gPlayerCount < 0 || gPlayerCount > kMaxPlayers) std::abort();
    if (gPlayerCount > 0 && (gCurPlayer < 0 || gCurPlayer >= gPlayerCount)) std::abort();

    Roster roster;
    ParseRoster(bytes, roster);
    Roster again;
    ParseRoster(FormatRoster(roster), again);
    return 0;
}

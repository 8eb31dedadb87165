// libFuzzer entry point (built with -DVELMORA_FUZZ=ON and clang): the comment
// lists "s1.txt" and "s2.txt" read when the menu loads. The input is split at
// its first NUL byte into the two files.
#include "library/files.h"
#include "library/player.h"

#include <QFile>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

bool Write(const QTemporaryDir& dir, const char* name, const QByteArray& bytes) {
    QFile f(dir.filePath(QString::fromLatin1(name)));
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    return f.write(bytes) == bytes.size();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir dir;
    if (!dir.isValid()) return 0;
    gDataPath = MakeDataPath(dir.path());
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const qsizetype cut = bytes.indexOf('\0');
    const QByteArray s1 = cut < 0 ? bytes : bytes.left(cut);
    const QByteArray s2 = cut < 0 ? QByteArray() : bytes.mid(cut + 1);
    if (!Write(dir, "s1.txt", s1) || !Write(dir, "s2.txt", s2)) return 0;

    QString error;
    if (ReadCommentLists(&error)) {
        if (gCommentCount < 0 || gCommentCount > kMaxComments) std::abort();
        for (int course : {4, 5})
            for (int n : {-1, 0, 1, 249})
                (void)ProbComment(course, n);
    }
    bool ok = true;
    (void)ParseCommentFields(DecodeSjis(s1, &ok));
    return 0;
}

// libFuzzer entry point (built with -DVELMORA_FUZZ=ON and clang): a data set's
// index and block files read as a window loads a problem. The input is the
// ".dr" length (two bytes, little-endian), the ".dr" bytes and the ".dt" bytes.
#include "library/files.h"
#include "library/problem.h"

#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstddef>
#include <cstdint>

namespace {

void Write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate)) f.write(bytes);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static QTemporaryDir dir;
    if (size < 2 || !dir.isValid()) return 0;
    const size_t drLength = std::min<size_t>(size - 2, data[0] | (data[1] << 8));
    const QByteArray dr(reinterpret_cast<const char*>(data + 2), qsizetype(drLength));
    const QByteArray dt(reinterpret_cast<const char*>(data + 2 + drLength),
                        qsizetype(size - 2 - drLength));
    Write(dir.filePath(QStringLiteral("fz.dr")), dr);
    Write(dir.filePath(QStringLiteral("fz.dt")), dt);

    QString error;
    const int count = CheckIndex(dr, dt.size(), &error);
    const int problems = int(dr.size() / 4);
    Problem p;
    for (int n : {-1, 0, 1, problems - 1, problems, count, 2047})
        (void)LoadProblemFromSet(QStringLiteral("fz"), n, p, &error, dir.path());
    for (int n = 2; n < std::min(problems, 34); ++n)
        (void)LoadProblemFromSet(QStringLiteral("fz"), n, p, &error, dir.path());
    return 0;
}

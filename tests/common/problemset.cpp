#include "tests/common/problemset.h"

#include "library/courses.h"
#include "library/files.h"
#include "library/player.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>

TreeBuilder::TreeBuilder(int viewSize) {
    p_.ViewSize = int16_t(viewSize);
}

TreeBuilder& TreeBuilder::black(std::initializer_list<std::pair<int, int>> points) {
    for (auto [x, y] : points)
        p_.gInitBoard[size_t(x + 19 * y)] = kBlack;
    return *this;
}

TreeBuilder& TreeBuilder::white(std::initializer_list<std::pair<int, int>> points) {
    for (auto [x, y] : points)
        p_.gInitBoard[size_t(x + 19 * y)] = kWhite;
    return *this;
}

TreeBuilder& TreeBuilder::purpose(int aim) {
    p_.ProbPurpose = int16_t(aim);
    return *this;
}

TreeBuilder& TreeBuilder::difficulty(int level) {
    p_.Difficulty = int16_t(level);
    return *this;
}

int TreeBuilder::node(int prev, int x, int y, int code, int best, int repl) {
    const int n = p_.hands;
    p_.prev[size_t(n)] = int16_t(prev);
    p_.x[size_t(n)] = uint8_t(x);
    p_.y[size_t(n)] = uint8_t(y);
    p_.code[size_t(n)] = uint8_t(code);
    p_.best[size_t(n)] = uint8_t(best);
    p_.repl[size_t(n)] = uint8_t(repl);
    p_.hands = int16_t(n + 1);
    return n;
}

int TreeBuilder::line(int prev, std::initializer_list<std::pair<int, int>> moves, int code,
                      int repl) {
    int last = prev;
    size_t i = 0;
    for (auto [x, y] : moves) {
        const bool end = ++i == moves.size();
        last = node(last, x, y, end ? code : 0, 0, end ? repl : 0);
    }
    return last;
}

bool WriteSetFiles(const QString& folder, const QString& base,
                   const std::vector<Problem>& problems) {
    QDir().mkpath(folder);
    QByteArray dt;
    QByteArray dr;
    for (const Problem& p : problems) {
        dt += EncodeProblem(p);
        const quint32 end = quint32(dt.size());
        for (int b = 0; b < 4; ++b)
            dr.append(char((end >> (8 * b)) & 0xFF));
    }
    QFile fdr(folder + QLatin1Char('/') + base + QStringLiteral(".dr"));
    QFile fdt(folder + QLatin1Char('/') + base + QStringLiteral(".dt"));
    if (!fdr.open(QIODevice::WriteOnly) || !fdt.open(QIODevice::WriteOnly)) return false;
    return fdr.write(dr) == dr.size() && fdt.write(dt) == dt.size();
}

bool WriteProblemSet(const QString& folder, const std::vector<Problem>& problems) {
    if (!WriteSetFiles(folder, QStringLiteral("abc"), problems)) return false;
    gDataPath = MakeDataPath(folder);
    InitCoursesWithCounts(int16_t(problems.size()), 0, 0);
    return true;
}

namespace {

bool SavePlain(const QString& folder, const char* name, int w, int h, const QColor& fill) {
    QImage img(w, h, QImage::Format_RGB32);
    img.fill(fill);
    return img.save(folder + QLatin1Char('/') + QString::fromLatin1(name), "BMP");
}

} // namespace

bool WriteBoardPictures(const QString& folder) {
    if (!SavePlain(folder, "board.bmp", 400, 400, QColor(220, 180, 110))) return false;
    for (const char* back : {"marble.bmp", "kaede.bmp"})
        if (!SavePlain(folder, back, 640, 480, QColor(200, 200, 190))) return false;
    const int sizes[] = {29, 20, 11, 9};
    for (int i = 0; i < 16; ++i) {
        const int s = sizes[i / 4];
        const bool white = (i & 2) != 0;
        const bool mask = (i & 1) != 0;
        QImage tile(s, s, QImage::Format_RGB32);
        tile.fill(mask ? Qt::white : Qt::black);
        QPainter p(&tile);
        p.setPen(Qt::NoPen);
        p.setBrush(mask ? QColor(Qt::black) : (white ? QColor(Qt::white) : QColor(40, 40, 40)));
        p.drawEllipse(QRectF(0.5, 0.5, s - 1, s - 1));
        p.end();
        if (!tile.save(folder + QLatin1Char('/') + StoneBitmapName(i), "BMP")) return false;
    }
    for (const char* name : {"quest000.bmp", "quest001.bmp", "1Prev000.bmp", "1Prev002.bmp",
                             "ToRoo000.bmp", "ToRoo002.bmp"})
        if (!SavePlain(folder, name, 37, 25, QColor(100, 100, 160))) return false;
    return true;
}

bool WriteSoundStubs(const QString& folder, std::initializer_list<const char*> names) {
    for (const char* name : names) {
        QFile wav(folder + QLatin1Char('/') + QString::fromLatin1(name) + QStringLiteral(".wav"));
        if (!wav.open(QIODevice::WriteOnly)) return false;
        if (wav.write(QByteArray("RIFF\0\0\0\0WAVE", 12)) != 12) return false;
    }
    return true;
}

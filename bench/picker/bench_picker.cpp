// How long the problem picker takes to show a page: twelve problems read
// from the data files and twelve thumbnails drawn, with and without the
// repaint that puts them on the screen.
#include "board/boardview.h"
#include "library/courses.h"
#include "library/files.h"
#include "library/player.h"
#include "library/problem.h"
#include "library/session.h"
#include "selection/picker/frmselqrep.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <memory>

using namespace picker;

namespace {

// A problem of the size of our larger shipped ones: about forty stones and a
// tree of 400 nodes.
Problem BenchProblem(quint32 seed) {
    QRandomGenerator rng(seed);
    Problem p;
    p.ViewSize = 11;
    p.Difficulty = static_cast<int16_t>(10 * (1 + seed % 3));
    p.ProbPurpose = 2;
    for (int i = 0; i < 40; ++i) {
        const int x = static_cast<int>(rng.bounded(11));
        const int y = static_cast<int>(rng.bounded(11));
        p.gInitBoard[static_cast<size_t>(x + 19 * y)] = static_cast<int16_t>(1 + i % 2);
    }
    for (int n = 0; n < 400; ++n) {
        const size_t i = static_cast<size_t>(n);
        p.prev[i] = n == 0 ? kRoot : static_cast<int16_t>(rng.bounded(n));
        p.x[i] = static_cast<uint8_t>(12 + rng.bounded(7));
        p.y[i] = static_cast<uint8_t>(rng.bounded(19));
        p.code[i] = 5;
    }
    p.hands = 400;
    return p;
}

void Save(const QImage& img, const QString& folder, const QString& name) {
    img.save(folder + QLatin1Char('/') + name, "BMP");
}

// A program folder with 120 problems in "abc" and the board pictures.
void WriteFolder(const QString& folder) {
    QByteArray dt;
    QByteArray dr;
    for (quint32 k = 0; k < 120; ++k) {
        dt += EncodeProblem(BenchProblem(k));
        const quint32 end = static_cast<quint32>(dt.size());
        for (int b = 0; b < 4; ++b)
            dr.append(static_cast<char>((end >> (8 * b)) & 0xFF));
    }
    for (const char* base : {"abc", "s1", "s2"}) {
        QFile fdt(folder + QLatin1Char('/') + QLatin1String(base) + QStringLiteral(".dt"));
        QFile fdr(folder + QLatin1Char('/') + QLatin1String(base) + QStringLiteral(".dr"));
        if (fdt.open(QIODevice::WriteOnly)) fdt.write(dt);
        if (fdr.open(QIODevice::WriteOnly)) fdr.write(dr);
    }
    QImage board(400, 400, QImage::Format_RGB32);
    board.fill(QColor(220, 180, 100));
    Save(board, folder, QStringLiteral("board.bmp"));
    const int sizes[4] = {29, 20, 11, 9};
    for (int i = 0; i < 16; ++i) {
        const int s = sizes[i / 4];
        QImage tile(s, s, QImage::Format_RGB32);
        tile.fill(i % 2 ? Qt::white : Qt::black);
        QPainter pt(&tile);
        pt.setBrush(i % 2 ? QColor(Qt::black) : QColor(Qt::white));
        pt.drawEllipse(0, 0, s - 1, s - 1);
        pt.end();
        Save(tile, folder, StoneBitmapName(i));
    }
}

struct BenchFolder {
    QTemporaryDir dir;
    BenchFolder() {
        WriteFolder(dir.path());
        gDataPath = MakeDataPath(dir.path());
        InitCourses();
        gPlayerRecord = PlayerRecord{};
        gMode = 2;
    }
};

BenchFolder& Folder() {
    static BenchFolder folder;
    return folder;
}

void BM_LoadTwelveProblems(benchmark::State& state) {
    Folder();
    int page = 0;
    Problem problem;
    for (auto _ : state) {
        for (int k = 0; k < 12; ++k)
            benchmark::DoNotOptimize(LoadProblem(0, page * 12 + k, problem));
        page = (page + 1) % 10;
    }
}
BENCHMARK(BM_LoadTwelveProblems)->Unit(benchmark::kMicrosecond);

void BM_DrawPage(benchmark::State& state) {
    Folder();
    const bool paint = state.range(0) != 0;
    auto w = std::make_unique<frmSelQRep>();
    w->show();
    for (auto _ : state) {
        w->PageNo = (w->PageNo + 1) % w->PageCount;
        w->DrawPage();
        if (paint) w->repaint();
    }
    w.reset(); // deleted without closing: nothing is remembered
}
BENCHMARK(BM_DrawPage)->Arg(0)->Arg(1)->ArgNames({"paint"})->Unit(benchmark::kMillisecond);

void BM_OpenPicker(benchmark::State& state) {
    Folder();
    for (auto _ : state) {
        frmSource::Unload(); // the window reads the board pictures again
        auto w = std::make_unique<frmSelQRep>();
        w->show();
        w->repaint();
    }
}
BENCHMARK(BM_OpenPicker)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

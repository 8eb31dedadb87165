// Full redraws of the board surface: every change of the shown position
// redraws everything, so this is the cost of one move on screen.
#include "board/boardview.h"
#include "library/files.h"
#include "library/player.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

void WritePictures(const QString& folder) {
    QImage board(389, 389, QImage::Format_RGB32);
    board.fill(qRgb(214, 174, 110));
    board.save(QDir(folder).filePath(QStringLiteral("board.bmp")), "BMP");
    for (int i = 0; i < 16; ++i) {
        const int edge = QStringView(StoneBitmapName(i)).mid(2, 2).toInt();
        QImage tile(edge, edge, QImage::Format_RGB32);
        tile.fill((i & 1) ? qRgb(0, 0, 0) : qRgb(40, 40, 40));
        tile.save(QDir(folder).filePath(StoneBitmapName(i)), "BMP");
    }
}

// A position with `stones` stones spread over the shown corner.
Board Position(int lines, int stones) {
    Board b{};
    for (int k = 0; k < stones; ++k) {
        const int x = (k * 7) % lines;
        const int y = (k * 3 + k / lines) % lines;
        b[size_t(y * kBoardSize + x)] = int16_t(1 + k % 2);
    }
    return b;
}

void BM_DrawBoard(benchmark::State& state) {
    const int lines = int(state.range(0));
    const int stones = int(state.range(1));
    BoardView view(BoardStyle{});
    view.resize(385, 385);
    view.InitBoardMetrics(lines);
    const Board b = Position(lines, stones);
    for (auto _ : state) {
        view.DrawBoard(b);
        benchmark::DoNotOptimize(view.image().constBits());
    }
}
BENCHMARK(BM_DrawBoard)->Args({19, 0})->Args({19, 40})->Args({13, 40})->Args({9, 30});

void BM_Thumbnail(benchmark::State& state) {
    BoardStyle style;
    style.thumbnail = true;
    style.tileOffset = 0;
    style.border = 1;
    BoardView view(style);
    view.resize(102, 102);
    view.InitBoardMetrics(9);
    const Board b = Position(9, 20);
    for (auto _ : state) {
        view.DrawBoard(b);
        benchmark::DoNotOptimize(view.image().constBits());
    }
}
BENCHMARK(BM_Thumbnail);

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    WritePictures(dir.path());
    gDataPath = MakeDataPath(dir.path());
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

// The next problem on screen: from a press on 次問 in the learn and view
// windows until the window has been repainted (grab() renders every control
// of it), on the shipped problems and on a set of 1000-node trees; and the
// parts of it: loading and solving the problem, drawing the board surface,
// repainting the window.
#include "board/boardview.h"
#include "library/courses.h"
#include "library/files.h"
#include "library/player.h"
#include "library/problem.h"
#include "library/session.h"
#include "modes/learn/frmlearn.h"
#include "modes/view/frmview.h"
#include "platform/recordingplatform.h"
#include "rules/outcome.h"
#include "rules/rules.h"
#include "shell/appinit.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPixmap>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

// A problem of the largest allowed tree: 1000 nodes spread over the corner.
Problem BigProblem(quint32 seed) {
    QRandomGenerator rng(seed);
    Problem p;
    p.ViewSize = 19;
    p.Difficulty = 10;
    p.ProbPurpose = 2;
    for (int i = 0; i < 40; ++i) {
        const int x = int(rng.bounded(10));
        const int y = int(rng.bounded(10));
        p.gInitBoard[size_t(x + 19 * y)] = int16_t(1 + i % 2);
    }
    for (int n = 0; n < kMaxNodes; ++n) {
        const auto i = size_t(n);
        p.prev[i] = n < 8 ? kRoot : int16_t(rng.bounded(n));
        p.x[i] = uint8_t(10 + rng.bounded(9));
        p.y[i] = uint8_t(rng.bounded(19));
        p.code[i] = int16_t(n % 3 == 0 ? 50 : 5); // every leaf a class of the table
    }
    p.hands = int16_t(kMaxNodes);
    return p;
}

bool WriteBigSet(const QString& folder) {
    QByteArray dt;
    QByteArray dr;
    for (quint32 k = 0; k < 8; ++k) {
        dt += EncodeProblem(BigProblem(k));
        const auto end = quint32(dt.size());
        for (int b = 0; b < 4; ++b)
            dr.append(char((end >> (8 * b)) & 0xFF));
    }
    QFile fdt(folder + QStringLiteral("/abc.dt"));
    QFile fdr(folder + QStringLiteral("/abc.dr"));
    return fdt.open(QIODevice::WriteOnly) && fdt.write(dt) == dt.size() &&
           fdr.open(QIODevice::WriteOnly) && fdr.write(dr) == dr.size();
}

// Two program folders: a copy of the shipped one, and the same with the
// "abc" set replaced by 1000-node trees.
struct Folders {
    QTemporaryDir shipped;
    QTemporaryDir big;
    Folders() {
        for (const QTemporaryDir* d : {&shipped, &big}) {
            const QDir dist(QStringLiteral(VELMORA_DIST_DIR));
            for (const QString& f : dist.entryList(QDir::Files))
                if (!f.startsWith(QLatin1String("vm2.ps")) || f == QLatin1String("vm2.psn"))
                    QFile::copy(dist.filePath(f), QDir(d->path()).filePath(f));
        }
        WriteBigSet(big.path());
    }
};

Folders& TheFolders() {
    static Folders folders;
    return folders;
}

void Use(bool big) {
    gDataPath = MakeDataPath(big ? TheFolders().big.path() : TheFolders().shipped.path());
    InitCourses();
    InitOutcomeTable();
    ReadCommentLists();
    gPlayerRecord = PlayerRecord{};
    gPlayerRecord.SoundEffect = 1;
    gCourse = 0;
    gProbNo = 0;
}

template <typename Window> void NextProblem(benchmark::State& state, int mode) {
    Use(state.range(0) != 0);
    const bool paint = state.range(1) != 0;
    gMode = int16_t(mode);
    auto w = std::make_unique<Window>();
    w->show();
    QPixmap shown = w->grab();
    for (auto _ : state) {
        w->cmdNextProb->click();
        if (paint) shown = w->grab();
        benchmark::DoNotOptimize(shown);
    }
    w->hide();
    w.reset(); // deleted without closing: nothing is remembered
}

void BM_LearnNext(benchmark::State& state) {
    NextProblem<frmLearn>(state, 2);
}
BENCHMARK(BM_LearnNext)
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->ArgNames({"big", "paint"})
    ->Unit(benchmark::kMicrosecond);

void BM_ViewNext(benchmark::State& state) {
    NextProblem<frmView>(state, 3);
}
BENCHMARK(BM_ViewNext)
    ->ArgsProduct({{0, 1}, {0, 1}})
    ->ArgNames({"big", "paint"})
    ->Unit(benchmark::kMicrosecond);

// The parts: reading and decoding one problem, then solving its tree.
void BM_LoadAndSolve(benchmark::State& state) {
    Use(state.range(0) != 0);
    const int count = gCourses[0].ProbCount;
    int n = 0;
    Problem problem;
    for (auto _ : state) {
        LoadProblem(0, n, problem);
        CalcAllResults(problem);
        benchmark::DoNotOptimize(problem.kekkaCalc);
        n = (n + 1) % count;
    }
}
BENCHMARK(BM_LoadAndSolve)->Arg(0)->Arg(1)->ArgName("big")->Unit(benchmark::kMicrosecond);

// Drawing the board surface of the learn window alone.
void BM_BoardSurface(benchmark::State& state) {
    Use(false);
    BoardView view(BoardStyle{1, false});
    view.resize(385, 385);
    Problem problem;
    LoadProblem(0, 0, problem);
    view.InitBoardMetrics(problem.ViewSize);
    Board b{};
    for (size_t i = 0; i < b.size(); ++i)
        b[i] = problem.gInitBoard[i];
    for (auto _ : state) {
        view.DrawBoard(b);
        benchmark::DoNotOptimize(view.image().constBits());
    }
}
BENCHMARK(BM_BoardSurface)->Unit(benchmark::kMicrosecond);

// Repainting the learn window with nothing changed.
void BM_LearnRepaint(benchmark::State& state) {
    Use(false);
    gMode = 2;
    auto w = std::make_unique<frmLearn>();
    w->show();
    for (auto _ : state) {
        QPixmap shown = w->grab();
        benchmark::DoNotOptimize(shown);
    }
    w->hide();
    w.reset();
}
BENCHMARK(BM_LearnRepaint)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    InitApplication(app, QString()); // the program's font, as its windows show it
    RecordingPlatform platform; // message boxes and sounds are recorded, never shown
    SetPlatform(&platform);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    SetPlatform(nullptr);
    return 0;
}

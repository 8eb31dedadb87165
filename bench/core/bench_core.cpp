// Core timings: loading and judging a full tree, replaying deep paths, and the
// legality test beside a large group.
#include "library/files.h"
#include "library/problem.h"
#include "rules/outcome.h"
#include "rules/rules.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

// 1000 nodes: a 401-move main line and short side branches, all on distinct
// points so every move is legal.
Problem SyntheticTree() {
    Problem p;
    p.ViewSize = 19;
    int n = 0;
    for (; n < 401; ++n) {
        p.prev[n] = n == 0 ? kRoot : int16_t(n - 1);
        p.x[n] = uint8_t(n % 19);
        p.y[n] = uint8_t((n / 19) % 19);
    }
    for (; n < 1000; ++n) {
        p.prev[n] = int16_t(n % 400);
        p.x[n] = uint8_t(n % 19);
        p.y[n] = uint8_t(18 - (n / 19) % 19);
        p.code[n] = uint8_t(n % 2 ? 5 : 55);
    }
    p.code[400] = 10;
    p.hands = 1000;
    return p;
}

void BM_LoadAndCalcAllResults(benchmark::State& state) {
    QTemporaryDir dir;
    const QByteArray block = EncodeProblem(SyntheticTree());
    QFile dt(dir.path() + "/abc.dt");
    dt.open(QIODevice::WriteOnly);
    dt.write(block);
    dt.close();
    QFile dr(dir.path() + "/abc.dr");
    dr.open(QIODevice::WriteOnly);
    const quint32 end = quint32(block.size());
    dr.write(reinterpret_cast<const char*>(&end), 4);
    dr.close();
    Problem p;
    for (auto _ : state) {
        LoadProblemFromSet("abc", 0, p, nullptr, dir.path());
        benchmark::DoNotOptimize(CalcAllResults(p));
    }
}
BENCHMARK(BM_LoadAndCalcAllResults)->Unit(benchmark::kMicrosecond);

void BM_SetUpNode(benchmark::State& state) {
    Problem p = SyntheticTree();
    CalcAllResults(p);
    const int node = int(state.range(0)) - 1; // depth d is node d-1 on the main line
    for (auto _ : state)
        benchmark::DoNotOptimize(SetUpNode(p, node));
}
BENCHMARK(BM_SetUpNode)->Arg(20)->Arg(401)->Unit(benchmark::kMicrosecond);

void BM_CheckMoveBesideLargeGroup(benchmark::State& state) {
    // A 150-stone white snake; Black plays on one of its last liberties.
    Board b{};
    int placed = 0;
    for (int y = 0; y < 19 && placed < 150; y += 2) {
        for (int x = 0; x < 19 && placed < 150; ++x, ++placed)
            b[XYToPoint(x, y)] = kWhite;
        if (placed < 150) b[XYToPoint(y % 4 == 0 ? 18 : 0, y + 1)] = kWhite, ++placed;
    }
    PointList caps;
    for (auto _ : state)
        benchmark::DoNotOptimize(CheckMove(kBlack, 5, 1, b, caps));
}
BENCHMARK(BM_CheckMoveBesideLargeGroup)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();

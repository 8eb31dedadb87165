// The solver on the textbook shapes and on empty eye spaces of 12 to 30
// points (a white group walled in by Black in the top-left corner). Each run
// builds a fresh solver, so the times include every search a class needs.
// Counters: nodes searched, the class found (0 when beyond the limit).
#include "solver/solver.h"

#include <benchmark/benchmark.h>

using namespace velsolver;

namespace {

using Rows = std::vector<std::string>;

// A w x h empty area in the corner, a white wall around it and a black wall
// around that.
Rows EyeSpace(int w, int h) {
    Rows rows;
    for (int y = 0; y < h + 2; ++y) {
        std::string r;
        for (int x = 0; x < w + 2; ++x)
            r += x < w && y < h ? '.' : x <= w && y <= h ? 'O' : 'X';
        rows.push_back(r);
    }
    return rows;
}

void Solve(benchmark::State& state, const Rows& rows, int viewSize, Aim aim, int toMove) {
    const int limitSeconds = 30;
    uint64_t nodes = 0;
    int klass = 0;
    for (auto _ : state) {
        ProblemSolver solver(Goban::FromDiagram(rows), viewSize, aim, 20);
        SearchStart s = solver.Start();
        s.toMove = toMove;
        Limits limits;
        limits.deadline = SolverClock::now() + std::chrono::seconds(limitSeconds);
        const ClassResult r = solver.Classify(s, limits);
        nodes = r.nodes;
        klass = r.klass;
        benchmark::DoNotOptimize(klass);
    }
    state.counters["nodes"] = static_cast<double>(nodes);
    state.counters["class"] = klass;
}

const Rows kStraightThree = {". . . O X . .", "O O O O X . .", "X X X X X . ."};
const Rows kBentThree = {". . O X . . .", ". O O X . . .", "O O X X . . .", "X X X . . . ."};
const Rows kSquareFour = {". . O X . . .", ". . O X . . .", "O O O X . . .", "X X X X . . ."};
const Rows kBulkyFive = {". . . O X . .", ". . O O X . .", "O O O X X . .", "X X X X . . ."};
const Rows kRabbitySix = {"O O . . O X . . .", "O . . . O X . . .", "O O . O O X . . .",
                          "X O O O X X . . .", "X X X X X . . . ."};
const Rows kBentFourCorner = {". . . O X . .", ". O O O X . .", "O O X X X . .", "X X X . . . ."};
const Rows kSeki = {". X X X . O X . .", "O O O O O O X . .", "X X X X X X X . ."};
const Rows kKo = {". O . O X . .", "O O O X X . .", "X X X X . . ."};

void Shape(benchmark::State& state, const Rows* rows, int vs, int toMove) {
    Solve(state, *rows, vs, Aim::Kill, toMove);
}

void Eye(benchmark::State& state) {
    const int w = static_cast<int>(state.range(0));
    const int h = static_cast<int>(state.range(1));
    Solve(state, EyeSpace(w, h), w + 4, Aim::Kill, static_cast<int>(state.range(2)));
}

} // namespace

#define SHAPE(name, rows, vs)                                                                      \
    BENCHMARK_CAPTURE(Shape, name##_black, &rows, vs, kBlackCell)                                  \
        ->Unit(benchmark::kMillisecond)                                                            \
        ->Iterations(1)                                                                            \
        ->Repetitions(5);                                                                          \
    BENCHMARK_CAPTURE(Shape, name##_white, &rows, vs, kWhiteCell)                                  \
        ->Unit(benchmark::kMillisecond)                                                            \
        ->Iterations(1)                                                                            \
        ->Repetitions(5)

SHAPE(straight_three, kStraightThree, 7);
SHAPE(bent_three, kBentThree, 7);
SHAPE(square_four, kSquareFour, 7);
SHAPE(bulky_five, kBulkyFive, 7);
SHAPE(rabbity_six, kRabbitySix, 9);
SHAPE(bent_four_corner, kBentFourCorner, 7);
SHAPE(seki, kSeki, 9);
SHAPE(unresolvable_ko, kKo, 7);

// Eye spaces: {width, height, side to move}; 12, 16, 20, 24 and 30 points as
// a strip along the edge and as a block in the corner. A class of 0 in the
// counters means the 30-second limit was reached.
BENCHMARK(Eye)
    ->ArgNames({"w", "h", "toMove"})
    ->Args({6, 2, kWhiteCell})
    ->Args({8, 2, kWhiteCell})
    ->Args({10, 2, kWhiteCell})
    ->Args({12, 2, kWhiteCell})
    ->Args({4, 3, kWhiteCell})
    ->Args({4, 4, kWhiteCell})
    ->Args({5, 4, kWhiteCell})
    ->Args({6, 4, kWhiteCell})
    ->Args({15, 2, kWhiteCell})
    ->Args({6, 5, kWhiteCell})
    ->Args({6, 2, kBlackCell})
    ->Args({8, 2, kBlackCell})
    ->Args({10, 2, kBlackCell})
    ->Args({12, 2, kBlackCell})
    ->Args({4, 3, kBlackCell})
    ->Args({4, 4, kBlackCell})
    ->Args({15, 2, kBlackCell})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(3);

BENCHMARK_MAIN();

// How long one frame takes on the software surface, next to the cheapest
// thing a frame could possibly cost: filling a window-sized buffer once.
// The "allocs" counter is heap allocations per frame; the composition's own
// off-screen image (its record and its pixels) accounts for two.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <vector>

#include "game/game_flow.h"
#include "game/board.h"
#include "game/game_state.h"
#include "render/frame.h"
#include "render/layout.h"
#include "render/software_surface.h"
#include "support/headless_host.h"

extern "C" void* __libc_malloc(size_t size);
extern "C" void* __libc_calloc(size_t count, size_t size);
extern "C" void* __libc_realloc(void* pointer, size_t size);

namespace {
size_t allocations = 0;
}

// Every allocation in this program is counted on its way to the C library.
extern "C" void* malloc(size_t size) {
    ++allocations;
    return __libc_malloc(size);
}
extern "C" void* calloc(size_t count, size_t size) {
    ++allocations;
    return __libc_calloc(count, size);
}
extern "C" void* realloc(void* pointer, size_t size) {
    ++allocations;
    return __libc_realloc(pointer, size);
}

namespace {

// The game's window for the frames: the headless host, nothing shown.
void BuildSamples() {
    ResetHeadlessHost();
    BuildStatisticsSamples();
}

void FreeModel() {
    ReleaseAllBlocks();
    gameState = GameState{};
}

// Every cell of the well holds a Block, a piece is falling over them, the
// next piece waits and every readout uses all its digits.
void BuildFullWell() {
    for (int32_t row = 0; row < BoardRows; ++row) {
        for (int32_t col = 0; col < BoardColumns; ++col) {
            Piece carrier{};
            BuildPiece(carrier, (row + col) % PieceKindCount, BoardPanelRect, col, row);
            board.At(col, row) = carrier.blocks[0];
            for (int i = 1; i < 4; ++i) FreeBlock(carrier.blocks[i]);
        }
    }
    BuildPiece(currentPiece, 3, BoardPanelRect, 5, 0);
    gameState.hasCurrent = 1;
    BuildPiece(nextPiece, 6, NextPieceFrame(6), 2, 1);
    gameState.hasNext = 1;
    gameState.score = 987654;
    gameState.lines = 456;
    gameState.level = 9;
    for (int kind = 0; kind < PieceKindCount; ++kind) gameState.counts[kind] = 11 * (kind + 3);
}

void RunFrames(benchmark::State& state) {
    std::vector<uint32_t> window(static_cast<size_t>(ClientWidth) * ClientHeight);
    Surface target = {window.data(), ClientWidth, ClientHeight};
    const size_t before = allocations;
    for (auto _ : state) {
        RenderFrame(&target);
        benchmark::DoNotOptimize(window.data());
        benchmark::ClobberMemory();
    }
    state.counters["allocs"] =
        benchmark::Counter(static_cast<double>(allocations - before), benchmark::Counter::kAvgIterations);
}

void BM_FillWindowBufferOnce(benchmark::State& state) {
    std::vector<uint32_t> window(static_cast<size_t>(ClientWidth) * ClientHeight);
    Colour colour = PanelGrey;
    for (auto _ : state) {
        std::fill(window.begin(), window.end(), colour);
        benchmark::DoNotOptimize(window.data());
        benchmark::ClobberMemory();
        colour ^= 1;  // keeps the compiler from folding repeated fills
    }
}
BENCHMARK(BM_FillWindowBufferOnce);

void BM_RenderIdleFrame(benchmark::State& state) {
    BuildSamples();
    RunFrames(state);
    FreeModel();
}
BENCHMARK(BM_RenderIdleFrame);

void BM_RenderFullWellFrame(benchmark::State& state) {
    BuildSamples();
    BuildFullWell();
    RunFrames(state);
    FreeModel();
}
BENCHMARK(BM_RenderFullWellFrame);

}  // namespace

BENCHMARK_MAIN();

// Drawing a cabin's seat map, which happens at every step of a dragged cabin slider, against a
// plain white fill of the same buffer, measured in the same run so that the ratio shows.
#include "payload/SeatMap.h"

#include <benchmark/benchmark.h>

#include <algorithm>

namespace {

const CabinSeatLayout& Layout(int cabin) {
    return *FindCabinSeatLayout(cabin);
}

// The floor: filling the cabin's bitmap white once, nothing else.
void BM_FillOnly(benchmark::State& state) {
    const CabinSeatLayout& layout = Layout(static_cast<int>(state.range(0)));
    RgbImage surface(layout.bitmapWidth, layout.bitmapHeight);
    for (auto _ : state) {
        std::fill(surface.pixels.begin(), surface.pixels.end(), kSeatMapBackground);
        benchmark::DoNotOptimize(surface.pixels.data());
        benchmark::ClobberMemory();
    }
}

// The map drawn into a buffer kept from the draw before, half the seats taken.
void BM_RenderReused(benchmark::State& state) {
    const CabinSeatLayout& layout = Layout(static_cast<int>(state.range(0)));
    RgbImage surface(layout.bitmapWidth, layout.bitmapHeight);
    for (auto _ : state) {
        RenderCabinBitmap(layout, layout.seats / 2, surface);
        benchmark::DoNotOptimize(surface.pixels.data());
        benchmark::ClobberMemory();
    }
}

// The map drawn into a buffer made anew for every draw, as the page does.
void BM_RenderFresh(benchmark::State& state) {
    const CabinSeatLayout& layout = Layout(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        RgbImage surface;
        RenderCabinBitmap(layout, layout.seats / 2, surface);
        benchmark::DoNotOptimize(surface.pixels.data());
        benchmark::ClobberMemory();
    }
}

// The cell states alone, without drawing.
void BM_ComputeCells(benchmark::State& state) {
    const CabinSeatLayout& layout = Layout(static_cast<int>(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(ComputeSeatCells(layout, layout.seats / 2));
}

} // namespace

// Cabin 2 has the largest map (159 x 53); cabin 1 has the absent cells.
BENCHMARK(BM_FillOnly)->ArgName("cabin")->Arg(1)->Arg(2)->Arg(3);
BENCHMARK(BM_RenderReused)->ArgName("cabin")->Arg(1)->Arg(2)->Arg(3);
BENCHMARK(BM_RenderFresh)->ArgName("cabin")->Arg(1)->Arg(2)->Arg(3);
BENCHMARK(BM_ComputeCells)->ArgName("cabin")->Arg(1)->Arg(2)->Arg(3);

BENCHMARK_MAIN();

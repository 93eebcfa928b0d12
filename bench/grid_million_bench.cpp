// A grid of 1,000,000 rows x 10 columns (text, integer, double, check box and option,
// twice), built, sorted and searched through the public routines. Each step runs once on
// the same grid, in order, as a person would wait for it; "bytes_per_cell" is the heap the
// grid holds divided by its cells, "bytes_per_numeric_cell" the same for a grid of only
// numeric columns.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <array>
#include <random>
#include <string>

#include "grid/grid_registry.hpp"
#include "quill/grid.hpp"

namespace {

constexpr int kField = 1;
constexpr int kRows = 1'000'000;
constexpr std::array kTypes{4, 5, 7, 9, 11, 4, 5, 7, 9, 11};
constexpr std::array<std::string_view, 4> kOptions{"north", "east", "south", "west, far"};

std::size_t heap_in_use() {
  const struct mallinfo2 info = mallinfo2();
  return info.uordblks + info.hblkhd;
}

void make_grid(std::span<const int> types) {
  quill::reset_grids_for_test();
  quill::attach_dialog_grid(1, kField);
  quill::select_grid_dialog(1);
  WGridColumns(kField, static_cast<int>(types.size()), types);
  WGridRowsMax(kField, kRows);
}

// Fills every cell through the routines; the texts of column 1 are random, 0 to 24 letters.
void fill(std::span<const int> types) {
  WGridRows(kField, kRows);
  std::mt19937 random(20261210);
  std::uniform_int_distribution<int> integer(-1'000'000, 1'000'000);
  std::uniform_real_distribution<double> real(-1e6, 1e6);
  std::uniform_int_distribution<int> length(0, 24);
  std::string text;
  for (int r = 1; r <= kRows; ++r) {
    for (int c = 1; c <= static_cast<int>(types.size()); ++c) {
      switch (types[static_cast<std::size_t>(c - 1)]) {
        case 4:
          text.assign(static_cast<std::size_t>(length(random)), 'a');
          for (char& ch : text) ch = static_cast<char>('a' + random() % 26);
          WGridPutCellString(kField, c, r, text);
          break;
        case 5: WGridPutCellInteger(kField, c, r, integer(random)); break;
        case 7: WGridPutCellDouble(kField, c, r, real(random)); break;
        case 9: WGridPutCellCheckBox(kField, c, r, static_cast<int>(random() % 2)); break;
        default: WGridPutCellOption(kField, c, r, static_cast<int>(random() % 5)); break;
      }
    }
  }
}

void BM_Build(benchmark::State& state) {
  for (auto _ : state) {
    make_grid(kTypes);
    const std::size_t before = heap_in_use();
    for (int c = 5; c <= 10; c += 5) WGridPutOptions(kField, c, kOptions, static_cast<int>(kOptions.size()));
    fill(kTypes);
    state.counters["bytes_per_cell"] = static_cast<double>(heap_in_use() - before) / (kRows * 10.0);
  }
}

void BM_NumericMemory(benchmark::State& state) {
  constexpr std::array kNumeric{5, 7, 5, 7, 5, 7, 5, 7, 5, 7};
  for (auto _ : state) {
    make_grid(kNumeric);
    const std::size_t before = heap_in_use();
    fill(kNumeric);
    state.counters["bytes_per_numeric_cell"] = static_cast<double>(heap_in_use() - before) / (kRows * 10.0);
  }
}

// The steps below work on the grid BM_Build left.
void BM_SortDouble(benchmark::State& state) {
  for (auto _ : state) WGridSort(kField, 3, 0);
}

void BM_SortText(benchmark::State& state) {
  for (auto _ : state) WGridSort(kField, 1, 0);
}

// A text only the last row holds, found from the first cell.
void BM_FindLastRow(benchmark::State& state) {
  WGridPutCellString(kField, 6, kRows, "needle# in the last row");
  for (auto _ : state) {
    int column = 1;
    int row = 1;
    WGridFind(kField, "NEEDLE#", column, row);
    if (row != kRows) state.SkipWithError("not found in the last row");
  }
}

// What a page of the grid shows: 30 rows of display texts read back.
void BM_ReadPage(benchmark::State& state) {
  std::array<char, 64> text{};
  int row = kRows - 30;
  for (auto _ : state) {
    for (int r = row; r < row + 30; ++r) {
      for (int c = 1; c <= 10; ++c) {
        if (c % 5 != 4) WGridGetCellString(kField, c, r, text);
      }
    }
    row = row > 31 ? row - 30 : kRows - 30;
  }
}

BENCHMARK(BM_Build)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_SortDouble)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_SortText)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_FindLastRow)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReadPage)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_NumericMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();

// Loading and saving a 100,000-row x 10-column grid file (text, integer, double,
// check-box and option columns). The file is written once to GRID_BENCH_FILE (default
// a temporary file), so other readers can be timed on the same bytes.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "grid/grid_registry.hpp"
#include "quill/grid.hpp"

namespace {

constexpr int kField = 1;
constexpr int kRows = 100'000;
constexpr std::array kTypes{4, 5, 7, 9, 11, 4, 5, 7, 9, 11};
constexpr std::array<std::string_view, 4> kOptions{"north", "east", "south", "west, far"};

std::string bench_file() {
  const char* name = std::getenv("GRID_BENCH_FILE");
  return name != nullptr ? name : (std::filesystem::temp_directory_path() / "grid_bench.csv").string();
}

std::string save_copy_file() { return bench_file() + ".saved"; }

void make_grid() {
  quill::reset_grids_for_test();
  quill::attach_dialog_grid(1, kField);
  quill::select_grid_dialog(1);
  WGridColumns(kField, static_cast<int>(kTypes.size()), kTypes);
  WGridRowsMax(kField, kRows);
  WGridTitles(kField, 1, 0);
  for (int c = 4; c <= 10; c += 5) {
    WGridPutOptions(kField, c + 1, kOptions, static_cast<int>(kOptions.size()));
  }
  WGridFormat(kField, 3, "(F14.4)");
  WGridFormat(kField, 8, "(E16.8)");
}

// A grid of random contents, saved as the benchmark file.
void fill_and_save() {
  make_grid();
  WGridRows(kField, kRows);
  std::mt19937 random(20261209);
  std::uniform_int_distribution<int> integer(-1'000'000, 1'000'000);
  std::uniform_real_distribution<double> real(-1e6, 1e6);
  std::uniform_int_distribution<int> length(0, 24);
  for (int c = 1; c <= 10; ++c) WGridColumnTitle(kField, c, "column " + std::to_string(c));
  for (int r = 1; r <= kRows; ++r) {
    for (int c = 0; c < 10; c += 5) {
      std::string text(static_cast<std::size_t>(length(random)), 'a');
      for (char& ch : text) ch = static_cast<char>('a' + random() % 26);
      if (r % 7 == 0) text += ", \"quoted\"";
      WGridPutCellString(kField, c + 1, r, text);
      WGridPutCellInteger(kField, c + 2, r, integer(random));
      WGridPutCellDouble(kField, c + 3, r, real(random));
      WGridPutCellCheckBox(kField, c + 4, r, static_cast<int>(random() % 2));
      WGridPutCellOption(kField, c + 5, r, static_cast<int>(random() % 5));
    }
  }
  WGridSave(kField, bench_file(), std::nullopt, std::nullopt, std::nullopt, std::nullopt, 2);
}

void BM_GridLoad(benchmark::State& state) {
  make_grid();
  const std::string file = bench_file();
  for (auto _ : state) {
    WGridLoad(kField, file, 1, 2);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(std::filesystem::file_size(file)));
  state.counters["rows"] = quill::find_grid(kField).grid->rows;
}

void BM_GridSave(benchmark::State& state) {
  make_grid();
  WGridLoad(kField, bench_file(), 1, 2);
  const std::string file = save_copy_file();
  for (auto _ : state) {
    WGridSave(kField, file, std::nullopt, std::nullopt, std::nullopt, std::nullopt, 2);
    // Each save starts with a fresh file, as each of Python's does: no run pays for the
    // write-back of the runs before it.
    state.PauseTiming();
    std::filesystem::remove(file);
    state.ResumeTiming();
  }
  WGridSave(kField, file, std::nullopt, std::nullopt, std::nullopt, std::nullopt, 2);
  state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(std::filesystem::file_size(file)));
}

// The first 10 rows of the benchmark's grid, loaded into a fresh grid: what a small file
// costs (opening, buffers, the grid's set-up) beside the big one.
std::string small_grid() {
  make_grid();
  WGridLoad(kField, bench_file(), 1, 2);
  const std::string small = bench_file() + ".small";
  WGridSave(kField, small, std::nullopt, std::nullopt, std::nullopt, 10, 2);
  make_grid();
  WGridLoad(kField, small, 1, 2);
  return small;
}

void BM_SmallGridLoad(benchmark::State& state) {
  const std::string file = small_grid();
  for (auto _ : state) WGridLoad(kField, file, 1, 2);
  state.counters["rows"] = quill::find_grid(kField).grid->rows;
}

void BM_SmallGridSave(benchmark::State& state) {
  small_grid();
  const std::string file = save_copy_file();
  for (auto _ : state) WGridSave(kField, file, std::nullopt, std::nullopt, std::nullopt, std::nullopt, 2);
  state.counters["rows"] = quill::find_grid(kField).grid->rows;
}

BENCHMARK(BM_GridLoad)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_GridSave)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(BM_SmallGridLoad)->Unit(benchmark::kMicrosecond)->MinTime(1.0);
BENCHMARK(BM_SmallGridSave)->Unit(benchmark::kMicrosecond)->MinTime(1.0);

}  // namespace

int main(int argc, char** argv) {
  fill_and_save();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::filesystem::remove(save_copy_file());
  return 0;
}

// Formatting 1,000,000 values per run with the toolkit's formatter, against snprintf.
// bench/text_format_reference.f90 times gfortran's internal WRITE of the same kinds
// of values with the same formats (compile and run it by hand, see its header).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <random>
#include <vector>

#include "quill/text.hpp"
#include "text/format.hpp"

namespace {

constexpr std::size_t kCount = 1000000;

// Magnitudes from 1e-5 to 1e10 with both signs, as a calculator or a grid sees them.
const std::vector<double>& doubles() {
  static const std::vector<double> values = [] {
    std::mt19937_64 generator(20261209);
    std::uniform_real_distribution<double> mantissa(1.0, 10.0);
    std::uniform_int_distribution<int> exponent(-5, 9);
    std::vector<double> v(kCount);
    for (double& x : v) {
      x = mantissa(generator) * std::pow(10.0, exponent(generator));
      if (generator() & 1) x = -x;
    }
    return v;
  }();
  return values;
}

const std::vector<int>& integers() {
  static const std::vector<int> values = [] {
    std::mt19937 generator(20261209);
    std::vector<int> v(kCount);
    for (int& x : v) x = static_cast<int>(generator());
    return v;
  }();
  return values;
}

void BM_IDoubleToString(benchmark::State& state, std::string_view format, std::size_t width) {
  const std::vector<double>& values = doubles();
  std::vector<char> text(width);
  for (auto _ : state) {
    for (const double v : values) {
      IDoubleToString(v, text, format);
      benchmark::DoNotOptimize(text.data());
    }
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * values.size()));
}

void BM_IntegerToString(benchmark::State& state) {
  const std::vector<int>& values = integers();
  std::vector<char> text(11);
  for (auto _ : state) {
    for (const int v : values) {
      IntegerToString(v, text, "(I11)");
      benchmark::DoNotOptimize(text.data());
    }
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * values.size()));
}

// The formatter alone, with the format parsed once.
void BM_WriteFormatted(benchmark::State& state, const char* format, std::size_t width) {
  const std::vector<double>& values = doubles();
  quill::FormatProgram program;
  quill::parse_format(format, program);
  std::vector<char> text(width);
  for (auto _ : state) {
    for (const double v : values) {
      const quill::FormatValue value = quill::FormatValue::of(v);
      benchmark::DoNotOptimize(quill::write_formatted(program, std::span(&value, 1), text));
    }
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * values.size()));
}

void BM_Snprintf(benchmark::State& state, const char* format, std::size_t width) {
  const std::vector<double>& values = doubles();
  std::vector<char> text(width + 1);
  for (auto _ : state) {
    for (const double v : values) {
      benchmark::DoNotOptimize(std::snprintf(text.data(), text.size(), format, v));
    }
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * values.size()));
}

void BM_SnprintfInteger(benchmark::State& state) {
  const std::vector<int>& values = integers();
  char text[12];
  for (auto _ : state) {
    for (const int v : values) benchmark::DoNotOptimize(std::snprintf(text, sizeof text, "%11d", v));
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * values.size()));
}

BENCHMARK_CAPTURE(BM_IDoubleToString, F16_3, "(F16.3)", 16)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_IDoubleToString, G15_5E2, "(G15.5E2)", 15)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_IDoubleToString, E15_7, "(E15.7)", 15)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IntegerToString)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_WriteFormatted, F16_3, "(F16.3)", 16)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Snprintf, f16_3, "%16.3f", 16)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Snprintf, g15_5, "%15.5G", 15)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_Snprintf, e15_7, "%15.7E", 15)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SnprintfInteger)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

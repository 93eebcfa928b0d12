// Parsing 1,000,000 number texts with IStringToReal8 and IStringToReal against strtod
// and std::from_chars, in one run.
#include <benchmark/benchmark.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "quill/text.hpp"

namespace {

// Texts as the toolkit writes and reads them: fixed and exponent forms, both signs.
const std::vector<std::string>& texts() {
  static const std::vector<std::string> values = [] {
    std::mt19937_64 generator(20261209);
    std::uniform_real_distribution<double> mantissa(1.0, 10.0);
    std::uniform_int_distribution<int> exponent(-5, 9);
    std::vector<std::string> v;
    v.reserve(1000000);
    char buffer[64];
    for (int i = 0; i < 1000000; ++i) {
      double x = mantissa(generator) * std::pow(10.0, exponent(generator));
      if (generator() & 1) x = -x;
      std::snprintf(buffer, sizeof buffer, (i & 1) ? "%.3f" : "%.7E", x);
      v.emplace_back(buffer);
    }
    return v;
  }();
  return values;
}

// Converts every text once per iteration with parse(text) -> value.
template <typename Parse>
void parse_all(benchmark::State& state, Parse parse) {
  const std::vector<std::string>& values = texts();
  for (auto _ : state) {
    for (const std::string& text : values) benchmark::DoNotOptimize(parse(text));
  }
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * values.size()));
}

void BM_IStringToReal8(benchmark::State& state) {
  parse_all(state, [](const std::string& text) {
    double value = 0;
    IStringToReal8(text, value);
    return value;
  });
}

void BM_IStringToReal(benchmark::State& state) {
  parse_all(state, [](const std::string& text) {
    float value = 0;
    IStringToReal(text, value);
    return value;
  });
}

void BM_Strtod(benchmark::State& state) {
  parse_all(state, [](const std::string& text) { return std::strtod(text.c_str(), nullptr); });
}

void BM_FromChars(benchmark::State& state) {
  parse_all(state, [](const std::string& text) {
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
  });
}

BENCHMARK(BM_IStringToReal8)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IStringToReal)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Strtod)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FromChars)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

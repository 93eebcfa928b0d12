// Time per key press of the calculator engine over long random key sequences.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "engine.hpp"

namespace {

std::vector<orlix::CalculatorKey> random_keys(std::size_t count, unsigned seed) {
  // Digits are weighted so that numbers of several digits are typed between operators.
  static constexpr orlix::CalculatorKey kKeys[] = {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  0,  1,
                                                   2,  3,  4,  5,  6,  7,  8,  9,  30, 31, 32, 33,
                                                   34, 35, 36, 37, 38, 39, 40, 41, 42, 43};
  std::mt19937 generator(seed);
  std::uniform_int_distribution<std::size_t> pick(0, std::size(kKeys) - 1);
  std::vector<orlix::CalculatorKey> keys(count);
  for (auto& key : keys) key = kKeys[pick(generator)];
  return keys;
}

void BM_PressKey(benchmark::State& bench) {
  const std::vector<orlix::CalculatorKey> keys = random_keys(1 << 16, 12345);
  orlix::CalculatorState state;
  orlix::initialise(state);
  std::size_t i = 0;
  for (auto _ : bench) {
    benchmark::DoNotOptimize(orlix::press_key(state, keys[i]));
    benchmark::DoNotOptimize(state.display);
    i = (i + 1) & (keys.size() - 1);
  }
  bench.SetItemsProcessed(bench.iterations());
}
BENCHMARK(BM_PressKey);

}  // namespace

BENCHMARK_MAIN();

// The toolkit's number-to-text conversions beside their peers on the same 1,000,000
// values per format: gfortran's internal WRITE (the reference writer, linked in from
// text_format_reference.f90), {fmt}, std::to_chars and snprintf. Before timing, every
// record of ours is compared with gfortran's; after timing, one table gives each peer's
// CPU time per value (the fastest repetition) and the ratios.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#if defined(ORLIX_BENCH_FMT)
#include <fmt/format.h>
#endif

#include "quill/text.hpp"
#include "text/format.hpp"

#if defined(ORLIX_BENCH_FORTRAN)
extern "C" long long fortran_write_reals(const double* values, int n, int which, int copy, char* records);
extern "C" long long fortran_write_integers(const int* values, int n, int copy, char* records);
#endif

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

struct RealFormat {
  const char* name;       // as the table shows it
  std::string_view ours;  // the toolkit's format text
  std::size_t width;
  int fortran_which;  // the format's number in text_format_reference.f90
};

constexpr RealFormat kF16_3{"F16.3", "(F16.3)", 16, 0};
constexpr RealFormat kG15_5E2{"G15.5E2", "(G15.5E2)", 15, 1};
constexpr RealFormat kE15_7{"E15.7", "(E15.7)", 15, 2};

void count_items(benchmark::State& state) {
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * kCount));
}

void BM_Ours(benchmark::State& state, RealFormat format) {
  char text[16];
  const std::span<char> record(text, format.width);
  for (auto _ : state) {
    for (const double v : doubles()) {
      IDoubleToString(v, record, format.ours);
      benchmark::DoNotOptimize(text);
    }
  }
  count_items(state);
}

void BM_OursInteger(benchmark::State& state) {
  char text[11];
  for (auto _ : state) {
    for (const int v : integers()) {
      IntegerToString(v, text, std::string_view("(I11)"));
      benchmark::DoNotOptimize(text);
    }
  }
  count_items(state);
}

// The formatter alone, with the format parsed once and no error reporting around it.
void BM_OursWriteFormatted(benchmark::State& state, RealFormat format) {
  quill::FormatProgram program;
  quill::parse_format(format.ours, program);
  char text[16];
  for (auto _ : state) {
    for (const double v : doubles()) {
      const quill::FormatValue value = quill::FormatValue::of(v);
      benchmark::DoNotOptimize(
          quill::write_formatted(program, std::span(&value, 1), std::span(text, format.width)));
    }
  }
  count_items(state);
}

void BM_ToChars(benchmark::State& state, std::chars_format style, int precision) {
  char text[40];
  for (auto _ : state) {
    for (const double v : doubles()) {
      benchmark::DoNotOptimize(std::to_chars(text, text + sizeof text, v, style, precision).ptr);
    }
  }
  count_items(state);
}

void BM_ToCharsInteger(benchmark::State& state) {
  char text[16];
  for (auto _ : state) {
    for (const int v : integers()) benchmark::DoNotOptimize(std::to_chars(text, text + 16, v).ptr);
  }
  count_items(state);
}

template <typename Value>
void BM_Snprintf(benchmark::State& state, const char* format, const std::vector<Value>& values) {
  char text[40];
  for (auto _ : state) {
    for (const Value v : values) benchmark::DoNotOptimize(std::snprintf(text, sizeof text, format, v));
  }
  count_items(state);
}

#if defined(ORLIX_BENCH_FMT)
template <typename Value>
void BM_Fmt(benchmark::State& state, const char* format, std::size_t width,
            const std::vector<Value>& values) {
  char text[40];
  for (auto _ : state) {
    for (const Value v : values) {
      benchmark::DoNotOptimize(fmt::format_to_n(text, width, fmt::runtime(format), v).size);
    }
  }
  count_items(state);
}
#endif

#if defined(ORLIX_BENCH_FORTRAN)
void BM_Gfortran(benchmark::State& state, RealFormat format) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        fortran_write_reals(doubles().data(), static_cast<int>(kCount), format.fortran_which, 0, nullptr));
  }
  count_items(state);
}

void BM_GfortranInteger(benchmark::State& state) {
  for (auto _ : state) {
    benchmark::DoNotOptimize(fortran_write_integers(integers().data(), static_cast<int>(kCount), 0, nullptr));
  }
  count_items(state);
}
#endif

#if defined(ORLIX_BENCH_FORTRAN)
constexpr std::size_t kRecord = 16;  // the record length of text_format_reference.f90

// Counts the values whose record differs from gfortran's, for one format.
template <typename Value, typename Write>
std::size_t differences(const std::vector<Value>& values, const std::vector<char>& reference,
                        std::size_t width, Write write) {
  std::size_t count = 0;
  char text[kRecord];
  for (std::size_t i = 0; i < values.size(); ++i) {
    write(values[i], std::span(text, width));
    if (std::memcmp(text, reference.data() + i * kRecord, width) != 0) {
      if (count++ < 3) {
        std::printf("  differs at value %.17g: ours [%.*s] gfortran [%.*s]\n", static_cast<double>(values[i]),
                    static_cast<int>(width), text, static_cast<int>(width), reference.data() + i * kRecord);
      }
    }
  }
  return count;
}

// Every benchmark value through ours and through gfortran, record by record.
bool outputs_identical() {
  std::vector<char> reference(kCount * kRecord);
  bool identical = true;
  for (const RealFormat& format : {kF16_3, kG15_5E2, kE15_7}) {
    fortran_write_reals(doubles().data(), static_cast<int>(kCount), format.fortran_which, 1,
                        reference.data());
    const std::size_t n =
        differences(doubles(), reference, format.width,
                    [&](double v, std::span<char> text) { IDoubleToString(v, text, format.ours); });
    std::printf("%-8s %zu of %zu records differ from gfortran's\n", format.name, n, kCount);
    identical = identical && n == 0;
  }
  fortran_write_integers(integers().data(), static_cast<int>(kCount), 1, reference.data());
  const std::size_t n = differences(integers(), reference, 11, [](int v, std::span<char> text) {
    IntegerToString(v, text, std::string_view("(I11)"));
  });
  std::printf("%-8s %zu of %zu records differ from gfortran's\n", "I11", n, kCount);
  return identical && n == 0;
}
#endif

// Benchmarks are named "format/peer"; this keeps the fastest CPU time of each name
// (the least disturbed repetition) and prints the table after the usual report.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.run_type != Run::RT_Iteration || run.error_occurred) continue;
      const double ns =
          run.GetAdjustedCPUTime() * to_nanoseconds(run.time_unit) / static_cast<double>(kCount);
      const std::string name = run.benchmark_name();
      auto [it, inserted] = best_.try_emplace(name, ns);
      if (!inserted) it->second = std::min(it->second, ns);
    }
  }

  void print_table() const {
    std::printf("\nCPU ns per value (fastest repetition) and ratios, %zu values per format\n", kCount);
    std::printf("%-8s %9s %9s %9s %9s %9s   %s\n", "format", "ours", "gfortran", "fmt", "to_chars",
                "snprintf", "gfortran/ours  ours/to_chars  ours/fmt");
    for (const char* format : {"F16.3", "G15.5E2", "E15.7", "I11"}) {
      const double ours = find(format, "ours");
      const double gfortran = find(format, "gfortran");
      const double fmt = find(format, "fmt");
      const double to_chars = find(format, "to_chars");
      std::printf("%-8s %9.1f %9.1f %9.1f %9.1f %9.1f   %13.1f  %13.2f  %8.2f\n", format, ours, gfortran, fmt,
                  to_chars, find(format, "snprintf"), gfortran / ours, ours / to_chars, ours / fmt);
    }
  }

 private:
  static double to_nanoseconds(benchmark::TimeUnit unit) {
    switch (unit) {
      case benchmark::kSecond: return 1e9;
      case benchmark::kMillisecond: return 1e6;
      case benchmark::kMicrosecond: return 1e3;
      default: return 1.0;
    }
  }

  // NaN when the peer was not built or not selected.
  double find(const char* format, const char* peer) const {
    const auto it = best_.find(std::string("BM_") + format + "/" + peer);
    return it == best_.end() ? std::nan("") : it->second;
  }

  std::map<std::string, double> best_;
};

void register_benchmarks() {
  const auto ms = benchmark::kMillisecond;
  using benchmark::RegisterBenchmark;
  const std::vector<double>& d = doubles();
  const std::vector<int>& n = integers();
  RegisterBenchmark("BM_F16.3/ours", BM_Ours, kF16_3)->Unit(ms);
  RegisterBenchmark("BM_F16.3/write_formatted", BM_OursWriteFormatted, kF16_3)->Unit(ms);
  RegisterBenchmark("BM_F16.3/to_chars", BM_ToChars, std::chars_format::fixed, 3)->Unit(ms);
  RegisterBenchmark("BM_F16.3/snprintf", BM_Snprintf<double>, "%16.3f", d)->Unit(ms);
  RegisterBenchmark("BM_G15.5E2/ours", BM_Ours, kG15_5E2)->Unit(ms);
  RegisterBenchmark("BM_G15.5E2/to_chars", BM_ToChars, std::chars_format::general, 5)->Unit(ms);
  RegisterBenchmark("BM_G15.5E2/snprintf", BM_Snprintf<double>, "%15.5G", d)->Unit(ms);
  RegisterBenchmark("BM_E15.7/ours", BM_Ours, kE15_7)->Unit(ms);
  RegisterBenchmark("BM_E15.7/to_chars", BM_ToChars, std::chars_format::scientific, 7)->Unit(ms);
  RegisterBenchmark("BM_E15.7/snprintf", BM_Snprintf<double>, "%15.7E", d)->Unit(ms);
  RegisterBenchmark("BM_I11/ours", BM_OursInteger)->Unit(ms);
  RegisterBenchmark("BM_I11/to_chars", BM_ToCharsInteger)->Unit(ms);
  RegisterBenchmark("BM_I11/snprintf", BM_Snprintf<int>, "%11d", n)->Unit(ms);
#if defined(ORLIX_BENCH_FMT)
  RegisterBenchmark("BM_F16.3/fmt", BM_Fmt<double>, "{:16.3f}", 16, d)->Unit(ms);
  RegisterBenchmark("BM_E15.7/fmt", BM_Fmt<double>, "{:15.7E}", 15, d)->Unit(ms);
  RegisterBenchmark("BM_I11/fmt", BM_Fmt<int>, "{:11}", 11, n)->Unit(ms);
#endif
#if defined(ORLIX_BENCH_FORTRAN)
  RegisterBenchmark("BM_F16.3/gfortran", BM_Gfortran, kF16_3)->Unit(ms);
  RegisterBenchmark("BM_G15.5E2/gfortran", BM_Gfortran, kG15_5E2)->Unit(ms);
  RegisterBenchmark("BM_E15.7/gfortran", BM_Gfortran, kE15_7)->Unit(ms);
  RegisterBenchmark("BM_I11/gfortran", BM_GfortranInteger)->Unit(ms);
#endif
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  int status = 0;
#if defined(ORLIX_BENCH_FORTRAN)
  if (!outputs_identical()) status = 1;
#else
  std::printf("gfortran was not found at configure time: no reference timing or comparison\n");
#endif
  register_benchmarks();
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  reporter.print_table();
  benchmark::Shutdown();
  return status;
}

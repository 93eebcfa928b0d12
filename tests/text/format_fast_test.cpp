// The single-descriptor fast path against the general writer: "(X)" takes the fast
// path where it can, "(X,:)" always takes the general writer's control loop and
// writes the same record, so every case must agree byte for byte.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>

#include "text/format.hpp"
#include "text/format_fast.hpp"

namespace {

using quill::FormatValue;
using quill::WriteStatus;

struct Outcome {
  WriteStatus status;
  bool asterisks;
  std::string record;
  bool operator==(const Outcome&) const = default;
};

Outcome write(const std::string& format, const FormatValue& value, std::size_t length) {
  std::string record(length, '#');
  bool asterisks = false;
  const WriteStatus status = quill::format_values(format, std::span(&value, 1), record, &asterisks);
  return {status, asterisks, record};
}

class Random {
 public:
  std::uint64_t next() {
    state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
    return state_ >> 11;
  }
  int below(int n) { return static_cast<int>(next() % static_cast<std::uint64_t>(n)); }

 private:
  std::uint64_t state_ = 99;
};

double pick_double(Random& r) {
  // Where exponents change from two digits to three, left to the general writer.
  static const double edges[] = {1e98, 9.9e98, 9.99996e98, 1e99, 1e-99, 1e-100, 1.01e-100};
  switch (r.below(6)) {
    case 5: return (r.below(2) ? -1.0 : 1.0) * edges[r.below(7)];
    case 0: return std::bit_cast<double>(r.next() << 11 | r.next());
    case 1: return (r.below(2000001) - 1000000) / std::pow(10.0, r.below(8));
    case 2: return (r.below(2) ? -1.0 : 1.0) * (r.below(200) + 0.5) / std::pow(10.0, r.below(4));
    case 3: return (r.below(2) ? -1.0 : 1.0) * std::pow(10.0, r.below(240) - 120);
    default: return std::ldexp(static_cast<double>(r.next()), r.below(100) - 90);
  }
}

// Built by appending: GCC 12 warns falsely (-Wrestrict) on "x" + std::string at -O3.
std::string descriptor(Random& r) {
  const std::string w = std::to_string(1 + r.below(26));
  const std::string d = std::to_string(r.below(20));
  const std::string e = std::to_string(r.below(10));
  const int shape = r.below(6);
  std::string item(1, "FEEGGI"[shape]);
  item += w;
  if (shape < 5) {
    item += '.';
    item += d;
    if (shape == 2 || shape == 4) {
      item += 'E';
      item += e;
    }
  } else if (r.below(2) != 0) {
    item += '.';
    item += std::to_string(r.below(12));
  }
  return item;
}

std::string parenthesised(const std::string& item, const char* tail) {
  std::string format = "(";
  format += item;
  format += tail;
  return format;
}

TEST(FormatFast, AgreesWithTheGeneralWriter) {
  Random r;
  int fast = 0;
  for (int i = 0; i < 300000; ++i) {
    const std::string item = descriptor(r);
    FormatValue value;
    if (item[0] == 'I') {
      value = FormatValue::of(static_cast<std::int32_t>(r.next()) >> r.below(32));
    } else if (r.below(4) == 0) {
      value = FormatValue::of(static_cast<float>(pick_double(r)));
    } else {
      value = FormatValue::of(pick_double(r));
    }
    const std::size_t length = 1 + static_cast<std::size_t>(r.below(30));
    quill::FormatProgram program;
    if (!quill::parse_format(parenthesised(item, ")"), program)) continue;  // e.g. I3.4
    std::string probe(length, '#');
    if (quill::write_single_fast(program.items[0], value, probe) != quill::FastWrite::Declined) {
      ++fast;
    }
    const Outcome single = write(parenthesised(item, ")"), value, length);
    const Outcome general = write(parenthesised(item, ",:)"), value, length);
    ASSERT_EQ(single, general) << item << " of " << (item[0] == 'I' ? value.integer : value.real8) << " in "
                               << length << ": [" << single.record << "] vs [" << general.record << "]";
  }
  EXPECT_GT(fast, 100000);  // most cases really took the fast path
}

TEST(FormatFast, DeclinesWhatItDoesNotWrite) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    const char* format;
    FormatValue value;
  };
  const Case cases[] = {
      {"(F5.1)", FormatValue::of(nan)},   {"(F0.3)", FormatValue::of(1.5)},
      {"(E9.0)", FormatValue::of(1.5)},   {"(E12.3E0)", FormatValue::of(1.5)},
      {"(F9.3)", FormatValue::of(42)},    {"(I5)", FormatValue::of(1.5)},
      {"(F40.30)", FormatValue::of(0.1)}, {"(E12.3)", FormatValue::of(1e-320)},
      {"(F9.3)", FormatValue::of(1e300)}, {"(G10.0)", FormatValue::of(1.5)},
  };
  for (const Case& c : cases) {
    quill::FormatProgram program;
    ASSERT_TRUE(quill::parse_format(c.format, program)) << c.format;
    std::string record(8, '#');
    EXPECT_EQ(quill::write_single_fast(program.items[0], c.value, record), quill::FastWrite::Declined)
        << c.format;
    EXPECT_EQ(record, std::string(8, '#')) << c.format;  // untouched
  }
}

}  // namespace

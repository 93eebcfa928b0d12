// Differential test of the formatter against gfortran's internal WRITE: generated
// format/value cases go to a small Fortran program as bit patterns, and every record
// it writes must match ours byte for byte (and both must agree on failure).
#include <gtest/gtest.h>

#include <bit>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "format_cases.hpp"
#include "text/format.hpp"

namespace {

using quill_test::CaseKind;
using quill_test::FormatCase;

std::string hex16(std::uint64_t bits) {
  char buffer[24];
  std::snprintf(buffer, sizeof buffer, "%016llX", static_cast<unsigned long long>(bits));
  return buffer;
}

struct Outcome {
  bool ok = false;
  std::string record;
};

Outcome ours(const FormatCase& c) {
  std::string record(static_cast<std::size_t>(c.record_length), ' ');
  quill::FormatValue value;
  std::size_t count = 1;
  switch (c.kind) {
    case CaseKind::integer: value = quill::FormatValue::of(static_cast<std::int32_t>(c.bits)); break;
    case CaseKind::real4: value = quill::FormatValue::of(std::bit_cast<float>(static_cast<std::uint32_t>(c.bits))); break;
    case CaseKind::real8: value = quill::FormatValue::of(std::bit_cast<double>(c.bits)); break;
    case CaseKind::none: count = 0; break;
  }
  const auto status = quill::format_values(c.format, std::span(&value, count), record);
  return {status == quill::WriteStatus::ok, record};
}

std::vector<Outcome> reference(const std::vector<FormatCase>& cases) {
  const std::string dir = ::testing::TempDir();
  const std::string in = dir + "format_cases.txt";
  const std::string out = dir + "format_reference.txt";
  {
    std::ofstream file(in, std::ios::binary);
    for (const FormatCase& c : cases) {
      char head[32];
      std::snprintf(head, sizeof head, "%c %04d ", static_cast<char>(c.kind), c.record_length);
      file << head << hex16(c.bits) << ' ' << c.format << '\n';
    }
  }
  const std::string command = std::string("\"") + FORMAT_REFERENCE_PROGRAM + "\" < \"" + in +
                              "\" > \"" + out + "\"";
  EXPECT_EQ(std::system(command.c_str()), 0) << command;
  std::vector<Outcome> outcomes;
  std::ifstream file(out, std::ios::binary);
  std::string line;
  while (std::getline(file, line)) {
    const std::size_t blank = line.find(' ');
    Outcome o;
    o.ok = line.substr(0, blank) == "0";
    o.record = blank == std::string::npos ? std::string() : line.substr(blank + 1);
    outcomes.push_back(std::move(o));
  }
  return outcomes;
}

std::uint64_t seed_from_environment() {
  const char* text = std::getenv("QUILL_FORMAT_SEED");
  return text ? std::strtoull(text, nullptr, 10) : 20261209;
}

TEST(FormatDifferential, MatchesGfortranInternalWrite) {
  const std::size_t count = std::getenv("QUILL_FORMAT_CASES")
                                ? std::strtoull(std::getenv("QUILL_FORMAT_CASES"), nullptr, 10)
                                : 100000;
  const auto cases = quill_test::generate_format_cases(seed_from_environment(), count);
  const auto expected = reference(cases);
  ASSERT_EQ(expected.size(), cases.size());
  int mismatches = 0;
  int engineering = 0;
  int engineering_cases = 0;
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const FormatCase& c = cases[i];
    const Outcome mine = ours(c);
    const Outcome& ref = expected[i];
    const bool same = mine.ok == ref.ok && (!mine.ok || mine.record == ref.record);
    if (c.format.find("EN") != std::string::npos) ++engineering_cases;
    if (same) continue;
    if (c.format.find("EN") != std::string::npos && mine.ok && ref.ok) {
      // Known: next to a power-of-ten carry (and for 32-bit reals generally) the
      // reference's EN digits differ from exact rounding, which ours does. Listed and
      // bounded below, not failed one by one.
      ++engineering;
      std::printf("EN difference: %s %s gfortran [%s] ours [%s]\n", hex16(c.bits).c_str(),
                  c.format.c_str(), ref.record.c_str(), mine.record.c_str());
      continue;
    }
    if (++mismatches <= 60) {
      ADD_FAILURE() << static_cast<char>(c.kind) << ' ' << hex16(c.bits) << " len "
                    << c.record_length << " format " << c.format << "\n  gfortran "
                    << (ref.ok ? "ok   [" + ref.record + "]" : std::string("fails"))
                    << "\n  ours     " << (mine.ok ? "ok   [" + mine.record + "]" : std::string("fails"));
    }
  }
  EXPECT_EQ(mismatches, 0) << "of " << cases.size() << " cases";
  EXPECT_LE(engineering * 100, engineering_cases) << "EN differences beyond 1% of EN cases";
  std::printf("%zu cases, %d mismatches, %d known EN rounding differences\n", cases.size(),
              mismatches, engineering);
}

}  // namespace

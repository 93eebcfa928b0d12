// Differential test of the formatter against gfortran's internal WRITE: generated
// format/value cases go to a small Fortran program as bit patterns, and every record
// it writes must match ours byte for byte (and both must agree on failure).
#include <gtest/gtest.h>

#include <bit>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include <unistd.h>

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
    case CaseKind::Integer: value = quill::FormatValue::of(static_cast<std::int32_t>(c.bits)); break;
    case CaseKind::Real4:
      value = quill::FormatValue::of(std::bit_cast<float>(static_cast<std::uint32_t>(c.bits)));
      break;
    case CaseKind::Real8: value = quill::FormatValue::of(std::bit_cast<double>(c.bits)); break;
    case CaseKind::None: count = 0; break;
  }
  const auto status = quill::format_values(c.format, std::span(&value, count), record);
  return {status == quill::WriteStatus::Ok, record};
}

std::vector<Outcome> reference(const std::vector<FormatCase>& cases) {
  // Named per process, so runs of several build trees at once keep their own files.
  const std::string dir = ::testing::TempDir() + "quill_format_" + std::to_string(getpid()) + "_";
  const std::string in = dir + "cases.txt";
  const std::string out = dir + "reference.txt";
  {
    std::ofstream file(in, std::ios::binary);
    for (const FormatCase& c : cases) {
      char head[32];
      std::snprintf(head, sizeof head, "%c %04d ", static_cast<char>(c.kind), c.record_length);
      file << head << hex16(c.bits) << ' ' << c.format << '\n';
    }
  }
  const std::string command =
      std::string("\"") + FORMAT_REFERENCE_PROGRAM + "\" < \"" + in + "\" > \"" + out + "\"";
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
  file.close();
  std::remove(in.c_str());
  std::remove(out.c_str());
  return outcomes;
}

std::uint64_t seed_from_environment() {
  const char* text = std::getenv("QUILL_FORMAT_SEED");
  return text ? std::strtoull(text, nullptr, 10) : 20261209;
}

// The reference writer prints E5.1E0 and E5.1E1 of a double whose exponent is -99 to
// -108 as ".3E-9" and the like, a different number: its work buffer for so narrow a
// field cuts the exponent to two digits. Ours keeps the asterisks of an exponent that
// does not fit; such cases are counted apart, not failed.
bool reference_exponent_cut(const FormatCase& c, const Outcome& mine, const Outcome& ref) {
  if (c.kind != CaseKind::Real8 || !mine.ok || !ref.ok) return false;
  const double v = std::fabs(std::bit_cast<double>(c.bits));
  if (!(v >= 9.5e-110 && v < 1e-98)) return false;
  for (std::size_t at = c.format.find("E5.1E"); at != std::string::npos;
       at = c.format.find("E5.1E", at + 1)) {
    const bool plain_e =
        at == 0 || !std::isalpha(static_cast<unsigned char>(c.format[at - 1])) || c.format[at - 1] == 'P';
    const char e = at + 5 < c.format.size() ? c.format[at + 5] : ' ';
    if (plain_e && (e == '0' || e == '1')) return true;
  }
  return false;
}

TEST(FormatDifferential, MatchesGfortranInternalWrite) {
  const std::size_t count = std::getenv("QUILL_FORMAT_CASES")
                                ? std::strtoull(std::getenv("QUILL_FORMAT_CASES"), nullptr, 10)
                                : 100000;
  const auto cases = quill_test::generate_format_cases(seed_from_environment(), count);
  const auto expected = reference(cases);
  ASSERT_EQ(expected.size(), cases.size());
  int mismatches = 0;
  int engineering_cases = 0;
  int cut_exponents = 0;
  for (std::size_t i = 0; i < cases.size(); ++i) {
    const FormatCase& c = cases[i];
    const Outcome mine = ours(c);
    const Outcome& ref = expected[i];
    const bool same = mine.ok == ref.ok && (!mine.ok || mine.record == ref.record);
    if (c.format.find("EN") != std::string::npos) ++engineering_cases;
    if (same) continue;
    if (reference_exponent_cut(c, mine, ref)) {
      ++cut_exponents;
      std::printf("reference exponent cut: %s %s gfortran [%s] ours [%s]\n", hex16(c.bits).c_str(),
                  c.format.c_str(), ref.record.c_str(), mine.record.c_str());
      continue;
    }
    if (++mismatches <= 60) {
      ADD_FAILURE() << static_cast<char>(c.kind) << ' ' << hex16(c.bits) << " len " << c.record_length
                    << " format " << c.format << "\n  gfortran "
                    << (ref.ok ? "ok   [" + ref.record + "]" : std::string("fails")) << "\n  ours     "
                    << (mine.ok ? "ok   [" + mine.record + "]" : std::string("fails"));
    }
  }
  EXPECT_EQ(mismatches, 0) << "of " << cases.size() << " cases";
  std::printf("%zu cases (%d with EN), %d mismatches, %d cut reference exponents\n", cases.size(),
              engineering_cases, mismatches, cut_exponents);
}

}  // namespace

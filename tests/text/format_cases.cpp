#include "format_cases.hpp"

#include <bit>
#include <cmath>
#include <limits>

namespace quill_test {
namespace {

class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed ^ 0x9E3779B97F4A7C15ULL) {}
  std::uint64_t next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }
  int below(int n) { return static_cast<int>(next() % static_cast<std::uint64_t>(n)); }
  bool chance(int percent) { return below(100) < percent; }

 private:
  std::uint64_t state_;
};

double pick_double(Random& r) {
  static const double notable[] = {0.0,
                                   -0.0,
                                   1.0,
                                   -1.0,
                                   0.5,
                                   0.25,
                                   0.125,
                                   0.0625,
                                   0.1,
                                   0.05,
                                   0.95,
                                   9.5,
                                   99.5,
                                   999.5,
                                   2.5,
                                   0.0005,
                                   0.00049999999999999999,
                                   1e10,
                                   99999997952.0,
                                   1e22,
                                   1e23,
                                   1e100,
                                   1e-100,
                                   1.7976931348623157e308,
                                   2.2250738585072014e-308,
                                   4.9406564584124654e-324,
                                   1e-310,
                                   std::numeric_limits<double>::infinity(),
                                   -std::numeric_limits<double>::infinity(),
                                   std::numeric_limits<double>::quiet_NaN(),
                                   123456789.0,
                                   0.3,
                                   2.0 / 3.0,
                                   1e-5,
                                   9.9999,
                                   0.99999,
                                   999999.0,
                                   1e15,
                                   1e16,
                                   1e17,
                                   0.45,
                                   0.55,
                                   1.005,
                                   5e-324,
                                   1e300,
                                   1e-300};
  switch (r.below(8)) {
    case 0: return notable[r.below(static_cast<int>(sizeof notable / sizeof notable[0]))];
    case 1: {  // powers of ten and their neighbours
      const double p = std::pow(10.0, r.below(60) - 30);
      const int step = r.below(3) - 1;
      double v = step == 0 ? p : std::nextafter(p, step > 0 ? 1e308 : 0.0);
      return r.chance(30) ? -v : v;
    }
    case 2: {  // exact ties at some decimal position: k + 0.5 scaled by a power of two
      const double v = (r.below(2000) + 0.5) / static_cast<double>(1 << r.below(8));
      return r.chance(30) ? -v : v;
    }
    case 3: {  // near ties of decimal rounding: n.5 x 10^-k and neighbours
      const int k = r.below(8);
      double v = (r.below(100000) + 0.5) / std::pow(10.0, k);
      if (r.chance(50)) v = std::nextafter(v, r.chance(50) ? 1e308 : 0.0);
      return r.chance(30) ? -v : v;
    }
    case 4: {  // random bit patterns (any exponent, subnormals, NaN payloads)
      return std::bit_cast<double>(r.next());
    }
    case 5: {  // moderate magnitudes
      const double v = static_cast<double>(r.next() % 2000000001ULL) / std::pow(10.0, r.below(12));
      return r.chance(30) ? -v : v;
    }
    case 6: {  // values that round to nines: 9.99..9x
      const int n = 1 + r.below(15);
      double v = 1.0 - std::pow(10.0, -n) * (0.1 + 0.8 * (r.below(100) / 100.0));
      v *= std::pow(10.0, r.below(20) - 10);
      return r.chance(30) ? -v : v;
    }
    case 7:
      if (r.chance(30)) {  // exponents of one to three digits, for short exponent fields
        const double v = (1 + r.below(9)) * std::pow(10.0, (r.below(2) ? 1 : -1) * (5 + r.below(300)));
        return r.chance(30) ? -v : v;
      }
      [[fallthrough]];
    default: {
      const double v = std::ldexp(static_cast<double>(r.next() >> 11), r.below(200) - 150);
      return r.chance(30) ? -v : v;
    }
  }
}

std::int32_t pick_integer(Random& r) {
  static const std::int32_t notable[] = {
      0, 1, -1, 7, -7, 42, 99, 100, -100, 999, 1000, 2147483647, -2147483647 - 1, 65535, -65536, 255};
  if (r.chance(30)) return notable[r.below(static_cast<int>(sizeof notable / sizeof notable[0]))];
  const std::uint64_t bits = r.next();
  switch (r.below(4)) {
    case 0: return static_cast<std::int32_t>(bits % 10);
    case 1: return static_cast<std::int32_t>(static_cast<std::int64_t>(bits % 200001) - 100000);
    default: return static_cast<std::int32_t>(static_cast<std::uint32_t>(bits));
  }
}

std::string num(int n) { return std::to_string(n); }

// One data edit descriptor suited to kind.
std::string data_descriptor(Random& r, CaseKind kind) {
  const int w = r.below(31);
  const int wp = 1 + r.below(30);
  const int d = r.below(16);
  const int e = r.below(5);
  if (kind == CaseKind::Integer) {
    switch (r.below(7)) {
      case 0:
      case 1: return "I" + num(w);
      case 2: return "I" + num(w) + "." + num(w == 0 ? r.below(12) : r.below(w + 1));
      case 3: return std::string(1, "BOZ"[r.below(3)]) + num(w);
      case 4:
        return std::string(1, "BOZ"[r.below(3)]) + num(w) + "." + num(w == 0 ? r.below(34) : r.below(w + 1));
      case 5: return "G" + num(wp) + "." + num(d);
      default: return "G0";
    }
  }
  const int dd = r.below(3) == 0 ? d : r.below(8);
  switch (r.below(18)) {
    case 0:
    case 1:
    case 2: return "F" + num(w) + "." + num(w == 0 ? dd : (r.chance(80) ? r.below(w) : dd));
    case 3: return "E" + num(w) + "." + num(dd);
    case 4: return "E" + num(w) + "." + num(dd) + "E" + num(e);
    case 5: return "ES" + num(w) + "." + num(dd) + (r.chance(30) ? "E" + num(e) : "");
    case 6: return "EN" + num(r.chance(10) ? 0 : wp) + "." + num(dd) + (r.chance(30) ? "E" + num(e) : "");
    case 7: return "D" + num(r.chance(10) ? 0 : wp) + "." + num(dd);
    case 8:
    case 9:
    case 10: return "G" + num(wp) + "." + num(1 + r.below(15));
    case 11: return "G" + num(wp) + "." + num(1 + r.below(15)) + "E" + num(e);
    case 12: return r.chance(50) ? "G0" : "G0." + num(1 + r.below(15));
    case 13: return std::string(1, "BOZ"[r.below(3)]) + num(r.below(70));
    case 14:
      if (r.chance(50)) return "E0." + num(dd);
      // Narrow fields with short exponents, for exponents that do not fit them.
      return std::string(r.chance(50) ? "E" : (r.chance(50) ? "ES" : "EN")) + num(3 + r.below(6)) + "." +
             num(r.below(4)) + "E" + num(r.below(3));
    case 16: {
      // Zero decimals: Gw.0 is the E form, which needs a scale factor of 1; G0.0 is G0.
      const std::string scale = r.chance(70) ? "1P," : "";
      return scale + "G" + num(r.chance(20) ? 0 : wp) + ".0" + (r.chance(40) ? "E" + num(e) : "");
    }
    case 17: return "G0." + num(r.below(4) == 0 ? 0 : dd) + "E" + num(e);
    default: return "F" + num(w) + "." + num(dd);
  }
}

std::string control_prefix(Random& r) {
  std::string s;
  const int n = r.below(4);
  for (int i = 0; i < n; ++i) {
    switch (r.below(13)) {
      case 11: {
        static const char* const modes[] = {"RN,", "RZ,", "RU,", "RD,", "RC,", "RP,"};
        s += modes[r.below(6)];
        break;
      }
      case 12: s += r.chance(50) ? "DC," : "DP,"; break;
      case 0: s += num(1 + r.below(5)) + "X,"; break;
      case 1: s += "T" + num(1 + r.below(10)) + ","; break;
      case 2: s += "TL" + num(1 + r.below(5)) + ","; break;
      case 3: s += "TR" + num(1 + r.below(5)) + ","; break;
      case 4: s += "SP,"; break;
      case 5: s += r.chance(50) ? "SS," : "S,"; break;
      case 6: s += num(r.below(7) - 3) + "P,"; break;
      case 7: s += r.chance(50) ? "'ab'," : "\"it\"\"s\","; break;
      case 8: s += r.chance(50) ? "BN," : "BZ,"; break;
      case 9: s += "1P"; break;  // runs straight into the descriptor
      default: s += "'*',"; break;
    }
  }
  return s;
}

std::string control_suffix(Random& r) {
  switch (r.below(10)) {
    case 0: return ",'x'";
    case 1: return ",:,'y'";
    case 2: return ",I3";
    case 3: return ",2X,'z'";
    case 4: return ",/";
    case 5: return ",T2,'q'";
    default: return "";
  }
}

}  // namespace

std::vector<FormatCase> generate_format_cases(std::uint64_t seed, std::size_t count) {
  Random r(seed);
  std::vector<FormatCase> cases;
  cases.reserve(count);
  while (cases.size() < count) {
    FormatCase c;
    const int pick = r.below(10);
    c.kind = pick < 3 ? CaseKind::Integer : (pick < 5 ? CaseKind::Real4 : CaseKind::Real8);
    if (r.chance(2)) c.kind = CaseKind::None;
    switch (c.kind) {
      case CaseKind::Integer: c.bits = static_cast<std::uint32_t>(pick_integer(r)); break;
      case CaseKind::Real4:
        c.bits = std::bit_cast<std::uint32_t>(static_cast<float>(pick_double(r)));
        if (r.chance(10)) c.bits = static_cast<std::uint32_t>(r.next());
        if (r.chance(10)) {
          // The reals next to a power of ten, where a carry changes the exponent.
          const auto p = std::bit_cast<std::uint32_t>(static_cast<float>(std::pow(10.0, r.below(80) - 42)));
          c.bits = (p + static_cast<std::uint32_t>(r.below(5)) - 2U) | (r.chance(30) ? 0x80000000U : 0U);
        }
        break;
      case CaseKind::Real8: c.bits = std::bit_cast<std::uint64_t>(pick_double(r)); break;
      case CaseKind::None: break;
    }
    c.record_length = r.chance(85) ? 40 : 1 + r.below(40);
    std::string body;
    if (c.kind == CaseKind::None) {
      body = r.chance(50) ? "'abc',2X,'d'" : "3('x'),T2,\"y\"";
    } else if (r.chance(15)) {
      // Groups and repeat counts around the descriptor.
      body = num(1 + r.below(3)) + "(" + control_prefix(r) + data_descriptor(r, c.kind) + ")";
    } else {
      body = control_prefix(r) + data_descriptor(r, c.kind) + control_suffix(r);
    }
    c.format = "(" + body + ")";
    cases.push_back(std::move(c));
  }
  return cases;
}

}  // namespace quill_test

// How Gw.d chooses between its F and E forms, shared by the general writer and the
// single-descriptor fast path.
#pragma once

#include <array>

namespace quill {

// 10^k as k repeated multiplications by 10 in Real, the powers the rule below uses
// (beyond 10^10 a 32-bit real's product differs from the nearest real to 10^k).
template <typename Real>
inline constexpr std::array<Real, 38> kRepeatedPowers = [] {
  std::array<Real, 38> powers{};
  Real p = 1;
  for (Real& x : powers) {
    x = p;
    p *= Real(10);
  }
  return powers;
}();

template <typename Real>
Real repeated_power(int k) {
  if (k < static_cast<int>(kRepeatedPowers<Real>.size())) {
    return kRepeatedPowers<Real>[static_cast<std::size_t>(k)];
  }
  Real p = kRepeatedPowers<Real>.back();
  for (int i = static_cast<int>(kRepeatedPowers<Real>.size()) - 1; i < k; ++i) p *= Real(10);
  return p;
}

// For Gw.d: the number of integer digits s (0..d) of the F form, or -1 for the E form.
// With r the rounding's reach (0.5 nearest, 1 away from zero, 0 towards it), the bounds
// are 10^s (1 - r 10^-d) in the value's own precision, the lowest one through double
// (so 10^11 as a 32-bit real is 99999997952). The top is tested as 10^d - m against r,
// which under rounding away from zero lets 10^d - 1 itself stay in F form.
template <typename Real>
int general_scale(Real m, int d, Real r) {
  if (m == Real(0)) return 1;
  const Real exp_d = repeated_power<Real>(d);
  const Real r_sc = Real(1) - r / exp_d;
  const Real low = static_cast<Real>(0.1 * static_cast<double>(r_sc));
  const Real top = exp_d - m;
  if (m < low || (r < Real(1) && r >= top) || (r == Real(1) && Real(1) > top)) return -1;
  for (int s = 0; s < d; ++s) {
    if (m < repeated_power<Real>(s) * r_sc) return s;
  }
  return d;
}

}  // namespace quill

// ZORQelI::Mint: a signed 32-bit integer that may be unset.
#ifndef ZORQelIMint_h
#define ZORQelIMint_h

#include <climits>
#include <cstdint>

namespace ZORQelI {

// A position, width, bound or instance number that may be missing.  The
// missing value is UNSET, the most negative 32-bit integer; a default
// constructed Mint is UNSET.  Converts implicitly from and to int32_t, so
// `Mint m = 3; int i = m;` and `m == Mint::UNSET` all work.
//
// Contract: a plain value; nothing raises.
class Mint {
 public:
  constexpr Mint() : value_(INT32_MIN) {}
  constexpr Mint(std::int32_t v) : value_(v) {}
  constexpr operator std::int32_t() const { return value_; }

  // Whether a value is present (the value is not UNSET).
  constexpr bool IsSet() const { return value_ != INT32_MIN; }

  static const Mint UNSET;

 private:
  std::int32_t value_;
};

inline constexpr Mint Mint::UNSET{INT32_MIN};

}  // namespace ZORQelI

#endif

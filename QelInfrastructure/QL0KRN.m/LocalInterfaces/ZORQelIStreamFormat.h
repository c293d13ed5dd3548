// ZORQelIStreamFormat: the "%d" and "%f" texts of the printers, written into
// a caller's buffer on the stack.
#ifndef ZORQelIStreamFormat_h
#define ZORQelIStreamFormat_h

#include <cfenv>
#include <clocale>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

namespace ZORQelIStreamFormat {

// Room for the texts below: at most 11 characters for an integer, 27 for a
// real that Real() formats (sign, 19 digits, point, 6 decimals).
constexpr std::size_t kRoom = 32;

// Writes the digits of u, most significant first; returns their count.
inline std::size_t Digits(char* out, std::uint64_t u) {
  char reversed[20];
  std::size_t n = 0;
  do {
    reversed[n++] = static_cast<char>('0' + u % 10);
    u /= 10;
  } while (u != 0);
  for (std::size_t k = 0; k < n; ++k) out[k] = reversed[n - 1 - k];
  return n;
}

// The "%d" text of v; returns its length (no NUL is written).
inline std::size_t Integer(char* out, std::int32_t v) {
  std::size_t len = 0;
  std::uint32_t magnitude = static_cast<std::uint32_t>(v);
  if (v < 0) {
    out[len++] = '-';
    magnitude = 0u - magnitude;  // also right for the most negative value
  }
  return len + Digits(out + len, magnitude);
}

// The "%f" text of v, when it can be produced exactly here; returns its
// length (no NUL is written), or 0 when the C library must format v.
//
// Exactness: v is m * 2^e with m < 2^53.  For e < 0 the six-decimal value
// is m * 10^6 / 2^-e, computed in 128 bits (m * 10^6 < 2^73) and rounded to
// nearest with ties to even on the exact remainder, which is what the C
// library does in the to-nearest rounding mode.  Left to the C library:
// infinities and NaNs, |v| >= 2^63, another rounding mode, and a locale
// whose decimal point is not ".".
inline std::size_t Real(char* out, double v) {
  std::uint64_t bits;
  std::memcpy(&bits, &v, sizeof bits);
  const int biased = static_cast<int>((bits >> 52) & 0x7FF);
  std::uint64_t m = bits & ((std::uint64_t{1} << 52) - 1);
  int e;
  if (biased == 0) {
    e = -1074;  // zero and subnormals
  } else {
    m |= std::uint64_t{1} << 52;
    e = biased - 1075;
  }
  if (biased == 0x7FF || e > 10) return 0;  // not finite, or |v| >= 2^63
  if (std::fegetround() != FE_TONEAREST) return 0;
  const char* point = std::localeconv()->decimal_point;
  if (point[0] != '.' || point[1] != '\0') return 0;

  std::uint64_t whole;
  std::uint32_t decimals;
  if (e >= 0) {
    whole = m << e;
    decimals = 0;
  } else {
    const int shift = -e;
    unsigned __int128 q = 0;
    // With shift >= 75 the value is below 2^73 / 2^74: it rounds to zero.
    if (shift < 75) {
      const unsigned __int128 scaled = static_cast<unsigned __int128>(m) * 1000000u;
      q = scaled >> shift;
      const unsigned __int128 rest = scaled - (q << shift);
      const unsigned __int128 half = static_cast<unsigned __int128>(1) << (shift - 1);
      if (rest > half || (rest == half && (q & 1) != 0)) ++q;
    }
    if ((q >> 64) == 0) {
      const std::uint64_t small = static_cast<std::uint64_t>(q);
      whole = small / 1000000u;
      decimals = static_cast<std::uint32_t>(small % 1000000u);
    } else {
      whole = static_cast<std::uint64_t>(q / 1000000u);
      decimals = static_cast<std::uint32_t>(q % 1000000u);
    }
  }
  std::size_t len = 0;
  if (bits >> 63) out[len++] = '-';  // also for -0 and for what rounds to 0
  len += Digits(out + len, whole);
  out[len++] = '.';
  for (int k = 5; k >= 0; --k) {
    out[len + static_cast<std::size_t>(k)] = static_cast<char>('0' + decimals % 10);
    decimals /= 10;
  }
  return len + 6;
}

// The "%f" text of any v by the C library: first into a 32-byte buffer,
// then, for a text that does not fit (more than 24 integer digits), into a
// buffer of the size the first attempt reported, so it is printed whole.
inline std::string RealByTheCLibrary(double v) {
  char buffer[kRoom];
  const int n = std::snprintf(buffer, sizeof buffer, "%f", v);
  if (n >= 0 && static_cast<std::size_t>(n) < sizeof buffer) {
    return std::string(buffer, static_cast<std::size_t>(n));
  }
  std::string big(static_cast<std::size_t>(n) + 1, '\0');
  std::snprintf(&big[0], big.size(), "%f", v);
  big.resize(static_cast<std::size_t>(n));
  return big;
}

}  // namespace ZORQelIStreamFormat

#endif

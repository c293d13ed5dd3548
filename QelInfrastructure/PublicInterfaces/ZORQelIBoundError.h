// ZORQelI::BoundError: a position or range outside the valid positions.
#ifndef ZORQelIBoundError_h
#define ZORQelIBoundError_h

#include "ZORQelIException.h"

namespace ZORQelI {

// Parameters (in this order): first and last index of the offending position
// or range, lower and upper bound of the valid positions (high < low when
// there is none).
//
// Print layout, for BoundError(5, 5, 0, 3):
//   qualified exception : <file> <line>: BoundError
//   index 5 not in range [0..3]
// and for a range, BoundError(2, 7, 0, 4), the second line is
//    range [2..7] didn't fit in array bounds  [0..4]
// and with no valid position it ends with " array is empty".
//
// Contract: made with new and raised through ZORQELI_RAISE; once thrown it
// belongs to the error component.  Raised by the containers (and by
// providers, where their headers say so) for a position or range outside
// their elements.
class QL0KRN_EXPORT BoundError : public Exception {
  ZORQELI_ERROR_CLASS_MEMBERS(BoundError)
 public:
  static constexpr const char* __CLASSNAME__ = "ZORQelI::BoundError";

  BoundError(int first, int last, int low, int high);
  ~BoundError() override;

  void Print(std::ostream& ot) const override;
};

}  // namespace ZORQelI

#endif

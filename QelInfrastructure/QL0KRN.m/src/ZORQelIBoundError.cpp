#include "ZORQelIBoundError.h"

#include <ostream>

namespace ZORQelI {

ZORQELI_ERROR_CLASS_DEFINE(BoundError, "ZORQelI::BoundError", Exception::MetaObject())

BoundError::BoundError(int first, int last, int low, int high)
    : Exception(ZORUnicodeString("BoundError")) {
  SetParameters(4, first, last, low, high);
}

BoundError::~BoundError() = default;

void BoundError::Print(std::ostream& ot) const {
  const std::vector<int>& p = GetParameters();
  // A bound error always has its four parameters; guard against a client
  // that replaced them with fewer.
  int first = p.size() > 0 ? p[0] : 0, last = p.size() > 1 ? p[1] : 0;
  int low = p.size() > 2 ? p[2] : 0, high = p.size() > 3 ? p[3] : -1;
  ot << "qualified exception : ";
  PrintPosition(ot);
  ot << static_cast<const char*>(message) << std::endl;
  if (first == last)
    ot << "index " << first << " not in range";
  else
    ot << " range [" << first << ".." << last << "] didn't fit in array bounds ";
  if (high < low)
    ot << " array is empty\n";
  else
    ot << " [" << low << ".." << high << "]\n";
}

}  // namespace ZORQelI

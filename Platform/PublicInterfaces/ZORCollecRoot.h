// Root of the collection classes.
#ifndef ZORCollecRoot_h
#define ZORCollecRoot_h

#include "ZORPlatformExport.h"

// Collections are deleted through this base, so its destructor is virtual.
class ZOR_PLATFORM_EXPORT ZORCollecRoot {
 public:
  ZORCollecRoot() = default;
  ZORCollecRoot(const ZORCollecRoot&) = default;
  ZORCollecRoot& operator=(const ZORCollecRoot&) = default;
  virtual ~ZORCollecRoot();
};

#endif

// ZORQelIMemExpressWriter: writes a schema of the in-memory provider as
// ISO 10303-11 text.
#ifndef ZORQelIMemExpressWriter_h
#define ZORQelIMemExpressWriter_h

#include <string>

class ZORQelIMemModelerIMP;

// What is written is described at ZORQelIMemModelerIMP::ExpressText.  Types
// are written without recursion, however deeply aggregates nest.
class ZORQelIMemExpressWriter {
 public:
  static std::string Write(const ZORQelIMemModelerIMP& m);
};

#endif

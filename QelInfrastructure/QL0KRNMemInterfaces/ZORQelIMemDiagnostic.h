// ZORQelIMemDiagnostic: an error or warning found while reading a schema.
#ifndef ZORQelIMemDiagnostic_h
#define ZORQelIMemDiagnostic_h

#include <string>

#include "QL0KRN.h"

// A value: the file, the 1-based line and column (columns count bytes), and
// the message.  Text() is the line a compiler would print:
//   FILE:LINE:COLUMN: error: MESSAGE
struct ZORQelIMemDiagnostic {
  ZORQelI::string file;
  int line = 0;
  int column = 0;
  bool warning = false;
  ZORQelI::string message;

  std::string Text() const {
    return std::string(static_cast<const char*>(file)) + ":" + std::to_string(line) + ":" +
           std::to_string(column) + (warning ? ": warning: " : ": error: ") +
           static_cast<const char*>(message);
  }
};

#endif

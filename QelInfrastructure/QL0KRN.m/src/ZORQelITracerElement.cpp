#include "ZORQelITracerElement.h"

#include <cstring>
#include <ostream>

ZORQelI::boolean ZORQelITracerElement::Enable(const char* filter) {
  if (state == -1) {
    if (filter == nullptr) {
      state = 0;
    } else if (filter[0] == '!') {
      state = std::strstr(text, filter + 1) == nullptr ? 1 : 0;
    } else {
      state = std::strstr(text, filter) != nullptr ? 1 : 0;
    }
  }
  return IsEnabled();
}

void ZORQelITracerElement::Print(std::ostream& ot) { ot << text << ' ' << line; }

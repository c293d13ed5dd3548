// ZORQelIErrorClass: one error recorded by a parsable unit.
#ifndef ZORQelIErrorClass_h
#define ZORQelIErrorClass_h

#include "ZORQelI.h"

// A value: the error's message and the position it was found at (in the
// unit's own counting; UNSET when unknown).  Copied freely.
//
// Contract: a value; nothing raises, and the getters return copies.
class QL0KRN_EXPORT ZORQelIErrorClass {
 public:
  static constexpr const char* __CLASSNAME__ = "ZORQelIErrorClass";

  // No message, position UNSET.
  ZORQelIErrorClass();
  ZORQelIErrorClass(ZORQelI::string message, ZORQelI::integer position);

  ZORQelI::string GetMessage() const;
  ZORQelI::integer GetPosition() const;

 private:
  ZORQelI::string message;
  ZORQelI::integer position;
};

#endif

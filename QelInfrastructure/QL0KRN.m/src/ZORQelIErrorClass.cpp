#include "ZORQelIErrorClass.h"

#include "ZORQelITracer.h"

ZORQelIErrorClass::ZORQelIErrorClass() : message(), position(ZORQelI::Mint::UNSET) {
  ZORQELI_TRACE(" ZORQelIErrorClass::ZORQelIErrorClass()");
}

ZORQelIErrorClass::ZORQelIErrorClass(ZORQelI::string message_, ZORQelI::integer position_)
    : message(message_), position(position_) {
  ZORQELI_TRACE(" ZORQelIErrorClass::ZORQelIErrorClass(ZORQelI::string message, ZORQelI::integer position)");
}

ZORQelI::string ZORQelIErrorClass::GetMessage() const {
  ZORQELI_TRACE("ZORQelI::string ZORQelIErrorClass::GetMessage() const");
  return message;
}

ZORQelI::integer ZORQelIErrorClass::GetPosition() const {
  ZORQELI_TRACE("ZORQelI::integer ZORQelIErrorClass::GetPosition() const");
  return position;
}

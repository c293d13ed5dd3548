// ZORQelIStringStream: a text sink that accumulates text in memory.
#ifndef ZORQelIStringStream_h
#define ZORQelIStringStream_h

#include "ZORQelI.h"
#include "ZORQelIStream.h"

// Appending is amortised constant time; Get() returns a copy of the text.
//
// Contract: raises nothing (running out of memory is the standard library's
// std::bad_alloc).  Owned by whoever made it; Get returns a copy that stays
// valid after the stream changes or is destroyed.
class QL0KRN_EXPORT ZORQelIStringStream : public ZORQelIStream {
 public:
  static constexpr const char __CLASSNAME__[] = "ZORQelIStringStream";

  ZORQelIStringStream();
  ~ZORQelIStringStream() override;

  using ZORQelIStream::Print;
  // Empties the text.
  void Start() override;
  // A copy of the text; the stream is unchanged.
  ZORQelI::string Get() const override;
  // Appends one line feed (through Print(ZORQelI::string)).
  ZORQelIStream& Nl() override;
  ZORQelIStream& Print(ZORQelI::string s) override;
  ZORQelIStream& Print(ZORQelI::character s) override;

 private:
  // The EXPRESS form printer owns its string stream and appends to the
  // buffer directly when nothing can observe the pieces of its text (see
  // ZORQelIExpressForm.cpp).
  friend class ZORQelIExpressForm;

  ZORQelI::string buffer;
};

#endif

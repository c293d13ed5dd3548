// ZORQelIExpressFormDirect: the direct path of the EXPRESS form printer's
// instance text.  Not a public header.
//
// Two paths produce the same bytes.  The general one (ZORQelIExpressForm's
// instance text) follows the algorithm piece by piece: every piece of text
// goes through the printer's own virtual Print(ZORQelI::string), numbers
// through its virtual number overloads.  The direct one appends the pieces to
// the stream's buffer and formats numbers on the stack; it is taken only when
// nobody can tell the difference:
//  - the printer is exactly a ZORQelIExpressForm, so the virtual text
//    operations it would call are the ones the printer writes (a subclass
//    that overrides one of them sees every piece through it);
//  - the call trace is off, so the frames of those text operations, which
//    would only ever write trace lines, may be left out.
// The frames of PrintLong, PrintInstance and Print(const ZORQelIInstance&)
// are kept on the direct path too: they enclose calls into the provider,
// whose code may take a stack dump.
//
// A population prints many instances of few entities, so the direct path
// keeps the entity of the previous line, its name and its attributes in
// inheritance order, and collects them again only when an instance of
// another entity comes (what was collected stays alive through the handles
// held here, so a pointer comparison identifies the entity).  Where the
// instance's provider registered a reader (ZORQelIExpressFormValues.h), it
// reads the plain values through it rather than through a value instance
// and its handle operations; the reader answers what those would.
#ifndef ZORQelIExpressFormDirect_h
#define ZORQelIExpressFormDirect_h

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <typeinfo>
#include <vector>

#include "ZORQelIAttr.h"
#include "ZORQelIEntity.h"
#include "ZORQelIExpressForm.h"
#include "ZORQelIExpressFormText.h"
#include "ZORQelIExpressFormValues.h"
#include "ZORQelIInstance.h"
#include "ZORQelIStreamFormat.h"
#include "ZORQelITracer.h"
#include "ZORQelIType.h"

namespace ZORQelIExpressFormValues {
// The reader registered for the most-derived class of `instance`, or null
// (ZORQelIExpressFormValues.cpp).
Reader Find(const ZORQelIObjectIMP& instance);
}  // namespace ZORQelIExpressFormValues

// The text of one call of the printer.  While it lives, only this object
// writes to the stream's buffer.
class ZORQelIExpressFormDirect {
 public:
  // Whether a call of `printer` may take the direct path: the printer is
  // exactly a ZORQelIExpressForm and the call trace is off (see above).
  static bool Applies(const ZORQelIExpressForm& printer) {
    const ZORQelITracerContext* context = ZORQelITracer::context_;
    return context != nullptr && context->enabled == 0 &&
           typeid(printer) == typeid(ZORQelIExpressForm);
  }
  ZORQelIExpressFormDirect(ZORQelI::string& text, ZORQelI::integer indentation)
      : text_(text), indentation_(indentation) {}
  ZORQelIExpressFormDirect(const ZORQelIExpressFormDirect&) = delete;
  ZORQelIExpressFormDirect& operator=(const ZORQelIExpressFormDirect&) = delete;
  // A raise that unwinds the printing still leaves in the stream all the
  // text printed before it.
  ~ZORQelIExpressFormDirect() {
    try {
      Flush();
    } catch (...) {
      // Out of memory while unwinding: the raise in flight is the one to
      // report.
    }
  }

  // PrintLong's text of X, under a PrintLong frame.
  void FramedLine(const ZORQelIInstance& X) {
    ZORQELI_TRACE_LINE("void ZORQelIExpressForm::PrintLong(const ZORQelIInstance& X)", 333);
    Line(X);
  }
  // PrintLong's text of X.
  void Line(const ZORQelIInstance& X);
  // PrintInstance's text of x.
  void ValueText(const ZORQelIInstance& x);
  // Hands the waiting pieces over to the stream's buffer.
  void Flush() {
    if (waiting_ == 0) return;
    text_.Append(pending_, waiting_);
    waiting_ = 0;
  }

 private:
  void FramedValue(const ZORQelIInstance& x) {
    ZORQELI_TRACE_LINE("ZORQelIStream& ZORQelIExpressForm::PrintInstance(const ZORQelIInstance& x)",
                       349);
    ValueText(x);
  }
  // PrintInstance's text of the value of attribute k of an instance, when
  // its provider's reader gives it; false when the reader declines it.  The
  // frame is PrintInstance's, since the reader is the provider's code.
  bool ReadValue(ZORQelIExpressFormValues::Reader reader, const ZORQelIObjectIMP* instance,
                 std::size_t k) {
    ZORQELI_TRACE_LINE("ZORQelIStream& ZORQelIExpressForm::PrintInstance(const ZORQelIInstance& x)",
                       357);
    ZORQelIExpressFormValues::Value v;
    if (!reader(instance, attributeIMPs_[k], static_cast<int>(k), v)) return false;
    switch (v.kind) {
      case ZORQelIExpressFormValues::Value::Unset:
        Put("$");
        break;
      case ZORQelIExpressFormValues::Value::Integer:
        Integer(v.integer);
        break;
      case ZORQelIExpressFormValues::Value::Real:
        Real(v.real);
        break;
      case ZORQelIExpressFormValues::Value::String:
        Put("'");
        PutText(v.text);
        Put("'");
        break;
      case ZORQelIExpressFormValues::Value::Binary:
        Put("\"");
        PutText(v.text);
        Put("\"");
        break;
      case ZORQelIExpressFormValues::Value::Boolean:
        if (v.boolean == ZORQelI::Itrue)
          Put(".T.");
        else
          Put(".F.");
        break;
      case ZORQelIExpressFormValues::Value::Reference:
        Put("#");
        Integer(v.integer);
        break;
    }
    return true;
  }
  // An aggregate element: the virtual Print(const ZORQelIInstance&), which
  // calls PrintInstance.
  void Element(const ZORQelIInstance& x) {
    ZORQELI_TRACE_LINE("ZORQelIStream& ZORQelIExpressForm::Print(const ZORQelIInstance& x)", 396);
    FramedValue(x);
  }

  // Room for n more bytes among the waiting ones.
  char* Room(std::size_t n) {
    if (waiting_ + n > sizeof pending_) Flush();
    return pending_ + waiting_;
  }
  // An ASCII piece of at most kRoom bytes.
  template <std::size_t N>
  void Put(const char (&piece)[N]) {
    static_assert(N - 1 <= ZORQelIStreamFormat::kRoom, "a short piece");
    std::memcpy(Room(N - 1), piece, N - 1);
    waiting_ += N - 1;
  }
  // Text of the dictionary: after the waiting pieces, straight to the buffer.
  void Put(const ZORQelI::string& piece) {
    Flush();
    text_ += piece;
  }
  // A narrow rendering, read as ZORQelI::string(text) would read it.
  void PutText(const char* text) {
    Flush();
    text_.Append(text, std::strlen(text));
  }
  void Integer(ZORQelI::integer v) {
    waiting_ += ZORQelIStreamFormat::Integer(Room(ZORQelIStreamFormat::kRoom), v);
  }
  void Real(ZORQelI::real v) {
    const std::size_t n = ZORQelIStreamFormat::Real(Room(ZORQelIStreamFormat::kRoom), v);
    if (n != 0) {
      waiting_ += n;
      return;
    }
    Flush();
    const std::string whole = ZORQelIStreamFormat::RealByTheCLibrary(v);
    text_.Append(whole.data(), whole.size());
  }
  // Nl2: ";", a line end and the indentation; the line is then complete.
  void EndStatement() {
    Put(";\n");
    for (ZORQelI::integer left = indentation_; left > 0;) {
      const std::size_t n = std::min(static_cast<std::size_t>(left), ZORQelIStreamFormat::kRoom);
      std::memset(Room(n), ' ', n);
      waiting_ += n;
      left -= static_cast<ZORQelI::integer>(n);
    }
    Flush();
  }
  // The entity of X's line: remembered from the previous line, or collected
  // now (PrintLong's steps 3 to 5, with "=" and the name printed between
  // them as PrintLong prints them).
  void Entity(const ZORQelIType& type);

  ZORQelI::string& text_;
  const ZORQelI::integer indentation_;
  // ASCII pieces (punctuation, numbers) wait here and reach the buffer in
  // one append: before any other text, at the end of a line, and when the
  // printing ends, normally or by a raise.
  char pending_[256];
  std::size_t waiting_ = 0;
  // Null until an entity is fully collected.
  const ZORQelIObjectIMP* entityIMP_ = nullptr;
  ZORQelIEntity entity_;
  ZORQelI::string name_;
  // In inheritance order: the root super entity's first.
  std::vector<ZORQelIAttr> attributes_;
  std::vector<const ZORQelIObjectIMP*> attributeIMPs_;
  // The provider's reader for the instances of the previous line's class.
  const std::type_info* instanceClass_ = nullptr;
  ZORQelIExpressFormValues::Reader reader_ = nullptr;
};

#endif

#include "ZORQelIExpressForm.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string>
#include <typeinfo>
#include <utility>
#include <vector>

#include "ZORQelIArray.h"
#include "ZORQelIAttr.h"
#include "ZORQelIEntity.h"
#include "ZORQelIExpressFormValues.h"
#include "ZORQelIInstance.h"
#include "ZORQelIInstances.h"
#include "ZORQelIInvalidType.h"
#include "ZORQelIModeler.h"
#include "ZORQelIType.h"
#include "ZORQelIWrapper.h"
#include "ZORQelIRaise.h"
#include "ZORQelIStackRoom.h"
#include "ZORQelIStreamFormat.h"
#include "ZORQelIStringStream.h"
#include "ZORQelITracer.h"

ZORQelIExpressForm::ZORQelIExpressForm() : stream(nullptr), indentation(0) {
  ZORQELI_TRACE(" ZORQelIExpressForm::ZORQelIExpressForm()");
  stream = new ZORQelIStringStream();
}

ZORQelIExpressForm::~ZORQelIExpressForm() {
  ZORQELI_TRACE(" ZORQelIExpressForm::~ZORQelIExpressForm()");
  delete stream;
}

void ZORQelIExpressForm::Start() {
  ZORQELI_TRACE("void ZORQelIExpressForm::Start()");
  stream->Start();
}

ZORQelI::string ZORQelIExpressForm::Get() const {
  ZORQELI_TRACE("ZORQelI::string ZORQelIExpressForm::Get() const");
  return stream->Get();
}

ZORQelIStream& ZORQelIExpressForm::Nl() {
  ZORQELI_TRACE("ZORQelIStream& ZORQelIExpressForm::Nl()");
  stream->Nl();
  for (ZORQelI::integer i = 0; i < indentation; ++i) Print(ZORQelI::string(" "));
  return *this;
}

ZORQelIStream& ZORQelIExpressForm::Print(ZORQelI::string s) {
  ZORQELI_TRACE("ZORQelIStream& ZORQelIExpressForm::Print(ZORQelI::string s)");
  stream->Print(std::move(s));  // s is this call's own copy
  return *this;
}

ZORQelIStream& ZORQelIExpressForm::Print(ZORQelI::character s) {
  ZORQELI_TRACE("ZORQelIStream& ZORQelIExpressForm::Print(ZORQelI::character s)");
  stream->Print(s);
  return *this;
}

ZORQelIStream& ZORQelIExpressForm::Print(ZORQelI::real s) {
  ZORQELI_TRACE("ZORQelIStream& ZORQelIExpressForm::Print(ZORQelI::real s)");
  return ZORQelIPrint::Print(s);
}

ZORQelIStream& ZORQelIExpressForm::Print(ZORQelI::integer s) {
  ZORQELI_TRACE("ZORQelIStream& ZORQelIExpressForm::Print(ZORQelI::integer s)");
  return ZORQelIPrint::Print(s);
}

ZORQelIStream& ZORQelIExpressForm::Print(ZORQelI::boolean s) {
  ZORQELI_TRACE("ZORQelIStream& ZORQelIExpressForm::Print(ZORQelI::boolean s)");
  return ZORQelIPrint::Print(s);
}

ZORQelIStream& ZORQelIExpressForm::Print(const ZORQelI::Mint& X) {
  ZORQELI_TRACE("ZORQelIStream& ZORQelIExpressForm::Print(const ZORQelI::Mint& X)");
  if (!X.IsSet()) return Print(ZORQelI::string("?"));
  return Print(static_cast<ZORQelI::integer>(X));
}

void ZORQelIExpressForm::Nest() {
  ZORQELI_TRACE("void ZORQelIExpressForm::Nest()");
  indentation += 4;
  Nl();
}

void ZORQelIExpressForm::Unnest() {
  ZORQELI_TRACE("void ZORQelIExpressForm::Unnest()");
  indentation -= 4;
  Nl();
}

void ZORQelIExpressForm::Nl2() {
  ZORQELI_TRACE("void ZORQelIExpressForm::Nl2()");
  Print(ZORQelI::string(";"));
  Nl();
}

void ZORQelIExpressForm::Print(ZORQelI::Types X) {
  ZORQELI_TRACE("void ZORQelIExpressForm::Print(ZORQelI::Types X)");
  // The library's one table of kind names; a kind without a name (1, the
  // entity kind, values outside the enumeration) raises and prints nothing.
  const char* name = ZORQelI::KindName(X);
  if (name == nullptr) ZORQELI_RAISE_AT(kKindText, ZORQelI::InvalidType());
  Print(ZORQelI::string(name));
}

void ZORQelIExpressForm::PrintFlags(ZORQelI::string text, ZORQelI::boolean v) {
  ZORQELI_TRACE("void ZORQelIExpressForm::PrintFlags(ZORQelI::string text, ZORQelI::boolean v)");
  Print(text);
  Print(ZORQelI::string(" := "));
  Print(v);
  Nl2();
}

ZORQelIStream& ZORQelIExpressForm::Print(const ZORQelIParamDesc&) {
  ZORQELI_TRACE("ZORQelIStream& ZORQelIExpressForm::Print(const ZORQelIParamDesc&)");
  return *this;
}

namespace {
ZORQelI::string S(const char* text) { return ZORQelI::string(text); }

// Aggregate types and values print their elements inside their own text:
// nesting deeper than the calling thread's stack can take raises instead of
// overflowing it.  (The printed text is left in the printer.)
void CheckNesting(const char* what) {
  if (ZORQelIInternal::StackNearlyExhausted())
    ZORQELI_RAISE(ZORQelI::Exception(ZORQelI::string("ZORQelIExpressForm: ") + what +
                                          " nested too deeply to be printed on this thread's "
                                          "stack"),
                   ZORQELI_SOURCE(ZORQelIExpressForm), __LINE__);
}
}  // namespace

ZORQelIStream& ZORQelIExpressForm::Print(const ZORQelIType& X) {
  ZORQELI_TRACE("ZORQelIStream& ZORQelIExpressForm::Print(const ZORQelIType& X)");
  if (X.IsValid() != ZORQelI::Itrue) return Print(S("Void"));
  if (X.IsAField() == ZORQelI::Itrue) return PrintField(X);
  if (X.IsAggr() != ZORQelI::Itrue) return Print(X.Name());
  return PrintAggregate(X);
}

ZORQelIExpressForm& ZORQelIExpressForm::PrintField(const ZORQelIType& X) {
  ZORQELI_TRACE("ZORQelIExpressForm& ZORQelIExpressForm::PrintField(const ZORQelIType& X)");
  Print(X.PrimitiveType());
  ZORQelI::Mint width = X.Width();
  if (width.IsSet()) {
    Print(S("("));
    Print(static_cast<ZORQelI::integer>(width));
    Print(S(")"));
  }
  if (X.IsFixed() == ZORQelI::Itrue) Print(S(" Fixed "));
  return *this;
}

ZORQelIExpressForm& ZORQelIExpressForm::PrintAggregate(const ZORQelIType& X) {
  ZORQELI_TRACE("ZORQelIExpressForm& ZORQelIExpressForm::PrintAggregate(const ZORQelIType& X)");
  CheckNesting("aggregate types");
  Print(X.PrimitiveType());
  Print(S(" "));
  const ZORQelI::Mint low = X.LowerBound();
  const ZORQelI::Mint high = X.UpperBound();
  if (low.IsSet() || high.IsSet()) {
    Print(S("["));
    Print(low);
    Print(S(":"));
    Print(high);
    Print(S("]"));
  }
  Print(S("of "));
  if (X.IsUnique() == ZORQelI::Itrue) Print(S("unique "));
  if (X.IsOptional() == ZORQelI::Itrue) Print(S("optional "));
  Print(X.SubType());
  return *this;
}

ZORQelIStream& ZORQelIExpressForm::Print(const ZORQelIAttr& X) {
  ZORQELI_TRACE("ZORQelIStream& ZORQelIExpressForm::Print(const ZORQelIAttr& X)");
  Print(X.Name());
  Print(S(" : "));
  Print(X.GetType());
  if (X.IsOptional() == ZORQelI::Itrue) Print(S(" Optional"));
  return *this;
}

ZORQelIExpressForm& ZORQelIExpressForm::PrintEntity(const ZORQelIEntity& ent) {
  ZORQELI_TRACE("ZORQelIExpressForm& ZORQelIExpressForm::PrintEntity(const ZORQelIEntity& ent)");
  Print(S("Entity "));
  Print(ent.Name());
  ZORQelIEntity super = ent.Super();
  if (super.IsValid() == ZORQelI::Itrue) Print(S("subtype of (  ") + super.Name() + " )");
  Nl2();
  Nest();
  for (int i = 0; i < ent.NumberOfAttributes(); ++i) {
    Print(ent.GetAttr(i));
    Nl2();
  }
  Unnest();
  Print(S("End_Entity (*"));
  Print(ent.Name());
  Print(S("*)"));
  Nl2();
  return *this;
}

ZORQelIStream& ZORQelIExpressForm::Print(const ZORQelIModeler& M) {
  ZORQELI_TRACE("ZORQelIStream& ZORQelIExpressForm::Print(const ZORQelIModeler& M)");
  Print(S("Schema ") + M.Name());
  Nl2();
  Nest();
  const int entities = M.GetNumberOfEntities();
  for (int i = 0; i < entities; ++i) PrintEntity(M.GetEntity(i));
  Unnest();
  Print(S("End_Schema (*") + M.Name() + "*)");
  Nl2();
  return *this;
}

ZORQelIStream& ZORQelIExpressForm::Print(const ZORQelIWrapper& X) {
  ZORQELI_TRACE("ZORQelIStream& ZORQelIExpressForm::Print(const ZORQelIWrapper& X)");
  Print(S("Wrapper "));
  Print(X.WrapperName());
  Nl2();
  Nest();
  PrintFlags(S("Instances"), X.HasInstances());
  PrintFlags(S("PersistantInstances"), X.HasPersistantInstances());
  PrintFlags(S("EditableDictionnary"), X.HasEditableDictionnary());
  PrintFlags(S("PersistantDictionnary"), X.HasPersistantDictionnary());
  PrintFlags(S("Expression"), X.HasExpression());
  Unnest();
  Print(S("End_Wrapper (*"));
  Print(X.WrapperName());
  Print(S("*)"));
  Nl2();
  return *this;
}

// --- Instance text ---------------------------------------------------------------
//
// Two paths produce the same bytes.  The general one below each Direct
// branch follows the algorithm piece by piece: every piece of text goes
// through the printer's own virtual Print(ZORQelI::string), numbers through
// its virtual number overloads.  The direct one (DirectText) appends the
// pieces to the stream's buffer and formats numbers on the stack; it is
// taken only when nobody can tell the difference:
//  - the printer is exactly a ZORQelIExpressForm, so the virtual text
//    operations it would call are the ones written here (a subclass that
//    overrides one of them sees every piece through it);
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

namespace {

// The registered readers: a handful at most (one per provider class), so a
// linear search.  Never destroyed, so readers stay usable during the
// process's exit.
std::vector<std::pair<const std::type_info*, ZORQelIExpressFormValues::Reader>>& Readers() {
  static auto* readers =
      new std::vector<std::pair<const std::type_info*, ZORQelIExpressFormValues::Reader>>();
  return *readers;
}

}  // namespace

void ZORQelIExpressFormValues::Register(const std::type_info& type, Reader reader) {
  ZORQELI_TRACE("void ZORQelIExpressFormValues::Register(const std::type_info& type, Reader reader)");
  for (auto& entry : Readers()) {
    if (*entry.first == type) {
      entry.second = reader;
      return;
    }
  }
  Readers().emplace_back(&type, reader);
}

ZORQelIExpressFormValues::Reader ZORQelIExpressFormValues::Find(const ZORQelIObjectIMP& instance) {
  ZORQELI_TRACE("Reader ZORQelIExpressFormValues::Find(const ZORQelIObjectIMP& instance)");
  const std::type_info& type = typeid(instance);
  for (const auto& entry : Readers()) {
    if (*entry.first == type) return entry.second;
  }
  return nullptr;
}

namespace {

bool Direct(const ZORQelIExpressForm& printer) {
  const ZORQelITracerContext* context = ZORQelITracer::context_;
  return context != nullptr && context->enabled == 0 &&
         typeid(printer) == typeid(ZORQelIExpressForm);
}

// The text of one call of the printer.  While it lives, only this object
// writes to the stream's buffer.
class DirectText {
 public:
  DirectText(ZORQelI::string& text, ZORQelI::integer indentation)
      : text_(text), indentation_(indentation) {}
  DirectText(const DirectText&) = delete;
  DirectText& operator=(const DirectText&) = delete;
  // A raise that unwinds the printing still leaves in the stream all the
  // text printed before it.
  ~DirectText() {
    try {
      Flush();
    } catch (...) {
      // Out of memory while unwinding: the raise in flight is the one to
      // report.
    }
  }

  // PrintLong's text of X, under a PrintLong frame.
  void FramedLine(const ZORQelIInstance& X) {
    ZORQELI_TRACE("void ZORQelIExpressForm::PrintLong(const ZORQelIInstance& X)");
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
    ZORQELI_TRACE("ZORQelIStream& ZORQelIExpressForm::PrintInstance(const ZORQelIInstance& x)");
    ValueText(x);
  }
  // PrintInstance's text of the value of attribute k of an instance, when
  // its provider's reader gives it; false when the reader declines it.  The
  // frame is PrintInstance's, since the reader is the provider's code.
  bool ReadValue(ZORQelIExpressFormValues::Reader reader, const ZORQelIObjectIMP* instance,
                 std::size_t k) {
    ZORQELI_TRACE("ZORQelIStream& ZORQelIExpressForm::PrintInstance(const ZORQelIInstance& x)");
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
    ZORQELI_TRACE("ZORQelIStream& ZORQelIExpressForm::Print(const ZORQelIInstance& x)");
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

void DirectText::Entity(const ZORQelIType& type) {
  if (entityIMP_ != nullptr && type.IsValid() == ZORQelI::Itrue && type.RefMe() == entityIMP_) {
    Put("=");
    Put(name_);
    return;
  }
  entityIMP_ = nullptr;
  entity_ = ZORQelIEntity::DownCast(type);
  Put("=");
  name_ = entity_.Name();
  Put(name_);
  // Own attributes last-to-first, then each owner's (ZORQelIEntityIMP::
  // AttributeOwners): reversed, they come in inheritance order.
  attributes_.clear();
  if (entity_.IsValid() == ZORQelI::Itrue) {
    const ZORQelIArray owners = entity_.IMP()->AttributeOwners();
    for (ZORQelI::integer k = 0; k < owners.Size(); ++k) {
      const ZORQelIEntity e = ZORQelIEntity::DownCast(owners.Get(k));
      for (int i = e.NumberOfAttributes() - 1; i >= 0; --i) attributes_.push_back(e.GetAttr(i));
    }
  }
  std::reverse(attributes_.begin(), attributes_.end());
  attributeIMPs_.clear();
  for (const ZORQelIAttr& attribute : attributes_) attributeIMPs_.push_back(attribute.RefMe());
  entityIMP_ = entity_.RefMe();
}

void DirectText::Line(const ZORQelIInstance& X) {
  Put("#");
  const ZORQelI::Mint id = X.GetInstanceId();
  if (id.IsSet())
    Integer(static_cast<ZORQelI::integer>(id));
  else
    Put("?");
  Entity(X.GetType());
  const ZORQelIObjectIMP* instance = X.RefMe();
  if (instanceClass_ == nullptr || typeid(*instance) != *instanceClass_) {
    reader_ = ZORQelIExpressFormValues::Find(*instance);
    instanceClass_ = &typeid(*instance);
  }
  Put("(");
  for (std::size_t k = 0; k < attributes_.size(); ++k) {
    if (k != 0) Put(",");
    if (reader_ == nullptr || !ReadValue(reader_, instance, k))
      FramedValue(X.GetAttr(attributes_[k]));
  }
  Put(")");
  EndStatement();
}

void DirectText::ValueText(const ZORQelIInstance& x) {
  if (x.IsValid() != ZORQelI::Itrue) return Put("$");
  CheckNesting("aggregate values");
  const ZORQelIType type = x.GetType();
  switch (type.PrimitiveType()) {
    case ZORQelI::Iinteger:
      return Integer(x.GetInt());
    case ZORQelI::Ireal:
      return Real(x.GetReal());
    case ZORQelI::Istring:
      Put("'");
      Put(x.GetString());
      return Put("'");
    case ZORQelI::Ibinary:
      Put("\"");
      Put(x.GetString());
      return Put("\"");
    case ZORQelI::Iboolean:
      if (x.GetBoolean() == ZORQelI::Itrue)
        Put(".T.");
      else
        Put(".F.");
      return;
    case ZORQelI::Ientity:
      Put("#");
      return Integer(static_cast<ZORQelI::integer>(x.GetInstanceId()));
    default:
      break;
  }
  if (type.IsAggr() == ZORQelI::Itrue) {
    Put("(");
    const int n = x.Size();
    for (int i = 0; i < n; ++i) {
      if (i != 0) Put(",");
      Element(x.GetInstance(i));
    }
    Put(")");
  }
}

}  // namespace

ZORQelIStream& ZORQelIExpressForm::Print(const ZORQelIInstances& x) {
  ZORQELI_TRACE("ZORQelIStream& ZORQelIExpressForm::Print(const ZORQelIInstances& x)");
  if (Direct(*this)) {
    DirectText direct(stream->buffer, indentation);
    for (ZORQelI::integer i = 0; i < x.Size(); ++i) direct.FramedLine(x.Get(i));
    return *this;
  }
  for (ZORQelI::integer i = 0; i < x.Size(); ++i) PrintLong(x.Get(i));
  return *this;
}

void ZORQelIExpressForm::PrintLong(const ZORQelIInstance& X) {
  ZORQELI_TRACE("void ZORQelIExpressForm::PrintLong(const ZORQelIInstance& X)");
  if (Direct(*this)) return DirectText(stream->buffer, indentation).Line(X);
  Print(S("#"));
  Print(X.GetInstanceId());
  ZORQelIEntity entity = ZORQelIEntity::DownCast(X.GetType());
  Print(S("="));
  Print(entity.Name());
  // The attributes, own ones last-to-first, then each owner's (ZORQelIEntityIMP::
  // AttributeOwners): read backwards, they come in inheritance order.
  ZORQelIArray attributes;
  if (entity.IsValid() == ZORQelI::Itrue) {
    const ZORQelIArray owners = entity.IMP()->AttributeOwners();
    for (ZORQelI::integer k = 0; k < owners.Size(); ++k) {
      const ZORQelIEntity e = ZORQelIEntity::DownCast(owners.Get(k));
      for (int i = e.NumberOfAttributes() - 1; i >= 0; --i) attributes.Add(e.GetAttr(i));
    }
  }
  Print(S("("));
  for (ZORQelI::integer j = attributes.Size() - 1; j >= 0; --j) {
    ZORQelIAttr attribute = ZORQelIAttr::DownCast(attributes.Get(j));
    PrintInstance(X.GetAttr(attribute));
    if (j != 0) Print(S(","));
  }
  Print(S(")"));
  Nl2();
}

ZORQelIStream& ZORQelIExpressForm::Print(const ZORQelIInstance& x) {
  ZORQELI_TRACE("ZORQelIStream& ZORQelIExpressForm::Print(const ZORQelIInstance& x)");
  return PrintInstance(x);
}

ZORQelIStream& ZORQelIExpressForm::PrintInstance(const ZORQelIInstance& x) {
  ZORQELI_TRACE("ZORQelIStream& ZORQelIExpressForm::PrintInstance(const ZORQelIInstance& x)");
  if (Direct(*this)) {
    DirectText(stream->buffer, indentation).ValueText(x);
    return *this;
  }
  if (x.IsValid() != ZORQelI::Itrue) return Print(S("$"));
  CheckNesting("aggregate values");
  switch (x.GetType().PrimitiveType()) {
    case ZORQelI::Iinteger:
      return Print(x.GetInt());
    case ZORQelI::Ireal:
      return Print(x.GetReal());
    case ZORQelI::Istring:
      Print(S("'"));
      Print(x.GetString());
      return Print(S("'"));
    case ZORQelI::Ibinary:
      Print(S("\""));
      Print(x.GetString());
      return Print(S("\""));
    case ZORQelI::Iboolean:
      return Print(S(x.GetBoolean() == ZORQelI::Itrue ? ".T." : ".F."));
    case ZORQelI::Ientity:
      Print(S("#"));
      return Print(static_cast<ZORQelI::integer>(x.GetInstanceId()));
    default:
      break;
  }
  if (x.GetType().IsAggr() == ZORQelI::Itrue) {
    Print(S("("));
    const int n = x.Size();
    for (int i = 0; i < n; ++i) {
      if (i != 0) Print(S(","));
      Print(x.GetInstance(i));
    }
    Print(S(")"));
  }
  return *this;
}

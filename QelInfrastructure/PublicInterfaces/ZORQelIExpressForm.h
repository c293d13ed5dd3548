// ZORQelIExpressForm: the printer of the EXPRESS-like text form.
#ifndef ZORQelIExpressForm_h
#define ZORQelIExpressForm_h

#include "ZORQelI.h"
#include "ZORQelIPrint.h"

class ZORQelIStringStream;
class ZORQelIEntity;

// Renders objects as text: schemas ("Schema ..." blocks of "Entity ..."
// blocks, one attribute per line), types in a compact notation, wrappers as a
// block of capability flags, instances one line each ("#1=Figure('a',$);").
// All text accumulates in an owned string stream; read it with Get().
//
// Line discipline: Nl() ends a line and then writes `indentation` blanks, so
// the blanks that indent a line are written at the end of the previous one;
// Nl2() writes ";" then Nl(); Nest()/Unnest() change the indentation by 4 and
// end a line.  Every block printer leaves the indentation as it found it,
// unless an exception interrupts it (the deeper indentation then stays).
//
// Hazard: names and string values are written as they are, with no
// escaping.  A name or a string holding a quote, a line end or a "*)" makes
// text that an EXPRESS reader cannot read back as it was written (the value
// it's prints as 'it's', where a reader expects 'it''s').  The text is meant to be read by
// people; a program that must read it back escapes the values it stores
// first.
//
// Aggregate types and values, and arrays printed through their Text, nest
// their elements' text inside their own; nesting deeper than the calling
// thread's stack can take raises ZORQelI::Exception rather than overflow it,
// leaving what was printed before in the printer.
//
// Not copyable (the stream is owned).
class QL0KRN_EXPORT ZORQelIExpressForm : public ZORQelIPrint {
 public:
  static constexpr const char __CLASSNAME__[] = "ZORQelIExpressForm";

  ZORQelIExpressForm();
  ~ZORQelIExpressForm() override;
  ZORQelIExpressForm(const ZORQelIExpressForm&) = delete;
  ZORQelIExpressForm& operator=(const ZORQelIExpressForm&) = delete;

  // --- Basic operations (forwarded to the stream) -----------------------------
  void Start() override;
  ZORQelI::string Get() const override;
  ZORQelIStream& Nl() override;
  ZORQelIStream& Print(ZORQelI::string s) override;
  ZORQelIStream& Print(ZORQelI::character s) override;
  ZORQelIStream& Print(ZORQelI::real s) override;
  ZORQelIStream& Print(ZORQelI::integer s) override;
  ZORQelIStream& Print(ZORQelI::boolean s) override;

  // --- Dictionary overloads ---------------------------------------------------
  // "?" when unset, else the integer.
  ZORQelIStream& Print(const ZORQelI::Mint& X) override;
  // "Void" for an empty handle, field text, the type's name, or aggregate text.
  ZORQelIStream& Print(const ZORQelIType& X) override;
  // The schema block of the modeler's entities.
  ZORQelIStream& Print(const ZORQelIModeler& M) override;
  // Prints nothing.
  ZORQelIStream& Print(const ZORQelIParamDesc&) override;
  // "name : type" and " Optional" when optional; no line end.
  ZORQelIStream& Print(const ZORQelIAttr& X) override;
  // The value text of an instance (PrintInstance).
  ZORQelIStream& Print(const ZORQelIInstance& x) override;
  // One instance line per member of the population.
  ZORQelIStream& Print(const ZORQelIInstances& x) override;
  // The capability block of a wrapper.
  ZORQelIStream& Print(const ZORQelIWrapper& X) override;

  // --- Line discipline ----------------------------------------------------------
  void Nest();
  void Unnest();
  void Nl2();

  // --- Pieces -------------------------------------------------------------------
  // The kind name ("Void", "Boolean", ... "Bag"); kinds without a name (1,
  // entity 12, out of range) raise ZORQelI::InvalidType, printing nothing.
  void Print(ZORQelI::Types X);
  ZORQelIExpressForm& PrintAggregate(const ZORQelIType& X);
  ZORQelIExpressForm& PrintField(const ZORQelIType& X);
  ZORQelIExpressForm& PrintEntity(const ZORQelIEntity& ent);
  // "<text> := true;" or "... false;" and a line end.
  void PrintFlags(ZORQelI::string text, ZORQelI::boolean v);
  // The instance line of one entity instance, closed by Nl2().
  void PrintLong(const ZORQelIInstance& X);
  // The value text of one instance or value, without line end.
  ZORQelIStream& PrintInstance(const ZORQelIInstance& x);

 private:
  ZORQelIStringStream* stream;
  ZORQelI::integer indentation;
};

#endif

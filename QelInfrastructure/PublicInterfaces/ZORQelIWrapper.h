// ZORQelIWrapper: one dictionary provider.
#ifndef ZORQelIWrapper_h
#define ZORQelIWrapper_h

#include "ZORQelI.h"
#include "ZORQelIListUnique.h"

class ZORQelIExpression;
class ZORQelIModeler;
class ZORQelIPrint;
class ZORQelIWrapperObjectIMP;

// A provider of schemas and instance stores, derived by the client library
// that supplies them.  It is a plain class: not a handle, not collected; the
// provider creates it, keeps it alive as long as any of its objects can be
// reached (they refer to it by reference through Wrapper()), and destroys it.
//
// What the provider can do is stated as named capabilities, free text that
// compares letter by letter (upper and lower case distinct); the five static
// names are those the library itself asks about.  The set only grows.
//
// A concrete wrapper implements WrapperName and Owns; NewModeler and
// NewExpression default to empty handles.  (Calling them needs
// ZORQelIModeler.h and ZORQelIExpression.h, which this header cannot include:
// it is included by the base of every dictionary class.)
//
// Not copyable: a wrapper stands for one provider, and its objects find it by
// reference; a copy would be a second provider sharing the first one's
// capability list.
class QL0KRN_EXPORT ZORQelIWrapper {
 public:
  static constexpr const char* __CLASSNAME__ = "ZORQelIWrapper";

  // The capability names the library asks about (built at load time).
  static const ZORQelI::string Instances;              // "Instances"
  static const ZORQelI::string PersistantInstances;    // "PersistantInstances"
  static const ZORQelI::string EditableDictionnary;    // "EditableDictionnary"
  static const ZORQelI::string PersistantDictionnary;  // "PersistantDictionnary"
  static const ZORQelI::string Expression;             // "Expression"

  // A wrapper with no capability.
  ZORQelIWrapper();
  ZORQelIWrapper(const ZORQelIWrapper&) = delete;
  ZORQelIWrapper& operator=(const ZORQelIWrapper&) = delete;

  // --- Virtual operations, in slot order --------------------------------------
  // A new modeler of this provider; by default an empty handle.
  virtual ZORQelIModeler NewModeler(ZORQelI::string f);
  // A new expression of this provider; by default an empty handle.
  virtual ZORQelIExpression NewExpression() const;
  // The provider's name.
  virtual ZORQelI::string WrapperName() const = 0;
  // Whether the dictionary object e belongs to this provider.
  virtual ZORQelI::boolean Owns(const ZORQelIWrapperObjectIMP* e) const = 0;
  // Destroys the capability list's handle.  Declared after the provider's
  // operations so that their slots keep their order.
  virtual ~ZORQelIWrapper();

  // --- Capabilities --------------------------------------------------------------
  // Adds cap unless a capability of that exact name is already present.
  void AddCapability(ZORQelI::string cap);
  // Whether a capability of exactly that name is present.
  ZORQelI::boolean Has(ZORQelI::string cap) const;
  ZORQelI::boolean HasInstances() const;
  ZORQelI::boolean HasPersistantInstances() const;
  ZORQelI::boolean HasEditableDictionnary() const;
  ZORQelI::boolean HasPersistantDictionnary() const;
  ZORQelI::boolean HasExpression() const;

  // The printer's wrapper overload: ot.Print(*this).
  void Text(ZORQelIPrint& ot);
  // Raises ZORQelI::InvalidType unless Owns(e).
  void CheckWrapper(const ZORQelIWrapperObjectIMP* e) const;

 protected:
  // One ZORQelIIdentifier per capability name, in the order added; a root
  // while the wrapper lives.  Open to providers for listing; adding goes
  // through AddCapability so that the list stays free of duplicates.
  ZORQelIListUnique capabilities;
};

#endif

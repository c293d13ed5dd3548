// ZORQelIInstanceIMP: the abstract implementation of instances and values.
#ifndef ZORQelIInstanceIMP_h
#define ZORQelIInstanceIMP_h

#include "ZORQelI.h"
#include "ZORQelIWrapperObjectIMP.h"

class ZORQelIAttr;
class ZORQelIInstance;
class ZORQelIType;
class ZORQelIWalker;

// One value described by a type: a primitive value, an entity instance (one
// value per attribute, and a number), or an aggregate of element values.  An
// instance whose IsValid() is Ifalse stands for an unset value.
//
// The library implements:
//  - HashCode: GetInstanceId(), so that instances with the same number share
//    a bucket of the hashed containers.  Equal stays identity; a concrete
//    class that overrides Equal keeps equal instances at equal numbers.
//  - GetSymbolicName: "$" for an unset value; the type's name followed by
//    the text form for an entity instance; the text form otherwise.
//  - GetAttr(ZORQelIAttr): GetAttr of the attribute's name, so a concrete
//    instance implements attribute access by name only.
//  - The proxy operations, refusing: an instance that is not a proxy has no
//    model or element number and cannot become a proxy.  A concrete class
//    that supports proxies overrides all three.
class QL0KRN_EXPORT ZORQelIInstanceIMP : public ZORQelIWrapperObjectIMP {
  ZORQELI_DECLARE_ABSTRACT_IMP(ZORQelIInstanceIMP, ZORQelIWrapperObjectIMP)
 public:
  // GetInstanceId(); UNSET (the most negative integer) without a number.
  ZORQelI::integer HashCode() const override;

  // --- Virtual operations, after those of ZORQelIWrapperObjectIMP -------------
  virtual ZORQelIType GetType() const = 0;
  virtual void Unset() = 0;
  virtual void Delete() = 0;
  virtual ZORQelI::integer GetInt() const = 0;
  virtual ZORQelI::real GetReal() const = 0;
  virtual ZORQelI::boolean GetBoolean() const = 0;
  virtual ZORQelI::string GetString() const = 0;
  virtual ZORQelI::Mint GetInstanceId() const = 0;
  virtual ZORQelI::string GetSymbolicName() const;
  virtual void PutInt(ZORQelI::integer v) = 0;
  virtual void PutReal(ZORQelI::real v) = 0;
  virtual void PutBoolean(ZORQelI::boolean bo) = 0;
  virtual void PutString(ZORQelI::string s) = 0;
  virtual ZORQelIObject GetObject() const = 0;
  virtual void PutObject(ZORQelIObject obj) = 0;
  // Gives this instance the value of obj.
  virtual void PutObject(ZORQelIInstance obj) = 0;
  virtual int Size() const = 0;
  virtual ZORQelIInstance GetInstance(int key) const = 0;
  virtual void PutInstance(int key, ZORQelIInstance inst) = 0;
  // The instance holding the value of the attribute key: GetAttr(key.Name()).
  virtual ZORQelIInstance GetAttr(ZORQelIAttr key) const;
  virtual ZORQelIInstance GetAttr(ZORQelI::string key) const = 0;
  virtual ZORQelI::boolean ForEach(ZORQelIWalker& x, int start, int stop) = 0;
  virtual ZORQelI::boolean ForEach(ZORQelIWalker& x) = 0;
  virtual ZORQelI::boolean IsEmpty() const = 0;
  // Adds inst as the last element when atEnd is Itrue, as the first when it
  // is Ifalse.
  virtual ZORQelI::boolean Insert(ZORQelIInstance inst, ZORQelI::boolean atEnd) = 0;
  virtual void Remove() = 0;
  // The position of inst among the elements.
  virtual ZORQelI::Mint Look(ZORQelIInstance inst) const = 0;
  // Raises ZORQelI::InvalidType.
  virtual ZORQelI::integer GetMnum() const;
  // Raises ZORQelI::InvalidType.
  virtual ZORQelI::integer GetJele() const;
  // Writes "can't create proxy for *<jele> in <mnum>" and a line end to
  // standard error, then raises ZORQelI::InvalidType; never returns.
  virtual ZORQelI::boolean CreateProxy(int mnum, int jele);
};

#include "ZORQelIAttr.h"
#include "ZORQelIInstance.h"
#include "ZORQelIType.h"
#include "ZORQelIWalker.h"

#endif

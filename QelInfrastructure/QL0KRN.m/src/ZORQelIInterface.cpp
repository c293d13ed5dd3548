#include "ZORQelIInterface.h"

#include "ZORQelIEntity.h"
#include "ZORQelIInterfaceIMP.h"
#include "ZORQelIMethod.h"
#include "ZORQelIModeler.h"
#include "ZORQelIType.h"
#include "ZORQelIWrapper.h"

ZORQELI_DEFINE_STRICT_DICTIONARY_HANDLE(ZORQelIInterface, ZORQelIParsable, ZORQelIInterfaceIMP)
ZORQELI_DEFINE_CAST_ANYWAY(ZORQelIInterface, ZORQelIInterfaceIMP)

void ZORQelIInterface::SetDictionaryWrapper(ZORQelIWrapper& wp) {
  ZORQELI_TRACE("void ZORQelIInterface::SetDictionaryWrapper(ZORQelIWrapper& wp)");
  IMP()->SetDictionaryWrapper(wp);
}

int ZORQelIInterface::GetNumberOfFunctions() const {
  ZORQELI_TRACE("int ZORQelIInterface::GetNumberOfFunctions() const");
  return IMP()->GetNumberOfFunctions();
}

int ZORQelIInterface::GetNumberOfMethods() const {
  ZORQELI_TRACE("int ZORQelIInterface::GetNumberOfMethods() const");
  return IMP()->GetNumberOfMethods();
}

int ZORQelIInterface::GetNumberOfEntity() const {
  ZORQELI_TRACE("int ZORQelIInterface::GetNumberOfEntity() const");
  return IMP()->GetNumberOfEntity();
}

ZORQelIFunction ZORQelIInterface::SearchFunction(ZORQelI::string f, ZORQelIType r) const {
  ZORQELI_TRACE("ZORQelIFunction ZORQelIInterface::SearchFunction(ZORQelI::string f, ZORQelIType r) const");
  return IMP()->SearchFunction(f, r);
}

ZORQelIFunction ZORQelIInterface::SearchFunction(ZORQelI::string f) const {
  ZORQELI_TRACE("ZORQelIFunction ZORQelIInterface::SearchFunction(ZORQelI::string f) const");
  return IMP()->SearchFunction(f);
}

ZORQelIFunction ZORQelIInterface::GetFunction(int pos) const {
  ZORQELI_TRACE("ZORQelIFunction ZORQelIInterface::GetFunction(int pos) const");
  return IMP()->GetFunction(pos);
}

ZORQelIMethod ZORQelIInterface::SearchMethod(ZORQelIEntity cl, ZORQelI::string mtd, ZORQelIType r) const {
  ZORQELI_TRACE("ZORQelIMethod ZORQelIInterface::SearchMethod(ZORQelIEntity cl, ZORQelI::string mtd, ZORQelIType r) const");
  return IMP()->SearchMethod(cl, mtd, r);
}

ZORQelIMethod ZORQelIInterface::SearchMethod(ZORQelI::string mtd) const {
  ZORQELI_TRACE("ZORQelIMethod ZORQelIInterface::SearchMethod(ZORQelI::string mtd) const");
  return IMP()->SearchMethod(mtd);
}

ZORQelIMethod ZORQelIInterface::GetMethod(ZORQelIEntity cl, int pos) const {
  ZORQELI_TRACE("ZORQelIMethod ZORQelIInterface::GetMethod(ZORQelIEntity cl, int pos) const");
  return IMP()->GetMethod(cl, pos);
}

ZORQelIMethod ZORQelIInterface::GetMethod(int pos) const {
  ZORQELI_TRACE("ZORQelIMethod ZORQelIInterface::GetMethod(int pos) const");
  return IMP()->GetMethod(pos);
}

int ZORQelIInterface::GetNumberOfMethods(ZORQelIEntity cl) const {
  ZORQELI_TRACE("int ZORQelIInterface::GetNumberOfMethods(ZORQelIEntity cl) const");
  return IMP()->GetNumberOfMethods(cl);
}

ZORQelIFunction ZORQelIInterface::MakeFunction(ZORQelI::string f, ZORQelIType r) {
  ZORQELI_TRACE("ZORQelIFunction ZORQelIInterface::MakeFunction(ZORQelI::string f, ZORQelIType r)");
  return IMP()->MakeFunction(f, r);
}

ZORQelIMethod ZORQelIInterface::MakeMethod(ZORQelIEntity cl, ZORQelI::string mtd, ZORQelIType r) {
  ZORQELI_TRACE("ZORQelIMethod ZORQelIInterface::MakeMethod(ZORQelIEntity cl, ZORQelI::string mtd, ZORQelIType r)");
  return IMP()->MakeMethod(cl, mtd, r);
}

ZORQelI::boolean ZORQelIInterface::RemoveMethod(ZORQelIMethod mtd) {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIInterface::RemoveMethod(ZORQelIMethod mtd)");
  return IMP()->RemoveMethod(mtd);
}

void ZORQelIInterface::AddModeler(ZORQelIModeler mdl) {
  ZORQELI_TRACE("void ZORQelIInterface::AddModeler(ZORQelIModeler mdl)");
  IMP()->AddModeler(mdl);
}

ZORQelIModeler ZORQelIInterface::GetModeler(ZORQelI::integer pos) const {
  ZORQELI_TRACE("ZORQelIModeler ZORQelIInterface::GetModeler(ZORQelI::integer pos) const");
  return IMP()->GetModeler(pos);
}

void ZORQelIInterface::RemoveModeler(ZORQelIModeler mdl) {
  ZORQELI_TRACE("void ZORQelIInterface::RemoveModeler(ZORQelIModeler mdl)");
  IMP()->RemoveModeler(mdl);
}

int ZORQelIInterface::NumberOfModelers() const {
  ZORQELI_TRACE("int ZORQelIInterface::NumberOfModelers() const");
  return IMP()->NumberOfModelers();
}

ZORQelI::boolean ZORQelIInterface::Use(ZORQelIInterface MyInterface) {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIInterface::Use(ZORQelIInterface MyInterface)");
  return IMP()->Use(MyInterface);
}

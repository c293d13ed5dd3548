#include "ZORQelIModelerIMP.h"

#include <fstream>

#include "ZORQelIExpressForm.h"

ZORQELI_DEFINE_ABSTRACT_IMP(ZORQelIModelerIMP, ZORQelIWrapperObjectIMP)

ZORQelI::boolean ZORQelIModelerIMP::Save(ZORQelI::string fileName) {
  ZORQELI_TRACE("ZORQelI::boolean ZORQelIModelerIMP::Save(ZORQelI::string fileName)");
  // Opened (and truncated) before the text is made: a schema whose text
  // cannot be produced leaves an empty file behind, and the exception passes
  // through with the stream closed by its destructor.
  std::ofstream file(static_cast<const char*>(fileName), std::ios::out);
  ZORQelIExpressForm printer;
  ZORQelIModeler modeler(this);
  printer.Print(modeler);
  const ZORQelI::string text = printer.Get();
  file << static_cast<const char*>(text);
  // Flushed first: a destination that refuses the bytes only when they
  // reach it (a full device or disk) reports it there, and the text must
  // not be lost without a word.  Decided before the stream is closed (when
  // the operation returns).
  file.flush();
  return file.rdstate() == std::ios::goodbit ? ZORQelI::Itrue : ZORQelI::Ifalse;
}

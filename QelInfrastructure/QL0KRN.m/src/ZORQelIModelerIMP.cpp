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
  // Decided before the stream is closed (when the operation returns).
  return file.rdstate() == std::ios::goodbit ? ZORQelI::Itrue : ZORQelI::Ifalse;
}

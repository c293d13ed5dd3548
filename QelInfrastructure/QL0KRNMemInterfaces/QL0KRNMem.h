// QL0KRNMem: every public header of the in-memory reference provider.
//
// Start from the provider:
//
//   ZORQelIModeler m = ZORQelIMemWrapper::Default().NewModeler("Drawing");
//   ZORQelIEntity figure = m.MakeEntity("Figure");
//   ZORQelIAttr name = figure.CreateAttr("name", m.MakeString(), ZORQelI::Ifalse);
//   ZORQelIInstance f = m.Instanciate("Figure");
//   f.PutAttr(name, m.InstanciateString().PutString("outline"));
//
// or load a schema file (EXPRESS or the library's own schema text):
//
//   ZORQelIModeler ifc = ZORQelIMemWrapper::Default().NewModeler("IFC4");
//   ifc.Load("IFC4.exp");   // Ifalse: see ZORQelIMemModelerIMP::Diagnostics
//
// and work through the library's handles from there.  The mapping of
// EXPRESS onto the dictionary is described at ZORQelIMemModelerIMP.h.
#ifndef QL0KRNMem_h
#define QL0KRNMem_h

#include "QL0KRN.h"
#include "ZORQelIMemExport.h"

#include "ZORQelIMemClause.h"
#include "ZORQelIMemDeclaration.h"
#include "ZORQelIMemDiagnostic.h"
#include "ZORQelIMemSlot.h"
#include "ZORQelIMemWrapper.h"

#include "ZORQelIMemAttrIMP.h"
#include "ZORQelIMemEntityIMP.h"
#include "ZORQelIMemModelerIMP.h"
#include "ZORQelIMemTypeIMP.h"

#include "ZORQelIMemAggregateIMP.h"
#include "ZORQelIMemCellIMP.h"
#include "ZORQelIMemEntityInstanceIMP.h"
#include "ZORQelIMemInstanceIMP.h"
#include "ZORQelIMemInstancesIMP.h"
#include "ZORQelIMemValueIMP.h"

#include "ZORQelIMemExchangeReader.h"
#include "ZORQelIMemExchangeWriter.h"

#include "ZORQelIMemInterfaceIMP.h"
#include "ZORQelIMemMethodIMP.h"
#include "ZORQelIMemParamDescIMP.h"

#endif

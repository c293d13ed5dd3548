// QL0KRN: every public header of the library.
#ifndef QL0KRN_h
#define QL0KRN_h

#include "ZORQelI.h"
#include "ZORQelIExport.h"
#include "ZORQelIMint.h"
#include "ZORQelITypes.h"

// Object core
#include "ZORQelIClass.h"
#include "ZORQelIDumbIMP.h"
#include "ZORQelIObject.h"
#include "ZORQelIObjectIMP.h"

// Exceptions
#include "ZORQelIBoundError.h"
#include "ZORQelIConstObject.h"
#include "ZORQelIException.h"
#include "ZORQelIInvalidType.h"
#include "ZORQelINotYetImplemented.h"
#include "ZORQelINullPtrAccess.h"

// Call tracer
#include "ZORQelITracer.h"
#include "ZORQelITracerContext.h"
#include "ZORQelITracerElement.h"

// Collector
#include "ZORQelIGCState.h"
#include "ZORQelIGarbageableObjectListIMP.h"
#include "ZORQelIGholder.h"
#include "ZORQelIVariable.h"

// Text output
#include "ZORQelIExpressForm.h"
#include "ZORQelIPrint.h"
#include "ZORQelIStream.h"
#include "ZORQelIStringStream.h"

#endif

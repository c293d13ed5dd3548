// QL0KRN: every public header of the library.
//
// Where the contracts are written: ZORQelIObject.h states what every handle
// raises, owns and keeps valid, ZORQelIWrapperObjectIMP.h the same for every
// dictionary implementation class, and each header adds what is its own.  A
// family's forwarding operations are the rows of its .def file, beside its
// header.  Exceptions are raised with ZORQELI_RAISE (ZORQelIException.h).
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
#include "ZORQelIExpressFormValues.h"
#include "ZORQelIPrint.h"
#include "ZORQelIStream.h"
#include "ZORQelIStringStream.h"

// Containers
#include "ZORHashTabZORQelIObjectIMP.h"
#include "ZORQelIArray.h"
#include "ZORQelIArrayIMP.h"
#include "ZORQelIArrayWalker.h"
#include "ZORQelIIdentifier.h"
#include "ZORQelIIdentifierIMP.h"
#include "ZORQelIListUnique.h"
#include "ZORQelIListUniqueIMP.h"
#include "ZORQelISet.h"

// Dictionary
#include "ZORQelIAttr.h"
#include "ZORQelIAttrIMP.h"
#include "ZORQelIEntity.h"
#include "ZORQelIEntityIMP.h"
#include "ZORQelIInstance.h"
#include "ZORQelIInstanceCopy.h"
#include "ZORQelIInstanceIMP.h"
#include "ZORQelIInstanceListUnique.h"
#include "ZORQelIInstanceListUniqueIMP.h"
#include "ZORQelIInstances.h"
#include "ZORQelIInstancesIMP.h"
#include "ZORQelIModeler.h"
#include "ZORQelIModelerIMP.h"
#include "ZORQelIType.h"
#include "ZORQelITypeIMP.h"
#include "ZORQelIWalker.h"

// Behaviour
#include "ZORQelIErrorClass.h"
#include "ZORQelIExpression.h"
#include "ZORQelIExpressionIMP.h"
#include "ZORQelIFunction.h"
#include "ZORQelIInterface.h"
#include "ZORQelIInterfaceIMP.h"
#include "ZORQelIMethod.h"
#include "ZORQelIMethodIMP.h"
#include "ZORQelIParamDesc.h"
#include "ZORQelIParamDescIMP.h"
#include "ZORQelIParsable.h"
#include "ZORQelIParsableIMP.h"
#include "ZORQelIWrapper.h"
#include "ZORQelIWrapperObject.h"
#include "ZORQelIWrapperObjectIMP.h"

// Notification
#include "ZORQelIObserver.h"
#include "ZORQelIObserverIMP.h"
#include "ZORQelIView.h"
#include "ZORQelIViewIMP.h"

// Utilities
#include "ZORQelIFile.h"
#include "ZORQelIStackRoom.h"

#endif

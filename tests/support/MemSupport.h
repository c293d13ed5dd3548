// Helpers of the in-memory provider's test areas: schemas loaded from
// EXPRESS text, exchange files made from their DATA lines and read back.
#ifndef QL0KRN_TESTS_MemSupport_h
#define QL0KRN_TESTS_MemSupport_h

#include <string>
#include <vector>

#include "QL0KRNMem.h"

namespace qtest {

// The schemas of an EXPRESS text, as the file `file`; a test failure naming
// the first message when the text does not load.  The messages (warnings
// too) go to *messages when given.
std::vector<ZORQelIModeler> LoadSchemas(const std::string& text, const char* file = "test.exp",
                                        std::vector<ZORQelIMemDiagnostic>* messages = nullptr);

// The schema named `name` (case ignored), freshly loaded from the EXPRESS
// file of `folder` that declares it; an empty handle when none does.
ZORQelIModeler LoadSchemaNamed(const std::string& folder, const std::string& name);

// The header of an exchange file for the schema `schema` (seven lines, so
// that the first DATA line is line 8), and the whole file with `data`.
std::string ExchangeHead(const std::string& schema);
std::string ExchangeFile(const std::string& schema, const std::string& data);
extern const char* const kExchangeTail;

// Reads the exchange text into m as the file t.p21.
ZORQelIMemExchangeResult ReadExchange(ZORQelIModeler m, const std::string& text, bool lenient = false);

// The diagnostics, one a line.
std::string Messages(const std::vector<ZORQelIMemDiagnostic>& diagnostics);

}  // namespace qtest

#endif

// ZORQelIMemExchangeWriter: writes the population of a schema of the
// in-memory provider as an ISO 10303-21 exchange file.
#ifndef ZORQelIMemExchangeWriter_h
#define ZORQelIMemExchangeWriter_h

#include <cstddef>
#include <string>

#include "QL0KRN.h"
#include "ZORQelIMemExchangeReader.h"
#include "ZORQelIMemExport.h"

// What is written:
//   ISO-10303-21;
//   HEADER;
//   the header's entities, each as NAME(parameters); on a line of its own
//   (without a header: FILE_DESCRIPTION((''),'2;1');
//   FILE_NAME('','',(''),(''),'','',''); FILE_SCHEMA(('SCHEMA'));, the
//   schema's name as written in its EXPRESS)
//   ENDSEC;
//   DATA;
//   one line per member of the population, in number order
//   ENDSEC;
//   END-ISO-10303-21;
// An instance line is #N=NAME(values); with the entity name in upper case,
// or, for an instance of an entity that has several super entities
// somewhere above it, the complex form #N=(A(...)B(...)C(...)); with one
// partial value per entity of the instance, in the order of their upper-case
// names, each holding that entity's own attributes.
// Values: integers in decimal; reals in the shortest text that reads back as
// the same double, always with a '.' ("1.", "0.1", "1.E-07"); strings
// between apostrophes with ' and \ doubled and every character outside
// printable ASCII written as \X2\hhhh...\X0\ (characters beyond U+FFFF as
// \X4\hhhhhhhh...\X0\); binaries as their text between double quotes;
// .T. .F. .U.; enumeration items as .ITEM. in upper case; references #N;
// select values carrying an instance as #N and carrying a value as
// TYPENAME(value) with the type's name in upper case; aggregates (a,b);
// "$" for unset values, "*" for attributes that an entity of the instance
// redeclares as derived.
// A real that is not finite, or a value of a kind the exchange form cannot
// carry, raises ZORQelI::Exception naming the instance.  A reference to an
// instance that is not a member of the population is written as #N all the
// same (the file then reads back with an error).
//
// Reading what was written gives the same population, and writing it again
// the same bytes.
class QL0KRNMEM_EXPORT ZORQelIMemExchangeWriter {
 public:
  // m is a schema of the in-memory provider (else ZORQelI::InvalidType).
  static std::string Write(ZORQelIModeler m, const ZORQelIMemExchangeHeader* header = nullptr);
  // Write into a file; false, with *error set when error is given, when the
  // file cannot be written.
  static bool WriteFile(ZORQelIModeler m, const ZORQelI::string& path,
                        const ZORQelIMemExchangeHeader* header = nullptr,
                        std::string* error = nullptr);
  // Appends the n UTF-8 bytes at text as an exchange string literal.
  static void AppendString(std::string& out, const char* text, std::size_t n);
  // Appends the exchange text of a finite real.
  static void AppendReal(std::string& out, double v);
};

#endif

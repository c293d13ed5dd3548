// ZORQelIMemExchangeReader: reads ISO 10303-21 exchange files into the
// population of a schema of the in-memory provider.
#ifndef ZORQelIMemExchangeReader_h
#define ZORQelIMemExchangeReader_h

#include <cstddef>
#include <string>
#include <vector>

#include "QL0KRN.h"
#include "ZORQelIMemDiagnostic.h"
#include "ZORQelIMemExport.h"

// The HEADER section of an exchange file, as read and as written.
struct ZORQelIMemExchangeHeader {
  // One header entity: its keyword as written (FILE_DESCRIPTION, FILE_NAME,
  // FILE_SCHEMA, or any other) and its parameters in canonical exchange text,
  // without the enclosing parentheses: strings re-escaped as the writer
  // escapes them, blanks and comments left out, for example
  //   (''),'2;1'
  struct Entity {
    ZORQelI::string name;
    ZORQelI::string parameters;
  };
  std::vector<Entity> entities;
  // The schema names of FILE_SCHEMA, decoded, an ASN.1 object identifier
  // after a name ("IFC4 {1 0 10303 ...}") left out.
  std::vector<ZORQelI::string> schemas;
};

struct ZORQelIMemExchangeOptions {
  // Strict (false, the default): any error fails the read and the
  // population stays as it was.  Lenient: an instance with an error is
  // skipped and listed, the others are read.
  bool lenient = false;
  // Names the file in the diagnostics.
  ZORQelI::string fileName = "<exchange>";
  // Called now and then with the bytes read so far and the total, when set.
  void (*progress)(void* context, std::size_t done, std::size_t total) = nullptr;
  void* progressContext = nullptr;
};

struct ZORQelIMemExchangeResult {
  // Whether the population received the file's instances (in lenient mode:
  // those without error).
  bool ok = false;
  // Instances added to the population.
  std::size_t instances = 0;
  // The numbers of the instances skipped in lenient mode, in file order.
  std::vector<ZORQelI::integer> skipped;
  // Errors and warnings, in file order; each names the line and column
  // (1-based, columns count bytes) and, inside an instance, its number as
  // "#N: " at the start of the message.
  std::vector<ZORQelIMemDiagnostic> diagnostics;
  ZORQelIMemExchangeHeader header;
};

// Reading.  The file is read in one pass over its bytes; instance numbers
// become the instances' numbers (GetInstanceId), references are resolved at
// the end, wherever the referenced instance stands in the file.
//
// Syntax: the whole exchange structure of ISO 10303-21: the HEADER section,
// one or several DATA sections (a DATA section's parameters are read and
// ignored), simple instances NAME(...) and complex instances (A(...)B(...)),
// every parameter form: integers, reals ("1.", "-0.5E-3"), strings, binaries
// ("\"0A1B\""), enumerations and logicals (.T. .F. .U.), "$", "*", typed
// parameters NAME(value), nested lists, references (#N) before or after the
// referenced instance, and comments (/* */) anywhere blanks may be.
// ANCHOR, REFERENCE and SIGNATURE sections are skipped with a warning.
//
// The value mapping (what each parameter becomes, by the attribute's
// declared type, see ZORQelIMemModelerIMP for the mapping of EXPRESS):
//   INTEGER             an Integer value; outside 32 bits is an error
//   REAL, NUMBER        a Real value; an integer literal is accepted
//   BOOLEAN             .T. and .F.
//   LOGICAL             .T., .F. and .U., stored as the boolean bytes 1, 0
//                       and 2 (GetBoolean gives them back)
//   STRING              the decoded text (UTF-8): '' is ', \\ is \, \S\c
//                       is c + 128 (ISO 8859-1; other \P?\ pages decode as
//                       ISO 8859-1 too), \X\hh is U+00hh, \X2\...\X0\ holds
//                       UTF-16 units (surrogate pairs joined), \X4\ code
//                       points; line ends inside a string are dropped;
//                       bytes above 0x7F are taken as UTF-8, a byte that
//                       starts no valid sequence as ISO 8859-1.  A NUL
//                       character, or a text longer than a STRING(n)'s
//                       width (of another length for FIXED), is an error
//   BINARY              the exchange text itself: the digit of unused bits
//                       then the hexadecimal digits, as String/Binary text
//   ENUMERATION         .ITEM., the item's name as the schema spells it
//                       (items are matched ignoring case)
//   ENTITY              #N, a reference to an instance of that entity or of
//                       a sub-entity
//   SELECT              #N for an entity member (carried as the instance);
//                       NAME(value) for a type member, carried as a free
//                       value (an aggregate for an aggregate type) of the
//                       named type, found among the members and the members
//                       of member selects, ignoring case
//   ARRAY/LIST/SET/BAG  (v, ...), the count checked against the bounds (an
//                       array with both bounds has exactly that count);
//                       an element of a SET or of UNIQUE elements equal to
//                       an earlier one is an error (in lenient mode the
//                       repeats are dropped and listed, the instance kept)
//   $                   unset; for an attribute that is not OPTIONAL an
//                       error (in lenient mode the attribute is left unset
//                       and listed, the instance kept); an element of an
//                       aggregate may be unset
//   *                   unset, only for an attribute that an entity of the
//                       instance redeclares as derived
// Instances: #N=NAME(...) makes an instance of the entity NAME (case
// ignored) with one parameter per attribute in exchange order
// (ZORQelIMemEntityIMP::ExchangeOrder); #N=(A(...)B(...)) makes an instance
// of the entity whose super entities and itself are exactly A, B, ...,
// each partial value giving that entity's own attributes.  An ABSTRACT
// entity cannot be instantiated.
//
// Errors: a syntax error inside an instance, a value that does not fit its
// attribute, an unknown entity, a duplicate number, a number held by a
// member of the population, and a reference to a missing instance or to an
// instance of the wrong entity.  An error that loses the reader's place
// (an unterminated string or comment, no ';' to resume at, a broken
// section structure) is fatal in both modes.  A FILE_SCHEMA that does not
// name the schema (case ignored) refuses the file, naming both.  In lenient
// mode a reference that cannot be resolved, or a '$' for an attribute that
// is not OPTIONAL, is left unset and listed, and the instance that holds it
// is kept: the rest of its values is worth more than a complete population
// (skipping it would leave unresolved every reference to it in turn), and
// real files break optionality often.  Such a population writes '$' for the
// attribute, so only a lenient read takes the written file back.
//
// Nothing recurses on the file's nesting beyond a fixed depth: values
// nested deeper than 64 levels are an error.
class QL0KRNMEM_EXPORT ZORQelIMemExchangeReader {
 public:
  // Reads size bytes at data into m's population (m is a schema of the
  // in-memory provider: else ZORQelI::InvalidType).  On a failed read
  // (ok false) the population is as it was; instances made meanwhile are
  // garbage for the next collection (their entities stay frozen, as making
  // any instance leaves them).  The population's views are told once
  // (NotifyUpdate of the population) after a successful read.
  static ZORQelIMemExchangeResult Read(ZORQelIModeler m, const char* data, std::size_t size,
                                       const ZORQelIMemExchangeOptions& options = {});
  // Read of a whole file; a file that cannot be opened or read fails with
  // one diagnostic at line 0.
  static ZORQelIMemExchangeResult ReadFile(ZORQelIModeler m, const ZORQelI::string& path,
                                           const ZORQelIMemExchangeOptions& options = {});
  // The first schema name of the FILE_SCHEMA of the header at data, without
  // its object identifier; false when no header or no FILE_SCHEMA is found.
  // Reads the header only.
  static bool FileSchema(const char* data, std::size_t size, ZORQelI::string& name);
};

#endif

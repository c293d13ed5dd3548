// ZORQelIMemClause: a clause of an entity or type read from EXPRESS and kept
// with its source text.
#ifndef ZORQelIMemClause_h
#define ZORQelIMemClause_h

#include "QL0KRN.h"

// A value.  The clause's text is its source as written, from its first token
// to the end of its last one (the closing ';' left out, remarks inside it
// kept); it has been checked against the grammar when it was read.
struct ZORQelIMemClause {
  enum Kind {
    Derive,      // a DERIVE attribute; name: the attribute ("SELF\E.a" when redeclared)
    Inverse,     // an INVERSE attribute; name: the attribute
    Unique,      // a UNIQUE rule; name: its label, empty when unlabelled
    Where,       // a WHERE (domain) rule; name: its label, empty when unlabelled
    Redeclared,  // an explicit attribute redeclared as SELF\E.a [RENAMED b]; name: that
  };
  Kind kind = Where;
  ZORQelI::string name;
  ZORQelI::string text;
  // Where it was read: 1-based line and column of its first token.
  int line = 0;
  int column = 0;
};

#endif

// One record of an error class's error table.
#ifndef ZORErrDsc_h
#define ZORErrDsc_h

// Describes one error number of an error class: its number, a severity and
// the text of its message.  The library's exception classes have a table of
// one all-zero record.
struct ZORErrDsc {
  unsigned int number;
  int severity;
  const char* message;
};

#endif

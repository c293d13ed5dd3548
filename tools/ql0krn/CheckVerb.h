// The check verb of ql0krn: a population against the rules of its schema.
#ifndef QL0KRN_TOOL_CHECKVERB_H
#define QL0KRN_TOOL_CHECKVERB_H

#include "QL0KRN.h"

// Checks the population of m, writes one line per finding and the summary
// line on standard output (the reason of each raised or unsupported finding
// on standard error); 0 when nothing was violated or unsupported, else 1.
int CheckPopulation(ZORQelIModeler m);

#endif

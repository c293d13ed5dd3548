// The exchange-file verbs of ql0krn: stats, convert, print.
#ifndef QL0KRN_TOOL_EXCHANGEVERBS_H
#define QL0KRN_TOOL_EXCHANGEVERBS_H

#include <string>
#include <vector>

// The help text of the verbs, for ql0krn --help.
extern const char kExchangeHelp[];
// Whether verb is one of them.
bool IsExchangeVerb(const std::string& verb);
// Runs it on its arguments; the exit status.
int ExchangeVerb(const std::string& verb, const std::vector<std::string>& args);

#endif

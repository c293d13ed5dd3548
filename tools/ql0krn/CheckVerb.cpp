// ql0krn check: findings as "#ID=ENTITY: LABEL violated", then the counts.
#include "CheckVerb.h"

#include <cstdio>
#include <string>

#include "ZORQelIMemRuleChecker.h"

int CheckPopulation(ZORQelIModeler m) {
  ZORQelIMemRuleChecker checker(m);
  ZORQelIMemRuleReport r = checker.Check();
  std::string out;
  for (const ZORQelIMemRuleFinding& f : r.findings) {
    const std::string who = f.instance.IsSet()
                                ? "#" + std::to_string(static_cast<int>(f.instance)) + "=" + f.entity
                                : f.entity;
    const bool unsupported = f.kind == ZORQelIMemRuleFinding::Unsupported;
    out += who + ": " + f.label + (unsupported ? " unsupported\n" : " violated\n");
    if (!f.detail.empty()) {
      std::fprintf(stderr, "%s: %s: %s\n", who.c_str(), f.label.c_str(), f.detail.c_str());
    }
  }
  out += std::to_string(r.instances) + " instances, " + std::to_string(r.evaluated) +
         " rules evaluated, " + std::to_string(r.violations) + " violations, " +
         std::to_string(r.unsupported) + " unsupported\n";
  std::fwrite(out.data(), 1, out.size(), stdout);
  std::fflush(stdout);
  return r.violations == 0 && r.unsupported == 0 ? 0 : 1;
}

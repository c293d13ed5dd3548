// Private to the in-memory provider: what the exchange reader and writer
// both need to know of an entity's place in the exchange form.
#ifndef ZORQelIMemExchangeFamily_h
#define ZORQelIMemExchangeFamily_h

#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

#include "ZORQelIMemAttrIMP.h"
#include "ZORQelIMemClause.h"
#include "ZORQelIMemEntityIMP.h"

namespace ZORQelIMemInternal {

struct ExchangeFamily {
  // The entity and every super entity, each once.
  std::vector<ZORQelIMemEntityIMP*> members;
  // By layout position: whether a member redeclares the attribute as
  // derived (SELF\E.a), which the file gives as '*'.
  std::vector<std::uint8_t> derived;
  // Whether a member has several super entities: the instances then take
  // the complex form #n=(A(...)B(...)).
  bool complex = false;
};

// s in upper case (ASCII letters only: names are ASCII).
inline std::string ExchangeUpper(const char* s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  }
  return out;
}

// The family of e, whose attributes are `layout` (e's frozen layout).
// Walked with a work list: no recursion on the depth of the inheritance.
inline ExchangeFamily FamilyOf(ZORQelIMemEntityIMP* e,
                               const std::vector<ZORQelIMemAttrIMP*>& layout) {
  ExchangeFamily f;
  std::vector<ZORQelIMemEntityIMP*> todo{e};
  std::unordered_set<ZORQelIMemEntityIMP*> seen{e};
  while (!todo.empty()) {
    ZORQelIMemEntityIMP* x = todo.back();
    todo.pop_back();
    f.members.push_back(x);
    std::vector<ZORQelIMemEntityIMP*> supers = x->Supers();
    if (supers.size() > 1) f.complex = true;
    for (ZORQelIMemEntityIMP* s : supers) {
      if (seen.insert(s).second) todo.push_back(s);
    }
  }
  f.derived.assign(layout.size(), 0);
  for (ZORQelIMemEntityIMP* x : f.members) {
    for (const ZORQelIMemClause& c : x->ExpressInfo().clauses) {
      if (c.kind != ZORQelIMemClause::Derive) continue;
      const std::string name = ExchangeUpper(c.name);
      const std::size_t slash = name.find('\\');
      const std::size_t dot = slash == std::string::npos ? slash : name.find('.', slash);
      if (dot == std::string::npos) continue;
      const std::string owner = name.substr(slash + 1, dot - slash - 1);
      const std::string attr = name.substr(dot + 1);
      for (std::size_t i = 0; i < layout.size(); ++i) {
        ZORQelIMemEntityIMP* o = layout[i]->Owner();
        if (o != nullptr && ExchangeUpper(layout[i]->Name()) == attr &&
            ExchangeUpper(o->Name()) == owner) {
          f.derived[i] = 1;
        }
      }
    }
  }
  return f;
}

// The layout position of x's first own attribute; 0 when it has none.
inline int OwnStart(ZORQelIMemEntityIMP* x, const std::vector<ZORQelIMemAttrIMP*>& layout) {
  if (x->NumberOfAttributes() == 0) return 0;
  ZORQelIAttr first = x->GetAttr(0);
  int start = 0;
  for (std::size_t i = 0; i < layout.size(); ++i) {
    if (static_cast<ZORQelIObjectIMP*>(layout[i]) == first.RefMe()) start = static_cast<int>(i);
  }
  return start;
}

}  // namespace ZORQelIMemInternal

#endif

// ZORHashTable, ZORQelIListUnique and ZORQelISet against standard models
// under arbitrary sequences of insertions, lookups, removals (during
// iteration too), copies, rehashes and clears.  The first byte chooses how
// many distinct hash values the client's keys have, so long collision runs
// are common.
//
// The set is fed the library's own identifiers and leaves (which its quiet
// Add and Look handle without frames when tracing is off, as here) mixed
// with objects whose Equal or HashCode is a client's (which send it down the
// traced path), under hash codes that collide on purpose: the identifier
// hash reads at most eight characters, and short names hash to 0.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "QL0KRN.h"
#include "ZORHashTable.h"
#include "ZORQelIListUnique.h"
#include "ZORQelISet.h"
#include "FuzzSupport.h"

namespace {

unsigned g_mod = 1;

struct Item {
  int key;
};
unsigned HashItem(const void* p) {
  return static_cast<unsigned>(static_cast<const Item*>(p)->key) % g_mod;
}
int CompareItem(const void* a, const void* b) {
  return static_cast<const Item*>(a)->key != static_cast<const Item*>(b)->key;
}

class KeyIMP : public ZORQelIObjectIMP {
  ZORQELI_DECLARE_IMP(KeyIMP, ZORQelIObjectIMP)
 public:
  explicit KeyIMP(int v) : value(v) {}
  ZORQelIObjectIMP* Clone() const override { return new KeyIMP(*this); }
  void Text(ZORQelIPrint&) const override {}
  ZORQelI::boolean Equal(ZORQelIObjectIMP* o) const override {
    if (o == nullptr || &o->Id() != &ClassId()) return ZORQelI::Ifalse;
    return static_cast<KeyIMP*>(o)->value == value ? ZORQelI::Itrue : ZORQelI::Ifalse;
  }
  ZORQelI::integer HashCode() const override {
    return static_cast<ZORQelI::integer>(static_cast<unsigned>(value) % g_mod);
  }
  int value;
};
ZORQELI_DEFINE_IMP(KeyIMP, ZORQelIObjectIMP)

// An identifier subclass unknown to the library (no macros): it keeps the
// identifier's descriptor, so it is Equal to a plain identifier of its name,
// but its Equal is the client's.
class LooseIdentifierIMP : public ZORQelIIdentifierIMP {
 public:
  using ZORQelIIdentifierIMP::ZORQelIIdentifierIMP;
  ZORQelI::boolean Equal(ZORQelIObjectIMP* o) const override {
    return ZORQelIIdentifierIMP::Equal(o);
  }
};

// An identifier subclass with a descriptor of its own that keeps the
// identifier's Equal and HashCode: Equal to tags of the same name only.
class TagIMP : public ZORQelIIdentifierIMP {
  ZORQELI_DECLARE_IMP(TagIMP, ZORQelIIdentifierIMP)
 public:
  using ZORQelIIdentifierIMP::ZORQelIIdentifierIMP;
  ZORQelIObjectIMP* Clone() const override { return new TagIMP(*this); }
};
ZORQELI_DEFINE_IMP(TagIMP, ZORQelIIdentifierIMP)

// A class that keeps every operation of the root class: identity.
class LeafIMP : public ZORQelIObjectIMP {
  ZORQELI_DECLARE_IMP(LeafIMP, ZORQelIObjectIMP)
 public:
  ZORQelIObjectIMP* Clone() const override { return new LeafIMP(); }
  void Text(ZORQelIPrint&) const override {}
};
ZORQELI_DEFINE_IMP(LeafIMP, ZORQelIObjectIMP)

// Identity, under the client's hash code: one shared with the client's keys
// and the short identifiers.
class HashedLeafIMP : public LeafIMP {
  ZORQELI_DECLARE_IMP(HashedLeafIMP, LeafIMP)
 public:
  ZORQelIObjectIMP* Clone() const override { return new HashedLeafIMP(); }
  ZORQelI::integer HashCode() const override { return 0; }
};
ZORQELI_DEFINE_IMP(HashedLeafIMP, LeafIMP)

// Names whose identifier hash codes collide: the 9-character ones all share
// one (the hash reads the first and last four characters), names of fewer
// than two characters hash to 0, the "n.." ones pair up.
std::string NameOf(int k) {
  if (k < 24) return "abcd" + std::string(1, static_cast<char>('A' + k)) + "wxyz";
  if (k < 32) {
    return std::string(static_cast<std::size_t>(k - 24) / 4, static_cast<char>('a' + k - 24));
  }
  return "n" + std::to_string(k);
}

// An object of one of five kinds for k, and the model's name of its
// equality class: "I" identifiers (plain or loose), "T" tags, "L" leaves
// (the leaf itself, hashed by the library or the client), "K" the client's
// keys.
ZORQelIObject SetElement(int kind, int k, const std::vector<ZORQelIObject>& leaves,
                         std::string* model) {
  switch (kind) {
    case 0:
      *model = "I" + NameOf(k);
      return ZORQelIObject(new ZORQelIIdentifierIMP(ZORQelI::string(NameOf(k).c_str())));
    case 1:
      *model = "I" + NameOf(k);
      return ZORQelIObject(new LooseIdentifierIMP(ZORQelI::string(NameOf(k).c_str())));
    case 2:
      *model = "T" + NameOf(k);
      return ZORQelIObject(new TagIMP(ZORQelI::string(NameOf(k).c_str())));
    case 3:
      *model = "L" + std::to_string(k % leaves.size());
      return leaves[static_cast<std::size_t>(k) % leaves.size()];
    default:
      *model = "K" + std::to_string(k);
      return ZORQelIObject(new KeyIMP(k));
  }
}

// h's object, or null for an empty handle (RefMe raises on one).
const ZORQelIObjectIMP* Held(const ZORQelIObject& h) {
  return h.IsValid() == ZORQelI::Itrue ? h.RefMe() : nullptr;
}

using SetModel = std::unordered_map<std::string, const ZORQelIObjectIMP*>;

// Every object of the model is held, as itself, and nothing else.
void CheckSet(const ZORQelISet& set, const SetModel& model,
              const std::unordered_map<const ZORQelIObjectIMP*, ZORQelIObject>& handles) {
  CHECK(set.Size() == static_cast<ZORQelI::integer>(model.size()));
  for (const auto& held : model) CHECK(Held(set.Look(handles.at(held.second))) == held.second);
}

// Every element, each exactly once, equal to the model.
void CheckTable(const ZORHashTable& t, const std::unordered_set<int>& model) {
  CHECK(t.count == static_cast<int>(model.size()));
  std::unordered_set<int> seen;
  int a = 1, b = 0;
  while (void* e = t.Next(a, b)) {
    int k = static_cast<Item*>(e)->key;
    CHECK(seen.insert(k).second);
    CHECK(model.count(k) == 1);
  }
  CHECK(seen.size() == model.size());
  CHECK(t.Next(a, b) == nullptr);
}

// The list's element for k: a client's key below 32, a plain identifier
// named "n<k>" from 32 on (which the list adds quietly when tracing is off).
ZORQelIObject ListElement(int k) {
  if (k < 32) return ZORQelIObject(new KeyIMP(k));
  return ZORQelIObject(new ZORQelIIdentifierIMP(ZORQelI::string(NameOf(k).c_str())));
}

int KeyOf(ZORQelIObject o) {
  if (const KeyIMP* key = dynamic_cast<const KeyIMP*>(o.RefMe())) return key->value;
  const ZORQelIIdentifierIMP* id = dynamic_cast<const ZORQelIIdentifierIMP*>(o.RefMe());
  CHECK(id != nullptr);
  const std::string name = static_cast<const char*>(id->Name());
  CHECK(name.size() > 1 && name[0] == 'n');
  return std::atoi(name.c_str() + 1);
}

void CheckList(const ZORQelIListUnique& l, const std::vector<int>& order) {
  CHECK(l.Size() == static_cast<ZORQelI::integer>(order.size()));
  for (std::size_t i = 0; i < order.size(); ++i)
    CHECK(KeyOf(l.Get(static_cast<ZORQelI::integer>(i))) == order[i]);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  g_mod = 1u + data[0] % 17u;
  std::size_t i = 2;
  auto next = [&]() -> std::uint8_t { return i < size ? data[i++] : 0; };

  // Items live as long as this input: the table never owns them.
  std::vector<std::unique_ptr<Item>> items(64);
  for (int k = 0; k < 64; ++k) items[k].reset(new Item{k});

  ZORHashTable table(HashItem, CompareItem, data[1] % 8);
  std::unordered_set<int> tmodel;
  ZORQelIListUnique list(static_cast<ZORQelI::integer>(data[1] % 8));
  std::vector<int> lorder;

  // The set holds raw objects that the collector does not see: `handles`
  // keeps every object ever added alive until the end of the input.
  std::vector<ZORQelIObject> leaves;
  for (int k = 0; k < 8; ++k)
    leaves.push_back(ZORQelIObject(k & 1 ? new HashedLeafIMP() : new LeafIMP()));
  ZORQelISet set(static_cast<ZORQelI::integer>(data[1] % 8));
  SetModel smodel;
  std::unordered_map<const ZORQelIObjectIMP*, ZORQelIObject> handles;

  // Each step: an operation byte and a key byte; the set's operations then
  // read a third byte, the kind of object (SetElement).
  while (i < size) {
    std::uint8_t op = next() % 20;
    int k = next() % 64;
    Item probe{k};
    switch (op) {
      case 0:
      case 1:
        CHECK((table.Insert(items[k].get()) != 0) == tmodel.insert(k).second);
        break;
      case 2:
        CHECK((table.Remove(&probe) != 0) == (tmodel.erase(k) == 1));
        break;
      case 3: {
        void* e = table.Locate(&probe);
        CHECK((e != nullptr) == (tmodel.count(k) == 1));
        if (e) CHECK(e == items[k].get());
        break;
      }
      case 4: {  // remove every element with an odd key while iterating
        int a = 1, b = 0;
        while (void* e = table.Next(a, b)) {
          int key = static_cast<Item*>(e)->key;
          if (key & 1) {
            CHECK(table.Remove(e) != 0);
            tmodel.erase(key);
          }
        }
        CheckTable(table, tmodel);
        break;
      }
      case 5: {  // a copy is independent and equal
        ZORHashTable copy(table);
        CheckTable(copy, tmodel);
        copy.RemoveAll();
        CheckTable(table, tmodel);
        if (k == 0) {
          table.RemoveAll();
          tmodel.clear();
        }
        break;
      }
      case 6:
      case 7: {
        bool added = list.Add(ListElement(k)) == ZORQelI::Itrue;
        bool fresh = std::find(lorder.begin(), lorder.end(), k) == lorder.end();
        CHECK(added == fresh);
        if (fresh) lorder.push_back(k);
        break;
      }
      case 8: {
        bool removed = list.Remove(ListElement(k)) == ZORQelI::Itrue;
        auto it = std::find(lorder.begin(), lorder.end(), k);
        CHECK(removed == (it != lorder.end()));
        if (it != lorder.end()) lorder.erase(it);
        break;
      }
      case 9: {
        ZORQelIObject found = list.Look(ListElement(k));
        bool held = std::find(lorder.begin(), lorder.end(), k) != lorder.end();
        CHECK((found.IsValid() == ZORQelI::Itrue) == held);
        if (held) CHECK(KeyOf(found) == k);
        break;
      }
      case 10:
        if (!lorder.empty()) {
          std::size_t pos = static_cast<std::size_t>(k) % lorder.size();
          CHECK(list.Remove(static_cast<ZORQelI::integer>(pos)) == ZORQelI::Itrue);
          lorder.erase(lorder.begin() + static_cast<long>(pos));
        }
        break;
      case 11:
        list.Rehash(static_cast<ZORQelI::integer>(k));
        break;
      case 12:
      case 13: {
        std::string key;
        ZORQelIObject x = SetElement(next() % 5, k, leaves, &key);
        const bool added = set.Add(x) == ZORQelI::Itrue;
        CHECK(added == (smodel.count(key) == 0));
        if (added) {
          smodel[key] = x.RefMe();
          handles.emplace(x.RefMe(), x);
        }
        break;
      }
      case 14:
      case 15: {
        std::string key;
        ZORQelIObject x = SetElement(next() % 5, k, leaves, &key);
        auto it = smodel.find(key);
        CHECK(Held(set.Look(x)) == (it == smodel.end() ? nullptr : it->second));
        break;
      }
      case 16: {
        std::string key;
        ZORQelIObject x = SetElement(next() % 5, k, leaves, &key);
        CHECK((set.Remove(x) == ZORQelI::Itrue) == (smodel.erase(key) == 1));
        break;
      }
      case 17: {  // by hash code: a held object with that absolute value
        std::string key;
        const ZORQelIObject x = SetElement(next() % 5, k, leaves, &key);
        const ZORQelI::integer h = x.RefMe()->HashCode();
        const auto magnitude = [](ZORQelI::integer v) {
          return v < 0 ? 0u - static_cast<unsigned>(v) : static_cast<unsigned>(v);
        };
        const ZORQelIObject found = set.Look(k & 1 ? h : ZORQelI::integer(0) - h);
        bool any = false;
        for (const auto& held : smodel)
          any = any || magnitude(held.second->HashCode()) == magnitude(h);
        CHECK((found.IsValid() == ZORQelI::Itrue) == any);
        if (any) {
          CHECK(magnitude(found.RefMe()->HashCode()) == magnitude(h));
          bool inModel = false;
          for (const auto& held : smodel) inModel = inModel || held.second == found.RefMe();
          CHECK(inModel);
        }
        break;
      }
      case 18:  // a rehash, an independent copy, a clear, a collection
        switch (next() % 4) {
          case 0:
            set.Rehash(static_cast<ZORQelI::integer>(k));
            break;
          case 1: {
            ZORQelISet copy(set);
            CheckSet(copy, smodel, handles);
            copy.RemoveAll();
            CHECK(copy.Size() == 0);
            break;
          }
          case 2:
            set.RemoveAll();
            smodel.clear();
            break;
          default:
            ZORQelIVariable::GarbageCollect();
            break;
        }
        CheckSet(set, smodel, handles);
        break;
      case 19: {  // empty handles: Add declines, Look and Remove raise
        CHECK(set.Add(ZORQelIObject()) == ZORQelI::Ifalse);
        bool raised = false;
        try {
          if (k & 1)
            set.Look(ZORQelIObject());
          else
            set.Remove(ZORQelIObject());
        } catch (const ZORQelI::NullPtrAccess&) {
          raised = true;
        }
        CHECK(raised);
        break;
      }
    }
    CHECK(set.Size() == static_cast<ZORQelI::integer>(smodel.size()));
    CHECK(table.count == static_cast<int>(tmodel.size()));
    // The list changes only under its own operations.
    if (op >= 6 && op <= 11) CheckList(list, lorder);
  }
  CheckTable(table, tmodel);
  for (int key = 0; key < 64; ++key) {
    Item probe{key};
    CHECK((table.Locate(&probe) != nullptr) == (tmodel.count(key) == 1));
  }
  // The list keeps its elements alive through collections.
  ZORQelIVariable::GarbageCollect();
  CheckList(list, lorder);
  CheckSet(set, smodel, handles);
  return 0;
}

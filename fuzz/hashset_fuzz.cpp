// ZORHashTable and ZORQelIListUnique against std::unordered_set under
// arbitrary sequences of insertions, lookups, removals (during iteration
// too), copies, rehashes and clears.  The first byte chooses how many
// distinct hash values the keys have, so long collision runs are common.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <unordered_set>
#include <vector>

#include "QL0KRN.h"
#include "ZORHashTable.h"
#include "ZORQelIListUnique.h"
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

int KeyOf(ZORQelIObject o) { return static_cast<const KeyIMP*>(o.RefMe())->value; }

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

  while (i < size) {
    std::uint8_t op = next() % 12;
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
        bool added = list.Add(ZORQelIObject(new KeyIMP(k))) == ZORQelI::Itrue;
        bool fresh = std::find(lorder.begin(), lorder.end(), k) == lorder.end();
        CHECK(added == fresh);
        if (fresh) lorder.push_back(k);
        break;
      }
      case 8: {
        bool removed = list.Remove(ZORQelIObject(new KeyIMP(k))) == ZORQelI::Itrue;
        auto it = std::find(lorder.begin(), lorder.end(), k);
        CHECK(removed == (it != lorder.end()));
        if (it != lorder.end()) lorder.erase(it);
        break;
      }
      case 9: {
        ZORQelIObject found = list.Look(ZORQelIObject(new KeyIMP(k)));
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
    }
    CHECK(table.count == static_cast<int>(tmodel.size()));
    CheckList(list, lorder);
  }
  CheckTable(table, tmodel);
  for (int key = 0; key < 64; ++key) {
    Item probe{key};
    CHECK((table.Locate(&probe) != nullptr) == (tmodel.count(key) == 1));
  }
  // The list keeps its elements alive through collections.
  ZORQelIVariable::GarbageCollect();
  CheckList(list, lorder);
  return 0;
}

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <unordered_map>
#include <vector>

#include "ZORHashTable.h"

namespace {

struct Item {
  int key;
};

unsigned HashKey(const void* p) { return static_cast<unsigned>(static_cast<const Item*>(p)->key); }
unsigned HashFew(const void* p) { return static_cast<unsigned>(static_cast<const Item*>(p)->key % 3); }
unsigned HashConst(const void*) { return 1; }
int CompareKey(const void* a, const void* b) {
  return static_cast<const Item*>(a)->key != static_cast<const Item*>(b)->key;
}

// Every element of the table in iteration order; fails on a repeat.
std::vector<void*> Elements(const ZORHashTable& t) {
  std::vector<void*> out;
  std::set<void*> seen;
  int a = 1, b = 0;
  while (void* e = t.Next(a, b)) {
    EXPECT_TRUE(seen.insert(e).second) << "element returned twice";
    out.push_back(e);
  }
  EXPECT_EQ(t.Next(a, b), nullptr);  // stays at the end
  return out;
}

std::set<void*> Held(const ZORHashTable& t) {
  const std::vector<void*> v = Elements(t);
  return std::set<void*>(v.begin(), v.end());
}

// Held elements that share a hash value stay in the order they came in
// (each is placed at the end of its run; growth and removal keep the order),
// so the model keeps each run as a list: the calls that stop at the first
// answer can be checked exactly.
struct InRun {
  Item* item;
  bool tagged;
};

// The answer of a scan of x's run that stops at x itself, at the first
// element `stop` says yes to, or at the end: the position, or the run's size.
template <class Stop>
std::size_t ScanRun(const std::vector<InRun>& run, Stop stop) {
  std::size_t i = 0;
  while (i < run.size() && !stop(run[i])) ++i;
  return i;
}

// Two distinct items per key: the table must answer with the one it holds.
// Keys run from -keys/2 so that negative keys (huge hash values) appear.
void RunAgainstModel(unsigned (*hash)(const void*), int keys, int ops, int size) {
  std::vector<Item> first(keys), second(keys);
  for (int i = 0; i < keys; ++i) first[i].key = second[i].key = i - keys / 2;
  ZORHashTable t(hash, CompareKey, size);
  std::unordered_map<int, Item*> model;
  std::unordered_map<unsigned, std::vector<InRun>> runs;
  // Without compare: match tells equal keys (and e itself) but declines
  // about other elements when the key is a multiple of 5.
  const auto match = [](const void* held, const void* e) {
    const Item* x = static_cast<const Item*>(e);
    if (held == e) return 1;
    if (x->key % 5 == 0) return -1;
    return static_cast<const Item*>(held)->key == x->key ? 1 : 0;
  };
  std::mt19937 rng(12345);
  for (int op = 0; op < ops; ++op) {
    const int i = static_cast<int>(rng() % keys);
    Item* x = rng() % 2 ? &first[i] : &second[i];
    const auto held = model.find(x->key);
    std::vector<InRun>& run = runs[hash(x)];
    // Where an equal element sits in the run, and whether match declines
    // before it (or at it: x's twin).
    const std::size_t equal = ScanRun(run, [&](const InRun& h) { return h.item->key == x->key; });
    const std::size_t declines = ScanRun(run, [&](const InRun& h) { return match(h.item, x) < 0; });
    const bool declined = declines < run.size() && declines <= equal;
    const auto add = [&](bool tagged) {
      model[x->key] = x;
      run.push_back(InRun{x, tagged});
    };
    const unsigned what = rng() % 10;
    switch (what) {
      case 0: case 1: case 2:
        ASSERT_EQ(t.Insert(x) != 0, held == model.end());
        if (held == model.end()) add(false);
        break;
      case 3: case 4:
        ASSERT_EQ(t.Remove(x) != 0, held != model.end());
        if (held != model.end()) model.erase(held), run.erase(run.begin() + equal);
        break;
      case 5: case 6:
        ASSERT_EQ(t.Locate(x), held == model.end() ? nullptr : held->second);
        break;
      case 7: {
        void* found = &first[0];
        ASSERT_EQ(t.TryLocate(x, hash(x), match, &found), !declined);
        if (declined)
          ASSERT_EQ(found, &first[0]);
        else
          ASSERT_EQ(found, held == model.end() ? nullptr : held->second);
        break;
      }
      case 8: {
        // Odd keys are tagged.  LocateSelf passes over tagged elements only.
        const int r = t.TryInsert(x, hash(x), match, static_cast<unsigned>(x->key & 1));
        ASSERT_EQ(r, declined ? -1 : held == model.end() ? 1 : 0);
        if (r == 1) add((x->key & 1) != 0);
        const std::size_t self = ScanRun(run, [&](const InRun& h) { return h.item == x || !h.tagged; });
        ASSERT_EQ(t.LocateSelf(x, hash(x)), self < run.size() && run[self].item == x ? x : nullptr);
        break;
      }
      default: {
        void* found = t.KeyLocate(static_cast<int>(hash(x)));
        ASSERT_EQ(found, run.empty() ? nullptr : run.front().item);
      }
    }
    ASSERT_EQ(t.count, static_cast<int>(model.size()));
    if (op % 4000 == 0) {
      std::set<void*> expect;
      for (const auto& kv : model) expect.insert(kv.second);
      ASSERT_EQ(Held(t), expect);
    }
  }
}

TEST(PlatformHashTable, MatchesAReferenceSetUnderRandomOperations) {
  RunAgainstModel(HashKey, 20000, 200000, 0);
  RunAgainstModel(HashKey, 3000, 100000, 2);  // starts with two buckets
}

TEST(PlatformHashTable, MatchesAReferenceSetWithHeavyCollisions) {
  RunAgainstModel(HashFew, 1500, 200000, 0);  // three hash values
  RunAgainstModel(HashConst, 600, 60000, 0);  // one long run past the last home
}

TEST(PlatformHashTable, GrowsFromTheDefaultBucketCount) {
  ZORHashTable t(HashKey, CompareKey, 1);
  EXPECT_EQ(t.BucketCount(), 109);
  EXPECT_EQ(ZORHashTable(HashKey, CompareKey, 500).BucketCount(), 500);
  std::vector<Item> items(100000);
  for (int i = 0; i < 100000; ++i) {
    items[i].key = i * 1024;  // regular values must still spread
    ASSERT_TRUE(t.Insert(&items[i]));
  }
  EXPECT_EQ(t.count, 100000);
  EXPECT_GE(t.BucketCount(), t.count);
  for (Item& it : items) ASSERT_EQ(t.Locate(&it), &it);
  EXPECT_FALSE(t.Insert(nullptr));
  EXPECT_EQ(t.Locate(nullptr), nullptr);
  t.RemoveAll();
  EXPECT_EQ(t.count, 0);
  EXPECT_TRUE(Elements(t).empty());
  EXPECT_TRUE(t.Insert(&items[5]));
}

TEST(PlatformHashTable, CopiesAndAssignmentsAreIndependent) {
  std::vector<Item> items(300);
  for (int i = 0; i < 300; ++i) items[i].key = i;
  ZORHashTable a(HashKey, CompareKey, 0);
  for (int i = 0; i < 200; ++i) a.Insert(&items[i]);
  ZORHashTable copy(a);
  a.Remove(&items[0]);
  copy.Insert(&items[250]);
  EXPECT_EQ(copy.Locate(&items[0]), &items[0]);
  EXPECT_EQ(a.Locate(&items[250]), nullptr);
  EXPECT_EQ(copy.count, 201);

  ZORHashTable b(HashFew, CompareKey, 7);  // other contents and functions
  for (int i = 200; i < 300; ++i) b.Insert(&items[i]);
  b = a;
  EXPECT_EQ(Held(b), Held(a));
  EXPECT_EQ(b.KeyLocate(42), &items[42]);  // a's hash function came along
  b.Insert(&items[299]);
  EXPECT_EQ(a.Locate(&items[299]), nullptr);
  const ZORHashTable& same = b;
  b = same;
  EXPECT_EQ(b.count, 200);
  EXPECT_EQ(b.KeyLocate(299), &items[299]);
  EXPECT_EQ(b.KeyLocate(1000), nullptr);
}

TEST(PlatformHashTable, CursorsVisitEachElementOnce) {
  for (unsigned (*hash)(const void*) : {HashKey, HashFew}) {
    std::vector<Item> items(500);
    ZORHashTable t(hash, CompareKey, 0);
    for (int i = 0; i < 500; ++i) items[i].key = i, t.Insert(&items[i]);
    const std::vector<void*> order = Elements(t);
    ASSERT_EQ(order.size(), 500u);
    for (std::size_t pos : {std::size_t{0}, std::size_t{250}, std::size_t{499}}) {
      int a = 1, b = 0;
      ASSERT_EQ(t.LocatePosition(order[pos], a, b), order[pos]);
      std::vector<void*> rest;
      while (void* e = t.Next(a, b)) rest.push_back(e);
      EXPECT_EQ(rest, std::vector<void*>(order.begin() + pos + 1, order.end()));
    }
    Item absent{9999};
    int a = 1, b = 0;
    EXPECT_EQ(t.LocatePosition(&absent, a, b), nullptr);
    EXPECT_EQ(t.Next(a, b), order[0]);  // the cursor was left untouched

    // Removing the element just returned does not disturb the iteration.
    std::set<void*> visited;
    a = 1, b = 0;
    while (void* e = t.Next(a, b)) {
      EXPECT_TRUE(visited.insert(e).second);
      if (static_cast<Item*>(e)->key % 2) t.Remove(e);
    }
    EXPECT_EQ(visited.size(), 500u);
    EXPECT_EQ(t.count, 250);
    for (void* e : Elements(t)) EXPECT_EQ(static_cast<Item*>(e)->key % 2, 0);
  }
}

// An element whose hash value changed while held is still removed by
// identity, whichever elements were removed around it before; the others stay
// found under their own hash values, tags included.
TEST(PlatformHashTable, RemovesByIdentityAfterAHashChange) {
  const auto match = [](const void* held, const void* e) {
    return static_cast<const Item*>(held)->key == static_cast<const Item*>(e)->key ? 1 : 0;
  };
  for (unsigned (*hash)(const void*) : {HashKey, HashFew}) {
    std::vector<Item> items(2000);
    ZORHashTable t(hash, CompareKey, 0);
    for (int i = 0; i < 2000; ++i) {
      items[i].key = i;
      ASSERT_EQ(t.TryInsert(&items[i], hash(&items[i]), match, static_cast<unsigned>(i % 3 != 0)), 1);
    }
    std::set<void*> expect;
    for (Item& it : items) expect.insert(&it);
    for (int i = 0; i < 2000; i += 7) {  // removed in the order inserted: each fills a hole
      items[i].key += 1000000;               // its hash value changes
      ASSERT_TRUE(t.RemoveIdentical(&items[i]));
      ASSERT_FALSE(t.RemoveIdentical(&items[i]));
      expect.erase(&items[i]);
      if (i % 5 == 0) {
        ASSERT_TRUE(t.Remove(&items[i + 1]));
        expect.erase(&items[i + 1]);
      }
    }
    EXPECT_EQ(Held(t), expect);
    EXPECT_EQ(t.count, static_cast<int>(expect.size()));
    for (void* e : expect) {
      ASSERT_EQ(t.Locate(e), e);
      // Only tagged elements are passed over: with few hash values, an
      // untagged one before e in its run stops the search.
      if (hash == HashKey) {
        ASSERT_EQ(t.LocateSelf(e, hash(e)), e);
      }
    }
  }
}

}  // namespace

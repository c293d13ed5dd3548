// The public API driven as a careless client would drive it.  The input is a
// program of operations on nodes (client objects with a handle member and a
// raw member), arrays, unique lists, observers and views: make, copy,
// assign and drop handles, link objects, add, remove and look up elements,
// walk arrays, notify observers, print, and collect, also from inside a
// walker, a view, a member check and a destructor.  Walkers and views run
// further operations of the program from inside the library's own loops,
// dropping the handles of the very container or observer that calls them.
//
// A model keeps the references the program made and computes what must
// stay alive: whatever the live handles, the objects whose operation is
// running, and the references between objects reach.  After every
// collection no such object may have been finalized; every container's
// contents must be what the model says; and once every handle is dropped,
// a few collections must free everything the program made.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <unordered_map>
#include <vector>

#include "FuzzSupport.h"
#include "QL0KRN.h"

namespace {

enum Kind : std::uint8_t { kNode, kArray, kList, kObserver, kView, kKinds };

struct Program;
Program* g_program = nullptr;
void Finalized(std::size_t id);
void Notified(std::size_t view);

[[noreturn]] void Fail(const char* what, long id) {
  std::fprintf(stderr, "api model mismatch: %s (object %ld)\n", what, id);
  std::abort();
}

class FuzzNodeIMP : public ZORQelIObjectIMP {
  ZORQELI_DECLARE_IMP(FuzzNodeIMP, ZORQelIObjectIMP)
 public:
  explicit FuzzNodeIMP(std::size_t id) : id(id) {}
  ~FuzzNodeIMP() override {
    Finalized(id);
    if (collectWhenFinalized) ZORQelIVariable::GarbageCollect();
  }
  ZORQelIObjectIMP* Clone() const override { std::abort(); }
  void Text(ZORQelIPrint& ot) const override { ot.Print(static_cast<ZORQelI::integer>(id)); }
  void GarbageCollectorMemberCheck() override {
    ZORQelIObjectIMP::GarbageCollectorMemberCheck();
    if (collectWhenScanned) {
      collectWhenScanned = false;
      ZORQelIVariable::GarbageCollect();
    }
    GarbageCollectorScan(link);
    GarbageCollectorScan(raw);
  }
  std::size_t id;
  ZORQelIObject link;
  ZORQelIObjectIMP* raw = nullptr;
  bool collectWhenScanned = false;
  bool collectWhenFinalized = false;
};
ZORQELI_DEFINE_IMP(FuzzNodeIMP, ZORQelIObjectIMP)

class FuzzArrayIMP : public ZORQelIArrayIMP {
  ZORQELI_DECLARE_IMP(FuzzArrayIMP, ZORQelIArrayIMP)
 public:
  explicit FuzzArrayIMP(std::size_t id) : id(id) {}
  ~FuzzArrayIMP() override { Finalized(id); }
  ZORQelIObjectIMP* Clone() const override { std::abort(); }
  std::size_t id;
};
ZORQELI_DEFINE_IMP(FuzzArrayIMP, ZORQelIArrayIMP)

class FuzzListIMP : public ZORQelIListUniqueIMP {
  ZORQELI_DECLARE_IMP(FuzzListIMP, ZORQelIListUniqueIMP)
 public:
  explicit FuzzListIMP(std::size_t id) : id(id) {}
  ~FuzzListIMP() override { Finalized(id); }
  ZORQelIObjectIMP* Clone() const override { std::abort(); }
  std::size_t id;
};
ZORQELI_DEFINE_IMP(FuzzListIMP, ZORQelIListUniqueIMP)

class FuzzObserverIMP : public ZORQelIObserverIMP {
  ZORQELI_DECLARE_IMP(FuzzObserverIMP, ZORQelIObserverIMP)
 public:
  explicit FuzzObserverIMP(std::size_t id) : id(id) {}
  ~FuzzObserverIMP() override { Finalized(id); }
  ZORQelIObjectIMP* Clone() const override { std::abort(); }
  std::size_t id;
};
ZORQELI_DEFINE_IMP(FuzzObserverIMP, ZORQelIObserverIMP)

class FuzzViewIMP : public ZORQelIViewIMP {
  ZORQELI_DECLARE_IMP(FuzzViewIMP, ZORQelIViewIMP)
 public:
  explicit FuzzViewIMP(std::size_t id) : id(id) {}
  ~FuzzViewIMP() override { Finalized(id); }
  ZORQelIObjectIMP* Clone() const override { std::abort(); }
  void Text(ZORQelIPrint&) const override {}
  void NotifyUpdate(ZORQelIObject) override { Notified(id); }
  void NotifyDeleted(ZORQelIObject) override { Notified(id); }
  void NotifyCreated(ZORQelIObject) override { Notified(id); }
  std::size_t id;
};
ZORQELI_DEFINE_IMP(FuzzViewIMP, ZORQelIViewIMP)

struct Object {
  explicit Object(Kind k) : kind(k) {}
  Kind kind;
  ZORQelIObjectIMP* imp = nullptr;
  bool freed = false;
  long link = -1, raw = -1;  // nodes
  std::vector<long> out;     // elements of arrays and lists, views of observers
};

constexpr int kMaxDepth = 3;      // walkers and views running operations in turn
constexpr std::size_t kMaxObjects = 2048;
constexpr std::size_t kMaxElements = 64;

struct Program {
  Program(const std::uint8_t* d, std::size_t n) : data(d), size(n) {}
  const std::uint8_t* data;
  std::size_t size;
  std::size_t at = 0;
  std::vector<Object> objects;
  std::unordered_map<const ZORQelIObjectIMP*, long> ids;  // live objects
  std::vector<std::unique_ptr<ZORQelIObject>> handles;   // heap handles: static-table roots
  std::vector<long> target;
  std::vector<long> running;  // objects whose operation runs (walked, notifying, notified)
  int depth = 0;

  std::uint8_t Next() { return at < size ? data[at++] : 0; }
  bool Done() const { return at >= size; }

  long Make(Kind kind) {
    const std::size_t id = objects.size();
    ZORQelIObjectIMP* imp = nullptr;
    objects.emplace_back(kind);
    switch (kind) {
      case kNode: imp = new FuzzNodeIMP(id); break;
      case kArray: imp = new FuzzArrayIMP(id); break;
      case kList: imp = new FuzzListIMP(id); break;
      case kObserver: imp = new FuzzObserverIMP(id); break;
      default: imp = new FuzzViewIMP(id); break;
    }
    objects[id].imp = imp;
    ids[imp] = static_cast<long>(id);
    handles.emplace_back(new ZORQelIObject(imp));
    target.push_back(static_cast<long>(id));
    return static_cast<long>(id);
  }

  // The object of handle b % n, or -1.
  long Handle(std::uint8_t b) const {
    if (handles.empty()) return -1;
    return target[b % handles.size()];
  }
  long HandleOf(std::uint8_t b, Kind kind) const {
    const long id = Handle(b);
    return id >= 0 && objects[id].kind == kind ? id : -1;
  }
  bool IsContainer(long id) const {
    return id >= 0 && (objects[id].kind == kArray || objects[id].kind == kList);
  }

  // What must stay alive.
  std::vector<bool> MustLive() const {
    FuzzMarking m(objects.size());
    for (long t : target) m.Reach(t);
    for (long r : running) m.Reach(r);
    for (long id; m.Next(id);) {
      const Object& o = objects[id];
      m.Reach(o.link);
      m.Reach(o.raw);
      for (long e : o.out) m.Reach(e);
    }
    return m.marked;
  }

  void Check() {
    const std::vector<bool> live = MustLive();
    for (std::size_t i = 0; i < objects.size(); ++i) {
      if (!live[i]) continue;
      const Object& o = objects[i];
      if (o.freed) Fail("an object that must live was finalized", static_cast<long>(i));
      if (o.kind != kArray && o.kind != kList) continue;
      const ZORQelIArray array(static_cast<ZORQelIArrayIMP*>(o.imp));
      if (array.Size() != static_cast<ZORQelI::integer>(o.out.size()))
        Fail("a container's size", static_cast<long>(i));
      for (std::size_t k = 0; k < o.out.size(); ++k)
        if (array.Get(static_cast<ZORQelI::integer>(k)).RefMe() != objects[o.out[k]].imp)
          Fail("a container's element", static_cast<long>(i));
    }
  }

  void Collect() {
    ZORQelIVariable::GarbageCollect();
    Check();
  }

  void DropHandle(std::uint8_t b) {
    if (handles.empty()) return;
    const std::size_t k = b % handles.size();
    handles.erase(handles.begin() + static_cast<long>(k));
    target.erase(target.begin() + static_cast<long>(k));
  }

  // Removes position pos from container c in the model.
  void RemovedAt(long c, std::size_t pos) {
    std::vector<long>& out = objects[c].out;
    out.erase(out.begin() + static_cast<long>(pos));
  }

  bool Holds(long c, long e) const {
    for (long x : objects[c].out)
      if (x == e) return true;
    return false;
  }

  // Whether observer `from` reaches observer `to` through its views.
  bool Reaches(long from, long to) const {
    if (from == to) return true;
    for (long v : objects[from].out)
      if (objects[v].kind == kObserver && Reaches(v, to)) return true;
    return false;
  }

  void Step();
};

void Finalized(std::size_t id) {
  Program& p = *g_program;
  Object& o = p.objects[id];
  if (o.freed) Fail("finalized twice", static_cast<long>(id));
  o.freed = true;
  p.ids.erase(o.imp);
}

class Walker : public ZORQelIArrayWalker {
 public:
  ZORQelI::boolean Walk(ZORQelIObject o, integer) override {
    Program& p = *g_program;
    auto it = p.ids.find(o.RefMe());
    if (it == p.ids.end()) Fail("a walk handed out a finalized element", -1);
    p.running.push_back(it->second);
    if (p.depth < kMaxDepth) {
      ++p.depth;
      p.Step();
      --p.depth;
    }
    p.running.pop_back();
    return (p.Next() & 7) != 0 ? ZORQelI::Itrue : ZORQelI::Ifalse;
  }
};

void Notified(std::size_t view) {
  Program& p = *g_program;
  if (p.objects[view].freed) Fail("a finalized view was notified", static_cast<long>(view));
  p.running.push_back(static_cast<long>(view));
  if (p.depth < kMaxDepth) {
    ++p.depth;
    p.Step();
    --p.depth;
  }
  p.running.pop_back();
}

void Program::Step() {
  const std::uint8_t op = Next() % 20;
  const std::uint8_t a = Next(), b = Next();
  switch (op) {
    case 0:
    case 1:
      if (objects.size() < kMaxObjects) Make(static_cast<Kind>(a % kKinds));
      break;
    case 2:  // copy a handle
      if (!handles.empty()) {
        const long id = Handle(a);
        handles.emplace_back(new ZORQelIObject(*handles[a % handles.size()]));
        target.push_back(id);
      }
      break;
    case 3:  // assign a handle another's object, or nothing
      if (!handles.empty()) {
        const std::size_t k = a % handles.size();
        if (b & 0x80) {
          *handles[k] = ZORQelIObject();
          target[k] = -1;
        } else {
          *handles[k] = *handles[b % handles.size()];
          target[k] = target[b % handles.size()];
        }
      }
      break;
    case 4:
    case 5:
      DropHandle(a);
      break;
    case 6:
      Collect();
      break;
    case 7: {  // a node's handle member or raw member
      const long owner = HandleOf(a, kNode);
      if (owner < 0) break;
      const long to = (b & 0x40) ? -1 : Handle(b);
      auto* node = static_cast<FuzzNodeIMP*>(objects[owner].imp);
      if (b & 0x80) {
        node->raw = to >= 0 ? objects[to].imp : nullptr;
        objects[owner].raw = to;
      } else {
        node->link = to >= 0 ? objects[to].imp : nullptr;
        objects[owner].link = to;
      }
      break;
    }
    case 8: {  // add an element to an array or a unique list
      const long c = Handle(a);
      const long e = Handle(b);
      if (!IsContainer(c) || e < 0 || objects[c].out.size() >= kMaxElements) break;
      ZORQelIArray array(static_cast<ZORQelIArrayIMP*>(objects[c].imp));
      const bool added = array.Add(*handles[b % handles.size()]) == ZORQelI::Itrue;
      const bool expected = objects[c].kind == kArray || !Holds(c, e);
      if (added != expected) Fail("Add's answer", c);
      if (added) objects[c].out.push_back(e);
      break;
    }
    case 9: {  // remove a position through the array handle (a list too)
      const long c = Handle(a);
      if (!IsContainer(c) || objects[c].out.empty()) break;
      const std::size_t pos = b % objects[c].out.size();
      ZORQelIArray array(static_cast<ZORQelIArrayIMP*>(objects[c].imp));
      array.Remove(static_cast<ZORQelI::integer>(pos));
      RemovedAt(c, pos);
      break;
    }
    case 10: {  // the unique list's own Remove, by object or by position
      const long c = HandleOf(a, kList);
      if (c < 0) break;
      ZORQelIListUnique list(static_cast<ZORQelIListUniqueIMP*>(objects[c].imp));
      if ((b & 1) && !objects[c].out.empty()) {
        const std::size_t pos = (b >> 1) % objects[c].out.size();
        if (list.Remove(static_cast<ZORQelI::integer>(pos)) != ZORQelI::Itrue)
          Fail("Remove(position)'s answer", c);
        RemovedAt(c, pos);
      } else {
        const long e = Handle(b >> 1);
        if (e < 0) break;
        const bool held = Holds(c, e);
        if ((list.Remove(*handles[(b >> 1) % handles.size()]) == ZORQelI::Itrue) != held)
          Fail("Remove(object)'s answer", c);
        if (held)
          for (std::size_t k = 0; k < objects[c].out.size(); ++k)
            if (objects[c].out[k] == e) {
              RemovedAt(c, k);
              break;
            }
      }
      break;
    }
    case 11: {  // the unique list's Look
      const long c = HandleOf(a, kList);
      const long e = Handle(b);
      if (c < 0 || e < 0) break;
      ZORQelIListUnique list(static_cast<ZORQelIListUniqueIMP*>(objects[c].imp));
      const ZORQelIObject found = list.Look(*handles[b % handles.size()]);
      if (found.IsValid() == ZORQelI::Itrue) {
        if (!Holds(c, e) || found.RefMe() != objects[e].imp) Fail("Look found a stranger", c);
      } else if (Holds(c, e)) {
        Fail("Look missed a held element", c);
      }
      break;
    }
    case 12:
    case 13: {  // walk a container; the walker runs operations of its own
      const long c = Handle(a);
      if (!IsContainer(c) || objects[c].out.empty()) break;
      Walker walker;
      running.push_back(c);  // the library keeps the walked array alive
      if (b & 1) {
        // On the implementation, with no handle of the walk's own: once the
        // walker drops the program's handles, only the walk refers to it.
        static_cast<ZORQelIArrayIMP*>(objects[c].imp)
            ->ForEach(walker, 0, static_cast<int>(objects[c].out.size()));
      } else {
        ZORQelIArray(static_cast<ZORQelIArrayIMP*>(objects[c].imp)).ForEach(walker);
      }
      running.pop_back();
      break;
    }
    case 14: {  // register or withdraw a view (an observer is a view too)
      const long o = HandleOf(a, kObserver);
      const long v = Handle(b);
      if (o < 0 || v < 0) break;
      const Kind k = objects[v].kind;
      if (k != kView && k != kObserver) break;
      ZORQelIObserver observer(static_cast<ZORQelIObserverIMP*>(objects[o].imp));
      ZORQelIView view(static_cast<ZORQelIViewIMP*>(objects[v].imp));
      if (b & 0x80) {
        observer.RemoveView(view);
        std::vector<long>& out = objects[o].out;
        for (std::size_t i = 0; i < out.size(); ++i)
          if (out[i] == v) {
            out.erase(out.begin() + static_cast<long>(i));
            break;
          }
      } else if (!Holds(o, v) && objects[o].out.size() < kMaxElements &&
                 !(k == kObserver && Reaches(v, o))) {  // no cycles of observers here
        observer.AddView(view);
        objects[o].out.push_back(v);
      }
      break;
    }
    case 15: {  // notify an observer; each view runs operations of its own
      const long o = HandleOf(a, kObserver);
      if (o < 0) break;
      running.push_back(o);  // the library keeps the notifying observer alive
      ZORQelIObject what;
      if (Handle(b) >= 0) what = *handles[b % handles.size()];
      auto* observer = static_cast<ZORQelIObserverIMP*>(objects[o].imp);
      if (b & 1)
        observer->NotifyCreated(what);  // no handle of the call's own
      else
        ZORQelIObserver(observer).NotifyUpdate(what);
      running.pop_back();
      break;
    }
    case 16: {  // print a container (it may contain itself)
      const long c = Handle(a);
      if (!IsContainer(c)) break;
      ZORQelIArray array(static_cast<ZORQelIArrayIMP*>(objects[c].imp));
      try {
        array.ToString();
      } catch (const ZORQelI::Exception&) {
        // an array that contains itself
      }
      break;
    }
    case 17: {  // a node collects from its member check or its destructor
      const long n = HandleOf(a, kNode);
      if (n < 0) break;
      auto* node = static_cast<FuzzNodeIMP*>(objects[n].imp);
      if (b & 1)
        node->collectWhenFinalized = true;
      else
        node->collectWhenScanned = true;
      break;
    }
    case 18: {  // a scope that collects on entry and exit around one operation
      if (depth >= kMaxDepth) break;
      ZORQelIGCState scope;
      Check();
      ++depth;
      Step();
      --depth;
      break;
    }
    default:  // stack handles made and dropped around a collection
      if (!handles.empty()) {
        ZORQelIObject local(*handles[a % handles.size()]);
        Collect();
      }
      break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ZORQelIVariable::GarbageCollect();
  ZORQelIVariable::GarbageCollect();
  const ZORQelI::integer baseline = ZORQelIVariable::GetInstancesCount__();
  Program p(data, size);
  g_program = &p;
  while (!p.Done()) p.Step();
  p.Check();
  p.handles.clear();
  p.target.clear();
  // Handle members never scanned are roots until a cycle reaches their
  // owner; each cycle frees at least the objects nothing reaches any more.
  for (int i = 0; i < 8 && ZORQelIVariable::GetInstancesCount__() != baseline; ++i)
    ZORQelIVariable::GarbageCollect();
  for (std::size_t i = 0; i < p.objects.size(); ++i)
    if (!p.objects[i].freed) Fail("an object left once every handle was dropped", static_cast<long>(i));
  if (ZORQelIVariable::GetInstancesCount__() != baseline) Fail("objects left at the end", -1);
  g_program = nullptr;
  return 0;
}

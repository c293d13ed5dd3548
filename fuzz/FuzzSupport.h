// What the fuzz targets share: the check that ends a run on a broken
// property, and the work list of the reference models that compute what a
// collection must keep.
#ifndef QL0KRN_FUZZ_SUPPORT_H
#define QL0KRN_FUZZ_SUPPORT_H

#include <cstdio>
#include <cstdlib>
#include <vector>

// A property every input must keep: a failure prints the condition and
// aborts, which libFuzzer reports with the input that broke it.
#define CHECK(c)                                                                  \
  do {                                                                            \
    if (!(c)) {                                                                   \
      std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #c); \
      std::abort();                                                               \
    }                                                                             \
  } while (0)

// The marking of a model: objects are numbered 0 .. n-1, -1 is no object.
// Reach(id) marks an object once and queues it; Next hands the queued ones
// back, in any order, until none is left.
class FuzzMarking {
 public:
  explicit FuzzMarking(std::size_t n) : marked(n, false) {}
  void Reach(long id) {
    if (id >= 0 && !marked[static_cast<std::size_t>(id)]) {
      marked[static_cast<std::size_t>(id)] = true;
      work_.push_back(id);
    }
  }
  bool Next(long& id) {
    if (work_.empty()) return false;
    id = work_.back();
    work_.pop_back();
    return true;
  }

  std::vector<bool> marked;

 private:
  std::vector<long> work_;
};

#endif

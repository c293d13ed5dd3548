#!/bin/sh
# Builds the benchmarks in Release, runs every one of them beside its peer and
# prints one table: the library's figure, the peer's, the ratio and the goal.
#
#   benchmarks/run_all.sh [BUILD_DIR]     (default: ../build-perf)
#
# The library's programs are built twice, with g++ in BUILD_DIR and with
# clang++ in BUILD_DIR-clang (when clang++ is installed; COMPILERS="gcc"
# skips it), and the table gives a ratio for each: the same paths must meet
# the same goals whichever compiler built them.  The Boehm peer is built once.
#
# Figures are medians over REPS rounds (default 5) of CPU time per
# iteration, so that time lost to other processes on a shared machine is not
# counted; wall-clock times are kept in the JSON files in BUILD_DIR/bench.
# Each round runs every program once, a library figure and its peer's back
# to back, so that a slow spell of the machine falls on both sides of a ratio
# rather than on one.
# Allocation-heavy benchmarks run twice: with glibc's defaults ("defaults")
# and with freed memory kept in the process ("kept": GLIBC_TUNABLES raises
# the trim and mmap thresholds, so pages touched once are reused instead of
# being returned to the system and faulted in again).  The callgrind
# instruction counts and the other deterministic checks come from
# ci_check.sh, run at the end.  The Boehm collector peer needs libgc-dev.
# Every program runs pinned to one CPU (BENCH_CPU, default the last one;
# empty: unpinned): the CPUs of a shared virtual machine can differ in speed
# by half, and a library figure and its peer's must come from the same CPU.
set -eu
SRC=$(cd "$(dirname "$0")/.." && pwd)
BUILD=${1:-$SRC/../build-perf}
REPS=${REPS:-5}
KEPT="glibc.malloc.trim_threshold=17179869184:glibc.malloc.mmap_threshold=33554432"
unset ZORQelITracerContext 2>/dev/null || true   # tracing off
BENCH_CPU=${BENCH_CPU-$(($(nproc) - 1))}
PIN=
if [ -n "$BENCH_CPU" ] && command -v taskset >/dev/null 2>&1; then PIN="taskset -c $BENCH_CPU"; fi

COMPILERS=${COMPILERS-gcc clang}
command -v clang++ >/dev/null 2>&1 || COMPILERS=gcc
TARGETS="core_bench containers_bench peers_bench members_bench callgrind_probe"
for cc in $COMPILERS; do
  dir=$BUILD
  if [ "$cc" = clang ]; then
    dir=$BUILD-clang
    CC=clang CXX=clang++ cmake -S "$SRC" -B "$dir" -DCMAKE_BUILD_TYPE=Release \
      -DQL0KRN_BUILD_BENCHMARKS=ON -DQL0KRN_BUILD_TESTS=OFF -DQL0KRN_BUILD_EXAMPLES=OFF >/dev/null
  else
    cmake -S "$SRC" -B "$dir" -DCMAKE_BUILD_TYPE=Release -DQL0KRN_BUILD_BENCHMARKS=ON >/dev/null
  fi
  # shellcheck disable=SC2086
  cmake --build "$dir" -j2 --target $TARGETS >/dev/null
done
BUILD=$(cd "$BUILD" && pwd)
OUT=$BUILD/bench
mkdir -p "$OUT"
c++ -O2 -DNDEBUG -std=c++17 "$SRC/benchmarks/boehm_peer.cpp" -o "$OUT/boehm_peer" \
  -lgc -lbenchmark -lpthread

run() {  # name env filter program [args]: one repetition, into name.env.ROUND.json
  name=$1 env=$2 filter=$3
  shift 3
  echo "round $round: running $name ($env)" >&2
  if [ "$env" = kept ]; then
    GLIBC_TUNABLES=$KEPT GC_MARKERS=1 $PIN "$@" --benchmark_filter="$filter" \
      --benchmark_repetitions=1 --benchmark_format=json \
      --benchmark_out="$OUT/$name.$env.$round.json" --benchmark_out_format=json >/dev/null
  else
    env -u GLIBC_TUNABLES GC_MARKERS=1 $PIN "$@" --benchmark_filter="$filter" \
      --benchmark_repetitions=1 --benchmark_format=json \
      --benchmark_out="$OUT/$name.$env.$round.json" --benchmark_out_format=json >/dev/null
  fi
}

rm -f "$OUT"/*.json
HEAVY_CORE='CollectUnreachable|DeleteDirectly'
round=1
while [ "$round" -le "$REPS" ]; do
  for env in defaults kept; do
    for cc in $COMPILERS; do
      # A run's name starts with the compiler of the program it ran.
      B=$BUILD/benchmarks
      [ "$cc" = clang ] && B=$BUILD-clang/benchmarks
      run "$cc.core_heavy" $env "$HEAVY_CORE" "$B/core_bench"
      run "$cc.peers_gc" $env 'LibCollect' "$B/peers_bench"
      [ "$cc" = gcc ] && run boehm $env '.' "$OUT/boehm_peer"
      # Handle-member heaps: each case in a fresh process of its own, then
      # all of them in a process that has run other work first (--history).
      for shape in 0 1; do for made in 1 0; do for n in 100000 1000000; do
        run "$cc.members_fresh_${shape}_${made}_${n}" $env \
          "BM_MemberCollect/shape:$shape/made_first:$made/n:$n\$" "$B/members_bench"
      done; done; done
      run "$cc.members_fresh_unreachable" $env 'MemberCollectUnreachable|MemberDeleteDirectly' \
        "$B/members_bench"
      run "$cc.members_history" $env 'Member' "$B/members_bench" --history
      run "$cc.containers" $env 'ArrayAdd|VectorSharedPtr|ListUniqueAdd|UnorderedSetInsert|ListUniqueLook|UnorderedSetFind' "$B/containers_bench"
      # The container rows keep the process history they were measured with
      # (the collections first).
      run "$cc.peers" $env 'Collect|PushBack|AddLook' "$B/peers_bench"
    done
  done
  for cc in $COMPILERS; do
    B=$BUILD/benchmarks
    [ "$cc" = clang ] && B=$BUILD-clang/benchmarks
    run "$cc.core_threaded" defaults 'HandleCopy|SharedPtrCopy' "$B/core_bench"
    run "$cc.core_single" defaults 'HandleCopy|SharedPtrCopy' "$B/core_bench" --single-thread
    run "$cc.peers_call" defaults 'NoOp|EmptyCall' "$B/peers_bench"
  done
  round=$((round + 1))
done

echo
echo "QL0KRN benchmarks against their peers ($(date -u '+%Y-%m-%d %H:%M UTC'), $(nproc) cores,"
echo "load average $(cut -d' ' -f1-3 /proc/loadavg)); median CPU time of $REPS rounds${PIN:+, on CPU $BENCH_CPU}."
echo "env: defaults = glibc's defaults; kept = GLIBC_TUNABLES=$KEPT"
python3 - "$OUT" $COMPILERS <<'PY'
import functools, glob, json, os, statistics, sys
out = sys.argv[1]
compilers = sys.argv[2:]
@functools.lru_cache(maxsize=None)
def load(name, env):
    times = {}
    for f in sorted(glob.glob(os.path.join(out, f"{name}.{env}.*.json"))):
        for b in json.load(open(f))["benchmarks"]:
            if b.get("run_type", "iteration") == "iteration":
                times.setdefault(b["run_name"], []).append((b["cpu_time"], b["time_unit"]))
    return {k: (statistics.median(t for t, _ in v), v[0][1]) for k, v in times.items()}
scale = {"ns": 1e-9, "us": 1e-6, "ms": 1e-3, "s": 1.0}
def fmt(t):
    if t < 1e-6: return f"{t*1e9:.2f} ns"
    if t < 1e-3: return f"{t*1e6:.1f} us"
    return f"{t*1e3:.2f} ms"
rows = []
def row(what, env, lib, peer, libname, peername, goal):
    # lib and peer: the name of a run without its compiler ("boehm" has
    # none); one ratio per compiler.
    cells = []
    verdicts = []
    for cc in compilers:
        try:
            l = load(f"{cc}.{lib}", env)[libname]
            p = load(peer if peer == "boehm" else f"{cc}.{peer}", env)[peername]
        except KeyError as e:
            cells += ["?", "?", ""]
            verdicts.append(f"{cc}: missing {e}")
            continue
        lt = l[0] * scale[l[1]]; pt = p[0] * scale[p[1]]
        ratio = lt / pt
        cells += [fmt(lt), fmt(pt), f"{ratio:.2f}x"]
        if goal:
            verdicts.append(("" if len(compilers) == 1 else f"{cc} ")
                            + ("met" if ratio <= goal + 1e-9 else "MISSED"))
    rows.append(tuple([what, env] + cells + [((f"<= {goal}x " if goal else "")
                                             + ", ".join(verdicts)).strip()]))
for env in ("defaults", "kept"):
    for n, goal in ((100000, 1.3), (1000000, 1.6)):
        row(f"collect {n:.0e} unreachable vs delete", env, "core_heavy", "core_heavy",
            f"BM_CollectUnreachable/{n}", f"BM_DeleteDirectly/{n}", goal)
    for shape, sname in ((0, "live chain"), (1, "live random graph"), (2, "all garbage")):
        for n in (100000, 1000000):
            goal = None
            if n == 1000000 and shape == 0: goal = 0.6
            if n == 1000000 and shape == 1: goal = 0.8
            if n == 100000 and shape in (0, 1): goal = 0.5
            row(f"full collection, {sname} {n:.0e}, vs Boehm", env, "peers_gc", "boehm",
                f"BM_LibCollect/shape:{shape}/n:{n}", f"BM_BoehmCollect/shape:{shape}/n:{n}", goal)
    for shape, sname in ((0, "chain"), (1, "graph")):
        for made, mname in ((1, "made first"), (0, "linked as made")):
            for n in (100000, 1000000):
                goal = 0.5 if n == 100000 else (0.6 if shape == 0 else 0.8)
                lib = f"BM_MemberCollect/shape:{shape}/made_first:{made}/n:{n}"
                peer = f"BM_BoehmMemberCollect/shape:{shape}/made_first:{made}/n:{n}"
                row(f"handle members, {sname} {n:.0e} {mname}, fresh, vs Boehm", env,
                    f"members_fresh_{shape}_{made}_{n}", "boehm", lib, peer, goal)
                row(f"handle members, {sname} {n:.0e} {mname}, history, vs Boehm", env,
                    "members_history", "boehm", lib, peer, goal)
    for proc, run in (("fresh", "members_fresh_unreachable"), ("history", "members_history")):
        row(f"members program: collect 1e5 unreachable 40-byte objects vs delete, {proc}", env, run, run,
            "BM_MemberCollectUnreachable/100000", "BM_MemberDeleteDirectly/100000", 1.3)
    for n in (10000, 100000, 1000000):
        row(f"Array::Add {n:.0e} vs vector<shared_ptr> (threaded)", env, "containers", "containers",
            f"BM_ArrayAdd/{n}", f"BM_VectorSharedPtrPushBack/{n}", 1.5)
        row(f"Array::Add {n:.0e} vs vector<void*>", env, "containers", "peers",
            f"BM_ArrayAdd/{n}", f"BM_VectorVoidPushBack/{n}", None)
    for n in (10000, 100000, 1000000):
        row(f"ListUnique::Add {n:.0e} vs unordered_set::insert", env, "containers", "containers",
            f"BM_ListUniqueAdd/{n}", f"BM_UnorderedSetInsert/{n}", 2.0)
        for order, oname in ((0, "in order"), (1, "shuffled")):
            row(f"ListUnique::Look {n:.0e} {oname} vs unordered_set::find", env, "containers",
                "containers", f"BM_ListUniqueLook/{n}/{order}", f"BM_UnorderedSetFind/{n}/{order}", 2.0)
    for n in (10000, 100000, 1000000):
        row(f"ListUnique add+look {n:.0e} vs unordered_set", env, "peers", "peers",
            f"BM_ListUniqueAddLook/{n}", f"BM_UnorderedSetAddLook/{n}", 1.0)
        row(f"Set add+look {n:.0e} vs unordered_set", env, "peers", "peers",
            f"BM_SetAddLook/{n}", f"BM_UnorderedSetAddLook/{n}", 1.0)
row("handle copy+destroy vs shared_ptr, threaded process", "defaults", "core_threaded",
    "core_threaded", "BM_HandleCopyDestroy", "BM_SharedPtrCopyDestroy", 0.4)
row("handle copy+destroy vs shared_ptr, no thread started", "defaults", "core_single",
    "core_single", "BM_HandleCopyDestroy", "BM_SharedPtrCopyDestroy", 1.2)
row("traced no-op (tracing off) vs untraced call", "defaults", "peers_call", "peers_call",
    "BM_TracedNoOp", "BM_EmptyCall", 1.3)
hdr = ["what", "env"]
for cc in compilers:
    hdr += [f"{cc} library", f"{cc} peer", f"{cc} ratio"]
hdr.append("goal")
w = [max(len(r[i]) for r in rows + [tuple(hdr)]) for i in range(len(hdr))]
last = len(hdr) - 1
print("  ".join(h.ljust(w[i]) for i, h in enumerate(hdr)))
print("  ".join("-" * w[i] for i in range(len(hdr))))
for r in rows:
    print("  ".join(c.ljust(w[i]) if i in (0, 1, last) else c.rjust(w[i]) for i, c in enumerate(r)))
PY
echo
echo "Deterministic checks (instruction counts under callgrind, net of an empty out-of-line call):"
for cc in $COMPILERS; do
  echo "-- $cc"
  dir=$BUILD
  [ "$cc" = clang ] && dir=$BUILD-clang
  QL0KRN_CI_TIMES=0 "$SRC/benchmarks/ci_check.sh" "$dir" || true
done

#!/usr/bin/env bash
# Installs the build tree given as $1 into a scratch prefix, checks that every
# public header is installed and compiles on its own, then builds and runs
# the clients (the core alone, and with the in-memory provider) with
# find_package(QL0KRN) and again with pkg-config.
set -euo pipefail
build="$1"; source_dir="$(cd "$(dirname "$0")" && pwd)"
scratch="$(mktemp -d)"; trap 'rm -rf "$scratch"' EXIT
cmake --install "$build" --prefix "$scratch/prefix" > /dev/null

# The installed headers are exactly the public ones (the internal/ folder,
# which inline code of the public headers reads, included), and each one
# compiles on its own with the installed include directories alone.
repo="$(cd "$source_dir/../.." && pwd)"
headers() { for d in "$@"; do (cd "$d" && find . -name '*.h' -o -name '*.def'); done | sort; }
diff <(headers "$repo/Platform/PublicInterfaces" "$repo/QelInfrastructure/PublicInterfaces") \
     <(headers "$scratch/prefix/include/QL0KRN")
diff <(headers "$repo/QelInfrastructure/QL0KRNMemInterfaces") \
     <(headers "$scratch/prefix/include/QL0KRNMem")
for dir in QL0KRN QL0KRNMem; do
  for h in $(cd "$scratch/prefix/include/$dir" && find . -name '*.h' | sort); do
    echo "#include \"$h\"" | ${CXX:-c++} -std=c++17 -fsyntax-only -x c++ \
      -I"$scratch/prefix/include/QL0KRN" \
      -I"$scratch/prefix/include/QL0KRNMem" - \
      || { echo "installed header $dir/$h does not compile on its own"; exit 1; }
  done
done
cmake -S "$source_dir" -B "$scratch/client" -DCMAKE_PREFIX_PATH="$scratch/prefix" > /dev/null
cmake --build "$scratch/client" > /dev/null
LD_LIBRARY_PATH="$scratch/prefix/lib:$scratch/prefix/lib64:${LD_LIBRARY_PATH:-}" "$scratch/client/client"
LD_LIBRARY_PATH="$scratch/prefix/lib:$scratch/prefix/lib64:${LD_LIBRARY_PATH:-}" "$scratch/client/mem_client"
if command -v pkg-config > /dev/null; then
  pc_dir=$(dirname "$(find "$scratch/prefix" -name QL0KRN.pc | head -1)")
  flags=$(PKG_CONFIG_PATH="$pc_dir" pkg-config --cflags --libs QL0KRN)
  ${CXX:-c++} "$source_dir/client.cpp" -o "$scratch/pc-client" $flags
  LD_LIBRARY_PATH="$scratch/prefix/lib:$scratch/prefix/lib64:${LD_LIBRARY_PATH:-}" "$scratch/pc-client"
  flags=$(PKG_CONFIG_PATH="$pc_dir" pkg-config --cflags --libs QL0KRNMem)
  ${CXX:-c++} "$source_dir/mem_client.cpp" -o "$scratch/pc-mem-client" $flags
  LD_LIBRARY_PATH="$scratch/prefix/lib:$scratch/prefix/lib64:${LD_LIBRARY_PATH:-}" "$scratch/pc-mem-client"
fi

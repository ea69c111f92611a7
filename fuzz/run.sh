#!/bin/bash
# Builds every fuzz target with clang's libFuzzer, ASan and UBSan, and runs each for
# FUZZ_SECONDS (default 60). Not part of `make test`.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="${FUZZ_BUILD:-$root/build-fuzz}"
seconds="${FUZZ_SECONDS:-60}"
cxx="${FUZZ_CXX:-clang++}"
mkdir -p "$out"
flags=(-std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined
       -I"$root")
for target in "$root"/fuzz/fuzz_*.cpp; do
    name="$(basename "$target" .cpp)"
    echo "== $name"
    nice "$cxx" "${flags[@]}" "$target" "$root"/core/*.cpp -o "$out/$name"
    mkdir -p "$out/corpus-$name"
    "$out/$name" -max_total_time="$seconds" -max_len=4096 "$out/corpus-$name"
done

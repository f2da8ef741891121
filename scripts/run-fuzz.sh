#!/usr/bin/env bash
# Builds the libFuzzer targets of tests/fuzz in build-fuzz (clang, address and undefined-behaviour
# checks on every library) and runs each for the given number of seconds, 20 by default, on a
# copy of its seeds in the build tree, so that the committed seeds are not flooded. Fails when
# any target finds a fault; the input that broke it lands in build-fuzz/artifacts/<target>/.
set -euo pipefail

cd "$(dirname "${BASH_SOURCE[0]}")/.."

readonly seconds="${1:-20}"
readonly build=build-fuzz

scripts/install-deps.sh
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++ -DKPS_FUZZ=ON -DBUILD_TESTING=OFF
cmake --build "$build" -j2 --target fuzz
# Fontconfig, behind the receipt image's fonts, keeps memory it never frees.
export LSAN_OPTIONS="suppressions=$PWD/tests/support/leak-suppressions.txt:print_suppressions=0"

# Runs one target on its working corpus; prints libFuzzer's closing figures.
run_target() {
    local target="$1"
    local corpus="$build/corpus/$target" artifacts="$build/artifacts/$target"
    mkdir -p "$corpus" "$artifacts"
    cp -n "tests/fuzz/corpus/$target/"* "$corpus/"
    if ! "$build/bin/$target" -max_total_time="$seconds" -timeout=30 \
        -artifact_prefix="$artifacts/" "$corpus" >"$build/$target.log" 2>&1; then
        tail -n 40 "$build/$target.log"
        return 1
    fi
    echo "$target: $(grep -E '^#[0-9]+[[:space:]]+DONE' "$build/$target.log" | tail -n 1)"
}

failed=()
for seeds in tests/fuzz/corpus/*/; do
    target="$(basename "$seeds")"
    run_target "$target" || failed+=("$target")
done
if ((${#failed[@]} > 0)); then
    echo "run-fuzz: faults found by ${failed[*]}" >&2
    exit 1
fi

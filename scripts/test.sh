#!/usr/bin/env bash
# Checks the sources' layout, builds with warnings as errors and runs the whole suite, installs into a
# temporary folder and checks what lands there, runs every benchmark once, runs clang-tidy on our sources;
# then builds and runs the suite again under the address and undefined-behaviour sanitizers.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
fonts=(src tests bench tools)

# The files that .clang-format lays out, before anything is built.
echo "== clang-format"
find "${fonts[@]}" -type f \( -name '*.cpp' -o -name '*.h' \) -print0 | sort -z |
    xargs -0 clang-format --dry-run -Werror

# What `cmake --install` puts in place (these files and nothing else), and the command-line program run
# from there.
comprovar_installacio() {
    local prefix
    prefix=$(mktemp -d)
    cmake --install build/ci --prefix "$prefix" >/dev/null
    diff <(cd "$prefix" && find . -type f | LC_ALL=C sort) - <<'FITXERS' || { echo "the installed files differ" >&2; exit 1; }
./bin/tessora
./bin/tessora-cli
./share/applications/tessora.desktop
./share/icons/hicolor/256x256/apps/tessora.png
./share/icons/hicolor/64x64/apps/tessora.png
FITXERS
    "$prefix/bin/tessora-cli" --version
    rm -rf "$prefix"
}

# Each benchmark once, to see that it still runs; the times mean nothing here. The CLI's benchmark runs
# its shortest recording only (30 minutes of sound).
provar_benchmarks() {
    local bench filtre
    for bench in build/ci/bench/bench_*; do
        [ -x "$bench" ] || continue
        filtre=.
        [ "$(basename "$bench")" = bench_fitxer_cli ] && filtre=BM_CliContinu/0/
        QT_QPA_PLATFORM=offscreen "$bench" --benchmark_filter="$filtre" --benchmark_min_time=0 \
            --benchmark_repetitions=1
    done
}

# Our own sources (not Qt's generated ones) through the ci build's compile database.
executar_clang_tidy() {
    local arrel
    arrel=$(pwd)
    run-clang-tidy -p build/ci -j "$jobs" -quiet -header-filter="^$arrel/(src|tests|bench|tools)/" \
        "^$arrel/(src|tests|bench|tools)/" >build/ci/clang-tidy.log 2>&1 || {
        grep -E "(warning|error):" build/ci/clang-tidy.log | sort -u >&2
        echo "clang-tidy found the above (whole output: build/ci/clang-tidy.log)" >&2
        exit 1
    }
}

for preset in ci asan; do
    echo "== $preset"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$jobs"
    ctest --preset "$preset" -j "$jobs"
    if [ "$preset" = ci ]; then
        echo "== install"
        comprovar_installacio
        echo "== benchmarks"
        provar_benchmarks
        echo "== clang-tidy"
        executar_clang_tidy
    fi
done

#!/usr/bin/env bash
# Checks the sources' layout, builds with warnings as errors and runs the whole suite, installs into a
# temporary folder and checks what lands there, makes the Debian package and checks it as Debian would,
# runs every benchmark once, runs clang-tidy on our sources; then builds and runs the suite again under
# the address and undefined-behaviour sanitizers.
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
./share/doc/tessora/changelog.gz
./share/doc/tessora/copyright
./share/icons/hicolor/128x128/apps/tessora.png
./share/icons/hicolor/16x16/apps/tessora.png
./share/icons/hicolor/22x22/apps/tessora.png
./share/icons/hicolor/24x24/apps/tessora.png
./share/icons/hicolor/256x256/apps/tessora.png
./share/icons/hicolor/32x32/apps/tessora.png
./share/icons/hicolor/48x48/apps/tessora.png
./share/icons/hicolor/512x512/apps/tessora.png
./share/icons/hicolor/64x64/apps/tessora.png
./share/man/man1/tessora-cli.1.gz
./share/man/man1/tessora.1.gz
./share/metainfo/org.example.Tessora.metainfo.xml
./share/tessora/vocals-es.wav
FITXERS
    "$prefix/bin/tessora-cli" --version
    rm -rf "$prefix"
}

# The Debian package of the ci build, checked as Debian checks one: lintian with no error or warning,
# and the desktop entry, the AppStream metadata and the manual pages as the package holds them, through
# their own validators. Then, unpacked into a throw-away root, the programs run from there: the
# command-line one says the demo recording's five vowels.
comprovar_paquet() {
    local deb arrel pagina avisos vocals
    deb=$(bash scripts/package.sh build/ci)
    lintian --fail-on error,warning "$deb"
    arrel=$(mktemp -d)
    dpkg -x "$deb" "$arrel"
    avisos=$(desktop-file-validate "$arrel/usr/share/applications/tessora.desktop")
    [ -z "$avisos" ] || { echo "$avisos" >&2; exit 1; }
    appstreamcli validate --no-net "$arrel"/usr/share/metainfo/*.metainfo.xml
    for pagina in "$arrel"/usr/share/man/man1/*; do
        avisos=$(MANWIDTH=80 LC_ALL=C.UTF-8 man --warnings -l "$pagina" 2>&1 >/dev/null)
        [ -z "$avisos" ] || { echo "$(basename "$pagina"): $avisos" >&2; exit 1; }
    done
    "$arrel/usr/bin/tessora" --version
    "$arrel/usr/bin/tessora-cli" --version
    vocals=$("$arrel/usr/bin/tessora-cli" "$arrel/usr/share/tessora/vocals-es.wav" | cut -f2 | tr -d '\n')
    [ "$vocals" = AEIOU ] || { echo "the packaged tessora-cli heard \"$vocals\" in the demo" >&2; exit 1; }
    rm -rf "$arrel"
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
        echo "== package"
        comprovar_paquet
        echo "== benchmarks"
        provar_benchmarks
        echo "== clang-tidy"
        executar_clang_tidy
    fi
done

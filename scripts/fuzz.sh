#!/usr/bin/env bash
# Runs every libFuzzer target of a build made with -DVELMORA_FUZZ=ON for a
# while, each from seeds cut out of the files we ship (problem sources, the
# compiled data sets, the player template, the comment lists) and from small
# samples of the files the program writes itself. Prints the executions and
# findings per target; exits non-zero when a target found anything.
# Usage: fuzz.sh BUILD_DIR [SECONDS]
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
BUILD_DIR="$(cd "${1:?build folder}" && pwd)"
SECONDS_EACH="${2:-60}"
DIST="$BUILD_DIR/dist"
WORK="$BUILD_DIR/fuzz"
export ASAN_OPTIONS="${ASAN_OPTIONS:-detect_leaks=1}"
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}"

# Block k of a data set: bytes [entry k-1, entry k) of the .dt file.
cut_blocks() {  # base out
    local dr="$DIST/$1.dr" dt="$DIST/$1.dt" start=0 end k=0
    [ -f "$dr" ] && [ -f "$dt" ] || return 0
    for end in $(od -An -v -tu4 "$dr"); do
        if [ "$end" -gt "$start" ]; then
            dd if="$dt" of="$2/$1-$k" bs=64K iflag=skip_bytes,count_bytes skip="$start" \
                count="$((end - start))" status=none
        fi
        start=$end
        k=$((k + 1))
    done
}

make_seeds() {
    local s="$WORK/seeds" base f
    rm -rf "$s"
    mkdir -p "$s"/{sgf,source,problem,index,roster,player,comments,hiscore}
    for f in "$ROOT"/data/problems/*/*.sgf; do
        [ -f "$f" ] || continue
        cp "$f" "$s/sgf/"
        cp "$f" "$s/source/"
    done
    for base in abc s1 s2; do
        cut_blocks "$base" "$s/problem"
        if [ -f "$DIST/$base.dr" ] && [ -f "$DIST/$base.dt" ]; then
            # Two bytes of index length, the index, the blocks.
            local n
            n=$(stat -c %s "$DIST/$base.dr")
            { printf "\\$(printf %03o $((n % 256)))\\$(printf %03o $((n / 256)))"
              cat "$DIST/$base.dr" "$DIST/$base.dt"; } >"$s/index/$base"
        fi
    done
    if [ -f "$DIST/vm2.psn" ]; then
        cp "$DIST/vm2.psn" "$s/player/template"
        head -c 300 "$DIST/vm2.psn" >"$s/player/short"
    fi
    if [ -f "$DIST/s1.txt" ] && [ -f "$DIST/s2.txt" ]; then
        { cat "$DIST/s1.txt"; printf '\0'; cat "$DIST/s2.txt"; } >"$s/comments/shipped"
    fi
    # The roster and the high-score files are written by the program itself:
    # one sample of each, in Shift-JIS with CR LF ("本因坊", "秀策").
    printf ' 1 ,"\226\173\210\366\226\126"\r\n 0 ,"\217\107\215\364"\r\n' >"$s/roster/two"
    printf ' 850 , 7 ,"\226\173\210\366\226\126","2026/12/07","09:05:03"\r\n 120 , 1 ,"\217\107\215\364","2026/12/06","23:59:59"\r\n' \
        >"$s/hiscore/two"
}

seeds_of() {
    case "$1" in
    fuzz_sgf) echo sgf ;;
    fuzz_source) echo source ;;
    *) echo "${1#fuzz_}" ;;
    esac
}

mapfile -t TARGETS < <(find "$BUILD_DIR" -type f -name 'fuzz_*' -perm -u+x | sort)
[ "${#TARGETS[@]}" -gt 0 ] || { echo "no fuzz targets in $BUILD_DIR (configure with -DVELMORA_FUZZ=ON)" >&2; exit 1; }
mkdir -p "$WORK"
make_seeds

failed=0
summary=()
for exe in "${TARGETS[@]}"; do
    name=$(basename "$exe")
    dir="$WORK/$name"
    mkdir -p "$dir/corpus" "$dir/findings"
    log="$dir/run.log"
    echo "== $name: ${SECONDS_EACH} s"
    set +e
    (cd "$dir" && "$exe" -max_total_time="$SECONDS_EACH" -timeout=20 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$dir/findings/" \
        "$dir/corpus" "$WORK/seeds/$(seeds_of "$name")") >"$log" 2>&1
    rc=$?
    set -e
    runs=$(awk '/stat::number_of_executed_units/ {print $NF}' "$log" | tail -n 1)
    found=$(find "$dir/findings" -type f | wc -l)
    if [ "$rc" -ne 0 ] || [ "$found" -ne 0 ]; then
        failed=1
        tail -n 40 "$log"
    fi
    summary+=("$(printf '%-14s %12s executions  %d findings  (exit %d)' "$name" "${runs:-?}" "$found" "$rc")")
done
echo "== fuzzing, ${SECONDS_EACH} s per target (logs and findings in $WORK)"
printf '%s\n' "${summary[@]}"
exit "$failed"

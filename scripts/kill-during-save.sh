#!/usr/bin/env bash
# Kills the program with SIGKILL in the middle of a language switch, a
# language editor save and a data file save, N times each, and checks that
# every time the file is left whole: byte for byte the old file or the new one.
# The aimed kills come at a random moment while the new file is being written
# (it is open from its first byte until it is flushed and renamed); as many
# again come at a random moment of the whole run. Run by hand after a build
# (about a minute):
#   scripts/kill-during-save.sh [build folder] [kills per save]
set -euo pipefail

build=${1:-build}
runs=${2:-20}
helper=$(realpath "$build/bench/killsave")
[ -x "$helper" ] || { echo "build the helper first: cmake --build $build --target killsave" >&2; exit 2; }
export QT_QPA_PLATFORM=offscreen
export XDG_RUNTIME_DIR=${XDG_RUNTIME_DIR:-$(mktemp -d)}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

target() { if [ "$1" = data ]; then echo datos.dat; else echo idioma.lng; fi; }
now_us() { echo $(($(date +%s%N) / 1000)); }
random_below() { echo $(((RANDOM * 32768 + RANDOM) % ($1 > 0 ? $1 : 1))); }

# The old and the new file of a save, how long a whole run takes and how
# long the new file is open for writing (microseconds).
reference() {
    local scene=$1 variant=$2 ref=$work/ref-$1-$2 file
    file=$(target "$scene")
    if [ ! -d "$ref" ]; then
        mkdir "$ref" "$ref/files"
        "$helper" setup "$scene" "$variant" "$ref/files" 2>/dev/null
        cp "$ref/files/$file" "$ref/old"
        local start
        start=$(now_us)
        "$helper" run "$scene" "$ref/files" 2>/dev/null || { echo "$scene: the save itself failed" >&2; exit 2; }
        echo $(($(now_us) - start)) >"$ref/duration"
        cp "$ref/files/$file" "$ref/new"
        if cmp -s "$ref/old" "$ref/new"; then
            echo "$scene: the save changes nothing, so old and new cannot be told apart" >&2
            exit 2
        fi
        # The shortest of three, so that most aimed kills land inside.
        local k window shortest=
        for k in 1 2 3; do
            rm -rf "$ref/measure"
            mkdir "$ref/measure"
            "$helper" setup "$scene" "$variant" "$ref/measure" 2>/dev/null
            window=$("$helper" kill measure 0 "$scene" "$ref/measure" 2>/dev/null)
            if [ -z "$shortest" ] || ((window < shortest)); then shortest=$window; fi
        done
        echo "$shortest" >"$ref/window"
    fi
    echo "$ref"
}

broken=0
printf '%-9s %-7s %6s %7s %10s %5s %5s %7s %10s\n' save kills count landed mid-write old new broken leftovers
for scene in language editor data; do
    file=$(target "$scene")
    for when in write time; do
        landed=0 midwrite=0 old=0 new=0 bad=0 leftovers=0
        for i in $(seq 1 "$runs"); do
            variant=0
            [ "$scene" = language ] && variant=$((i % 3))
            ref=$(reference "$scene" "$variant")
            dir=$work/run
            rm -rf "$dir"
            mkdir "$dir"
            "$helper" setup "$scene" "$variant" "$dir" 2>/dev/null
            if [ "$when" = write ]; then
                delay=$(random_below "$(cat "$ref/window")")
            else
                delay=$(random_below "$(cat "$ref/duration")")
            fi
            outcome=$("$helper" kill "$when" "$delay" "$scene" "$dir" 2>/dev/null)
            [ "$outcome" != finished ] && landed=$((landed + 1))
            [ "$outcome" = mid-write ] && midwrite=$((midwrite + 1))
            if cmp -s "$dir/$file" "$ref/old"; then
                old=$((old + 1))
            elif cmp -s "$dir/$file" "$ref/new"; then
                new=$((new + 1))
            else
                bad=$((bad + 1))
                echo "$scene kill $i ($when, $outcome): $file is neither the old nor the new file" >&2
                cp "$dir/$file" "$build/broken-$scene-$when-$i"
            fi
            # A kill between naming the finished temporary file and renaming
            # it leaves that file beside the old one.
            extra=$(find "$dir" -maxdepth 1 -type f -name "$file.*" | wc -l)
            leftovers=$((leftovers + extra))
        done
        label=aimed
        [ "$when" = time ] && label=random
        printf '%-9s %-7s %6d %7d %10d %5d %5d %7d %10d\n' "$scene" "$label" "$runs" "$landed" "$midwrite" "$old" \
            "$new" "$bad" "$leftovers"
        broken=$((broken + bad))
    done
done
if ((broken)); then
    echo "FAILED: $broken files left broken" >&2
    exit 1
fi
echo "every file left whole"

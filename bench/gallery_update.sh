#!/usr/bin/env bash
# Times `vistrel gallery --update` on a gallery of many small photos: once
# with nothing changed (no photo is decoded, no file written), once after
# five photos were added, next to a plain run of those five alone.
#
#   bench/gallery_update.sh [PHOTOS] [RUNS]      (defaults: 2000 photos, 3 runs)
#
# BUILD names the build folder (default: build) holding vistrel. The corpus of
# 640 × 480 JPEGs is made once in $CORPUS (default:
# /tmp/vistrel-update-corpus-N) with ImageMagick; nothing is downloaded.
set -euo pipefail

count=${1:-2000}
runs=${2:-3}
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${BUILD:-$here/../build}" && pwd)
vistrel=$build/vistrel
corpus=${CORPUS:-/tmp/vistrel-update-corpus-$count}
[[ -x $vistrel ]] || { echo "missing $vistrel: build the target vistrel" >&2; exit 2; }
[[ -x /usr/bin/time ]] || { echo "needs GNU time at /usr/bin/time" >&2; exit 2; }
work=$(mktemp -d /tmp/vistrel-update.XXXXXX)
trap 'rm -rf "$work"' EXIT
export VISTREL_HOME=$work/home VISTREL_CONFIG_DIR=$work/home/config

# One noisy base picture, each photo a differently tinted copy: distinct
# files without one ImageMagick run per photo of noise.
if [[ ! -s $corpus/photo_$(printf %05d "$count").jpg ]]; then
  mkdir -p "$corpus"
  convert -seed 1 -size 640x480 plasma:fractal +noise Gaussian -quality 85 "$work/base.png"
  for ((i = 1; i <= count + 5; ++i)); do
    convert "$work/base.png" -modulate 100,100,$((i % 200)) -quality 85 "$(printf '%s/photo_%05d.jpg' "$corpus" "$i")"
  done
fi
mkdir -p "$work/photos" "$work/five"
for ((i = 1; i <= count; ++i)); do ln -s "$(printf '%s/photo_%05d.jpg' "$corpus" "$i")" "$work/photos/"; done
for ((i = count + 1; i <= count + 5; ++i)); do ln -s "$(printf '%s/photo_%05d.jpg' "$corpus" "$i")" "$work/five/"; done

gallery=("$vistrel" gallery --quiet --overwrite all)
# Wall seconds of one gallery run.
timed() { /usr/bin/time -f %e -o "$work/time" "${gallery[@]}" "$@" >/dev/null && cat "$work/time"; }
median() { sort -n | sed -n "$(((runs + 1) / 2))p"; }

"${gallery[@]}" --target "$work/web" "$work/photos" >/dev/null
unchanged=() added=() five=()
for ((r = 0; r < runs; ++r)); do
  unchanged+=("$(timed --update --target "$work/web" "$work/photos")")
  cp -r --preserve=all "$work/web" "$work/grown"
  ln -s "$work"/five/* "$work/photos/"
  added+=("$(timed --update --target "$work/grown" "$work/photos")")
  rm -rf "$work/grown" "$work/only-five"
  for f in "$work"/five/*; do rm "$work/photos/$(basename "$f")"; done
  five+=("$(timed --target "$work/only-five" "$work/five")")
done
echo "$count photos of 640 × 480, median of $runs runs, $(nproc) cores, $(date -u +%F)"
printf '| %-52s | %8s |\n' run "wall s"
printf '|%s|%s|\n' "$(printf -- '-%.0s' {1..54})" ----------
printf '| %-52s | %8s |\n' "--update, nothing changed" "$(printf '%s\n' "${unchanged[@]}" | median)"
printf '| %-52s | %8s |\n' "--update after adding 5 photos" "$(printf '%s\n' "${added[@]}" | median)"
printf '| %-52s | %8s |\n' "plain run of the 5 photos alone" "$(printf '%s\n' "${five[@]}" | median)"

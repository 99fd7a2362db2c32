#!/bin/bash
# The program at its limits: wall time and peak resident memory (GNU time) of
#   gallery10k  a gallery of 10,000 small photos;
#   big         a 100-megapixel JPEG through the gallery and the viewer's decode;
#   crypto      a 2 GB file through encrypt and decrypt;
#   folder      a folder of 100,000 photos in the thumbnail view (bench/folder_benchmark).
#
#   bench/limits.sh [PART...]      (all parts when none is named)
#
# BUILD names the build folder (default build; it needs vistrel, view_decode_benchmark and
# folder_benchmark, so configure with -DVISTREL_BUILD_BENCH=ON). The corpora are made in
# LIMITS_CORPUS (default /tmp/vistrel-limits) on the first run and kept; about 7 GB while
# the crypto part runs, 2 GB after it.
set -euo pipefail

build=$(realpath "${BUILD:-build}")
corpus=${LIMITS_CORPUS:-/tmp/vistrel-limits}
mkdir -p "$corpus/home"
export VISTREL_HOME=$corpus/home VISTREL_CONFIG_DIR=$corpus/home

# measure LABEL COMMAND...: one row of wall seconds, CPU seconds (user + system) and peak MB.
measure() {
  local label=$1
  shift
  if ! /usr/bin/time -f '%e %U %S %M' -o "$corpus/time.txt" "$@" >"$corpus/out.txt" 2>"$corpus/err.txt"; then
    echo "$label failed:" >&2
    tail -5 "$corpus/err.txt" >&2
    return 1
  fi
  local wall user system kb
  read -r wall user system kb <"$corpus/time.txt"
  printf '| %-56s | %8s | %8.2f | %8d |\n' "$label" "$wall" "$(awk "BEGIN { print $user + $system }")" $((kb / 1024))
}

header() {
  printf '\n| %-56s | %8s | %8s | %8s |\n' "$1" "wall s" "CPU s" "peak MB"
  printf '|%s|%s|%s|%s|\n' "$(printf -- '-%.0s' {1..58})" "----------" "----------" "----------"
}

gallery10k() {
  local photos=$corpus/small
  if [ ! -e "$photos/photo_09999.jpg" ]; then
    mkdir -p "$corpus/small-sources" "$photos"
    for i in $(seq 1 100); do
      convert -seed "$i" -size 160x120 plasma:fractal -resize 640x480 -quality 85 "$corpus/small-sources/s$i.jpg"
    done
    for i in $(seq 0 9999); do
      ln -f "$corpus/small-sources/s$((i % 100 + 1)).jpg" "$(printf '%s/photo_%05d.jpg' "$photos" "$i")"
    done
  fi
  header "gallery of 10,000 photos of 640 × 480"
  rm -rf "$corpus/web10k"
  measure "vistrel gallery --jobs 2" "$build/vistrel" gallery -q --jobs 2 --target "$corpus/web10k" "$photos"
  echo "pages: $(find "$corpus/web10k" -name '*.html' | wc -l), images: $(find "$corpus/web10k" -name '*.jpg' | wc -l)"
  rm -rf "$corpus/web10k"
}

big() {
  local photo=$corpus/big/big.jpg
  if [ ! -e "$photo" ]; then
    mkdir -p "$corpus/big"
    # ImageMagick's resource policy refuses pictures of this size; vips scales the tile up in strips.
    convert -seed 1 -size 1500x1050 plasma:fractal -attenuate 0.4 +noise Gaussian "$corpus/big/tile.png"
    vips resize "$corpus/big/tile.png" "$photo[Q=90]" 8
  fi
  header "one JPEG of 12000 × 8400 ($(($(stat -c %s "$photo") / 1048576)) MB)"
  rm -rf "$corpus/web-big"
  measure "vistrel gallery --jobs 2" "$build/vistrel" gallery -q --jobs 2 --target "$corpus/web-big" "$photo"
  rm -rf "$corpus/web-big"
  measure "viewer decode for 1920 × 1080 (view_decode_benchmark)" "$build/bench/view_decode_benchmark" "$photo"
  cat "$corpus/out.txt"
  echo "(the whole picture decoded would take $((12000 * 8400 * 4 / 1048576)) MB as 32-bit pixels)"
}

crypto() {
  local file=$corpus/crypto/big.bin
  if [ ! -e "$file" ]; then
    mkdir -p "$corpus/crypto"
    head -c 2G /dev/urandom >"$file.part"
    mv "$file.part" "$file"
  fi
  printf 'open sesame' >"$corpus/crypto/key.txt"
  rm -rf "$corpus/crypto/big.VXX" "$corpus/crypto/out"
  mkdir "$corpus/crypto/out"
  header "a file of 2 GB"
  measure "vistrel encrypt (Rijndael)" "$build/vistrel" encrypt --algorithm Rijndael \
    --password-file "$corpus/crypto/key.txt" --yes "$file"
  measure "vistrel decrypt" "$build/vistrel" decrypt --password-file "$corpus/crypto/key.txt" \
    --to "$corpus/crypto/out" --yes "$corpus/crypto/big.VXX"
  cmp "$file" "$corpus/crypto/out/big.bin" && echo "decrypted file equals the original"
  rm -rf "$corpus/crypto/big.VXX" "$corpus/crypto/out"
}

folder() {
  header "a folder of 100,000 photos in the thumbnail view"
  measure "folder_benchmark (20 s of the sweep)" "$build/bench/folder_benchmark" "$corpus/folder" 20
  cat "$corpus/out.txt"
}

parts=("$@")
[ ${#parts[@]} -gt 0 ] || parts=(gallery10k big crypto folder)
for part in "${parts[@]}"; do
  case $part in
    gallery10k | big | crypto | folder) "$part" ;;
    *) echo "unknown part $part (gallery10k, big, crypto, folder)" >&2 && exit 2 ;;
  esac
done

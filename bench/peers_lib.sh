# Shared by the peer benchmarks (sourced, not run): the photo corpus and the
# timing of commands in rounds. The sourcing script sets count and runs (and
# may set what, the heading of its tables); this sets here, build, vistrel,
# corpus, im and a scratch folder work, removed at the end.

here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${BUILD:-$here/../build}" && pwd)
vistrel=$build/vistrel
corpus=${CORPUS:-/tmp/vistrel-bench-corpus-$count}
im=${IM_CONVERT:-/usr/bin/convert}
work=$(mktemp -d /tmp/vistrel-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT

[[ -x /usr/bin/time ]] || { echo "needs GNU time at /usr/bin/time" >&2; exit 2; }

# Photo-like 4000 × 3000 JPEGs with EXIF, made once and kept in $corpus.
make_corpus() {
  mkdir -p "$corpus"
  for ((i = 1; i <= count; ++i)); do
    local photo
    photo=$(printf '%s/photo_%03d.jpg' "$corpus" "$i")
    [[ -s $photo ]] && continue
    # Plasma gives the smooth shapes of a scene, the noise the grain of a
    # sensor; both are needed for a photo's entropy-decoding cost.
    "$im" -seed "$i" -size 1000x750 plasma:fractal -resize 4000x3000\! \
      -attenuate 0.6 +noise Gaussian -sampling-factor 2x2 -quality 90 "$photo"
    exiftool -q -overwrite_original -Make=Bench -Model="Corpus $i" -DateTimeOriginal="2026:06:01 12:00:00" \
      -ExposureTime=1/125 -FNumber=5.6 -FocalLength=35 -ISO=200 "$photo"
  done
}

photos() { ls "$corpus"/photo_*.jpg | head -n "$count"; }
half() { photos | awk -v part="$1" 'NR % 2 == part'; }

# The tools to time, in the order of the table: add NAME COMMAND [SETUP]. The
# setup (untimed) runs before every timed run, in $work, after out/ is emptied.
declare -A cmds setups
order=()
add() { order+=("$1"); cmds[$1]=$2; setups[$1]=${3:-}; }

# One timed run of a tool: "wall user+sys peak-kB".
measure() {
  rm -rf "$work/out" && mkdir -p "$work/out"
  [[ -z ${setups[$1]} ]] || bash -c "${setups[$1]}"
  /usr/bin/time -f '%e %U %S %M' -o "$work/time" bash -c "${cmds[$1]}" >/dev/null 2>"$work/stderr" \
    || { echo "failed: ${cmds[$1]}" >&2; cat "$work/stderr" >&2; return 1; }
  awk '{ printf "%s %.2f %s\n", $1, $2 + $3, $4 }' "$work/time"
}

# Runs every tool $runs times and prints the medians, with each tool's wall
# time against the tool named $1. Rounds go over all tools rather than all
# runs of one tool after another, so a change in the machine's load falls on
# every tool alike.
run_and_report() {
  local reference=$1 name median w c m
  declare -A results wall cpu mem
  cd "$work"
  for ((r = 0; r < runs; ++r)); do
    for name in "${order[@]}"; do results[$name]+="$(measure "$name")"$'\n'; done
  done
  for name in "${order[@]}"; do
    median=$(printf '%s' "${results[$name]}" | sort -n | sed -n "$(((runs + 1) / 2))p")
    read -r w c m <<<"$median"
    wall[$name]=$w cpu[$name]=$c mem[$name]=$m
  done
  echo "${what:-$count photos of 12 MP}, median of $runs runs, $(nproc) cores, $(date -u +%F)"
  printf '| %-44s | %8s | %8s | %9s | %12s |\n' tool "wall s" "CPU s" "peak MB" "wall / ours"
  printf '|%s|%s|%s|%s|%s|\n' "$(printf -- '-%.0s' {1..46})" ---------- ---------- ----------- --------------
  for name in "${order[@]}"; do
    printf '| %-44s | %8s | %8s | %9d | %12.2f |\n' "$name" "${wall[$name]}" "${cpu[$name]}" \
      $((mem[$name] / 1024)) "$(echo "${wall[$name]} / ${wall[$reference]}" | bc -l)"
  done
  echo "(peak MB: the largest single process; CPU s: user + system of all processes)"
}

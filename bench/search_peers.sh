#!/usr/bin/env bash
# Times the file search against find and grep on the same trees.
#
#   bench/search_peers.sh [FILES] [RUNS]      (defaults: 100000 files, 3 runs)
#
# Names: `vistrel find --name 'img*'` against `find -iname 'img*'` over a tree
# of FILES empty files in two levels of folders. Content: `vistrel find
# --text PHRASE` against `grep -rliF PHRASE` over 2 GB of text in 10 MB files,
# the phrase at the end of one file in twenty, so both read every byte of the
# rest. Both trees are made once and kept in /tmp (TREE and TEXTS name other
# places); the texts are read once before the rounds so every tool finds them
# in the page cache. BUILD names the build folder (default: build), with the
# target vistrel built.
set -euo pipefail

count=${1:-100000}
runs=${2:-3}
source "$(dirname "$0")/peers_lib.sh"
tree=${TREE:-/tmp/vistrel-bench-tree-$count}
texts=${TEXTS:-/tmp/vistrel-bench-texts}
phrase="Quiet harbour at dusk"

[[ -x $vistrel ]] || { echo "missing $vistrel: build the target vistrel" >&2; exit 2; }

# Names as cameras and people give them, a hundred to a folder.
make_tree() {
  [[ -f $tree/.complete ]] && return
  rm -rf "$tree"
  mkdir -p "$tree"
  awk -v n="$count" -v root="$tree" -v list="$work/files" 'BEGIN {
    split("IMG_%05d.JPG,img%05d.jpg,DSC%05d.jpg,photo-%d.png,notes %d.txt,Holiday_%d.jpeg", forms, ",")
    for (i = 0; i < n; ++i) {
      folder = sprintf("%s/d%03d/s%d", root, int(i / 1000), int(i / 100) % 10)
      if (i % 100 == 0) print folder
      print folder "/" sprintf(forms[i % 6 + 1], i) > list
    }
  }' | xargs -d '\n' mkdir -p
  xargs -d '\n' touch <"$work/files"
  touch "$tree/.complete"
}

make_texts() {
  [[ -f $texts/.complete ]] && return
  rm -rf "$texts" && mkdir -p "$texts"
  for ((i = 0; i < 200; ++i)); do
    head -c $((15 << 19)) /dev/urandom | base64 -w 76 >"$texts/page$i.txt"
    ((i % 20)) || echo "$phrase" >>"$texts/page$i.txt"
  done
  touch "$texts/.complete"
}

make_tree
make_texts
cat "$texts"/*.txt >/dev/null

vhome=$work/home
mkdir -p "$vhome/config"
vistrel="VISTREL_HOME=$vhome VISTREL_CONFIG_DIR=$vhome/config $vistrel"

what="$count files in $(find "$tree" -type d | wc -l) folders, names"
add "vistrel find --name 'img*'" "$vistrel find --name 'img*' $tree"
add "find -iname 'img*'" "find $tree -iname 'img*'"
run_and_report "vistrel find --name 'img*'"
echo

order=()
what="$(du -sh "$texts" | cut -f1) of text in $(ls "$texts" | wc -l) files, content"
add "vistrel find --text PHRASE" "$vistrel find --text '$phrase' $texts"
add "grep -rliF PHRASE" "grep -rliF '$phrase' $texts"
run_and_report "vistrel find --text PHRASE"

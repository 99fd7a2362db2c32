#!/usr/bin/env bash
# Upload of a gallery folder to a local FTP server (Debian's pyftpdlib) with
# "only new and changed files": the first upload, an upload of the unchanged
# folder, and one after five files changed. Prints the wall seconds and the
# files the server stored (from its log) for each.
#
#   bench/ftp_delta.sh [FILES]      (default 300 files of 20-50 KB)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
vistrel=$(cd "${BUILD:-$here/../build}" && pwd)/vistrel
files=${1:-300}
work=$(mktemp -d /tmp/vistrel-ftp-bench.XXXXXX)
server=
cleanup() {
  [[ -n $server ]] && kill "$server" && wait "$server" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

export VISTREL_HOME=$work/home VISTREL_CONFIG_DIR=$work/config
mkdir -p "$VISTREL_HOME" "$work/gallery" "$work/root"
for ((i = 1; i <= files; ++i)); do
  head -c $((20000 + (i * 7919) % 30000)) /dev/urandom >"$(printf '%s/gallery/photo_%04d.jpg' "$work" "$i")"
done
echo "<html>$files photos</html>" >"$work/gallery/index.html"

port=$(/usr/bin/python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
# "RDf4UsJk" is the stored form of the password "secret".
printf 'Bench>127.0.0.1>anna>RDf4UsJk>%s>/gallery\r\n' "$port" >"$VISTREL_HOME/ftp.dat"
# Any passive port: a small range runs out with hundreds of transfers in a row.
/usr/bin/python3 -m pyftpdlib -i 127.0.0.1 -p "$port" -w -d "$work/root" -u anna -P secret >"$work/server.log" 2>&1 &
server=$!
for ((i = 0; i < 100; ++i)); do
  grep -q "starting FTP server" "$work/server.log" && break
  sleep 0.1
done

stored() { grep -c '\] STOR .* completed=1 ' "$work/server.log" || true; }

upload() {
  local before start end
  before=$(stored)
  start=$(date +%s.%N)
  "$vistrel" ftp --yes --only-changed --site Bench "$work/gallery" 2>"$work/client.log" ||
    { cat "$work/client.log" >&2; exit 1; }
  end=$(date +%s.%N)
  printf '| %-32s | %8.2f | %8d |\n' "$1" "$(echo "$end - $start" | bc)" $(($(stored) - before))
}

printf '| %-32s | %-8s | %-8s |\n' "upload of $((files + 1)) files" "wall s" "stored"
echo "|----------------------------------|----------|----------|"
upload "first (full)"
upload "unchanged"
for i in 1 2 3 4 5; do head -c 25000 /dev/urandom >"$(printf '%s/gallery/photo_%04d.jpg' "$work" "$i")"; done
upload "five files changed"

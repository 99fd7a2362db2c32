#!/usr/bin/env bash
# Makes the Debian package from the built tree (build/, as scripts/test.sh left
# it), installs it with apt-get as a user would, makes a gallery with the
# installed program, checks its manual page, completion and metadata, then
# removes the package and checks that nothing of it is left outside the
# user's own folders. Runs as root on a machine that may install packages.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

work=$(mktemp -d)
trap 'rm -rf "$work"; dpkg -s vistrel >/dev/null 2>&1 && apt-get purge -y -q vistrel >/dev/null' EXIT

mkdir -p "$work/photos"
for name in "first light" "café & co #2" "100% sea"; do
  convert -size 800x600 plasma:fractal "$work/photos/$name.jpg"
done

# A user's first gallery made by PROGRAM, which must find its resources from
# where it is installed: they seed the user's data folder.
first_gallery() {
  local home=$work/home-$1
  mkdir -p "$home"
  local page
  page=$(cd "$home" && env -i HOME="$home" PATH=/usr/bin:/bin "$2" gallery "$work/photos" --target "$home/web" --quiet)
  [ -f "$page" ] && [ -f "$home/.local/share/vistrel/css/slate.css" ] && [ -f "$home/web/first light.html" ]
}

# Any prefix, even one with blanks in its path.
cmake --install build --prefix "$work/a prefix/usr" >/dev/null
first_gallery prefix "$work/a prefix/usr/bin/vistrel"

rm -f build/vistrel_*.deb
(cd build && cpack -G DEB)
package=$(ls "$root"/build/vistrel_*.deb)

# What the package may touch, without the folders apt and dpkg keep for themselves
# and the caches that triggers of other packages rebuild.
system_files() {
  find /usr /etc /opt /var -xdev \( -path /var/cache -o -path /var/log -o -path /var/lib/dpkg -o -path /var/lib/apt \
    -o -path /var/tmp \) -prune -o -print | grep -Ev '/(mimeinfo|icon-theme)\.cache$' | sort
}
system_files >"$work/before"

DEBIAN_FRONTEND=noninteractive apt-get install -y -q "$package"
[ "$(command -v vistrel)" = /usr/bin/vistrel ]
first_gallery package vistrel
man -w vistrel
MANWIDTH=80 man vistrel >"$work/manual"
grep -q "vistrel gallery" "$work/manual"
appstreamcli validate --no-net /usr/share/metainfo/org.vistrel.Vistrel.metainfo.xml
# The menu entry's command brings up the window (on a virtual display, waiting
# up to a minute for it).
launch=$(sed -n 's/^Exec=//p' /usr/share/applications/vistrel.desktop | sed 's/ %[fFuU]//')
cat >"$work/launch.sh" <<END
$launch &
for _ in \$(seq 120); do
  xwininfo -root -tree | grep -q '("vistrel" "Vistrel")' && { kill \$!; exit 0; }
  sleep 0.5
done
kill \$!
exit 1
END
env -i HOME="$work/home-package" PATH=/usr/bin:/bin VISTREL_INSTANCE_NAME="package-check-$$" \
  xvfb-run -a sh "$work/launch.sh"
# The loader answers 124 when it has found and loaded a completion.
offered=$(bash -c 'source /usr/share/bash-completion/bash_completion; _completion_loader vistrel;
  COMP_WORDS=(vistrel gal) COMP_CWORD=1 COMP_LINE="vistrel gal" COMP_POINT=11 && _vistrel && echo "${COMPREPLY[*]}"')
[ "$offered" = gallery ]

apt-get purge -y -q vistrel
system_files >"$work/after"
if ! diff "$work/before" "$work/after"; then
  echo "The package left files behind (lines with >), or removed some (<)." >&2
  exit 1
fi
echo "Package check passed: $(basename "$package")"

#!/usr/bin/env bash
# Makes a dozen sample photos (landscape and portrait, with EXIF dates, camera
# names, IPTC captions and a description file), runs "vistrel gallery" on them
# and prints where the gallery is. Everything is made here; nothing is
# downloaded. Usage: scripts/demo.sh [DEMO_FOLDER]   (default: demo/ in the checkout)
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
demo=$(realpath -m "${1:-$root/demo}")
photos="$demo/photos"
gallery="$demo/gallery"

[ -f build/CMakeCache.txt ] || cmake --preset default >/dev/null
# Also copies the shipped style sheets and navigation images beside the program.
cmake --build build --target vistrel -j 2 >/dev/null
for tool in convert exiftool; do
  command -v "$tool" >/dev/null || { echo "demo: $tool is missing (run scripts/setup.sh)" >&2; exit 1; }
done

rm -rf "$photos" "$demo/home" "$demo/config"
mkdir -p "$photos"

# name | size | picture | date | make | model | caption | description
samples=(
  "harbour_dawn.jpg|1600x1067|gradient:#16324f-#f2a65a|2024:05:04 06:12:30|Kestrel|K-20|Fishing boats before sunrise|First light over the old harbour"
  "mountain_lake.jpg|1600x1067|gradient:#87ceeb-#2e5e4e|2024:05:05 10:45:00|Kestrel|K-20|A still lake below the pass|Reflections at 2,100 m"
  "forest_path.jpg|1067x1600|plasma:#2f5d34-#9bc26b|2024:05:05 14:02:11|Kestrel|K-20|Beech forest in May|The path to the waterfall"
  "city_lights.jpg|1600x900|plasma:#0b0b2b-#ffb000|2024:05:06 21:30:45|Orlin|Nova 5|Evening traffic, long exposure|City lights from the bridge"
  "tower.jpg|1000x1500|gradient:#b3d9ff-#f7f7f7|2024:05:07 12:00:00|Orlin|Nova 5|The clock tower|Clock tower & market square"
  "dunes.jpg|1800x1000|gradient:#f4d29c-#c2703d|2024:05:08 17:20:05|Kestrel|K-30|Wind-shaped dunes|Late sun on the dunes"
  "meadow flowers.jpg|1500x1000|plasma:#7ab648-#f5e663|2024:05:09 09:15:00|Kestrel|K-30|Wild flowers in the meadow|Poppies and cornflowers"
  "lighthouse.jpg|900x1350|gradient:#6fa8dc-#ffffff|2024:05:10 16:40:30|Orlin|Nova 5|The lighthouse on the cape|Lighthouse, north cape"
  "snow_field.jpg|1600x1067|gradient:#ffffff-#a4c2f4|2024:05:11 11:11:11|Orlin|Nova 7|Fresh snow on the ridge|Snow field under the summit"
  "river_bend.jpg|1600x1067|plasma:#2d6a8a-#a3d5e0|2024:05:12 08:05:40|Kestrel|K-30|The river's great bend|Morning mist on the river"
  "old_door.jpg|1000x1500|plasma:#6b3e26-#c49a6c|2024:05:13 13:33:00|Orlin|Nova 7|A carved wooden door|\"Old door\" in the lane"
  "sunset.jpg|1600x900|gradient:#ff7e5f-#2c1e4a|2024:05:13 20:48:15|Orlin|Nova 7|Sunset over the bay|The last photo of the trip"
)

printf 'Making %d sample photos in %s\n' "${#samples[@]}" "$photos"
: >"$photos/descript.ion.tmp"
number=0
for sample in "${samples[@]}"; do
  IFS='|' read -r name size picture date make model caption description <<<"$sample"
  number=$((number + 1))
  width=${size%x*}
  height=${size#*x}
  convert -size "$size" -seed "$number" "$picture" \
    -fill 'rgba(255,255,255,0.25)' -draw "circle $((width * 2 / 3)),$((height / 3)) $((width * 2 / 3 + width / 10)),$((height / 3))" \
    -fill 'rgba(0,0,0,0.30)' -draw "polygon 0,$height $((width / 3)),$((height * 3 / 5)) $((width * 2 / 3)),$height" \
    -quality 90 "$photos/$name"
  exiftool -q -q -overwrite_original \
    "-EXIF:DateTimeOriginal=$date" "-EXIF:CreateDate=$date" "-EXIF:Make=$make" "-EXIF:Model=$model" \
    "-EXIF:ExposureTime=1/$((60 * number))" "-EXIF:FNumber=$((2 + number % 6)).8" "-EXIF:FocalLength=$((18 + 4 * number))" \
    "-EXIF:ISO=$((100 * (1 + number % 4)))" "-EXIF:Flash=0" \
    "-IPTC:Caption-Abstract=$caption" "-IPTC:Headline=${name%.jpg}" "-IPTC:Credit=Vistrel demo" \
    "$photos/$name"
  touch -d "${date:0:4}-${date:5:2}-${date:8:2} ${date:11}" "$photos/$name"
  if [[ $name == *" "* ]]; then
    printf '"%s" %s\r\n' "$name" "$description" >>"$photos/descript.ion.tmp"
  else
    printf '%s %s\r\n' "$name" "$description" >>"$photos/descript.ion.tmp"
  fi
done
LC_ALL=C sort -f "$photos/descript.ion.tmp" >"$photos/descript.ion"
rm "$photos/descript.ion.tmp"

# The demo keeps its own settings and program data, so it never changes yours.
export VISTREL_HOME="$demo/home" VISTREL_CONFIG_DIR="$demo/config"
build/vistrel gallery --overwrite all --target "$gallery" \
  --set Cols=4 --set Rows=2 \
  --set TitleText="Vistrel demo: a week of photos" --set HeadlineText="A week of photos" \
  --set ParamString='%Thumb<br>%FName<br>%Date<br>%Desc' \
  --set FullPageParamString='%fname<br>%desc<br>%iptc<br>%exifcamera %exifdate' \
  --set UseCSS=1 --set NoHTML=1 --set CSSfname=slate.css \
  --set UseSubfolders=1 --set Sharpen=1 --set CopyExif=1 \
  --set UseMediumOverlay=1 --set MediumOverlayText='Vistrel demo - %FName' --set TextBottom=1 \
  --set NextIndexPage='<img src="next.gif" border=0>' --set BackIndexPage='<img src="back.gif" border=0>' \
  "$photos" >"$demo/first-page.txt"

first=$(cat "$demo/first-page.txt")
printf '\nThe gallery is in %s\nOpen its first page: %s\n' "$gallery" "$first"

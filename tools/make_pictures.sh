#!/usr/bin/env bash
# Re-make the twelve landscape pictures shown on the rest prompt.
#
# Usage: tools/make_pictures.sh
#
# Writes res/pictures/156.bmp ... 167.bmp and res/CREDITS.  The photographs
# come from Debian wallpaper packages: each package is fetched with
# `apt-get download` (no installation, so it works on a build machine without
# touching the system), unpacked with `dpkg -x`, and every picture is scaled
# to cover the prompt's picture box and cropped to it.
#
# The result must be a plain 24-bit BI_RGB bottom-up BMP with a 40-byte
# BITMAPINFOHEADER: that is what LoadImage/LoadBitmap read from a resource on
# every Windows and Wine version.  ImageMagick otherwise picks a V4/V5 header,
# a palette for grey pictures, or 32 bits, so BMP3: and -type TrueColor are
# forced and every output header is checked before anything is replaced.
#
# Before a picture is used, the author and licence written below are checked
# against what the package itself says, so a package update that changes
# either stops the script instead of leaving res/CREDITS wrong.
#
# Needs apt-get with Debian's package lists (bookworm has all three packages),
# dpkg, ImageMagick 6 and GNU od.
set -euo pipefail

# Another `convert` (e.g. a filesystem tool) may come first on PATH.
CONVERT=/usr/bin/convert
IDENTIFY=/usr/bin/identify

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
out_dir="$root/res/pictures"
credits="$root/res/CREDITS"

die() { echo "make_pictures.sh: $*" >&2; exit 1; }

for tool in "$CONVERT" "$IDENTIFY"; do
    [[ -x $tool ]] || die "$tool not found (apt-get install imagemagick)"
done
for tool in apt-get dpkg dpkg-deb od awk; do
    command -v "$tool" >/dev/null || die "$tool not found"
done

# One line per picture:
#   id | height | gravity | package | file in the package | author [| credit]
# where credit, for the LXQt photographs, is "who:name" as the wallpapers'
# License file credits them.
# The width is always 300.  Ids 156, 162 and 163 sit in a 300x225 box, so
# they get the 4:3 photographs; 160 is 300x197 and the rest 300x200, which
# suit the 3:2 and 16:10 ones.  Gravity is where the crop is anchored when the
# picture is cut down to the box; centre suits all of these.
# Spares that crop well if one of these goes away: plasma-workspace-wallpapers
# summer_1am and Path (same author and licences as ColdRipple).
PICTURES=(
    "156|225|center|lomiri-wallpapers-16.04|usr/share/backgrounds/picosdeeuropa_by_Aitzol_Berasategi.jpg|Aitzol Berasategi"
    "157|200|center|lomiri-wallpapers-16.04|usr/share/backgrounds/life_by_Aitzol_Berasategi.jpg|Aitzol Berasategi"
    "158|200|center|lomiri-wallpapers-16.04|usr/share/backgrounds/aitzgorri_by_Aitzol_Berasategi.jpg|Aitzol Berasategi"
    "159|200|center|plasma-workspace-wallpapers|usr/share/wallpapers/EveningGlow/contents/images/2560x1600.jpg|Ian Hex"
    "160|197|center|lxqt-themes|usr/share/lxqt/wallpapers/Valendas.png|LXQt team|"
    "161|200|center|plasma-workspace-wallpapers|usr/share/wallpapers/DarkestHour/contents/images/2560x1600.jpg|Risto Saukonpää"
    "162|225|center|lxqt-themes|usr/share/lxqt/wallpapers/fog.jpg|LXQt team|stefonarch:fog"
    "163|225|center|lxqt-themes|usr/share/lxqt/wallpapers/this-is-not-windows.jpg|LXQt team|stefonarch:not-windows"
    "164|200|center|lomiri-wallpapers-16.04|usr/share/backgrounds/sunset_by_Aitzol_Berasategi.jpg|Aitzol Berasategi"
    "165|200|center|lxqt-themes|usr/share/lxqt/wallpapers/beam.png|LXQt team|stefonarch:beam"
    "166|200|center|plasma-workspace-wallpapers|usr/share/wallpapers/BytheWater/contents/images/2560x1600.jpg|Maciej Wiklo"
    "167|200|center|plasma-workspace-wallpapers|usr/share/wallpapers/ColdRipple/contents/images/2560x1600.jpg|Risto Saukonpää"
)
WIDTH=300

work=$(mktemp -d "${TMPDIR:-/tmp}/make_pictures.XXXXXX")
trap 'rm -rf "$work"' EXIT

# Print the paragraph of a machine-readable debian/copyright file whose
# Files: field lists exactly the pattern $2 (e.g. "*" or "16.04/x.jpg").
dep5_paragraph() {
    awk -v want="$2" '
        BEGIN { RS = ""; FS = "\n" }
        {
            files = ""; in_files = 0
            for (i = 1; i <= NF; i++) {
                if ($i ~ /^Files:/) { files = substr($i, 7); in_files = 1 }
                else if ($i ~ /^[ \t]/ && in_files) files = files " " $i
                else in_files = 0
            }
            n = split(files, f, /[ \t]+/)
            for (j = 1; j <= n; j++)
                if (f[j] == want) { print; exit }
        }' "$1"
}

# Check that a debian/copyright paragraph names $3 and states exactly the
# licence $4; $1 is the copyright file, $2 the Files: pattern.
expect_dep5() {
    local para
    para=$(dep5_paragraph "$1" "$2")
    [[ -n $para ]] || die "$1 has no Files: $2 paragraph"
    grep -qxF "License: $4" <<<"$para" \
        || die "$1: Files: $2 is no longer under $4"
    grep -qiF "$3" <<<"$para" || die "$1: Files: $2 no longer names $3"
}

expect_text() {
    grep -qF -- "$2" "$1" || die "$1 no longer says: $2"
}

# Check that the wallpapers' License file $1 credits $2 with $3, i.e. has a
# paragraph whose first line starts with $2 and whose next line lists $3.
expect_lxqt_credit() {
    awk -v who="$2" -v name="$3" '
        BEGIN { RS = ""; FS = "\n"; found = 0 }
        index($1, who) == 1 {
            n = split($2, names, /[,;][ \t]*/)
            for (i = 1; i <= n; i++) if (names[i] == name) found = 1
        }
        END { exit !found }' "$1" || die "$1 no longer credits $2 for $3"
}

# Check what the package says about one picture; set AUTHOR and LICENCE to
# the lines for res/CREDITS.
licence_of() {
    local pkg=$1 file=$2 author=$3 credit=$4 tree=$work/tree/$1
    AUTHOR=$author
    local copyright=$tree/usr/share/doc/$pkg/copyright
    [[ -f $copyright ]] || die "$pkg has no copyright file"
    case $pkg in
    lomiri-wallpapers-16.04)
        # Upstream keeps these under 16.04/; each has its own paragraph.
        expect_dep5 "$copyright" "16.04/$(basename "$file")" "$author" CC-BY-4.0
        LICENCE="CC-BY-4.0 (debian/copyright)"
        ;;
    lxqt-themes)
        # Only kde-plasma.png has a paragraph of its own; the photographs
        # fall under Files: *, and the wallpapers folder has a License file.
        [[ -z $(dep5_paragraph "$copyright" "wallpapers/$(basename "$file")") ]] \
            || die "$copyright now has a paragraph for $(basename "$file")"
        expect_dep5 "$copyright" "*" "$author" LGPL-2.1+
        local wl=$tree/usr/share/lxqt/wallpapers/License
        [[ -f $wl ]] || die "$pkg has no wallpapers/License"
        expect_text "$wl" "LXQt Project Team"
        expect_text "$wl" "creativecommons.org/licenses/by-sa/3.0"
        if [[ -n $credit ]]; then
            expect_lxqt_credit "$wl" "${credit%%:*}" "${credit#*:}"
            AUTHOR="$author; photograph credited to ${credit%%:*} (as \"${credit#*:}\") in usr/share/lxqt/wallpapers/License"
        fi
        LICENCE="LGPL-2.1+ (debian/copyright); CC-BY-SA-3.0 (usr/share/lxqt/wallpapers/License)"
        ;;
    plasma-workspace-wallpapers)
        # debian/copyright covers the whole package; the wallpaper's own
        # metadata.json names the photographer and a different licence.
        expect_dep5 "$copyright" "*" "KDE Visual Design Group" GPL-2+
        local meta=$tree/${file%/contents/*}/metadata.json
        [[ -f $meta ]] || die "$pkg has no $meta"
        expect_text "$meta" "\"Name\": \"$author\""
        expect_text "$meta" '"License": "LGPLv3"'
        LICENCE="GPL-2+ (debian/copyright); LGPLv3 ($(basename "$(dirname "$meta")")/metadata.json)"
        ;;
    *)
        die "no licence check written for $pkg"
        ;;
    esac
}

# Read an unsigned little-endian field of $3 bytes at offset $2 of file $1.
le_field() {
    od -An --endian=little -t "u$3" -j "$2" -N "$3" "$1" | tr -d ' '
}

# Fail unless $1 is a bottom-up 24-bit BI_RGB BMP of $2 x $3 with a
# BITMAPINFOHEADER and nothing after the pixels.
check_bmp() {
    local f=$1 w=$2 h=$3
    [[ $(head -c 2 "$f") == BM ]] || die "$f: not a BMP"
    local size=$((54 + (w * 3 + 3) / 4 * 4 * h))
    [[ $(le_field "$f" 10 4) == 54 ]] || die "$f: pixels do not start at 54"
    [[ $(le_field "$f" 14 4) == 40 ]] || die "$f: not a BITMAPINFOHEADER"
    [[ $(le_field "$f" 18 4) == "$w" ]] || die "$f: width is not $w"
    # A negative (top-down) height would read back as a huge unsigned number.
    [[ $(le_field "$f" 22 4) == "$h" ]] || die "$f: height is not +$h"
    [[ $(le_field "$f" 28 2) == 24 ]] || die "$f: not 24 bits per pixel"
    [[ $(le_field "$f" 30 4) == 0 ]] || die "$f: compressed"
    [[ $(stat -c %s "$f") == "$size" ]] || die "$f: size is not $size"
}

# Fetch and unpack each package once.
declare -A version
mkdir -p "$work/debs" "$work/tree" "$work/out"
for line in "${PICTURES[@]}"; do
    IFS='|' read -r _ _ _ pkg _ <<<"$line"
    [[ -n ${version[$pkg]:-} ]] && continue
    (cd "$work/debs" && apt-get download "$pkg") \
        || die "apt-get download $pkg failed (run apt-get update?)"
    deb=$(find "$work/debs" -name "${pkg}_*.deb")
    [[ -n $deb && $(wc -l <<<"$deb") == 1 ]] || die "no single .deb for $pkg"
    dpkg -x "$deb" "$work/tree/$pkg"
    version[$pkg]=$(dpkg-deb -f "$deb" Version)
done

{
    echo "Pictures shown on the rest prompt (res/pictures/<id>.bmp)"
    echo
    echo "These are real photographs taken from Debian (bookworm) wallpaper"
    echo "packages, scaled and cropped by tools/make_pictures.sh, which re-makes"
    echo "them and this file.  Each picture keeps the author and licence(s) its"
    echo "package states; where the package states two, both are given."
    echo "Crop: scaled to cover the box, then cut to it about the given anchor."
} >"$work/CREDITS"

for line in "${PICTURES[@]}"; do
    IFS='|' read -r id h gravity pkg file author credit <<<"$line"
    src=$work/tree/$pkg/$file
    [[ -f $src ]] || die "$pkg ${version[$pkg]} has no /$file"
    licence_of "$pkg" "$file" "$author" "${credit:-}"
    bmp=$work/out/$id.bmp
    # -strip: ImageMagick appends a source's ICC profile (beam.png has GIMP's
    # built-in sRGB one) after the pixels even in BMP3, which Windows would
    # never read; all the sources are sRGB, so dropping it changes nothing.
    # -alpha remove: Valendas.png carries an (all opaque) alpha channel, and a
    # 24-bit BMP has nowhere to keep it.
    "$CONVERT" "$src" -resize "${WIDTH}x${h}^" -gravity "$gravity" \
        -extent "${WIDTH}x${h}" -background black -alpha remove -strip \
        -type TrueColor "BMP3:$bmp"
    check_bmp "$bmp" "$WIDTH" "$h"
    src_size=$("$IDENTIFY" -format '%wx%h' "$src")
    {
        echo
        echo "$id.bmp"
        echo "  Package: $pkg ${version[$pkg]}"
        echo "  File:    /$file"
        echo "  Author:  $AUTHOR"
        echo "  Licence: $LICENCE"
        echo "  Crop:    ${src_size} scaled to cover ${WIDTH}x${h}, cut to ${WIDTH}x${h}, anchor $gravity"
    } >>"$work/CREDITS"
done

# Replace the outputs only once every picture has been made and checked.
mkdir -p "$out_dir"
for line in "${PICTURES[@]}"; do
    id=${line%%|*}
    mv -f "$work/out/$id.bmp" "$out_dir/$id.bmp"
done
mv -f "$work/CREDITS" "$credits"
echo "make_pictures.sh: wrote ${#PICTURES[@]} pictures to res/pictures and res/CREDITS"

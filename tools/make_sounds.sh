#!/usr/bin/env bash
# Synthesise the program's two chimes with sox.
#
# Usage: make_sounds.sh [OUT_DIR]      (default: res/sounds of this checkout)
#
# Writes OUT_DIR/OnReleaseWarning.wav (two soft bell tones falling E5 -> C5:
# time to rest) and OUT_DIR/OnStartWork.wav (C5 E5 G5 C6 rising: back to
# work).  Both are plain PCM WAVE, 16-bit mono 22050 Hz, peaking at -6 dBFS:
# PlaySound on every Windows and Wine version plays that format, and the
# files stay small enough to ship beside the exe.
#
# The output is byte-for-byte repeatable: no dither, no random-based effects,
# and sox runs in repeatable mode, so re-running this only changes the files
# when the recipe below changes.
set -euo pipefail

# The default is found from the script's own place so that running it from
# any directory refreshes the committed files.
out_dir=${1:-$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)/res/sounds}

command -v sox >/dev/null || { echo "make_sounds.sh: sox not found (apt-get install -y sox)" >&2; exit 1; }

work=$(mktemp -d "${TMPDIR:-/tmp}/make_sounds.XXXXXX")
trap 'rm -rf "$work"' EXIT

rate=22050
# Intermediate files are 32-bit float so that mixing partials and tones can
# never clip before the final level is set.
mid=(-r "$rate" -c 1 -e floating-point -b 32)
# -R: fixed seeds and no time stamps; -D: no dither noise in the 16-bit file.
sx=(sox -R -D --no-show-progress)

# Shell arithmetic is integer-only; awk does the few fractional products.
mul() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.6f", a * b }'; }

# bell FREQ LENGTH OUT
# One struck-bell tone: a sine fundamental plus an octave and a twelfth that
# are quieter and die away sooner, as on a real small bell, so the tone is
# bright at the strike and mellows as it fades.  A 5 ms attack avoids a click
# without softening the strike; the logarithmic fade-out gives the
# exponential-sounding decay of a struck object.
bell() {
    local f=$1 len=$2 out=$3
    local p1=$work/p1.wav p2=$work/p2.wav p3=$work/p3.wav
    "${sx[@]}" -n "${mid[@]}" "$p1" synth "$len" sine "$f" \
        fade l 0.005 "$len" "$len" vol 0.65
    "${sx[@]}" -n "${mid[@]}" "$p2" synth "$len" sine "$(mul "$f" 2)" \
        fade l 0.005 "$len" "$(mul "$len" 0.6)" vol 0.22
    "${sx[@]}" -n "${mid[@]}" "$p3" synth "$len" sine "$(mul "$f" 3)" \
        fade l 0.005 "$len" "$(mul "$len" 0.3)" vol 0.08
    # -v 1 on every input: sox -m would otherwise scale each by 1/3 and the
    # partial balance above would shift.  The volumes sum below 1, so the
    # mix cannot clip.
    "${sx[@]}" -m -v 1 "$p1" -v 1 "$p2" -v 1 "$p3" "${mid[@]}" "$out"
}

# chime OUT_FILE TOTAL_LENGTH REVERB FREQ:START:LENGTH ...
# Strikes each bell at its start time, mixes them, adds a little room so the
# tones blend, and sets the peak to -6 dBFS: loud enough to notice over
# typing, quiet enough not to startle.  Silence is padded on before the
# reverb so its tail has room to ring out, 6 dB of headroom keeps the reverb
# from clipping, and the end is trimmed to TOTAL_LENGTH with a short fade so
# the tail cannot end in a click.
chime() {
    local dest=$1 total=$2 reverb=$3
    shift 3
    local inputs=() n=0 note f start len
    for note in "$@"; do
        IFS=: read -r f start len <<<"$note"
        bell "$f" "$len" "$work/tone$n.wav"
        "${sx[@]}" "$work/tone$n.wav" "$work/placed$n.wav" pad "$start"
        n=$((n + 1))
    done
    # Each tone at 1/n so that even fully overlapping strikes cannot clip;
    # the final gain puts the level back.
    local share i
    share=$(awk -v n="$n" 'BEGIN { printf "%.6f", 1 / n }')
    for ((i = 0; i < n; i++)); do
        inputs+=(-v "$share" "$work/placed$i.wav")
    done
    if [ "$n" -gt 1 ]; then
        "${sx[@]}" -m "${inputs[@]}" "${mid[@]}" "$work/mix.wav"
    else
        cp "$work/placed0.wav" "$work/mix.wav"
    fi
    # Reverb and trim run as separate passes: in one chain trim ends the run
    # before pad has emitted its tail, and sox warns about both.
    "${sx[@]}" "$work/mix.wav" "${mid[@]}" "$work/wet.wav" \
        pad 0 1 gain -6 reverb "$reverb" 50 60
    # -t wavpcm: plain WAVE_FORMAT_PCM header (format tag 1, 16-byte fmt
    # chunk) rather than WAVE_FORMAT_EXTENSIBLE, which old players refuse.
    "${sx[@]}" "$work/wet.wav" -t wavpcm -r "$rate" -c 1 -b 16 -e signed-integer "$dest" \
        trim 0 "$total" fade t 0 "$total" 0.15 \
        gain -n -6
}

mkdir -p "$out_dir"

# A falling major third, slow and soft: an invitation to stop, not an alarm.
chime "$out_dir/OnReleaseWarning.wav" 1.8 25 \
    659.255:0:1.3 \
    523.251:0.45:1.3

# A quick rising C major arpeggio ending on the octave: brighter and busier
# than the warning so the two can be told apart without looking.
chime "$out_dir/OnStartWork.wav" 1.6 20 \
    523.251:0:0.9 \
    659.255:0.13:0.9 \
    783.991:0.26:0.9 \
    1046.502:0.39:1.2

echo "wrote $out_dir/OnReleaseWarning.wav $out_dir/OnStartWork.wav"

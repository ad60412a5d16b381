#!/usr/bin/env bash
# The speed and memory figures that README.md records.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)

bash "$root/scripts/install-deps.sh" bench

echo "== speech: how well the default speaker is understood (pocketsphinx, en-us model)"
"$build/bench/speech/intelligibility_bench"

echo; echo "== speech: Say on the calling thread, first sample, cut-off (SDL disk driver)"
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE=/dev/null "$build/bench/speech/speech_bench"

echo; echo "== speech again on PulseAudio (a null sink on its own server), where opening a device costs more"
bash "$root/tests/e2e/run_e2e.sh" "$build/quibbet" "$build/bench/speech/speech_bench"

echo; echo "== play: spacebar release to repainted card (offscreen, one 1920x1080 screen)"
QT_QPA_PLATFORM="offscreen:configfile=$root/tests/support/screen-1920x1080.json" "$build/bench/play/play_bench" 2> >(grep -v 'does not support' >&2)


echo; echo "== the real program on its own X server, window manager and sound server"
bash "$root/tests/e2e/run_e2e.sh" "$build/quibbet" "$build/bench/program/program_bench"

#!/usr/bin/env bash
# Every test, headless: the unit and widget tests on Qt's offscreen platform,
# the end-to-end test on its own X server, window manager and sound server,
# then the unit and widget tests again under AddressSanitizer and
# UndefinedBehaviorSanitizer, and the voice's tests under ThreadSanitizer.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
jobs=$(nproc)
status=0
supp="$root/tests/sanitizers"

run() { echo; echo "== $*"; }

run "code style (.clang-format)"
sources=$(cd "$root" && find src tests bench \( -name '*.cpp' -o -name '*.h' \) | sort)
if ! (cd "$root" && clang-format --dry-run --Werror $sources); then
  echo "unformatted files: run  clang-format -i \$(git ls-files '*.cpp' '*.h')"; status=1
fi

run "tests ($build)"
(cd "$build" && ctest --output-on-failure -j "$jobs" -LE 'e2e') || status=1
(cd "$build" && ctest --output-on-failure -L '^e2e$') || status=1

run "unit and widget tests under AddressSanitizer + UndefinedBehaviorSanitizer"
asan="$root/build-asan"
if cmake -S "$root" -B "$asan" -DCMAKE_BUILD_TYPE=Debug -DQUIBBET_SANITIZE=address >/dev/null &&
   cmake --build "$asan" -j "$jobs" >/dev/null; then
  (cd "$asan" &&
   ASAN_OPTIONS="detect_leaks=1:abort_on_error=1" \
   LSAN_OPTIONS="suppressions=$supp/lsan.supp:print_suppressions=0" \
   UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
   ctest --output-on-failure -j "$jobs" -L 'unit|widget|artwork') || status=1
else
  echo "AddressSanitizer build failed"; status=1
fi

run "voice tests under ThreadSanitizer"
tsan="$root/build-tsan"
if cmake -S "$root" -B "$tsan" -DCMAKE_BUILD_TYPE=Debug -DQUIBBET_SANITIZE=thread >/dev/null &&
   cmake --build "$tsan" -j "$jobs" --target quibbet_speech $(cd "$build" && ctest -N -L voice | awk '/Test +#/ {print $3}') >/dev/null; then
  (cd "$tsan" &&
   TSAN_OPTIONS="suppressions=$supp/tsan.supp:halt_on_error=1:second_deadlock_stack=1" \
   ctest --output-on-failure -L voice) || status=1
else
  echo "ThreadSanitizer build failed"; status=1
fi

echo
if [[ $status -eq 0 ]]; then echo "make test: every suite passed"; else echo "make test: FAILED"; fi
exit $status

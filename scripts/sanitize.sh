#!/usr/bin/env bash
# Builds the project a second time, in its own folder, with AddressSanitizer
# and UndefinedBehaviorSanitizer (no recovery from undefined behaviour, leak
# checking on), and runs the whole test suite there, the window's tests on
# Qt's offscreen platform included. Any finding fails the run. Findings inside
# system libraries are suppressed in scripts/lsan.supp, each with its reason.
#   scripts/sanitize.sh [build-dir]        (default: build-sanitize)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-"$root/build-sanitize"}

sanitize="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"
# The build runs its own programs too (the card pictures, the test lists):
# they run sanitized like everything else.
export ASAN_OPTIONS="detect_leaks=1:halt_on_error=1:detect_stack_use_after_return=1:check_initialization_order=1:strict_init_order=1"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
export LSAN_OPTIONS="suppressions=$root/scripts/lsan.supp:print_suppressions=0"

# Clang and CMake's default generator (Unix Makefiles), where the main build
# uses GCC and Ninja: CI builds both ways. CXX and CMAKE_GENERATOR choose
# others; both are read only when the folder is new.
export CXX=${CXX:-clang++}
export CMAKE_GENERATOR=${CMAKE_GENERATOR:-Unix Makefiles}
# -O1 keeps the run quick and the reports exact; no link-time optimisation.
"$root/scripts/setup.sh" "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" -DCMAKE_CXX_FLAGS="$sanitize" \
  -DCMAKE_EXE_LINKER_FLAGS="$sanitize" -DCMAKE_SHARED_LINKER_FLAGS="$sanitize"
ctest --test-dir "$build" --output-on-failure -j "$(nproc)"

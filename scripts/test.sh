#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test (unit tests, real-engine tests, fuzz seed
# replays). Exits non-zero when anything fails.
set -euo pipefail
cd "$(dirname "$0")/.."
# Qt's test macros return from a GoogleTest test on failure and the test then passes: none may
# appear under tests/, whoever brings one back.
if grep -rnE 'QTRY_|QCOMPARE|QVERIFY' tests/; then
  echo "Qt test macros inside GoogleTest tests (use WaitUntil and gtest assertions)" >&2
  exit 1
fi
bash scripts/install-deps.sh test
bash scripts/build.sh -DVELTRIX_TESTS=ON -DVELTRIX_BENCH=ON
cd "${VELTRIX_BUILD_DIR:-build}"
# A test that fails is run once more: the real-window tests share two cores with real engines
# and a window manager, and a second program's window can be late. A fault fails both runs.
run=(ctest --no-tests=error --output-on-failure --parallel "$(nproc)" --timeout 600
  --repeat until-pass:2)
# Real-window tests need an X server; without a display, give them a virtual one.
if [ -z "${DISPLAY:-}" ]; then
  run=(xvfb-run -a -s "-screen 0 1600x1200x24 -nolisten tcp" "${run[@]}")
fi
"${run[@]}"

#!/usr/bin/env bash
# The long session: fills the board activity log, then runs 100,000 random
# actions through the real window on the simulated board in one process and
# fails if the resident memory grows by 10 MB or more. Any seed:
#   VQ_SESSION_SEED=7 scripts/soak.sh
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build >/dev/null
cmake --build build -j"${VQ_JOBS:-2}" --target tst_random_session
QT_QPA_PLATFORM=offscreen VQ_SESSION_SOAK=1 VQ_SESSION_ACTIONS="${VQ_SESSION_ACTIONS:-100000}" \
  build/bin/tst_random_session 2>&1 | grep -v -e '^  ' -e 'propagateSizeHints' -e 'raise()'

#!/usr/bin/env bash
# Builds the web page and runs its tests in Debian's Chromium: the native
# corpus, settings table and RTF reader's documents that the page's are
# compared with
# (build/web/native), the playwright-core package from the lockfile
# (tests/web), then the tests.
set -euo pipefail
cd "$(dirname "$0")/.."
bash web/build.sh

native=build/web/native
cmake -S . -B "$native" -DCMAKE_BUILD_TYPE=Release -DFICHE_CORE_ONLY=ON -DBUILD_TESTING=ON >/dev/null
cmake --build "$native" -j "$(nproc)" --target fiche_web_corpus fiche_settings_table_native \
  >/dev/null
"$native/tests/fiche_web_corpus" "$native/corpus.txt" "$native/models.bin" \
  $(ls tests/fuzz/corpus/rtf/* | LC_ALL=C sort) $(ls tests/fuzz/regressions/rtf/* | LC_ALL=C sort) \
  tests/web/conversion-tables.rtf
"$native/tests/fiche_settings_table_native" >"$native/settings-table.js"

(cd tests/web && npm ci --no-audit --no-fund --loglevel=error)
# A browser's timing can still trip a test now and then: a failed run is run
# once more, and says so, so that a fault that stays fails and a flake shows.
export FICHE_WEB_CORPUS="$PWD/$native/corpus.txt"
if ! node --test tests/web/web.test.mjs; then
  echo "web/test.sh: the browser tests failed once; running them again" >&2
  node --test tests/web/web.test.mjs
fi
# A pupil's link from the teacher's page to the pupil's phone.
if ! node --test tests/web/pupil.test.mjs; then
  echo "web/test.sh: the pupil test failed once; running it again" >&2
  node --test tests/web/pupil.test.mjs
fi
# A new version reaching an open page (its own served copy of the site).
if ! node --test tests/web/update.test.mjs; then
  echo "web/test.sh: the update test failed once; running it again" >&2
  node --test tests/web/update.test.mjs
fi

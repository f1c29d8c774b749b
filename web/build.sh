#!/usr/bin/env bash
# Builds the web page into build/web/site: the core compiled to WebAssembly by
# Debian's emscripten (build/web/core), the page's files, the table of stored
# settings written from the core's (settings-table.js), the QR code writer
# (qrcode.mjs, from npm), its icons, and the
# service worker's list of files with a version from their names and content
# (web/stamp-sw.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
fiche_ensure_packages "${FICHE_WEB_PACKAGES[@]}"
command -v npm >/dev/null || fiche_ensure_packages npm

# Debian's emcc finds its JavaScript tools (acorn) only there; its cache is
# prebuilt and frozen, so EM_CACHE stays unset.
export NODE_PATH=/usr/share/nodejs
core=build/web/core
site=build/web/site
emcmake cmake -S . -B "$core" -DCMAKE_BUILD_TYPE=Release -DFICHE_CORE_ONLY=ON \
  -DBUILD_TESTING=OFF >/dev/null
cmake --build "$core" -j "$(nproc)" --target fiche_web_core fiche_settings_table >/dev/null

rm -rf "$site"
mkdir -p "$site"
cp web/page/*.html web/page/*.css web/page/*.js web/page/manifest.webmanifest "$site/"
# The page's npm packages, as web/package-lock.json pins them, served from the
# site itself so that the page needs nothing from elsewhere, offline included.
(cd web && npm ci --no-audit --no-fund --loglevel=error)
cp web/node_modules/qrcode-generator/dist/qrcode.mjs "$site/qrcode.mjs"
cp "$core"/web/core/fiche-core.mjs "$core"/web/core/fiche-core.wasm "$site/"
node "$core"/web/core/settings-table-writer.js >"$site/settings-table.js"
cp data/icons/fr.editions_orvandiere.FichesConversions.svg "$site/icon.svg"
cp data/icons/256x256/*.png "$site/icon-256.png"
bash web/stamp-sw.sh "$site"
echo "web page built in $site ($(du -sk "$site" | cut -f1) KB)"

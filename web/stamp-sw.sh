#!/usr/bin/env bash
# Writes the service worker of a built page, SITE/sw.js, from web/page/sw.js:
# the list of the page's files, and a version computed from the name and the
# content of every one of them and of the worker's own source, so that no file
# can change, appear, go or be renamed without the version changing (and the
# browser then installing the new one). Usage: web/stamp-sw.sh SITE_FOLDER
set -euo pipefail
site=${1:?usage: web/stamp-sw.sh SITE_FOLDER}
source_sw="$(cd "$(dirname "$0")" && pwd)/page/sw.js"
cd "$site"
mapfile -d '' files < <(find . -type f ! -path ./sw.js -printf '%P\0' | LC_ALL=C sort -z)
if (( ${#files[@]} == 0 )); then
  echo "web/stamp-sw.sh: no file in $site" >&2
  exit 1
fi
for file in "${files[@]}"; do
  if [[ ! $file =~ ^[A-Za-z0-9._/-]+$ ]]; then
    echo "web/stamp-sw.sh: '$file': a name the worker's list cannot hold as it is" >&2
    exit 1
  fi
done
# One line per file, its content's hash then its name, and the worker's source
# last: a renamed file changes its line as surely as an edited one.
version=$({ sha256sum -- "${files[@]}"; sha256sum <"$source_sw"; } | sha256sum | cut -c1-16)
list=$(printf '"%s",' ./ "${files[@]}")
sed -e "s/@VERSION@/$version/" -e "s|@FILES@|${list%,}|" "$source_sw" >sw.js

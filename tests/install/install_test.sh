#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a desktop finds
# there: the executable, the menu entry, the icons, the software-centre data.
# Usage: install_test.sh BUILD_DIR APP_ID VERSION ICON_SIZE...
set -euo pipefail

build=$1 id=$2 version=$3
shift 3
sizes=("$@")

prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

cmake --install "$build" --prefix "$prefix" >/dev/null

# The executable, where the menu entry's Exec looks for it.
program="$prefix/bin/fiches-conversions"
[ -f "$program" ] && [ -x "$program" ] || fail "no executable $program"

desktop="$prefix/share/applications/$id.desktop"
if [ -f "$desktop" ]; then
  grep -qx "Exec=fiches-conversions" "$desktop" || fail "Exec does not start fiches-conversions"
  grep -qx "Icon=$id" "$desktop" || fail "Icon is not $id"
  grep -qx "Name=Fiches de conversions" "$desktop" || fail "Name is not the French name"
  grep -qx "Terminal=false" "$desktop" || fail "the entry would open a terminal"
  grep -q "^Categories=.*Education;" "$desktop" || fail "not in the Education menu"
  if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$desktop" || fail "desktop-file-validate rejects $desktop"
  else
    echo "desktop-file-validate missing: desktop entry not validated"
  fi
else
  fail "no desktop entry $desktop"
fi

# Width and height from a PNG's header (bytes 16 to 23, big-endian).
png_size() {
  local bytes
  bytes=$(od -An -tu1 -j16 -N8 "$1" | tr -s ' ' | sed 's/^ //')
  set -- $bytes
  echo "$(($1 << 24 | $2 << 16 | $3 << 8 | $4))x$(($5 << 24 | $6 << 16 | $7 << 8 | $8))"
}

icons="$prefix/share/icons/hicolor"
[ -s "$icons/scalable/apps/$id.svg" ] || fail "no scalable icon"
for size in "${sizes[@]}"; do
  png="$icons/${size}x${size}/apps/$id.png"
  if [ -f "$png" ]; then
    [ "$(head -c 8 "$png" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] ||
      fail "$png is not a PNG"
    [ "$(png_size "$png")" = "${size}x${size}" ] || fail "$png is $(png_size "$png"), not ${size}x${size}"
  else
    fail "no ${size}x${size} icon"
  fi
done

metainfo="$prefix/share/metainfo/$id.metainfo.xml"
if [ -f "$metainfo" ]; then
  grep -q "<id>$id</id>" "$metainfo" || fail "metainfo id is not $id"
  grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" ||
    fail "metainfo does not launch $id.desktop"
  grep -q "<release version=\"$version\"" "$metainfo" || fail "metainfo has no release $version"
  if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$metainfo" >/dev/null || {
      appstreamcli validate --no-net "$metainfo" >&2 || true
      fail "appstreamcli rejects $metainfo"
    }
  else
    echo "appstreamcli missing: metainfo not validated"
  fi
else
  fail "no metainfo $metainfo"
fi

[ -s "$prefix/share/doc/fiches-conversions/copyright" ] || fail "no copyright file"

# Nothing but these: tests, benchmarks and static libraries stay in the build.
unexpected=$(cd "$prefix" && find . -type f | grep -v -e '^./bin/fiches-conversions$' \
  -e '^./share/applications/' -e '^./share/icons/hicolor/' -e '^./share/metainfo/' \
  -e '^./share/doc/fiches-conversions/' || true)
[ -z "$unexpected" ] || fail "unexpected files installed: $unexpected"

[ "$failures" -eq 0 ] || exit 1
echo "installed files are complete"

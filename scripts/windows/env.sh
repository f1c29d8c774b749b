# Shared by the Windows scripts (sourced): where the Qt for MinGW lives, the
# packages the cross build and the Wine runs need, and the Wine environment.

FICHE_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
FICHE_CACHE=${XDG_CACHE_HOME:-$HOME/.cache}/fiches-conversions
FICHE_QT_ARCHIVE=${FICHE_QT_ARCHIVE:-$FICHE_ROOT/../shared/toolchains/qt-6.4.2-mingw-w64-x86_64.tar.xz}
FICHE_QT_MINGW=${FICHE_QT_MINGW:-$FICHE_CACHE/qt-6.4.2-mingw}
FICHE_MINGW_RUNTIME=(/usr/lib/gcc/x86_64-w64-mingw32/12-posix /usr/x86_64-w64-mingw32/lib)
FICHE_FONT_DIR=/usr/share/fonts/truetype/liberation2
FICHE_WINE=/usr/lib/wine/wine64
FICHE_WINESERVER=/usr/lib/wine/wineserver

FICHE_WINDOWS_PACKAGES=(
  # The cross compiler with POSIX threads (std::thread, as Qt was built with).
  g++-mingw-w64-x86-64-posix cmake ninja-build
  # The host tools (moc, uic, rcc) of the same Qt version, and GoogleTest's
  # sources for the tests.
  qt6-base-dev qt6-base-dev-tools googletest
  # Qt's French texts for its dialogs, shipped beside the program.
  qt6-translations-l10n
  # The installer and the portable archive.
  nsis zip xz-utils
  # Running the tests and the program: Wine, a screen, a window manager, a
  # hand on the keyboard and mouse, and a camera.
  wine wine64 xvfb openbox xdotool x11-utils imagemagick fonts-liberation2
)

# Unpacks the prebuilt Qt into the cache, or builds it from Debian's source
# when the archive is not there (about 15 minutes on 2 cores).
fiche_windows_qt() {
  [ -f "$FICHE_QT_MINGW/lib/cmake/Qt6/qt.toolchain.cmake" ] && return 0
  mkdir -p "$FICHE_CACHE"
  local archive=$FICHE_QT_ARCHIVE
  if [ ! -f "$archive" ]; then
    echo "No prebuilt Qt for MinGW: building it from source into $FICHE_CACHE/qt-build"
    bash "$FICHE_ROOT/../shared/toolchains/build-qt-mingw.sh" "$FICHE_CACHE/qt-build"
    archive=$FICHE_CACHE/qt-build/qt-6.4.2-mingw-w64-x86_64.tar.xz
  fi
  tar -xJf "$archive" -C "$(dirname "$FICHE_QT_MINGW")"
}

# A Unix path as Wine's Z: drive sees it.
fiche_wine_path() {
  printf 'Z:%s' "${1//\//\\}"
}

# Wine makes every CUPS queue it finds a Windows printer: the Windows tests see
# none of the machine's, as the Linux ones (QtTestMain) do, since a printer's
# paper and margins change what the tests measure. A scheduler that cannot
# exist refuses at once. Set before the prefix is made, so that it never
# records the machine's queues.
fiche_wine_no_printers() {
  export CUPS_SERVER=/dev/null/cups.sock
  unset PRINTER LPDEST
}

# The environment of a Windows program run from the build: DLLs from Qt and
# the MinGW runtime, Qt's plugins, the offscreen platform, the Liberation
# fonts. Wine passes QT_* variables only under the prefix WINE.
fiche_wine_environment() {
  local path
  path="$(fiche_wine_path "$FICHE_QT_MINGW/bin")"
  for dir in "${FICHE_MINGW_RUNTIME[@]}"; do
    path+=";$(fiche_wine_path "$dir")"
  done
  export WINEPATH=$path
  export WINEQT_PLUGIN_PATH
  WINEQT_PLUGIN_PATH=$(fiche_wine_path "$FICHE_QT_MINGW/plugins")
  export WINEQT_QPA_PLATFORM=offscreen
  export WINEQT_QPA_FONTDIR QT_QPA_FONTDIR
  WINEQT_QPA_FONTDIR=$(fiche_wine_path "$FICHE_FONT_DIR")
  QT_QPA_FONTDIR=$WINEQT_QPA_FONTDIR
  export WINEDEBUG=${WINEDEBUG:--all}
  export WINEDLLOVERRIDES="mscoree,mshtml="
  fiche_wine_no_printers
}

# A fresh Wine prefix in a temporary folder, removed with its Wine server when
# the calling script ends.
fiche_wine_prefix() {
  WINEPREFIX=$(mktemp -d "${TMPDIR:-/tmp}/fiches-wine.XXXXXX")
  export WINEPREFIX
  fiche_wine_no_printers
  trap '"$FICHE_WINESERVER" -k >/dev/null 2>&1 || true; rm -rf "$WINEPREFIX"' EXIT
  "$FICHE_WINE" wineboot --init >/dev/null 2>&1 || true
  "$FICHE_WINESERVER" -w
  # A fresh prefix has no Arial, Times New Roman or Courier New: Wine offers
  # their metric twins under their names, so that captions and pages measure
  # as on Windows.
  local reg="$WINEPREFIX/fonts.reg"
  {
    printf 'REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\n'
    printf '"Arial"="Liberation Sans"\n"Times New Roman"="Liberation Serif"\n'
    printf '"Courier New"="Liberation Mono"\n"MS Sans Serif"="Liberation Sans"\n'
  } > "$reg"
  "$FICHE_WINE" regedit "$(fiche_wine_path "$reg")" >/dev/null 2>&1 || true
  mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
  cp "$FICHE_FONT_DIR"/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
  "$FICHE_WINESERVER" -w
}

# Installs the Debian packages the build and the tests need, when missing.
# Sourced by scripts/test (and the other scripts); installs nothing when
# everything is already there.

FICHE_PACKAGES=(
  g++ make cmake pkg-config clang-tidy
  libgtest-dev libgmock-dev libbenchmark-dev
  # Qt 6 Widgets and PrintSupport (the offscreen platform that the widget
  # tests use comes with libqt6gui6).
  qt6-base-dev
  # Metric twins of Arial, Times New Roman and Courier New, so that lines and
  # pages break as on the teachers' other machines.
  fonts-liberation2
  # pdftotext and pdfinfo, which the printing tests read their PDF output with.
  poppler-utils
  # Qt's own French texts for its dialogs (file, printer, input box).
  qt6-translations-l10n
  # LibreOffice, which the tests open saved worksheets (Writer) and page
  # files (Draw reads metafiles) with.
  libreoffice-writer-nogui libreoffice-draw-nogui
  # A private CUPS scheduler for the printing tests, and the tools that
  # configure it and read its job records.
  cups-daemon cups-client cups-ipp-utils
  # The tests on a real desktop: an X server without a screen, a window
  # manager, and the X tools that read and drive the windows.
  xvfb openbox x11-utils xdotool
  # The validators of the desktop entry and of the software-centre data, which
  # the install test runs on the installed files.
  desktop-file-utils appstream
)

# The core cross-built for aarch64 and run there under qemu-user, with
# GoogleTest built from Debian's sources (scripts/aarch64/test).
FICHE_AARCH64_PACKAGES=(cmake g++-aarch64-linux-gnu qemu-user googletest)

# The web page: the core compiled to WebAssembly by Debian's emscripten, and
# its tests in Debian's Chromium driven from Node (playwright-core, from the
# lockfile in tests/web; npm is added where nodejs lacks it), with LibreOffice and pdftotext reading what the page
# saves and prints, and zbarimg reading the pupil link's QR code from a screenshot.
FICHE_WEB_PACKAGES=(emscripten nodejs chromium poppler-utils libreoffice-writer-nogui
  fonts-liberation2 zbar-tools)

# clang and the libFuzzer runtime of that same (default) clang, for scripts/fuzz.
FICHE_FUZZ_PACKAGES=(clang libclang-rt-dev)

fiche_missing_packages() {
  local missing=() pkg
  for pkg in "$@"; do
    if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$pkg")
    fi
  done
  echo "${missing[@]:-}"
}

fiche_ensure_packages() {
  local missing
  missing=$(fiche_missing_packages "$@")
  [ -z "$missing" ] && return 0
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then
    sudo="sudo"
  fi
  echo "Installing missing packages: $missing"
  $sudo apt-get update -qq
  # shellcheck disable=SC2086
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing
}

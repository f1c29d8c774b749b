# Installs the Debian packages the build and the tests need, when missing.
# Sourced by scripts/test (and the other scripts); installs nothing when
# everything is already there.

FICHE_PACKAGES=(
  g++ make cmake pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev
)

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

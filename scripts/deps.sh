# Sourced by run.sh and test.sh: installs the Debian packages the build, the tests and the demo
# need, only when one is missing (one apt-get update, then a non-interactive install).
VARNEK_PACKAGES=(
  cmake g++ make pkg-config
  qt6-base-dev libgl-dev
  libcurl4-openssl-dev libssl-dev libcups2-dev libturbojpeg0-dev
  libcpp-httplib-dev zlib1g-dev libbrotli-dev
  libavformat-dev libavcodec-dev libavutil-dev
  libgtest-dev libgmock-dev
  fonts-dejavu-core
  xvfb xauth
)

ensure_packages() {
  local missing=() p
  for p in "${VARNEK_PACKAGES[@]}" "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing missing packages: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# Installs the Debian packages the build and the tests need, if any is missing.
# Sourced by run.sh and test.sh.
QUORLEN_PACKAGES="g++ cmake ninja-build qt6-base-dev qt6-translations-l10n qt6-l10n-tools qt6-tools-dev libqt6svg6 libgl-dev
  libgtest-dev libbenchmark-dev xvfb xdotool imagemagick fonts-urw-base35 desktop-file-utils
  appstream shared-mime-info clang libclang-rt-14-dev qt6-svg-dev libocct-data-exchange-dev
  libocct-modeling-algorithms-dev libtbb-dev"
quorlen_install_deps() {
  local missing=()
  for p in $QUORLEN_PACKAGES; do
    dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
  fi
}

#!/bin/sh
# Installs the Debian packages the project needs to build, test and run.
# Idempotent and silent when everything is already present.
set -eu

PACKAGES="
build-essential cmake ninja-build pkg-config
qt6-base-dev qt6-base-dev-tools qt6-svg-dev qt6-multimedia-dev qt6-webengine-dev qt6-declarative-dev
libsqlcipher-dev sqlcipher libssl-dev libicu-dev libxlsxwriter-dev zlib1g-dev
libical-dev qt6-charts-dev qtkeychain-qt6-dev radicale
fonts-noto-cjk xvfb xauth python3-openpyxl qt6-translations-l10n
lintian poppler-utils devscripts
"

missing=""
for p in $PACKAGES; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    case "$status" in
        *"ok installed"*) ;;
        *) missing="$missing $p" ;;
    esac
done

[ -z "$missing" ] && exit 0

echo "Installing:$missing"
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
# shellcheck disable=SC2086
$SUDO apt-get install -y -qq --no-install-recommends $missing >/dev/null

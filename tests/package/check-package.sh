#!/bin/sh
# Builds the .deb from this build tree into a folder of its own and checks what a user
# installs: the files in their freedesktop places, the computed dependencies, and lintian.
set -eu
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cd "$build"
cpack -G DEB -B "$work" >"$work/cpack.log" 2>&1 || { cat "$work/cpack.log"; exit 1; }
deb=$(ls "$work"/pandrel_*.deb)

fail() { echo "package: $*"; exit 1; }

listing=$(dpkg-deb -c "$deb" | awk '{print $6}')
for file in ./usr/bin/Pandrel \
            ./usr/lib/pandrel/libpandrel_webview.so \
            ./usr/share/pandrel/DOZA.dat \
            ./usr/share/pandrel/Images/Vey1.bmp \
            ./usr/share/pandrel/Images/Clock1.bmp \
            ./usr/share/pandrel/Images/DOGHINT1.WAV \
            ./usr/share/pandrel/Help/Help.htm \
            ./usr/share/applications/pandrel.desktop \
            ./usr/share/icons/hicolor/48x48/apps/pandrel.png \
            ./usr/share/icons/hicolor/scalable/apps/pandrel.svg \
            ./usr/share/doc/pandrel/copyright \
            ./usr/share/man/man1/Pandrel.1.gz; do
    echo "$listing" | grep -qx "$file" || fail "missing $file"
done
# The program finds its template beside it (bin/../share/pandrel), as ProgramFolder expects.
echo "$listing" | grep -q '^\./usr/local' && fail "files under /usr/local"

depends=$(dpkg-deb -f "$deb" Depends)
for library in libqt6widgets6 libqt6gui6 libqt6webenginewidgets6 libicu72 libssl3 libstdc++6 fonts-noto-cjk; do
    echo "$depends" | grep -q "$library" || fail "Depends lacks $library: $depends"
done
dpkg-deb -f "$deb" Recommends | grep -q fcitx5-frontend-qt6 || fail "fcitx5-frontend-qt6 not recommended"

# Only the browser plugin links the web engine; the program loads it when a web page is shown.
dpkg-deb -x "$deb" "$work/root"
objdump -p "$work/root/usr/bin/Pandrel" | grep -q 'NEEDED.*WebEngine' && fail "the executable links the web engine"

# The executable carries SQLCipher inside; nothing may ask for a system libsqlcipher.
echo "$depends" | grep -q sqlcipher && fail "Depends names sqlcipher: $depends"

# The installed executable carries the hardening the build asks for. Control-flow protection
# is not required: our code has it, but the SQLCipher archive linked in is built without it,
# so the executable as a whole cannot be marked.
if ! hardening-check --nocfprotection "$work/root/usr/bin/Pandrel" >"$work/hardening.log" 2>&1; then
    cat "$work/hardening.log"
    fail "the executable is not hardened"
fi

if ! lintian --fail-on error "$deb" >"$work/lintian.log" 2>&1; then
    cat "$work/lintian.log"
    fail "lintian reports errors"
fi
echo "package: $(basename "$deb") ok"

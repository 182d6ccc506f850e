#!/usr/bin/env bash
# The Debian package as `cpack -G DEB` makes it from a built tree: its name,
# its file list, its dependencies, the installed programs finding the shared
# files under share/velkaris, and the checks Debian's tools make.
# Usage: package_test.sh BUILD_DIR SOURCE_DIR   (exit 77: tools missing, skipped)
set -u
build=$1
src=$2
for tool in cpack dpkg-deb dpkg-shlibdeps file; do
  command -v "$tool" >/dev/null || { echo "skipped: $tool missing"; exit 77; }
done
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

version=$(sed -n 's/^project(Velkaris VERSION \([0-9.]*\).*/\1/p' "$src/CMakeLists.txt")
cpack -G DEB -B "$out" --config "$build/CPackConfig.cmake" >"$out/cpack.log" 2>&1 ||
  { cat "$out/cpack.log"; fail "cpack failed"; exit 1; }
deb=$out/velkaris_${version}_amd64.deb
[ -f "$deb" ] || { ls "$out"; fail "no velkaris_${version}_amd64.deb"; exit 1; }

# Every file the package installs, and nothing else (no tests, no tools).
expected="/usr/bin/velkaris
/usr/bin/velkaris-cli
/usr/share/applications/velkaris.desktop
/usr/share/doc/velkaris/changelog.gz
/usr/share/doc/velkaris/copyright
/usr/share/icons/hicolor/64x64/apps/velkaris-playing.png
/usr/share/icons/hicolor/64x64/apps/velkaris.png
/usr/share/man/man1/velkaris-cli.1.gz
/usr/share/man/man1/velkaris.1.gz
/usr/share/metainfo/org.velkaris.Velkaris.metainfo.xml
/usr/share/velkaris/00manual-en.html
/usr/share/velkaris/00manual.html
/usr/share/velkaris/THEMES.INI
/usr/share/velkaris/samples/velkaris-demo.lrc
/usr/share/velkaris/samples/velkaris-demo.mp3
/usr/share/velkaris/velkaris_en.qm"
for bmp in "$src"/resources/*.bmp; do
  expected+=$'\n'"/usr/share/velkaris/resources/$(basename "$bmp")"
done
actual=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {sub(/^\./, "", $6); print $6}' | sort)
expected=$(sort <<<"$expected")
[ "$actual" = "$expected" ] || fail "file list differs:"$'\n'"$(diff <(echo "$expected") <(echo "$actual"))"

# Dependencies found from the programs' libraries, not written by hand.
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6widgets6 libqt6dbus6 libavcodec libmpg123 libsdl2 libfftw3 libc6 fonts-ipafont-gothic; do
  case $depends in *"$lib"*) ;; *) fail "Depends lacks $lib: $depends" ;; esac
done
[ "$(dpkg-deb -f "$deb" Package)" = velkaris ] || fail "package name"

# Unpacked elsewhere, the programs run and find the themes under share/velkaris.
dpkg-deb -x "$deb" "$out/root"
cli=$out/root/usr/bin/velkaris-cli
[ "$("$cli" --version)" = "velkaris-cli $version" ] || fail "velkaris-cli --version"
[ "$("$out/root/usr/bin/velkaris" --version)" = "velkaris $version" ] || fail "velkaris --version"
"$cli" probe "$src/tests/data/wav/pcm16_stereo.wav" | grep -q '^Result=0' || fail "probe from the package"
"$cli" render "$src/tests/data/wav/pcm16_stereo.wav" --pos 0 -o "$out/pic.png" >"$out/render.log" 2>&1 ||
  fail "render from the package: $(cat "$out/render.log")"
man -l "$out/root/usr/share/man/man1/velkaris.1.gz" >/dev/null 2>&1 || fail "man page velkaris.1"

if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$out/root/usr/share/applications/velkaris.desktop" || fail "desktop-file-validate"
fi
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$out/root/usr/share/metainfo/org.velkaris.Velkaris.metainfo.xml" \
    >"$out/appstream.log" 2>&1 || fail "appstreamcli: $(cat "$out/appstream.log")"
fi
if command -v lintian >/dev/null; then
  lintian "$deb" >"$out/lintian.log" 2>&1
  grep '^E:' "$out/lintian.log" && fail "lintian reports errors"
fi

[ $failures = 0 ] && echo "package $(basename "$deb"): ok"
exit $((failures > 0))

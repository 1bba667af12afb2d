#!/usr/bin/env bash
# Builds the Debian package from a build tree, unpacks it into a scratch root
# and checks what a user would get: every file in its place and nothing else,
# the udev rule with the build's identifiers, menu entries desktop-file-validate
# accepts, the icons at their sizes, the dependencies computed, and the
# simulated-board programs starting from the unpacked tree with their window
# shown.
#
#   check_package.sh <cpack> <build dir> <scratch dir> <udev vendor> <udev product> <version>
set -euo pipefail

cpack=$1 build=$2 scratch=$3 vendor=$4 product=$5 version=$6
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

rm -rf "$scratch"
mkdir -p "$scratch"
if ! "$cpack" -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/out" >"$scratch/cpack.log" 2>&1; then
  cat "$scratch/cpack.log" >&2
  echo "FAIL: cpack could not build the package" >&2
  exit 1
fi
shopt -s nullglob
debs=("$scratch"/out/vq8231_*.deb)
if [ ${#debs[@]} -ne 1 ]; then
  echo "FAIL: expected one vq8231_*.deb from cpack, found ${#debs[@]}" >&2
  exit 1
fi
deb=${debs[0]}
echo "package: $(basename "$deb")"

# The control fields. The version is the full one, so that each release's
# package upgrades the one before.
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] ||
  fail "the package's version is $(dpkg-deb -f "$deb" Version), not the project's $version"
depends=$(dpkg-deb -f "$deb" Depends)
echo "depends: $depends"
for library in libqt6widgets6 libqt6gui6 libqt6core6 libusb-1.0-0 libc6 libstdc++6; do
  grep -Eq "(^|, )${library//+/\\+}( |,|$)" <<<"$depends" || fail "Depends lacks $library"
done
description=$(dpkg-deb -f "$deb" Description)
grep -q "VQ8231.hex into /usr/lib/vq8231/usb/" <<<"$description" ||
  fail "the description does not say where VQ8231.hex goes"

# The file list, exactly: a file missing or one too many both fail.
root=$scratch/root
dpkg -x "$deb" "$root"
expected=$(
  cat <<'LIST'
usr/bin/vq8231
usr/bin/vq8231-demo
usr/bin/vq8231-v1
usr/bin/vq8231ctl
usr/bin/vq8231ctl-demo
usr/lib/udev/rules.d/70-vq8231.rules
usr/lib/vq8231/demo/KVL_CYUSB_USB4.so
usr/lib/vq8231/demo/VQ8231
usr/lib/vq8231/demo/VQ8231(version2)
usr/lib/vq8231/demo/VQ8231.hex
usr/lib/vq8231/demo/libUSBFunctions.so
usr/lib/vq8231/demo/vq8231ctl
usr/lib/vq8231/usb/KVL_CYUSB_USB4.so
usr/lib/vq8231/usb/VQ8231
usr/lib/vq8231/usb/VQ8231(version2)
usr/lib/vq8231/usb/libUSBFunctions.so
usr/lib/vq8231/usb/vq8231ctl
usr/share/applications/vq8231-demo.desktop
usr/share/applications/vq8231-v1.desktop
usr/share/applications/vq8231.desktop
usr/share/doc/vq8231/README.md
usr/share/doc/vq8231/changelog.gz
usr/share/doc/vq8231/copyright
usr/share/doc/vq8231/vq8231ctl.md
usr/share/icons/hicolor/128x128/apps/vq8231.png
usr/share/icons/hicolor/16x16/apps/vq8231.png
usr/share/icons/hicolor/256x256/apps/vq8231.png
usr/share/icons/hicolor/32x32/apps/vq8231.png
usr/share/icons/hicolor/48x48/apps/vq8231.png
usr/share/icons/hicolor/64x64/apps/vq8231.png
usr/share/man/man1/vq8231ctl-demo.1.gz
usr/share/man/man1/vq8231ctl.1.gz
LIST
)
actual=$(cd "$root" && find . \( -type f -o -type l \) | sed 's|^\./||' | LC_ALL=C sort)
if [ "$actual" != "$(LC_ALL=C sort <<<"$expected")" ]; then
  fail "the package's files differ from the expected list (< expected, > packaged):"
  diff <(LC_ALL=C sort <<<"$expected") <(echo "$actual") >&2 || true
fi

# The programs are the build's own, the same in both directories; each
# directory holds its own board libraries: the simulated board offers its
# accessor, the libusb libraries never do.
lib=$root/usr/lib/vq8231
for program in 'VQ8231(version2)' VQ8231 vq8231ctl; do
  [ -x "$lib/usb/$program" ] || fail "usb/$program is not executable"
  cmp -s "$lib/usb/$program" "$lib/demo/$program" || fail "usb/$program and demo/$program differ"
done
readelf -d "$lib/demo/VQ8231" | grep -q 'R.*PATH.*\[\$ORIGIN\]' || fail "VQ8231 lacks the run path \$ORIGIN"
for library in KVL_CYUSB_USB4.so libUSBFunctions.so; do
  readelf --dyn-syms -W "$lib/demo/$library" | grep -q VqSim_Board || fail "demo/$library is not the simulated board"
  ! readelf --dyn-syms -W "$lib/usb/$library" | grep -q VqSim_Board || fail "usb/$library is the simulated board"
  readelf -d "$lib/usb/$library" | grep -q 'NEEDED.*libusb-1.0' || fail "usb/$library is not built on libusb"
done

# The udev rule grants the build's identifiers.
rule=$root/usr/lib/udev/rules.d/70-vq8231.rules
grep -q "ATTR{idVendor}==\"$vendor\", ATTR{idProduct}==\"$product\"" "$rule" ||
  fail "the udev rule does not name $vendor:$product"

# Menu entries: valid, each starting a launcher the package holds, with the
# package's icon.
for entry in "$root"/usr/share/applications/*.desktop; do
  desktop-file-validate "$entry" || fail "desktop-file-validate refuses $(basename "$entry")"
  exec_line=$(sed -n 's/^Exec=//p' "$entry")
  [ -x "$root/usr/bin/${exec_line%% *}" ] || fail "$(basename "$entry") starts $exec_line, which the package lacks"
  grep -qx 'Icon=vq8231' "$entry" || fail "$(basename "$entry") does not name the icon vq8231"
  # Its own window class, so that a dock matches the window to this entry.
  class=$(basename "$entry" .desktop)
  [ "$exec_line" = "$class -name $class" ] || fail "$(basename "$entry") starts \"$exec_line\", not with -name $class"
  grep -qx "StartupWMClass=$class" "$entry" || fail "$(basename "$entry") does not name its window class $class"
done
names=$(sed -n 's/^Name=//p' "$root"/usr/share/applications/*.desktop | LC_ALL=C sort)
[ "$(uniq <<<"$names" | wc -l)" -eq 3 ] || fail "the menu entries' names are not three different ones: $names"

# The documentation directory: the README, a copyright file in the machine-
# readable format, and a changelog whose latest entry is this version.
doc=$root/usr/share/doc/vq8231
head -1 "$doc/copyright" | grep -q '^Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/' ||
  fail "the copyright file is not in the machine-readable format"
gzip -t "$doc/changelog.gz" || fail "changelog.gz is not a gzip file"
gzip -dc "$doc/changelog.gz" | head -1 | grep -q "^vq8231 ($version) " ||
  fail "the changelog's latest entry is not $version: $(gzip -dc "$doc/changelog.gz" | head -1)"
cmp -s "$doc/README.md" "$(dirname "$0")/../../README.md" || fail "the packaged README is not the repository's"
for launcher in "$root"/usr/bin/*; do
  sh -n "$launcher" || fail "$(basename "$launcher") is not a valid shell script"
  target=$(sed -n 's|.*/lib/vq8231/\([^"]*\)".*|\1|p' "$launcher")
  [ -x "$lib/$target" ] || fail "$(basename "$launcher") starts $target, which the package lacks"
done

for size in 16 32 48 64 128 256; do
  icon=$root/usr/share/icons/hicolor/${size}x${size}/apps/vq8231.png
  file -b "$icon" | grep -q "^PNG image data, $size x $size," || fail "icon ${size}x$size: $(file -b "$icon")"
done

# Both simulated-board programs start from the unpacked tree, through their
# own run path only, and show their window; the launcher is the menu's way in.
started() {
  local name=$1
  shift
  local log=$scratch/$name.stderr
  : >"$log"
  env -u LD_LIBRARY_PATH QT_QPA_PLATFORM=offscreen VQ_REPORT_WINDOW_SHOWN=1 "$@" 2>"$log" &
  local pid=$!
  # A failed start says so on stderr, then waits in its message box.
  for _ in $(seq 1 300); do
    grep -q 'window shown' "$log" && break
    grep -q 'Error' "$log" && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  local shown=0
  grep -q 'window shown' "$log" && shown=1
  kill -TERM "$pid" 2>/dev/null || true
  wait "$pid" 2>/dev/null || true
  if [ $shown -eq 1 ]; then
    echo "$name: $(grep 'window shown' "$log")"
  else
    fail "$name did not show its window; its standard error:"
    cat "$log" >&2
  fi
}
started vq8231-demo "$root/usr/bin/vq8231-demo" -name vq8231-demo

# vq8231ctl-demo answers from the unpacked tree; its man page names it and
# vq8231ctl-demo's leads there.
man=$root/usr/share/man/man1
gzip -dc "$man/vq8231ctl.1.gz" | grep -q "^\.TH VQ8231CTL 1 .*\"vq8231 $version\"" ||
  fail "vq8231ctl.1.gz is not vq8231ctl's man page of $version"
[ "$(gzip -dc "$man/vq8231ctl-demo.1.gz")" = ".so man1/vq8231ctl.1" ] || fail "vq8231ctl-demo.1.gz does not lead to vq8231ctl.1"
if answer=$(env -u LD_LIBRARY_PATH "$root/usr/bin/vq8231ctl-demo" '*IDN?' 2>&1); then
  grep -q "^VQ8231 Evaluation Software,VQ8231,1,$version\$" <<<"$answer" || fail "vq8231ctl-demo answered: $answer"
  echo "vq8231ctl-demo: $answer"
else
  fail "vq8231ctl-demo failed: $answer"
fi
started demo-VQ8231 "$lib/demo/VQ8231"

if [ $failures -ne 0 ]; then
  echo "$failures check(s) failed" >&2
  exit 1
fi
echo "package checks passed"

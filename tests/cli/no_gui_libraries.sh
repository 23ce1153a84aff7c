#!/usr/bin/env bash
# ferrox-cli starts without the GUI library and what it brings (fonts, X11,
# EGL, D-Bus); only its chart painter loads them.
# usage: no_gui_libraries.sh FERROX_CLI FERROX_CHART
set -u
gui='libQt6(Gui|Widgets|OpenGL|DBus|XcbQpa)|libX|libxcb|libxkb|libEGL|libGL|fontconfig|freetype|dbus'
cli=$(ldd "$1") || { echo "FAIL: ldd $1"; exit 1; }
chart=$(ldd "$2") || { echo "FAIL: ldd $2"; exit 1; }
# The pattern sees them where they are.
grep -qE "$gui" <<<"$chart" || { echo "FAIL: the pattern finds no GUI library in the chart painter"; exit 1; }
hits=$(grep -E "$gui" <<<"$cli")
if [ -n "$hits" ]; then
  echo "FAIL: ferrox-cli loads GUI libraries:"
  echo "$hits"
  exit 1
fi
echo "ferrox-cli loads no GUI library"

#!/usr/bin/env bash
# ferrox-cli starts without the GUI library and what it brings (fonts, X11,
# EGL, D-Bus), and without the serial-port library and udev: only its chart
# painter loads the first, only its link program the second.
# usage: no_gui_libraries.sh FERROX_CLI FERROX_CHART FERROX_CLI_LINK
set -u
gui='libQt6(Gui|Widgets|OpenGL|DBus|XcbQpa)|libX|libxcb|libxkb|libEGL|libGL|fontconfig|freetype|dbus'
serial='libQt6SerialPort|libudev'
cli=$(ldd "$1") || { echo "FAIL: ldd $1"; exit 1; }
chart=$(ldd "$2") || { echo "FAIL: ldd $2"; exit 1; }
link=$(ldd "$3") || { echo "FAIL: ldd $3"; exit 1; }
# The patterns see them where they are.
grep -qE "$gui" <<<"$chart" || { echo "FAIL: the pattern finds no GUI library in the chart painter"; exit 1; }
grep -qE "$serial" <<<"$link" || { echo "FAIL: the pattern finds no serial-port library in the link program"; exit 1; }
hits=$(grep -E "$gui|$serial" <<<"$cli")
if [ -n "$hits" ]; then
  echo "FAIL: ferrox-cli loads GUI or serial-port libraries:"
  echo "$hits"
  exit 1
fi
echo "ferrox-cli loads no GUI and no serial-port library"

#!/bin/sh
# Runs a window test the way a screen reader meets the program: inside a private D-Bus session
# (dbus-run-session) with the accessibility bus of AT-SPI started on it. Qt sends its
# accessibility events only when that bus is there and a screen reader is said to be running
# (QT_LINUX_ACCESSIBILITY_ALWAYS_ON, set by the test's environment).
# Usage: dbus-run-session -- xvfb-run ... with_atspi.sh <test program> [arguments]
set -e
dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress >/dev/null
exec "$@"

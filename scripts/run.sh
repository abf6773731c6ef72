#!/bin/sh
# Starts the program; on a machine without a display it runs under a virtual X server.
set -eu
program="$1"
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
    exec "$program"
fi
echo "No display found: starting Pandrel under Xvfb (a virtual X server; nothing appears on screen)."
exec xvfb-run -a -s "-screen 0 1280x800x24" "$program"

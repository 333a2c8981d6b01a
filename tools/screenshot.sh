#!/bin/sh
# Starts the window on a virtual X display, fills it with the bundled example
# as a user would (types the three paths, presses F5 for Execute, closes
# "Done!") and saves a picture of the window.
#
# Usage: tools/screenshot.sh [BUILD_DIR] [PICTURE]
#   BUILD_DIR  the build tree holding bin/casewright (default: build)
#   PICTURE    where the PNG goes (default: docs/screenshot.png)
# Needs: xvfb, xdotool, imagemagick (for import).
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
picture=${2:-$root/docs/screenshot.png}
program=$build/bin/casewright
examples=$root/data/examples

for tool in Xvfb xdotool import; do
  command -v "$tool" >/dev/null || { echo "screenshot.sh: $tool is missing" >&2; exit 1; }
done
[ -x "$program" ] || { echo "screenshot.sh: no $program (build first)" >&2; exit 1; }

work=$(mktemp -d)
xvfb_pid=
app_pid=
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT INT TERM

# Xvfb picks a free display and writes its number to fd 3.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
tries=0
while [ ! -s "$work/display" ]; do
  tries=$((tries + 1))
  [ "$tries" -le 100 ] || { echo "screenshot.sh: Xvfb did not start" >&2; cat "$work/xvfb.log" >&2; exit 1; }
  sleep 0.1
done
DISPLAY=:$(cat "$work/display")
export DISPLAY

# The program runs in a scratch folder holding copies of the example, so the
# picture shows short relative paths rather than this machine's folders; a
# fixed locale and style keep it the same from one machine to the next.
mkdir "$work/run"
cp "$examples/example.txt" "$examples/example.classes" "$work/run/"
(cd "$work/run" && exec env LC_ALL=C.UTF-8 QT_QPA_PLATFORM=xcb QT_STYLE_OVERRIDE=Fusion \
  "$program" 2>"$work/app.log") &
app_pid=$!
window=$(xdotool search --sync --onlyvisible --name '^Casewright$' | head -n 1)

# The keyboard fills the form as a user would: the text field has the focus
# at the start, Tab goes from a field to its Search button and on to the next
# field, and F5 is Execute.
xdotool windowfocus --sync "$window"
fill() {
  xdotool key --clearmodifiers ctrl+a BackSpace
  xdotool type --delay 1 "$1"
}
fill example.txt
xdotool key Tab Tab
fill example.classes
xdotool key Tab Tab
fill example.cases
xdotool key F5

# The run ends with a second top-level window, the "Done!" box; Return closes it.
tries=0
while [ "$(xdotool search --onlyvisible --name '^Casewright$' | wc -l)" -lt 2 ]; do
  tries=$((tries + 1))
  [ "$tries" -le 600 ] || { echo "screenshot.sh: the run did not end" >&2; cat "$work/app.log" >&2; exit 1; }
  sleep 0.1
done
box=$(xdotool search --onlyvisible --name '^Casewright$' | grep -v "^$window\$" | head -n 1)
xdotool windowfocus --sync "$box" key Return
while [ "$(xdotool search --onlyvisible --name '^Casewright$' | wc -l)" -gt 1 ]; do sleep 0.1; done
sleep 0.5  # let the window repaint

mkdir -p "$(dirname "$picture")"
import -window "$window" "$picture"
echo "saved $picture"

#!/usr/bin/env bash
# Runs a command with the X display's keyboard layout set to the first
# argument, and sets it back to "us" however the command ends:
#   tests/e2e/with_keyboard_layout.sh LAYOUT COMMAND...
# The display must not reset when its last client goes (Xvfb -noreset), or
# it forgets the layout at once.
set -u
layout=$1
shift
setxkbmap "$layout" || exit 1
trap 'setxkbmap us' EXIT
"$@"

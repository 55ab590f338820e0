# Sourced by the smoke tests: starts a virtual X display on a free number
# (its screen $xvfb_screen, 1024x768x24 unless the caller sets it),
# chosen by the server itself, and exports DISPLAY. Needs $work and fail();
# sets xvfb_pid for the caller's cleanup, and the program's own folders.
Xvfb -displayfd 3 -screen 0 "${xvfb_screen:-1024x768x24}" -nolisten tcp 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
  [ -s "$work/display" ] && break
  sleep 0.1
done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(head -n1 "$work/display")"
# The program remembers menu choices in its settings: a fresh set per run,
# so the user's choices never change what the smoke tests see.
export XDG_CONFIG_HOME="$work/config"
# The program's data folder (its recovery files) is the test's own: a
# program killed at the end of one test leaves nothing for the next.
export XDG_DATA_HOME="$work/data"
# The language is the test's, not the machine's: the C locale, where the
# program speaks Spanish and the tools read UTF-8.
unset LANGUAGE LC_ALL LC_MESSAGES
export LANG=C.UTF-8

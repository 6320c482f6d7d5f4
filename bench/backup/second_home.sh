#!/usr/bin/env bash
# A second computer following the first, with the real app: two homes on this machine (so the
# same host name), each with its own keyring daemon and settings, set up on one backup folder
# with one password. The first imports four accounts, the second two (one of them the
# first's); the second must be offered exactly the three it lacks, and add them through the
# import summary. Run under a private X server:
#   scripts/with-xvfb bench/backup/second_home.sh BUILD_DIR [SCREENSHOT_DIR]
set -euo pipefail
corvane=$(realpath "$1/src/app/corvane")
shots=${2:-}
top=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill -- "-$pid" 2>/dev/null || true; done
    for pid in $(cat "$work"/*.daemon 2>/dev/null); do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT
mkdir "$work/shared"

python3 - "$work" <<'PY'
import base64, os, sys
def link(issuer, name):
    secret = base64.b32encode(os.urandom(20)).decode()
    return f"otpauth://totp/{issuer}:{name}?secret={secret}&issuer={issuer}"
shared = link("GitHub", "ada")
first = [shared, link("GitLab", "ada"), link("Fastmail", "ada"), link("Proton", "ada")]
open(f"{sys.argv[1]}/first.txt", "w").write("\n".join(first) + "\n")
open(f"{sys.argv[1]}/second.txt", "w").write("\n".join([shared, link("Mastodon", "bob")]) + "\n")
PY

# Each home: a keyring session that keeps running; its environment is kept for later commands.
for home in first second; do
    setsid "$top/scripts/with-keyring" bash -c 'env | grep -E "^(DBUS_SESSION_BUS_ADDRESS|HOME|XDG_[A-Z_]+)=" > "$0.env"
        # The daemon leaves the session; it is the one whose HOME is this home.
        for pid in $(pgrep -x gnome-keyring-d); do
            tr "\0" "\n" < /proc/$pid/environ | grep -qx "HOME=$HOME" && echo $pid > "$0.daemon"
        done
        exec sleep 600' "$work/$home" &
    pids+=($!)
done
for home in first second; do
    for _ in $(seq 100); do [ -s "$work/$home.daemon" ] && break; sleep 0.1; done
done
in_home() { local home=$1; shift; env $(xargs < "$work/$home.env") LANGUAGE=en LANG=en_US.UTF-8 LC_ALL=en_US.UTF-8 "$@"; }
accounts() { grep -o '\\"issuer\\":\\"[A-Za-z]*' "$(grep ^XDG_CONFIG_HOME= "$work/$1.env" | cut -d= -f2)/Corvane/Corvane.conf" | cut -d'"' -f4 | sort | xargs; }
panel() { xdotool search --onlyvisible --name '^Corvane$' | tail -n1; }

for home in first second; do
    [ "$home" = second ] && in_home first "$corvane" --hide
    in_home "$home" "$corvane" "$work/$home.txt" >"$work/$home.log" 2>&1 &
    sleep 6; xdotool key Return; sleep 3; xdotool key Return; sleep 1 # the summary, then its result
    echo -n 'correct horse battery' | in_home "$home" "$corvane" --backup-setup "$work/shared"
done
start=$(date +%s.%N)
sleep 3
[ -n "$shots" ] && import -window root "$shots/second-home-offer.png"
# "View…" sits at the right end of the status line, under the header.
eval "$(xdotool getwindowgeometry --shell "$(panel)")"
xdotool mousemove $((X + WIDTH - 34)) $((Y + 53)) click 1
sleep 2
[ -n "$shots" ] && import -window root "$shots/second-home-summary.png"
xdotool key Return; sleep 3; xdotool key Return; sleep 1
echo "first home:  $(accounts first)"
echo "second home: $(accounts second)"
echo "backups: $(ls "$work/shared" | xargs)"
[ "$(accounts first)" = "$(accounts second | tr ' ' '\n' | grep -v Mastodon | xargs)" ] \
    && echo "second home offered exactly what it lacked, and added it" || { echo "FAILED"; exit 1; }

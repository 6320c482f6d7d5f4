# Sourced by the import benchmarks: starting Corvane on a file, entering its password, and
# probing the panel with a call it answers on its main thread. Needs python3-gi and xdotool.

now() { date +%s%N; }

owned() {
    gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
        --method org.freedesktop.DBus.NameHasOwner org.corvane.Corvane 2>/dev/null | grep -q true
}

# Round trips of a main-thread D-Bus call every 50 ms for `seconds`, from one client process
# (no start-up cost in the figures). Prints "LABEL: N probes, median M ms, max X ms" and exits
# 1 when the longest is over `limit` ms (0: no limit).
#   probe SECONDS LABEL [LIMIT]
probe() {
    /usr/bin/python3 - "$1" "$2" "${3:-0}" <<'PY'
import statistics, sys, time
from gi.repository import Gio, GLib
seconds, label, limit = float(sys.argv[1]), sys.argv[2], float(sys.argv[3])
bus = Gio.bus_get_sync(Gio.BusType.SESSION)
call = GLib.Variant("(sava{sv})", ("probe", [], {}))
times, end = [], time.monotonic() + seconds
while time.monotonic() < end:
    start = time.monotonic()
    try:
        bus.call_sync("org.corvane.Corvane", "/org/corvane/Corvane", "org.freedesktop.Application",
                      "ActivateAction", call, None, Gio.DBusCallFlags.NONE, 60000, None)
    except GLib.Error:
        pass
    times.append((time.monotonic() - start) * 1000)
    time.sleep(0.05)
verdict = ""
if limit:
    verdict = f"  (target < {limit:.0f} ms: {'met' if max(times) < limit else 'NOT MET'})"
print(f"{label}: {len(times)} probes, median {statistics.median(times):.0f} ms, max {max(times):.0f} ms{verdict}")
sys.exit(1 if limit and max(times) >= limit else 0)
PY
}

# Starts Corvane importing FILE, in English, its output to LOG (default: none), and waits
# for its bus name; sets `pid`.
#   start_import FILE [LOG]
start_import() {
    LANGUAGE=en "$corvane" "$1" >"${2:-/dev/null}" 2>&1 &
    pid=$!
    gdbus wait --session --timeout 20 org.corvane.Corvane
}

# Types the password into the focused password dialog.
enter_password() {
    xdotool type --delay 20 "$1"
    xdotool key Return
}

# Quits the instance started by start_import as the tray's quit does and says how soon the bus
# name was free and the process gone, then whether `corvane --show` right after starts a panel.
#   quit_and_time LABEL
quit_and_time() {
    local quit released gone show
    quit=$(now)
    kill -TERM "$pid"
    while owned; do sleep 0.01; done
    released=$(now)
    wait "$pid"
    gone=$(now)
    echo "quit $1: name released after $(( (released - quit) / 1000000 )) ms, exited after $(( (gone - quit) / 1000000 )) ms"
    "$corvane" --show >"$work/show" 2>&1 &
    show=$!
    sleep 3
    if owned && kill -0 $show 2>/dev/null; then
        echo "corvane --show right after: started a new panel"
    else
        echo "corvane --show right after: $(cat "$work/show")"
    fi
    kill -TERM $show 2>/dev/null
    wait $show
}

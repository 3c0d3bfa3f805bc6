# shellcheck shell=sh
# wait_for WORDS PID LOG TEST...: waits up to 10 s for TEST to hold while the
# server PID starts. A server that ends first, or time that runs out, ends
# the script with the server's LOG (and WORDS, for the time).
wait_for() {
    words=$1 pid=$2 log=$3
    shift 3
    for _ in $(seq 1 100); do
        ! "$@" || return 0
        kill -0 "$pid" 2>/dev/null || { cat "$log" >&2; exit 1; }
        sleep 0.1
    done
    echo "$words within 10 s" >&2
    cat "$log" >&2
    exit 1
}

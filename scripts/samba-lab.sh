#!/usr/bin/env bash
# A Samba test network made of network namespaces of its own:
#
#   vesnal-lab-srv  10.203.0.1/24  nmbd + smbd as PC-01 in workgroup RADNAGRUPA
#   vesnal-lab-cli  10.203.0.2/24  where the tests run (HOME=DIR/home)
#   vesnal-lab-iso  10.203.1.2/24  a network with nobody on it (HOME=DIR/home-iso);
#                   10.203.1.9 is a "silent host": it has a neighbour entry but
#                   never answers, so connections to it run into their timeout.
#
#   samba-lab.sh up DIR               build the lab, state and logs under DIR
#   samba-lab.sh down DIR             end its daemons (by pid) and remove it
#   samba-lab.sh run DIR cli|iso PROG [ARGS]   run a test program inside
#
# Without root or without "ip netns" the lab cannot exist: up and down do
# nothing, and run exits 77, which the test suite reports as skipped.
set -euo pipefail

SRV=vesnal-lab-srv
CLI=vesnal-lab-cli
ISO=vesnal-lab-iso
SKIP=77
# One lab per machine (the namespace names are fixed): the lock guards the
# short steps of up and down, the owner file names the DIR of the lab that
# is up, so that a second test run waits for the first instead of pulling
# its namespaces away.
LOCK=/run/vesnal-lab.lock
OWNER=/run/vesnal-lab.owner
WAIT_FOR_OTHER=600 # seconds a second run waits for the lab
STALE_AFTER=900    # a lab older than this was abandoned

usage() {
    echo "usage: $0 up|down DIR | run DIR cli|iso PROGRAM [ARGS...]" >&2
    exit 2
}

[ $# -ge 2 ] || usage
cmd=$1
dir=$2
shift 2

can_run() {
    [ "$(id -u)" -eq 0 ] || return 1
    command -v ip >/dev/null 2>&1 || return 1
    ip netns list >/dev/null 2>&1 || return 1
    command -v nmbd >/dev/null 2>&1 && command -v smbd >/dev/null 2>&1
}

# Whether a process runs (a zombie has ended, it only waits to be reaped).
alive() {
    local state
    state=$(ps -o stat= -p "$1" 2>/dev/null) || return 1
    [ -n "$state" ] && [ "${state:0:1}" != Z ]
}

# Ends one process by its pid: TERM, then KILL after 5 s.
end_pid() {
    local pid=$1 i
    [[ "$pid" =~ ^[1-9][0-9]*$ ]] || return 0
    alive "$pid" || return 0
    kill -TERM "$pid" 2>/dev/null || return 0
    for i in $(seq 50); do
        alive "$pid" || return 0
        sleep 0.1
    done
    kill -KILL "$pid" 2>/dev/null || true
}

# Removes the namespaces, after ending every process still inside them
# (smbd's children, a daemon of an earlier lab whose DIR is gone).
clean_namespaces() {
    local ns pid
    for ns in $SRV $CLI $ISO; do
        ip netns list | grep -qw "^$ns" || continue
        for pid in $(ip netns pids "$ns" 2>/dev/null); do end_pid "$pid"; done
        ip netns del "$ns" 2>/dev/null || true
    done
    # A veth left behind in this namespace by an interrupted "up".
    for link in vlab-srv vlab-cli vlab-iso vlab-void; do
        ip link del "$link" 2>/dev/null || true
    done
}

lock() {
    exec 9>"$LOCK"
    flock -w 120 9
}

unlock() {
    flock -u 9
}

# Whether the lab belongs to another DIR whose test run still uses it.
other_owner_busy() {
    local other started
    [ -f "$OWNER" ] || return 1
    other=$(cat "$OWNER")
    [ "$other" != "$dir" ] || return 1
    [ -f "$other/lab-up" ] || return 1
    started=$(cat "$other/lab-up")
    [ $(($(date +%s) - started)) -lt $STALE_AFTER ] || return 1
    alive "$(cat "$other/nmbd.pid" 2>/dev/null)"
}

down() {
    lock
    if other_owner_busy; then
        echo "the lab is in use by $(cat "$OWNER"); leaving it" >&2
        rm -f "$dir/lab-up"
        return 0
    fi
    teardown
    rm -f "$OWNER"
}

teardown() {
    local name
    for name in smbd nmbd; do
        if [ -f "$dir/$name.pid" ]; then
            end_pid "$(cat "$dir/$name.pid")"
            rm -f "$dir/$name.pid"
        fi
    done
    clean_namespaces
    rm -f "$dir/lab-up"
}

write_server_conf() {
    cat >"$dir/srv/smb.conf" <<CONF
[global]
netbios name = PC-01
workgroup = RADNAGRUPA
interfaces = 10.203.0.1/24
bind interfaces only = yes
server min protocol = NT1
smb ports = 139
disable netbios = no
local master = yes
preferred master = yes
domain master = yes
os level = 65
wins support = yes
private dir = $dir/srv/private
lock directory = $dir/srv/lock
state directory = $dir/srv/state
cache directory = $dir/srv/cache
pid directory = $dir/srv/pid
ncalrpc dir = $dir/srv/ncalrpc
log file = $dir/log/samba.%m
load printers = no
dos charset = CP1250
# Runs as the guest user; each message lands whole in the inbox as
# <sender>-<number>.msg (the sender as smbd passes it: PC-02 arrives as PC_02).
message command = /bin/sh -c 'f=$dir/inbox/%f-\$\$; cat %s >"\$f.part" && mv "\$f.part" "\$f.msg"; rm -f %s' &

[javno]
path = $dir/share
guest ok = yes
read only = yes

[skriveno\$]
path = $dir/share
guest ok = yes
read only = yes
CONF
}

write_client_conf() { # HOMEDIR ADDRESS
    mkdir -p "$1/.smb" "$1/.config"
    cat >"$1/.smb/smb.conf" <<CONF
[global]
client min protocol = NT1
name resolve order = bcast
interfaces = $2
workgroup = RADNAGRUPA
netbios name = PC-02
CONF
}

start_daemon() { # NAME
    # A session of its own: the daemons signal their whole process group when
    # they stop, which must never reach the test runner. (A background job of
    # this script leads no group, so setsid does not fork: $! is the daemon.)
    setsid ip netns exec $SRV "$1" -s "$dir/srv/smb.conf" --foreground --no-process-group \
        --debug-stdout </dev/null >"$dir/log/$1.out" 2>&1 9>&- &
    echo $! >"$dir/$1.pid"
}

up() {
    # DIR is wiped: only ever one that a lab made (it holds the marker).
    case "$dir" in /?*) ;; *) echo "DIR must be an absolute path" >&2; exit 2 ;; esac
    if [ -d "$dir" ] && [ -n "$(ls -A "$dir")" ] && ! [ -f "$dir/.vesnal-lab" ]; then
        echo "$dir is not empty and not a lab folder; not touching it" >&2
        exit 2
    fi
    local waited=0
    lock
    while other_owner_busy; do
        unlock
        if [ $waited -ge $WAIT_FOR_OTHER ]; then
            echo "the lab is still in use by $(cat "$OWNER") after ${waited} s" >&2
            exit 1
        fi
        [ $waited -eq 0 ] && echo "waiting for the lab of $(cat "$OWNER") to be taken down"
        sleep 2
        waited=$((waited + 2))
        lock
    done
    echo "$dir" >"$OWNER"
    clean_namespaces # whatever lab is left, even one whose DIR is gone
    rm -rf "$dir"
    mkdir -p "$dir"
    touch "$dir/.vesnal-lab"
    mkdir -p "$dir"/srv/{private,lock,state,cache,pid,ncalrpc} "$dir"/log "$dir"/share "$dir"/inbox
    echo "Dobrodošli" >"$dir/share/procitaj.txt"
    mkdir -p "$dir/share/fascikla"
    chmod 755 "$dir" "$dir/share"
    chown nobody "$dir/inbox"
    chmod 755 "$dir/inbox"
    write_server_conf
    write_client_conf "$dir/home" 10.203.0.2/24
    write_client_conf "$dir/home-iso" 10.203.1.2/24

    ip netns add $SRV
    ip netns add $CLI
    ip netns add $ISO
    ip link add vlab-srv type veth peer name vlab-cli
    ip link set vlab-srv netns $SRV
    ip link set vlab-cli netns $CLI
    ip -n $SRV addr add 10.203.0.1/24 brd + dev vlab-srv
    ip -n $CLI addr add 10.203.0.2/24 brd + dev vlab-cli
    ip link add vlab-iso type veth peer name vlab-void
    ip link set vlab-iso netns $ISO
    ip link set vlab-void netns $ISO
    ip -n $ISO addr add 10.203.1.2/24 brd + dev vlab-iso
    for ns in $SRV $CLI $ISO; do ip -n $ns link set lo up; done
    ip -n $SRV link set vlab-srv up
    ip -n $CLI link set vlab-cli up
    ip -n $ISO link set vlab-iso up
    ip -n $ISO link set vlab-void up
    ip -n $ISO neigh add 10.203.1.9 lladdr 02:00:0a:cb:01:09 dev vlab-iso nud permanent

    start_daemon nmbd
    start_daemon smbd
    # Ready when smbd takes connections on 139 from the client side.
    local i
    for i in $(seq 100); do
        if ip netns exec $CLI bash -c 'exec 3<>/dev/tcp/10.203.0.1/139' 2>/dev/null; then
            break
        fi
        sleep 0.1
    done
    for name in nmbd smbd; do
        if ! [ -d "/proc/$(cat "$dir/$name.pid")" ]; then
            echo "$name did not stay up; its output:" >&2
            tail -n 30 "$dir/log/$name.out" >&2
            teardown
            rm -f "$OWNER"
            exit 1
        fi
    done
    ip netns exec $CLI bash -c 'exec 3<>/dev/tcp/10.203.0.1/139' 2>/dev/null || {
        echo "smbd does not answer on 10.203.0.1:139" >&2
        teardown
        rm -f "$OWNER"
        exit 1
    }
    date +%s >"$dir/lab-up"
    echo "Samba lab up in $dir (nmbd $(cat "$dir/nmbd.pid"), smbd $(cat "$dir/smbd.pid"))"
}

run() {
    [ $# -ge 2 ] || usage
    local where=$1
    shift
    if ! can_run || ! [ -f "$dir/lab-up" ]; then
        echo "SKIP: the Samba lab needs root and ip netns (and a lab that is up)"
        exit $SKIP
    fi
    local ns home
    case "$where" in
    cli) ns=$CLI home=$dir/home ;;
    iso) ns=$ISO home=$dir/home-iso ;;
    *) usage ;;
    esac
    exec ip netns exec "$ns" env HOME="$home" XDG_CONFIG_HOME="$home/.config" \
        VESNAL_LAB_DIR="$dir" VESNAL_NETBIOS_NAME=PC-02 VESNAL_WORKGROUP=RADNAGRUPA "$@"
}

case "$cmd" in
up | down)
    if ! can_run; then
        echo "Samba lab not available (needs root, ip netns, nmbd and smbd): nothing to do"
        exit 0
    fi
    # Root in a container may still lack the right to make namespaces.
    probe=vesnal-probe-$$
    if [ "$cmd" = up ] && ! { ip netns add $probe && ip netns del $probe; } 2>/dev/null; then
        echo "Samba lab not available (network namespaces cannot be made here): nothing to do"
        exit 0
    fi
    "$cmd"
    ;;
run) run "$@" ;;
*) usage ;;
esac

#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Stands in for `vesnal-net list|probe URL` in tests and benchmarks: a
# network of hosts that answer, answer late, hang, crash, print garbage or
# far too much, or refuse. $1 is "list" or "probe", $2 the address. Every
# start is logged to $FAKE_LISTER_DIR/log; a workgroup named VRACA answers
# once the file $FAKE_LISTER_DIR/budna exists. Workgroups ZIVA* answer (all
# with the same computers), and TIHA* never do. $FAKE_LISTER_TOP, when set,
# names the workgroups of the top.
d=${FAKE_LISTER_DIR:-/nonexistent}
echo "$1 $2" >>"$d/log"
case "$2" in
smb://) for g in ${FAKE_LISTER_TOP:-ZIVA SPORA TIHA PADA SMECE OGROMNA ODBIJA VRACA ZIVA2}; do
    printf 'workgroup\t%s\t\n' $g
done ;;
smb://ZIVA*) printf 'server\tPC-01\tRa\\\\cunar\\tu\\nsobi\nserver\tPC-02\t\n' ;;
smb://SPORA) sleep 0.3; printf 'server\tPC-05\t\n' ;;
smb://TIHA*) exec sleep 30 ;;
smb://VRACA) [ -e "$d/budna" ] || exec sleep 30; printf 'server\tPC-07\t\n' ;;
smb://PADA) printf 'server\tPC-09\t\n'; kill -SEGV $$ ;;
smb://SMECE) printf 'server\tPC-09\t\nnesto\n' ;;
smb://NEDOVRSENA) printf 'server\tPC-09' ;;
smb://OGROMNA) head -c 20000000 /dev/zero | tr '\0' x ;;
smb://ODBIJA) echo "refused" >&2; exit 3 ;;
smb://CUDNA) exit 1 ;;
smb://PC-01/javno) exit 0 ;;
*) exit 3 ;;
esac

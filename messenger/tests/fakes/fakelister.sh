#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Stands in for `vesnal-net list|probe URL`: hosts that answer (ZIVA*, alike),
# answer late, hang (TIHA*), crash, print garbage or far too much, or refuse.
# Each start is logged to $FAKE_LISTER_DIR/log; VRACA answers once the file
# $FAKE_LISTER_DIR/budna exists; $FAKE_LISTER_TOP names the top's workgroups.
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

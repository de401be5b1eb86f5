#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Stands in for `vesnal-net list URL`: the top holds ZIVA, whose ten computers
# answer at once, and $BENCH_SILENT workgroups TIHA1… that never answer.
case "$2" in
smb://)
    printf 'workgroup\tZIVA\t\n'
    i=1
    while [ "$i" -le "${BENCH_SILENT:-0}" ]; do
        printf 'workgroup\tTIHA%d\t\n' "$i"
        i=$((i + 1))
    done ;;
smb://ZIVA) for i in 0 1 2 3 4 5 6 7 8 9; do printf 'server\tPC-%02d\t\n' "$i"; done ;;
smb://TIHA*) exec sleep 60 ;;
*) exit 3 ;;
esac

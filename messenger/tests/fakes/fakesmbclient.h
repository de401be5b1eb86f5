// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtTest>

// Run n leaves its standard input, "pid pgid" and its arguments in calls/<n>/
// (argv last: its presence means the run is recorded). By its second
// argument (the recipient for smbclient, the command line for the helper):
// FAIL* fails as for an unknown computer; OFF* prints what smbclient prints
// for a receiver with SMB1 switched off, and exits 0; HANG* hangs; CRASH*
// crashes; SLOW* take 1 s and note how many runs were under way.
class FakeSmbclient
{
public:
    explicit FakeSmbclient(const char *name = "smbclient") : program(dir.filePath(name))
    {
        QDir(dir.path()).mkpath("calls");
        QDir(dir.path()).mkpath("running");
        QFile f(program);
        f.open(QIODevice::WriteOnly);
        f.write(R"(#!/bin/sh
c=$(dirname "$0")/calls; i=1
while ! mkdir "$c/$i" 2>/dev/null; do i=$((i+1)); [ $i -gt 9999 ] && exit 99; done
cat > "$c/$i/stdin"; echo $$ $(cut -d' ' -f5 /proc/$$/stat) > "$c/$i/pid"
for a in "$@"; do printf '%s\0' "$a"; done > "$c/$i/a"; mv "$c/$i/a" "$c/$i/argv"
case "$2" in FAIL*) echo "Connection to $2 failed. Error NT_STATUS_NOT_FOUND"; exit 1 ;;
OFF*) echo "cli_message returned NT_STATUS_CONNECTION_DISCONNECTED" >&2; exit 0 ;;
HANG*) exec sleep 60 ;; CRASH*) kill -SEGV $$ ;;
SLOW*) r=$(dirname "$0")/running; mkdir "$r/$$"; ls "$r" | wc -l > "$c/$i/concurrent"
       sleep 1; rmdir "$r/$$" ;; esac
)");
        f.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    }
    int calls() const { return QDir(dir.filePath("calls")).count() - 2; } // less . and ..
    // The names that runs first..last were for, sorted: parallel runs start in any order.
    QStringList names(int first, int last) const
    {
        QStringList n;
        for (int i = first; i <= last; ++i)
            n.append(call(i).value(1));
        n.sort();
        return n;
    }
    // Run n (from 1), once recorded: its arguments, then its standard input.
    QStringList call(int n) const
    {
        (void)QTest::qWaitFor([&] { return !read(n, "argv").isEmpty(); }, 10000);
        QStringList args = QString::fromUtf8(read(n, "argv")).split(QChar()); // NUL-ended
        return args.mid(0, args.size() - 1) << QString::fromUtf8(read(n, "stdin"));
    }
    QByteArray read(int n, const char *name) const
    {
        QFile f(dir.filePath(QStringLiteral("calls/%1/%2").arg(n).arg(QLatin1String(name))));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir dir;
    const QString program;
};

#pragma once

// Shared by the delivery tests: a recording stand-in for smbclient and a
// bounded wait.
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>
#include <functional>

inline bool waitFor(const std::function<bool()> &condition, int ms = 10000)
{
    QDeadlineTimer deadline(ms);
    while (!condition()) {
        if (deadline.hasExpired()) return false;
        QThread::msleep(10);
    }
    return true;
}

inline QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Arguments written NUL-separated by a recording script.
inline QStringList splitArgs(QByteArray raw)
{
    QStringList args;
    raw.chop(1);
    for (const QByteArray &a : raw.split('\0'))
        args.append(QString::fromUtf8(a));
    return args;
}

// A folder with an executable `name` holding `script`.
inline void writeScript(const QTemporaryDir &dir, const QString &name, const char *script)
{
    QFile f(dir.filePath(name));
    f.open(QIODevice::WriteOnly);
    f.write(script);
    f.close();
    f.setPermissions(QFileDevice::ReadOwner | QFileDevice::ExeOwner);
}

// smbclient's stand-in: run n leaves its arguments and standard input in
// calls/<n>/ (argv last, so its presence means the run is recorded). Names
// listed in the file "fail" fail as an unknown computer does; names in
// "hang" never answer.
class FakeSmbclient
{
public:
    FakeSmbclient()
    {
        QDir(dir.path()).mkdir(QStringLiteral("calls"));
        writeScript(dir, QStringLiteral("smbclient"), R"(#!/bin/sh
dir=$(dirname "$0")
i=1
while ! mkdir "$dir/calls/$i" 2>/dev/null; do i=$((i+1)); [ $i -gt 10000 ] && exit 99; done
cat > "$dir/calls/$i/stdin"
for a in "$@"; do printf '%s\0' "$a"; done > "$dir/calls/$i/argv.tmp"
mv "$dir/calls/$i/argv.tmp" "$dir/calls/$i/argv"
if grep -qx -- "$2" "$dir/fail" 2>/dev/null; then
  echo "Connection to $2 failed. Error NT_STATUS_NOT_FOUND" >&2
  exit 1
fi
if grep -qx -- "$2" "$dir/hang" 2>/dev/null; then exec sleep 60; fi
echo "Type your message, ending it with a Control-D"
)");
    }
    QString program() const { return dir.filePath(QStringLiteral("smbclient")); }
    void listIn(const char *file, const QStringList &names) const
    {
        QFile f(dir.filePath(QLatin1String(file)));
        f.open(QIODevice::WriteOnly);
        f.write((names.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8());
    }
    int calls() const
    {
        return QDir(dir.filePath("calls")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size();
    }
    // Run n (from 1), once it is recorded.
    QStringList argv(int n) const
    {
        const QString file = callFile(n, "argv");
        return waitFor([&] { return QFile::exists(file); }) ? splitArgs(readAll(file))
                                                            : QStringList();
    }
    QByteArray input(int n) const { return readAll(callFile(n, "stdin")); }

    // smbclient's arguments for a message to `name` from PC-02 in CP1250.
    static QStringList fixedArgs(const QString &name)
    {
        return {"-M",
                name,
                "-N",
                "-U",
                "PC-02",
                "--option=dos charset=CP1250",
                "--option=unix charset=UTF-8"};
    }

    QTemporaryDir dir;

private:
    QString callFile(int n, const char *name) const
    {
        return dir.filePath(QStringLiteral("calls/%1/%2").arg(n).arg(QLatin1String(name)));
    }
};

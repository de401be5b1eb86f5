// SPDX-License-Identifier: GPL-3.0-or-later
// Times the list file: one workgroup of N distinct computer names, read and
// parsed as the tree asks for it (the top, then the workgroup). Each round
// runs in a process of its own, as the window reads the file: cold, with
// none of an earlier round's memory to reuse.
//   bench_listfile [N...]      default 40000 400000; best and median of 5 rounds
//   bench_listfile one FILE    one round over FILE: "parsed-ms listed-ms count"
#include "net/staticlistbackend.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

namespace
{

constexpr int Rounds = 5;

// "[GRUPA]" and N names PC-000000 … of ten bytes a line.
qint64 writeList(const QString &path, int names)
{
    QByteArray text = "[GRUPA]\n";
    text.reserve(8 + qsizetype(names) * 10);
    for (int i = 0; i < names; ++i)
        text += QByteArray("PC-") + QByteArray::number(i).rightJustified(6, '0') + '\n';
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(text) != text.size())
        return -1;
    return text.size();
}

int oneRound(const QString &path)
{
    QElapsedTimer clock;
    clock.start();
    StaticListBackend list(path, QStringLiteral("L"), QString(), QString());
    const auto top = list.list(nullptr);
    const double parsed = double(clock.nsecsElapsed()) / 1e6;
    const auto computers = top && !top->isEmpty() ? list.list(&top->at(0)) : std::nullopt;
    const double listed = double(clock.nsecsElapsed()) / 1e6;
    std::printf("%.1f %.1f %lld\n", parsed, listed, qlonglong(computers ? computers->size() : -1));
    return 0;
}

double median(QList<double> v)
{
    std::sort(v.begin(), v.end());
    return v.at(v.size() / 2);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() == 2 && args[0] == QLatin1String("one"))
        return oneRound(args[1]);
    QList<int> sizes;
    for (const QString &a : args)
        sizes.append(a.toInt());
    if (sizes.isEmpty())
        sizes = {40000, 400000};

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("mreza.txt"));
    std::printf("| names | file (bytes) | read and parsed: best / median (ms) | "
                "with the workgroup's records: best / median (ms) | listed |\n"
                "|---|---|---|---|---|\n");
    for (int n : sizes) {
        const qint64 bytes = writeList(path, n);
        QList<double> parsed, listed;
        QByteArray count;
        for (int r = 0; r < Rounds; ++r) {
            QProcess round;
            round.start(app.applicationFilePath(), {QStringLiteral("one"), path});
            if (!round.waitForFinished(120000))
                return 1;
            const QList<QByteArray> f = round.readAllStandardOutput().trimmed().split(' ');
            if (f.size() != 3)
                return 1;
            parsed.append(f[0].toDouble());
            listed.append(f[1].toDouble());
            count = f[2];
        }
        std::printf("| %d | %lld | %.0f / %.0f | %.0f / %.0f | %s |\n", n, bytes,
                    *std::min_element(parsed.begin(), parsed.end()), median(parsed),
                    *std::min_element(listed.begin(), listed.end()), median(listed),
                    count.constData());
        std::fflush(stdout);
    }
    return 0;
}

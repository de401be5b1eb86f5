// SPDX-License-Identifier: GPL-3.0-or-later
// Times the network tree on a synthetic network from the in-memory provider:
// the first population plus one activation (two passes) that lists every
// workgroup and server, further passes over the fully listed tree, and the
// same nodes put into a bare QTreeWidget (the floor). Each measurement runs
// in a process of its own so that peak memory belongs to one size only.
//
//   bench_tree                      both sizes, five runs each, a table
//   bench_tree window GROUPS        one run of the window, then the floor
//   bench_tree floor GROUPS         only the floor (for its memory)
//   bench_tree floor1 GROUPS        only the floor, one insertion per item

#include "fakemessageboxes.h"
#include "fakenetwork.h"
#include "recordinglauncher.h"
#include "widgets/imagelist.h"
#include "window/frmnwcheck.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTreeWidget>
#include <algorithm>
#include <cstdio>
#include <sys/resource.h>

namespace
{

constexpr int ServersPerGroup = 1000;

QString groupName(int g)
{
    return QStringLiteral("GRUPA%1").arg(g, 3, 10, QLatin1Char('0'));
}

QString serverName(int g, int s)
{
    return QStringLiteral("PC-%1-%2")
        .arg(g, 3, 10, QLatin1Char('0'))
        .arg(s, 4, 10, QLatin1Char('0'));
}

void buildNetwork(FakeNetwork &net, int groups)
{
    net.add(QString(), QStringLiteral("SMB"), NetDisplay::Network);
    for (int g = 0; g < groups; ++g) {
        net.add(QStringLiteral("SMB"), groupName(g), NetDisplay::Domain);
        for (int s = 0; s < ServersPerGroup; ++s)
            net.add(groupName(g), QStringLiteral("\\\\") + serverName(g, s), NetDisplay::Server);
    }
}

long peakKiB()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss;
}

double ms(const QElapsedTimer &t)
{
    return double(t.nsecsElapsed()) / 1e6;
}

// The nodes the window holds once everything is listed: the root, the
// provider, the workgroups and the servers, with the same pictures. With
// `bulk` each workgroup's servers join in one insertion (the floor);
// without, one by one as a listing that adds node after node would.
double fillFloor(int groups, bool bulk = true)
{
    ImageList images;
    images.load();
    const QIcon root = images.icon(QStringLiteral("root"));
    const QIcon network = images.icon(QStringLiteral("network"));
    const QIcon group = images.icon(QStringLiteral("domain"));
    const QIcon server = images.icon(QStringLiteral("server"));

    // Each item gets its text and picture before it joins the tree, which
    // spares the model's change signals.
    auto item = [](const QString &text, const QIcon &icon) {
        auto *i = new QTreeWidgetItem(QStringList(text));
        i->setIcon(0, icon);
        return i;
    };
    // The names are made before the clock starts: the window, too, finds
    // them ready in the listing.
    QList<QString> groupNames;
    QList<QStringList> serverNames(groups);
    for (int g = 0; g < groups; ++g) {
        groupNames.append(groupName(g));
        for (int s = 0; s < ServersPerGroup; ++s)
            serverNames[g].append(serverName(g, s));
    }

    QTreeWidget tree;
    QElapsedTimer t;
    t.start();
    QTreeWidgetItem *top = item(QStringLiteral("Mreža"), root);
    QTreeWidgetItem *provider = item(QStringLiteral("SMB"), network);
    top->addChild(provider);
    tree.addTopLevelItem(top);
    for (int g = 0; g < groups; ++g) {
        QTreeWidgetItem *gi = item(groupNames[g], group);
        provider->addChild(gi);
        QList<QTreeWidgetItem *> servers;
        servers.reserve(ServersPerGroup);
        for (int s = 0; s < ServersPerGroup; ++s) {
            if (bulk)
                servers.append(item(serverNames[g][s], server));
            else
                gi->addChild(item(serverNames[g][s], server));
        }
        gi->addChildren(servers);
    }
    return ms(t);
}

int runWindow(int groups)
{
    FakeNetwork net;
    buildNetwork(net, groups);
    const long networkPeak = peakKiB();
    RecordingLauncher launcher;
    FakeMessageBoxes boxes;
    frmNWCheck w(net, launcher, boxes, QStringList());

    QElapsedTimer t;
    t.start();
    w.Form_Load();
    const double load = ms(t);
    t.restart();
    w.Form_Activate();
    const double firstActivate = ms(t);
    const int listedNodes = w.nodes.size();

    t.restart();
    w.ExpandAllNodes();
    const double thirdPass = ms(t);
    t.restart();
    w.ExpandAllNodes();
    const double steadyPass = ms(t);
    t.restart();
    w.Form_Activate();
    const double steadyActivate = ms(t);
    const long peak = peakKiB();

    const double floor = fillFloor(groups);
    const double oneByOne = fillFloor(groups, false);
    std::printf("%d %d %.1f %.1f %.2f %.2f %.2f %ld %.1f %.1f %ld\n", groups, listedNodes, load,
                firstActivate, thirdPass, steadyPass, steadyActivate, peak, floor, oneByOne,
                networkPeak);
    return 0;
}

int runFloor(int groups, bool bulk)
{
    const double floor = fillFloor(groups, bulk);
    std::printf("%.1f %ld\n", floor, peakKiB());
    return 0;
}

QList<double> numbers(const QByteArray &line)
{
    QList<double> out;
    for (const QByteArray &f : line.trimmed().split(' '))
        out.append(f.toDouble());
    return out;
}

QByteArray runChild(const QString &mode, int groups)
{
    QProcess p;
    p.start(QCoreApplication::applicationFilePath(), {mode, QString::number(groups)});
    if (!p.waitForFinished(600000) || p.exitCode() != 0)
        return {};
    return p.readAllStandardOutput();
}

double best(QList<double> v)
{
    std::sort(v.begin(), v.end());
    return v.isEmpty() ? 0 : v.front();
}

double median(QList<double> v)
{
    std::sort(v.begin(), v.end());
    return v.isEmpty() ? 0 : v[v.size() / 2];
}

// One row of the table per figure, one pair of columns (best, median) per size.
int runAll()
{
    constexpr int Runs = 5;
    const QList<int> sizes = {20, 100};
    const QStringList rows = {
        QStringLiteral("nodes in the tree"),
        QStringLiteral("Form_Load + Form_Activate (ms)"),
        QStringLiteral("floor: bare QTreeWidget, one insertion per workgroup (ms)"),
        QStringLiteral("ratio to the floor"),
        QStringLiteral("bare QTreeWidget, one insertion per item (ms)"),
        QStringLiteral("third pass, first over the listed tree (ms)"),
        QStringLiteral("one more pass (ms)"),
        QStringLiteral("one more Form_Activate, two passes (ms)"),
        QStringLiteral("peak RSS, window process (MiB)"),
        QStringLiteral("  of which before the window was made (MiB)"),
        QStringLiteral("peak RSS, floor alone (MiB)"),
    };
    QList<QList<QList<double>>> values(sizes.size(), QList<QList<double>>(rows.size()));
    for (int i = 0; i < sizes.size(); ++i) {
        auto &v = values[i];
        for (int r = 0; r < Runs; ++r) {
            const QList<double> x = numbers(runChild(QStringLiteral("window"), sizes[i]));
            if (x.size() != 11)
                return 1;
            const double listing = x[2] + x[3];
            const double figures[] = {x[1], listing, x[8], listing / x[8], x[9],
                                      x[4], x[5],    x[6], x[7] / 1024,    x[10] / 1024};
            for (int k = 0; k < 10; ++k)
                v[k].append(figures[k]);
            const QList<double> f = numbers(runChild(QStringLiteral("floor"), sizes[i]));
            if (f.size() != 2)
                return 1;
            v[10].append(f[1] / 1024);
        }
    }
    std::printf("| %d runs each | 20 x 1000 best | median | 100 x 1000 best | median |\n"
                "|---|---|---|---|---|\n",
                Runs);
    for (int k = 0; k < rows.size(); ++k) {
        std::printf("| %s |", qPrintable(rows[k]));
        for (int i = 0; i < sizes.size(); ++i) {
            const char *format = k == 3               ? " %.2f | %.2f |"
                                 : (k >= 5 && k <= 7) ? " %.1f | %.1f |"
                                                      : " %.0f | %.0f |";
            std::printf(format, best(values[i][k]), median(values[i][k]));
        }
        std::printf("\n");
    }
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1] == QLatin1String("window"))
        return runWindow(args[2].toInt());
    if (args.size() == 3 && args[1] == QLatin1String("floor"))
        return runFloor(args[2].toInt(), true);
    if (args.size() == 3 && args[1] == QLatin1String("floor1"))
        return runFloor(args[2].toInt(), false);
    return runAll();
}

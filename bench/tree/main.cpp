// SPDX-License-Identifier: GPL-3.0-or-later
// Times the network tree on a synthetic network from the in-memory provider:
// the first population plus one activation (two passes) that lists every
// workgroup and server, further passes over the fully listed tree, and the
// same nodes put into a bare QTreeWidget (the floor) and into a bare
// QTreeView over a plain model (the floor of the window's own structure).
// Each measurement runs in a process of its own so that peak memory belongs
// to one size only.
//
//   bench_tree                      both sizes, five runs each, a table
//   bench_tree window GROUPS        one run of the window, then the floors
//   bench_tree floor GROUPS         only the QTreeWidget floor (for its memory)
//   bench_tree floor1 GROUPS        the same, one insertion per item
//   bench_tree view GROUPS          only the plain model's floor (for its memory)

#include "benchapplication.h"
#include "fakemessageboxes.h"
#include "fakenetwork.h"
#include "maincontrols.h"
#include "recordinglauncher.h"
#include "widgets/imagelist.h"
#include "window/frmnwcheck.h"

#include <QAbstractItemModel>
#include <QElapsedTimer>
#include <QProcess>
#include <QTreeView>
#include <QTreeWidget>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <sys/resource.h>
#include <vector>

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

// The pictures of the four kinds of node a listed network shows.
struct Pictures {
    Pictures()
    {
        ImageList images;
        images.load();
        root = images.icon(QStringLiteral("root"));
        network = images.icon(QStringLiteral("network"));
        group = images.icon(QStringLiteral("domain"));
        server = images.icon(QStringLiteral("server"));
    }
    QIcon root, network, group, server;
};

// The names of the workgroups and their servers, made before a clock starts:
// the window, too, finds them ready in the listing.
struct Names {
    explicit Names(int groups) : servers(groups)
    {
        for (int g = 0; g < groups; ++g) {
            this->groups.append(groupName(g));
            for (int s = 0; s < ServersPerGroup; ++s)
                servers[g].append(serverName(g, s));
        }
    }
    QList<QString> groups;
    QList<QStringList> servers;
};

// A plain tree model: each node its text, picture, parent and children,
// nothing more. Children join in one insertion per call.
class PlainTree : public QAbstractItemModel
{
public:
    struct Node {
        QString text;
        const QIcon *icon = nullptr;
        Node *parent = nullptr;
        int row = 0;
        std::vector<std::unique_ptr<Node>> children;
    };

    Node top; // stands for the invisible root

    static std::unique_ptr<Node> node(const QString &text, const QIcon &icon)
    {
        auto n = std::make_unique<Node>();
        n->text = text;
        n->icon = &icon;
        return n;
    }

    static std::vector<std::unique_ptr<Node>> one(std::unique_ptr<Node> node)
    {
        std::vector<std::unique_ptr<Node>> nodes;
        nodes.push_back(std::move(node));
        return nodes;
    }

    void insert(Node *parent, std::vector<std::unique_ptr<Node>> nodes)
    {
        const int first = int(parent->children.size());
        beginInsertRows(indexOf(parent), first, first + int(nodes.size()) - 1);
        for (auto &n : nodes) {
            n->parent = parent;
            n->row = int(parent->children.size());
            parent->children.push_back(std::move(n));
        }
        endInsertRows();
    }

    QModelIndex index(int row, int column, const QModelIndex &parent) const override
    {
        const Node *p = nodeAt(parent);
        if (column != 0 || row < 0 || row >= int(p->children.size()))
            return QModelIndex();
        return createIndex(row, 0, p->children[size_t(row)].get());
    }
    QModelIndex parent(const QModelIndex &child) const override
    {
        return child.isValid() ? indexOf(nodeAt(child)->parent) : QModelIndex();
    }
    int rowCount(const QModelIndex &parent) const override
    {
        return parent.column() > 0 ? 0 : int(nodeAt(parent)->children.size());
    }
    int columnCount(const QModelIndex &) const override { return 1; }
    QVariant data(const QModelIndex &index, int role) const override
    {
        const Node *n = nodeAt(index);
        if (role == Qt::DisplayRole)
            return n->text;
        if (role == Qt::DecorationRole)
            return *n->icon;
        return QVariant();
    }

private:
    const Node *nodeAt(const QModelIndex &index) const
    {
        return index.isValid() ? static_cast<const Node *>(index.internalPointer()) : &top;
    }
    QModelIndex indexOf(const Node *node) const
    {
        return node == &top ? QModelIndex() : createIndex(node->row, 0, node);
    }
};

// The nodes the window holds once everything is listed, in a bare
// QTreeView over the plain model: the root, the provider, then each
// workgroup and its servers, two insertions per workgroup as below.
double fillViewFloor(int groups)
{
    const Pictures pictures;
    const Names names(groups);
    PlainTree model;
    QTreeView tree;
    tree.setModel(&model);
    QElapsedTimer t;
    t.start();
    // The root joins with its provider attached.
    auto top = PlainTree::node(QStringLiteral("Mreža"), pictures.root);
    top->children.push_back(PlainTree::node(QStringLiteral("SMB"), pictures.network));
    PlainTree::Node *provider = top->children.back().get();
    provider->parent = top.get();
    model.insert(&model.top, PlainTree::one(std::move(top)));
    for (int g = 0; g < groups; ++g) {
        auto group = PlainTree::node(names.groups[g], pictures.group);
        PlainTree::Node *gi = group.get();
        model.insert(provider, PlainTree::one(std::move(group)));
        std::vector<std::unique_ptr<PlainTree::Node>> servers;
        servers.reserve(ServersPerGroup);
        for (int s = 0; s < ServersPerGroup; ++s)
            servers.push_back(PlainTree::node(names.servers[g][s], pictures.server));
        model.insert(gi, std::move(servers));
    }
    return ms(t);
}

// The same nodes in a bare QTreeWidget. With `bulk` each workgroup's
// servers join in one insertion (the floor); without, one by one as a
// listing that adds node after node would.
double fillFloor(int groups, bool bulk = true)
{
    const Pictures pictures;
    const Names names(groups);
    const QIcon &root = pictures.root, &network = pictures.network;
    const QIcon &group = pictures.group, &server = pictures.server;

    // Each item gets its text and picture before it joins the tree, which
    // spares the model's change signals.
    auto item = [](const QString &text, const QIcon &icon) {
        auto *i = new QTreeWidgetItem(QStringList(text));
        i->setIcon(0, icon);
        return i;
    };
    QTreeWidget tree;
    QElapsedTimer t;
    t.start();
    QTreeWidgetItem *top = item(QStringLiteral("Mreža"), root);
    QTreeWidgetItem *provider = item(QStringLiteral("SMB"), network);
    top->addChild(provider);
    tree.addTopLevelItem(top);
    for (int g = 0; g < groups; ++g) {
        QTreeWidgetItem *gi = item(names.groups[g], group);
        provider->addChild(gi);
        QList<QTreeWidgetItem *> servers;
        servers.reserve(ServersPerGroup);
        for (int s = 0; s < ServersPerGroup; ++s) {
            if (bulk)
                servers.append(item(names.servers[g][s], server));
            else
                gi->addChild(item(names.servers[g][s], server));
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
    // The tree as the window's passes walk it; the first activation's number.
    NetworkTree &nodes = MainControls(w).nodes;
    const int listedNodes = int(nodes.size());

    t.restart();
    nodes.expandAll(1);
    const double thirdPass = ms(t);
    t.restart();
    nodes.expandAll(1);
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

int runFloor(double floor)
{
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
        QStringLiteral("listing: load step + activation (ms)"),
        QStringLiteral("floor: bare `QTreeWidget`, one insertion per workgroup (ms)"),
        QStringLiteral("ratio to the floor (per run)"),
        QStringLiteral("second floor: bare `QTreeView` over a plain model (ms)"),
        QStringLiteral("ratio to the plain model (per run)"),
        QStringLiteral("bare `QTreeWidget`, one insertion per item (ms)"),
        QStringLiteral("one activation pass over the fully listed tree (ms)"),
        QStringLiteral("one more pass (ms)"),
        QStringLiteral("a whole activation (two passes) on the listed tree (ms)"),
        QStringLiteral("peak memory, window process (MiB)"),
        QStringLiteral("of which before the window was made (MiB)"),
        QStringLiteral("peak memory, floor alone (MiB)"),
        QStringLiteral("peak memory, plain model alone (MiB)"),
    };
    QList<QList<QList<double>>> values(sizes.size(), QList<QList<double>>(rows.size()));
    for (int i = 0; i < sizes.size(); ++i) {
        auto &v = values[i];
        for (int r = 0; r < Runs; ++r) {
            const QList<double> x = numbers(runChild(QStringLiteral("window"), sizes[i]));
            const QList<double> f = numbers(runChild(QStringLiteral("floor"), sizes[i]));
            // The plain model starts on fresh memory in a process of its
            // own, as the window's listing does.
            const QList<double> p = numbers(runChild(QStringLiteral("view"), sizes[i]));
            if (x.size() != 11 || f.size() != 2 || p.size() != 2)
                return 1;
            const double listing = x[2] + x[3];
            const double figures[] = {
                x[1], listing, x[8], listing / x[8], p[0],         listing / p[0], x[9],
                x[4], x[5],    x[6], x[7] / 1024,    x[10] / 1024, f[1] / 1024,    p[1] / 1024};
            for (size_t k = 0; k < std::size(figures); ++k)
                v[k].append(figures[k]);
        }
    }
    std::printf("| %d runs each | 20 × 1000 best | median | 100 × 1000 best | median |\n"
                "|---|---|---|---|---|\n",
                Runs);
    for (int k = 0; k < rows.size(); ++k) {
        std::printf("| %s |", qPrintable(rows[k]));
        for (int i = 0; i < sizes.size(); ++i) {
            // Ratios to two places; passes and memory to one.
            const char *format = (k == 3 || k == 5) ? " %.2f | %.2f |"
                                 : k >= 7           ? " %.1f | %.1f |"
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
    BenchApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 3 && args[1] == QLatin1String("window"))
        return runWindow(args[2].toInt());
    if (args.size() == 3 && args[1] == QLatin1String("floor"))
        return runFloor(fillFloor(args[2].toInt(), true));
    if (args.size() == 3 && args[1] == QLatin1String("floor1"))
        return runFloor(fillFloor(args[2].toInt(), false));
    if (args.size() == 3 && args[1] == QLatin1String("view"))
        return runFloor(fillViewFloor(args[2].toInt()));
    return runAll();
}

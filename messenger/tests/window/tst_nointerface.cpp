// SPDX-License-Identifier: GPL-3.0-or-later
// Vesnal started where no network interface is up: a network namespace of
// the test's own, its loopback left down. The SMB library ends whatever
// process sets it up there (exit status 1); that must only ever be a listing
// child, never the window or the delivery helper. Needs root and "ip netns";
// otherwise the test reports itself skipped (exit 77).
#include "platform/linux/listingformat.h"

#include <QtTest>
#include <csignal>
#include <unistd.h>

namespace
{

const QString Namespace = QStringLiteral("vesnal-noif-%1").arg(::getpid());

// Starts `program` inside the namespace.
void startInside(QProcess &p, const QString &program, const QStringList &args = {})
{
    p.start("ip", QStringList{"netns", "exec", Namespace, "env", "QT_QPA_PLATFORM=offscreen",
                              VESNAL_BINARY_DIR "/" + program} +
                      args);
}

// Runs `ip ARGS` to its end, 10 s at most (then killed); true when it exited 0.
bool ip(const QStringList &args, QByteArray *out = nullptr)
{
    QProcess p;
    p.start("ip", args);
    const bool ok = p.waitForFinished(10000) && p.exitCode() == 0;
    if (out)
        *out = p.readAllStandardOutput() + p.readAllStandardError();
    return ok;
}

} // namespace

class TestNoInterface : public QObject
{
    Q_OBJECT
    QTemporaryDir m_config;

private slots:
    void initTestCase()
    {
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_config.path()));
        qputenv("VESNAL_NETBIOS_NAME", "PC-09");
        qputenv("VESNAL_WORKGROUP", "KUCA");
    }

    void onlyTheListingChildEnds()
    {
        QProcess child, helper, vesnal;
        startInside(child, "vesnal-net", {"list", "smb://"});
        QVERIFY(child.waitForFinished(20000));
        qInfo("listing child without interfaces: exit status %d", child.exitCode());
        // Not a refusal: the tree keeps SMB unlisted, to be asked when the network is up.
        QVERIFY(child.exitCode() != ListingFormat::Listed &&
                child.exitCode() != ListingFormat::Refused &&
                child.readAllStandardOutput().isEmpty());

        // "*" lists through such a child, and the helper says what went wrong
        // in its own words (a group it could not list counts as not reached).
        startInside(helper, "vesnal-net", {"send", "* zdravo"});
        QVERIFY(helper.waitForFinished(60000));
        const QByteArray err = helper.readAllStandardError();
        QVERIFY2(helper.exitCode() == 1 && err.startsWith("group-unlisted * "), err.constData());

        // Without the fix it was gone within 0.13 s; its two passes over the
        // dead network take far less than these 3 s.
        startInside(vesnal, "vesnal");
        QVERIFY(vesnal.waitForStarted(10000));
        QTest::qWait(3000);
        const bool running = vesnal.state() == QProcess::Running;
        vesnal.kill();
        vesnal.waitForFinished(5000);
        QVERIFY2(running, vesnal.readAllStandardError().constData());
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QByteArray why;
    // "ip netns add" mounts /run/netns where there was none: it goes again.
    const bool hadNetns = QFileInfo::exists("/run/netns");
    if (::geteuid() != 0 || !ip({"netns", "add", Namespace}, &why)) {
        std::printf("SKIP: needs root and ip netns %s\n", why.constData());
        return 77;
    }
    TestNoInterface test;
    const int status = QTest::qExec(&test, argc, argv);
    // Whatever still runs in it was started here (vesnal, its children).
    QByteArray pids;
    ip({"netns", "pids", Namespace}, &pids);
    for (const QByteArray &pid : pids.split('\n'))
        if (pid.toInt() > 0 && pid.toInt() != ::getpid())
            ::kill(pid.toInt(), SIGKILL);
    ip({"netns", "del", Namespace});
    if (!hadNetns && QDir("/run/netns").isEmpty()) {
        QProcess::execute("umount", {"-n", "/run/netns"});
        QDir().rmdir("/run/netns");
    }
    return status;
}

#include "tst_nointerface.moc"

// SPDX-License-Identifier: GPL-3.0-or-later
// The Linux back end of the timer's platform, and the layout's twips.
#include "platform/linux/pulsebeeper.h"
#include "platform/linux/qtserialline.h"
#include "platform/linux/serialports.h"
#include "silentserver.h"
#include "widgets/twips.h"

#include <QtTest>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

struct TestLinuxPlatform : QObject {
    Q_OBJECT
private slots:
    void twipsEdgesRoundEachToTheNearestPixel()
    {
        // 7 twips are less than half a pixel, 8 more; boxes that meet in
        // twips meet in pixels.
        QCOMPARE(twipsRect(7, 8, 15, 22), QRect(0, 1, 1, 1));
        QCOMPARE(twipsRect(0, 0, 6045, 4350).size(), QSize(403, 290));
        const QRect a = twipsRect(285, 2090, 1975, 1765), b = twipsRect(2260, 2090, 100, 10);
        QCOMPARE(a.right() + 1, b.left());
    }

    void portNumberNamesDeviceAndRealLine()
    {
        QTemporaryDir sys;
        for (const QString entry :
             {"console/active=tty0 ttyS0", "ttyS0/type=4", "ttyS1/type=0", "ttyS10/type=4",
              "ttyS2/type=4", "ttyUSB1/", "ttyUSB0/", "ttyACM0/", "tty1/"}) {
            QDir().mkpath(sys.filePath(entry.section('/', 0, 0)));
            QFile file(sys.filePath(entry.section('=', 0, 0)));
            if (entry.contains('=') && file.open(QIODevice::WriteOnly))
                file.write(entry.section('=', 1).toUtf8() + "\n");
        }
        // The console (ttyS0) and a port without a UART (ttyS1) are left out.
        QCOMPARE(serialports::fromSysfs(sys.path(), "/dev"),
                 (QStringList{"/dev/ttyS2", "/dev/ttyS10", "/dev/ttyUSB0", "/dev/ttyUSB1",
                              "/dev/ttyACM0"}));
        QCOMPARE(serialports::fromEnvironment("/dev/ttyUSB3::/tmp/pty"),
                 (QStringList{"/dev/ttyUSB3", "/tmp/pty"}));

        // The real line, on a pseudo-terminal only: never a real serial device.
        const int master = posix_openpt(O_RDWR | O_NOCTTY);
        QVERIFY(master >= 0 && grantpt(master) == 0 && unlockpt(master) == 0);
        // Hang-up on close starts cleared here, so that only the line can set it.
        const int slave = ::open(ptsname(master), O_RDWR | O_NOCTTY | O_CLOEXEC);
        termios tio;
        QVERIFY(slave >= 0 && tcgetattr(slave, &tio) == 0);
        tio.c_cflag &= ~tcflag_t(HUPCL);
        QVERIFY(tcsetattr(slave, TCSANOW, &tio) == 0);
        QtSerialLine line([&] { return QStringList{ptsname(master)}; });
        QString error;
        QVERIFY(!line.open(2, &error) && line.open(1, &error));
        QVERIFY(tcgetattr(slave, &tio) == 0 && (tio.c_cflag & HUPCL)); // RTS drops if we die
        QVERIFY(!line.setRts(true) && !line.rts());                    // a pty has no modem lines
        line.close();
        QVERIFY(!line.isOpen() && line.open(1, &error)); // released by the close
        ::close(slave);
        ::close(master);
    }

    void tonesBoundedWithoutAnAnsweringServer()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("pulse");
        qputenv("PULSE_COOKIE", QFile::encodeName(dir.filePath("cookie"))); // not the user's
        const auto timed = [](const std::function<void()> &call) {
            QElapsedTimer t;
            t.start();
            call();
            return t.elapsed();
        };
        // A server that takes the connection and never answers: each tone
        // returns within its length plus 100 ms, the pauses are kept.
        SilentServer server(path);
        QVERIFY(server.listening());
        qputenv("PULSE_SERVER", "unix:" + QFile::encodeName(path));
        PulseBeeper stalled;
        QList<qint64> took;
        for (int hz : {800, 1000, 1200}) {
            took << timed([&] { stalled.beep(hz, 95); });
            took << timed([&] { stalled.sleep(300); });
        }
        QVERIFY(server.take(0) >= 1);
        for (int i = 0; i < took.size(); i += 2)
            QVERIFY2(took[i] <= 195 && took[i + 1] >= 300 && took[i + 1] <= 350,
                     qPrintable(QString::number(took[i]) + " " + QString::number(took[i + 1])));

        // No server at all: a whole switch-on signal costs about its pause.
        qputenv("PULSE_SERVER", "unix:" + QFile::encodeName(dir.filePath("none")));
        PulseBeeper none;
        const qint64 signal = timed([&] {
            none.beep(1200, 400);
            none.sleep(150);
            none.beep(1200, 400);
        });
        QVERIFY2(signal >= 150 && signal <= 250, qPrintable(QString::number(signal)));
        qunsetenv("PULSE_SERVER");
        qunsetenv("PULSE_COOKIE");
    }
};

QTEST_GUILESS_MAIN(TestLinuxPlatform)
#include "tst_linuxplatform.moc"

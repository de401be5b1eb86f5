// SPDX-License-Identifier: GPL-3.0-or-later
// The Linux back end of the timer's platform: ports, the real line on a
// pseudo-terminal, tones without a sound server that answers.
#include "platform/linux/pulsebeeper.h"
#include "platform/linux/qtserialline.h"
#include "platform/linux/serialports.h"
#include "silentserver.h"

#include <QtTest>
#include <fcntl.h>
#include <termios.h>

struct TestLinuxPlatform : QObject {
    Q_OBJECT
private slots:
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
        // Hang-up on close starts cleared, so that only the line can set it.
        const int master = posix_openpt(O_RDWR | O_NOCTTY);
        QVERIFY(master >= 0 && grantpt(master) == 0 && unlockpt(master) == 0);
        const int slave = ::open(ptsname(master), O_RDWR | O_NOCTTY | O_CLOEXEC);
        termios tio;
        QVERIFY(slave >= 0 && tcgetattr(slave, &tio) == 0);
        tio.c_cflag &= ~tcflag_t(HUPCL);
        QVERIFY(tcsetattr(slave, TCSANOW, &tio) == 0);
        QtSerialLine line([&] { return QStringList{ptsname(master)}; });
        QString error;
        QVERIFY(!line.open(2, &error) && line.open(1, &error));
        QVERIFY(tcgetattr(slave, &tio) == 0 && (tio.c_cflag & HUPCL));     // RTS drops if we die
        QVERIFY(!line.setRts(false) && !line.setRts(true) && !line.rts()); // no modem lines
        line.close();
        QVERIFY(!line.isOpen() && line.open(1, &error)); // released by the close
        ::close(slave);
        ::close(master);
    }

    void tonesBoundedWithoutAnAnsweringServer()
    {
        QTemporaryDir dir;
        qputenv("PULSE_COOKIE", QFile::encodeName(dir.filePath("cookie"))); // not the user's
        QElapsedTimer t;
        // A server that takes the connection and never answers: each tone
        // returns within its length plus 100 ms, the pauses are kept.
        SilentServer server(dir.filePath("pulse"));
        QVERIFY(server.listening);
        qputenv("PULSE_SERVER", "unix:" + QFile::encodeName(dir.filePath("pulse")));
        PulseBeeper stalled;
        for (int hz : {800, 1000, 1200}) {
            t.start();
            stalled.beep(hz, 95);
            const qint64 tone = t.restart();
            stalled.sleep(300);
            const qint64 pause = t.elapsed();
            QVERIFY2(tone <= 195 && pause >= 300 && pause <= 350,
                     qPrintable(QString("%1 %2").arg(tone).arg(pause)));
        }
        QVERIFY(server.connected(0));

        // No server at all: a whole switch-on signal costs about its pause.
        qputenv("PULSE_SERVER", "unix:" + QFile::encodeName(dir.filePath("none")));
        PulseBeeper none;
        t.start();
        none.beep(1200, 400);
        none.sleep(150);
        none.beep(1200, 400);
        const qint64 signal = t.elapsed();
        QVERIFY2(signal >= 150 && signal <= 250, qPrintable(QString::number(signal)));
        qunsetenv("PULSE_SERVER");
        qunsetenv("PULSE_COOKIE");
    }
};

QTEST_GUILESS_MAIN(TestLinuxPlatform)
#include "tst_linuxplatform.moc"

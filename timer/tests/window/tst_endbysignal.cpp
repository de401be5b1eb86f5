// SPDX-License-Identifier: GPL-3.0-or-later
// Tempral asked to quit by SIGTERM, SIGINT or SIGHUP at each kind of moment
// of a run: the box of the load step open, a tone waiting on a sound server
// that never answers, the reminder box open, the load on, a countdown. Each
// run is a process of its own, with its own settings file, no serial device
// and no sound server but the test's. It must end within a second (plus the
// tone that plays) with status 128 + the signal, the load off and the
// settings in its file.
#include "fakes.h"
#include "platform/linux/inisettingsstore.h"
#include "platform/linux/pulsebeeper.h"
#include "silentserver.h"
#include "tempralapp.h"

#include <csignal>
#include <iostream>
#include <sys/inotify.h>

namespace
{
void say(const QString &line)
{
    std::cout << qPrintable(line) << std::endl;
}

// The real boxes, each announced on the output as it opens.
struct AnnouncedBoxes : QtMessageBoxes {
    void critical(QWidget *parent, const QString &title, const QString &text) override
    {
        say("box " + text);
        QtMessageBoxes::critical(parent, title, text);
    }
    void warning(QWidget *parent, const QString &title, const QString &text) override
    {
        say("box " + text);
        QtMessageBoxes::warning(parent, title, text);
    }
};

// Started as `--child MODE`: Tempral on a fake line, with the real settings
// file, tones and boxes. After the first activation it says "ready" and then
// switches the load on ("on"), with sound ("tone"), starts a countdown
// ("count") or closes the window ("close"). At the end it says which RTS
// changes the line saw.
int child(QApplication &app, const QString &mode)
{
    Fakes line;
    IniSettingsStore settings(IniSettingsStore::userFileName());
    PulseBeeper beeper;
    AnnouncedBoxes boxes;
    const int status = runTempral(app, {line, settings, beeper, boxes}, [&](Form1 &form) {
        say("ready");
        form.chkZvuk->setChecked(mode == "tone");
        if (mode == "count")
            form.Zadato1->setText("30"), form.btnPokreniTClick();
        else if (mode == "on" || mode == "tone")
            form.btnIskljuciClick();
        else if (mode == "close")
            QMetaObject::invokeMethod(&form, &QWidget::close, Qt::QueuedConnection);
    });
    say("line: " + line.journal.filter("rts ").join(", "));
    return status;
}

// One run of Tempral in a folder of its own.
struct Run {
    QTemporaryDir dir;
    QProcess process;
    QByteArray output = "\n";

    QString ini() const { return dir.filePath("Tempral v0.5.ini"); }
    QString soundServer() const { return dir.filePath("pulse"); }
    // Port 1: a plain file, which the serial line opens and then refuses.
    QString device() const { return dir.filePath("not-a-tty"); }
    void start(const QString &program, const QStringList &arguments)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("XDG_CONFIG_HOME", dir.path());
        env.insert("TEMPRAL_PORTS", device());
        env.insert("PULSE_SERVER", "unix:" + soundServer());
        env.insert("QT_QPA_PLATFORM", "offscreen");
        process.setProcessEnvironment(env);
        process.start(program, arguments);
    }
    bool said(const QByteArray &line, int ms)
    {
        const QDeadlineTimer deadline(ms);
        while (!output.contains("\n" + line + "\n")) {
            if (deadline.hasExpired() || !process.waitForReadyRead(int(deadline.remainingTime())))
                return false;
            output += process.readAllStandardOutput();
        }
        return true;
    }
    // Sends the signal; the milliseconds until the process had ended, or -1.
    qint64 end(int signalNumber)
    {
        QElapsedTimer took;
        took.start();
        ::kill(pid_t(process.processId()), signalNumber);
        if (!process.waitForFinished(10000))
            return -1;
        output += process.readAllStandardOutput();
        return process.exitStatus() == QProcess::NormalExit &&
                       process.exitCode() == 128 + signalNumber
                   ? took.elapsed()
                   : -1;
    }
    // The five settings in their file, "-" for one not there.
    QString stored() const
    {
        QSettings file(ini(), QSettings::IniFormat);
        QStringList values;
        for (const char *name :
             {"Pamti Zadato Vreme", "Zadato Vreme", "Pamti Port", "Port", "Zvuk"})
            values << file.value(name, "-").toString();
        return values.join(' ');
    }
};

bool openedWithin(int inotify, const QByteArray &name, int ms)
{
    const QDeadlineTimer deadline(ms);
    alignas(inotify_event) char buffer[4096];
    pollfd p{inotify, POLLIN, 0};
    while (::poll(&p, 1, int(deadline.remainingTime())) == 1) {
        const ssize_t n = ::read(inotify, buffer, sizeof buffer);
        for (ssize_t at = 0; at < n;) {
            const auto *event = reinterpret_cast<const inotify_event *>(buffer + at);
            if (event->len && name == event->name)
                return true;
            at += ssize_t(sizeof(inotify_event) + event->len);
        }
    }
    return false;
}
} // namespace

struct TestEndBySignal : QObject {
    Q_OBJECT
private slots:
    void startUpBoxOfTheProgram()
    {
        // Port 1 is no serial port, so the load step shows its box as soon as
        // it has tried to open it: after it has read the period, before it
        // has read the port and sound flags.
        Run run;
        QSettings(run.ini(), QSettings::IniFormat).setValue("Pamti Zadato Vreme", "DA");
        QSettings(run.ini(), QSettings::IniFormat).setValue("Zadato Vreme", "42");
        QFile device(run.device());
        QVERIFY(device.open(QIODevice::WriteOnly));
        device.close();
        const int watch = inotify_init1(IN_CLOEXEC | IN_NONBLOCK);
        QVERIFY(inotify_add_watch(watch, QFile::encodeName(run.dir.path()), IN_OPEN) >= 0);
        run.start(TEMPRAL_PROGRAM, {});
        const bool tried = openedWithin(watch, "not-a-tty", 15000);
        ::close(watch);
        QVERIFY(tried);
        const qint64 took = run.end(SIGTERM);
        QVERIFY2(took >= 0 && took <= 1000, qPrintable(QString::number(took)));
        // The flags not yet read when the box opened are stored as read, not
        // as the unticked boxes stood before the load.
        QCOMPARE(run.stored(), QString("DA 42 DA 1 DA"));
    }

    void toneOnASoundServerThatNeverAnswers()
    {
        Run run;
        SilentServer server(run.soundServer());
        QVERIFY(server.listening());
        run.start(QCoreApplication::applicationFilePath(), {"--child", "tone"});
        QVERIFY(server.take(15000) >= 1); // the first switch-on tone waits for it
        const qint64 took = run.end(SIGTERM);
        QVERIFY2(took >= 0 && took <= 1000 + 400 + 100, qPrintable(QString::number(took)));
        QVERIFY(run.output.contains("\nline: rts 1, rts 0\n"));
        QCOMPARE(run.stored(), QString("DA  DA 1 DA"));
    }

    void reminderBoxOpen()
    {
        Run run;
        run.start(QCoreApplication::applicationFilePath(), {"--child", "close"});
        QVERIFY(
            run.said("box Na kraju rada sa tajmerom - odspoj kabl od prekidackog modula.", 15000));
        const qint64 took = run.end(SIGHUP);
        QVERIFY2(took >= 0 && took <= 1000, qPrintable(QString::number(took)));
        QCOMPARE(run.stored(), QString("DA  DA 1 NE"));
    }

    void loadOnAndCountdown()
    {
        for (const auto &[mode, signalNumber, period] :
             {std::tuple{"on", SIGTERM, ""}, std::tuple{"count", SIGINT, "30"}}) {
            Run run;
            run.start(QCoreApplication::applicationFilePath(), {"--child", mode});
            QVERIFY(run.said("ready", 15000));
            const qint64 took = run.end(signalNumber);
            QVERIFY2(took >= 0 && took <= 1000, mode);
            QVERIFY2(run.output.contains("\nline: rts 1, rts 0\n"), run.output.constData());
            QCOMPARE(run.stored(), QString("DA %1 DA 1 NE").arg(period));
        }
    }
};

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (app.arguments().value(1) == "--child")
        return child(app, app.arguments().value(2));
    TestEndBySignal test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_endbysignal.moc"

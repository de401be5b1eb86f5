// SPDX-License-Identifier: GPL-3.0-or-later
// Tempral asked to quit by SIGTERM, SIGINT or SIGHUP at each kind of moment
// of a run. Each run is a process of its own, with its own settings file, no
// serial device and no sound server but the test's. It must end within a
// second (plus the tone that plays) with status 128 + the signal, the load
// off and the settings in its file.
#include "desktopchecks.h"
#include "fakes.h"
#include "platform/linux/inisettingsstore.h"
#include "platform/linux/pulsebeeper.h"
#include "silentserver.h"
#include "tempralapp.h"

#include <csignal>
#include <iostream>

namespace
{
void say(const QString &line)
{
    std::cout << qPrintable(line) << std::endl;
}

// Started as `--child MODE`: Tempral on a fake line, with the real settings
// file, tones and boxes. In "start-up" port 1 is missing, so the load step
// shows its box (it says "box"); otherwise, after the first activation, it
// says "ready" and then switches the load on with sound ("tone"), starts a
// countdown ("count") or closes the window (its box: "box"). At the end it
// says which RTS changes the line saw.
int child(QApplication &app, const QString &mode)
{
    const auto announceBox = [] { whenBoxOpens([](QMessageBox *) { say("box"); }); };
    Fakes line;
    if (mode == "start-up")
        line.missing = {1}, announceBox();
    IniSettingsStore settings(IniSettingsStore::userFileName());
    PulseBeeper beeper;
    QtMessageBoxes boxes;
    const int status = runTempral(app, {line, settings, beeper, boxes}, [&](Form1 &form) {
        say("ready");
        form.findChild<QCheckBox *>("chkZvuk")->setChecked(mode == "tone");
        if (mode == "count")
            form.findChild<QLineEdit *>("Zadato1")->setText("30");
        if (mode == "count" || mode == "tone")
            form.findChild<QPushButton *>(mode == "count" ? "btnPokreniT" : "btnIskljuci")->click();
        else if (mode == "close")
            announceBox(), QMetaObject::invokeMethod(&form, &QWidget::close, Qt::QueuedConnection);
    });
    say("line: " + line.journal.filter("rts ").join(", "));
    return status;
}
} // namespace

struct TestEndBySignal : QObject {
    Q_OBJECT
private slots:
    void endsInTimeWithLoadOffAndSettingsWritten()
    {
        // The line said when the moment has come (none: the stalled sound
        // server is waited on), the signal, the bound in ms, the RTS changes
        // and the five settings. The load step's box opens after the period
        // has been read, before the port and sound flags: those are stored
        // as read, not as the unticked boxes stood before.
        const struct {
            const char *mode;
            QByteArray moment;
            int signal, bound;
            QByteArray line;
            QString stored;
        } rows[] = {
            {"start-up", "box", SIGTERM, 1000, "", "DA 42 DA 1 DA"},
            {"tone", "", SIGTERM, 1000 + 400 + 100, "rts 1, rts 0", "DA 42 DA 1 DA"},
            {"close", "box", SIGHUP, 1000, "", "DA 42 DA 1 NE"},
            {"count", "ready", SIGINT, 1000, "rts 1, rts 0", "DA 30 DA 1 NE"},
        };
        for (const auto &row : rows) {
            QTemporaryDir dir;
            const QString ini = dir.filePath("Tempral v0.5.ini");
            QSettings(ini, QSettings::IniFormat).setValue("Pamti Zadato Vreme", "DA");
            QSettings(ini, QSettings::IniFormat).setValue("Zadato Vreme", "42");
            SilentServer server(dir.filePath("pulse"));
            QVERIFY(server.listening);
            QProcess process;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.insert("XDG_CONFIG_HOME", dir.path());
            env.insert("PULSE_SERVER", "unix:" + dir.filePath("pulse"));
            env.insert("QT_QPA_PLATFORM", "offscreen");
            process.setProcessEnvironment(env);
            process.start(QCoreApplication::applicationFilePath(), {"--child", row.mode});
            QByteArray output = "\n";
            const auto said = [&](const QByteArray &line) {
                const QDeadlineTimer deadline(15000);
                while (!(output += process.readAllStandardOutput()).contains("\n" + line + "\n"))
                    if (!process.waitForReadyRead(int(deadline.remainingTime())))
                        return false;
                return true;
            };
            QVERIFY2(row.moment.isEmpty() ? server.connected(15000) : said(row.moment), row.mode);

            QElapsedTimer took;
            took.start();
            ::kill(pid_t(process.processId()), row.signal);
            QVERIFY2(process.waitForFinished(10000) && took.elapsed() <= row.bound,
                     qPrintable(QString("%1: %2 ms").arg(row.mode).arg(took.elapsed())));
            QCOMPARE(process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                     128 + row.signal);
            QVERIFY2(said("line: " + row.line), output.constData());
            QStringList stored;
            for (const char *name :
                 {"Pamti Zadato Vreme", "Zadato Vreme", "Pamti Port", "Port", "Zvuk"})
                stored << QSettings(ini, QSettings::IniFormat).value(name, "-").toString();
            QCOMPARE(stored.join(' '), row.stored);
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

// The timer's main logic on stand-ins that write what happens to a record
// file, one line per event: "open N", "rts 1", "rts 0", "close", "beep HZ MS",
// "box TEXT", "ready". The settings are the real INI file.
//
//   tempral_signal_child RECORD on        switch the load on by hand
//   tempral_signal_child RECORD count N   start a countdown of N seconds
#include "beeper.h"
#include "form1.h"
#include "inisettingsstore.h"
#include "messageboxes.h"
#include "serialline.h"
#include "tempralapp.h"

#include <QApplication>
#include <QFile>
#include <QLineEdit>

namespace
{
QFile record;

void note(const QString &line)
{
    record.write(line.toUtf8() + "\n");
    record.flush();
}

class RecordingLine : public SerialLine
{
public:
    bool open(int n, QString *) override
    {
        open_ = true;
        note(QString("open %1").arg(n));
        return true;
    }
    void close() override
    {
        if (open_) note("close");
        open_ = rts_ = false;
    }
    bool isOpen() const override { return open_; }
    bool setRts(bool on) override
    {
        if (!open_) return false;
        rts_ = on;
        note(on ? "rts 1" : "rts 0");
        return true;
    }
    bool rts() const override { return rts_; }

private:
    bool open_ = false, rts_ = false;
};

class RecordingBeeper : public Beeper
{
public:
    void beep(int hz, int ms) override { note(QString("beep %1 %2").arg(hz).arg(ms)); }
    void sleep(int) override {}
};

class RecordingBoxes : public MessageBoxes
{
public:
    void critical(QWidget *, const QString &, const QString &text) override { note("box " + text); }
    void warning(QWidget *, const QString &, const QString &text) override { note("box " + text); }
};
} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 3) return 2;
    record.setFileName(args[1]);
    if (!record.open(QIODevice::WriteOnly | QIODevice::Truncate)) return 2;

    RecordingLine line;
    IniSettingsStore settings(IniSettingsStore::userFileName());
    RecordingBeeper beeper;
    RecordingBoxes boxes;
    const int status = runTempral(app, {line, settings, beeper, boxes}, [&](Form1 &form) {
        if (args[2] == "count" && args.size() > 3) {
            form.Zadato1->setText(args[3]);
            form.btnPokreniTClick();
        } else {
            form.btnIskljuciClick();
        }
        note("ready");
    });
    note(QString("exit %1").arg(status));
    return status;
}

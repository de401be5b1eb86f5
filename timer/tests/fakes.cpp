#include "fakes.h"

#include <QTest>

bool FakeLine::open(int portNumber, QString *error)
{
    close();
    if (portNumber < 1 || portNumber > portCount || missing.contains(portNumber)) {
        *error = "no such port";
        journal_ << QString("open %1 failed").arg(portNumber);
        return false;
    }
    port_ = portNumber;
    rts_ = false;
    ++opens;
    journal_ << QString("open %1").arg(portNumber);
    return true;
}

void FakeLine::close()
{
    if (!port_) return;
    port_ = 0;
    rts_ = false;
    journal_ << "close";
}

bool FakeLine::setRts(bool on)
{
    if (!port_) return false;
    if (rts_ != on) journal_ << (on ? "rts 1" : "rts 0");
    rts_ = on;
    return true;
}

std::optional<QString> FakeSettings::read(const QString &name)
{
    if (!values.contains(name)) return std::nullopt;
    return values.value(name);
}

bool FakeSettings::write(const QString &name, const QString &value)
{
    values[name] = value;
    journal_ << "write " + name + "=" + value;
    return true;
}

void FakeBeeper::beep(int hz, int ms)
{
    journal_ << QString("beep %1 %2").arg(hz).arg(ms);
    if (during) during();
}

void FakeBeeper::sleep(int ms)
{
    journal_ << QString("sleep %1").arg(ms);
    if (during) during();
}

int FakeBeeper::beeps() const
{
    int n = 0;
    for (const QString &e : journal_)
        n += e.startsWith("beep ");
    return n;
}

void FakeBoxes::critical(QWidget *, const QString &title, const QString &text)
{
    lastTitle = title;
    journal_ << "critical " + text;
    if (during) during();
}

void FakeBoxes::warning(QWidget *, const QString &title, const QString &text)
{
    lastTitle = title;
    journal_ << "warning " + text;
    if (during) during();
}

Form1 *Rig::create()
{
    form = std::make_unique<Form1>(line, settings, beeper, boxes);
    return form.get();
}

Form1 *Rig::start()
{
    if (!form) create();
    form->formLoad();
    form->show();
    form->activateWindow();
    if (!QTest::qWaitForWindowActive(form.get())) return nullptr;
    // The first activation runs from the event loop.
    QTest::qWait(0);
    QCoreApplication::processEvents();
    return form.get();
}

QStringList Rig::entries(const QString &prefix) const
{
    QStringList out;
    for (const QString &e : journal)
        if (e.startsWith(prefix)) out << e;
    return out;
}

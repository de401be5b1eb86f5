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
    journal_ << QString("open %1").arg(portNumber);
    return true;
}

void FakeLine::close()
{
    if (port_) journal_ << "close";
    port_ = 0;
    rts_ = false;
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

void FakeBeeperAndBoxes::critical(QWidget *, const QString &title, const QString &text)
{
    lastTitle = title;
    note("critical " + text);
}

void FakeBeeperAndBoxes::warning(QWidget *, const QString &title, const QString &text)
{
    lastTitle = title;
    note("warning " + text);
}

void FakeBeeperAndBoxes::note(const QString &entry)
{
    journal_ << entry;
    if (during) during();
}

Form1 *Rig::create(SettingsStore *store)
{
    form = std::make_unique<Form1>(line, store ? *store : settings, beeper, boxes);
    return form.get();
}

Form1 *Rig::start(SettingsStore *store)
{
    create(store);
    bool activated = false;
    QObject::connect(form.get(), &Form1::firstActivationDone, [&] { activated = true; });
    form->formLoad();
    form->show();
    form->activateWindow();
    if (!QTest::qWaitFor([&] { return activated; }, 5000)) return nullptr;
    return form.get();
}

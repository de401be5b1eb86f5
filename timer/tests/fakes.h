#pragma once

#include "beeper.h"
#include "form1.h"
#include "messageboxes.h"
#include "outlineshape.h"
#include "picturebutton.h"
#include "serialline.h"
#include "settingsstore.h"
#include "ticktimer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

using Values = QMap<QString, QString>;

// The whole platform in one fake that writes what happens into one journal:
// "open N", "open N failed", "close", "rts 1" / "rts 0" (changes only), "write
// NAME=VALUE", "beep HZ MS", "sleep MS", "critical TEXT", "warning TEXT".
struct Fakes : SerialLine, SettingsStore, Beeper, MessageBoxes {
    bool open(int n, QString *) override
    {
        close();
        port = n >= 1 && n <= 8 && !missing.contains(n) ? n : 0; // ports 1 to 8
        journal << QString(port ? "open %1" : "open %1 failed").arg(n);
        return port;
    }
    void close() override
    {
        if (port) journal << "close";
        port = 0;
        on = false;
    }
    bool isOpen() const override { return port; }
    bool setRts(bool rts) override
    {
        if (port && on != rts) journal << (rts ? "rts 1" : "rts 0");
        on = port && rts;
        return port;
    }
    bool rts() const override { return on; }
    std::optional<QString> read(const QString &name) override
    {
        return values.contains(name) ? std::optional(values[name]) : std::nullopt;
    }
    bool write(const QString &name, const QString &value) override
    {
        journal << "write " + name + "=" + value;
        values[name] = value;
        return true;
    }
    void beep(int hz, int ms) override { note(QString("beep %1 %2").arg(hz).arg(ms)); }
    void sleep(int ms) override { note(QString("sleep %1").arg(ms)); }
    void critical(QWidget *, const QString &, const QString &t) override { note("critical " + t); }
    void warning(QWidget *, const QString &, const QString &t) override { note("warning " + t); }
    // `during` runs inside each tone, pause and box, as if the call blocked there.
    void note(const QString &entry)
    {
        journal << entry;
        if (during) during();
    }
    QStringList entries(const QString &kind) const { return journal.filter(kind + " "); }
    QStringList journal;
    QSet<int> missing;
    int port = 0;
    bool on = false;
    Values values;
    std::function<void()> during;
};

// A window on the fakes, loaded from `stored` (or from `store`), shown and
// past its first activation.
struct Rig : Fakes {
    explicit Rig(const Values &stored = {}, SettingsStore *store = nullptr)
        : form(*this, store ? *store : *this, *this, *this)
    {
        values = stored;
        QSignalSpy ready(f, &Form1::firstActivationDone);
        f->formLoad();
        f->show();
        f->activateWindow();
        if (!ready.wait(5000)) qFatal("the window never activated");
    }
    void start(const QString &period)
    {
        f->Zadato1->setText(period);
        f->btnPokreniTClick();
    }
    // What the window shows, in words: the button's picture, the window icon,
    // Ostalo1 and its colour, then what is enabled, shown, bold or running.
    QString look() const
    {
        QStringList words{f->btnIskljuci->pictureName(), f->iconName(), f->Ostalo1->text(),
                          f->Ostalo1->palette().color(QPalette::Base).name()};
        const std::pair<const char *, bool> flags[] = {
            {"Zadato1", f->Zadato1->isEnabled()},     {"btnPokreniT", f->btnPokreniT->isEnabled()},
            {"PortCombo", f->PortCombo->isEnabled()}, {"Shape3", f->Shape3->isVisible()},
            {"Shape4", f->Shape4->isVisible()},       {"Minuta", f->Minuta->isVisible()},
            {"bold", f->Label3->font().bold()},       {"Timer1", f->Timer1->isEnabled()}};
        for (const auto &[name, set] : flags)
            if (set) words << name;
        return words.join(' ');
    }
    Form1 form;
    Form1 *f = &form;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/beeper.h"
#include "platform/serialline.h"
#include "platform/settingsstore.h"
#include "widgets/outlineshape.h"
#include "widgets/picturebutton.h"
#include "window/form1.h"
#include "window/messageboxes.h"

#include <QtTest>
#include <QtWidgets>

using Values = QMap<QString, QString>;

// The whole platform in one fake that writes what happens into one journal:
// "open N", "open N failed", "close", "rts 1" / "rts 0" (changes only), "rts
// 0 failed" / "rts 1 failed" (on a port in `stuck`), "write
// NAME=VALUE", "beep HZ MS", "sleep MS", "critical TITLE: TEXT", "warning
// TITLE: TEXT". `during` runs inside each tone, pause and box, as if the
// call blocked there.
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
        if (port)
            journal << "close";
        port = 0;
        on = false;
    }
    bool isOpen() const override { return port; }
    bool setRts(bool rts) override
    {
        if (stuck.contains(port)) {
            journal << (rts ? "rts 1 failed" : "rts 0 failed");
            return false;
        }
        if (port && on != rts)
            journal << (rts ? "rts 1" : "rts 0");
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
    void critical(QWidget *, const QString &title, const QString &text) override
    {
        note("critical " + title + ": " + text);
    }
    void warning(QWidget *, const QString &title, const QString &text) override
    {
        note("warning " + title + ": " + text);
    }
    void note(const QString &entry)
    {
        journal << entry;
        if (during)
            during();
    }
    QStringList journal;
    QSet<int> missing, stuck; // ports that do not open; whose RTS does not change
    int port = 0;
    bool on = false;
    Values values;
    std::function<void()> during;
};

// A window on the fakes, loaded from `stored` (or `store`) and activated,
// with its controls found by name. Its timers run on the clock `now`, which
// only the test moves.
struct Rig : Fakes {
    explicit Rig(const Values &stored = {}, SettingsStore *store = nullptr)
        : form(*this, store ? *store : *this, *this, *this, [this] { return now; })
    {
        values = stored;
        QSignalSpy ready(&form, &Form1::firstActivationDone);
        form.load();
        form.show();
        QVERIFY(ready.wait(5000));
    }
    template <class T> T *get(const char *name) const { return form.findChild<T *>(name); }
    void start(const QString &period) { Zadato1->setText(period), btnPokreniT->click(); }
    // Timer1 ticks, a second after the last tick or the start.
    void tick() { now += 1000, Timer1->wake(); }
    // The window's state in words: picture, icon, Ostalo1 and its colour, and
    // the flags that hold.
    QString look() const
    {
        QStringList words{btnIskljuci->pictureName(), form.iconName(), Ostalo1->text(),
                          Ostalo1->palette().color(QPalette::Base).name()};
        const std::pair<const char *, bool> flags[] = {
            {"Zadato1", Zadato1->isEnabled()},     {"btnPokreniT", btnPokreniT->isEnabled()},
            {"PortCombo", PortCombo->isEnabled()}, {"Shape3", Shape3->isVisible()},
            {"Shape4", Shape4->isVisible()},       {"Minuta", Minuta->isVisible()},
            {"bold", Label3->font().bold()},       {"Timer1", Timer1->isEnabled()}};
        for (const auto &[name, set] : flags)
            if (set)
                words << name;
        return words.join(' ');
    }
    qint64 now = 0;
    Form1 form;
    QLineEdit *Zadato1 = get<QLineEdit>("Zadato1"), *Ostalo1 = get<QLineEdit>("Ostalo1");
    QComboBox *PortCombo = get<QComboBox>("PortCombo");
    QCheckBox *Pamti_vreme = get<QCheckBox>("Pamti_vreme"),
              *Pamti_port = get<QCheckBox>("Pamti_port"), *chkZvuk = get<QCheckBox>("chkZvuk");
    PictureButton *btnIskljuci = get<PictureButton>("btnIskljuci"),
                  *btnPokreniT = get<PictureButton>("btnPokreniT");
    QLabel *Label3 = get<QLabel>("Label3"), *Minuta = get<QLabel>("Minuta");
    OutlineShape *Shape3 = get<OutlineShape>("Shape3"), *Shape4 = get<OutlineShape>("Shape4");
    TickTimer *Timer1 = get<TickTimer>("Timer1"), *Timer2 = get<TickTimer>("Timer2");
};

#pragma once

#include "beeper.h"
#include "form1.h"
#include "messageboxes.h"
#include "outlineshape.h"
#include "picturebutton.h"
#include "serialline.h"
#include "settingsstore.h"
#include "ticktimer.h"

// The window's controls, for tests that look at them.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMap>
#include <QRegularExpression>
#include <QSet>
#include <functional>
#include <memory>

// What the fakes saw, in order, shared so that tests can check the order of
// line changes, settings writes, tones and boxes.
using Journal = QStringList;

// Ports 1 to portCount exist unless listed as missing. Journal: "open N",
// "open N failed", "close", "rts 1", "rts 0".
class FakeLine : public SerialLine
{
public:
    explicit FakeLine(Journal &j) : journal_(j) {}
    bool open(int portNumber, QString *error) override;
    void close() override;
    bool isOpen() const override { return port_ != 0; }
    bool setRts(bool on) override;
    bool rts() const override { return rts_; }
    int port() const { return port_; }
    QSet<int> missing;
    int portCount = 8;

private:
    Journal &journal_;
    int port_ = 0;
    bool rts_ = false;
};

// Journal: "write NAME=VALUE".
class FakeSettings : public SettingsStore
{
public:
    explicit FakeSettings(Journal &j) : journal_(j) {}
    std::optional<QString> read(const QString &name) override;
    bool write(const QString &name, const QString &value) override;
    QMap<QString, QString> values;

private:
    Journal &journal_;
};

// Tones and boxes. Journal: "beep HZ MS", "sleep MS", "critical TEXT",
// "warning TEXT". `during` runs inside each call, as if it blocked there.
class FakeBeeperAndBoxes : public Beeper, public MessageBoxes
{
public:
    explicit FakeBeeperAndBoxes(Journal &j) : journal_(j) {}
    void beep(int hz, int ms) override { note(QString("beep %1 %2").arg(hz).arg(ms)); }
    void sleep(int ms) override { note(QString("sleep %1").arg(ms)); }
    void critical(QWidget *, const QString &title, const QString &text) override;
    void warning(QWidget *, const QString &title, const QString &text) override;
    std::function<void()> during;
    QString lastTitle;

private:
    void note(const QString &entry);
    Journal &journal_;
};

// A window on fakes.
struct Rig {
    Journal journal;
    FakeLine line{journal};
    FakeSettings settings{journal};
    FakeBeeperAndBoxes beeper{journal}, boxes{journal};
    std::unique_ptr<Form1> form;

    Form1 *create(SettingsStore *store = nullptr);
    // Loads and shows the window and waits for its first activation.
    Form1 *start(SettingsStore *store = nullptr);
    QStringList entries(const QString &prefix) const
    {
        return journal.filter(QRegularExpression("^" + QRegularExpression::escape(prefix)));
    }
};

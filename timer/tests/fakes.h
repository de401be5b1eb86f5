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
#include <QSet>
#include <QStringList>
#include <functional>
#include <memory>

// What the fakes saw, in order, shared so that tests can check the order of
// line changes, tones and boxes.
using Journal = QStringList;

// A serial line with ports 1 to 8 unless told otherwise. Journal entries:
// "open N", "close", "rts 1", "rts 0".
class FakeLine : public SerialLine
{
public:
    explicit FakeLine(Journal &journal) : journal_(journal) {}
    bool open(int portNumber, QString *error) override;
    void close() override;
    bool isOpen() const override { return port_ != 0; }
    bool setRts(bool on) override;
    bool rts() const override { return rts_; }

    QSet<int> missing; // port numbers that fail to open
    int portCount = 8; // ports 1..portCount exist
    int port() const { return port_; }
    int opens = 0;

private:
    Journal &journal_;
    int port_ = 0;
    bool rts_ = false;
};

// Settings in memory. Journal entries: "write NAME=VALUE".
class FakeSettings : public SettingsStore
{
public:
    explicit FakeSettings(Journal &journal) : journal_(journal) {}
    std::optional<QString> read(const QString &name) override;
    bool write(const QString &name, const QString &value) override;
    QMap<QString, QString> values;

private:
    Journal &journal_;
};

// Journal entries: "beep HZ MS", "sleep MS". `during` runs inside each call.
class FakeBeeper : public Beeper
{
public:
    explicit FakeBeeper(Journal &journal) : journal_(journal) {}
    void beep(int hz, int ms) override;
    void sleep(int ms) override;
    std::function<void()> during;
    int beeps() const;

private:
    Journal &journal_;
};

// Journal entries: "critical TEXT", "warning TEXT". `during` runs while the
// box would be shown.
class FakeBoxes : public MessageBoxes
{
public:
    explicit FakeBoxes(Journal &journal) : journal_(journal) {}
    void critical(QWidget *, const QString &title, const QString &text) override;
    void warning(QWidget *, const QString &title, const QString &text) override;
    std::function<void()> during;
    QString lastTitle;

private:
    Journal &journal_;
};

// A window on fakes.
struct Rig {
    Journal journal;
    FakeLine line{journal};
    FakeSettings settings{journal};
    FakeBeeper beeper{journal};
    FakeBoxes boxes{journal};
    std::unique_ptr<Form1> form;

    Form1 *create();
    // Loads and shows the window and waits for its first activation.
    Form1 *start();
    QStringList entries(const QString &prefix) const;
};

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/ticktimer.h"

#include <QWidget>
#include <cstdint>

class Beeper;
class MessageBoxes;
class OutlineShape;
class PictureButton;
class QCheckBox;
class QComboBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class SerialLine;
class SettingsStore;

// The timer's one window. It counts a set period down while the load hangs
// on the RTS line of a serial port, and switches the load by hand.
class Form1 : public QWidget
{
    Q_OBJECT
public:
    // The clock drives both window timers (tests hand in one they move).
    Form1(SerialLine &line, SettingsStore &settings, Beeper &beeper, MessageBoxes &boxes,
          TickTimer::Clock clock = {});
    ~Form1() override;

    // Handlers, bound to their events in the constructor; public so that
    // tests can drive them.
    void formLoad();
    void formFirstActivate();
    void formClose();
    void portComboClick();
    void btnIskljuciClick();
    void timer2Tick();
    void btnPokreniTClick();
    void timer1Tick();
    // True when the key may reach the field.
    bool zadato1KeyPress(const QKeyEvent &key);
    void ostalo1GotFocus();
    void Prikazi_stanje(bool Sa_zvukom);

    // The end asked for by SIGTERM, SIGINT or SIGHUP: load off and settings
    // stored, without box or tone. Afterwards no handler touches the port.
    // Asked for while the load step runs (its port box is open), the
    // settings are stored when that step has read them all.
    void endBySignal();

    // Name of the picture currently used as the window icon.
    const QString &iconName() const { return m_iconName; }

signals:
    // After the first activation: the port is open and the load shown off.
    void firstActivationDone();

public:
    // Controls
    QLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6, *Label7, *Minuta;
    QLineEdit *Zadato1, *Ostalo1;
    QComboBox *PortCombo;
    QCheckBox *Pamti_vreme, *Pamti_port, *chkZvuk;
    PictureButton *btnIskljuci, *btnPokreniT;
    OutlineShape *Shape1, *Shape2, *Shape3, *Shape4;
    TickTimer *Timer1, *Timer2;
    SerialLine &MSComm1;

    // Window variables
    QString Natpis;
    std::int32_t Zadati_period = 0;
    std::int32_t Proteklo = 0;

protected:
    bool event(QEvent *e) override;
    void closeEvent(QCloseEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    // Characters that can be typed into Zadato1.
    static constexpr int kPeriodLength = 4;

    void buildLayout(const TickTimer::Clock &clock);
    void loadPeriod(const QString &text);
    void selectPort(bool fallback);
    void chooseFirstEntry(bool fallback);
    void writeSettings();
    void stopCountdownLook();
    void setIcon(const QString &name);
    void setOstaloColour(const QColor &colour);
    QColor systemColour(int index) const;

    SettingsStore &m_settings;
    Beeper &m_beeper;
    MessageBoxes &m_boxes;
    QString m_iconName;
    bool m_loaded = false;
    bool m_activated = false;
    bool m_closing = false;
    bool m_ended = false;
};

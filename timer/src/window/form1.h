// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "core/countdown.h"
#include "core/ticktimer.h"

#include <QWidget>

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
// on the RTS line of a serial port, and switches the load by hand. Its
// handlers are named after the control and event they serve; the count
// itself is a Countdown.
class Form1 : public QWidget
{
    Q_OBJECT
public:
    // The clock drives both window timers (tests hand in one they move).
    Form1(SerialLine &line, SettingsStore &settings, Beeper &beeper, MessageBoxes &boxes,
          TickTimer::Clock clock = {});
    ~Form1() override;

    // The load step: reads the settings into the controls. Run once, before
    // the window is first shown.
    void load();

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

protected:
    bool event(QEvent *e) override;
    void closeEvent(QCloseEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    // Where the window is in its run. Each step only goes forward; a signal
    // may end the run from any of them.
    enum class Phase { Loading, Loaded, Active, Closing, Ended };

    void Form_Load();
    void Form_Activate();
    void Form_Unload();
    void PortCombo_Click();
    void btnIskljuci_Click();
    void Timer2_Timer();
    void btnPokreniT_Click();
    void Timer1_Timer();
    // True when the key may reach the field.
    bool Zadato1_KeyPress(const QKeyEvent &key);
    void Ostalo1_GotFocus();
    void Prikazi_stanje(bool Sa_zvukom);

    void buildLayout(const TickTimer::Clock &clock);
    void loadPeriod(const QString &text);
    void selectPort(bool fallback);
    void writeSettings();
    void stopCountdownLook();
    void setIcon(const QString &name);
    void setOstaloColour(const QColor &colour);
    QColor systemColour(int index) const;

    // Controls
    QLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6, *Label7, *Minuta;
    QLineEdit *Zadato1, *Ostalo1;
    QComboBox *PortCombo;
    QCheckBox *Pamti_vreme, *Pamti_port, *chkZvuk;
    PictureButton *btnIskljuci, *btnPokreniT;
    OutlineShape *Shape1, *Shape2, *Shape3, *Shape4;
    TickTimer *Timer2;
    SerialLine &MSComm1;

    QString Natpis;
    Countdown m_countdown;
    SettingsStore &m_settings;
    Beeper &m_beeper;
    MessageBoxes &m_boxes;
    QString m_iconName;
    Phase m_phase = Phase::Loading;
};

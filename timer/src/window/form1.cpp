// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/form1.h"

#include "core/period.h"
#include "core/portchoice.h"
#include "core/ticktimer.h"
#include "platform/beeper.h"
#include "platform/serialline.h"
#include "platform/settingsstore.h"
#include "widgets/icons.h"
#include "widgets/outlineshape.h"
#include "widgets/picturebutton.h"
#include "window/messageboxes.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <algorithm>

namespace
{
const QString kPamtiZadatoVreme = "Pamti Zadato Vreme";
const QString kZadatoVreme = "Zadato Vreme";
const QString kPamtiPort = "Pamti Port";
const QString kPort = "Port";
const QString kZvuk = "Zvuk";
const QString kDa = "DA";
const QString kNe = "NE";

const QString kNoPort = "Ne postoji slobodan serijski port pod tim brojem.";
const QString kUnplug = "Na kraju rada sa tajmerom - odspoj kabl od prekidackog modula.";
const QString kOffCaption = "Potrosac je sada ISKLJUCEN. Pritisni ovde da bi ga ukljucio.";
const QString kOnCaption = "Potrosac je sada UKLJUCEN. Pritisni ovde da bi ga trenutno iskljucio.";
const QString kStopped = "Tajmer stoji.";
const QString kCounting = "Tajmer odbrojava.";

const QColor kWhite(255, 255, 255);
const QColor kYellow(255, 255, 0);

void setBold(QLabel *l, bool bold)
{
    QFont f = l->font();
    f.setBold(bold);
    l->setFont(f);
}
} // namespace

Form1::Form1(SerialLine &line, SettingsStore &settings, Beeper &beeper, MessageBoxes &boxes,
             TickTimer::Clock clock)
    : MSComm1(line), m_countdown(this, clock), m_settings(settings), m_beeper(beeper),
      m_boxes(boxes)
{
    buildLayout(clock);
    connect(PortCombo, &QComboBox::activated, this, [this] { PortCombo_Click(); });
    connect(btnIskljuci, &QPushButton::clicked, this, [this] { btnIskljuci_Click(); });
    connect(btnPokreniT, &QPushButton::clicked, this, [this] { btnPokreniT_Click(); });
    connect(&m_countdown, &Countdown::ticked, this, [this] { Timer1_Timer(); });
    connect(&m_countdown, &Countdown::figureChanged, Ostalo1, &QLineEdit::setText);
    connect(Timer2, &TickTimer::tick, this, [this] { Timer2_Timer(); });
    Zadato1->installEventFilter(this);
    connect(Zadato1, &QLineEdit::textEdited, this, [this](const QString &text) {
        const int limit = std::max(period::kLength, int(text.size()));
        if (limit < Zadato1->maxLength()) {
            const int cursor = Zadato1->cursorPosition();
            Zadato1->setMaxLength(limit); // sets the text anew, the cursor at its end
            Zadato1->setCursorPosition(cursor);
        }
    });
    Ostalo1->installEventFilter(this);
    // Qt's editable combination box chooses the entry that its text names
    // when editing ends (Enter in the field, or the field losing the focus);
    // here only a choice in the list (or a step through it with the arrow
    // keys) selects a port, so the end of editing is left to the field.
    QObject::disconnect(PortCombo->lineEdit(), &QLineEdit::editingFinished, PortCombo, nullptr);
    // The wheel steps through the entries, each step a choice as with the
    // arrow keys, only while the box has the focus: a turn of the wheel
    // while passing over it must not change the port. So it neither takes
    // the focus by the wheel nor hears the wheel without it.
    PortCombo->setFocusPolicy(Qt::StrongFocus);
    PortCombo->installEventFilter(this);
}

Form1::~Form1() = default;

// --- load, first activation, close -----------------------------------------

void Form1::load()
{
    Form_Load();
    if (m_phase == Phase::Ended) // asked to end while the port box was open
        writeSettings();
    else
        m_phase = Phase::Loaded;
}

void Form1::Form_Load()
{
    Natpis = "Tempral v" TEMPRAL_VERSION;
    Timer2->setEnabled(false); // Timer1, the countdown's, is stopped until a start

    const QString vreme = m_settings.read(kPamtiZadatoVreme).value_or(QString());
    if (vreme == kDa) {
        if (const auto stored = m_settings.read(kZadatoVreme))
            loadPeriod(*stored);
        Pamti_vreme->setChecked(true);
    } else {
        Zadato1->clear();
        Pamti_vreme->setChecked(vreme != kNe);
    }

    const QString port = m_settings.read(kPamtiPort).value_or(QString());
    if (port == kDa) {
        if (const auto stored = m_settings.read(kPort))
            PortCombo->setEditText(*stored);
        Pamti_port->setChecked(true);
    } else {
        // Choosing the entry runs the port selection, as any choice does.
        PortCombo->setCurrentIndex(0);
        selectPort(false);
        Pamti_port->setChecked(port != kNe);
    }

    chkZvuk->setChecked(m_settings.read(kZvuk).value_or(QString()) != kNe);
}

void Form1::loadPeriod(const QString &text)
{
    // A stored period comes in whole, however long: cut to what can be
    // typed, "12345" would start as 1234 s instead of being refused. The
    // limit widens to hold it and narrows again as editing shortens it.
    Zadato1->setMaxLength(std::max(period::kLength, int(text.size())));
    Zadato1->setText(text);
}

void Form1::Form_Activate()
{
    selectPort(false);
    Prikazi_stanje(false);
    emit firstActivationDone();
}

void Form1::writeSettings()
{
    // Each write stands alone: one that fails costs that value only.
    if (Pamti_vreme->isChecked()) {
        m_settings.write(kZadatoVreme, Zadato1->text());
        m_settings.write(kPamtiZadatoVreme, kDa);
    } else {
        m_settings.write(kPamtiZadatoVreme, kNe);
    }
    if (Pamti_port->isChecked()) {
        m_settings.write(kPort, PortCombo->currentText());
        m_settings.write(kPamtiPort, kDa);
    } else {
        m_settings.write(kPamtiPort, kNe);
    }
    m_settings.write(kZvuk, chkZvuk->isChecked() ? kDa : kNe);
}

void Form1::Form_Unload()
{
    writeSettings();
    const bool wasOn = MSComm1.rts();
    MSComm1.setRts(false);
    m_countdown.stop();
    setBold(Label3, false);
    Label3->setText(kStopped);
    Shape4->hide();
    Prikazi_stanje(false);
    if (wasOn && chkZvuk->isChecked())
        m_beeper.beep(800, 900);
    m_boxes.warning(this, Natpis, kUnplug);
}

void Form1::endBySignal()
{
    if (m_phase == Phase::Ended)
        return;
    // Before the load step has read every setting, the controls still hold
    // their design-time values; storing those would overwrite what was kept.
    const bool loaded = m_phase != Phase::Loading;
    m_phase = Phase::Ended;
    m_countdown.stop();
    Timer2->setEnabled(false);
    MSComm1.setRts(false);
    if (loaded)
        writeSettings();
}

bool Form1::event(QEvent *e)
{
    if (e->type() == QEvent::WindowActivate && m_phase == Phase::Loaded) {
        m_phase = Phase::Active;
        // Run once the activation itself is done: the port selection may
        // show a box.
        QMetaObject::invokeMethod(
            this, [this] { Form_Activate(); }, Qt::QueuedConnection);
    }
    return QWidget::event(e);
}

void Form1::closeEvent(QCloseEvent *e)
{
    // A second close request while the reminder is up changes nothing.
    if (m_phase == Phase::Closing) {
        e->ignore();
        return;
    }
    if (m_phase != Phase::Ended) {
        m_phase = Phase::Closing;
        Form_Unload();
    }
    e->accept();
}

// --- serial port --------------------------------------------------------------

void Form1::PortCombo_Click()
{
    selectPort(false);
}

void Form1::selectPort(bool fallback)
{
    // When the first entry fails as well, the port stays closed: one message
    // is enough, and choosing it again would fail again.
    if (m_phase == Phase::Ended || openChosenPort(MSComm1, PortCombo->currentText()) || fallback)
        return;
    m_boxes.critical(this, Natpis, kNoPort);
    PortCombo->setCurrentIndex(0);
    selectPort(true);
}

// --- manual switch and the state display --------------------------------------

void Form1::btnIskljuci_Click()
{
    if (m_phase == Phase::Ended)
        return;
    if (Timer2->isEnabled()) {
        Ostalo1->setFocus();
        return;
    }
    Timer2->setInterval(150);
    Timer2->setEnabled(true);
    MSComm1.setRts(!MSComm1.rts());
    m_countdown.zero();
    setOstaloColour(kWhite);
    if (!MSComm1.rts())
        stopCountdownLook();
    Ostalo1->setFocus();
    Prikazi_stanje(true);
    // Presses made while the signal played wait in the queue, and Qt does not
    // promise to deliver them before the overdue guard tick. Restarting the
    // guard after a long signal makes sure they are ignored.
    if (Timer2->sinceStart() >= Timer2->interval())
        Timer2->setEnabled(true);
}

void Form1::Timer2_Timer()
{
    Timer2->setEnabled(false);
}

void Form1::stopCountdownLook()
{
    Zadato1->setEnabled(true);
    btnPokreniT->setEnabled(true);
    setBold(Label3, false);
    Label3->setText(kStopped);
    Minuta->hide();
    Minuta->clear();
    Shape4->hide();
    m_countdown.stop();
    Ostalo1->setEnabled(true);
}

void Form1::Prikazi_stanje(bool Sa_zvukom)
{
    if (!MSComm1.rts()) {
        btnIskljuci->setText(kOffCaption);
        btnIskljuci->setPicture("lightoff");
        btnIskljuci->setFace(systemColour(0));
        Shape3->hide();
        PortCombo->setEnabled(true);
        setIcon("appicon");
        setWindowTitle(Natpis);
        repaint();
        if (Sa_zvukom && chkZvuk->isChecked())
            m_beeper.beep(800, 900);
    } else {
        btnIskljuci->setText(kOnCaption);
        btnIskljuci->setPicture("lighton");
        btnIskljuci->setFace(systemColour(24));
        Shape3->show();
        Shape3->setBorderStyle(1);
        Shape3->setBorderWidth(2);
        PortCombo->setEnabled(false);
        if (btnPokreniT->isEnabled())
            setIcon("redtimer");
        repaint();
        if (Sa_zvukom && chkZvuk->isChecked()) {
            m_beeper.beep(1200, 400);
            m_beeper.sleep(150);
            m_beeper.beep(1200, 400);
        }
    }
}

// --- countdown ----------------------------------------------------------------

void Form1::btnPokreniT_Click()
{
    if (m_phase == Phase::Ended)
        return;
    if (!period::accepts(Zadato1->text())) {
        Zadato1->setFocus();
        m_countdown.clear();
        return;
    }
    Zadato1->setEnabled(false);
    btnPokreniT->setEnabled(false);
    setBold(Label3, true);
    Label3->setText(kCounting);
    Shape4->show();
    Minuta->show();
    MSComm1.setRts(true);
    m_countdown.start(Zadato1->text());
    Prikazi_stanje(false);
    setOstaloColour(m_countdown.whole() % 2 == 1 ? kYellow : kWhite);
    Ostalo1->setFocus();
    Pamti_vreme->setFocus();
    setIcon("appicon");
    repaint();
    if (chkZvuk->isChecked()) {
        m_beeper.beep(800, 95);
        m_beeper.sleep(300);
        m_beeper.beep(1000, 95);
        m_beeper.sleep(300);
        m_beeper.beep(1200, 95);
    }
}

void Form1::Timer1_Timer()
{
    // The count has gone one down: the figure shows it already.
    const std::int32_t whole = m_countdown.whole();
    const bool odd = whole % 2 == 1;
    setOstaloColour(odd ? kYellow : kWhite);
    setIcon(odd ? "redtimer" : "appicon");

    const QString minutes = m_countdown.minutes();
    if (!minutes.isEmpty()) {
        Minuta->setText(minutes);
    } else {
        Minuta->hide();
        Minuta->clear();
    }

    // A minimised window is never the one in the foreground.
    setWindowTitle(isActiveWindow() && !isMinimized() ? Natpis : m_countdown.caption());

    Shape3->setBorderWidth(1);
    Shape3->setBorderStyle(whole % 4 + 2);

    if (m_countdown.state() == Countdown::State::Stopped) {
        if (isMinimized()) {
            setWindowTitle(Natpis);
            showNormal();
        }
        MSComm1.setRts(false);
        stopCountdownLook();
        Zadato1->setFocus();
        Shape3->setBorderStyle(3);
        Prikazi_stanje(true);
    }
}

// --- key filter and focus redirect ----------------------------------------------

bool Form1::Zadato1_KeyPress(const QKeyEvent &key)
{
    return period::typable(key.key(), key.modifiers(), key.text());
}

void Form1::Ostalo1_GotFocus()
{
    if (Zadato1->isEnabled())
        Zadato1->setFocus();
    else
        Pamti_vreme->setFocus();
}

bool Form1::eventFilter(QObject *watched, QEvent *e)
{
    if (watched == Zadato1 && e->type() == QEvent::KeyPress)
        return !Zadato1_KeyPress(*static_cast<QKeyEvent *>(e));
    if (watched == Ostalo1 && e->type() == QEvent::FocusIn)
        Ostalo1_GotFocus();
    if (watched == PortCombo && e->type() == QEvent::Wheel && !PortCombo->hasFocus())
        return true;
    return QWidget::eventFilter(watched, e);
}

// --- looks ----------------------------------------------------------------------

void Form1::setIcon(const QString &name)
{
    m_iconName = name.toLower();
    setWindowIcon(tempralIcon(name));
}

void Form1::setOstaloColour(const QColor &colour)
{
    QPalette p = Ostalo1->palette();
    p.setColor(QPalette::Base, colour);
    Ostalo1->setPalette(p);
}

QColor Form1::systemColour(int index) const
{
    // System colour numbers as the layout names them, mapped to the roles of
    // the application's palette.
    const QPalette p = QApplication::palette();
    switch (index) {
    case 0: // scroll-bar track
        return p.color(QPalette::Midlight);
    case 24: // tool-tip background
        return p.color(QPalette::ToolTipBase);
    default: // button face
        return p.color(QPalette::Button);
    }
}

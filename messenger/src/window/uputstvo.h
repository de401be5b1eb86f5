// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "window/helpplacement.h"

#include <QPointer>
#include <QRect>
#include <QWidget>

class QLabel;

// The short guide, shown in a window of its own beside the main window.
// Constructing it runs the load step (the window stays hidden until the
// caller shows it); the unload step runs when the toggle closes it or the
// user closes it with its own close command. Being destroyed together with
// the main window (the program ending) restores nothing.
class Uputstvo : public QWidget
{
    Q_OBJECT
public:
    // `mainWindow` is moved to make room and owns the panel; `pomoc` is the
    // link label whose caption shows whether the panel is open.
    Uputstvo(QWidget *mainWindow, QLabel *pomoc);

    QLabel *Label1 = nullptr;

    // Restores the link caption and moves the main window back. Runs at most
    // once per panel.
    void Form_Unload();

    // One guide string by its number, read from the resources; a null
    // string when it is missing.
    static QString guideString(int id);

    // Caption of the link while the panel is closed / open.
    static inline const QString ClosedCaption = QStringLiteral("Kratko uputstvo >>");
    static inline const QString OpenCaption = QStringLiteral("<< Kratko uputstvo");

protected:
    void closeEvent(QCloseEvent *e) override;

private:
    void Form_Load();
    void fillGuide();
    TwipRect mainTwips() const;
    void moveMain(const TwipRect &r);
    TwipSize screenTwips() const;
    QPoint screenOrigin() const;

    QPointer<QWidget> m_main;
    QPointer<QLabel> m_pomoc;
    bool m_unloaded = false;
    // The main window's position as the load step computed it, unrounded,
    // and the pixel rectangle it became. While the main window still stands
    // there, the unload step starts from the exact value, so that opening
    // and closing many times does not walk the window by rounding.
    TwipRect m_mainPlaced;
    QRect m_mainPlacedPx;
};

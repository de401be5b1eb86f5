// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/clickablelabel.h"
#include "window/frmnwcheck.h"
#include "window/uputstvo.h"

// Opens the guide beside the window, or closes it when it is showing. The
// panel is made anew on every opening and destroyed on every closing, so
// each opening rebuilds the guide and places the pair from where the main
// window stands now.
void frmNWCheck::Pomoc_Click()
{
    if (m_help && m_help->isVisible()) {
        Uputstvo *panel = m_help;
        const bool panelActive = panel->isActiveWindow();
        panel->hide();
        panel->Form_Unload();
        delete panel;
        // As when the panel's own close command closes it (see there).
        if (panelActive)
            activateWindow();
        return;
    }
    // A panel that exists but is hidden has already been closed; it only
    // waits for its deferred deletion. There is never more than one.
    delete m_help.data();

    m_help = new Uputstvo(this, Pomoc);
    m_help->show();
    m_help->raise();
    m_help->activateWindow();
}

// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Where the help panel and the main window go when the panel opens or closes.
// All values are outer window geometry (frame included) in twips, relative to
// the screen's top left corner, held as single-precision numbers as the
// window code reads and writes them. The functions know nothing of widgets,
// so the rules can be checked against any screen size.

struct TwipRect {
    float left = 0;
    float top = 0;
    float width = 0;
    float height = 0;
};

struct TwipSize {
    float width = 0;
    float height = 0;
};

struct HelpOpening {
    TwipRect main;  // the main window, moved left to make room
    TwipRect panel; // the panel, against the main window's right edge
};

// Opening: the main window moves left by half the panel's outer width, is
// kept off the top and left edges and pulled back so the pair ends 50 twips
// short of the right edge; the panel takes the main window's top and height.
HelpOpening placeHelpOpening(TwipRect main, float panelWidth, TwipSize screen);

// Closing: the main window moves back right by half the panel's width, is
// kept off the top edge, centred vertically when it reaches below the bottom
// and pulled in when it reaches past the right edge.
TwipRect placeHelpClosing(TwipRect main, float panelWidth, TwipSize screen);

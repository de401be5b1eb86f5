// SPDX-License-Identifier: GPL-3.0-or-later
#include "window/helpplacement.h"

namespace
{
// Positions below this count as off the screen's top or left edge.
constexpr float EdgeThreshold = 1.0f;
// Distance kept from an edge after a correction.
constexpr float Margin = 50.0f;
} // namespace

HelpOpening placeHelpOpening(TwipRect main, float panelWidth, TwipSize screen)
{
    main.left = main.left - panelWidth / 2.0f;
    if (main.top < EdgeThreshold)
        main.top = Margin;
    if (main.left < EdgeThreshold)
        main.left = Margin;
    // The right-edge rule comes last on purpose: on a screen narrower than
    // both windows it wins over the left clamp and the pair starts off screen.
    if (screen.width - (main.width + panelWidth) < main.left)
        main.left = screen.width - (main.width + panelWidth + Margin);

    TwipRect panel;
    panel.left = main.left + main.width;
    panel.top = main.top;
    panel.width = panelWidth;
    panel.height = main.height;
    return {main, panel};
}

TwipRect placeHelpClosing(TwipRect main, float panelWidth, TwipSize screen)
{
    main.left = main.left + panelWidth / 2.0f;
    if (main.top < EdgeThreshold)
        main.top = Margin;
    if (screen.height - main.height < main.top)
        main.top = (screen.height - main.height) / 2.0f;
    if (screen.width - main.width < main.left)
        main.left = screen.width - main.width - Margin;
    return main;
}

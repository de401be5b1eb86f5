// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Points the offscreen platform at one 1920 x 1080 screen whose windows have
// frames, so that outer geometry differs from the client area as on a
// desktop. Call before the application object exists; `folder` must outlive
// the application.
bool useFramedOffscreenScreen(const QString &folder);

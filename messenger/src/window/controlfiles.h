// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// The start-up step that puts the window's two control files into the
// system folder, so that the program can later start from anywhere.
namespace ControlFiles
{

QStringList names(); // "mscomctl.ocx", "RICHTX32.OCX"

// Copies each named file from `programDir` into `systemDir` when it is not
// there yet; never overwrites, never reports. An empty `systemDir` copies
// nothing.
void copyMissing(const QString &programDir, const QString &systemDir);

// Where the control files belong on this platform. On Linux the widgets are
// part of Qt and no control files exist, so there is no such folder and the
// step does nothing.
QString systemFolder();

} // namespace ControlFiles

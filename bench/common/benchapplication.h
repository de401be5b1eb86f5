// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>

// The application of a benchmark that draws windows: offscreen, unless
// QT_QPA_PLATFORM names a window system to watch the run on.
class BenchApplication : public QApplication
{
public:
    BenchApplication(int &argc, char **argv) : QApplication(offscreenUnlessChosen(argc), argv) {}

private:
    static int &offscreenUnlessChosen(int &argc)
    {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        return argc;
    }
};

// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/systemplatform.h"

#include "platform/linux/inisettingsstore.h"
#include "platform/linux/pulsebeeper.h"
#include "platform/linux/qtserialline.h"

std::unique_ptr<SerialLine> SystemPlatform::serialLine()
{
    return std::make_unique<QtSerialLine>();
}

std::unique_ptr<SettingsStore> SystemPlatform::settings()
{
    return std::make_unique<IniSettingsStore>(IniSettingsStore::userFileName());
}

std::unique_ptr<Beeper> SystemPlatform::beeper()
{
    return std::make_unique<PulseBeeper>();
}

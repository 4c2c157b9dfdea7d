#pragma once

#include "settings/settingsline.h"

// The two settings lines the save loop alternates between. Each carries a long reserved text, so
// that writing it takes long enough for a kill to land in the middle of a write.
namespace SettingsLoopContent {

inline QString line(int which)
{
    AppSettings settings;
    settings.formLeft = which == 0 ? 1500 : 3000;
    settings.reservedText = QString(256 * 1024, which == 0 ? QLatin1Char('a') : QLatin1Char('b'));
    settings.kanbanShown = which == 0;
    settings.frontSpeed = 10000;
    settings.middleSpeed = 6000;
    return SettingsLine::encode(settings);
}

} // namespace SettingsLoopContent

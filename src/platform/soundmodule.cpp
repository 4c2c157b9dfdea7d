#include "qtsoundoutput.h"
#include "soundmodule.h"

#include <QtGlobal>

extern "C" Q_DECL_EXPORT SoundOutput *porukanoCreateSoundOutput()
{
    static_assert(sizeof(SoundModule::CreateOutputSymbol) == sizeof("porukanoCreateSoundOutput"));
    return new QtSoundOutput;
}

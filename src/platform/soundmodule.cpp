#include "qtsoundoutput.h"
#include "soundmodule.h"

#include <QtGlobal>

// Exported under the name SoundModule::CreateOutputSymbol holds, with the SoundModule::CreateOutput
// signature.
extern "C" Q_DECL_EXPORT SoundOutput *porukanoCreateSoundOutput()
{
    return new QtSoundOutput;
}

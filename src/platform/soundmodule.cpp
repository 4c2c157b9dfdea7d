#include "platform/soundmodule.h"

#include "platform/qtsoundoutput.h"

#include <QObject>

// The plugin object of the sound module: makes the audio output through Qt Multimedia.
class QtSoundOutputFactory final
    : public QObject
    , public SoundOutputFactory
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID SoundOutputFactory_iid)
    Q_INTERFACES(SoundOutputFactory)
    Q_DISABLE_COPY_MOVE(QtSoundOutputFactory)

public:
    QtSoundOutputFactory() = default;

    std::unique_ptr<SoundOutput> createOutput() override { return std::make_unique<QtSoundOutput>(); }
};

#include "soundmodule.moc"

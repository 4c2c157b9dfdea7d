#pragma once

#include <QtPlugin>

#include <memory>

class SoundOutput;

// The sound module is a Qt plugin beside the program that holds the real audio output and
// everything it links (Qt Multimedia and the sound server's client libraries). Its one object
// makes the output. Loaded through QPluginLoader, it is checked for the Qt version and build key
// it was made with before any of its code runs.
class SoundOutputFactory
{
public:
    virtual ~SoundOutputFactory() = default;
    // A new output; the caller owns it.
    virtual std::unique_ptr<SoundOutput> createOutput() = 0;
};

#define SoundOutputFactory_iid "org.porukano.SoundOutputFactory/1.0"
Q_DECLARE_INTERFACE(SoundOutputFactory, SoundOutputFactory_iid)

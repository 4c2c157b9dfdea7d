// Where the system has no termination signals, nothing is handled.
#include "platform/terminationsignals.h"

TerminationSignals::TerminationSignals(QObject *parent)
    : QObject(parent)
{
}

TerminationSignals::~TerminationSignals() = default;

void TerminationSignals::readPipe()
{
}

// The settings file: written when the bus window closes, read while it loads.
#include "form1.h"

void Form1::SaveIni()
{
}

void Form1::LoadIni()
{
}

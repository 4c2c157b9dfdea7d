#pragma once

#include <QString>

// The Japanese fonts the windows ask for by name, with their substitutes where they are missing.
namespace Fonts {

QString gothic(); // "ＭＳ ゴシック", fixed pitch
QString proportionalGothic(); // "ＭＳ Ｐゴシック"

// Registers IPAGothic and IPAPGothic as substitutes for the two names. Call once at start-up.
void installSubstitutes();

} // namespace Fonts

#include "platform/fonts.h"

#include <QFont>
#include <QStringList>

namespace Fonts {

QString gothic()
{
    return QStringLiteral("ＭＳ ゴシック");
}

QString proportionalGothic()
{
    return QStringLiteral("ＭＳ Ｐゴシック");
}

void installSubstitutes()
{
    QFont::insertSubstitutions(
        gothic(), QStringList() << QStringLiteral("IPAGothic") << QStringLiteral("Noto Sans Mono CJK JP"));
    QFont::insertSubstitutions(
        proportionalGothic(), QStringList() << QStringLiteral("IPAPGothic") << QStringLiteral("Noto Sans CJK JP"));
}

} // namespace Fonts

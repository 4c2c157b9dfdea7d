#include "app/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace {

const QString QtBaseJapanese = QStringLiteral("qtbase_ja");

} // namespace

QString builtInTranslationsFolder()
{
    return QStringLiteral(":/translations");
}

bool installTranslations(QCoreApplication &app, const QString &folder)
{
    auto translator = new QTranslator(&app);
    const QString installed = folder.isEmpty() ? QLibraryInfo::path(QLibraryInfo::TranslationsPath) : folder;
    if (translator->load(QtBaseJapanese, installed) || translator->load(QtBaseJapanese, builtInTranslationsFolder())) {
        return QCoreApplication::installTranslator(translator);
    }
    delete translator;
    return false;
}

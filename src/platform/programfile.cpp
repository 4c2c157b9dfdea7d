#include "platform/programfile.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace ProgramFile {

QString baseName(const QString &programFilePath)
{
    QString name = QFileInfo(programFilePath).fileName();
    if (name.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive)) {
        name.chop(4);
    }
    return name;
}

QString baseName()
{
    return baseName(QCoreApplication::applicationFilePath());
}

QString folder()
{
    return QCoreApplication::applicationDirPath();
}

} // namespace ProgramFile

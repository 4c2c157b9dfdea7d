#include "platform/qtfolderbrowser.h"

#include <QDir>
#include <QFileDialog>
#include <QUrl>

namespace {

QUrl startFolder()
{
#ifdef Q_OS_WIN
    // The shell's "Computer" folder, which lists the drives.
    return QUrl(QStringLiteral("clsid:0AC0837C-BBF8-452A-850D-79D08E667CA7"));
#else
    return QUrl::fromLocalFile(QDir::rootPath());
#endif
}

} // namespace

QString QtFolderBrowser::browse(QWidget *parent, const QString &title)
{
    const QUrl chosen = QFileDialog::getExistingDirectoryUrl(
        parent, title, startFolder(), QFileDialog::ShowDirsOnly, {QStringLiteral("file")});
    if (!chosen.isLocalFile()) {
        return {};
    }
    // cleanPath() drops trailing separators but keeps the one of a root ("/", "C:/").
    const QString folder = QDir::cleanPath(chosen.toLocalFile());
    return folder.isEmpty() ? QString() : QDir::toNativeSeparators(folder);
}

#include "platform/qtfolderbrowser.h"

#include <QDir>
#include <QFileDialog>
#include <QToolButton>
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
    QFileDialog dialog(parent, title);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setSupportedSchemes({QStringLiteral("file")});
    dialog.setDirectoryUrl(startFolder());
    // Folders by name only, as a folder picker shows them: the detail columns of Qt's own dialog
    // (a type column reading "Folder", dates with the system's month names) are left untranslated
    // by Qt, so the view that shows them is not offered. (A native dialog has neither.)
    dialog.setViewMode(QFileDialog::List);
    for (const char *name : {"listModeButton", "detailModeButton"}) {
        if (auto *button = dialog.findChild<QToolButton *>(QLatin1String(name))) {
            button->hide();
        }
    }
    if (dialog.exec() != QDialog::Accepted) {
        return {};
    }
    const QUrl chosen = dialog.selectedUrls().value(0);
    if (!chosen.isLocalFile()) {
        return {};
    }
    // cleanPath() drops trailing separators but keeps the one of a root ("/", "C:/").
    const QString folder = QDir::cleanPath(chosen.toLocalFile());
    return folder.isEmpty() ? QString() : QDir::toNativeSeparators(folder);
}

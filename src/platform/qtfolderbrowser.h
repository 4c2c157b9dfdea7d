#pragma once

#include "platform/folderbrowser.h"

// The folder browser as a Qt folder dialog: folders only, starting at the computer's drives on
// Windows and at the file-system root elsewhere. Returns a native path; a root keeps its trailing
// separator, any other folder has none.
class QtFolderBrowser final : public FolderBrowser
{
public:
    QString browse(QWidget *parent, const QString &title) override;
};

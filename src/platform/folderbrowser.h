#pragma once

#include <QString>

class QWidget;

// The platform's modal folder browser.
class FolderBrowser
{
public:
    virtual ~FolderBrowser() = default;

    // Returns the chosen folder's path, or an empty text when the user cancelled.
    virtual QString browse(QWidget *parent, const QString &title) = 0;
};

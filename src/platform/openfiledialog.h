#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// The platform's modal Open-file dialog.
class OpenFileDialog
{
public:
    virtual ~OpenFileDialog() = default;

    // Returns the chosen file's full path, or an empty text when the user cancelled.
    virtual QString getOpenFileName(QWidget *parent, const QStringList &nameFilters) = 0;
};

#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// The platform's modal Open-file dialog.
class OpenFileDialog
{
public:
    virtual ~OpenFileDialog() = default;

    // Shows the dialog, owned by `parent`, with the system's default title and folder, and returns
    // the chosen file's full path, or an empty text when the user cancelled. `nameFilters` are the
    // file-type choices in order, the first one selected: each a list of patterns separated by
    // ';' ("*.bmp;*.gif"), or a description followed by its patterns in brackets ("All (*)").
    virtual QString getOpenFileName(QWidget *parent, const QStringList &nameFilters) = 0;
};

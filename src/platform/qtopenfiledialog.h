#pragma once

#include "platform/openfiledialog.h"

// The Open-file dialog of the platform, through QFileDialog (the native one where there is one).
class QtOpenFileDialog final : public OpenFileDialog
{
public:
    QString getOpenFileName(QWidget *parent, const QStringList &nameFilters) override;
};

// A filter as QFileDialog reads it: a bare ';'-separated pattern list "*.bmp;*.gif" becomes
// "*.bmp;*.gif (*.bmp *.gif)", shown as the bare list; a filter with its patterns in brackets
// is kept.
QString qtNameFilter(const QString &filter);

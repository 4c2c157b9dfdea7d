#pragma once

#include "platform/folderbrowser.h"

#include <QString>
#include <QStringList>

// Answers the folder browser with prepared folders, one per call, and records each call's title.
// When the answers run out it answers as if the user cancelled (an empty text).
class FakeFolderBrowser final : public FolderBrowser
{
public:
    QString browse(QWidget *, const QString &title) override
    {
        titles.append(title);
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }

    QStringList answers;
    QStringList titles;
};

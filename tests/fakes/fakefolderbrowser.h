#pragma once

#include "folderbrowser.h"

#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

// Answers the folder browser with prepared folders, one per call, and records each call. When the
// answers run out it answers as if the user cancelled (an empty text).
class FakeFolderBrowser final : public FolderBrowser
{
public:
    QString browse(QWidget *parent, const QString &title) override
    {
        parents.append(parent);
        titles.append(title);
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }

    QStringList answers;
    QStringList titles;
    QList<QPointer<QWidget>> parents;
};

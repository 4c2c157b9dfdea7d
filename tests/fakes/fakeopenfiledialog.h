#pragma once

#include "platform/openfiledialog.h"

#include <QList>
#include <QString>
#include <QStringList>

// An Open-file dialog that answers at once with the next prepared name (an empty name, as for a
// cancel, when none is left) and records the file-type filters of every opening.
class FakeOpenFileDialog final : public OpenFileDialog
{
public:
    QString getOpenFileName(QWidget *, const QStringList &nameFilters) override
    {
        openings.append(nameFilters);
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }

    QStringList answers;
    QList<QStringList> openings;
};

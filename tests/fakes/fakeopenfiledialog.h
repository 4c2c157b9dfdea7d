#pragma once

#include "openfiledialog.h"

#include <QList>
#include <QString>
#include <QStringList>

class QWidget;

// An Open-file dialog that answers at once with the next prepared name (an empty name, as for a
// cancel, when none is left) and records every opening.
class FakeOpenFileDialog final : public OpenFileDialog
{
public:
    struct Opening
    {
        QWidget *parent = nullptr;
        QStringList nameFilters;
    };

    QString getOpenFileName(QWidget *parent, const QStringList &nameFilters) override
    {
        openings.append({parent, nameFilters});
        return answers.isEmpty() ? QString() : answers.takeFirst();
    }

    QStringList answers;
    QList<Opening> openings;
};

#pragma once

#include "messageboxes.h"

#include <QList>
#include <QString>

// Records every message instead of showing it, and returns at once.
class FakeMessageBoxes final : public MessageBoxes
{
public:
    struct Shown
    {
        QString title;
        QString text;
        Icon icon;
    };

    void show(QWidget *, const QString &title, const QString &text, Icon icon) override
    {
        shown.append({title, text, icon});
    }

    QList<Shown> shown;
};

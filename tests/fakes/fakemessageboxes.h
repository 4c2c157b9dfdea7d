#pragma once

#include "messageboxes.h"

#include <QList>
#include <QPointer>
#include <QString>
#include <QWidget>

#include <functional>

// Records every message box instead of showing it. `whileShown` runs in place of the box being
// open, so a test can look at the program's state at that moment.
class FakeMessageBoxes final : public MessageBoxes
{
public:
    struct Message
    {
        QPointer<QWidget> parent;
        QString title;
        QString text;
        Icon icon = Icon::None;
    };

    void show(QWidget *parent, const QString &title, const QString &text, Icon icon) override
    {
        shown.push_back({parent, title, text, icon});
        if (whileShown) {
            whileShown(shown.back());
        }
    }

    QList<Message> shown;
    std::function<void(const Message &)> whileShown;
};

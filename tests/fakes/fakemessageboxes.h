#pragma once

#include "platform/messageboxes.h"

#include <QList>
#include <QString>

#include <functional>

// Records every message box instead of showing it. `whileShown` runs in place of the box being
// open, so a test can look at the program's state at that moment.
class FakeMessageBoxes final : public MessageBoxes
{
public:
    struct Message
    {
        QString title;
        QString text;
        Icon icon = Icon::None;
    };

    void show(QWidget *, const QString &title, const QString &text, Icon icon) override
    {
        shown.push_back({title, text, icon});
        if (whileShown) {
            whileShown(shown.back());
        }
    }

    QList<Message> shown;
    std::function<void(const Message &)> whileShown;
};

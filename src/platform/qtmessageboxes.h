#pragma once

#include "platform/messageboxes.h"

class QtMessageBoxes final : public MessageBoxes
{
public:
    void show(QWidget *parent, const QString &title, const QString &text, Icon icon) override;
};

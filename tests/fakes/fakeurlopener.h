#pragma once

#include "platform/urlopener.h"

#include <QList>
#include <QUrl>

// Records every address it is asked to open and opens nothing.
class FakeUrlOpener final : public UrlOpener
{
public:
    void open(const QUrl &url) override { opened.append(url); }

    QList<QUrl> opened;
};

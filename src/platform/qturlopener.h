#pragma once

#include "platform/urlopener.h"

// Opens web addresses with QDesktopServices, in the user's default browser.
class QtUrlOpener final : public UrlOpener
{
public:
    void open(const QUrl &url) override;
};

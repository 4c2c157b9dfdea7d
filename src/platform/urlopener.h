#pragma once

class QUrl;

// Opens a web address in the system's browser.
class UrlOpener
{
public:
    virtual ~UrlOpener() = default;

    virtual void open(const QUrl &url) = 0;
};

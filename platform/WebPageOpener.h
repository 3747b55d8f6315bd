#pragma once

#include <QUrl>

// Shows a web page in the user's browser without waiting for it.
class WebPageOpener
{
public:
    virtual ~WebPageOpener() = default;
    virtual bool open(const QUrl &page) = 0;
};

class DesktopWebPageOpener final : public WebPageOpener
{
public:
    bool open(const QUrl &page) override;
};

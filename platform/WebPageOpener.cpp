#include "WebPageOpener.h"

#include <QDesktopServices>

bool DesktopWebPageOpener::open(const QUrl &page)
{
    return QDesktopServices::openUrl(page);
}

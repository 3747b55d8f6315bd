#include "PlaybackModule.h"

#include "NetLog.h"

#include <QCoreApplication>
#include <QLibrary>

namespace {

PlaybackMaker g_maker = nullptr;
bool g_tried = false;

} // namespace

void UsePlaybackMaker(PlaybackMaker maker)
{
    g_maker = maker;
    g_tried = true;
}

PlaybackMaker LoadPlaybackMaker()
{
    if (g_tried)
        return g_maker;
    g_tried = true;
    // Never unloaded: the players it makes live until the window closes.
    QLibrary module(QCoreApplication::applicationDirPath() + u'/' +
                    QLatin1String(PlaybackModulePath));
    g_maker = reinterpret_cast<PlaybackMaker>(module.resolve(PlaybackMakerName));
    if (!g_maker)
        qCWarning(lcNet, "the player cannot be loaded: %ls", qUtf16Printable(module.errorString()));
    return g_maker;
}

#include "RunWindow.h"

#include "ApplicationService.h"
#include "Form1.h"
#include "Handover.h"
#include "OutsideRequests.h"
#include "StartupWarmUp.h"

#include <QApplication>
#include <QScopeGuard>

#include <cstring>
#include <future>

namespace {

// The process list shows every user the arguments' memory for as long as the window is open,
// and a text to translate may be private. The arguments that Qt leaves once it has taken its
// own are Bremo's, all read before the window: they are blanked. The program's name stays,
// for the restart command that Qt gives a session manager.
void HideArguments(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i)
        std::memset(argv[i], 0, std::strlen(argv[i]));
}

} // namespace

int RunWindow(int &argc, char *argv[], const OutsideRequest &request, const Endpoints &endpoints)
{
    StartupWarmUp warmUp;
    QApplication app(argc, argv);
    const auto endWarmUp = qScopeGuard([&warmUp] { warmUp.join(); });
    HideArguments(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Bremo"));
    // Lets a Wayland desktop match the window to the installed entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("bremo"));
    ApplicationService service;
    // Another Bremo may have claimed the session between the first look and now. The bus is
    // asked beside the controls' construction, and the window shows only once it is this
    // process's to show.
    std::future<SessionClaim> claim = std::async(
        std::launch::async, [&service, &request] { return ClaimOrHandOver(service, request); });

    StartupWarmUp::ensureFonts();
    Form1Environment environment = Form1Environment::standard();
    environment.endpoints = endpoints;
    Form1 window(std::move(environment));
    switch (claim.get()) {
    case SessionClaim::HandedOver:
        return 0;
    case SessionClaim::Failed:
        return 1;
    case SessionClaim::Serve:
        break;
    }
    QObject::connect(&service, &ApplicationService::requested, &window,
                     [&window](const OutsideRequest &next) { ServeOutsideRequest(window, next); });
    // The screen is taken before the window first covers it; serving the request shows it.
    if (request.kind != OutsideRequest::Kind::Screen)
        window.show();
    // A plain start shows the window as it always has; a text to translate waits for the
    // event loop, like a click would.
    if (request.kind != OutsideRequest::Kind::Show) {
        QMetaObject::invokeMethod(
            &window, [&window, request] { ServeOutsideRequest(window, request); },
            Qt::QueuedConnection);
    }
    return app.exec();
}

#include "Launch.h"

#include "ApplicationService.h"
#include "CommandLine.h"
#include "Form1.h"
#include "Handover.h"
#include "OutsideRequests.h"
#include "PrintMode.h"

#include <QApplication>

#include <cstdio>

namespace {

void NameApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral("Bremo"));
    QCoreApplication::setApplicationVersion(QStringLiteral(BREMO_VERSION));
}

int RunWindow(int &argc, char *argv[], const OutsideRequest &request, const Endpoints &endpoints)
{
    QApplication app(argc, argv);
    NameApplication();
    // Lets a Wayland desktop match the window to the installed entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("bremo"));
    ApplicationService service;
    // Another Bremo may have claimed the session between the first look and now.
    if (service.claim() == ApplicationService::Claim::Taken)
        return HandOver(request) == Handover::Delivered ? 0 : 1;

    Form1Environment environment = Form1Environment::standard();
    environment.endpoints = endpoints;
    Form1 window(std::move(environment));
    QObject::connect(&service, &ApplicationService::requested, &window,
                     [&window](const OutsideRequest &next) { ServeOutsideRequest(window, next); });
    window.show();
    QMetaObject::invokeMethod(
        &window, [&window, request] { ServeOutsideRequest(window, request); },
        Qt::QueuedConnection);
    return app.exec();
}

} // namespace

int RunBremo(int &argc, char *argv[], const Endpoints &endpoints)
{
    Invocation invocation;
    {
        // Enough for the command line, script mode and the hand-over: a second start never
        // opens the display.
        QCoreApplication core(argc, argv);
        NameApplication();
        invocation = ParseCommandLine(QCoreApplication::arguments());
        switch (invocation.action) {
        case Invocation::Action::Exit:
            std::fputs(invocation.message.toUtf8().constData(),
                       invocation.exitCode == 0 ? stdout : stderr);
            return invocation.exitCode;
        case Invocation::Action::Print:
            return RunPrintMode(invocation.print, endpoints);
        case Invocation::Action::Window:
            break;
        }
        switch (HandOver(invocation.request)) {
        case Handover::Delivered:
            return 0;
        case Handover::Failed:
            return 1;
        case Handover::NoPrimary:
            break;
        }
    }
    return RunWindow(argc, argv, invocation.request, endpoints);
}

#include "OutsideRequests.h"

#include "Form1.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPointer>
#include <QWindow>

using namespace Qt::StringLiterals;

namespace {

QString ClipboardText(QClipboard::Mode mode)
{
    return QGuiApplication::clipboard()->text(mode);
}

// Wayland lets only the focused client read the primary selection: read it once the window
// has the focus, and fall back to the clipboard when it holds nothing.
void TranslateSelectionOnWayland(Form1 &window)
{
    const auto translate = [window = QPointer<Form1>(&window)] {
        if (!window)
            return;
        const QString selection = ClipboardText(QClipboard::Selection);
        window->translateText(selection.isEmpty() ? ClipboardText(QClipboard::Clipboard)
                                                  : selection);
    };
    if (window.isActiveWindow()) {
        translate();
        return;
    }
    auto connection = std::make_shared<QMetaObject::Connection>();
    *connection = QObject::connect(qGuiApp, &QGuiApplication::focusWindowChanged, &window,
                                   [&window, connection, translate](QWindow *focused) {
                                       if (focused != window.windowHandle())
                                           return;
                                       QObject::disconnect(*connection);
                                       translate();
                                   });
}

} // namespace

void ServeOutsideRequest(Form1 &window, const OutsideRequest &request)
{
    window.bringToFront(request.activationToken);
    switch (request.kind) {
    case OutsideRequest::Kind::Show:
        return;
    case OutsideRequest::Kind::Text:
        window.translateText(request.text);
        return;
    case OutsideRequest::Kind::Clipboard:
        window.translateText(ClipboardText(QClipboard::Clipboard));
        return;
    case OutsideRequest::Kind::Selection:
        if (QGuiApplication::platformName() == u"wayland"_s)
            TranslateSelectionOnWayland(window);
        else
            window.translateText(ClipboardText(QClipboard::Selection));
        return;
    }
}

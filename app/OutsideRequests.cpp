#include "OutsideRequests.h"

#include "AreaPicker.h"
#include "DesktopActivation.h"
#include "Form1.h"
#include "ServiceSettingsDialog.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QWindow>

using namespace Qt::StringLiterals;

namespace {

const QString SelectionWaiterName = u"selectionWaitsForTheFocus"_s;

QString ClipboardText(QClipboard::Mode mode)
{
    return QGuiApplication::clipboard()->text(mode);
}

void TranslateSelection(Form1 &window)
{
    const QString selection = ClipboardText(QClipboard::Selection);
    window.translateText(selection.isEmpty() ? ClipboardText(QClipboard::Clipboard) : selection);
}

// Read once the window has the focus, falling back to the clipboard when the selection holds
// nothing. The selection is read then, so requests that come before the focus all ask for the
// same text: one waits, and it dies with the window.
void TranslateSelectionWhenFocused(Form1 &window)
{
    if (window.isActiveWindow()) {
        TranslateSelection(window);
        return;
    }
    if (window.findChild<QObject *>(SelectionWaiterName, Qt::FindDirectChildrenOnly))
        return;
    auto *waiter = new QObject(&window);
    waiter->setObjectName(SelectionWaiterName);
    QObject::connect(qGuiApp, &QGuiApplication::focusWindowChanged, waiter,
                     [&window, waiter](QWindow *focused) {
                         if (focused != window.windowHandle())
                             return;
                         delete waiter;
                         TranslateSelection(window);
                     });
}

} // namespace

SelectionAccess PlatformSelectionAccess()
{
    return QGuiApplication::platformName() == u"wayland"_s ? SelectionAccess::WhenFocused
                                                           : SelectionAccess::Anytime;
}

void ServeOutsideRequest(Form1 &window, const OutsideRequest &request, SelectionAccess access)
{
    // The screen as it was asked for, before the window comes up over it; over the frozen
    // screens, only once the user has picked.
    if (request.kind == OutsideRequest::Kind::Screen) {
        window.translateScreenArea(request.area);
        if (auto *picker = window.findChild<AreaPicker *>()) {
            QObject::connect(picker, &QObject::destroyed, &window,
                             [&window, request] { BringToFront(window, request); });
            return;
        }
    }
    BringToFront(window, request);
    switch (request.kind) {
    case OutsideRequest::Kind::Show:
    case OutsideRequest::Kind::Screen:
        return;
    case OutsideRequest::Kind::Text:
        window.translateText(request.text);
        return;
    case OutsideRequest::Kind::Clipboard:
        window.translateText(ClipboardText(QClipboard::Clipboard));
        return;
    case OutsideRequest::Kind::Selection:
        if (access == SelectionAccess::WhenFocused)
            TranslateSelectionWhenFocused(window);
        else
            window.translateText(ClipboardText(QClipboard::Selection));
        return;
    case OutsideRequest::Kind::Settings:
        OpenServiceSettings(&window);
        return;
    }
}

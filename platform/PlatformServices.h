#pragma once

#include "Clipboard.h"
#include "MessageBoxService.h"
#include "SaveFileDialog.h"
#include "WebPageOpener.h"

#include <memory>

// The outside services the window uses; tests hand in fakes.
struct PlatformServices
{
    std::shared_ptr<MessageBoxService> messageBox;
    std::shared_ptr<SaveFileDialog> saveFileDialog;
    std::shared_ptr<Clipboard> clipboard;
    std::shared_ptr<WebPageOpener> webPageOpener;

    static PlatformServices desktop();
};

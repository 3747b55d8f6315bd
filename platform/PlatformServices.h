#pragma once

#include "MessageBoxService.h"
#include "SaveFileDialog.h"

#include <memory>

// The modal dialogs the window shows; tests hand in scripted ones.
struct PlatformServices
{
    std::shared_ptr<MessageBoxService> messageBox;
    std::shared_ptr<SaveFileDialog> saveFileDialog;

    static PlatformServices desktop();
};

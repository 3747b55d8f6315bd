#pragma once

#include "FileDownloader.h"
#include "MessageBoxService.h"
#include "SaveFileDialog.h"

#include <memory>

// The modal dialogs the window shows, and the download; tests hand in fakes.
struct PlatformServices
{
    std::shared_ptr<MessageBoxService> messageBox;
    std::shared_ptr<SaveFileDialog> saveFileDialog;
    std::shared_ptr<FileDownloader> fileDownloader;

    static PlatformServices desktop();
};

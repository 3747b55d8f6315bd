#include "PlatformServices.h"

PlatformServices PlatformServices::desktop()
{
    return {std::make_shared<QtMessageBox>(), std::make_shared<QtSaveFileDialog>()};
}

// The entry of the bremo-window module that the program loads when it opens the window.
#include "WindowModule.h"
#include "RunWindow.h"

extern "C" Q_DECL_EXPORT int BremoRunWindow(int &argc, char *argv[], const OutsideRequest &request,
                                            const Endpoints &endpoints)
{
    static_assert(std::is_same_v<decltype(&BremoRunWindow), WindowEntry>);
    return RunWindow(argc, argv, request, endpoints);
}

// bremo's own start-up, as app/main.cpp does it: the command line, the look for a running
// Bremo on the session bus, the window module. The probe that bench/startup.sh reads goes on
// each application object as Qt makes it: the program itself carries no measuring code.
#include "Launch.h"
#include "StartupProbe.h"

Q_COREAPP_STARTUP_FUNCTION(InstallStartupProbeOnApplication)

int main(int argc, char *argv[])
{
    return RunBremo(argc, argv, Endpoints::builtIn());
}

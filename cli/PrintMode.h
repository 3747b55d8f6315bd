#pragma once

#include "CommandLine.h"
#include "Endpoints.h"

// Script mode, inside a QCoreApplication: the translation on standard output in UTF-8 and
// exit code 0; on failure nothing on standard output, the bremo.net reason on standard error
// and exit code 1.
int RunPrintMode(const PrintJob &job, const Endpoints &endpoints);

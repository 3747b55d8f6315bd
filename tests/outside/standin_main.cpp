// bremo as built, but for services at hosts that exist nowhere: a test reaches them through
// the stand-in server as the system's proxy (http_proxy), which is how the program finds any
// service it cannot reach directly.
#include "Launch.h"

int main(int argc, char *argv[])
{
    const QString services = QStringLiteral("http://services.stand-in.invalid");
    return RunBremo(argc, argv, {services, services, services, services, services, {}, {}});
}

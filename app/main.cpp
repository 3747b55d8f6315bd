#include "Launch.h"

int main(int argc, char *argv[])
{
    return RunBremo(argc, argv, Endpoints::builtIn());
}

#include "Form1Environment.h"

#include <QCoreApplication>

Form1Environment Form1Environment::standard()
{
    Form1Environment environment{QCoreApplication::applicationDirPath()};
    environment.voice = VoiceChoiceFromEnvironment();
    return environment;
}

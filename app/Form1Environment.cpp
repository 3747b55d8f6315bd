#include "Form1Environment.h"

#include <QCoreApplication>

Form1Environment Form1Environment::standard()
{
    return {QCoreApplication::applicationDirPath()};
}

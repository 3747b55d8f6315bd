#pragma once

#include "FakePlatform.h"
#include "Form1.h"

#include <QTest>

// A Form1 wired to fakes and to services that are never there, unless a test says otherwise.
struct FormHarness
{
    FakePlatform platform;
    std::unique_ptr<Form1> form;

    explicit FormHarness(Endpoints endpoints = unreachableEndpoints(),
                         std::chrono::milliseconds requestTimeout = std::chrono::seconds(5))
    {
        Form1Environment environment;
        environment.programFolder = QStringLiteral("/nonexistent-program-folder");
        environment.endpoints = std::move(endpoints);
        environment.requestTimeout = requestTimeout;
        environment.platform = platform.services();
        form = std::make_unique<Form1>(std::move(environment));
    }

    static Endpoints unreachableEndpoints()
    {
        // Port 9 (discard) on loopback: nothing listens, every request is refused at once.
        const QString nowhere = QStringLiteral("http://127.0.0.1:9");
        return {nowhere, nowhere, nowhere, QStringLiteral("https://forum.invalid/bremo")};
    }

    template<typename T = QWidget> T *child(const char *name) const
    {
        T *found = form->findChild<T *>(QString::fromLatin1(name));
        if (!found)
            qFatal("no control named %s", name);
        return found;
    }

    QString status() const;
};

// A text box's text, lines joined by CR LF as the commands see it.
QString BoxTextOf(const FormHarness &harness, const char *name);

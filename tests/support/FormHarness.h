#pragma once

#include "FakePlatform.h"
#include "Form1.h"

#include <QTest>

// A Form1 wired to scripted dialogs and to services that are never there, unless a test
// points it at a stand-in server.
struct FormHarness
{
    FakePlatform platform;
    std::unique_ptr<Form1> form;

    explicit FormHarness(const QString &services = QStringLiteral("http://127.0.0.1:9"))
    {
        // Port 9 (discard) on loopback: nothing listens, every request is refused at once.
        Form1Environment environment;
        environment.programFolder = QStringLiteral("/nonexistent-program-folder");
        environment.endpoints = {services, services, services,
                                 QStringLiteral("https://forum.invalid/bremo")};
        environment.requestTimeout = std::chrono::seconds(5);
        environment.platform = platform.services(environment.requestTimeout);
        form = std::make_unique<Form1>(std::move(environment));
    }

    template<typename T = QWidget> T *child(const char *name) const
    {
        T *found = form->findChild<T *>(QString::fromLatin1(name));
        if (!found)
            qFatal("no control named %s", name);
        return found;
    }

    QString status() const;
    QString box(const char *name) const;
    void setSource(const QString &text) const;
    void translate() const;
};

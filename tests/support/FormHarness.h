#pragma once

#include "BoxText.h"
#include "Form1.h"
#include "PlatformServices.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <optional>

// The modal dialogs, scripted: they record what the window asked and answer at once, so no
// test ever blocks on one.
struct FakeMessageBox final : MessageBoxService
{
    QStringList texts; // "title: text"
    Answer yesNoAnswer = Answer::No;

    Answer inform(QWidget *, const QString &text, const QString &title, Buttons buttons) override
    {
        texts.append(title + QStringLiteral(": ") + text);
        return buttons == Buttons::Ok ? Answer::Ok : yesNoAnswer;
    }
};

struct FakeSaveFileDialog final : SaveFileDialog
{
    QStringList offered;           // the initial path of each time it was asked
    std::optional<QString> answer; // nothing: the user cancels

    std::optional<QString> ask(QWidget *, const QString &, const QString &,
                               const QString &initialPath) override
    {
        offered.append(initialPath);
        return answer;
    }
};

// A Form1 wired to scripted dialogs and to services that are never there (port 9 on
// loopback refuses at once), unless a test points it at a stand-in server.
struct FormHarness
{
    std::shared_ptr<FakeMessageBox> messageBox = std::make_shared<FakeMessageBox>();
    std::shared_ptr<FakeSaveFileDialog> saveFileDialog = std::make_shared<FakeSaveFileDialog>();
    std::unique_ptr<Form1> form;

    explicit FormHarness(const QString &services = QStringLiteral("http://127.0.0.1:9"))
    {
        Form1Environment environment;
        environment.endpoints = {services, services, services,
                                 QStringLiteral("https://forum.invalid/bremo")};
        environment.platform = {messageBox, saveFileDialog};
        form = std::make_unique<Form1>(std::move(environment));
    }

    template<typename T = QWidget> T *child(const char *name) const
    {
        return form->findChild<T *>(QString::fromLatin1(name));
    }

    QString status() const { return child<QLabel>("Panel2")->text(); }
    QString box(const char *name) const { return BoxText(*child<QPlainTextEdit>(name)); }
    void setSource(const QString &text) const
    {
        child<QPlainTextEdit>("SourceContent")->setPlainText(text);
    }
    void translate() const { child<QPushButton>("Command1")->click(); }
};

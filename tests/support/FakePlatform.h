#pragma once

#include "PlatformServices.h"

#include <QList>

#include <optional>

// The modal dialogs, scripted: they record what the window asked and answer at once, so no
// test ever blocks on one.

class FakeMessageBox final : public MessageBoxService
{
public:
    QStringList texts;
    Answer yesNoAnswer = Answer::No;

    Answer inform(QWidget *, const QString &text, const QString &, Buttons buttons) override
    {
        texts.append(text);
        return buttons == Buttons::Ok ? Answer::Ok : yesNoAnswer;
    }
};

class FakeSaveFileDialog final : public SaveFileDialog
{
public:
    QStringList offered;           // the initial path of each time it was asked
    std::optional<QString> answer; // nothing: the user cancels

    std::optional<QString> ask(QWidget *, const QString &, const QString &,
                               const QString &initialPath) override
    {
        offered.append(initialPath);
        return answer;
    }
};

struct FakePlatform
{
    std::shared_ptr<FakeMessageBox> messageBox = std::make_shared<FakeMessageBox>();
    std::shared_ptr<FakeSaveFileDialog> saveFileDialog = std::make_shared<FakeSaveFileDialog>();

    PlatformServices services(std::chrono::milliseconds stallTimeout) const
    {
        return {messageBox, saveFileDialog, std::make_shared<QtFileDownloader>(stallTimeout)};
    }
};

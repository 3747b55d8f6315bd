#pragma once

#include "PlatformServices.h"

#include <QList>
#include <QStringList>
#include <QUrl>

#include <optional>

// Stand-ins for the desktop: they record what the window asked and answer as scripted, so no
// test ever blocks on a modal dialog, touches the real clipboard or starts a browser.

class FakeMessageBox final : public MessageBoxService
{
public:
    struct Shown
    {
        QString text;
        QString title;
        Buttons buttons;
    };
    QList<Shown> shown;
    Answer yesNoAnswer = Answer::No;

    Answer inform(QWidget *, const QString &text, const QString &title, Buttons buttons) override
    {
        shown.append({text, title, buttons});
        return buttons == Buttons::Ok ? Answer::Ok : yesNoAnswer;
    }
};

class FakeSaveFileDialog final : public SaveFileDialog
{
public:
    struct Asked
    {
        QString title;
        QString filter;
        QString initialPath;
    };
    QList<Asked> asked;
    std::optional<QString> answer; // nothing: the user cancels

    std::optional<QString> ask(QWidget *, const QString &title, const QString &filter,
                               const QString &initialPath) override
    {
        asked.append({title, filter, initialPath});
        return answer;
    }
};

class FakeClipboard final : public Clipboard
{
public:
    QString content;
    int clears = 0;

    QString text() const override { return content; }
    void clear() override
    {
        ++clears;
        content.clear();
    }
    void setText(const QString &text) override { content = text; }
};

class FakeWebPageOpener final : public WebPageOpener
{
public:
    QList<QUrl> opened;

    bool open(const QUrl &page) override
    {
        opened.append(page);
        return true;
    }
};

struct FakePlatform
{
    std::shared_ptr<FakeMessageBox> messageBox = std::make_shared<FakeMessageBox>();
    std::shared_ptr<FakeSaveFileDialog> saveFileDialog = std::make_shared<FakeSaveFileDialog>();
    std::shared_ptr<FakeClipboard> clipboard = std::make_shared<FakeClipboard>();
    std::shared_ptr<FakeWebPageOpener> webPageOpener = std::make_shared<FakeWebPageOpener>();

    PlatformServices services() const
    {
        return {messageBox, saveFileDialog, clipboard, webPageOpener};
    }
};

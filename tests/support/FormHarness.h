#pragma once

#include "BoxText.h"
#include "Form1.h"
#include "LanguageCatalogue.h"
#include "PlatformServices.h"
#include "Recogniser.h"

#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <optional>

// The status lines that the window's tests look for most.
inline const QString Succeeded =
    QStringLiteral("在线翻译成功!因官方限制,日语不可发音,其他如需发音,请再次点击翻译..");
inline const QString Loaded = QStringLiteral("程序加载完毕..请先输入您要翻译的内容..");
// Google's short road, translating 你好 into English.
inline const QByteArray GoogleShortReply = "[[[\"Hi\",\"你好\",\"\",\"\"]],,\"zh-CN\"]";

// The modal dialogs, scripted: they record what the window asked and answer at once, so no
// test ever blocks on one.
struct FakeDialogs final : MessageBoxService, SaveFileDialog
{
    QStringList texts; // of the message boxes, as "title: text"
    Answer yesNoAnswer = Answer::No;
    QStringList offered;               // the initial path of each save dialog
    std::optional<QString> saveAnswer; // nothing: the user cancels

    Answer inform(QWidget *, const QString &text, const QString &title, Buttons buttons) override
    {
        texts.append(title + QStringLiteral(": ") + text);
        return buttons == Buttons::Ok ? Answer::Ok : yesNoAnswer;
    }
    std::optional<QString> ask(QWidget *, const QString &, const QString &,
                               const QString &initialPath) override
    {
        offered.append(initialPath);
        return saveAnswer;
    }
};

// A Form1 wired to scripted dialogs and to services that are never there (port 9 on
// loopback refuses at once), unless a test points it at a stand-in server.
struct FormHarness
{
    std::shared_ptr<FakeDialogs> dialogs = std::make_shared<FakeDialogs>();
    std::unique_ptr<Form1> form;

    explicit FormHarness(const QString &services = QStringLiteral("http://127.0.0.1:9"))
        : FormHarness(Endpoints{services,
                                services,
                                services,
                                QStringLiteral("https://forum.invalid/bremo"),
                                services,
                                {},
                                {}})
    {}
    explicit FormHarness(Endpoints endpoints)
    {
        Form1Environment environment;
        environment.endpoints = std::move(endpoints);
        environment.platform = {dialogs, dialogs};
        environment.recognise = Recognise; // in the test, without the program's module
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
    // The engine, the two languages and the source, as "youdao zh-CN en 你好".
    void setRequest(const QString &request) const
    {
        child<QRadioButton>("Option1")->setChecked(request.startsWith(u"youdao"));
        const QStringList codes = LanguageCatalogue::build().codes;
        for (const auto &[list, word] : {std::pair{"Combo1", 1}, {"Combo2", 2}})
            child<QComboBox>(list)->setCurrentIndex(
                int(codes.indexOf(request.section(u' ', word, word))));
        setSource(request.section(u' ', 3));
    }
};

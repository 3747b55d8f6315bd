#include "Form1.h"
#include "SessionEnd.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QLabel>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace {

const QString MessageTitle = u"QirelTaluvo提示"_s;

QString ReleaseNotes()
{
    return QStringList{
        u"1.新增了保存在线发音音频的功能"_s,
        u"2.将英汉互译工具更改为多国语言互译版"_s,
        u"3.新增了数十种各国语言之间的互译功能"_s,
        u"4.解除了单独英汉两种语言之间切换限制"_s,
    }
        .join(u"\r\n"_s);
}

} // namespace

void Form1::Command2_Click()
{
    m_environment.platform.messageBox->inform(this, m_label5->text(), MessageTitle,
                                              MessageBoxService::Buttons::Ok);
}

void Form1::Command4_Click()
{
    m_environment.platform.messageBox->inform(this, ReleaseNotes(), MessageTitle,
                                              MessageBoxService::Buttons::Ok);
}

void Form1::Command3_Click()
{
    close();
}

void Form1::closeEvent(QCloseEvent *event)
{
    if (m_closeConfirmed || confirmClosing())
        event->accept();
    else
        event->ignore();
}

bool Form1::confirmClosing()
{
    const auto answer = m_environment.platform.messageBox->inform(
        this,
        u"感谢您对Taluvo、对Bremo系列的软件的支持!请您到论坛可以下载更多Taluvo的原创免费软件!"_s,
        MessageTitle, MessageBoxService::Buttons::YesNo);
    if (answer != MessageBoxService::Answer::Yes)
        return false;
    QDesktopServices::openUrl(QUrl(m_environment.endpoints.forum));
    // Asked once: the close events that follow a Yes, the session's own included, pass.
    m_closeConfirmed = true;
    return true;
}

void Form1::answerSessionEnd(SessionEndRequest &request)
{
    if (m_closeConfirmed)
        return;
    // Without leave to interact the desktop may only be saving the session. When it ends, the
    // manager's "die" follows as a quit event of the application, and the closes it brings
    // must not ask; until then the closing message stays.
    if (!request.allowsInteraction()) {
        m_sessionMayEnd = true;
        QCoreApplication::instance()->installEventFilter(this);
        return;
    }
    // release() would tell the manager that this client is done and will not cancel.
    if (confirmClosing())
        request.release();
    else
        request.cancel();
}

bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    if (m_sessionMayEnd && event->type() == QEvent::Quit && watched == QCoreApplication::instance())
        m_closeConfirmed = true;
    return QWidget::eventFilter(watched, event);
}

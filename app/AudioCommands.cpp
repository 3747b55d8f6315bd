#include "CommonDialog.h"
#include "FileDownloader.h"
#include "Form1.h"
#include "Voice.h"

#include <QCursor>
#include <QMenu>
#include <QScopeGuard>

using namespace Qt::StringLiterals;

void Form1::Voice_MouseUp()
{
    if (!m_caidan) {
        m_caidan = new QMenu(u"caidan"_s, this);
        m_caidan->setObjectName(u"caidan"_s);
        m_caidan->addAction(m_bc);
        m_caidan->addSeparator()->setObjectName(u"x1"_s);
        m_caidan->addAction(m_qc);
    }
    m_caidan->popup(QCursor::pos());
}

void Form1::bc_Click()
{
    // The offline voice's clip is saved as MP3; else the clip's address is fetched anew.
    const std::optional<QByteArray> offline = m_voice->offlineMp3();
    if (m_voice->URL().isEmpty() && !offline) {
        setStatus(u"请您先生成音频文件在进行保存..."_s);
        return;
    }
    m_saving = true;
    const auto saved = qScopeGuard([this] {
        m_saving = false;
        translateWaitingText();
    });
    m_c1->setTitle(u"请选择您要保存的路径"_s);
    const std::optional<QString> fileName = m_c1->showSave(this);
    if (!fileName) {
        setStatus(u"您取消了音频保存操作..."_s);
        return;
    }
    if (offline
            ? SaveClipToFile(*offline, u"the offline voice's clip"_s, *fileName)
            : DownloadToFile(m_voice->URL(), *fileName, SaveOptions(m_environment.requestTimeout)))
        setStatus(u"音频文件已保存,路径:["_s + *fileName + u"]"_s);
    else
        setStatus(u"音频文件保存失败,请检查网络连接或保存路径..."_s);
}

void Form1::qc_Click()
{
    m_voice->setURL(QString());
    setStatus(QString());
}

#include "Form1.h"

#include "LanguageCatalogue.h"
#include "ServiceSettingsDialog.h"
#include "Voice.h"

#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QStatusBar>

using namespace Qt::StringLiterals;

void Form1::Form_Load()
{
    // The window can no longer be resized, by its border or otherwise.
    setFixedSize(size());

    m_voice->setVolume(100);
    m_resultContent->setPlainText(QString());

    const LanguageCatalogue catalogue = LanguageCatalogue::build();
    for (const QString &name : catalogue.displayNames) {
        m_combo1->addItem(name);
        m_combo2->addItem(name);
    }
    m_combo1->setCurrentIndex(0);
    m_combo2->setCurrentIndex(1);

    // 翻译服务设置: Ctrl+, and a right-click on the status line.
    AttachServiceSettings(this, qobject_cast<QStatusBar *>(m_statusLine->parentWidget()));

    m_sourceContent->setPlainText(u"欢迎使用Qirel的作品..."_s);
    m_option2->setChecked(true);
}

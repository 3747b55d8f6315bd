#include "Form1.h"

#include "LanguageCatalogue.h"
#include "Skin.h"
#include "Voice.h"

#include <QApplication>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QRadioButton>

using namespace Qt::StringLiterals;

void Form1::Form_Load()
{
    if (auto *app = qobject_cast<QApplication *>(QCoreApplication::instance()))
        ApplySkinFile(*app, m_environment.programFolder);

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

    m_sourceContent->setPlainText(u"欢迎使用Qirel的作品..."_s);
    m_option2->setChecked(true);
}

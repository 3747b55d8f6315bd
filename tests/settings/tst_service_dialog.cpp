#include "ServiceSettingsDialog.h"

#include <QAbstractSpinBox>
#include <QCheckBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString DeepLKey = u"deepl-test-key"_s;

QString folder()
{
    return qEnvironmentVariable("XDG_CONFIG_HOME") + u"/bremo"_s;
}

template<typename Control> Control *control(QWidget *dialog, const QString &accessibleName)
{
    for (Control *found : dialog->findChildren<Control *>()) {
        if (found->accessibleName() == accessibleName)
            return found;
    }
    qFatal("no control named %s", qPrintable(accessibleName));
}

// A window with a status line, as the dialog is attached to it.
class Window final : public QWidget
{
public:
    Window()
    {
        auto *line = new QStatusBar(this);
        m_panel = new QLabel(u"运行状态："_s, line);
        line->addWidget(m_panel);
        AttachServiceSettings(this, line, ServiceStore(folder()));
        show();
        if (!QTest::qWaitForWindowActive(this))
            qFatal("the window was not activated");
    }

    ServiceSettingsDialog *openedByRightClick()
    {
        QContextMenuEvent click(QContextMenuEvent::Mouse, QPoint(2, 2),
                                m_panel->mapToGlobal(QPoint(2, 2)));
        QCoreApplication::sendEvent(m_panel, &click);
        return findChild<ServiceSettingsDialog *>();
    }

private:
    QLabel *m_panel = nullptr;
};

void save(QWidget *dialog)
{
    control<QPushButton>(dialog, u"保存"_s)->click();
}

} // namespace

class TestServiceDialog final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void withKeyring()
    {
        Window window;
        QTest::keyClick(&window, Qt::Key_Comma, Qt::ControlModifier);
        QPointer<ServiceSettingsDialog> dialog = window.findChild<ServiceSettingsDialog *>();
        QVERIFY(dialog);
        for (QWidget *widget : dialog->findChildren<QWidget *>()) {
            const bool isControl = qobject_cast<QAbstractButton *>(widget) ||
                                   qobject_cast<QAbstractSpinBox *>(widget) ||
                                   (qobject_cast<QLineEdit *>(widget) &&
                                    !qobject_cast<QAbstractSpinBox *>(widget->parent()));
            QVERIFY2(!isControl || !widget->accessibleName().isEmpty(),
                     widget->metaObject()->className());
        }
        control<QLineEdit>(dialog, u"DeepL 密钥"_s)->setText(DeepLKey);
        control<QSpinBox>(dialog, u"有道智云 顺序"_s)->setValue(1);
        save(dialog);
        QTRY_VERIFY(!dialog);

        QProcess tool;
        tool.start(u"secret-tool"_s, {u"lookup"_s, u"server"_s, u"bremo"_s, u"user"_s, u"deepl"_s});
        QVERIFY(tool.waitForFinished());
        QVERIFY(tool.readAllStandardOutput() == DeepLKey.toUtf8());

        // Opened again, it reads what was saved from the keyring.
        dialog = window.openedByRightClick();
        QVERIFY(dialog);
        QVERIFY(control<QLineEdit>(dialog, u"DeepL 密钥"_s)->text() == DeepLKey);
        QCOMPARE(control<QSpinBox>(dialog, u"有道智云 顺序"_s)->value(), 1);
        QCOMPARE(control<QSpinBox>(dialog, u"DeepL 顺序"_s)->value(), 2);
    }

    void withoutKeyring()
    {
        Window window;
        QPointer<ServiceSettingsDialog> dialog = window.openedByRightClick();
        QVERIFY(dialog);
        auto *inFile = control<QCheckBox>(dialog, u"密钥保存在文件中"_s);
        auto *notice = control<QLabel>(dialog, u"提示"_s);
        QVERIFY(!inFile->isHidden());
        control<QLineEdit>(dialog, u"DeepL 密钥"_s)->setText(DeepLKey);
        control<QLineEdit>(dialog, u"百度通用翻译 主机"_s)->setText(u"ftp://mirror.example"_s);
        save(dialog);
        QCOMPARE(notice->text(), u"百度通用翻译 主机不是 http 或 https 地址。"_s);

        control<QLineEdit>(dialog, u"百度通用翻译 主机"_s)->clear();
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"^keyring: "_s));
        save(dialog);
        QVERIFY(dialog);
        QVERIFY(notice->text().startsWith(u"没有密钥环应答"_s));

        inFile->setChecked(true);
        save(dialog);
        QTRY_VERIFY(!dialog);
        ServiceSettings saved;
        QCOMPARE(ServiceStore(folder()).load(saved).outcome, StoreOutcome::Done);
        QVERIFY(saved.find(u"deepl")->key.secret == DeepLKey);
    }
};

QTEST_MAIN(TestServiceDialog)
#include "tst_service_dialog.moc"

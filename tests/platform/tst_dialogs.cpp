#include "MessageBoxService.h"
#include "SaveFileDialog.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

// The desktop's own dialogs, driven once each as a user would (a name typed and Return, a
// button, Esc), so that the scripted ones of the window's tests stand for something true.
class TestDialogs final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void dialogs_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("action"); // the button pressed, or else Esc
        QTest::addColumn<QString>("answer"); // what the window is told
        QTest::newRow("save, cancel") << u"save"_s << u"Cancel"_s << u"none"_s;
        QTest::newRow("save") << u"save"_s << u"&Save"_s << u"发音"_s;
        QTest::newRow("yes") << u"yes/no"_s << u"&Yes"_s << u"yes"_s;
        QTest::newRow("escape is no") << u"yes/no"_s << u"Esc"_s << u"no"_s;
        QTest::newRow("ok") << u"ok"_s << u"OK"_s << u"ok"_s;
    }

    void dialogs()
    {
        QFETCH(QString, kind);
        QFETCH(QString, action);
        QFETCH(QString, answer);
        QTemporaryDir dir;
        bool information = false; // the icon of a message box
        QString offered;          // the name a save dialog offers
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&] {
            QWidget *dialog = QApplication::activeModalWidget();
            if (!dialog)
                return;
            poll.stop();
            if (auto *box = qobject_cast<QMessageBox *>(dialog))
                information = box->icon() == QMessageBox::Information;
            if (auto *name = dialog->findChild<QLineEdit *>(u"fileNameEdit"_s)) {
                offered = name->text();
                name->setText(dir.filePath(u"发音"_s)); // no extension: none is added
            }
            for (QPushButton *button : dialog->findChildren<QPushButton *>()) {
                if (button->text() == action)
                    return button->click();
            }
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        poll.start(10);
        QString told = kind;
        if (kind == u"save") {
            told = QtSaveFileDialog()
                       .ask(nullptr, u"T"_s, u"MP3音频文件 (*.mp3)"_s, dir.filePath(u"上次.mp3"_s))
                       .value_or(u"none"_s)
                       .remove(dir.path() + u'/');
            QCOMPARE(offered, u"上次.mp3"_s);
        } else {
            const auto got = QtMessageBox().inform(
                nullptr, u"text"_s, u"T"_s,
                kind == u"ok" ? MessageBoxService::Buttons::Ok : MessageBoxService::Buttons::YesNo);
            told = QStringList{u"ok"_s, u"yes"_s, u"no"_s}.at(int(got));
            QVERIFY(information);
        }
        QCOMPARE(told, answer);
    }
};

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"

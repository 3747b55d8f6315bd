#include "MessageBoxService.h"
#include "SaveFileDialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

// Acts on the modal dialog as soon as it is up, as a user would, then lets it be.
void whenDialogShows(const std::function<void(QWidget *)> &act)
{
    auto *poll = new QTimer;
    QObject::connect(poll, &QTimer::timeout, poll, [poll, act] {
        if (QWidget *dialog = QApplication::activeModalWidget()) {
            poll->deleteLater();
            poll->stop();
            act(dialog);
        }
    });
    poll->start(10);
}

// The button of role in the dialog's button box.
void press(QWidget *dialog, QDialogButtonBox::StandardButton which)
{
    dialog->findChild<QDialogButtonBox *>()->button(which)->click();
}

} // namespace

// The desktop's own dialogs, driven once each, so that the scripted ones of the window's tests
// stand for something true.
class TestDialogs final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void saveDialog_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("accept");
        QTest::newRow("cancel") << u"kept.mp3"_s << false;
        QTest::newRow("ok") << u"发音.mp3"_s << true;
        QTest::newRow("ok, no extension") << u"发音"_s << true;
    }

    void saveDialog()
    {
        QFETCH(QString, typed);
        QFETCH(bool, accept);
        QTemporaryDir dir;
        QString title;
        whenDialogShows([&](QWidget *dialog) {
            title = dialog->windowTitle();
            auto *name = dialog->findChild<QLineEdit *>(u"fileNameEdit"_s);
            name->setText(dir.filePath(typed));
            if (accept)
                QTest::keyClick(name, Qt::Key_Return);
            else
                press(dialog, QDialogButtonBox::Cancel);
        });
        const std::optional<QString> chosen = QtSaveFileDialog().ask(
            nullptr, u"请选择您要保存的路径"_s, u"MP3音频文件 (*.mp3)"_s, QString());
        QCOMPARE(title, u"请选择您要保存的路径"_s);
        QCOMPARE(chosen, accept ? std::optional(dir.filePath(typed)) : std::nullopt);
    }

    void messageBox_data()
    {
        QTest::addColumn<bool>("yesNo");
        QTest::addColumn<int>("pressed"); // a QMessageBox::StandardButton, or Esc when 0
        QTest::addColumn<int>("answer");
        using A = MessageBoxService::Answer;
        QTest::newRow("yes") << true << int(QMessageBox::Yes) << int(A::Yes);
        QTest::newRow("no") << true << int(QMessageBox::No) << int(A::No);
        QTest::newRow("escape is no") << true << 0 << int(A::No);
        QTest::newRow("ok") << false << int(QMessageBox::Ok) << int(A::Ok);
    }

    void messageBox()
    {
        QFETCH(bool, yesNo);
        QFETCH(int, pressed);
        QFETCH(int, answer);
        QString seen;
        whenDialogShows([&](QWidget *dialog) {
            auto *box = qobject_cast<QMessageBox *>(dialog);
            seen = box->windowTitle() + u' ' + box->text() +
                   (box->icon() == QMessageBox::Information ? u" (i)"_s : QString());
            if (pressed)
                box->button(QMessageBox::StandardButton(pressed))->click();
            else
                QTest::keyClick(box, Qt::Key_Escape);
        });
        const auto buttons =
            yesNo ? MessageBoxService::Buttons::YesNo : MessageBoxService::Buttons::Ok;
        QCOMPARE(int(QtMessageBox().inform(nullptr, u"text"_s, u"QirelTaluvo提示"_s, buttons)),
                 answer);
        QCOMPARE(seen, u"QirelTaluvo提示 text (i)"_s);
    }
};

QTEST_MAIN(TestDialogs)
#include "tst_dialogs.moc"

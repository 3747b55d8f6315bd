#include "Form1.h"
#include "LanguageCatalogue.h"
#include "Voice.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

Form1Environment environmentWithoutSkin()
{
    return {u"/nonexistent-program-folder"_s};
}

// Stacking position among the siblings: higher lies above.
qsizetype stackingIndex(const QWidget *widget)
{
    return widget->parentWidget()->children().indexOf(const_cast<QWidget *>(widget));
}

} // namespace

class TestForm1Layout final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void window();
    void controls_data();
    void controls();
    void stacking_data();
    void stacking();
    void textBoxes();
    void statusBarAndMenu();
    void windowCannotBeResized();
    void engineButtonsHiddenUnderResultFrame();
    void tabOrderPassesHiddenEngineGroup();
    void arrowKeysMoveEngineChoice();
    void startupState();
    void skinAppliedFromProgramFolder_data();
    void skinAppliedFromProgramFolder();

private:
    std::unique_ptr<Form1> m_form;
};

void TestForm1Layout::init()
{
    m_form = std::make_unique<Form1>(environmentWithoutSkin());
}

void TestForm1Layout::cleanup()
{
    m_form.reset();
    qApp->setStyleSheet(QString());
}

void TestForm1Layout::window()
{
    QCOMPARE(m_form->windowTitle(), u"Bremo.多国语言在线互译工具 V3.0"_s);
    QCOMPARE(m_form->size(), QSize(498, 637));
}

void TestForm1Layout::controls_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("className");
    QTest::addColumn<QString>("container");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QRect>("geometry");

    const QString window = u"Form1"_s;
    auto row = [](const char *name, const char *cls, const QString &container,
                  const QString &caption, QRect geometry) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(cls) << container
                            << caption << geometry;
    };
    // Pixels at 96 dots per inch: the designed twips divided by fifteen.
    row("Command6", "QPushButton", window, u"复制译文"_s, {416, 288, 65, 17});
    row("Command5", "QPushButton", window, u"粘贴原文"_s, {416, 8, 65, 17});
    row("Command4", "QPushButton", window, u"更新介绍"_s, {256, 544, 105, 41});
    row("Command3", "QPushButton", window, u"退出程序"_s, {376, 544, 113, 41});
    row("Command2", "QPushButton", window, u"程序说明"_s, {136, 544, 105, 41});
    row("Command1", "QPushButton", window, u"翻译"_s, {8, 544, 113, 41});
    row("Frame3", "QGroupBox", window, u"翻译的原文"_s, {8, 8, 481, 193});
    row("SourceContent", "QPlainTextEdit", u"Frame3"_s, {}, {8, 24, 465, 161});
    row("Frame2", "QGroupBox", window, u"翻译的结果[音频操作请点击播放器空白部分]"_s,
        {8, 288, 481, 193});
    row("ResultContent", "QPlainTextEdit", u"Frame2"_s, {}, {8, 24, 465, 161});
    row("StatusBar1", "QStatusBar", window, {}, {0, 596, 498, 41});
    row("Frame1", "QGroupBox", window, u"语种互译"_s, {8, 216, 481, 57});
    row("Combo1", "QComboBox", u"Frame1"_s, {}, {96, 20, 121, 20});
    row("Combo2", "QComboBox", u"Frame1"_s, {}, {288, 20, 121, 20});
    row("Label3", "QLabel", u"Frame1"_s, u"从："_s, {64, 24, 24, 12});
    row("Label4", "QLabel", u"Frame1"_s, u"翻译成："_s, {232, 24, 48, 12});
    row("Option2", "QRadioButton", window, u"Google(谷歌)"_s, {112, 400, 97, 17});
    row("Option1", "QRadioButton", window, u"Option1"_s, {48, 424, 73, 17});
    row("Label5", "QLabel", window, {}, {680, 288, 324, 192});
    row("Voice", "Voice", window, {}, {8, 488, 481, 41});
}

void TestForm1Layout::controls()
{
    QFETCH(QString, name);
    QFETCH(QString, className);
    QFETCH(QString, container);
    QFETCH(QString, caption);
    QFETCH(QRect, geometry);

    m_form->setObjectName(u"Form1"_s);
    const auto *widget = m_form->findChild<QWidget *>(name);
    QVERIFY(widget);
    QCOMPARE(QString::fromLatin1(widget->metaObject()->className()), className);
    QCOMPARE(widget->parentWidget()->objectName(), container);
    QCOMPARE(widget->geometry(), geometry);
    if (const auto *button = qobject_cast<const QAbstractButton *>(widget))
        QCOMPARE(button->text(), caption);
    else if (const auto *frame = qobject_cast<const QGroupBox *>(widget))
        QCOMPARE(frame->title(), caption);
    else if (const auto *label = qobject_cast<const QLabel *>(widget); label && !caption.isEmpty())
        QCOMPARE(label->text(), caption);
}

void TestForm1Layout::stacking_data()
{
    QTest::addColumn<QStringList>("topToBottom");
    QTest::newRow("window") << QStringList{
        u"Command6"_s, u"Command5"_s, u"Command4"_s, u"Command3"_s,   u"Command2"_s,
        u"Command1"_s, u"Frame3"_s,   u"Frame2"_s,   u"StatusBar1"_s, u"Frame1"_s,
        u"Option2"_s,  u"Option1"_s,  u"Label5"_s,   u"Voice"_s};
    QTest::newRow("language frame")
        << QStringList{u"Combo1"_s, u"Combo2"_s, u"Label3"_s, u"Label4"_s};
}

void TestForm1Layout::stacking()
{
    QFETCH(QStringList, topToBottom);
    for (qsizetype i = 1; i < topToBottom.size(); ++i) {
        const auto *upper = m_form->findChild<QWidget *>(topToBottom.at(i - 1));
        const auto *lower = m_form->findChild<QWidget *>(topToBottom.at(i));
        QVERIFY2(stackingIndex(upper) > stackingIndex(lower),
                 qPrintable(topToBottom.at(i - 1) + u" should lie above "_s + topToBottom.at(i)));
    }
}

void TestForm1Layout::textBoxes()
{
    const auto *source = m_form->findChild<QPlainTextEdit *>(u"SourceContent"_s);
    const auto *result = m_form->findChild<QPlainTextEdit *>(u"ResultContent"_s);
    QCOMPARE(source->toolTip(), u"请在这里输入要翻译的原文"_s);
    QCOMPARE(result->toolTip(), u"这里将显示翻译后的译文"_s);
    QVERIFY(!source->isReadOnly());
    QVERIFY(result->isReadOnly());
    for (const auto *box : {source, result}) {
        QCOMPARE(box->lineWrapMode(), QPlainTextEdit::WidgetWidth);
        QCOMPARE(box->font().pointSize(), 9);
        QCOMPARE(box->font().families().constFirst(), u"宋体"_s);
        // Whatever family is picked, the welcome text's characters must all be drawable.
        QVERIFY(QFontMetrics(box->font()).inFontUcs4(U'译'));
    }
    for (const char *name : {"Combo1", "Combo2"})
        QVERIFY(!m_form->findChild<QComboBox *>(QString::fromLatin1(name))->isEditable());
}

void TestForm1Layout::statusBarAndMenu()
{
    const auto *bar = m_form->findChild<QStatusBar *>(u"StatusBar1"_s);
    QVERIFY(!bar->isSizeGripEnabled());
    QCOMPARE(bar->findChild<QLabel *>(u"Panel1"_s)->text(), u"运行状态："_s);
    QCOMPARE(bar->findChild<QLabel *>(u"Panel2"_s)->text(),
             u"程序加载完毕..请先输入您要翻译的内容.."_s);
    QCOMPARE(bar->findChild<QLabel *>(u"Panel1"_s)->width(), 96);

    const auto *menu = m_form->findChild<QMenu *>(u"caidan"_s);
    QVERIFY(menu);
    QCOMPARE(menu->title(), u"caidan"_s);
    const QList<QAction *> items = menu->actions();
    QCOMPARE(items.size(), 3);
    QCOMPARE(items[0]->objectName(), u"bc"_s);
    QCOMPARE(items[0]->text(), u"保存音频"_s);
    QCOMPARE(items[1]->objectName(), u"x1"_s);
    QVERIFY(items[1]->isSeparator());
    QCOMPARE(items[2]->objectName(), u"qc"_s);
    QCOMPARE(items[2]->text(), u"清除音频"_s);
}

void TestForm1Layout::windowCannotBeResized()
{
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    m_form->resize(800, 900);
    QCOMPARE(m_form->size(), QSize(498, 637));
    QCOMPARE(m_form->minimumSize(), m_form->maximumSize());
}

void TestForm1Layout::engineButtonsHiddenUnderResultFrame()
{
    m_form->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_form.get()));
    auto *option1 = m_form->findChild<QRadioButton *>(u"Option1"_s);
    auto *option2 = m_form->findChild<QRadioButton *>(u"Option2"_s);
    QVERIFY(option1->isVisible() && option2->isVisible());

    // What the user sees does not change when the two buttons are taken away.
    const QImage withButtons = m_form->grab().toImage();
    option1->hide();
    option2->hide();
    const QImage withoutButtons = m_form->grab().toImage();
    QCOMPARE(withButtons, withoutButtons);
}

void TestForm1Layout::tabOrderPassesHiddenEngineGroup()
{
    m_form->show();
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));

    // The option group is one tab stop, like any group of exclusive buttons.
    const QStringList expected{u"Voice"_s,         u"Combo2"_s,        u"Combo1"_s,   u"Option2"_s,
                               u"Command1"_s,      u"Command2"_s,      u"Command3"_s, u"Command4"_s,
                               u"ResultContent"_s, u"SourceContent"_s, u"Command5"_s, u"Command6"_s,
                               u"Voice"_s};
    m_form->findChild<QWidget *>(expected.constFirst())->setFocus(Qt::TabFocusReason);
    QStringList chain;
    for (qsizetype i = 0; i < expected.size(); ++i) {
        QWidget *focused = QApplication::focusWidget();
        QVERIFY(focused);
        chain << focused->objectName();
        QTest::keyClick(focused, Qt::Key_Tab);
    }
    QCOMPARE(chain, expected);
}

void TestForm1Layout::arrowKeysMoveEngineChoice()
{
    m_form->show();
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
    auto *option1 = m_form->findChild<QRadioButton *>(u"Option1"_s);
    auto *option2 = m_form->findChild<QRadioButton *>(u"Option2"_s);
    option2->setFocus();
    QTest::keyClick(option2, Qt::Key_Down);
    QTRY_VERIFY(option1->isChecked());
    QVERIFY(!option2->isChecked());
    QTest::keyClick(option1, Qt::Key_Up);
    QTRY_VERIFY(option2->isChecked());
}

void TestForm1Layout::startupState()
{
    const auto *combo1 = m_form->findChild<QComboBox *>(u"Combo1"_s);
    const auto *combo2 = m_form->findChild<QComboBox *>(u"Combo2"_s);
    const QStringList names = LanguageCatalogue::build().displayNames;
    QCOMPARE(combo1->count(), 57);
    QCOMPARE(combo2->count(), 57);
    for (int i = 0; i < 57; ++i) {
        QCOMPARE(combo1->itemText(i), names.at(i));
        QCOMPARE(combo2->itemText(i), names.at(i));
    }
    QCOMPARE(combo1->currentIndex(), 0);
    QCOMPARE(combo1->currentText(), u"中文"_s);
    QCOMPARE(combo2->currentIndex(), 1);
    QCOMPARE(combo2->currentText(), u"英语"_s);
    QCOMPARE(combo2->itemText(35), u"日语"_s);
    QCOMPARE(combo2->itemText(56), u"越南语"_s);

    QCOMPARE(m_form->findChild<QPlainTextEdit *>(u"SourceContent"_s)->toPlainText(),
             u"欢迎使用Qirel的作品..."_s);
    QVERIFY(m_form->findChild<QPlainTextEdit *>(u"ResultContent"_s)->toPlainText().isEmpty());
    QVERIFY(m_form->findChild<QRadioButton *>(u"Option2"_s)->isChecked());
    QVERIFY(!m_form->findChild<QRadioButton *>(u"Option1"_s)->isChecked());

    const auto *voice = m_form->findChild<Voice *>(u"Voice"_s);
    QCOMPARE(voice->volume(), 100);
    QVERIFY(voice->URL().isEmpty());

    const auto *label5 = m_form->findChild<QLabel *>(u"Label5"_s);
    QVERIFY(!label5->isVisibleTo(m_form.get()));
    QVERIFY(label5->text().endsWith(u"\r\n"_s));
    QVERIFY(label5->text().contains(u"\r\n1."_s));
}

void TestForm1Layout::skinAppliedFromProgramFolder_data()
{
    QTest::addColumn<bool>("skinPresent");
    QTest::addColumn<QString>("folderSuffix");
    QTest::newRow("skin beside the program") << true << QString();
    QTest::newRow("folder ending in a separator") << true << u"/"_s;
    QTest::newRow("no skin: default look") << false << QString();
}

void TestForm1Layout::skinAppliedFromProgramFolder()
{
    QFETCH(bool, skinPresent);
    QFETCH(QString, folderSuffix);

    QTemporaryDir folder;
    const QByteArray sheet = "QPushButton { color: #123456; }";
    if (skinPresent) {
        QFile file(folder.filePath(u"skinh.she"_s));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(sheet);
    }
    m_form.reset();
    qApp->setStyleSheet(QString());
    m_form = std::make_unique<Form1>(Form1Environment{folder.path() + folderSuffix});
    QCOMPARE(qApp->styleSheet(), skinPresent ? QString::fromUtf8(sheet) : QString());
}

QTEST_MAIN(TestForm1Layout)
#include "tst_form1layout.moc"

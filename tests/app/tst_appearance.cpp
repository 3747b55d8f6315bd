#include "AppIcon.h"
#include "Skin.h"
#include "Voice.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

bool WriteFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

QApplication &App()
{
    return *qApp;
}

} // namespace

class TestAppearance final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void cleanup();
    void skinPathIsPlainAppending_data();
    void skinPathIsPlainAppending();
    void skinFileIsApplied_data();
    void skinFileIsApplied();
    void noSkinFileLeavesDefaultLook_data();
    void noSkinFileLeavesDefaultLook();
    void shippedSkinParses();
    void iconHoldsEverySize_data();
    void iconHoldsEverySize();
};

void TestAppearance::cleanup()
{
    App().setStyleSheet(QString());
}

void TestAppearance::skinPathIsPlainAppending_data()
{
    QTest::addColumn<QString>("folder");
    QTest::addColumn<QString>("path");

    QTest::newRow("folder") << u"/opt/bremo"_s << u"/opt/bremo/skinh.she"_s;
    QTest::newRow("trailing separator kept") << u"/opt/bremo/"_s << u"/opt/bremo//skinh.she"_s;
    QTest::newRow("drive root") << u"C:\\"_s << u"C:\\/skinh.she"_s;
}

void TestAppearance::skinPathIsPlainAppending()
{
    QFETCH(QString, folder);
    QFETCH(QString, path);

    QCOMPARE(SkinFilePath(folder), path);
}

void TestAppearance::skinFileIsApplied_data()
{
    QTest::addColumn<QString>("suffix");

    QTest::newRow("folder") << QString();
    QTest::newRow("folder with trailing separator") << u"/"_s;
}

void TestAppearance::skinFileIsApplied()
{
    QFETCH(QString, suffix);

    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QByteArray sheet = "QPushButton { color: #123456; } /* 皮肤 */\n";
    QVERIFY(WriteFile(folder.filePath(u"skinh.she"_s), sheet));

    QVERIFY(ApplySkinFile(App(), folder.path() + suffix));
    QCOMPARE(App().styleSheet(), QString::fromUtf8(sheet));
}

void TestAppearance::noSkinFileLeavesDefaultLook_data()
{
    QTest::addColumn<bool>("directoryInItsPlace");

    QTest::newRow("missing") << false;
    QTest::newRow("unreadable: a directory of that name") << true;
}

void TestAppearance::noSkinFileLeavesDefaultLook()
{
    QFETCH(bool, directoryInItsPlace);

    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    if (directoryInItsPlace)
        QVERIFY(QDir(folder.path()).mkdir(u"skinh.she"_s));

    QVERIFY(!ApplySkinFile(App(), folder.path()));
    QCOMPARE(App().styleSheet(), QString());
}

void TestAppearance::shippedSkinParses()
{
    const QString shipped = QFINDTESTDATA("../../assets/skinh.she");
    QVERIFY(!shipped.isEmpty());
    QTest::failOnWarning(
        QRegularExpression(u"style ?sheet"_s, QRegularExpression::CaseInsensitiveOption));
    QVERIFY(ApplySkinFile(App(), QFileInfo(shipped).path()));

    // Every kind of widget the window shows, so that each rule of the sheet gets parsed.
    QWidget window;
    new QGroupBox(u"翻译的原文"_s, &window);
    new QPushButton(u"翻译"_s, &window);
    new QPlainTextEdit(&window);
    new QComboBox(&window);
    new QScrollBar(&window);
    new Voice(&window);
    auto *status = new QStatusBar(&window);
    status->addWidget(new QLabel(u"运行状态："_s));
    QMenu menu;
    menu.addAction(u"保存音频"_s);
    menu.addSeparator();
    for (QWidget *widget : window.findChildren<QWidget *>())
        widget->ensurePolished();
    menu.ensurePolished();
    QVERIFY(App().styleSheet().contains(u"Voice"_s));
}

void TestAppearance::iconHoldsEverySize_data()
{
    QTest::addColumn<int>("size");

    for (const int size : {16, 24, 32, 48})
        QTest::addRow("%d px", size) << size;
}

void TestAppearance::iconHoldsEverySize()
{
    QFETCH(int, size);

    const QIcon icon = BremoIcon();
    QVERIFY(icon.availableSizes().contains(QSize(size, size)));
    const QImage image = icon.pixmap(QSize(size, size)).toImage();
    QCOMPARE(image.size(), QSize(size, size));
    // Drawn, not blank: the corner is transparent, the middle is not.
    QCOMPARE(qAlpha(image.pixel(size - 1, 0)), 0);
    QCOMPARE(qAlpha(image.pixel(size / 2, size / 2)), 255);
}

QTEST_MAIN(TestAppearance)
#include "tst_appearance.moc"

#include "Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QTest>

using namespace Qt::StringLiterals;

// The desktop clipboard as the paste and copy commands see it: plain text or nothing.
class TestClipboard final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pictureOnlyReadsAsEmpty();
    void setReplacesWhateverWasThere();
    void clearEmpties();
};

void TestClipboard::pictureOnlyReadsAsEmpty()
{
    auto *mime = new QMimeData;
    QImage picture(4, 4, QImage::Format_RGB32);
    picture.fill(Qt::red);
    mime->setImageData(picture);
    QGuiApplication::clipboard()->setMimeData(mime);
    QVERIFY(QGuiApplication::clipboard()->mimeData()->hasImage());

    QtClipboard clipboard;
    QVERIFY(clipboard.text().isEmpty());
}

void TestClipboard::setReplacesWhateverWasThere()
{
    auto *mime = new QMimeData;
    mime->setHtml(u"<b>rich</b>"_s);
    QGuiApplication::clipboard()->setMimeData(mime);

    QtClipboard clipboard;
    clipboard.setText(u"第一行\r\n第二行"_s);
    QCOMPARE(clipboard.text(), u"第一行\r\n第二行"_s);
    QVERIFY(!QGuiApplication::clipboard()->mimeData()->hasHtml());
}

void TestClipboard::clearEmpties()
{
    QtClipboard clipboard;
    clipboard.setText(u"x"_s);
    clipboard.clear();
    QVERIFY(clipboard.text().isEmpty());
}

QTEST_MAIN(TestClipboard)
#include "tst_clipboard.moc"

#include "ApplicationService.h"
#include "FormHarness.h"
#include "Handover.h"
#include "OutsideRequests.h"
#include "StandInServer.h"

#include <QProcess>
#include <QSignalSpy>

using namespace TestSupport;
using namespace Qt::StringLiterals;

class TestSession final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A second start hands its request to the window of the first and ends: a text, what is
    // highlighted, what is copied (owned by another X client), nothing, or the window alone.
    void handOver_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("selection"); // the X selection that xclip owns
        QTest::addColumn<QString>("source");    // the source box afterwards
        QTest::addColumn<QString>("status");
        const QString succeeded =
            u"在线翻译成功!因官方限制,日语不可发音,其他如需发音,请再次点击翻译.."_s;
        QTest::newRow("text") << QStringList{u"one text"_s} << QString() << u"one text"_s
                              << succeeded;
        QTest::newRow("text after Qt's options")
            << QStringList{u"-session"_s, u"restored"_s, u"-reverse"_s, u"one text"_s} << QString()
            << u"one text"_s << succeeded;
        QTest::newRow("selection")
            << QStringList{u"--selection"_s} << u"primary"_s << u"highlighted words"_s << succeeded;
        QTest::newRow("clipboard")
            << QStringList{u"--clipboard"_s} << u"clipboard"_s << u"copied words"_s << succeeded;
        QTest::newRow("empty text")
            << QStringList{QString()} << QString() << QString() << u"请您先输入原文再进行翻译"_s;
        QTest::newRow("window alone") << QStringList() << QString() << u"欢迎使用Qirel的作品..."_s
                                      << u"程序加载完毕..请先输入您要翻译的内容.."_s;
    }

    void handOver()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, selection);
        QFETCH(QString, source);
        QFETCH(QString, status);
        StandInServer server;
        server.serve("/translate_a/t",
                     CannedReply::page(200, "[[[\"Hi\",\"x\",\"\",\"\"]],,\"zh-CN\"]"));
        FormHarness h(u"http://127.0.0.1:%1"_s.arg(server.port()));
        ApplicationService service;
        QCOMPARE(HandOver({}), Handover::NoPrimary); // the first start of the session
        QCOMPARE(service.claim(), ApplicationService::Claim::Claimed);
        connect(&service, &ApplicationService::requested, h.form.get(),
                [&h](const OutsideRequest &request) { ServeOutsideRequest(*h.form, request); });
        if (!selection.isEmpty()) {
            QProcess owner; // stays in the background until another owner or the display ends
            owner.start(u"xclip"_s, {u"-selection"_s, selection});
            owner.write(source.toUtf8());
            owner.closeWriteChannel();
            QVERIFY(owner.waitForFinished() && owner.exitCode() == 0);
        }

        QProcess second;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        // Without a display a window cannot be opened: a second start that tried would fail.
        environment.remove(u"DISPLAY"_s);
        environment.remove(u"WAYLAND_DISPLAY"_s);
        second.setProcessEnvironment(environment);
        QSignalSpy finished(&second, &QProcess::finished);
        second.start(QStringLiteral(BREMO_PROGRAM), arguments);
        QVERIFY(finished.wait(20000));
        QCOMPARE(second.exitStatus(), QProcess::NormalExit);
        QVERIFY2(second.exitCode() == 0, second.readAllStandardError().constData());
        QTRY_VERIFY(h.form->isActiveWindow());
        QTRY_COMPARE(h.status(), status);
        QCOMPARE(h.box("SourceContent"), source);
        QCOMPARE(server.requests().size(), status.startsWith(u"在线"_s) ? 1 : 0);
    }
};

QTEST_MAIN(TestSession)
#include "tst_session.moc"

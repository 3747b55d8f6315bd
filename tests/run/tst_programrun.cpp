#include "ProgramRun.h"

#include <QDir>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

// The processes left by a script: those that run "sleep 909".
int Left()
{
    int count = 0;
    for (const QString &pid : QDir(u"/proc"_s).entryList(QDir::Dirs)) {
        QFile commandLine(u"/proc/"_s + pid + u"/cmdline"_s);
        count += commandLine.open(QIODevice::ReadOnly) &&
                 commandLine.read(64) == QByteArray("sleep\0909\0", 10);
    }
    return count;
}

} // namespace

// The offline engine's run, with stand-ins from coreutils: an answer, a failure, a program that
// hangs, one that never stops writing, one whose window goes, and none at all. Whatever the
// end, nothing the program started in the background outlives the run; the application's exit
// comes last, since nothing runs after it.
class TestProgramRun final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void run_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("end"); // "kind exit-code output"
        QTest::newRow("answer") << u"exec cat"_s << u"0 0 hola"_s;
        QTest::newRow("exit code, a child left") << u"sleep 909 >&- & exit 3"_s << u"0 3 "_s;
        QTest::newRow("not installed") << QString() << u"1 0 "_s;
        QTest::newRow("hangs") << u"sleep 909 & sleep 60"_s << u"2 0 "_s;
        QTest::newRow("endless output") << u"sleep 909 & yes"_s << u"3 0 "_s;
        QTest::newRow("window gone") << u"sleep 909 & sleep 60"_s << u"4 0 "_s;
        QTest::newRow("application quits") << u"sleep 909 & sleep 60"_s << u"4 0 "_s;
    }

    void run()
    {
        QFETCH(QString, script);
        QFETCH(QString, end);
        auto *window = new QObject(this);
        const QByteArray tag = QTest::currentDataTag();
        if (tag == "window gone")
            QTimer::singleShot(200ms, window, &QObject::deleteLater);
        ProcessEnd run;
        QTimer::singleShot(0, qApp, [&] {
            run = RunProgram(script.isEmpty() ? u"no-such-apertium"_s : u"sh"_s, {u"-c"_s, script},
                             "hola", {300ms, 4096, window});
            if (tag != "application quits")
                QCoreApplication::exit();
        });
        if (tag == "application quits")
            QTimer::singleShot(200ms, qApp, &QCoreApplication::quit);
        QCoreApplication::exec();
        QCOMPARE(u"%1 %2 %3"_s.arg(int(run.kind))
                     .arg(run.exitCode)
                     .arg(run.kind == ProcessEnd::Kind::Finished ? QString::fromUtf8(run.output)
                                                                 : QString()),
                 end);
        QTRY_COMPARE_WITH_TIMEOUT(Left(), 0, 1000);
    }
};

QTEST_GUILESS_MAIN(TestProgramRun)
#include "tst_programrun.moc"

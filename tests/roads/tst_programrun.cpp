#include "ProgramRun.h"

#include <QDir>
#include <QFile>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

// The processes that run sleep with this argument.
int Sleeping(const QByteArray &seconds)
{
    int count = 0;
    for (const QString &pid : QDir(u"/proc"_s).entryList(QDir::Dirs)) {
        QFile commandLine(u"/proc/"_s + pid + u"/cmdline"_s);
        count += commandLine.open(QIODevice::ReadOnly) &&
                 commandLine.read(64) == QByteArray("sleep\0", 6) + seconds + '\0';
    }
    return count;
}

} // namespace

// The offline engine's run, with stand-ins from coreutils: an answer, a failure, a program that
// hangs, one that never stops writing, and none at all.
class TestProgramRun final : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void run_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("end"); // "kind exit-code output"
        QTest::newRow("answer") << u"cat"_s << QStringList() << u"0 0 hola"_s;
        QTest::newRow("exit code") << u"sh"_s << QStringList{u"-c"_s, u"exit 3"_s} << u"0 3 "_s;
        QTest::newRow("not installed") << u"no-such-apertium"_s << QStringList() << u"1 0 "_s;
        QTest::newRow("hangs") << u"sleep"_s << QStringList{u"60"_s} << u"2 0 "_s;
        QTest::newRow("endless output") << u"yes"_s << QStringList() << u"3 0 "_s;
    }

    void run()
    {
        QFETCH(QString, program);
        QFETCH(QStringList, arguments);
        QFETCH(QString, end);
        const ProcessEnd run = RunProgram(program, arguments, "hola", {300ms, 4096, nullptr});
        QCOMPARE(u"%1 %2 %3"_s.arg(int(run.kind))
                     .arg(run.exitCode)
                     .arg(run.kind == ProcessEnd::Kind::Finished ? QString::fromUtf8(run.output)
                                                                 : QString()),
                 end);
    }

    // A pipeline's children end with the run, however it ends: each script leaves a sleep of
    // its own in the background.
    void nothingOutlives_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<int>("kind");
        QTest::newRow("time-out") << u"sleep 901 & sleep 60"_s << int(ProcessEnd::Kind::TimedOut);
        QTest::newRow("cap") << u"sleep 902 & yes"_s << int(ProcessEnd::Kind::OverCap);
        QTest::newRow("abandoned") << u"sleep 903 & sleep 60"_s << int(ProcessEnd::Kind::Abandoned);
        QTest::newRow("finished") << u"sleep 904 >/dev/null 2>&1 &"_s
                                  << int(ProcessEnd::Kind::Finished);
    }

    void nothingOutlives()
    {
        QFETCH(QString, script);
        QFETCH(int, kind);
        const QByteArray seconds = script.section(u' ', 1, 1).toLatin1();
        auto *window = new QObject(this);
        if (kind == int(ProcessEnd::Kind::Abandoned))
            QTimer::singleShot(200ms, window, &QObject::deleteLater);
        const ProcessEnd run = RunProgram(u"sh"_s, {u"-c"_s, script}, {}, {1s, 4096, window});
        QCOMPARE(int(run.kind), kind);
        QTRY_COMPARE_WITH_TIMEOUT(Sleeping(seconds), 0, 1000);
    }

    // Last: the application cannot go on after it has quit.
    void applicationQuits()
    {
        ProcessEnd run;
        QTimer::singleShot(0, qApp, [&run] {
            run =
                RunProgram(u"sh"_s, {u"-c"_s, u"sleep 905 & sleep 60"_s}, {}, {1s, 4096, nullptr});
        });
        QTimer::singleShot(200ms, qApp, &QCoreApplication::quit);
        QCoreApplication::exec();
        QCOMPARE(int(run.kind), int(ProcessEnd::Kind::Abandoned));
        QTRY_COMPARE_WITH_TIMEOUT(Sleeping("905"), 0, 1000);
    }
};

QTEST_GUILESS_MAIN(TestProgramRun)
#include "tst_programrun.moc"

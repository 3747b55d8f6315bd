#include "ProgramRun.h"

#include <QTest>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

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
};

QTEST_GUILESS_MAIN(TestProgramRun)
#include "tst_programrun.moc"

#include "fakeprobefixture.h"
#include "proberun.h"

#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

// Generous: a slow, busy machine must pass. A run that hangs takes far longer.
constexpr qint64 PromptMs = 10000;

} // namespace

class TestProbeRun : public QObject
{
    Q_OBJECT

private slots:
    void collectsEverything_data();
    void collectsEverything();
    void endsWithTheTool();
    void stopsAtTheOutputLimit();
    void toolThatCannotStart_data();
    void toolThatCannotStart();
    void stopEndsTheToolAndWhatItStarted();
};

void TestProbeRun::collectsEverything_data()
{
    QTest::addColumn<QByteArray>("directives");
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<QString>("expected");

    const QByteArray report = "Input #0, mov, from 'T\xc3\xabst.mp4':\n"
                              "  Metadata:\n    title           : T\xc3\xabst\n"
                              "  Stream #0:0(und): Audio: aac, 48000 Hz, 512 kb/s\n"
                              "  Stream #0:1(und): Video: h264, 512 kb/s\n";
    const QString reportText = QString::fromUtf8(report).trimmed();
    QTest::newRow("one write") << QByteArray() << report << reportText;
    QTest::newRow("one byte a write") << "chunk=1"_ba << report << reportText;
    QTest::newRow("both streams interleaved") << "chunk=3 both"_ba << report << reportText;
    QTest::newRow("NUL bytes") << "chunk=2"_ba << QByteArray("a\0b\0c", 5) << u"abc"_s;

    const QByteArray line = QByteArray(74, 'x') + '\n';
    QTest::newRow("more than 32767 characters") << "chunk=4096 repeat=1000"_ba << line
                                                << QString::fromLatin1(line.repeated(1000)).trimmed();
    QTest::newRow("tool killed mid-output") << "crash"_ba << report << reportText;
    QTest::newRow("pause between writes") << "chunk=40 pause=300"_ba << report << reportText;
}

void TestProbeRun::collectsEverything()
{
    QFETCH(QByteArray, directives);
    QFETCH(QByteArray, payload);
    QFETCH(QString, expected);

    FakeProbeFixture fake;
    ProbeRun run(fake.toolPath(), fake.script(u"clip.mp4"_s, directives, payload));
    QVERIFY(run.start());
    QCOMPARE(run.wait().text(), expected);
}

void TestProbeRun::endsWithTheTool()
{
    // Closing the output early is not the end: the run waits for the tool itself. A process the
    // tool leaves behind with the output still open does not hold the run up.
    FakeProbeFixture fake;
    {
        ProbeRun run(fake.toolPath(), fake.script(u"early.mp4"_s, "close-output linger=500", "all of it"));
        QVERIFY(run.start());
        QCOMPARE(run.wait().text(), u"all of it"_s);
        QVERIFY(!FakeProbeFixture::isRunning(fake.recordedPids().value(0)));
    }
    {
        ProbeRun run(fake.toolPath(), fake.script(u"orphan.mp4"_s, "grandchild linger=60000", "report"));
        QVERIFY(run.start());
        QElapsedTimer timer;
        timer.start();
        QCOMPARE(run.wait().text(), u"report"_s);
        QVERIFY2(timer.elapsed() < PromptMs, qPrintable(QString::number(timer.elapsed())));
    }
}

void TestProbeRun::stopsAtTheOutputLimit()
{
    FakeProbeFixture fake;
    const QByteArray mebibyte(qsizetype(1024) * 1024, 'y');
    ProbeRun run(fake.toolPath(), fake.script(u"endless.mp4"_s, "chunk=65536 repeat=40 hang", mebibyte));
    QVERIFY(run.start());
    QCOMPARE(run.wait().text().size(), ProbeOutput::Limit);
    QVERIFY(fake.waitUntilNoneRunning());
}

void TestProbeRun::toolThatCannotStart_data()
{
    QTest::addColumn<QString>("tool");

    QTest::newRow("missing") << u"/nonexistent/quorvel/clientinfo"_s;
    QTest::newRow("a directory") << QDir::tempPath();
    QTest::newRow("not executable") << QFINDTESTDATA("tst_proberun.cpp");
}

void TestProbeRun::toolThatCannotStart()
{
    QFETCH(QString, tool);
    ProbeRun run(tool, u"clip.mp4"_s);
    QVERIFY(!run.start());
}

void TestProbeRun::stopEndsTheToolAndWhatItStarted()
{
    FakeProbeFixture fake;
    ProbeRun run(fake.toolPath(), fake.script(u"stubborn.mp4"_s, "ignore-term child hang", "partial"));
    QVERIFY(run.start());
    QTimer::singleShot(200, [&run] { run.stop(); });
    QElapsedTimer timer;
    timer.start();
    QCOMPARE(run.wait().text(), u"partial"_s);
    QVERIFY2(timer.elapsed() < PromptMs, qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(fake.recordedPids().size(), 2);
    QVERIFY(fake.waitUntilNoneRunning());
}

QTEST_GUILESS_MAIN(TestProbeRun)
#include "tst_proberun.moc"

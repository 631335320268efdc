#include "dragsimulation.h"
#include "fakeprobefixture.h"
#include "p_main.h"

#include <QAction>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

// Generous: a slow, busy machine must pass. A run that hangs takes far longer.
constexpr qint64 PromptMs = 10000;

#if defined(__SANITIZE_ADDRESS__)
constexpr bool SanitizerBuild = true;
#else
constexpr bool SanitizerBuild = false;
#endif

QPlainTextEdit *reportArea(const Tquorvelmain &window)
{
    return window.findChild<QPlainTextEdit *>(u"memo_main"_s);
}

qsizetype openDescriptorCount()
{
    return QDir(u"/proc/self/fd"_s).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::System).size();
}

qint64 residentKiB()
{
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    static const QRegularExpression rss(uR"(VmRSS:\s+(\d+) kB)"_s);
    return rss.match(QString::fromLatin1(status.readAll())).captured(1).toLongLong();
}

// What the report area shows of a text: Qt shows a CR, alone or before a LF, as one line break.
QString shown(QString text)
{
    text.replace(u"\r\n"_s, u"\n"_s);
    text.replace(u'\r', u'\n');
    return text;
}

} // namespace

class TestReliability : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void toolMisbehaves_data();
    void toolMisbehaves();
    void toolCannotStart_data();
    void toolCannotStart();
    void pathReachesTheToolUnchanged_data();
    void pathReachesTheToolUnchanged();
    void toolInheritsNothingOfOurs();
    void manyRunsLeakNothing();
    void namedPipeDoesNotHoldTheProgram();
    void thousandDroppedNames();
};

void TestReliability::init()
{
    // Our code must not make Qt complain; the offscreen platform's own notice is no fault of ours.
    QTest::failOnWarning(QRegularExpression(u"^(?!This plugin does not support propagateSizeHints\\(\\)$)"_s));
}

void TestReliability::toolMisbehaves_data()
{
    QTest::addColumn<QByteArray>("directives");
    QTest::addColumn<QByteArray>("payload");
    QTest::addColumn<QString>("report");

    const QByteArray description = "Input #0, mov, from 'clip.mp4':\n  Duration: 00:00:02.00\n";
    const QString described = u" mov, from 'clip.mp4':\n  Duration: 00:00:02.00"_s;
    QTest::newRow("killed by a signal mid-output") << "chunk=8 crash"_ba << description << described;
    QTest::newRow("closes its output, runs on for 2 s") << "close-output linger=2000"_ba << description
                                                         << described;
    QTest::newRow("leaves a grandchild holding the output")
        << "grandchild linger=60000"_ba << description << described;
    QTest::newRow("bytes that are not UTF-8") << QByteArray() << "Input #0, \xff\xfe x \xc3(\x80"_ba
                                              << u" \uFFFD\uFFFD x \uFFFD(\uFFFD"_s;
    QTest::newRow("NUL bytes") << "chunk=3"_ba << QByteArray("Input #0,\0 a\0b\0", 15) << u" ab"_s;
    QTest::newRow("CR LF line ends") << QByteArray() << "Input #0, a\r\n  b\r\n  c\rd\r\n"_ba
                                     << u" a\r\n  b\r\n  c\rd"_s;
    const QByteArray line(qsizetype(1024) * 1024, 'Q');
    QTest::newRow("1 MiB without a newline") << "chunk=65536"_ba << QByteArray("Input #0," + line)
                                             << QString::fromLatin1(line);
}

void TestReliability::toolMisbehaves()
{
    QFETCH(QByteArray, directives);
    QFETCH(QByteArray, payload);
    QFETCH(QString, report);

    FakeProbeFixture fake;
    Tquorvelmain window(fake.toolPath());
    window.show();
    const QString clip = fake.script(u"clip.mp4"_s, directives, payload);
    QElapsedTimer timer;
    timer.start();
    window.loadvideofile(clip);

    QVERIFY2(timer.elapsed() < PromptMs, qPrintable(QString::number(timer.elapsed())));
    QVERIFY(!FakeProbeFixture::isRunning(fake.recordedPids().value(0)));
    QCOMPARE(reportArea(window)->toPlainText(), shown(clip + u"\n\n" + report));
    QCOMPARE(reportArea(window)->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    QVERIFY(window.isEnabled());

    // The window answers, and the next run works.
    QTest::keyClick(reportArea(window), Qt::Key_End, Qt::ControlModifier);
    const QString next = fake.script(u"next.mp4"_s, QByteArray(), "Input #0, next");
    window.loadvideofile(next);
    QCOMPARE(reportArea(window)->toPlainText(), QString(next + u"\n\n next"));
}

void TestReliability::toolCannotStart_data()
{
    QTest::addColumn<QString>("kind");

    QTest::newRow("missing") << u"missing"_s;
    QTest::newRow("not executable") << u"not executable"_s;
    QTest::newRow("a directory") << u"directory"_s;
    QTest::newRow("a dangling link") << u"dangling link"_s;
}

void TestReliability::toolCannotStart()
{
    QFETCH(QString, kind);

    FakeProbeFixture fake;
    const QString tool = fake.path(u"tool"_s);
    Tquorvelmain window(tool);
    window.show();
    const QString clip = fake.script(u"clip.mp4"_s, QByteArray(), "Input #0, x");
    if (kind == u"not executable")
        QVERIFY(QFile::copy(QFINDTESTDATA("tst_reliability.cpp"), tool));
    else if (kind == u"directory")
        QVERIFY(QDir().mkdir(tool));
    else if (kind == u"dangling link")
        QVERIFY(QFile::link(fake.path(u"gone"_s), tool));

    QElapsedTimer timer;
    timer.start();
    window.findChild<QAction *>(u"Refresh1"_s)->trigger();
    window.loadvideofile(clip);

    QVERIFY(timer.elapsed() < PromptMs);
    QVERIFY(reportArea(window)->toPlainText().isEmpty());
    QVERIFY(window.collectedText().isEmpty());
    QCOMPARE(window.rememberedPath(), u"Label1"_s);
    QVERIFY(window.isEnabled());
    QVERIFY(FakeProbeFixture::childProcesses().isEmpty());

    // Once the tool is back, runs work.
    if (kind == u"directory")
        QVERIFY(QDir(tool).removeRecursively());
    else
        QFile::remove(tool);
    QVERIFY(QFile::link(FakeProbeFixture::toolPath(), tool));
    window.loadvideofile(clip);
    QCOMPARE(reportArea(window)->toPlainText(), QString(clip + u"\n\n x"));
}

void TestReliability::pathReachesTheToolUnchanged_data()
{
    QTest::addColumn<QString>("name");

    QTest::newRow("spaces") << u"my  clip .mp4"_s;
    QTest::newRow("quotes") << u"say \"hi\" it's.mp4"_s;
    QTest::newRow("backquote") << u"`touch pwned`.mp4"_s;
    QTest::newRow("command substitution") << u"$(touch pwned).mp4"_s;
    QTest::newRow("separators") << u"a; touch pwned | touch pwned & touch pwned.mp4"_s;
    QTest::newRow("newline") << u"two\ntouch pwned\n.mp4"_s;
    QTest::newRow("leading dash") << u"-y.mp4"_s;
    QTest::newRow("4000 bytes") << QString(u"long/"_s.repeated(790) + u"x.mp4");
    QTest::newRow("emoji") << u"\U0001F3AC\U0001F44D\U0001F3FD.mp4"_s;
    QTest::newRow("right-to-left") << u"\u05e9\u05dc\u05d5\u05dd \u0645\u0631\u062d\u0628\u0627.mp4"_s;
    QTest::newRow("decomposed accents") << u"Te\u0301le\u0301.mp4"_s;
    QTest::newRow("composed accents") << u"T\u00e9l\u00e9.mp4"_s;
}

void TestReliability::pathReachesTheToolUnchanged()
{
    QFETCH(QString, name);

    FakeProbeFixture fake;
    Tquorvelmain window(fake.toolPath());
    const QString path = fake.path(name);
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    fake.script(name, QByteArray(), "Input #0, ok");
    const QStringList before = QDir(fake.path(QString())).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

    window.loadvideofile(path);

    const QList<QStringList> expected{{u"-i"_s, path}};
    QCOMPARE(fake.recordedArguments(), expected);
    // Byte for byte: the file system's own bytes, no normalisation on the way.
    QCOMPARE(QFile::encodeName(fake.recordedArguments().value(0).value(1)), QFile::encodeName(path));
    QCOMPARE(reportArea(window)->toPlainText(), QString(path + u"\n\n ok"));
    const QStringList after = QDir(fake.path(QString())).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    const QStringList logs{u"args.log"_s, u"pids.log"_s};
    QCOMPARE(QSet<QString>(after.begin(), after.end()), QSet<QString>(before.begin(), before.end()) + QSet<QString>(logs.begin(), logs.end()));
    QVERIFY(!QFile::exists(u"pwned"_s));
}

void TestReliability::toolInheritsNothingOfOurs()
{
    FakeProbeFixture fake;
    Tquorvelmain window(fake.toolPath());
    // Descriptors of our own that a careless start would hand down to the tool.
    QFile ours(fake.path(u"ours.txt"_s));
    QVERIFY(ours.open(QIODevice::WriteOnly));

    window.loadvideofile(fake.script(u"clip.mp4"_s, "inherited", "Input #0, x"));

    QCOMPARE(window.collectedText(), u"stdin: 0\nfds:\nInput #0, x"_s);
}

void TestReliability::manyRunsLeakNothing()
{
    FakeProbeFixture fake;
    Tquorvelmain window(fake.toolPath());
    window.show();
    const QString clip = fake.script(u"clip.mp4"_s, "chunk=40", "Input #0, mov, from 'clip.mp4':\n  Duration: 00:00:02.00\n");
    const qsizetype descriptors = openDescriptorCount();
    qint64 residentAfterWarmUp = 0;
    for (int run = 1; run <= 500; ++run) {
        window.loadvideofile(clip);
        if (run == 20)
            residentAfterWarmUp = residentKiB();
    }

    QCOMPARE(fake.recordedArguments().size(), 500);
    QCOMPARE(openDescriptorCount(), descriptors);
    QCOMPARE(FakeProbeFixture::childProcesses(), QList<qint64>());
    QVERIFY(fake.waitUntilNoneRunning());
    if (SanitizerBuild)
        QSKIP("A sanitizer build changes memory use");
    const qint64 growth = residentKiB() - residentAfterWarmUp;
    QVERIFY2(growth <= 2048, qPrintable(u"resident memory grew by " + QString::number(growth) + u" KiB"));
}

void TestReliability::namedPipeDoesNotHoldTheProgram()
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath(u"pipe.mp4"_s);
    QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    Tquorvelmain window(QStringLiteral(QUORVEL_TOOL_PATH));
    window.show();
    QTimer::singleShot(500, &window, &QWidget::close);
    QElapsedTimer timer;
    timer.start();

    window.loadvideofile(fifo);

    QVERIFY2(timer.elapsed() < PromptMs, qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(FakeProbeFixture::childProcesses(), QList<qint64>());
}

void TestReliability::thousandDroppedNames()
{
    FakeProbeFixture fake;
    Tquorvelmain window(fake.toolPath());
    window.show();
    QList<QUrl> urls;
    QStringList media;
    for (int i = 0; i < 1000; ++i) {
        const bool isMedia = i % 2 == 0;
        const QString name = QString::number(i).rightJustified(4, u'0') + (isMedia ? u".mp3" : u".doc");
        const QString path = fake.script(name, QByteArray(), "Input #0, " + name.toLatin1());
        urls.append(QUrl::fromLocalFile(path));
        if (isMedia)
            media.append(path);
    }
    dragAndDrop(reportArea(window)->viewport(), urls);

    QCOMPARE(fake.probedPaths(), media);
    QCOMPARE(reportArea(window)->toPlainText(), QString(media.last() + u"\n\n 0998.mp3"));
    QVERIFY(window.isEnabled());
    QTest::keyClick(reportArea(window), Qt::Key_Home, Qt::ControlModifier);
}

QTEST_MAIN(TestReliability)
#include "tst_reliability.moc"

#include "reportcut.h"

#include <QTest>

class TestReportCut : public QObject
{
    Q_OBJECT

private slots:
    void cut_data();
    void cut();
};

void TestReportCut::cut_data()
{
    QTest::addColumn<QString>("output");
    QTest::addColumn<QString>("report");

    const QString end = ReportEndMarker.toString();
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("no marker: whole text") << QStringLiteral("x.mp4: No such file or directory")
                                          << QStringLiteral("x.mp4: No such file or directory");
    QTest::newRow("both markers")
        << QString(u"ffmpeg version 5.1\nInput #0, mov, from 'a.mp4':\n  Duration: 00:00:02.00\n" + end)
        << QStringLiteral(" mov, from 'a.mp4':\n  Duration: 00:00:02.00\n");
    QTest::newRow("start marker only") << QStringLiteral("head Input #0, wav\n  tail")
                                       << QStringLiteral(" wav\n  tail");
    QTest::newRow("end marker only") << QString(u"head\n" + end + u"\ntail") << QStringLiteral("head\n");
    QTest::newRow("white space after the start marker kept")
        << QString(u"Input #0,\n\t  x  \n" + end) << QStringLiteral("\n\t  x  \n");
    QTest::newRow("first start marker counts")
        << QString(u"Input #0, a Input #0, b" + end) << QStringLiteral(" a Input #0, b");
    QTest::newRow("first end marker counts") << QString(u"Input #0, a" + end + u" b" + end)
                                             << QStringLiteral(" a");
    QTest::newRow("end marker before the start marker is not the end")
        << QString(end + u" Input #0, a\n") << QStringLiteral(" a\n");
    QTest::newRow("markers are case-sensitive")
        << QStringLiteral("input #0, a at least one output file must be specified")
        << QStringLiteral("input #0, a at least one output file must be specified");
    QTest::newRow("markers alone") << QString(u"Input #0," + end) << QString();
}

void TestReportCut::cut()
{
    QFETCH(QString, output);
    QFETCH(QString, report);
    QCOMPARE(cutReport(output), report);
}

QTEST_APPLESS_MAIN(TestReportCut)
#include "tst_reportcut.moc"

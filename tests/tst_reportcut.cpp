#include "reportcut.h"

#include <QTest>

using namespace Qt::StringLiterals;

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
    QTest::newRow("no marker: whole text") << u"x.mp4: No such file or directory"_s
                                          << u"x.mp4: No such file or directory"_s;
    QTest::newRow("both markers")
        << QString(u"ffmpeg version 5.1\nInput #0, mov, from 'a.mp4':\n  Duration: 00:00:02.00\n" + end)
        << u" mov, from 'a.mp4':\n  Duration: 00:00:02.00\n"_s;
    QTest::newRow("start marker only") << u"head Input #0, wav\n  tail"_s
                                       << u" wav\n  tail"_s;
    QTest::newRow("end marker only") << QString(u"head\n" + end + u"\ntail") << u"head\n"_s;
    QTest::newRow("white space after the start marker kept")
        << QString(u"Input #0,\n\t  x  \n" + end) << u"\n\t  x  \n"_s;
    QTest::newRow("first start marker counts")
        << QString(u"Input #0, a Input #0, b" + end) << u" a Input #0, b"_s;
    QTest::newRow("first end marker counts") << QString(u"Input #0, a" + end + u" b" + end)
                                             << u" a"_s;
    QTest::newRow("end marker before the start marker is not the end")
        << QString(end + u" Input #0, a\n") << u" a\n"_s;
    QTest::newRow("markers are case-sensitive")
        << u"input #0, a at least one output file must be specified"_s
        << u"input #0, a at least one output file must be specified"_s;
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

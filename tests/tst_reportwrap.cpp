#include "reportwrap.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestReportWrap : public QObject
{
    Q_OBJECT

private slots:
    void wrapMode_data();
    void wrapMode();
};

void TestReportWrap::wrapMode_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QTextOption::WrapMode>("mode");

    const auto atWords = QTextOption::WrapAtWordBoundaryOrAnywhere;
    QTest::newRow("empty") << QString() << atWords;
    QTest::newRow("a report") << u"/a/clip.mp4\n\n mov, from 'clip.mp4':\n  Duration: 00:00:02.00\n"_s << atWords;
    QTest::newRow("1000 characters unbroken") << QString(1000, u'Q') << atWords;
    QTest::newRow("1001 characters unbroken") << QString(1001, u'Q') << QTextOption::WrapAnywhere;
    QTest::newRow("long run after short words") << QString(u"a b c " + QString(5000, u'Q')) << QTextOption::WrapAnywhere;
    QTest::newRow("long text of short words") << u"word "_s.repeated(100000) << atWords;
    QTest::newRow("runs broken by line ends") << QString(QString(900, u'Q') + u'\n').repeated(100) << atWords;
}

void TestReportWrap::wrapMode()
{
    QFETCH(QString, text);
    QFETCH(QTextOption::WrapMode, mode);
    QCOMPARE(reportWrapMode(text), mode);
}

QTEST_APPLESS_MAIN(TestReportWrap)
#include "tst_reportwrap.moc"

#include "reportlayout.h"

#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

using namespace Qt::StringLiterals;

namespace {

// Lines longer than this are laid out without shaping and keep their layout between paints.
constexpr qsizetype LongLine = qsizetype(64) * 1024;

bool withoutShaping(const QFont &font)
{
    return (font.styleStrategy() & QFont::PreferNoShaping) != 0;
}

} // namespace

class TestReportLayout : public QObject
{
    Q_OBJECT

private slots:
    void longLines_data();
    void longLines();
    void shortReportAfterLongOne();
};

void TestReportLayout::longLines_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("hasLongLine");

    const QString limit(LongLine, u'Q');
    const QString over(LongLine + 1, u'Q');
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("a report") << u"/a/clip.mp4\n\n mov, from 'clip.mp4':\n  Duration: 00:00:02.00"_s << false;
    QTest::newRow("line at the limit") << limit << false;
    QTest::newRow("line at the limit, then short lines") << QString(limit + u"\nab\ncd") << false;
    QTest::newRow("line over the limit") << over << true;
    QTest::newRow("long line between short ones") << QString(u"Duration: 1\n" + over + u"\n  Stream #0:0") << true;
    QTest::newRow("line at the limit, then one over") << QString(limit + u'\n' + over) << true;
    QTest::newRow("long line last, after a line end") << QString(u"a\n"_s.repeated(1000) + over) << true;
}

// The text shows exactly as given; only blocks over the limit keep their layout, and shaping is
// left out exactly when there is such a block.
void TestReportLayout::longLines()
{
    QFETCH(QString, text);
    QFETCH(bool, hasLongLine);

    QPlainTextEdit area;
    area.resize(636, 500);
    const QFont areaFont = area.font();
    showReportText(&area, text);
    area.show();
    QVERIFY(QTest::qWaitForWindowExposed(&area));

    QCOMPARE(area.toPlainText(), text);
    QCOMPARE(area.font(), areaFont);
    QCOMPARE(withoutShaping(area.document()->defaultFont()), hasLongLine);
    for (QTextBlock block = area.document()->begin(); block.isValid(); block = block.next())
        QCOMPARE(block.layout()->cacheEnabled(), block.text().size() > LongLine);
}

// The settings for a long line must not stay behind for the next report.
void TestReportLayout::shortReportAfterLongOne()
{
    QPlainTextEdit area;
    showReportText(&area, QString(LongLine + 1, u'Q'));
    QVERIFY(withoutShaping(area.document()->defaultFont()));

    const QString report = u"Duration: 00:00:02.00\n  Stream #0:0: Video: h264"_s;
    showReportText(&area, report);
    QCOMPARE(area.toPlainText(), report);
    QVERIFY(!withoutShaping(area.document()->defaultFont()));
    QCOMPARE(area.document()->defaultFont(), area.font());
    for (QTextBlock block = area.document()->begin(); block.isValid(); block = block.next())
        QVERIFY(!block.layout()->cacheEnabled());
}

QTEST_MAIN(TestReportLayout)
#include "tst_reportlayout.moc"

#include "mediapatterns.h"

#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;

class TestMediaPatterns : public QObject
{
    Q_OBJECT

private slots:
    void openFilter();
    void nameFilters_data();
    void nameFilters();
};

void TestMediaPatterns::openFilter()
{
    QCOMPARE(MediaOpenFilter().size(), 831);

    const QStringList choices = nameFiltersFromFilter(MediaOpenFilter());
    QCOMPARE(choices.size(), 3);
    const QString lists[] = {AudioExtensionList + VideoExtensionList, AudioExtensionList, VideoExtensionList};
    const QString descriptions[] = {u"All Audio and Video Files"_s, u"Audio Files"_s, u"Video Files"_s};
    static const QRegularExpression choiceShape(uR"(^(.+) \(([^()]+)\)$)"_s);
    for (int i = 0; i < 3; ++i) {
        const QRegularExpressionMatch match = choiceShape.match(choices[i]);
        QVERIFY2(match.hasMatch(), qPrintable(choices[i]));
        QCOMPARE(match.captured(1), descriptions[i]);
        // Every pattern of the list, in order, duplicates included.
        QCOMPARE(match.captured(2).split(u' ').join(u';') + u';', lists[i]);
    }
}

void TestMediaPatterns::nameFilters_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("nameFilters");

    QTest::newRow("two pairs") << u"Pictures|*.PNG;*.JPG;|Text|*.TXT;|"_s
                               << QStringList{u"Pictures (*.PNG *.JPG)"_s, u"Text (*.TXT)"_s};
    QTest::newRow("no final bar") << u"Text|*.TXT"_s << QStringList{u"Text (*.TXT)"_s};
    QTest::newRow("description without patterns") << u"Text|"_s << QStringList{};
    QTest::newRow("empty") << QString() << QStringList{};
}

void TestMediaPatterns::nameFilters()
{
    QFETCH(QString, filter);
    QFETCH(QStringList, nameFilters);
    QCOMPARE(nameFiltersFromFilter(filter), nameFilters);
}

QTEST_APPLESS_MAIN(TestMediaPatterns)
#include "tst_mediapatterns.moc"

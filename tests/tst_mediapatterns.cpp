#include "mediapatterns.h"

#include <QRegularExpression>
#include <QStringList>
#include <QTest>

using namespace Qt::StringLiterals;

class TestMediaPatterns : public QObject
{
    Q_OBJECT

private slots:
    void openFilter();
    void nameFilters_data();
    void nameFilters();
    void mediaFileName_data();
    void mediaFileName();
};

void TestMediaPatterns::openFilter()
{
    QCOMPARE(MediaOpenFilter().size(), 831);

    const QStringList choices = nameFiltersFromFilter(MediaOpenFilter());
    QCOMPARE(choices.size(), 3);
    const QStringList lists = {AudioExtensionList + VideoExtensionList, AudioExtensionList, VideoExtensionList};
    const QStringList descriptions = {u"All Audio and Video Files"_s, u"Audio Files"_s, u"Video Files"_s};
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

void TestMediaPatterns::mediaFileName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("isMedia");

    QTest::newRow("video") << u"/home/me/clip.mp4"_s << true;
    QTest::newRow("audio") << u"/home/me/song.flac"_s << true;
    QTest::newRow("mixed case") << u"/home/me/Clip.Mp4"_s << true;
    QTest::newRow("text") << u"/home/me/notes.txt"_s << false;
    QTest::newRow("part of a pattern") << u"/home/me/archive.tar.m"_s << true;
    QTest::newRow("ends in a full stop") << u"/home/me/clip."_s << true;
    QTest::newRow("no extension") << u"/home/me/README"_s << false;
    QTest::newRow("dotted folder, file without extension") << u"/home/me/v1.2/clip"_s << false;
    QTest::newRow("backslash ends the extension") << u"C:\\films.avi\\clip"_s << false;
    QTest::newRow("colon ends the extension") << u"films.avi:clip"_s << false;
    QTest::newRow("only a to z raised") << u"/home/me/film.av\u0131"_s << false;
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("300 characters") << QString(u'/' + QString(290, u'a') + u"/x.mkv") << true;
    QTest::newRow("non-ASCII name") << u"/home/me/T\u00ebst \u05e9\u05dc\u05d5\u05dd.webm"_s << true;
}

void TestMediaPatterns::mediaFileName()
{
    QFETCH(QString, name);
    QFETCH(bool, isMedia);
    QCOMPARE(IsMediaFileName(name), isMedia);
}

QTEST_APPLESS_MAIN(TestMediaPatterns)
#include "tst_mediapatterns.moc"

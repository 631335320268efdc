#include "dragsimulation.h"
#include "fakeprobefixture.h"
#include "p_main.h"

#include <QAction>
#include <QDir>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>
#include <QUrl>

using namespace Qt::StringLiterals;

namespace {

QPlainTextEdit *reportArea(const Tquorvelmain &window)
{
    return window.findChild<QPlainTextEdit *>(u"memo_main"_s);
}

} // namespace

class TestDropFiles : public QObject
{
    Q_OBJECT

private slots:
    void mediaFilesAreProbedInOrder();
    void aMoveIsTakenAsACopy();
    void longPathIsProbedWhole();
    void dropDuringARunStartsNothing();
    void otherDragsKeepTheReportAreaBehaviour();
};

void TestDropFiles::mediaFilesAreProbedInOrder()
{
    FakeProbeFixture fake;
    Tquorvelmain window(fake.toolPath());
    window.show();
    const QString a = fake.script(u"a.mp4"_s, QByteArray(), "Input #0, first");
    const QString notes = fake.script(u"notes.txt"_s, QByteArray(), "Input #0, never");
    const QString concert = fake.path(u"Concert.avi"_s);
    QVERIFY(QDir().mkdir(concert));
    const QString b = fake.script(u"b.mkv"_s, QByteArray(), "Input #0, second");
    const QString c = fake.script(u"c.MP3"_s, "chunk=3", "Input #0, third\n");

    const DragOutcome result = dragAndDrop(reportArea(window)->viewport(), localFiles({a, notes, concert, b, c}));

    QVERIFY(result.enterAccepted && result.moveAccepted && result.dropAccepted);
    QCOMPARE(fake.probedPaths(), (QStringList{a, concert, b, c}));
    QCOMPARE(reportArea(window)->toPlainText(), QString(c + u"\n\n third"));
    QVERIFY(window.isEnabled());

    window.findChild<QAction *>(u"Refresh1"_s)->trigger();
    QCOMPARE(fake.probedPaths(), (QStringList{a, concert, b, c, c}));
}

void TestDropFiles::aMoveIsTakenAsACopy()
{
    FakeProbeFixture fake;
    Tquorvelmain window(fake.toolPath());
    window.show();
    const QString clip = fake.script(u"clip.mp4"_s, QByteArray(), "Input #0, x");

    const DragOutcome result = dragAndDrop(reportArea(window)->viewport(), localFiles({clip}), Qt::ShiftModifier);

    QVERIFY(result.dropAccepted);
    QCOMPARE(result.action, Qt::CopyAction);
    QVERIFY(QFile::exists(clip));
    QCOMPARE(fake.probedPaths(), QStringList{clip});
}

void TestDropFiles::longPathIsProbedWhole()
{
    FakeProbeFixture fake;
    Tquorvelmain window(fake.toolPath());
    window.show();
    // Folders of a library, a season and an episode: far past 79 characters.
    const QString folder = u"Library of Films and Series/A Series With A Long Name (2019)/Season 01/"_s
        + QString(180, u'e');
    QVERIFY(QDir(fake.path(QString())).mkpath(folder));
    const QString clip = fake.script(folder + u"/Episode 01 \u2013 The Beginning.mkv"_s, QByteArray(), "Input #0, long");
    QVERIFY(clip.size() >= 300);

    dragAndDrop(reportArea(window)->viewport(), localFiles({clip}));

    QCOMPARE(fake.probedPaths(), QStringList{clip});
    QCOMPARE(reportArea(window)->toPlainText(), QString(clip + u"\n\n long"));
}

void TestDropFiles::dropDuringARunStartsNothing()
{
    FakeProbeFixture fake;
    Tquorvelmain window(fake.toolPath());
    window.show();
    const QString slow = fake.script(u"slow.mp4"_s, "chunk=4 pause=600", "Input #0, slow");
    const QString other = fake.script(u"other.mp4"_s, QByteArray(), "Input #0, other");
    bool nestedDropAccepted = true;
    QTimer::singleShot(100, &window, [&] { nestedDropAccepted = dragAndDrop(reportArea(window)->viewport(), localFiles({other})).dropAccepted; });

    window.loadvideofile(slow);

    QVERIFY(!nestedDropAccepted);
    QCOMPARE(fake.probedPaths(), QStringList{slow});
    QCOMPARE(reportArea(window)->toPlainText(), QString(slow + u"\n\n slow"));
}

void TestDropFiles::otherDragsKeepTheReportAreaBehaviour()
{
    FakeProbeFixture fake;
    Tquorvelmain window(fake.toolPath());
    window.show();

    dragAndDrop(reportArea(window)->viewport(), {QUrl(u"https://example.org/clip.mp4"_s)});
    QCOMPARE(fake.probedPaths(), QStringList{});

    // Dropped text lands in the report area, as in any text field.
    QVERIFY(dragAndDropText(reportArea(window)->viewport(), u"dropped words"_s).dropAccepted);
    QVERIFY(reportArea(window)->toPlainText().contains(u"dropped words"_s));
    QCOMPARE(fake.probedPaths(), QStringList{});
}

QTEST_MAIN(TestDropFiles)
#include "tst_dropfiles.moc"

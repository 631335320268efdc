#include "fakeprobefixture.h"
#include "p_main.h"

#include <QAction>
#include <QDir>
#include <QDropEvent>
#include <QMimeData>
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

QStringList probedPaths(const FakeProbeFixture &fake)
{
    QStringList paths;
    for (const QStringList &arguments : fake.recordedArguments())
        paths.append(arguments.value(1));
    return paths;
}

struct DropResult
{
    bool enterAccepted = false;
    bool moveAccepted = false;
    bool dropAccepted = false;
    Qt::DropAction action = Qt::IgnoreAction;
};

// Delivers a drag the way Qt does: enter, move, then drop, on the report area's viewport.
// Shift asks for a move, as a file manager does when the person holds it.
DropResult drop(Tquorvelmain &window, QMimeData *data, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QWidget *target = reportArea(window)->viewport();
    const QPoint at = target->rect().center();
    const Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction;
    DropResult result;

    QDragEnterEvent enter(at, offered, data, Qt::LeftButton, modifiers);
    QCoreApplication::sendEvent(target, &enter);
    result.enterAccepted = enter.isAccepted();
    QDragMoveEvent move(at, offered, data, Qt::LeftButton, modifiers);
    QCoreApplication::sendEvent(target, &move);
    result.moveAccepted = move.isAccepted();
    QDropEvent dropEvent(at, offered, data, Qt::LeftButton, modifiers);
    QCoreApplication::sendEvent(target, &dropEvent);
    result.dropAccepted = dropEvent.isAccepted();
    result.action = dropEvent.dropAction();
    return result;
}

QMimeData *files(const QStringList &paths)
{
    auto *data = new QMimeData;
    QList<QUrl> urls;
    for (const QString &path : paths)
        urls.append(QUrl::fromLocalFile(path));
    data->setUrls(urls);
    return data;
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

    const DropResult result = drop(window, files({a, notes, concert, b, c}));

    QVERIFY(result.enterAccepted && result.moveAccepted && result.dropAccepted);
    QCOMPARE(probedPaths(fake), (QStringList{a, concert, b, c}));
    QCOMPARE(reportArea(window)->toPlainText(), QString(c + u"\n\n third"));
    QVERIFY(window.isEnabled());

    window.findChild<QAction *>(u"Refresh1"_s)->trigger();
    QCOMPARE(probedPaths(fake), (QStringList{a, concert, b, c, c}));
}

void TestDropFiles::aMoveIsTakenAsACopy()
{
    FakeProbeFixture fake;
    Tquorvelmain window(fake.toolPath());
    window.show();
    const QString clip = fake.script(u"clip.mp4"_s, QByteArray(), "Input #0, x");

    const DropResult result = drop(window, files({clip}), Qt::ShiftModifier);

    QVERIFY(result.dropAccepted);
    QCOMPARE(result.action, Qt::CopyAction);
    QVERIFY(QFile::exists(clip));
    QCOMPARE(probedPaths(fake), QStringList{clip});
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

    drop(window, files({clip}));

    QCOMPARE(probedPaths(fake), QStringList{clip});
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
    QTimer::singleShot(100, &window, [&] { nestedDropAccepted = drop(window, files({other})).dropAccepted; });

    window.loadvideofile(slow);

    QVERIFY(!nestedDropAccepted);
    QCOMPARE(probedPaths(fake), QStringList{slow});
    QCOMPARE(reportArea(window)->toPlainText(), QString(slow + u"\n\n slow"));
}

void TestDropFiles::otherDragsKeepTheReportAreaBehaviour()
{
    FakeProbeFixture fake;
    Tquorvelmain window(fake.toolPath());
    window.show();

    auto *web = new QMimeData;
    web->setUrls({QUrl(u"https://example.org/clip.mp4"_s)});
    drop(window, web);
    QCOMPARE(probedPaths(fake), QStringList{});

    // Dropped text lands in the report area, as in any text field.
    auto *text = new QMimeData;
    text->setText(u"dropped words"_s);
    QVERIFY(drop(window, text).dropAccepted);
    QVERIFY(reportArea(window)->toPlainText().contains(u"dropped words"_s));
    QCOMPARE(probedPaths(fake), QStringList{});
}

QTEST_MAIN(TestDropFiles)
#include "tst_dropfiles.moc"

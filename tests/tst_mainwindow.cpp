#include "fakeprobefixture.h"
#include "mediapatterns.h"
#include "p_main.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

constexpr qint64 PromptMs = 10000;

const QByteArray Report = "ffmpeg version 5.1.6\n"
                          "Input #0, mov,mp4,m4a,3gp,3g2,mj2, from 'clip.mp4':\n"
                          "  Metadata:\n    title           : T\xc3\xabst\n"
                          "  Duration: 00:00:02.00, start: 0.000000, bitrate: 120 kb/s\n"
                          "At least one output file must be specified\n";
const QString ReportCut = u" mov,mp4,m4a,3gp,3g2,mj2, from 'clip.mp4':\n"
                          "  Metadata:\n    title           : T\u00ebst\n"
                          "  Duration: 00:00:02.00, start: 0.000000, bitrate: 120 kb/s\n"_s;

QPlainTextEdit *reportArea(const Tquorvelmain &window)
{
    return window.findChild<QPlainTextEdit *>(u"memo_main"_s);
}

QAction *action(const Tquorvelmain &window, const QString &name)
{
    return window.findChild<QAction *>(name);
}

// Runs handle on the file dialog as soon as Load File has opened it.
void onFileDialog(const std::function<void(QFileDialog *)> &handle)
{
    QTimer::singleShot(10, [handle] {
        if (auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget()))
            handle(dialog);
        else
            onFileDialog(handle);
    });
}

QLineEdit *nameField(QFileDialog *dialog)
{
    return dialog->findChild<QLineEdit *>(u"fileNameEdit"_s);
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private slots:
    void startsCentredWithItsMenus();
    void showsTheCutReport();
    void disabledAndBusyDuringARun();
    void toolThatCannotStartChangesNothing();
    void refreshRepeatsTheLastPath();
    void requestsDuringARunStartNothing();
    void loadFileProbesEachChosenFileInOrder();
    void typedNameOfAMissingFileIsProbed();
    void dialogKeepsTheConfirmedFilterAndClearsTheName();
    void closingDuringAHungRunEndsPromptly();
    void aboutOpensTheBoxModally();
};

void TestMainWindow::startsCentredWithItsMenus()
{
    Tquorvelmain window(FakeProbeFixture::toolPath());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QCOMPARE(window.windowTitle(), u"Quorvel 1.2.5"_s);
    QCOMPARE(window.frameGeometry().size(), QSize(636, 554));
    QCOMPARE(window.frameGeometry().center(), window.screen()->availableGeometry().center());
    QCOMPARE(window.font().family(), u"Verdana"_s);
    QCOMPARE(reportArea(window)->font(), window.font());
    QCOMPARE(reportArea(window)->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(reportArea(window)->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    QVERIFY(reportArea(window)->toPlainText().isEmpty());

    QStringList titles;
    for (QAction *menu : window.menuBar()->actions())
        titles.append(menu->text());
    QCOMPARE(titles, (QStringList{u" &File "_s, u" &Help "_s}));
    QCOMPARE(action(window, u"loadvideo"_s)->text(), u"&Load File"_s);
    QCOMPARE(action(window, u"Refresh1"_s)->text(), u"&Refresh"_s);
    QCOMPARE(action(window, u"Refresh1"_s)->shortcut(), QKeySequence(Qt::Key_F5));
    QCOMPARE(action(window, u"Exit1"_s)->text(), u"&Exit"_s);
    QCOMPARE(action(window, u"About1"_s)->text(), u"&About"_s);

    action(window, u"Exit1"_s)->trigger();
    QVERIFY(!window.isVisible());
}

void TestMainWindow::showsTheCutReport()
{
    FakeProbeFixture fake;
    Tquorvelmain window(fake.toolPath());
    const QString path = fake.script(u"T\u00ebst clip.mp4"_s, "chunk=5", Report);

    window.loadvideofile(path);

    QCOMPARE(reportArea(window)->toPlainText(), QString(path + u"\n\n" + ReportCut));
    QCOMPARE(window.collectedText(), QString::fromUtf8(Report).trimmed());
    QCOMPARE(window.rememberedPath(), path);
}

void TestMainWindow::disabledAndBusyDuringARun()
{
    FakeProbeFixture fake;
    Tquorvelmain window(fake.toolPath());
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    reportArea(window)->setFocus();
    bool enabledDuringRun = true;
    Qt::CursorShape cursorDuringRun = Qt::ArrowCursor;
    QTimer::singleShot(100, &window, [&] {
        enabledDuringRun = window.isEnabled();
        cursorDuringRun = window.cursor().shape();
    });

    window.loadvideofile(fake.script(u"slow.mp4"_s, "chunk=10 pause=600", Report));

    QVERIFY(!enabledDuringRun);
    QCOMPARE(cursorDuringRun, Qt::BusyCursor);
    QVERIFY(window.isEnabled());
    QCOMPARE(window.cursor().shape(), Qt::ArrowCursor);
    // Disabling the window took the keyboard focus from the report area; it comes back, so that
    // the keys scroll the new report.
    QVERIFY(reportArea(window)->hasFocus());
}

void TestMainWindow::toolThatCannotStartChangesNothing()
{
    FakeProbeFixture fake;
    const QString tool = fake.toolLink();
    Tquorvelmain window(tool);
    const QString first = fake.script(u"first.mp4"_s, QByteArray(), Report);
    window.loadvideofile(first);
    const QString report = reportArea(window)->toPlainText();

    QFile::remove(tool);
    QElapsedTimer timer;
    timer.start();
    window.loadvideofile(fake.script(u"second.mp4"_s, QByteArray(), "other"));
    QVERIFY(timer.elapsed() < PromptMs);
    QCOMPARE(reportArea(window)->toPlainText(), report);
    QCOMPARE(window.collectedText(), QString::fromUtf8(Report).trimmed());
    QCOMPARE(window.rememberedPath(), first);
    QVERIFY(window.isEnabled());

    // Once the tool is back, the next run works.
    fake.toolLink();
    action(window, u"Refresh1"_s)->trigger();
    QCOMPARE(fake.probedPaths(), (QStringList{first, first}));
}

void TestMainWindow::refreshRepeatsTheLastPath()
{
    FakeProbeFixture fake;
    Tquorvelmain window(fake.toolPath());
    QAction *refresh = action(window, u"Refresh1"_s);

    // Before any run, Refresh probes the remembered path's initial text.
    refresh->trigger();
    QCOMPARE(fake.probedPaths(), QStringList{u"Label1"_s});
    QCOMPARE(reportArea(window)->toPlainText(), u"Label1\n\nLabel1: No such file or directory"_s);

    const QString clip = fake.script(u"clip.mp4"_s, QByteArray(), Report);
    window.loadvideofile(clip);
    refresh->trigger();
    QCOMPARE(fake.probedPaths(), (QStringList{u"Label1"_s, clip, clip}));
    QCOMPARE(reportArea(window)->toPlainText(), QString(clip + u"\n\n" + ReportCut));
}

void TestMainWindow::requestsDuringARunStartNothing()
{
    FakeProbeFixture fake;
    Tquorvelmain window(fake.toolPath());
    window.show();
    bool dialogOpened = false;
    QTimer::singleShot(100, &window, [&] {
        action(window, u"Refresh1"_s)->trigger();
        action(window, u"loadvideo"_s)->trigger();
        window.loadvideofile(fake.path(u"nested.mp4"_s));
        dialogOpened = QApplication::activeModalWidget() != nullptr;
    });

    const QString slow = fake.script(u"slow.mp4"_s, "chunk=10 pause=600", Report);
    window.loadvideofile(slow);

    QVERIFY(!dialogOpened);
    QCOMPARE(fake.probedPaths(), QStringList{slow});
    QCOMPARE(reportArea(window)->toPlainText(), QString(slow + u"\n\n" + ReportCut));
}

void TestMainWindow::loadFileProbesEachChosenFileInOrder()
{
    FakeProbeFixture fake;
    Tquorvelmain window(fake.toolLink());
    window.show();
    const QString a = fake.script(u"a.mp4"_s, QByteArray(), "Input #0, first");
    // The last run removes the tool, so the run after it cannot start.
    const QString b = fake.script(u"b.mkv"_s, "remove=tool", "Input #0, second");
    const QString c = fake.script(u"c.txt"_s, QByteArray(), "Input #0, third");
    onFileDialog([&](QFileDialog *dialog) {
        dialog->setDirectory(fake.path(QString()));
        // Names typed in any order, of any extension.
        nameField(dialog)->setText(u"\"c.txt\" \"a.mp4\" \"b.mkv\""_s);
        QTest::keyClick(nameField(dialog), Qt::Key_Return);
    });

    action(window, u"loadvideo"_s)->trigger();

    QCOMPARE(fake.probedPaths(), (QStringList{c, a, b}));
    QCOMPARE(reportArea(window)->toPlainText(), QString(b + u"\n\n second"));
    QCOMPARE(window.rememberedPath(), b);
}

void TestMainWindow::typedNameOfAMissingFileIsProbed()
{
    FakeProbeFixture fake;
    Tquorvelmain window(fake.toolPath());
    window.show();
    onFileDialog([&](QFileDialog *dialog) {
        dialog->setDirectory(fake.path(QString()));
        QTest::keyClicks(nameField(dialog), u"missing.mp4"_s);
        QTest::keyClick(nameField(dialog), Qt::Key_Return);
    });

    action(window, u"loadvideo"_s)->trigger();

    const QString missing = fake.path(u"missing.mp4"_s);
    QCOMPARE(fake.probedPaths(), QStringList{missing});
    QCOMPARE(reportArea(window)->toPlainText(), QString(missing + u"\n\n" + missing + u": No such file or directory"));
}

void TestMainWindow::dialogKeepsTheConfirmedFilterAndClearsTheName()
{
    FakeProbeFixture fake;
    Tquorvelmain window(fake.toolPath());
    window.show();
    const QString clip = fake.script(u"clip.mp4"_s, QByteArray(), Report);
    QAction *loadFile = action(window, u"loadvideo"_s);
    const QString all = u"All Audio and Video Files"_s;
    const QString video = u"Video Files"_s;
    const QStringList choices = nameFiltersFromFilter(MediaOpenFilter());
    // The filter box shows the descriptions only.
    QString filterAtOpening;
    QString nameAtOpening;
    const auto open = [&](int choose, bool confirm) {
        onFileDialog([&, choose, confirm](QFileDialog *dialog) {
            filterAtOpening = dialog->findChild<QComboBox *>(u"fileTypeCombo"_s)->currentText();
            nameAtOpening = nameField(dialog)->text();
            dialog->selectNameFilter(choices[choose]);
            dialog->setDirectory(fake.path(QString()));
            nameField(dialog)->setText(u"clip.mp4"_s);
            if (confirm)
                static_cast<QDialog *>(dialog)->accept();
            else
                dialog->reject();
        });
        loadFile->trigger();
    };

    open(2, true);
    QCOMPARE(filterAtOpening, all);
    QCOMPARE(nameAtOpening, QString());
    QCOMPARE(fake.probedPaths(), QStringList{clip});

    open(1, false);
    QCOMPARE(filterAtOpening, video);
    QCOMPARE(nameAtOpening, QString());
    QCOMPARE(fake.probedPaths(), QStringList{clip});

    open(0, true);
    QCOMPARE(filterAtOpening, video);
    QCOMPARE(nameAtOpening, QString());
    QCOMPARE(fake.probedPaths(), (QStringList{clip, clip}));
}

void TestMainWindow::closingDuringAHungRunEndsPromptly()
{
    FakeProbeFixture fake;
    Tquorvelmain window(fake.toolPath());
    window.show();
    QTimer::singleShot(200, &window, &QWidget::close);
    QElapsedTimer timer;
    timer.start();

    window.loadvideofile(fake.script(u"hung.mp4"_s, "ignore-term child hang", "Input #0, partial"));

    QVERIFY2(timer.elapsed() < PromptMs, qPrintable(QString::number(timer.elapsed())));
    QVERIFY(!window.isVisible());
    QCOMPARE(reportArea(window)->toPlainText(), QString(fake.path(u"hung.mp4"_s) + u"\n\n partial"));
    QCOMPARE(fake.recordedPids().size(), 2);
    QVERIFY(fake.waitUntilNoneRunning());
    QCOMPARE(FakeProbeFixture::childProcesses(), QList<qint64>());

    // A closing window starts no further run.
    window.loadvideofile(fake.path(u"hung.mp4"_s));
    QCOMPARE(fake.recordedArguments().size(), 1);
}

void TestMainWindow::aboutOpensTheBoxModally()
{
    Tquorvelmain window(FakeProbeFixture::toolPath());
    window.show();
    QString openedTitle;
    QTimer::singleShot(10, &window, [&openedTitle] {
        QWidget *box = QApplication::activeModalWidget();
        QVERIFY(box);
        openedTitle = box->windowTitle();
        box->close();
    });

    action(window, u"About1"_s)->trigger();

    QCOMPARE(openedTitle, u"About"_s);
    QVERIFY(!QApplication::activeModalWidget());
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"

#include "measurements.h"

#include "p_main.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QEvent>
#include <QEventLoop>
#include <QFile>
#include <QMainWindow>
#include <QMenuBar>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProcess>
#include <QTimer>
#include <QUrl>

#include <sys/resource.h>

#include <algorithm>
#include <ctime>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

// The main window's size; the reference window of the start-up row gets the same.
const QSize MainWindowSize(636, 554);
// Far longer than the slowest measurement takes.
constexpr int PaintTimeoutMs = 120'000;

// Watches a widget for paint events, so that a measurement can end once what it set up is on
// the screen.
class PaintWatch : public QObject
{
public:
    explicit PaintWatch(QWidget *widget)
    {
        widget->installEventFilter(this);
        m_timeout.setSingleShot(true);
        m_timeout.setInterval(PaintTimeoutMs);
        m_timeout.callOnTimeout(
            this, [] { qFatal("quorvel_bench: nothing was painted within %d s", PaintTimeoutMs / 1000); });
    }

    // Returns after the next paint event; a measurement that never shows its result ends the
    // benchmark rather than hang it.
    void waitForPaint()
    {
        m_painted = false;
        m_timeout.start();
        // cppcheck-suppress knownConditionTrueFalse ; the event filter sets m_painted during processEvents()
        while (!m_painted)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        m_timeout.stop();
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            m_painted = true;
        return false;
    }

private:
    bool m_painted = false;
    QTimer m_timeout;
};

QPlainTextEdit *reportArea(const Tquorvelmain &window)
{
    return window.findChild<QPlainTextEdit *>(u"memo_main"_s);
}

// A main window on the screen, painted and idle, with a watch on its report area.
struct ShownWindow
{
    explicit ShownWindow(const QString &toolPath)
        : window(toolPath)
        , watch(reportArea(window)->viewport())
    {
        window.show();
        watch.waitForPaint();
    }

    Tquorvelmain window;
    PaintWatch watch;
};

// A fresh report area on the screen, painted and idle.
struct ShownReportArea
{
    explicit ShownReportArea(QSize size)
        : watch(edit.viewport())
    {
        edit.resize(size);
        edit.show();
        watch.waitForPaint();
    }

    QPlainTextEdit edit;
    PaintWatch watch;
};

QByteArray readToolOutput(const QString &toolPath, const QString &mediaPath)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    QByteArray output;
    QEventLoop loop;
    QObject::connect(&process, &QProcess::readyRead, &loop, [&] { output += process.readAll(); });
    QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
    QObject::connect(&process, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
    process.start(toolPath, {u"-i"_s, mediaPath});
    loop.exec();
    output += process.readAll();
    return output;
}

double processCpuMs()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    const auto ms = [](const timeval &t) { return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3; };
    return ms(usage.ru_utime) + ms(usage.ru_stime);
}

qint64 peakResidentKiB()
{
    QFile status(u"/proc/self/status"_s);
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    constexpr QByteArrayView Field = "VmHWM:";
    const QList<QByteArray> lines = status.readAll().split('\n');
    const auto line =
        std::find_if(lines.cbegin(), lines.cend(), [Field](const QByteArray &l) { return l.startsWith(Field); });
    if (line == lines.cend())
        return -1;
    return line->mid(Field.size()).trimmed().split(' ').constFirst().toLongLong();
}

// Waits until the window's first paint has ended, and returns the clock at that moment.
qint64 firstPaintNs(QWidget &window)
{
    PaintWatch watch(&window);
    window.resize(MainWindowSize);
    window.show();
    watch.waitForPaint();
    // The window's own paint event comes first; its children paint in the same pass, which ends
    // before the next turn of the event loop.
    qint64 at = 0;
    QTimer::singleShot(0, &window, [&at] { at = monotonicNs(); });
    while (at == 0)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return at;
}

} // namespace

qint64 monotonicNs()
{
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return qint64(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

double oursRunMs(const QString &toolPath, const QString &mediaPath)
{
    ShownWindow shown(toolPath);
    QElapsedTimer timer;
    timer.start();
    shown.window.loadvideofile(mediaPath);
    shown.watch.waitForPaint();
    return double(timer.nsecsElapsed()) / 1e6;
}

double referenceRunMs(const QString &toolPath, const QString &mediaPath, QSize reportAreaSize)
{
    std::unique_ptr<ShownReportArea> shown;
    if (!reportAreaSize.isEmpty())
        shown = std::make_unique<ShownReportArea>(reportAreaSize);
    QElapsedTimer timer;
    timer.start();
    const QByteArray output = readToolOutput(toolPath, mediaPath);
    if (shown) {
        shown->edit.setPlainText(QString::fromUtf8(output));
        shown->watch.waitForPaint();
    }
    return double(timer.nsecsElapsed()) / 1e6;
}

CpuAndWall oursRunCpu(const QString &toolPath, const QString &mediaPath)
{
    ShownWindow shown(toolPath);
    QElapsedTimer timer;
    timer.start();
    const double cpuBefore = processCpuMs();
    shown.window.loadvideofile(mediaPath);
    shown.watch.waitForPaint();
    return {processCpuMs() - cpuBefore, double(timer.nsecsElapsed()) / 1e6};
}

double oursDropMs(const QString &toolPath, const QStringList &mediaPaths)
{
    ShownWindow shown(toolPath);
    QList<QUrl> urls;
    for (const QString &path : mediaPaths)
        urls.append(QUrl::fromLocalFile(path));
    QMimeData mime;
    mime.setUrls(urls);
    QWidget *viewport = reportArea(shown.window)->viewport();
    const QPointF at = viewport->rect().center();
    // A drop comes after the drag has entered and moved over the report area.
    QDragEnterEvent enter(at.toPoint(), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &enter);
    QDragMoveEvent move(at.toPoint(), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(viewport, &move);
    QDropEvent drop(at, Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);

    QElapsedTimer timer;
    timer.start();
    QCoreApplication::sendEvent(viewport, &drop);
    shown.watch.waitForPaint();
    return double(timer.nsecsElapsed()) / 1e6;
}

double referenceBatchMs(const QString &toolPath, const QStringList &mediaPaths)
{
    QElapsedTimer timer;
    timer.start();
    for (const QString &path : mediaPaths)
        readToolOutput(toolPath, path);
    return double(timer.nsecsElapsed()) / 1e6;
}

QSize reportAreaSize(const QString &toolPath)
{
    ShownWindow shown(toolPath);
    return reportArea(shown.window)->size();
}

qint64 oursPeakGrowthKiB(const QString &toolPath, const QString &mediaPath)
{
    ShownWindow shown(toolPath);
    const qint64 idle = peakResidentKiB();
    shown.window.loadvideofile(mediaPath);
    shown.watch.waitForPaint();
    return peakResidentKiB() - idle;
}

qint64 referencePeakGrowthKiB(const QString &toolPath, const QString &mediaPath, QSize reportAreaSize)
{
    ShownReportArea shown(reportAreaSize);
    const qint64 idle = peakResidentKiB();
    shown.edit.setPlainText(QString::fromUtf8(readToolOutput(toolPath, mediaPath)));
    shown.watch.waitForPaint();
    return peakResidentKiB() - idle;
}

qint64 oursFirstPaintNs()
{
    Tquorvelmain window;
    return firstPaintNs(window);
}

qint64 referenceFirstPaintNs()
{
    QMainWindow window;
    return firstPaintNs(window);
}

qint64 menuWindowFirstPaintNs()
{
    QMainWindow window;
    window.menuBar()->addMenu(u"&File"_s);
    return firstPaintNs(window);
}

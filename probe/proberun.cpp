#include "proberun.h"

#include <QStringList>

#ifdef Q_OS_UNIX
#include <csignal>
#include <unistd.h>
#endif

namespace {

// How long a tool asked to end may take before it is killed. FFmpeg ends at once on the
// request, except where it is blocked, for instance opening a named pipe that has no writer.
constexpr int EndGracePeriodMs = 500;
constexpr int KilledToolReapMs = 5000;

#ifdef Q_OS_UNIX
void signalToolGroup(qint64 pid, int signal)
{
    if (pid > 0)
        ::kill(-pid_t(pid), signal);
}
#endif

using namespace Qt::StringLiterals;

} // namespace

ProbeRun::ProbeRun(const QString &toolPath, const QString &mediaPath)
{
    m_process.setProgram(toolPath);
    m_process.setArguments({u"-i"_s, mediaPath});
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.setStandardInputFile(QProcess::nullDevice());
#ifdef Q_OS_UNIX
    m_process.setChildProcessModifier([] {
        // A group of its own lets us end the tool together with anything it starts.
        ::setpgid(0, 0);
        // Qt leaves our other descriptors open in the child. Marking them close-on-exec (rather
        // than closing them here) keeps QProcess's own start-up report pipe working.
        ::close_range(3, ~0U, CLOSE_RANGE_CLOEXEC);
    });
#endif
    QObject::connect(&m_process, &QProcess::readyRead, &m_loop, [this] { collect(); });
    QObject::connect(&m_process, &QProcess::finished, &m_loop, &QEventLoop::quit);
}

ProbeRun::~ProbeRun()
{
    endTool();
}

bool ProbeRun::start()
{
    m_process.start();
    return m_process.waitForStarted();
}

const ProbeOutput &ProbeRun::wait()
{
    if (m_process.state() == QProcess::Running && !m_stopRequested && !m_output.isFull())
        m_loop.exec();
    if (m_process.state() == QProcess::NotRunning)
        collect(); // the tail the tool wrote just before it ended
    else
        endTool();
    return m_output;
}

void ProbeRun::stop()
{
    m_stopRequested = true;
    m_loop.quit();
}

void ProbeRun::collect()
{
    if (!m_output.append(m_process.readAll()))
        m_loop.quit();
}

void ProbeRun::endTool()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    // What it prints from now on is not wanted; a closed pipe also stops a tool that writes.
    m_process.closeReadChannel(QProcess::StandardOutput);
#ifdef Q_OS_UNIX
    const qint64 pid = m_process.processId();
    signalToolGroup(pid, SIGTERM);
    m_process.waitForFinished(EndGracePeriodMs);
    // Also reaches what the tool started, even when the tool itself has ended.
    signalToolGroup(pid, SIGKILL);
#else
    m_process.terminate();
    if (!m_process.waitForFinished(EndGracePeriodMs))
        m_process.kill();
#endif
    m_process.waitForFinished(KilledToolReapMs);
}

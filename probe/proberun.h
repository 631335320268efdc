#pragma once

#include "probeoutput.h"

#include <QEventLoop>
#include <QProcess>
#include <QString>

// One run of the probe tool on one file. The tool gets exactly "-i" and the path as its two
// arguments, its standard output and error merged, standard input from the null device. While it
// runs, the caller's event loop keeps going; whatever ends the run, the tool (and anything it
// started) has ended when wait() returns.
class ProbeRun
{
public:
    ProbeRun(const QString &toolPath, const QString &mediaPath);
    ~ProbeRun();

    ProbeRun(const ProbeRun &) = delete;
    ProbeRun &operator=(const ProbeRun &) = delete;

    // False when the tool cannot be started (missing, not executable, ...).
    bool start();

    // Returns when the tool has ended, its output has reached ProbeOutput::Limit, stop() was
    // called, or the application is quitting. Whatever the tool printed until then is kept.
    const ProbeOutput &wait();

    // Ends the run early; takes effect in wait().
    void stop();

private:
    void collect();
    void endTool();

    QProcess m_process;
    QEventLoop m_loop;
    ProbeOutput m_output;
    bool m_stopRequested = false;
};

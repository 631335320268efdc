#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

// Single measurements, each of one run. Times are in milliseconds, memory in KiB.

// A whole run through the main window: loadvideofile() until the report area has painted the
// report.
double oursRunMs(const QString &toolPath, const QString &mediaPath);

// The tool started and read to the end by a minimal QProcess loop; with a report area of the given
// size (non-empty), the output is then shown there with setPlainText until it has painted.
double referenceRunMs(const QString &toolPath, const QString &mediaPath, QSize reportAreaSize = {});

// The processor time the program spends during one run through the main window, beside the
// run's wall time.
struct CpuAndWall
{
    double cpuMs = 0;
    double wallMs = 0;
};
CpuAndWall oursRunCpu(const QString &toolPath, const QString &mediaPath);

// All files dropped at once on the report area, until the last report has painted.
double oursDropMs(const QString &toolPath, const QStringList &mediaPaths);
// The same files, one bare tool run after another.
double referenceBatchMs(const QString &toolPath, const QStringList &mediaPaths);

// The size of the main window's report area once shown.
QSize reportAreaSize(const QString &toolPath);

// Run in a process of their own (see main): the growth of the peak resident memory over the idle
// state, and the monotonic clock when the first paint of the window has ended.
qint64 oursPeakGrowthKiB(const QString &toolPath, const QString &mediaPath);
qint64 referencePeakGrowthKiB(const QString &toolPath, const QString &mediaPath, QSize reportAreaSize);
qint64 oursFirstPaintNs();
qint64 referenceFirstPaintNs();
// The empty window with one menu in its menu bar, so that it loads fonts as ours does.
qint64 menuWindowFirstPaintNs();

qint64 monotonicNs();

// Measures Quorvel against its probe tool alone and prints one table. Each pair of figures comes
// from the same run of this program, measured alternately (ours, reference, ours, ...), because
// the machine is shared and noisy. The table quotes the median of each side's figures, and as the
// ratio the median of the pairs' ratios.
//
//   quorvel_bench [GROUP...]   all rows, or the groups named: probe waiting output line memory
//                              startup batch
//
// Each group runs in a process of its own: a run that leaves the heap large would otherwise spare
// the next group the page faults a fresh program pays. For the same reason, and to measure memory
// and start-up at all, the program runs itself in these modes:
//   quorvel_bench group GROUP
//   quorvel_bench memory ours|reference TOOL FILE WIDTH HEIGHT
//   quorvel_bench first-paint ours|reference|menu

#include "fixtures.h"
#include "heapreuse.h"
#include "measurements.h"
#include "toollocation.h"

#include <QApplication>
#include <QFile>
#include <QList>
#include <QProcess>
#include <QStringList>
#include <QTextStream>

#include <algorithm>
#include <cstdio>
#include <functional>

using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype KiB = 1024;
constexpr qsizetype MiB = 1024 * KiB;
constexpr int PausedToolMs = 2000;
constexpr int BatchFiles = 100;
const QStringList Groups = {u"probe"_s, u"waiting"_s, u"output"_s, u"line"_s, u"memory"_s, u"startup"_s, u"batch"_s};

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    const qsizetype n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

struct Pairs
{
    QList<double> ours;
    QList<double> reference;

    double oursMedian() const { return median(ours); }
    double referenceMedian() const { return median(reference); }
    // A pair shares the moment's load on the machine.
    double ratio() const
    {
        QList<double> ratios;
        for (qsizetype i = 0; i < ours.size(); ++i)
            ratios.append(ours[i] / reference[i]);
        return median(ratios);
    }
};

// A first pair, not counted, brings the files, the fonts and the tool into memory.
Pairs alternate(int count, const std::function<double()> &ours, const std::function<double()> &reference,
                bool warmUp = true)
{
    if (warmUp) {
        ours();
        reference();
    }
    Pairs pairs;
    for (int i = 0; i < count; ++i) {
        pairs.ours.append(ours());
        pairs.reference.append(reference());
    }
    return pairs;
}

QString ms(double value)
{
    return value >= 100 ? u"%1 ms"_s.arg(value, 0, 'f', 0) : u"%1 ms"_s.arg(value, 0, 'f', 1);
}

// Prints the rows of a table as they are measured.
class Rows
{
public:
    void add(const QString &name, const QString &ours, const QString &reference, double ratio, const QString &ratioText,
             double target, const QString &targetText)
    {
        m_out << "| " << name << " | " << ours << " | " << reference << " | " << ratioText << " | " << targetText
              << " | " << (ratio <= target ? "yes" : "NO") << " |\n";
        m_out.flush();
    }

    void addRatio(const QString &name, const Pairs &pairs, double target,
                  const std::function<QString(double)> &format = ms)
    {
        add(name, format(pairs.oursMedian()), format(pairs.referenceMedian()), pairs.ratio(),
            u"%1"_s.arg(pairs.ratio(), 0, 'f', 3), target, u"≤ %1"_s.arg(target, 0, 'f', 2));
    }

private:
    QTextStream m_out{stdout};
};

// Runs this program in another of its modes and returns what it prints.
QByteArray runSelf(const QStringList &arguments)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), arguments);
    const bool ended = child.waitForFinished(-1) && child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0;
    if (!ended)
        qFatal("quorvel_bench: \"%s\" failed", qPrintable(arguments.join(u' ')));
    return child.readAllStandardOutput();
}

qint64 measureInChild(const QStringList &arguments)
{
    bool isNumber = false;
    const qint64 value = runSelf(arguments).trimmed().toLongLong(&isNumber);
    if (!isNumber)
        qFatal("quorvel_bench: \"%s\" printed no number", qPrintable(arguments.join(u' ')));
    return value;
}

double startupMs(const QString &side)
{
    const qint64 start = monotonicNs();
    return double(measureInChild({u"first-paint"_s, side}) - start) / 1e6;
}

void progress(const QString &name)
{
    std::fprintf(stderr, "measuring: %s\n", qPrintable(name));
}

int measureGroup(const QString &group)
{
    Fixtures fixtures;
    if (!fixtures.isValid())
        qFatal("quorvel_bench: cannot make a folder for the files it probes");
    const QString tool = probeToolPath();
    const QString fake = QStringLiteral(BENCHTOOL_PATH);
    const auto clip = [&] {
        if (!fixtures.makeClip(tool, u"clip.mp4"_s))
            qFatal("quorvel_bench: cannot make a clip with %s", qPrintable(tool));
        return fixtures.path(u"clip.mp4"_s);
    };
    const QSize area = reportAreaSize(fake);
    Rows rows;

    if (group == u"probe") {
        const QString name = u"one probe of a real clip (3 s, H.264 and AAC)"_s;
        progress(name);
        const QString media = clip();
        rows.addRatio(name,
                      alternate(
                          15, [&] { return oursRunMs(tool, media); }, [&] { return referenceRunMs(tool, media); }),
                      1.05);
    } else if (group == u"waiting") {
        const QString name = u"waiting: processor time during a run that pauses 2 s"_s;
        progress(name);
        const QString paused = fixtures.pausedOutput(u"paused.mp4"_s, PausedToolMs);
        QList<double> cpu;
        QList<double> wall;
        for (int i = 0; i < 3; ++i) {
            const CpuAndWall run = oursRunCpu(fake, paused);
            cpu.append(run.cpuMs);
            wall.append(run.wallMs);
        }
        const double ratio = median(cpu) / median(wall);
        rows.add(name, ms(median(cpu)) + u" CPU"_s, ms(median(wall)) + u" wall"_s, ratio,
                 u"%1 %"_s.arg(ratio * 100, 0, 'f', 2), 0.01, u"≤ 1 %"_s);
    } else if (group == u"output") {
        const QList<std::pair<qsizetype, QString>> sizes = {
            {64 * KiB, u"64 KiB"_s}, {1 * MiB, u"1 MiB"_s}, {4 * MiB, u"4 MiB"_s}, {16 * MiB, u"16 MiB"_s}};
        QList<double> oursMs;
        for (const auto &[bytes, label] : sizes) {
            const QString name = u"output of %1 in 75-character lines"_s.arg(label);
            progress(name);
            const QString output = fixtures.output(u"output-%1.mp4"_s.arg(bytes), bytes);
            const int count = bytes >= 16 * MiB ? 5 : bytes >= 4 * MiB ? 9 : bytes >= MiB ? 15 : 21;
            const Pairs pairs = alternate(
                count, [&] { return oursRunMs(fake, output); }, [&] { return referenceRunMs(fake, output, area); });
            oursMs.append(pairs.oursMedian());
            rows.addRatio(name, pairs, 1.15);
        }
        const double at1 = oursMs[1];
        const double at16 = oursMs[3] / 16;
        rows.add(u"time per MiB of output: ours at 16 MiB, reference ours at 1 MiB"_s, ms(at16) + u"/MiB"_s,
                 ms(at1) + u"/MiB"_s, at16 / at1, u"%1"_s.arg(at16 / at1, 0, 'f', 3), 1.5, u"≤ 1.50"_s);
    } else if (group == u"line") {
        const QString name = u"one line of 1 MiB without a place to break, against 1 MiB in lines"_s;
        progress(name);
        const QString line = fixtures.unbrokenLine(u"line.mp4"_s, MiB);
        const QString lines = fixtures.output(u"lines.mp4"_s, MiB);
        rows.addRatio(name,
                      alternate(
                          15, [&] { return oursRunMs(fake, line); }, [&] { return referenceRunMs(fake, lines, area); }),
                      3);
    } else if (group == u"memory") {
        const QString name = u"memory: growth of peak resident memory at 16 MiB of output"_s;
        progress(name);
        const QString output = fixtures.output(u"memory.mp4"_s, 16 * MiB);
        const QStringList size = {QString::number(area.width()), QString::number(area.height())};
        const auto growth = [&](const QString &side) {
            return double(measureInChild(QStringList{u"memory"_s, side, fake, output} + size));
        };
        rows.addRatio(name,
                      alternate(
                          3, [&] { return growth(u"ours"_s); }, [&] { return growth(u"reference"_s); }, false),
                      1.25, [](double kib) { return u"%1 MiB"_s.arg(kib / 1024, 0, 'f', 1); });
    } else if (group == u"startup") {
        // The empty window draws no text and so never loads the fonts; the second row sets the
        // same start-up beside a window that does.
        const QList<std::pair<QString, QString>> references = {
            {u"start-up: process start to the main window's first paint"_s, u"reference"_s},
            {u"start-up, against an empty window with one menu (fonts loaded on both sides)"_s, u"menu"_s}};
        for (const auto &[name, side] : references) {
            progress(name);
            rows.addRatio(name,
                          alternate(
                              21, [] { return startupMs(u"ours"_s); }, [side = side] { return startupMs(side); }),
                          1.25);
        }
    } else if (group == u"batch") {
        const QString name = u"100 files in one drop, against 100 bare tool runs"_s;
        progress(name);
        const QString media = clip();
        QStringList batch;
        for (int i = 0; i < BatchFiles; ++i) {
            const QString copy = fixtures.path(u"clip%1.mp4"_s.arg(i, 3, 10, QChar(u'0')));
            QFile::copy(media, copy);
            batch.append(copy);
        }
        rows.addRatio(
            name,
            alternate(
                3, [&] { return oursDropMs(tool, batch); }, [&] { return referenceBatchMs(tool, batch); }, false),
            1.05, [](double value) { return u"%1 s"_s.arg(value / 1000, 0, 'f', 2); });
    } else {
        std::fprintf(stderr, "quorvel_bench: no group %s; the groups are: %s\n", qPrintable(group),
                     qPrintable(Groups.join(u' ')));
        return 2;
    }
    return 0;
}

int printTable(const QStringList &wanted)
{
    for (const QString &group : wanted) {
        if (!Groups.contains(group)) {
            std::fprintf(stderr, "quorvel_bench: no group %s; the groups are: %s\n", qPrintable(group),
                         qPrintable(Groups.join(u' ')));
            return 2;
        }
    }
    QTextStream out(stdout);
    out << "| case | ours | reference (same run) | ratio | target | met? |\n"
           "|---|---|---|---|---|---|\n";
    out.flush();
    for (const QString &group : Groups) {
        if (wanted.isEmpty() || wanted.contains(group)) {
            out << runSelf({u"group"_s, group});
            out.flush();
        }
    }
    return 0;
}

QtMessageHandler defaultMessageHandler = nullptr;

// The offscreen platform tells of each new window that it ignores size hints; the progress lines
// are easier to follow without that.
void messageHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (!message.contains(u"propagateSizeHints"))
        defaultMessageHandler(type, context, message);
}

} // namespace

int main(int argc, char *argv[])
{
    // Set up as the program sets itself up; the reference side runs in the same process.
    keepLargeBlocksForReuse();
    defaultMessageHandler = qInstallMessageHandler(messageHandler);
    QApplication app(argc, argv);
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    const QString mode = arguments.value(0);
    const bool ours = arguments.value(1) == u"ours";

    if (mode == u"group" && arguments.size() == 2)
        return measureGroup(arguments[1]);
    if (mode == u"memory" && arguments.size() == 6) {
        const QString &tool = arguments[2];
        const QString &file = arguments[3];
        const QSize area(arguments[4].toInt(), arguments[5].toInt());
        const qint64 kib = ours ? oursPeakGrowthKiB(tool, file) : referencePeakGrowthKiB(tool, file, area);
        std::printf("%lld\n", static_cast<long long>(kib));
        return 0;
    }
    if (mode == u"first-paint" && arguments.size() == 2) {
        const QString side = arguments.value(1);
        const qint64 at = ours ? oursFirstPaintNs()
            : side == u"menu"  ? menuWindowFirstPaintNs()
                               : referenceFirstPaintNs();
        std::printf("%lld\n", static_cast<long long>(at));
        return 0;
    }
    return printTable(arguments);
}

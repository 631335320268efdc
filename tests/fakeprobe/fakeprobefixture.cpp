#include "fakeprobefixture.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <algorithm>
#include <csignal>

using namespace Qt::StringLiterals;

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

FakeProbeFixture::FakeProbeFixture()
    : m_savedPids(qgetenv("FAKEPROBE_PIDS"))
    , m_savedArgs(qgetenv("FAKEPROBE_ARGS"))
{
    qputenv("FAKEPROBE_PIDS", QFile::encodeName(m_dir.filePath(u"pids.log"_s)));
    qputenv("FAKEPROBE_ARGS", QFile::encodeName(m_dir.filePath(u"args.log"_s)));
}

FakeProbeFixture::~FakeProbeFixture()
{
    for (const qint64 pid : recordedPids())
        ::kill(pid_t(pid), SIGKILL);
    qputenv("FAKEPROBE_PIDS", m_savedPids);
    qputenv("FAKEPROBE_ARGS", m_savedArgs);
}

QString FakeProbeFixture::toolPath()
{
    return QStringLiteral(FAKEPROBE_PATH);
}

QString FakeProbeFixture::toolLink() const
{
    QString link = path(u"tool"_s);
    if (!QFileInfo::exists(link) && !QFile::link(toolPath(), link))
        qFatal("cannot link %s", qPrintable(link));
    return link;
}

QString FakeProbeFixture::script(const QString &name, const QByteArray &directives,
                                 const QByteArray &payload) const
{
    QString scriptPath = path(name);
    QFile file(scriptPath);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(scriptPath));
    file.write(directives + '\n' + payload);
    return scriptPath;
}

QList<qint64> FakeProbeFixture::recordedPids() const
{
    QList<qint64> pids;
    const QList<QByteArray> lines = readAll(path(u"pids.log"_s)).split('\n');
    for (const QByteArray &line : lines) {
        if (!line.isEmpty())
            pids.append(line.toLongLong());
    }
    return pids;
}

QList<QStringList> FakeProbeFixture::recordedArguments() const
{
    QList<QStringList> runs;
    const QList<QByteArray> fields = readAll(path(u"args.log"_s)).split('\0');
    for (qsizetype i = 0; i + 1 < fields.size();) {
        const qsizetype count = fields[i + 1].toLongLong();
        QStringList arguments;
        for (qsizetype k = 0; k < count; ++k)
            arguments.append(QFile::decodeName(fields[i + 2 + k]));
        runs.append(arguments);
        i += 2 + count;
    }
    return runs;
}

QStringList FakeProbeFixture::probedPaths() const
{
    QStringList paths;
    for (const QStringList &arguments : recordedArguments())
        paths.append(arguments.value(1));
    return paths;
}

bool FakeProbeFixture::isRunning(qint64 pid)
{
    // A zombie that is not ours waits for someone else to reap it and runs no more; one of ours
    // means we failed to reap it, and counts.
    const QByteArray stat = readAll(u"/proc/" + QString::number(pid) + u"/stat");
    if (stat.isEmpty())
        return false;
    const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
    const bool zombie = fields.value(0) == "Z";
    const bool ours = fields.value(1).toLongLong() == QCoreApplication::applicationPid();
    return !zombie || ours;
}

QList<qint64> FakeProbeFixture::childProcesses()
{
    QList<qint64> children;
    const QByteArray self = QByteArray::number(QCoreApplication::applicationPid());
    for (const QString &entry : QDir(u"/proc"_s).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QByteArray stat = readAll(u"/proc/" + entry + u"/stat");
        const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
        if (!stat.isEmpty() && fields.value(1) == self)
            children.append(entry.toLongLong());
    }
    return children;
}

bool FakeProbeFixture::waitUntilNoneRunning() const
{
    QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired()) {
        const QList<qint64> pids = recordedPids();
        if (std::none_of(pids.begin(), pids.end(), isRunning))
            return true;
        QThread::msleep(20);
    }
    return false;
}

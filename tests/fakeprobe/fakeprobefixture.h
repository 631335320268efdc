#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// Files for the fake probe tool in a temporary folder, and what its runs recorded there.
class FakeProbeFixture
{
public:
    FakeProbeFixture();
    ~FakeProbeFixture();

    static QString toolPath();
    // A link to the fake tool in the fixture's folder, named "tool", which tests may remove.
    QString toolLink() const;

    // A file that makes the fake tool print payload as directives say (see fakeprobe.cpp).
    QString script(const QString &name, const QByteArray &directives, const QByteArray &payload) const;

    QString path(const QString &name) const { return m_dir.filePath(name); }

    // Process ids of every fake tool run so far and of what those runs started.
    QList<qint64> recordedPids() const;
    // The arguments of each fake tool run so far, in order.
    QList<QStringList> recordedArguments() const;
    // The path each run was asked to probe, in order.
    QStringList probedPaths() const;

    static bool isRunning(qint64 pid);
    // Processes whose parent is this one, zombies included.
    static QList<qint64> childProcesses();
    // Waits (within a generous bound) until none of the recorded processes is left.
    bool waitUntilNoneRunning() const;

private:
    QTemporaryDir m_dir;
    QByteArray m_savedPids;
    QByteArray m_savedArgs;
};

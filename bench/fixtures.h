#pragma once

#include <QString>
#include <QTemporaryDir>

// The files the benchmark probes, made in a folder of their own that goes away with the object.
class Fixtures
{
public:
    bool isValid() const { return m_dir.isValid(); }
    QString path(const QString &name) const { return m_dir.filePath(name); }

    // A clip of a few seconds with video and audio, made by the probe tool itself (it is FFmpeg).
    bool makeClip(const QString &toolPath, const QString &name);

    // Files for the bench tool: output of exactly totalBytes in 75-character lines, one line of
    // lineBytes without a place to break, or a short report printed in two halves with a pause
    // between them. Each output is laid out like FFmpeg's, between the report's markers.
    QString output(const QString &name, qsizetype totalBytes);
    QString unbrokenLine(const QString &name, qsizetype lineBytes);
    QString pausedOutput(const QString &name, int pauseMs);

private:
    QString write(const QString &name, const QByteArray &directives, const QByteArray &text);

    QTemporaryDir m_dir;
};

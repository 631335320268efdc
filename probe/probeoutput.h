#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Everything the probe tool printed during one run, kept as raw bytes so that a character split
// between two reads stays whole; it is decoded once, when the run is over.
class ProbeOutput
{
public:
    // A tool that prints without end must not exhaust memory; what comes past this is dropped.
    static constexpr qsizetype Limit = qsizetype(16) * 1024 * 1024;

    // Returns false once the limit is reached: the caller should end the tool.
    bool append(QByteArrayView piece);
    bool isFull() const { return m_bytes.size() >= Limit; }

    // The output as text: NUL bytes removed, decoded as UTF-8 (invalid bytes become replacement
    // characters), control characters and spaces trimmed at both ends.
    QString text() const;

private:
    QByteArray m_bytes;
};

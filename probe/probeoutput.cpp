#include "probeoutput.h"

namespace {

bool isBlank(QChar c)
{
    return c.unicode() <= u' ';
}

} // namespace

bool ProbeOutput::append(QByteArrayView piece)
{
    const qsizetype room = Limit - m_bytes.size();
    m_bytes.append(piece.first(std::min(room, piece.size())));
    return !isFull();
}

QString ProbeOutput::text() const
{
    QByteArray withoutNuls;
    QByteArrayView bytes = m_bytes;
    if (bytes.contains('\0')) {
        withoutNuls = m_bytes;
        withoutNuls.replace('\0', QByteArrayView());
        bytes = withoutNuls;
    }
    QString decoded = QString::fromUtf8(bytes);

    qsizetype begin = 0;
    qsizetype end = decoded.size();
    while (begin < end && isBlank(decoded.at(begin)))
        ++begin;
    while (end > begin && isBlank(decoded.at(end - 1)))
        --end;
    // Trimmed in place: the output can reach 16 MiB, and a trimmed copy would be as large again.
    decoded.truncate(end);
    decoded.remove(0, begin);
    return decoded;
}

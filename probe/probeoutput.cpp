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
    const QString decoded = QString::fromUtf8(bytes);

    qsizetype begin = 0;
    qsizetype end = decoded.size();
    while (begin < end && isBlank(decoded[begin]))
        ++begin;
    while (end > begin && isBlank(decoded[end - 1]))
        --end;
    return begin == 0 && end == decoded.size() ? decoded : decoded.sliced(begin, end - begin);
}

// The report from the tool's raw output: bytes collected piece by piece, turned into text, cut
// between the markers.

#include "fuzzcheck.h"
#include "probeoutput.h"
#include "reportcut.h"

#include <QByteArray>
#include <QHashFunctions>

#include <algorithm>
#include <random>
#include <vector>

namespace {

QString reportOf(const std::vector<QByteArrayView> &pieces)
{
    ProbeOutput output;
    for (const QByteArrayView piece : pieces)
        output.append(piece);
    return cutReport(output.text());
}

// How bytes read on their own: NUL bytes dropped, the rest decoded as UTF-8.
QString textOf(QByteArrayView bytes)
{
    QByteArray kept = bytes.toByteArray();
    kept.removeIf([](char c) { return c == '\0'; });
    return QString::fromUtf8(kept);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes = bytesOf(data, size);
    const QString report = reportOf({bytes});
    require(!report.contains(ReportEndMarker), "the report never holds the end marker", report);

    // The cuts come from the input itself, so that a finding replays the same way.
    std::minstd_rand random(std::minstd_rand::result_type(qHash(bytes)));
    const auto anyPosition = [&random, size] {
        return qsizetype(std::uniform_int_distribution<size_t>(0, size)(random));
    };

    // However the tool's writes cut its output (inside a character or a marker, into empty
    // pieces), the report is the same.
    std::vector<qsizetype> cuts(std::uniform_int_distribution<size_t>(1, 8)(random));
    std::generate(cuts.begin(), cuts.end(), anyPosition);
    std::sort(cuts.begin(), cuts.end());
    std::vector<QByteArrayView> pieces;
    qsizetype from = 0;
    for (const qsizetype cut : cuts) {
        pieces.push_back(bytes.sliced(from, cut - from));
        from = cut;
    }
    pieces.push_back(bytes.sliced(from));
    require(reportOf(pieces) == report, "pieces give the report of the whole");
    std::vector<QByteArrayView> singleBytes;
    for (qsizetype i = 0; i < bytes.size(); ++i)
        singleBytes.push_back(bytes.sliced(i, 1));
    require(reportOf(singleBytes) == report, "single bytes give the report of the whole");

    // Between the markers: the input cut into a, b and c gives a + start + b + end + c, whose
    // report is exactly b. That holds when a has no start marker (an end marker in a is fine: it
    // comes before the start) and b has no end marker (a start marker in b is fine: only the
    // first one counts), NUL bytes dropped. No marker may arise across a seam either.
    qsizetype aEnd = anyPosition();
    qsizetype bEnd = anyPosition();
    if (aEnd > bEnd)
        std::swap(aEnd, bEnd);
    const QByteArrayView a = bytes.first(aEnd);
    const QByteArrayView b = bytes.sliced(aEnd, bEnd - aEnd);
    const QByteArrayView c = bytes.sliced(bEnd);
    const QString middle = textOf(b);
    if (!textOf(a).contains(ReportStartMarker) && !middle.contains(ReportEndMarker)) {
        const QByteArray framed =
            a.toByteArray() + ReportStartMarker.toUtf8() + b.toByteArray() + ReportEndMarker.toUtf8() + c.toByteArray();
        const QString framedReport = reportOf({framed});
        require(framedReport == middle, "the report of a + start + b + end + c is b",
                framedReport + u"\n----\n" + middle);
    }
    return 0;
}

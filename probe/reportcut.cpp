#include "reportcut.h"

QString cutReport(QStringView output)
{
    QStringView report = output;
    if (const qsizetype start = report.indexOf(ReportStartMarker); start >= 0)
        report = report.sliced(start + ReportStartMarker.size());
    if (const qsizetype end = report.indexOf(ReportEndMarker); end >= 0)
        report.truncate(end);
    return report.toString();
}

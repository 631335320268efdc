#pragma once

#include <QString>
#include <QStringView>

// FFmpeg describes its input after this marker...
inline constexpr QStringView ReportStartMarker = u"Input #0,";
// ...and complains about the missing output file after the description.
inline constexpr QStringView ReportEndMarker = u"At least one output file must be specified";

// The part of the tool's output that describes the input file: what lies after the first start
// marker and before the first end marker that follows it. Without a marker the text stays whole
// on that side.
QString cutReport(QStringView output);

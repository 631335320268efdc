#pragma once

#include <QLatin1StringView>
#include <QString>
#include <QStringList>

// The file patterns Quorvel offers in its open dialog, each followed by a semicolon. "*.TTA"
// stands twice in the audio list, as it always has.
inline constexpr QLatin1StringView AudioExtensionList(
    "*.WAV;*.WAVE;*.MP3;*.WMA;*.AAC;*.AC3;*.FLAC;*.ALAC;*.M4A;*.MID;*.MKA;*.MP2;*.MPA;*.MPC;*.APE;"
    "*.OFR;*.OGG;*.RA;*.WV;*.TTA;*.DTS;*.G726;*.GSM;*.AIF;*.AIFF;*.AIFC;*.AU;*.SND;*.PCM;*.DSP;"
    "*.COOK;*.DCA;*.IMC;*.TTA;");
inline constexpr QLatin1StringView VideoExtensionList(
    "*.AVI;*.MPG;*.MPEG;*.WMV;*.MP4;*.M4V;*.3GP;*.RMVB;*.RM;*.FLV;*.SWF;*.MKV;*.H264;*.WEBM;*.MOV;"
    "*.VOB;*.IFO;*.YUV;*.AVM;*.ASF;*.AVS;*.DAT;*.OGM;*.TS;*.TP;*.NSV;*.AMV;*.ASV;*.FFV;*.MTS;");

// The open dialog's filter as description|patterns| pairs: all media files, audio, video.
const QString &MediaOpenFilter();

// Whether a dropped name looks like a media file. Its extension runs from the last full stop
// that comes after every path separator and colon; the name passes when that extension, in
// upper case, occurs anywhere in either pattern list. So ".MP3" passes, and so do ".MP", ".M"
// and a lone "."; a name without a full stop never does.
bool IsMediaFileName(QStringView name);

// A filter of description|patterns| pairs as Qt's file dialog takes it: one entry
// "Description (*.A *.B)" per pair, in order.
QStringList nameFiltersFromFilter(QStringView filter);

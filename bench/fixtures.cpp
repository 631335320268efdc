#include "fixtures.h"

#include <QFile>
#include <QProcess>
#include <QRandomGenerator>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

constexpr QByteArrayView Banner = "ffmpeg version 5.1 Copyright (c) 2000-2022 the FFmpeg developers\n"
                                  "  built with gcc 12 (Debian 12.2.0-14)\n"
                                  "  libavutil      57. 28.100 / 57. 28.100\n"
                                  "  libavformat    59. 27.100 / 59. 27.100\n";
constexpr QByteArrayView InputLine = "Input #0, mov,mp4,m4a,3gp,3g2,mj2, from 'bench.mp4':\n";
constexpr QByteArrayView EndLine = "At least one output file must be specified\n";
constexpr qsizetype LineLength = 75;

QByteArray framed(const QByteArray &report)
{
    return Banner + InputLine + report + EndLine;
}

} // namespace

bool Fixtures::makeClip(const QString &toolPath, const QString &name)
{
    QProcess tool;
    tool.setProcessChannelMode(QProcess::ForwardedChannels);
    tool.start(toolPath,
               {u"-v"_s, u"error"_s, u"-y"_s, u"-f"_s, u"lavfi"_s, u"-i"_s,
                u"testsrc=duration=3:size=320x240:rate=25"_s, u"-f"_s, u"lavfi"_s, u"-i"_s,
                u"sine=frequency=440:duration=3"_s, u"-c:v"_s, u"libx264"_s, u"-pix_fmt"_s, u"yuv420p"_s, u"-c:a"_s,
                u"aac"_s, u"-shortest"_s, path(name)});
    return tool.waitForFinished(-1) && tool.exitStatus() == QProcess::NormalExit && tool.exitCode() == 0;
}

QString Fixtures::output(const QString &name, qsizetype totalBytes)
{
    const qsizetype frame = framed(QByteArray()).size();
    QByteArray report;
    report.reserve(totalBytes - frame);
    // Lines of words, as a metadata listing would print them.
    for (qsizetype number = 0; report.size() < totalBytes - frame; ++number) {
        QByteArray line = "    comment " + QByteArray::number(number).rightJustified(8, '0')
            + "    : the quick brown fox jumps over the lazy dog";
        line = line.leftJustified(LineLength - 1, '.') + '\n';
        report += line.first(std::min(line.size(), totalBytes - frame - report.size()));
    }
    return write(name, QByteArray(), framed(report));
}

QString Fixtures::unbrokenLine(const QString &name, qsizetype lineBytes)
{
    // Letters and digits only: '+' and '/' of base64 would give the line breaker places to break.
    constexpr QByteArrayView Alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QByteArray value(lineBytes, Qt::Uninitialized);
    QRandomGenerator random(1);
    std::generate(value.begin(), value.end(),
                  [&random, Alphabet] { return Alphabet[random.bounded(int(Alphabet.size()))]; });
    return write(name, QByteArray(), framed("    METADATA_BLOCK_PICTURE: " + value + '\n'));
}

QString Fixtures::pausedOutput(const QString &name, int pauseMs)
{
    const QByteArray report = "  Duration: 00:00:03.00, start: 0.000000, bitrate: 121 kb/s\n"
                              "  Stream #0:0[0x1](und): Video: h264 (High) (avc1 / 0x31637661), yuv420p(progressive), "
                              "320x240 [SAR 1:1 DAR 4:3], 41 kb/s, 25 fps, 25 tbr, 12800 tbn (default)\n"
                              "  Stream #0:1[0x2](und): Audio: aac (LC) (mp4a / 0x6134706D), 44100 Hz, mono, fltp, "
                              "69 kb/s (default)\n";
    return write(name, "pause=" + QByteArray::number(pauseMs), framed(report));
}

QString Fixtures::write(const QString &name, const QByteArray &directives, const QByteArray &text)
{
    QFile file(path(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(directives + '\n' + text) < 0)
        return {};
    return file.fileName();
}

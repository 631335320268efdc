#include "probeoutput.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestProbeOutput : public QObject
{
    Q_OBJECT

private slots:
    void text_data();
    void text();
    void stopsAtTheLimit();
};

void TestProbeOutput::text_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("expected");

    QTest::newRow("empty") << QByteArray() << QString();
    QTest::newRow("only white space") << QByteArray(" \r\n\t ") << QString();
    QTest::newRow("trimmed at both ends, kept inside")
        << QByteArray("\n  Duration: 00:00:02.00\r\n  Stream #0:0\n\n")
        << u"Duration: 00:00:02.00\r\n  Stream #0:0"_s;
    QTest::newRow("control characters count as blank, DEL does not")
        << QByteArray("\x01\x1f" "data\x7f\x02") << u"data\x7f"_s;
    QTest::newRow("no-break space is not blank")
        << QByteArray("\xc2\xa0x\xc2\xa0") << u"\u00a0x\u00a0"_s;
    QTest::newRow("NUL bytes removed") << QByteArray("a\0b\0\0c", 6) << u"abc"_s;
    QTest::newRow("UTF-8 decoded") << QByteArray("title: T\xc3\xabst \xe2\x9c\x93 \xf0\x9f\x8e\xac")
                                   << u"title: T\u00ebst \u2713 \U0001F3AC"_s;
    QTest::newRow("invalid bytes become replacement characters")
        << QByteArray("a\xff" "b\xc3") << u"a\uFFFD" "b\uFFFD"_s;
    QTest::newRow("repeated values kept")
        << QByteArray("Stream #0:0(und): 512 kb/s\nStream #0:1(und): 512 kb/s\n")
        << u"Stream #0:0(und): 512 kb/s\nStream #0:1(und): 512 kb/s"_s;
}

void TestProbeOutput::text()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, expected);

    ProbeOutput whole;
    whole.append(bytes);
    QCOMPARE(whole.text(), expected);

    // However the tool's writes cut the bytes, the text is the same: a character split between
    // two pieces stays whole, and white space at a seam is kept.
    for (qsizetype at = 0; at <= bytes.size(); ++at) {
        ProbeOutput twoPieces;
        twoPieces.append(QByteArrayView(bytes).first(at));
        twoPieces.append(QByteArrayView(bytes).sliced(at));
        QVERIFY2(twoPieces.text() == expected, qPrintable(u"split at " + QString::number(at)));
    }
    ProbeOutput bytewise;
    for (char c : bytes)
        bytewise.append(QByteArrayView(&c, 1));
    QCOMPARE(bytewise.text(), expected);
}

void TestProbeOutput::stopsAtTheLimit()
{
    const QByteArray piece(1024 * 1024 - 1, 'x');
    ProbeOutput output;
    qsizetype offered = 0;
    while (output.append(piece))
        offered += piece.size();
    offered += piece.size();

    QVERIFY(offered > ProbeOutput::Limit);
    QVERIFY(output.isFull());
    QCOMPARE(output.text().size(), ProbeOutput::Limit);
    QVERIFY(!output.append("more"));
    QCOMPARE(output.text().size(), ProbeOutput::Limit);
}

QTEST_APPLESS_MAIN(TestProbeOutput)
#include "tst_probeoutput.moc"

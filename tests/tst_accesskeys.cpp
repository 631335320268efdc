#include "accesskeys.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestAccessKeys : public QObject
{
    Q_OBJECT

private slots:
    void keys_data();
    void keys();
};

void TestAccessKeys::keys_data()
{
    QTest::addColumn<QStringList>("captions");
    QTest::addColumn<QStringList>("marked");

    QTest::newRow("menu bar") << QStringList{u" File "_s, u" Help "_s}
                              << QStringList{u" &File "_s, u" &Help "_s};
    QTest::newRow("File menu") << QStringList{u"Load File"_s, u"Refresh"_s, u"Exit"_s}
                               << QStringList{u"&Load File"_s, u"&Refresh"_s, u"&Exit"_s};
    QTest::newRow("taken letter skipped") << QStringList{u"Open"_s, u"Options"_s}
                                          << QStringList{u"&Open"_s, u"O&ptions"_s};
    QTest::newRow("taken regardless of case") << QStringList{u"open"_s, u"Other"_s}
                                              << QStringList{u"&open"_s, u"O&ther"_s};
    QTest::newRow("digits count") << QStringList{u"1st"_s, u"10th"_s}
                                  << QStringList{u"&1st"_s, u"1&0th"_s};
    QTest::newRow("no free character, no key") << QStringList{u"ab"_s, u"ba"_s, u"a b"_s}
                                               << QStringList{u"&ab"_s, u"&ba"_s, u"a b"_s};
    QTest::newRow("punctuation is never a key") << QStringList{u"...More"_s}
                                                << QStringList{u"...&More"_s};
    QTest::newRow("ampersand in a caption doubled") << QStringList{u"& Save & Exit"_s}
                                                    << QStringList{u"&& &Save && Exit"_s};
}

void TestAccessKeys::keys()
{
    QFETCH(QStringList, captions);
    QFETCH(QStringList, marked);
    QCOMPARE(withAccessKeys(captions), marked);
}

QTEST_APPLESS_MAIN(TestAccessKeys)
#include "tst_accesskeys.moc"

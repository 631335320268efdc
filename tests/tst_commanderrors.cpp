#include "commanderrors.h"

#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>

#include <stdexcept>

using namespace Qt::StringLiterals;

class TestCommandErrors : public QObject
{
    Q_OBJECT

private slots:
    void escapingErrorIsShown_data();
    void escapingErrorIsShown();
};

using Command = std::function<void()>;

void TestCommandErrors::escapingErrorIsShown_data()
{
    QTest::addColumn<Command>("command");
    QTest::addColumn<QString>("shown");

    QTest::newRow("no error") << Command([] {}) << QString();
    QTest::newRow("standard exception") << Command([] { throw std::runtime_error("disk on fire"); })
                                        << u"disk on fire"_s;
    QTest::newRow("out of memory") << Command([] { throw std::bad_alloc(); }) << u"std::bad_alloc"_s;
    QTest::newRow("anything else") << Command([] { throw 42; }) << u"An unknown error occurred."_s;
}

void TestCommandErrors::escapingErrorIsShown()
{
    QFETCH(Command, command);
    QFETCH(QString, shown);

    QWidget parent;
    parent.show();
    QString message;
    QTimer::singleShot(10, &parent, [&message] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            message = box->text();
            box->accept();
        }
    });

    runReportingErrors(&parent, command);

    QCOMPARE(message, shown);
}

QTEST_MAIN(TestCommandErrors)
#include "tst_commanderrors.moc"

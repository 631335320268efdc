#include "p_about.h"

#include <QApplication>
#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <functional>

using namespace Qt::StringLiterals;

// Stands in for the browser and the mail program.
class UrlCatcher : public QObject
{
    Q_OBJECT

public:
    QStringList opened;

public slots:
    void open(const QUrl &url) { opened << url.toString(); }
};

using BoxAction = std::function<void(Tabout &)>;
Q_DECLARE_METATYPE(BoxAction)

class TestAbout : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void noticeYear();
    void links_data();
    void links();
    void closing_data();
    void closing();
    void placement();

private:
    const QStringList m_schemes{u"https"_s, u"mailto"_s};
    UrlCatcher m_catcher;
};

void TestAbout::init()
{
    for (const QString &scheme : m_schemes)
        QDesktopServices::setUrlHandler(scheme, &m_catcher, "open");
}

void TestAbout::cleanup()
{
    for (const QString &scheme : m_schemes)
        QDesktopServices::unsetUrlHandler(scheme);
    m_catcher.opened.clear();
}

void TestAbout::noticeYear()
{
    QDate today(2019, 12, 31);
    Tabout box(nullptr, [&today] { return today; });
    const auto *notice = box.findChild<QLabel *>(u"Label3"_s);
    QVERIFY(notice);

    box.show();
    QCOMPARE(notice->text(), u"Copyright \u00A9 Quorvel developers, 2019"_s);
    box.hide();
    today = QDate(2031, 1, 1);
    box.show();
    QCOMPARE(notice->text(), u"Copyright \u00A9 Quorvel developers, 2031"_s);
}

void TestAbout::links_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("opened");

    QTest::newRow("web address") << u"Label5"_s << u"https://quorvel.example.org/"_s
                                 << u"https://quorvel.example.org/"_s;
    QTest::newRow("e-mail address") << u"Label2"_s << u"support@quorvel.example.org"_s
                                    << u"mailto:support@quorvel.example.org"_s;
}

void TestAbout::links()
{
    QFETCH(QString, name);
    QFETCH(QString, shown);
    QFETCH(QString, opened);

    Tabout box;
    box.show();
    auto *label = box.findChild<QLabel *>(name);
    QVERIFY(label);
    QCOMPARE(label->text(), shown);
    QVERIFY(label->font().underline());
    QCOMPARE(label->cursor().shape(), Qt::PointingHandCursor);

    QTest::mouseClick(label, Qt::LeftButton);
    QCOMPARE(m_catcher.opened, QStringList{opened});
}

void TestAbout::closing_data()
{
    QTest::addColumn<BoxAction>("act");
    QTest::addColumn<bool>("closes");

    QTest::newRow("OK clicked") << BoxAction([](Tabout &box) {
        QTest::mouseClick(box.findChild<QPushButton *>(u"Button1"_s), Qt::LeftButton);
    }) << true;
    QTest::newRow("Return") << BoxAction([](Tabout &box) { QTest::keyClick(&box, Qt::Key_Return); })
                            << true;
    QTest::newRow("keypad Enter") << BoxAction([](Tabout &box) {
        QTest::keyClick(&box, Qt::Key_Enter, Qt::KeypadModifier);
    }) << true;
    QTest::newRow("title-bar close") << BoxAction([](Tabout &box) { box.close(); }) << true;
    QTest::newRow("Esc does nothing") << BoxAction([](Tabout &box) {
        QTest::keyClick(&box, Qt::Key_Escape);
    }) << false;
}

void TestAbout::closing()
{
    QFETCH(BoxAction, act);
    QFETCH(bool, closes);

    Tabout box;
    QVERIFY(box.findChild<QPushButton *>(u"Button1"_s));
    bool wasOpen = false;
    bool closed = false;
    QTimer::singleShot(0, &box, [&] {
        wasOpen = box.isVisible();
        act(box);
        closed = !box.isVisible();
        // Ends the modal loop of a box that stayed open.
        if (!closed)
            box.done(QDialog::Rejected);
    });
    box.exec();
    QVERIFY(wasOpen);
    QCOMPARE(closed, closes);
}

void TestAbout::placement()
{
    // A dialog opens over its parent: one in the corner of the screen tells the two apart.
    QWidget owner;
    owner.setGeometry(10, 10, 200, 150);
    owner.show();
    Tabout box(&owner);
    box.show();

    QCOMPARE(QApplication::activeModalWidget(), static_cast<QWidget *>(&box));
    QCOMPARE(box.minimumSize(), QSize(418, 122));
    QCOMPARE(box.maximumSize(), QSize(418, 122));
    QCOMPARE(box.frameGeometry().center(), box.screen()->availableGeometry().center());
}

QTEST_MAIN(TestAbout)
#include "tst_about.moc"

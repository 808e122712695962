// Every button closes the about box, on its pictures as on the rest of it.

#include "about/formbrimvale.h"
#include "support/recorders.h"

#include <QTest>

class AboutClicks : public QObject
{
    Q_OBJECT

private slots:
    void anyButtonClosesIt_data();
    void anyButtonClosesIt();
};

void AboutClicks::anyButtonClosesIt_data()
{
    QTest::addColumn<bool>("logo"); // else the icon
    QTest::addColumn<Qt::MouseButton>("button");
    for (const auto& [part, logo] : {std::pair{"logo", true}, std::pair{"icon", false}}) {
        QTest::addRow("left click on the %s", part) << logo << Qt::LeftButton;
        QTest::addRow("right click on the %s", part) << logo << Qt::RightButton;
        QTest::addRow("middle click on the %s", part) << logo << Qt::MiddleButton;
    }
}

void AboutClicks::anyButtonClosesIt()
{
    QFETCH(bool, logo);
    QFETCH(Qt::MouseButton, button);
    DocumentRecorder documents;
    QWidget owner;
    owner.show();
    FormBrimvale box(&owner, documents);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QTest::mouseClick(logo ? box.imgLogo : box.imgIcono, button);
    QVERIFY(!box.isVisible());
    QVERIFY(documents.calls.isEmpty());
}

QTEST_MAIN(AboutClicks)
#include "test_aboutclicks.moc"

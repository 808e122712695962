// The about box: what it takes from the table, what closes it, and its two addresses.

#include "about/formbrimvale.h"
#include "support/playerseat.h"
#include "support/tablefixture.h"
#include "table/pictures.h"

#include <QCoreApplication>
#include <QTest>

namespace
{

FormBrimvale* boxOf(QWidget* dialog)
{
    return qobject_cast<FormBrimvale*>(dialog);
}

// A spot of the box's own background, clear of its labels and pictures.
const QPoint kBackground(8, 200);

// Moves the pointer, no button held, through the window system onto a part of the box, or onto
// its background: the move goes to whatever lies under that spot.
void hover(QWidget* box, QWidget* over)
{
    const QPoint spot = over == box ? kBackground : over->mapTo(box, over->rect().center());
    QTest::mouseMove(box->windowHandle(), spot);
    QCoreApplication::processEvents();
}

} // namespace

class About : public QObject
{
    Q_OBJECT

private slots:
    void titleAndIconComeFromTheTable_data();
    void titleAndIconComeFromTheTable();
    void anyClickOrKeyClosesIt_data();
    void anyClickOrKeyClosesIt();
    void addressesOpenAndLeaveItOpen_data();
    void addressesOpenAndLeaveItOpen();
    void hoverUnderlinesOneAddressAtATime();
};

void About::titleAndIconComeFromTheTable_data()
{
    QTest::addColumn<QString>("caption");
    QTest::newRow("the table's own caption") << QString();
    QTest::newRow("another caption") << QStringLiteral("Mesa de prueba");
}

void About::titleAndIconComeFromTheTable()
{
    QFETCH(QString, caption);
    Table t;
    if (!caption.isEmpty())
        t.form.setWindowTitle(caption);
    QString seen;
    t.watch.then([&](QWidget* d) {
        seen = QStringLiteral("%1 modal %2 owner %3 title %4 icon %5 window icon %6")
                   .arg(QTest::qWaitForWindowActive(d) ? "active" : "inactive")
                   .arg(d->isModal())
                   .arg(d->parentWidget() == &t.form)
                   .arg(boxOf(d)->lblTitulo->Caption())
                   .arg(boxOf(d)->imgIcono->picture() == pictures::kIcon)
                   .arg(d->windowIcon().cacheKey() == t.form.windowIcon().cacheKey());
        QTest::keyClick(d, Qt::Key_Escape);
    });

    // Shown from the help menu, modal over the table.
    QVERIFY(useMenu(t.form, t.form.MnuAbout, Reach::MenuClicks));

    QCOMPARE(seen, QStringLiteral("active modal 1 owner 1 title %1 icon 1 window icon 1")
                       .arg(caption.isEmpty() ? QStringLiteral("Lozetta 1.1") : caption));
    QCOMPARE(t.watch.shown, QStringList{"FormBrimvale"});
}

void About::anyClickOrKeyClosesIt_data()
{
    QTest::addColumn<int>("part"); // of the box's parts below, or -1 for its background
    QTest::addColumn<int>("key");  // when no part is clicked
    const char* parts[] = {"title", "notice", "hint", "logo"};
    QTest::newRow("click on the background") << -1 << 0;
    for (int i = 0; i < 4; ++i)
        QTest::addRow("click on the %s", parts[i]) << i << 0;
    const std::pair<const char*, int> keys[] = {{"Escape", Qt::Key_Escape},
                                                {"Enter", Qt::Key_Enter},
                                                {"a letter", Qt::Key_Q},
                                                {"F1", Qt::Key_F1}};
    for (const auto& [name, key] : keys)
        QTest::newRow(name) << -2 << key;
}

void About::anyClickOrKeyClosesIt()
{
    QFETCH(int, part);
    QFETCH(int, key);
    Table t;
    bool openAfterModifiers = false;
    bool closedByIt = false;
    t.watch.then([&](QWidget* d) {
        // Modifier keys alone leave it open.
        openAfterModifiers = QTest::qWaitForWindowActive(d);
        for (Qt::Key modifier : {Qt::Key_Shift, Qt::Key_Control, Qt::Key_Alt})
            QTest::keyClick(d, modifier);
        openAfterModifiers = openAfterModifiers && d->isVisible();
        FormBrimvale* box = boxOf(d);
        const QList<QWidget*> parts = {box->lblTitulo, box->lblTexto, box->lblClick, box->imgLogo};
        if (part >= 0)
            QTest::mouseClick(parts.at(part), Qt::LeftButton);
        else if (part == -1)
            QTest::mouseClick(d, Qt::LeftButton, Qt::NoModifier, kBackground);
        else
            QTest::keyClick(d, Qt::Key(key),
                            key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        closedByIt = !d->isVisible();
        // Never leave the test waiting on a box that stayed up.
        if (d->isVisible())
            d->close();
    });
    const QStringList before = tableState(t.form);

    t.form.MnuAbout_Click();

    QVERIFY(openAfterModifiers);
    QVERIFY(closedByIt);
    QCOMPARE(t.watch.shown, QStringList{"FormBrimvale"});
    QVERIFY(t.documents.calls.isEmpty());
    QCOMPARE(tableState(t.form), before);
}

void About::addressesOpenAndLeaveItOpen_data()
{
    QTest::addColumn<bool>("mail");
    QTest::addColumn<QString>("prefix");
    QTest::addColumn<QString>("domain");
    // Our own addresses, under the reserved domain: a bare host name and a mail address.
    QTest::newRow("web address") << false << QStringLiteral("http://") << ".example.org";
    QTest::newRow("mail address") << true << QStringLiteral("mailto:") << "@example.org";
}

void About::addressesOpenAndLeaveItOpen()
{
    QFETCH(bool, mail);
    QFETCH(QString, prefix);
    QFETCH(QString, domain);
    Table t;
    QPointer<QWidget> box;
    QString address;
    QList<bool> openAfterClicks;
    t.watch.then([&](QWidget* d) {
        box = d;
        Label* label = mail ? boxOf(d)->lblMail : boxOf(d)->lblURL;
        address = label->Caption();
        // Each click hands the address over once, in the box's name, and leaves it open.
        for (int i = 0; i < 2; ++i) {
            QTest::mouseClick(label, Qt::LeftButton);
            openAfterClicks << (d->isVisible() && t.documents.calls.size() == i + 1 &&
                                t.documents.calls.last().owner == d);
        }
        QTest::mouseClick(d, Qt::LeftButton, Qt::NoModifier, kBackground);
        if (d->isVisible())
            d->close();
    });

    t.form.MnuAbout_Click();

    QVERIFY(address.endsWith(domain) && !address.contains(QLatin1Char('/')));
    QCOMPARE(openAfterClicks, (QList<bool>{true, true}));
    QVERIFY(!box);
    for (const DocumentRecorder::Call& call : t.documents.calls) {
        QCOMPARE(call.operation, QStringLiteral("Open"));
        QCOMPARE(call.file, prefix + address);
        QVERIFY(call.parameters.isEmpty());
        QCOMPARE(call.directory, QCoreApplication::applicationDirPath());
        QCOMPARE(call.showCommand, Int16(1));
    }
    QVERIFY(t.watch.messages.empty());
}

void About::hoverUnderlinesOneAddressAtATime()
{
    DocumentRecorder documents;
    QWidget owner;
    owner.show();
    FormBrimvale box(&owner, documents);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    // Only the addresses carry the pointing hand.
    for (const QWidget* w : box.findChildren<QWidget*>())
        QCOMPARE(w->cursor().shape() == Qt::BitmapCursor, w == box.lblURL || w == box.lblMail);

    // An address stays underlined until the pointer reaches the other or the bare background.
    QStringList underlined;
    QWidget* const bare = &box;
    for (QWidget* over : QList<QWidget*>{box.lblURL, box.lblTexto, bare, box.lblMail, box.imgLogo,
                                         box.lblURL, box.lblMail, bare, box.lblClick}) {
        hover(&box, over);
        underlined << QStringLiteral("%1%2")
                          .arg(box.lblURL->font().underline() ? "web" : "")
                          .arg(box.lblMail->font().underline() ? "mail" : "");
    }
    QCOMPARE(underlined.join(QLatin1Char(' ')), QStringLiteral("web web  mail mail web mail  "));
    QVERIFY(documents.calls.isEmpty());
}

QTEST_MAIN(About)
#include "test_about.moc"

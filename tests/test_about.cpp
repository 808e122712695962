// The about box: what it shows, what closes it, and its two addresses.

#include "about/formbrimvale.h"
#include "playerhand.h"
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

// A click on a part of the box by its name, or a key when the name is empty.
void act(FormBrimvale* box, const QString& part, int key)
{
    if (part.isEmpty()) {
        QTest::keyClick(box, Qt::Key(key),
                        key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        return;
    }
    const QHash<QString, QWidget*> parts = {
        {"lblTitulo", box->lblTitulo},     {"lblCreadoPor", box->lblCreadoPor},
        {"lblTexEmail", box->lblTexEmail}, {"lblTexWeb", box->lblTexWeb},
        {"lblTexto", box->lblTexto},       {"lblClick", box->lblClick},
        {"imgLogo", box->imgLogo},         {"imgIcono", box->imgIcono}};
    if (QWidget* w = parts.value(part))
        QTest::mouseClick(w, Qt::LeftButton);
    else
        QTest::mouseClick(box, Qt::LeftButton, Qt::NoModifier, kBackground);
}

bool underlined(const QWidget* w)
{
    return w->font().underline();
}

// Moves the pointer, no button held, to a spot of a control of the box, through the window
// system: the move goes to whatever lies under that spot.
void hover(QWidget* box, QWidget* over, QPoint spot = {})
{
    if (spot.isNull())
        spot = over->rect().center();
    QTest::mouseMove(box->windowHandle(), over->mapTo(box, spot));
    QCoreApplication::processEvents();
}

} // namespace

class About : public QObject
{
    Q_OBJECT

private slots:
    void layout();
    void looksAsDesigned();
    void titleAndIconComeFromTheTable_data();
    void titleAndIconComeFromTheTable();
    void anyClickOrKeyClosesIt_data();
    void anyClickOrKeyClosesIt();
    void addressesOpenAndLeaveItOpen_data();
    void addressesOpenAndLeaveItOpen();
    void hoverUnderlinesOneAddressAtATime();
    void addressesHaveThePointingHand();
    void eachShowingStartsAfresh();
};

void About::layout()
{
    DocumentRecorder documents;
    QWidget owner;
    FormBrimvale box(&owner, documents);
    // Each control where the design puts it, in twips and in pixels at 15 twips a pixel.
    auto row = [&](const auto* c, int l, int t, int w, int h) {
        QCOMPARE(c->parentWidget(), &box);
        QCOMPARE(QRect(c->Left(), c->Top(), c->Width(), c->Height()), QRect(l, t, w, h));
        QCOMPARE(c->geometry(),
                 QRect(qRound(l / 15.0), qRound(t / 15.0), qRound(w / 15.0), qRound(h / 15.0)));
    };
    row(box.shpMarco, 0, 0, 4260, 6300);
    row(box.imgIcono, 349, 180, 480, 480);
    row(box.lblTitulo, 956, 180, 2955, 375);
    row(box.lblCreadoPor, 956, 480, 2295, 255);
    row(box.imgLogo, 405, 810, 3450, 3435);
    row(box.lblTexEmail, 1080, 4365, 735, 255);
    row(box.lblMail, 1605, 4350, 1575, 240);
    row(box.lblTexWeb, 1095, 4635, 615, 255);
    row(box.lblURL, 1635, 4605, 1485, 240);
    row(box.lblTexto, 240, 4980, 4185, 1005);
    row(box.lblClick, 2805, 5955, 1320, 210);
}

void About::looksAsDesigned()
{
    DocumentRecorder documents;
    QWidget owner;
    FormBrimvale box(&owner, documents);

    QCOMPARE(box.size(), QSize(284, 420));
    QCOMPARE(box.minimumSize(), box.maximumSize());
    QCOMPARE(box.windowTitle(), QString());
    QVERIFY(!(box.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(!(box.windowFlags() & Qt::WindowMinimizeButtonHint));
    QCOMPARE(box.palette().color(QPalette::Window), QColor(Qt::black));
    QVERIFY(box.autoFillBackground());

    const QColor white(255, 255, 255);
    const QColor grey(192, 192, 192);
    const QColor address(51, 153, 255);
    auto text = [](const Label* l) { return l->palette().color(QPalette::WindowText); };
    QCOMPARE(text(box.lblTitulo), white);
    QCOMPARE(text(box.lblCreadoPor), white);
    QCOMPARE(text(box.lblTexEmail), grey);
    QCOMPARE(text(box.lblTexWeb), grey);
    QCOMPARE(text(box.lblTexto), grey);
    QCOMPARE(text(box.lblMail), address);
    QCOMPARE(text(box.lblURL), address);
    QCOMPARE(text(box.lblClick), QColor(255, 255, 192));
    for (const Label* l : {box.lblTitulo, box.lblCreadoPor, box.lblTexEmail, box.lblMail,
                           box.lblTexWeb, box.lblURL, box.lblTexto, box.lblClick})
        QVERIFY(!l->autoFillBackground());

    QCOMPARE(box.lblTexEmail->Caption(), QStringLiteral("Email: "));
    QCOMPARE(box.lblTexWeb->Caption(), QStringLiteral("Web:"));
    QCOMPARE(box.lblClick->Caption(), QStringLiteral("[click para cerrar]"));
    QVERIFY(box.lblClick->alignment() & Qt::AlignHCenter);
    QVERIFY(!box.lblCreadoPor->Caption().isEmpty());
    QVERIFY(box.lblTexto->Caption().contains(QStringLiteral("vender")));
    QVERIFY(box.lblTexto->wordWrap());
    QCOMPARE(box.lblTitulo->font().pointSizeF(), 12.0);
    QCOMPARE(box.lblTexto->font().pointSizeF(), 9.0);
    QCOMPARE(box.imgLogo->picture(), pictures::kLogo);
    QVERIFY(box.imgIcono->picture().isEmpty());

    // Our own addresses: a bare host name and a mail address, both under the reserved domain.
    QVERIFY(!box.lblURL->Caption().contains(QStringLiteral("://")));
    QVERIFY(box.lblURL->Caption().endsWith(QStringLiteral(".example.org")));
    QVERIFY(!box.lblURL->Caption().contains(QLatin1Char('/')));
    QVERIFY(box.lblMail->Caption().endsWith(QStringLiteral("@example.org")));
    QVERIFY(!box.lblMail->Caption().startsWith(QStringLiteral("mailto:")));
    QVERIFY(!underlined(box.lblURL));
    QVERIFY(!underlined(box.lblMail));
}

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
    DialogSteps steps(t.watch);
    bool active = false;
    if (!caption.isEmpty())
        t.form.setWindowTitle(caption);
    QString title;
    QString icon;
    bool windowIcon = false;
    bool modal = false;
    bool ownedByTable = false;
    steps.then([&](QWidget* d) {
        modal = d->isModal();
        ownedByTable = d->parentWidget() == &t.form;
        // Activation has run by the time the box is the active modal window.
        active = QTest::qWaitForWindowActive(d);
        title = boxOf(d)->lblTitulo->Caption();
        icon = boxOf(d)->imgIcono->picture();
        windowIcon = !d->windowIcon().isNull() &&
                     d->windowIcon().cacheKey() == t.form.windowIcon().cacheKey();
        QTest::keyClick(d, Qt::Key_Escape);
    });

    // Shown from the help menu, modal over the table.
    QVERIFY(useMenu(t.form, t.form.MnuAbout, Reach::MenuClicks));

    QVERIFY(active);
    QVERIFY(modal);
    QVERIFY(ownedByTable);
    QVERIFY(t.documents.calls.isEmpty());
    QCOMPARE(steps.shown, QStringList{QStringLiteral("FormBrimvale")});
    QCOMPARE(title, caption.isEmpty() ? QStringLiteral("Lozetta 1.1") : caption);
    QCOMPARE(icon, pictures::kIcon);
    QVERIFY(windowIcon);
}

void About::anyClickOrKeyClosesIt_data()
{
    QTest::addColumn<QString>("part");
    QTest::addColumn<int>("key");
    for (const char* part : {"background", "lblTitulo", "lblCreadoPor", "lblTexEmail", "lblTexWeb",
                             "lblTexto", "lblClick", "imgLogo", "imgIcono"})
        QTest::addRow("click on %s", part) << QString::fromLatin1(part) << 0;
    const std::pair<const char*, int> keys[] = {
        {"Escape", Qt::Key_Escape}, {"Return", Qt::Key_Return}, {"Enter", Qt::Key_Enter},
        {"a letter", Qt::Key_Q},    {"space", Qt::Key_Space},   {"F1", Qt::Key_F1},
        {"F2", Qt::Key_F2}};
    for (const auto& [name, key] : keys)
        QTest::newRow(name) << QString() << key;
}

void About::anyClickOrKeyClosesIt()
{
    QFETCH(QString, part);
    QFETCH(int, key);
    Table t;
    DialogSteps steps(t.watch);
    bool active = false;
    bool openAfterModifiers = false;
    bool closedByIt = false;
    steps.then([&](QWidget* d) {
        active = QTest::qWaitForWindowActive(d);
        // Modifier keys alone leave it open.
        for (Qt::Key modifier : {Qt::Key_Shift, Qt::Key_Control, Qt::Key_Alt})
            QTest::keyClick(d, modifier);
        openAfterModifiers = d->isVisible();
        act(boxOf(d), part, key);
        closedByIt = !d->isVisible();
        // Never leave the test waiting on a box that stayed up.
        if (d->isVisible())
            d->close();
    });
    const QStringList before = tableState(t.form);

    t.form.MnuAbout_Click();

    QVERIFY(active);

    QCOMPARE(steps.shown, QStringList{QStringLiteral("FormBrimvale")});
    QVERIFY(openAfterModifiers);
    QVERIFY(closedByIt);
    QCOMPARE(steps.unexpected, 0);
    QVERIFY(t.documents.calls.isEmpty());
    QVERIFY(t.watch.messages.empty());
    QCOMPARE(tableState(t.form), before);
}

void About::addressesOpenAndLeaveItOpen_data()
{
    QTest::addColumn<bool>("mail");
    QTest::addColumn<QString>("prefix");
    QTest::newRow("web address") << false << QStringLiteral("http://");
    QTest::newRow("mail address") << true << QStringLiteral("mailto:");
}

void About::addressesOpenAndLeaveItOpen()
{
    QFETCH(bool, mail);
    QFETCH(QString, prefix);
    Table t;
    DialogSteps steps(t.watch);
    QPointer<QWidget> box;
    QString address;
    int callsAfterFirst = -1;
    bool openAfterFirst = false;
    bool openAfterSecond = false;
    QList<bool> ownedByBox;
    steps.then([&](QWidget* d) {
        box = d;
        Label* label = mail ? boxOf(d)->lblMail : boxOf(d)->lblURL;
        address = label->Caption();
        QTest::mouseClick(label, Qt::LeftButton);
        callsAfterFirst = static_cast<int>(t.documents.calls.size());
        openAfterFirst = d->isVisible();
        QTest::mouseClick(label, Qt::LeftButton);
        openAfterSecond = d->isVisible();
        for (const DocumentRecorder::Call& call : t.documents.calls)
            ownedByBox << (call.owner == d);
        QTest::mouseClick(d, Qt::LeftButton, Qt::NoModifier, kBackground);
        if (d->isVisible())
            d->close();
    });

    t.form.MnuAbout_Click();

    QCOMPARE(callsAfterFirst, 1);
    QVERIFY(openAfterFirst);
    QVERIFY(openAfterSecond);
    QCOMPARE(t.documents.calls.size(), 2);
    for (const DocumentRecorder::Call& call : t.documents.calls) {
        QCOMPARE(call.operation, QStringLiteral("Open"));
        QCOMPARE(call.file, prefix + address);
        QVERIFY(call.parameters.isEmpty());
        QCOMPARE(call.directory, QCoreApplication::applicationDirPath());
        QVERIFY(!call.directory.endsWith(QLatin1Char('/')));
        QCOMPARE(call.showCommand, Int16(1));
    }
    QCOMPARE(ownedByBox, (QList<bool>{true, true}));
    QVERIFY(!box);
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

    struct Move {
        QWidget* over;
        QPoint spot;
        bool url;
        bool mail;
        const char* what;
    };
    const Move moves[] = {
        {box.lblURL, {}, true, false, "over the web address"},
        {box.lblTexto, {}, true, false, "over the notice"},
        {&box, kBackground, false, false, "over the background"},
        {box.lblMail, {}, false, true, "over the mail address"},
        {box.lblTexWeb, {}, false, true, "over 'Web:'"},
        {box.lblTitulo, {}, false, true, "over the title"},
        {box.imgLogo, {}, false, true, "over the logo"},
        {box.lblURL, {}, true, false, "back over the web address"},
        {box.lblMail, {}, false, true, "straight to the mail address"},
        {&box, kBackground, false, false, "over the background again"},
        {box.lblClick, {}, false, false, "over the hint"},
    };
    for (const Move& move : moves) {
        hover(&box, move.over, move.spot);
        QVERIFY2(underlined(box.lblURL) == move.url, move.what);
        QVERIFY2(underlined(box.lblMail) == move.mail, move.what);
    }
    QVERIFY(box.isVisible());
    QVERIFY(documents.calls.isEmpty());
}

void About::addressesHaveThePointingHand()
{
    DocumentRecorder documents;
    QWidget owner;
    FormBrimvale box(&owner, documents);

    for (const Label* address : {box.lblURL, box.lblMail}) {
        QCOMPARE(address->cursor().shape(), Qt::BitmapCursor);
        const QPixmap hand = address->cursor().pixmap();
        QVERIFY(!hand.isNull());
        QCOMPARE(hand.deviceIndependentSize().toSize(), QSize(32, 32));
        const QPoint hotSpot = address->cursor().hotSpot();
        QVERIFY(QRect(0, 0, 32, 32).contains(hotSpot));
        // The finger tip points up: the hot spot is in the upper part of the picture.
        QVERIFY(hotSpot.y() < 8);
    }
    for (const Label* other : {box.lblTitulo, box.lblCreadoPor, box.lblTexEmail, box.lblTexWeb,
                               box.lblTexto, box.lblClick})
        QVERIFY(other->cursor().shape() != Qt::BitmapCursor);
    QVERIFY(box.cursor().shape() != Qt::BitmapCursor);
}

void About::eachShowingStartsAfresh()
{
    Table t;
    DialogSteps steps(t.watch);
    QList<QPointer<QWidget>> boxes;
    QList<bool> underlinedAtStart;
    QList<bool> hoveredUnderlines;
    for (int i = 0; i < 2; ++i)
        steps.then([&](QWidget* d) {
            boxes << d;
            underlinedAtStart << underlined(boxOf(d)->lblURL);
            hover(d, boxOf(d)->lblClick);
            hover(d, boxOf(d)->lblURL);
            hoveredUnderlines << underlined(boxOf(d)->lblURL);
            QTest::keyClick(d, Qt::Key_Escape);
        });

    t.form.MnuAbout_Click();
    QCOMPARE(boxes.size(), 1);
    QVERIFY(!boxes[0]);
    t.form.MnuAbout_Click();

    QCOMPARE(steps.shown.size(), 2);
    QCOMPARE(underlinedAtStart, (QList<bool>{false, false}));
    QCOMPARE(hoveredUnderlines, (QList<bool>{true, true}));
    QVERIFY(!boxes[1]);
}

QTEST_MAIN(About)
#include "test_about.moc"

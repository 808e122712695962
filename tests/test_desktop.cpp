// The program on a real X display, handing its documents and addresses to the desktop's opener.
// Run by tests/desktop/on-virtual-desktop.sh, which starts the display and puts a stand-in opener
// on the PATH that writes down what it is handed.

#include "about/formbrimvale.h"
#include "options/form2.h"
#include "shell/documents.h"
#include "support/modalwatch.h"
#include "support/playerseat.h"
#include "support/recorders.h"
#include "table/form1.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QStandardPaths>
#include <QTest>
#include <QUrl>

namespace
{

QString openerLog()
{
    return qEnvironmentVariable("LOZETTA_OPENER_LOG");
}

// Every call the opener has seen: its name, then each argument.
QList<QStringList> openerCalls()
{
    QList<QStringList> calls;
    QFile log(openerLog());
    if (!log.open(QIODevice::ReadOnly))
        return calls;
    const QString text = QString::fromUtf8(log.readAll());
    for (const QString& line : text.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        calls << line.split(QLatin1Char('\t'));
    return calls;
}

} // namespace

class Desktop : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void addressesAndInstructionsReachTheOpener();
};

void Desktop::initTestCase()
{
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    QVERIFY2(!openerLog().isEmpty(), "run by tests/desktop/on-virtual-desktop.sh");
    QVERIFY(!QFile::exists(openerLog()));
    // The opener that answers is the stand-in, not one of the machine's.
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    QCOMPARE(QFileInfo(opener).absolutePath(),
             QFileInfo(openerLog()).absolutePath() + QStringLiteral("/bin"));
}

void Desktop::addressesAndInstructionsReachTheOpener()
{
    SoundRecorder sound;
    shell::DesktopShell desktop;
    Form1 form(sound, desktop);
    ModalWatch watch;
    QString web;
    QString mail;
    bool splashStayedOpen = false;

    // At start-up the splash is up: its two addresses are clicked, then it is closed.
    watch.then([&](QWidget* d) {
        auto* box = qobject_cast<FormBrimvale*>(d);
        web = box->lblURL->Caption();
        mail = box->lblMail->Caption();
        QTest::mouseClick(box->lblURL, Qt::LeftButton);
        QTest::mouseClick(box->lblMail, Qt::LeftButton);
        splashStayedOpen = d->isVisible();
        QTest::keyClick(d, Qt::Key_Escape);
        if (d->isVisible())
            d->close();
    });
    watch.then([](QWidget* d) {
        QTest::mouseClick(qobject_cast<Form2*>(d)->Command1, Qt::LeftButton);
        if (d->isVisible())
            d->close();
    });
    form.Load();
    QTRY_VERIFY(!form.Label7(3)->isHidden());
    QVERIFY(splashStayedOpen);
    QCOMPARE(watch.shown, (QStringList{QStringLiteral("FormBrimvale"), QStringLiteral("Form2")}));

    const QStringList webCall{QStringLiteral("xdg-open"), QStringLiteral("http://") + web};
    const QStringList mailCall{QStringLiteral("xdg-open"), QStringLiteral("mailto:") + mail};
    QTRY_COMPARE_WITH_TIMEOUT(openerCalls().size(), 2, 20000);
    QList<QStringList> calls = openerCalls();
    QVERIFY(calls.contains(webCall));
    QVERIFY(calls.contains(mailCall));

    // F1 on the table: the instructions page beside the program.
    QVERIFY(useMenu(form, form.MnuHow, Reach::Shortcut));
    QTRY_COMPARE_WITH_TIMEOUT(openerCalls().size(), 3, 20000);
    calls = openerCalls();
    const QString page =
        QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("Instrucciones.htm"));
    QVERIFY(QFile::exists(page));
    const QStringList pageCall{QStringLiteral("xdg-open"),
                               QString::fromUtf8(QUrl::fromLocalFile(page).toEncoded())};
    QCOMPARE(calls.back(), pageCall);
    QCOMPARE(QUrl(calls.back().at(1)).toLocalFile(), page);

    // Nothing more arrives: each was handed over exactly once.
    QTest::qWait(500);
    calls = openerCalls();
    QCOMPARE(calls.size(), 3);
    QCOMPARE(calls.count(webCall), 1);
    QCOMPARE(calls.count(mailCall), 1);
    QCOMPARE(calls.count(pageCall), 1);
    QVERIFY(watch.messages.empty());
}

QTEST_MAIN(Desktop)
#include "test_desktop.moc"

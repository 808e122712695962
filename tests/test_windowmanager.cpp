// The windows as the player sees them on an X display, frames included, with and without a
// window manager started by the test; every figure is read from the X server.

#include "options/form2.h"
#include "support/table.h"

#include <QGuiApplication>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <xcb/xcb.h>

namespace
{

constexpr int kTolerance = 2;
constexpr quint32 kMinAndMaxSize = 16 | 32;
constexpr int kHintsMinWidth = 5;
constexpr int kHintsMaxWidth = 7;

xcb_connection_t* connection()
{
    return qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
}

xcb_screen_t* screen()
{
    return xcb_setup_roots_iterator(xcb_get_setup(connection())).data;
}

// A reply from the server, freed with it.
template <typename T> std::unique_ptr<T, void (*)(void*)> owned(T* reply)
{
    return {reply, &std::free};
}

xcb_atom_t atom(const char* name)
{
    return owned(xcb_intern_atom_reply(
                     connection(), xcb_intern_atom(connection(), 0, uint16_t(strlen(name)), name),
                     nullptr))
        ->atom;
}

// A property of 32-bit items, empty where the window has none.
QList<quint32> xProperty(WId window, const char* name)
{
    const auto reply = owned(
        xcb_get_property_reply(connection(),
                               xcb_get_property(connection(), 0, xcb_window_t(window), atom(name),
                                                XCB_GET_PROPERTY_TYPE_ANY, 0, 1 << 20),
                               nullptr));
    if (!reply || reply->format != 32)
        return {};
    const auto* items = static_cast<const quint32*>(xcb_get_property_value(reply.get()));
    return {items, items + xcb_get_property_value_length(reply.get()) / 4};
}

// The window with its frame, where the window manager reports it.
QRect frameOf(const QWidget* window)
{
    const auto at = owned(xcb_translate_coordinates_reply(
        connection(),
        xcb_translate_coordinates(connection(), xcb_window_t(window->winId()), screen()->root, 0,
                                  0),
        nullptr));
    QRect frame(at->dst_x, at->dst_y, window->width(), window->height());
    if (const auto extents = xProperty(window->winId(), "_NET_FRAME_EXTENTS"); !extents.isEmpty())
        frame.adjust(-int(extents[0]), -int(extents[2]), int(extents[1]), int(extents[3]));
    return frame;
}

// Waits for a window's frame to be centred on another rectangle; the faults seen otherwise.
QStringList centred(const QString& name, const QWidget* window, std::function<QRect()> area)
{
    auto offset = [&] { return frameOf(window).center() - area().center(); };
    if (QTest::qWaitFor([&] {
            return std::abs(offset().x()) <= kTolerance && std::abs(offset().y()) <= kTolerance;
        }))
        return {};
    return {
        QStringLiteral("%1 off centre by %2, %3").arg(name).arg(offset().x()).arg(offset().y())};
}

} // namespace

class WindowManager : public QObject
{
    Q_OBJECT

private slots:
    void windowsAsSeen_data();
    void windowsAsSeen();
};

void WindowManager::windowsAsSeen_data()
{
    QTest::addColumn<bool>("managed");
    QTest::newRow("without WM") << false;
    QTest::newRow("with WM") << true;
}

void WindowManager::windowsAsSeen()
{
    QFETCH(bool, managed);
    QTemporaryDir home;
    QProcess manager;
    const auto stop = qScopeGuard([&] {
        manager.terminate();
        manager.waitForFinished();
    });
    if (managed) {
        // Its settings as installed, and its log kept out of the user's home.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home.path());
        environment.insert(QStringLiteral("XDG_CACHE_HOME"), home.path());
        manager.setProcessEnvironment(environment);
        // Openbox takes the screen well before it manages windows; it says when it does.
        manager.start(QStringLiteral("openbox"),
                      {QStringLiteral("--sm-disable"), QStringLiteral("--startup"),
                       QStringLiteral("echo ready")});
        QVERIFY(QTest::qWaitFor([&] { return manager.canReadLine(); }));
        // Even then it may drop a window mapped in its first moments: one is shown until it
        // manages one.
        QVERIFY(QTest::qWaitFor([] {
            QWidget probe;
            probe.show();
            return QTest::qWaitFor([&] { return !xProperty(probe.winId(), "WM_STATE").isEmpty(); },
                                   500);
        }));
    }
    SoundRecorder sound;
    DocumentRecorder documents;
    Form1 form(sound, documents);
    ModalWatch watch;
    const QRect wholeScreen(0, 0, screen()->width_in_pixels, screen()->height_in_pixels);
    auto owner = [&] { return form.isVisible() ? frameOf(&form) : wholeScreen; };
    QStringList faults;
    auto about = [&](QWidget* box) {
        faults << centred(QStringLiteral("about box"), box, owner);
        if (!QTest::qWaitFor([&] {
                return owned(xcb_get_input_focus_reply(connection(),
                                                       xcb_get_input_focus(connection()), nullptr))
                               ->focus == box->winId() &&
                       QGuiApplication::focusWindow() == box->windowHandle();
            }))
            faults << QStringLiteral("about box without the keyboard");
        QTest::keyClick(box->windowHandle(), Qt::Key_Space);
        if (box->isVisible()) {
            faults << QStringLiteral("about box left open by a key");
            box->close();
        }
    };
    auto options = [&](QWidget* dialog) {
        faults << centred(QStringLiteral("options"), dialog, owner);
        if (xProperty(dialog->winId(), "WM_TRANSIENT_FOR") != QList<quint32>{quint32(form.winId())})
            faults << QStringLiteral("options not transient for the table");
        if (managed) {
            form.raise();
            QTest::qWait(100);
            const auto order = xProperty(screen()->root, "_NET_CLIENT_LIST_STACKING");
            if (order.indexOf(quint32(dialog->winId())) < order.indexOf(quint32(form.winId())))
                faults << QStringLiteral("options below the table");
        }
        Table::click(qobject_cast<Form2*>(dialog)->Command1);
    };
    watch.then(about);
    watch.then(options);
    form.Load();
    QTRY_VERIFY(!form.Label7(3)->isHidden());
    faults << centred(QStringLiteral("table"), &form, [&] { return wholeScreen; });
    QCOMPARE(faults.join(QStringLiteral("; ")), QString());

    const QList<quint32> hints = xProperty(form.winId(), "WM_NORMAL_HINTS");
    QCOMPARE(hints.value(0) & kMinAndMaxSize, kMinAndMaxSize);
    QCOMPARE(hints.mid(kHintsMinWidth, 2), hints.mid(kHintsMaxWidth, 2));
    QCOMPARE(hints.mid(kHintsMinWidth, 2),
             (QList<quint32>{quint32(form.width()), quint32(form.height())}));
    QVERIFY(xProperty(form.winId(), "_NET_WM_ICON").size() > 2);
    if (managed) {
        const QList<quint32> actions = xProperty(form.winId(), "_NET_WM_ALLOWED_ACTIONS");
        QVERIFY(actions.contains(atom("_NET_WM_ACTION_MINIMIZE")));
        for (const char* refused : {"_NET_WM_ACTION_RESIZE", "_NET_WM_ACTION_MAXIMIZE_HORZ",
                                    "_NET_WM_ACTION_MAXIMIZE_VERT"})
            QVERIFY2(!actions.contains(atom(refused)), refused);
    }

    // Away from the middle of the screen, the dialogs follow the table.
    const QRect before = frameOf(&form);
    form.move(wholeScreen.topLeft() + QPoint(40, 30));
    QVERIFY(QTest::qWaitFor([&] { return frameOf(&form) != before; }));
    watch.then(about);
    watch.then(options);
    form.MnuAbout->trigger();
    form.MnuNew->trigger();
    QCOMPARE(faults.join(QStringLiteral("; ")), QString());
    QCOMPARE(watch.unexpected, 0);
}

QTEST_MAIN(WindowManager)
#include "test_windowmanager.moc"

// The windows as the player sees them on an X display, frames included, with and without a
// window manager started by the test; every figure is read from the X server.

#include "options/form2.h"
#include "support/table.h"

#include <QGuiApplication>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <cstdlib>
#include <memory>
#include <xcb/xcb.h>

class WindowManager : public QObject
{
    Q_OBJECT
    static constexpr int kTolerance = 2;
    static constexpr quint32 kMinAndMaxSize = 16 | 32;
    static constexpr int kHintsMinSize = 5; // the least width and height, then the greatest
    xcb_connection_t* const x =
        qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
    xcb_screen_t* const screen = xcb_setup_roots_iterator(xcb_get_setup(x)).data;

    // The server's reply to a request, freed with it.
    template <typename R, typename C>
    auto ask(R* (*reply)(xcb_connection_t*, C, xcb_generic_error_t**), C cookie) const
    {
        return std::unique_ptr<R, void (*)(void*)>(reply(x, cookie, nullptr), &std::free);
    }
    xcb_atom_t atom(const QByteArray& n) const
    {
        return ask(xcb_intern_atom_reply, xcb_intern_atom(x, 0, n.size(), n.constData()))->atom;
    }
    WId focus() const { return ask(xcb_get_input_focus_reply, xcb_get_input_focus(x))->focus; }
    // A property of 32-bit items, empty where the window has none.
    QList<quint32> xProperty(WId window, const char* name) const
    {
        const auto reply =
            ask(xcb_get_property_reply,
                xcb_get_property(x, 0, window, atom(name), XCB_GET_PROPERTY_TYPE_ANY, 0, 1 << 20));
        if (!reply || reply->format != 32)
            return {};
        const auto* items = static_cast<const quint32*>(xcb_get_property_value(reply.get()));
        return {items, items + xcb_get_property_value_length(reply.get()) / 4};
    }
    // The window with its frame, where the window manager reports it.
    QRect frameOf(const QWidget* window) const
    {
        const auto at = ask(xcb_translate_coordinates_reply,
                            xcb_translate_coordinates(x, window->winId(), screen->root, 0, 0));
        const auto e = xProperty(window->winId(), "_NET_FRAME_EXTENTS");
        return QRect(at->dst_x, at->dst_y, window->width(), window->height())
            .adjusted(-int(e.value(0)), -int(e.value(2)), int(e.value(1)), int(e.value(3)));
    }
    // How far a window's frame is off the centre of its owner's, or of the screen without one.
    QPoint offCentre(const QWidget* window, const QWidget* owner = nullptr) const
    {
        const QRect area = owner && owner->isVisible()
                               ? frameOf(owner)
                               : QRect(0, 0, screen->width_in_pixels, screen->height_in_pixels);
        const QPoint off = frameOf(window).center() - area.center();
        return std::abs(off.x()) <= kTolerance && std::abs(off.y()) <= kTolerance ? QPoint() : off;
    }

private slots:
    void windowsAsSeen_data()
    {
        QTest::addColumn<bool>("managed");
        QTest::newRow("without WM") << false;
        QTest::newRow("with WM") << true;
    }

    void windowsAsSeen()
    {
        QFETCH(bool, managed);
        QTemporaryDir home;
        QProcess manager;
        const auto stop = qScopeGuard([&] {
            manager.terminate();
            manager.waitForFinished();
        });
        if (managed) {
            // Openbox on its settings as installed, its log kept out of the user's home. It takes
            // the screen well before it manages windows and says when; even then it may drop a
            // window mapped in its first moments, so one is shown until it manages one.
            manager.start("env", {"XDG_CONFIG_HOME=" + home.path(), "XDG_CACHE_HOME=" + home.path(),
                                  "openbox", "--sm-disable", "--startup", "echo ready"});
            QTRY_VERIFY(manager.canReadLine());
            QTRY_VERIFY(QTest::qWaitFor([&] {
                QWidget probe;
                probe.show();
                return QTest::qWaitFor(
                    [&] { return !xProperty(probe.winId(), "WM_STATE").isEmpty(); }, 500);
            }));
        }
        SoundRecorder sound;
        DocumentRecorder documents;
        Form1 form(sound, documents);
        ModalWatch watch;
        // Checked while the dialogs are open, closed whatever comes of it.
        const auto about = [&](QWidget* box) {
            const auto close = qScopeGuard([&] { box->close(); });
            QTRY_COMPARE(offCentre(box, &form), QPoint());
            QTRY_VERIFY2(focus() == box->winId() &&
                             QGuiApplication::focusWindow() == box->windowHandle(),
                         "about box without the keyboard");
            QTest::keyClick(box->windowHandle(), Qt::Key_Space);
            QVERIFY2(!box->isVisible(), "about box left open by a key");
        };
        const auto options = [&](QWidget* dialog) {
            const auto close =
                qScopeGuard([&] { Table::click(qobject_cast<Form2*>(dialog)->Command1); });
            QTRY_COMPARE(offCentre(dialog, &form), QPoint());
            QCOMPARE(xProperty(dialog->winId(), "WM_TRANSIENT_FOR"), QList{quint32(form.winId())});
            if (managed) {
                form.raise();
                QTest::qWait(100);
                const auto order = xProperty(screen->root, "_NET_CLIENT_LIST_STACKING");
                QCOMPARE_GE(order.indexOf(quint32(dialog->winId())),
                            order.indexOf(quint32(form.winId()))); // not below the table
            }
        };
        watch.then(about);
        watch.then(options);
        form.Load();
        QTRY_VERIFY(!form.Label7(3)->isHidden());
        QTRY_COMPARE(offCentre(&form), QPoint());

        const QList<quint32> hints = xProperty(form.winId(), "WM_NORMAL_HINTS");
        const quint32 width = form.width(), height = form.height();
        QCOMPARE(hints.value(0) & kMinAndMaxSize, kMinAndMaxSize);
        QCOMPARE(hints.mid(kHintsMinSize, 4), QList({width, height, width, height}));
        QVERIFY(xProperty(form.winId(), "_NET_WM_ICON").size() > 2);
        const QList<quint32> actions = xProperty(form.winId(), "_NET_WM_ALLOWED_ACTIONS");
        QVERIFY(!managed || actions.contains(atom("_NET_WM_ACTION_MINIMIZE")));
        for (const char* refused : {"_NET_WM_ACTION_RESIZE", "_NET_WM_ACTION_MAXIMIZE_HORZ",
                                    "_NET_WM_ACTION_MAXIMIZE_VERT"})
            QVERIFY2(!actions.contains(atom(refused)), refused);

        // Away from the middle of the screen, the dialogs follow the table.
        const QRect before = frameOf(&form);
        form.move(QPoint(40, 30));
        QTRY_VERIFY(frameOf(&form) != before);
        watch.then(about);
        watch.then(options);
        form.MnuAbout->trigger();
        form.MnuNew->trigger();
        QCOMPARE(watch.unexpected, 0);
    }
};

QTEST_MAIN(WindowManager)
#include "test_windowmanager.moc"

// The windows as a player sees them on an X display, with and without a window manager.

#include "options/form2.h"
#include "support/table.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QProcess>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <xcb/xcb.h>

class WindowManager : public QObject
{
    Q_OBJECT
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
    // How far a window's frame (as the window manager reports it) is off the centre of its
    // owner's, or of the screen without one; nothing within 2 px.
    QPoint offCentre(const QWidget* window, const QWidget* owner = nullptr) const
    {
        const auto frame = [this](const QWidget* w) {
            const auto at = ask(xcb_translate_coordinates_reply,
                                xcb_translate_coordinates(x, w->winId(), screen->root, 0, 0));
            const auto e = xProperty(w->winId(), "_NET_FRAME_EXTENTS");
            return QRect(at->dst_x, at->dst_y, w->width(), w->height())
                .adjusted(-int(e.value(0)), -int(e.value(2)), int(e.value(1)), int(e.value(3)));
        };
        const QRect screenArea(0, 0, screen->width_in_pixels, screen->height_in_pixels);
        const QPoint off = frame(window).center() -
                           (owner && owner->isVisible() ? frame(owner) : screenArea).center();
        return qAbs(off.x()) <= 2 && qAbs(off.y()) <= 2 ? QPoint() : off;
    }

    // Centred as the player sees it once the window manager is done with it: a frame that comes
    // after the first placing moves the window again, so the place must hold a moment.
    bool settlesCentred(const QWidget* window, const QWidget* owner = nullptr) const
    {
        QElapsedTimer held;
        return QTest::qWaitFor(
            [&] {
                if (!offCentre(window, owner).isNull())
                    held.invalidate();
                else if (!held.isValid())
                    held.start();
                return held.isValid() && held.elapsed() >= 300;
            },
            20000);
    }

private slots:
    void windowsAsSeen_data() { addRows({"managed"}, {"without WM|0", "with WM|1"}); }

    void windowsAsSeen()
    {
        QTemporaryDir home;
        QProcess manager; // killed with the row
        if (number("managed")) {
            // Openbox on its settings as installed, its log kept out of the user's home; it may
            // drop a window mapped in its first moments, so one is shown until it manages one.
            manager.start("env", {"XDG_CONFIG_HOME=" + home.path(), "XDG_CACHE_HOME=" + home.path(),
                                  "openbox", "--sm-disable"});
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
        // The options dialog and the about box at start-up, then from the menus: checked while
        // open, closed whatever comes of it.
        for (int shown = 0; shown < 4; ++shown) {
            watch.then([&](QWidget* dialog) {
                auto* options = qobject_cast<Form2*>(dialog);
                const auto close = qScopeGuard(
                    [&] { options ? Table::click(options->Command1) : void(dialog->close()); });
                QVERIFY2(settlesCentred(dialog, &form), "a dialog off the table's centre");
                QCOMPARE(xProperty(dialog->winId(), "WM_TRANSIENT_FOR"),
                         QList{quint32(form.winId())});
                QTRY_VERIFY2(ask(xcb_get_input_focus_reply, xcb_get_input_focus(x))->focus ==
                                     dialog->winId() &&
                                 QGuiApplication::focusWindow() == dialog->windowHandle(),
                             "a dialog without the keyboard");
                if (number("managed")) {
                    form.raise();
                    QTest::qWait(100);
                    const auto order = xProperty(screen->root, "_NET_CLIENT_LIST_STACKING");
                    QCOMPARE_GE(order.indexOf(quint32(dialog->winId())),
                                order.indexOf(quint32(form.winId()))); // not below the table
                }
                if (!options) {
                    QTest::keyClick(dialog->windowHandle(), Qt::Key_Space);
                    QVERIFY2(!dialog->isVisible(), "about box left open by a key");
                }
            });
        }
        form.Load();
        QTRY_VERIFY(!form.Label7(3)->isHidden());
        QVERIFY2(settlesCentred(&form), "the table off the screen's centre");

        // Its least and greatest sizes are its own; no resizing or maximising on offer.
        const QList<quint32> hints = xProperty(form.winId(), "WM_NORMAL_HINTS");
        const quint32 width = form.width(), height = form.height();
        QCOMPARE(hints.value(0) & (16 | 32), quint32(16 | 32));
        QCOMPARE(hints.mid(5, 4), QList({width, height, width, height}));
        QVERIFY(xProperty(form.winId(), "_NET_WM_ICON").size() > 2);
        const QList<quint32> actions = xProperty(form.winId(), "_NET_WM_ALLOWED_ACTIONS");
        QVERIFY(!number("managed") || actions.contains(atom("_NET_WM_ACTION_MINIMIZE")));
        for (const char* refused : {"_NET_WM_ACTION_RESIZE", "_NET_WM_ACTION_MAXIMIZE_HORZ",
                                    "_NET_WM_ACTION_MAXIMIZE_VERT"})
            QVERIFY2(!actions.contains(atom(refused)), refused);

        // Away from the middle of the screen, the dialogs follow the table.
        form.move(QPoint(40, 30));
        QTRY_VERIFY(offCentre(&form) != QPoint());
        form.MnuAbout->trigger();
        form.MnuNew->trigger();
        QCOMPARE(watch.unexpected, 0);
    }
};

QTEST_MAIN(WindowManager)
#include "test_windowmanager.moc"

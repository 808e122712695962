#pragma once

#include <QMessageBox>
#include <QObject>
#include <QTimer>
#include <deque>
#include <functional>

// Answers modal windows as they come up, as a player would, and remembers every message box.
// Message boxes get the queued answers in turn (OK when none is queued); any other modal
// window goes to the dialog handler, which must close it.
class ModalWatch : public QObject
{
public:
    struct Message {
        QString title;
        QString text;
        QMessageBox::Icon icon;
        bool hasCancel;
    };
    using DialogHandler = std::function<void(QWidget* dialog)>;

    ModalWatch();

    void queueAnswer(QMessageBox::StandardButton button) { answers_.push_back(button); }
    void onDialog(DialogHandler handler) { dialogHandler_ = std::move(handler); }
    // Stops answering: a test that wants to look at a box while it is open pauses the watch.
    void pause(bool paused) { paused_ = paused; }

    std::vector<Message> messages;
    int dialogsSeen = 0;

private:
    void poll();

    QTimer timer_;
    std::deque<QMessageBox::StandardButton> answers_;
    DialogHandler dialogHandler_;
    bool paused_ = false;
};

// The texts of the message boxes seen, in order.
QStringList textsOf(const std::vector<ModalWatch::Message>& messages);

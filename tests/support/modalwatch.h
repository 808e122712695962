#pragma once

#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <deque>
#include <functional>

// Answers modal windows as they come up, as a player would, and remembers every message box.
// Message boxes get the queued answers in turn (OK when none is queued). Each showing of any
// other modal window gets the next step, once, run from that window's own event loop so that a
// message box it raises is answered meanwhile; a step must close or hide its window. A showing
// that finds no step waiting is closed at once and counted.
class ModalWatch : public QObject
{
public:
    struct Message {
        QString title;
        QString text;
        QMessageBox::Icon icon;
        bool hasCancel;
        QPixmap iconPixmap;
    };
    using Step = std::function<void(QWidget* dialog)>;

    ModalWatch();

    void queueAnswer(QMessageBox::StandardButton button) { answers_.push_back(button); }
    // The next message box is shut with the Escape key instead of a button.
    void escapeNext() { escapeNext_ = true; }
    void then(Step step) { steps_.push_back(std::move(step)); }

    std::vector<Message> messages;
    // Every other modal window shown, by class name.
    QStringList shown;
    int unexpected = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void poll();
    void begin(QWidget* dialog);

    QTimer timer_;
    std::deque<QMessageBox::StandardButton> answers_;
    bool escapeNext_ = false;
    std::deque<Step> steps_;
    QPointer<QWidget> current_;
};

// The texts of the message boxes seen, in order.
QStringList textsOf(const std::vector<ModalWatch::Message>& messages);

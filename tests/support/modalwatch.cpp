#include "support/modalwatch.h"

#include <QAbstractButton>
#include <QApplication>

namespace
{
constexpr int kPollMilliseconds = 5;
}

ModalWatch::ModalWatch()
{
    connect(&timer_, &QTimer::timeout, this, &ModalWatch::poll);
    timer_.start(kPollMilliseconds);
}

void ModalWatch::poll()
{
    QWidget* modal = QApplication::activeModalWidget();
    if (paused_ || !modal || !modal->isVisible())
        return;
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        messages.push_back({box->windowTitle(), box->text(), box->icon(),
                            box->button(QMessageBox::Cancel) != nullptr});
        QMessageBox::StandardButton answer = QMessageBox::Ok;
        if (!answers_.empty()) {
            answer = answers_.front();
            answers_.pop_front();
        }
        box->button(answer)->click();
        return;
    }
    ++dialogsSeen;
    if (dialogHandler_)
        dialogHandler_(modal);
}

QStringList textsOf(const std::vector<ModalWatch::Message>& messages)
{
    QStringList texts;
    for (const auto& message : messages)
        texts << message.text;
    return texts;
}

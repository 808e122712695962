#include "support/modalwatch.h"

#include <QAbstractButton>
#include <QApplication>
#include <QTest>

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
    if (!modal || !modal->isVisible())
        return;
    auto* box = qobject_cast<QMessageBox*>(modal);
    if (!box) {
        begin(modal);
        return;
    }
    messages.push_back({box->windowTitle(), box->text(), box->icon(),
                        box->button(QMessageBox::Cancel) != nullptr, box->iconPixmap()});
    if (escapeNext_) {
        escapeNext_ = false;
        QTest::keyClick(box, Qt::Key_Escape);
        return;
    }
    QMessageBox::StandardButton answer = QMessageBox::Ok;
    if (!answers_.empty()) {
        answer = answers_.front();
        answers_.pop_front();
    }
    box->button(answer)->click();
}

void ModalWatch::begin(QWidget* dialog)
{
    if (dialog == current_)
        return;
    current_ = dialog;
    dialog->installEventFilter(this);
    shown << QString::fromLatin1(dialog->metaObject()->className());
    Step step = [this](QWidget* d) {
        ++unexpected;
        d->close();
    };
    if (!steps_.empty()) {
        step = std::move(steps_.front());
        steps_.pop_front();
    }
    QTimer::singleShot(0, dialog, [step, dialog] { step(dialog); });
}

bool ModalWatch::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Hide && watched == current_) {
        watched->removeEventFilter(this);
        current_ = nullptr;
    }
    return false;
}

QStringList textsOf(const std::vector<ModalWatch::Message>& messages)
{
    QStringList texts;
    for (const auto& message : messages)
        texts << message.text;
    return texts;
}

#include "shell/tilesound.h"

#include "shell/soundmodule.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QObject>
#include <QThread>
#include <dlfcn.h>
#include <functional>
#include <sys/resource.h>
#include <utility>

namespace shell
{

namespace
{

// The sound thread yields to the table when both want the processor, so that a tile shows on
// time; on Linux the niceness of the calling thread alone is changed.
constexpr int kSoundNiceness = 10;

// The module sits beside the program, in the build tree as where it is installed.
SoundService* loadPlayer()
{
    const QString path = QDir(QCoreApplication::applicationDirPath()).filePath(kSoundModule);
    void* module = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!module)
        return nullptr;
    const auto entry = reinterpret_cast<SoundEntry>(dlsym(module, kSoundEntry));
    return entry ? entry() : nullptr;
}

// Lives on the sound thread; each request posted to it runs the given step there.
class Inbox : public QObject
{
public:
    static constexpr QEvent::Type kRequest = QEvent::User;

    explicit Inbox(std::function<void()> onRequest) : onRequest_(std::move(onRequest)) {}

    bool event(QEvent* event) override
    {
        if (event->type() != kRequest)
            return QObject::event(event);
        onRequest_();
        return true;
    }

private:
    std::function<void()> onRequest_;
};

} // namespace

SystemSound::SystemSound() = default;

SystemSound::~SystemSound()
{
    if (!thread_)
        return;
    {
        // A sound not yet started when the game goes is never started.
        const std::lock_guard lock(mutex_);
        latest_.clear();
    }
    thread_->quit();
    thread_->wait();
}

void SystemSound::sndPlaySound(const QString& file, Int16 flags)
{
    // The bare name is looked up where the process stands now, not where the program lives nor
    // where it will stand when the sound thread gets to it.
    const QString path = QDir::current().absoluteFilePath(file);
    if (!thread_) {
        thread_ = std::make_unique<QThread>();
        inbox_ = std::make_unique<Inbox>([this] { playLatest(); });
        inbox_->moveToThread(thread_.get());
        // The player and its sink were made on the sound thread and go there too, as it ends.
        QObject::connect(
            thread_.get(), &QThread::finished, inbox_.get(), [this] { player_.reset(); },
            Qt::DirectConnection);
        QObject::connect(
            thread_.get(), &QThread::started, inbox_.get(),
            [] { setpriority(PRIO_PROCESS, 0, kSoundNiceness); }, Qt::DirectConnection);
        thread_->start();
    }
    const std::lock_guard lock(mutex_);
    latest_ = path;
    latestFlags_ = flags;
    if (!std::exchange(posted_, true))
        QCoreApplication::postEvent(inbox_.get(), new QEvent(Inbox::kRequest));
}

void SystemSound::playLatest()
{
    QString path;
    Int16 flags = 0;
    {
        const std::lock_guard lock(mutex_);
        path = std::exchange(latest_, QString());
        flags = latestFlags_;
        posted_ = false;
    }
    if (path.isEmpty())
        return;
    if (!std::exchange(loaded_, true))
        player_.reset(loadPlayer());
    if (player_)
        player_->sndPlaySound(path, flags);
}

} // namespace shell

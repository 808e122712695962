#include "shell/tilesound.h"

#include "shell/soundmodule.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <dlfcn.h>
#include <utility>

namespace shell
{

namespace
{

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

} // namespace

SystemSound::SystemSound() = default;
SystemSound::~SystemSound() = default;

void SystemSound::sndPlaySound(const QString& file, Int16 flags)
{
    if (!std::exchange(loaded_, true))
        player_.reset(loadPlayer());
    if (player_)
        player_->sndPlaySound(file, flags);
}

} // namespace shell

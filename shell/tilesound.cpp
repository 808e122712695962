#include "shell/tilesound.h"

#include <QDir>
#include <QSoundEffect>
#include <QUrl>

namespace shell
{

SystemSound::SystemSound() = default;
SystemSound::~SystemSound() = default;

void SystemSound::sndPlaySound(const QString& file, Int16)
{
    if (!effect_)
        effect_ = std::make_unique<QSoundEffect>();
    // The bare name is looked up where the process stands, not where the program lives.
    const QUrl source = QUrl::fromLocalFile(QDir::current().absoluteFilePath(file));
    effect_->stop();
    effect_->setSource(source);
    effect_->play();
}

} // namespace shell

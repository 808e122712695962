#include "support/recorders.h"

void SoundRecorder::sndPlaySound(const QString& file, Int16 flags)
{
    calls.append({file, flags});
    if (onCall)
        onCall();
}

void DocumentRecorder::ShellExecute(QWidget* owner, const QString& operation, const QString& file,
                                    const QString& parameters, const QString& directory,
                                    Int16 showCommand)
{
    calls.append({owner, operation, file, parameters, directory, showCommand});
}

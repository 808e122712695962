#pragma once

#include "shell/documents.h"
#include "shell/tilesound.h"

#include <QList>
#include <QPointer>
#include <QWidget>
#include <functional>

// Stand-ins for the desktop's services that remember every call made to them.
struct SoundRecorder : shell::SoundService {
    struct Call {
        QString file;
        Int16 flags;
    };
    QList<Call> calls;
    // Runs at each call, for a test that wants to look at the table as the sound comes.
    std::function<void()> onCall;
    void sndPlaySound(const QString& file, Int16 flags) override;
};

struct DocumentRecorder : shell::DocumentService {
    struct Call {
        QPointer<QWidget> owner;
        QString operation;
        QString file;
        QString parameters;
        QString directory;
        Int16 showCommand;
    };
    QList<Call> calls;
    void ShellExecute(QWidget* owner, const QString& operation, const QString& file,
                      const QString& parameters, const QString& directory,
                      Int16 showCommand) override;
};

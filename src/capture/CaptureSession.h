#pragma once

#include "capture/CaptureCommandLine.h"
#include "capture/CaptureProgress.h"

#include <QObject>
#include <QPointer>

namespace vidora {

class ToolProcess;

// One run of a capture device: the FFmpeg that owns the device (recording, live picture or
// both) and the player that draws the live picture into its host window. The two are joined
// by a pipe of their own; the program never copies pictures.
class CaptureSession : public QObject {
    Q_OBJECT
public:
    struct Tools {
        QString ffmpeg;
        QString player;                                    // mp.dll
        QString playerVideoOutput = QStringLiteral("gl2"); // "-vo" of the player
        bool keepPreviewAspect = false;
    };

    // How long a stop waits for FFmpeg to finish its file after "q", and for the player after
    // its quit key, before ending them by force.
    static constexpr int kRecorderStopMs = 5000;
    static constexpr int kPlayerStopMs = 1000;

    explicit CaptureSession(QObject* parent = nullptr);
    ~CaptureSession() override;

    // Starts FFmpeg with these outputs; with a window id the live picture is drawn into that
    // window. Both are started so that they end with the program (through util-linux's
    // setpriv; without it nothing is started). False (with errorText) when FFmpeg could not be
    // started. A live picture whose player cannot start is left out; the recording goes on
    // without it.
    bool start(const Tools& tools, const CaptureSource& source, const QString& recordingFile,
               quint64 windowId, bool mirrorLivePicture);
    // Asks FFmpeg to end ("q": its files are complete), then the player; ends either by force
    // when it does not end in time. True when FFmpeg ended by itself with success.
    bool stop();

    bool isRunning() const;
    CaptureStatistics statistics() const { return m_progress.statistics(); }
    QString errorText() const { return m_errorText; }
    QStringList playerArguments() const { return m_playerArguments; }
    qint64 recorderProcessId() const;
    qint64 playerProcessId() const;

signals:
    // FFmpeg ended without being asked (the device went away, the disk is full).
    void endedByItself(bool success);

private:
    qint64 startPlayer(const Tools& tools, quint64 windowId, int readDescriptor);
    void onRecorderFinished(int exitCode, bool crashed);
    void stopPlayer();

    ToolProcess* m_recorder = nullptr;
    ToolProcess* m_player = nullptr;
    CaptureProgressReader m_progress;
    QStringList m_recorderArguments;
    QStringList m_playerArguments;
    QString m_errorText;
    bool m_stopping = false;
};

} // namespace vidora

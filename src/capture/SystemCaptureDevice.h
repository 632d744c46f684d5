#pragma once

#include "capture/CaptureCommandLine.h"
#include "capture/CaptureDevice.h"
#include "capture/CaptureSession.h"
#include "capture/V4l2Devices.h"

#include <QList>
#include <QObject>
#include <memory>

namespace vidora {

// The environment variable that adds the test pattern device to the list when it is "1".
inline constexpr char kTestPatternVariable[] = "VIDORA_CAPTURE_TEST_PATTERN";

// The capture devices of this computer, in list order: the V4L2 capture devices, a DV camera on
// FireWire where one is attached and FFmpeg reads FireWire, and the test pattern when asked for.
QList<CaptureSource> ListCaptureSources(const V4l2Kernel& kernel, bool withFireWireDv,
                                        bool withTestPattern);

// Whether a DV camera may be on FireWire: a FireWire node other than this computer's own, and an
// FFmpeg with the iec61883 input.
bool FireWireDvAvailable(const QString& ffmpeg);

// The program's capture control on this computer. While connected, one FFmpeg owns the device
// and writes the live picture (drawn by the player into the preview window), and during a
// recording the AVI too. A recording is written under a temporary name and gets its own name
// when FFmpeg has finished it.
class SystemCaptureDevice final : public QObject, public CaptureDevice {
    Q_OBJECT
public:
    // The V4L2 kernel and the tools default to this computer's; the list is made at once.
    explicit SystemCaptureDevice(std::unique_ptr<V4l2Kernel> kernel = nullptr,
                                 const CaptureSession::Tools* tools = nullptr,
                                 QObject* parent = nullptr);
    ~SystemCaptureDevice() override;

    int deviceCount() const override { return int(m_sources.size()); }
    QString deviceName(int index) const override;
    void setSelectedDevice(int index) override;
    void setConnected(bool connected) override;
    void setStartupSettings(const CaptureStartupSettings& settings) override;
    // The live picture's host is black already; the colour of the control is not needed.
    void setBackgroundColour(const QColor&) override {}
    void setPreviewWindow(quint64 windowId) override { m_previewWindow = windowId; }
    void setPreview(bool on) override;
    void setCaptureFile(const QString& path) override { m_captureFile = path; }
    bool startRecording() override;
    void stopRecording() override;
    bool isRecording() const override;
    CaptureStatistics statistics() const override;
    QString errorText() const override { return m_errorText; }
    PropertyRange propertyRange(CameraProperty property) const override;
    int propertyValue(CameraProperty property) const override;
    void setPropertyValue(CameraProperty property, int value) override;
    void shutDown() override;

    const CaptureSession& session() const { return m_session; }

private:
    const CaptureSource* selectedSource() const;
    void showLivePicture();
    // Ends the device's run, a recording first (its file finished), without a new live picture.
    void endRun();
    void endRecordingRun();
    void finishRecording(bool success);

    std::unique_ptr<V4l2Kernel> m_kernel;
    CaptureSession::Tools m_tools;
    QList<CaptureSource> m_sources;
    CaptureSession m_session;
    CaptureStartupSettings m_settings;
    quint64 m_previewWindow = 0;
    int m_selected = -1;
    bool m_connected = false;
    bool m_preview = false;
    bool m_recording = false;
    bool m_stopping = false; // a recording's stop waits for its end
    QString m_captureFile;
    QString m_recordingFile; // the file of the recording in progress
    QString m_errorText;
    CaptureStatistics m_lastStatistics;
};

} // namespace vidora

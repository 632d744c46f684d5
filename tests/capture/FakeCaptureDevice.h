#pragma once

#include "capture/CaptureDevice.h"

#include <QList>
#include <QStringList>
#include <array>

namespace vidora::test {

// A capture device that does what its script says and writes down, in order, every call that
// asks it to do something (and the reads the window's steps are made of).
class FakeCaptureDevice : public CaptureDevice {
public:
    QStringList names;
    std::array<PropertyRange, kCameraPropertyCount> ranges{};
    std::array<int, kCameraPropertyCount> values{};
    CaptureStatistics figures;
    bool startFails = false;
    QString error;
    QStringList calls;
    bool recording = false;
    // A stop of a recording waits this long in an event loop, as a recorder finishing its file.
    int stopWaitMs = 0;
    // How many stops run inside each other now, and at most so far.
    int stopsRunning = 0;
    int mostStopsAtOnce = 0;

    int deviceCount() const override { return int(names.size()); }
    QString deviceName(int index) const override;
    void setSelectedDevice(int index) override;
    void setConnected(bool connected) override;
    void setStartupSettings(const CaptureStartupSettings& settings) override;
    void setBackgroundColour(const QColor& colour) override;
    void setPreviewWindow(quint64 windowId) override;
    void setPreview(bool on) override;
    void setCaptureFile(const QString& path) override;
    bool startRecording() override;
    void stopRecording() override;
    bool isRecording() const override { return recording; }
    CaptureStatistics statistics() const override { return figures; }
    QString errorText() const override { return error; }
    PropertyRange propertyRange(CameraProperty property) const override;
    int propertyValue(CameraProperty property) const override;
    void setPropertyValue(CameraProperty property, int value) override;
    void shutDown() override;

    // The calls since the last take, and a fresh start.
    QStringList takeCalls();

private:
    void log(const QString& call) const;
};

// A range as a device reports a supported property.
PropertyRange supportedRange(int minimum, int maximum);

} // namespace vidora::test

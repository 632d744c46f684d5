#pragma once

#include <QColor>
#include <QString>
#include <QtGlobal>

namespace vidora {

// Camera properties as the capture window counts them; slider i steers property i.
enum class CameraProperty { Pan = 0, Tilt = 1, Roll = 2, Zoom = 3 };
constexpr int kCameraPropertyCount = 4;

// What a device reports for one camera property. resultCode 0: the device offers it.
struct PropertyRange {
    int resultCode = -1;
    int minimum = 0;
    int maximum = 0;
    int step = 0;
    int defaultValue = 0;
    int flags = 0;

    bool supported() const { return resultCode == 0; }
};
constexpr int kPropertyUnsupported = -1;

// The running figures of a recording.
struct CaptureStatistics {
    qint64 framesCaptured = 0;
    qint64 framesDropped = 0;
    qint64 elapsedMs = 0;
};

// The four start-up settings the window gives its device when it opens, in this order. What
// they mean is the device's affair; the program's own device reads them as written below.
struct CaptureStartupSettings {
    int videoFormat = 0;            // 0: the device's own format and size (the only one offered)
    bool keepPreviewAspect = false; // off: the live picture fills its host
    bool previewOnConnect = true;   // connecting to a device shows its live picture
    bool mirrorPreview = false;     // the live picture mirrored, as a mirror shows a face
};

// The capture control the window drives: the device list, the connection to one device, the
// live picture, the recording and the camera properties. One implementation works with the
// devices of this computer; tests put scripted ones in its place.
class CaptureDevice {
public:
    virtual ~CaptureDevice() = default;

    virtual int deviceCount() const = 0;
    virtual QString deviceName(int index) const = 0;

    virtual void setSelectedDevice(int index) = 0;
    virtual void setConnected(bool connected) = 0;

    virtual void setStartupSettings(const CaptureStartupSettings& settings) = 0;
    virtual void setBackgroundColour(const QColor& colour) = 0;
    // The native window the live picture is drawn into; 0: none.
    virtual void setPreviewWindow(quint64 windowId) = 0;

    virtual void setPreview(bool on) = 0;
    virtual void setCaptureFile(const QString& path) = 0;
    // Starts recording into the capture file; false (with errorText) when it could not start.
    virtual bool startRecording() = 0;
    // Ends a recording so that its file is complete; nothing when none runs.
    virtual void stopRecording() = 0;
    virtual bool isRecording() const = 0;
    virtual CaptureStatistics statistics() const = 0;
    // Why the last start or stop failed; empty when it did not.
    virtual QString errorText() const = 0;

    virtual PropertyRange propertyRange(CameraProperty property) const = 0;
    virtual int propertyValue(CameraProperty property) const = 0;
    virtual void setPropertyValue(CameraProperty property, int value) = 0;

    // Ends every process the device started (recording first, so its file is complete).
    virtual void shutDown() = 0;
};

// The statistics label's text: "250 frames (3 dropped) - 10.25 sec.".
QString FormatCaptureStatistics(const CaptureStatistics& statistics);

} // namespace vidora

#include "FakeCaptureDevice.h"

#include "support/EventLoop.h"

#include <algorithm>

namespace vidora::test {

PropertyRange supportedRange(int minimum, int maximum) {
    PropertyRange range;
    range.resultCode = 0;
    range.minimum = minimum;
    range.maximum = maximum;
    range.step = 1;
    return range;
}

void FakeCaptureDevice::log(const QString& call) const {
    const_cast<FakeCaptureDevice*>(this)->calls << call;
}

QStringList FakeCaptureDevice::takeCalls() {
    QStringList taken = calls;
    calls.clear();
    return taken;
}

QString FakeCaptureDevice::deviceName(int index) const {
    log(QStringLiteral("deviceName %1").arg(index));
    return names.value(index);
}

void FakeCaptureDevice::setSelectedDevice(int index) {
    log(QStringLiteral("select %1").arg(index));
}

void FakeCaptureDevice::setConnected(bool connected) {
    log(connected ? QStringLiteral("connect") : QStringLiteral("disconnect"));
}

void FakeCaptureDevice::setStartupSettings(const CaptureStartupSettings& settings) {
    log(QStringLiteral("startup %1 %2 %3 %4")
            .arg(settings.videoFormat)
            .arg(settings.keepPreviewAspect)
            .arg(settings.previewOnConnect)
            .arg(settings.mirrorPreview));
}

void FakeCaptureDevice::setBackgroundColour(const QColor& colour) {
    log(QStringLiteral("background ") + colour.name());
}

void FakeCaptureDevice::setPreviewWindow(quint64 windowId) {
    log(windowId != 0 ? QStringLiteral("preview window") : QStringLiteral("no preview window"));
}

void FakeCaptureDevice::setPreview(bool on) {
    log(on ? QStringLiteral("preview on") : QStringLiteral("preview off"));
}

void FakeCaptureDevice::setCaptureFile(const QString& path) {
    log(QStringLiteral("file ") + path);
}

bool FakeCaptureDevice::startRecording() {
    log(QStringLiteral("start recording"));
    if (startFails)
        return false;
    recording = true;
    return true;
}

void FakeCaptureDevice::stopRecording() {
    log(QStringLiteral("stop recording"));
    mostStopsAtOnce = std::max(mostStopsAtOnce, ++stopsRunning);
    if (recording && stopWaitMs > 0)
        test::settle(stopWaitMs);
    recording = false;
    --stopsRunning;
}

PropertyRange FakeCaptureDevice::propertyRange(CameraProperty property) const {
    log(QStringLiteral("range %1").arg(int(property)));
    return ranges[std::size_t(property)];
}

int FakeCaptureDevice::propertyValue(CameraProperty property) const {
    log(QStringLiteral("value %1").arg(int(property)));
    return values[std::size_t(property)];
}

void FakeCaptureDevice::setPropertyValue(CameraProperty property, int value) {
    log(QStringLiteral("set %1 = %2").arg(int(property)).arg(value));
    values[std::size_t(property)] = value;
}

void FakeCaptureDevice::shutDown() {
    log(QStringLiteral("shut down"));
    recording = false;
}

} // namespace vidora::test

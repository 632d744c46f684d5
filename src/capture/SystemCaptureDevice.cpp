#include "capture/SystemCaptureDevice.h"

#include "capture/CaptureFile.h"
#include "platform/Paths.h"
#include "platform/ToolProcesses.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTimer>
#include <cstdio>

namespace vidora {

namespace {

constexpr int kDeviceListWaitMs = 5000;
const QString kFireWireDevices = QStringLiteral("/sys/bus/firewire/devices");

CaptureSession::Tools systemTools() {
    CaptureSession::Tools tools;
    tools.ffmpeg = QStandardPaths::findExecutable(QStringLiteral("ffmpeg"));
    tools.player = AppFolder() + kPlayerFileName;
    return tools;
}

// A FireWire node that is not this computer's own controller: something is attached.
bool fireWireNodeAttached() {
    const QDir devices(kFireWireDevices);
    for (const QString& node : devices.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile isLocal(devices.filePath(node) + QStringLiteral("/is_local"));
        if (isLocal.open(QIODevice::ReadOnly) && isLocal.readAll().trimmed() == "0")
            return true;
    }
    return false;
}

} // namespace

QList<CaptureSource> ListCaptureSources(const V4l2Kernel& kernel, bool withFireWireDv,
                                        bool withTestPattern) {
    QList<CaptureSource> sources;
    for (const V4l2Device& device : ListV4l2Devices(kernel))
        sources.append({CaptureSourceKind::V4l2, device.card, device.node});
    if (withFireWireDv)
        sources.append({CaptureSourceKind::FireWireDv, QStringLiteral("DV camera (FireWire)"),
                        QStringLiteral("auto")});
    if (withTestPattern)
        sources.append({CaptureSourceKind::TestPattern, QStringLiteral("Test pattern"), {}});
    return sources;
}

bool FireWireDvAvailable(const QString& ffmpeg) {
    if (ffmpeg.isEmpty() || !fireWireNodeAttached())
        return false;
    ToolProcess probe;
    QByteArray output;
    QObject::connect(&probe, &ToolProcess::outputRead,
                     [&output](const QByteArray& piece) { output += piece; });
    if (probe.start(ffmpeg, {QStringLiteral("-hide_banner"), QStringLiteral("-devices")}) == 0)
        return false;
    if (!probe.waitForEnd(kDeviceListWaitMs)) {
        probe.kill();
        return false;
    }
    return output.contains(" iec61883 ");
}

SystemCaptureDevice::SystemCaptureDevice(std::unique_ptr<V4l2Kernel> kernel,
                                         const CaptureSession::Tools* tools, QObject* parent)
    : QObject(parent), m_kernel(kernel ? std::move(kernel) : std::make_unique<SystemV4l2Kernel>()),
      m_tools(tools ? *tools : systemTools()) {
    m_sources =
        ListCaptureSources(*m_kernel, FireWireDvAvailable(m_tools.ffmpeg),
                           qEnvironmentVariable(kTestPatternVariable) == QStringLiteral("1"));
    connect(&m_session, &CaptureSession::endedByItself, this, [this](bool success) {
        if (!m_recording)
            return;
        m_lastStatistics = m_session.statistics();
        finishRecording(success);
    });
}

SystemCaptureDevice::~SystemCaptureDevice() {
    shutDown();
}

QString SystemCaptureDevice::deviceName(int index) const {
    return index >= 0 && index < m_sources.size() ? m_sources[index].name : QString();
}

const CaptureSource* SystemCaptureDevice::selectedSource() const {
    return m_selected >= 0 && m_selected < m_sources.size() ? &m_sources[m_selected] : nullptr;
}

void SystemCaptureDevice::setSelectedDevice(int index) {
    if (index == m_selected)
        return;
    // Another device: the run of the one before ends first.
    endRun();
    m_selected = index;
}

void SystemCaptureDevice::setConnected(bool connected) {
    if (!connected) {
        endRun();
        m_connected = false;
        return;
    }
    m_connected = selectedSource() != nullptr;
    if (m_settings.previewOnConnect)
        m_preview = true;
    showLivePicture();
}

void SystemCaptureDevice::setStartupSettings(const CaptureStartupSettings& settings) {
    m_settings = settings;
    m_tools.keepPreviewAspect = settings.keepPreviewAspect;
}

void SystemCaptureDevice::setPreview(bool on) {
    m_preview = on;
    if (on)
        showLivePicture();
    else if (!m_recording)
        m_session.stop();
}

void SystemCaptureDevice::showLivePicture() {
    const CaptureSource* source = selectedSource();
    if (!m_connected || !m_preview || !source || m_previewWindow == 0 || m_session.isRunning())
        return;
    // Without a live picture the window still works; why is kept in errorText.
    if (!m_session.start(m_tools, *source, {}, m_previewWindow, m_settings.mirrorPreview))
        m_errorText = m_session.errorText();
}

bool SystemCaptureDevice::startRecording() {
    m_errorText.clear();
    const CaptureSource* source = selectedSource();
    if (!m_connected || !source) {
        m_errorText = QStringLiteral("No capture device is connected.");
        return false;
    }
    if (m_recording)
        return true;
    if (m_tools.ffmpeg.isEmpty()) {
        m_errorText = QStringLiteral("FFmpeg was not found; it comes with the package ffmpeg.");
        return false;
    }
    if (m_captureFile.isEmpty()) {
        m_errorText = QStringLiteral("Choose the file to record into.");
        return false;
    }
    // The device has one owner: the live picture's run ends, the recording's run shows it.
    m_session.stop();
    const QString part = RecordingPartFile(m_captureFile);
    QFile::remove(part);
    if (!m_session.start(m_tools, *source, part, m_preview ? m_previewWindow : 0,
                         m_settings.mirrorPreview)) {
        m_errorText = m_session.errorText();
        showLivePicture();
        return false;
    }
    m_recording = true;
    m_recordingFile = m_captureFile;
    m_lastStatistics = {};
    return true;
}

void SystemCaptureDevice::stopRecording() {
    if (!m_recording || m_stopping)
        return;
    endRecordingRun();
    // The live picture comes back once the caller is done: a window that stops the recording
    // on its way out (and then shuts the device down) starts no player it would end at once.
    QTimer::singleShot(0, this, &SystemCaptureDevice::showLivePicture);
}

void SystemCaptureDevice::endRecordingRun() {
    // The stop waits for FFmpeg to finish the file, events running meanwhile: a second stop
    // then would find the file already given its name and report nothing recorded.
    if (m_stopping)
        return;
    m_stopping = true;
    const bool success = m_session.stop();
    m_stopping = false;
    m_lastStatistics = m_session.statistics();
    finishRecording(success);
}

void SystemCaptureDevice::finishRecording(bool success) {
    m_recording = false;
    const QString part = RecordingPartFile(m_recordingFile);
    if (!QFile::exists(part)) {
        m_errorText = QStringLiteral("Nothing was recorded into %1. %2")
                          .arg(m_recordingFile, m_session.errorText())
                          .trimmed();
        return;
    }
    if (!success) {
        // An unfinished recording may lack its index: it never takes the place of a file.
        m_errorText = QStringLiteral("The recording ended early; what was recorded is in %1. %2")
                          .arg(part, m_session.errorText())
                          .trimmed();
        return;
    }
    // rename() replaces the old file in one step: the name always holds a complete file.
    if (std::rename(QFile::encodeName(part).constData(),
                    QFile::encodeName(m_recordingFile).constData()) != 0)
        m_errorText = QStringLiteral("The recording could not be named %1; it is in %2.")
                          .arg(m_recordingFile, part);
}

void SystemCaptureDevice::endRun() {
    if (m_recording)
        endRecordingRun();
    m_session.stop();
}

bool SystemCaptureDevice::isRecording() const {
    return m_recording;
}

CaptureStatistics SystemCaptureDevice::statistics() const {
    return m_recording ? m_session.statistics() : m_lastStatistics;
}

PropertyRange SystemCaptureDevice::propertyRange(CameraProperty property) const {
    const CaptureSource* source = selectedSource();
    if (!source || source->kind != CaptureSourceKind::V4l2)
        return {};
    return V4l2PropertyRange(*m_kernel, source->location, property);
}

int SystemCaptureDevice::propertyValue(CameraProperty property) const {
    const CaptureSource* source = selectedSource();
    if (!source || source->kind != CaptureSourceKind::V4l2)
        return 0;
    return V4l2PropertyValue(*m_kernel, source->location, property).value_or(0);
}

void SystemCaptureDevice::setPropertyValue(CameraProperty property, int value) {
    const CaptureSource* source = selectedSource();
    if (source && source->kind == CaptureSourceKind::V4l2)
        SetV4l2PropertyValue(*m_kernel, source->location, property, value);
}

void SystemCaptureDevice::shutDown() {
    endRun();
    m_connected = false;
}

} // namespace vidora

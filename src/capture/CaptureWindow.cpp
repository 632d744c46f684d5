#include "capture/CaptureWindow.h"

#include "capture/CaptureFile.h"
#include "platform/Messages.h"
#include "platform/Paths.h"
#include "preview/PlayerHost.h"

#include <QComboBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QVBoxLayout>

namespace vidora {

namespace {

constexpr const char* kPropertyLabels[kCameraPropertyCount] = {"Pan:", "Tilt:", "Roll:", "Zoom:"};

QString defaultSaveDialog(QWidget* parent, const QString& title, const QString& file,
                          const QString& filter) {
    // Qt's dialog asks before it returns a file that exists.
    return QFileDialog::getSaveFileName(parent, title, file, filter, nullptr,
                                        QFileDialog::DontResolveSymlinks |
                                            QFileDialog::HideNameFilterDetails |
                                            QFileDialog::DontUseNativeDialog);
}

} // namespace

CaptureWindow::CaptureWindow(CaptureDevice& device, QWidget* parent)
    : QDialog(parent), m_device(device), m_saveDialog(defaultSaveDialog) {
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Capture Video From DV"));
    setModal(true);
    buildLayout();
}

CaptureWindow::~CaptureWindow() {
    // The player draws into a child of this window: it ends before its host does.
    m_statisticsTimer->stop();
    m_device.shutDown();
}

void CaptureWindow::buildLayout() {
    // The player draws into the host's own X11 window; its parents stay Qt's own (the program
    // keeps its siblings so from its start).
    m_pictureHost = new QWidget(this);
    m_pictureHost->setObjectName(QStringLiteral("vcx"));
    preparePlayerHost(m_pictureHost);
    m_pictureHost->setMinimumSize(400, 300);

    auto* cameraFrame = new QGroupBox(QStringLiteral("Camera Control"), this);
    cameraFrame->setObjectName(QStringLiteral("CameraControl"));
    auto* cameraGrid = new QGridLayout(cameraFrame);
    m_deviceList = new QComboBox(cameraFrame);
    m_deviceList->setObjectName(QStringLiteral("Combo1"));
    m_deviceList->setMinimumWidth(200);
    cameraGrid->addWidget(new QLabel(QStringLiteral("Camera"), cameraFrame), 0, 0);
    cameraGrid->addWidget(m_deviceList, 0, 1);
    for (int i = 0; i < kCameraPropertyCount; ++i) {
        auto* slider = new QSlider(Qt::Horizontal, cameraFrame);
        slider->setObjectName(QStringLiteral("Slider%1").arg(i));
        cameraGrid->addWidget(new QLabel(QString::fromLatin1(kPropertyLabels[i]), cameraFrame),
                              i + 1, 0);
        cameraGrid->addWidget(slider, i + 1, 1);
        m_sliders[std::size_t(i)] = slider;
        connect(slider, &QSlider::valueChanged, this, [this, i] { moveSlider(i); });
    }
    cameraGrid->setRowStretch(kCameraPropertyCount + 1, 1);

    auto* fileFrame = new QGroupBox(QStringLiteral("Capture File"), this);
    fileFrame->setObjectName(QStringLiteral("CaptureFile"));
    auto* fileRow = new QHBoxLayout(fileFrame);
    m_fileText = new QLineEdit(DefaultCaptureFile(), fileFrame);
    m_fileText->setObjectName(QStringLiteral("Text1"));
    m_browseButton = new QPushButton(QStringLiteral("Browse..."), fileFrame);
    m_browseButton->setObjectName(QStringLiteral("Command5"));
    fileRow->addWidget(new QLabel(QStringLiteral("Capture File:"), fileFrame));
    fileRow->addWidget(m_fileText, 1);
    fileRow->addWidget(m_browseButton);

    const auto button = [this](const char* name, const char* caption) {
        auto* b = new QPushButton(QString::fromLatin1(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        return b;
    };
    m_startButton = button("Command1", "Start capture");
    m_stopButton = button("Command2", "Stop capture");
    m_previewButton = button("Command3", "Preview");
    m_exitButton = button("Command4", "Exit");
    m_browseButton->setAutoDefault(false);

    m_statisticsLabel = new QLabel(QStringLiteral("00:00:00"), this);
    m_statisticsLabel->setObjectName(QStringLiteral("Label2"));
    auto* timeRow = new QHBoxLayout;
    timeRow->addWidget(new QLabel(QStringLiteral("Capture Time:"), this));
    timeRow->addWidget(m_statisticsLabel, 1);

    auto* buttonRow = new QHBoxLayout;
    for (QPushButton* b : {m_startButton, m_stopButton, m_previewButton, m_exitButton})
        buttonRow->addWidget(b);

    auto* side = new QVBoxLayout;
    side->addWidget(cameraFrame, 1);
    side->addLayout(timeRow);
    side->addLayout(buttonRow);
    auto* top = new QHBoxLayout;
    top->addWidget(m_pictureHost, 1);
    top->addLayout(side);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(fileFrame);

    m_statisticsTimer = new QTimer(this);
    m_statisticsTimer->setObjectName(QStringLiteral("Timer1"));
    m_statisticsTimer->setInterval(kStatisticsIntervalMs);
    connect(m_statisticsTimer, &QTimer::timeout, this, &CaptureWindow::onStatisticsTick);

    connect(m_deviceList, &QComboBox::activated, this, &CaptureWindow::chooseDevice);
    connect(m_browseButton, &QPushButton::clicked, this, &CaptureWindow::browse);
    connect(m_startButton, &QPushButton::clicked, this, &CaptureWindow::startCapture);
    connect(m_stopButton, &QPushButton::clicked, this, &CaptureWindow::stopCapture);
    connect(m_previewButton, &QPushButton::clicked, this, &CaptureWindow::preview);
    connect(m_exitButton, &QPushButton::clicked, this, &CaptureWindow::exitWindow);
}

void CaptureWindow::load() {
    m_device.setPreviewWindow(quint64(m_pictureHost->winId()));
    const int count = m_device.deviceCount();
    for (int i = 0; i < count; ++i)
        m_deviceList->addItem(m_device.deviceName(i));
    if (count > 0) {
        m_deviceList->setCurrentIndex(0);
        chooseDevice(0);
    } else {
        m_startButton->setEnabled(false);
        m_stopButton->setEnabled(false);
        m_previewButton->setEnabled(false);
    }
    m_device.setStartupSettings(CaptureStartupSettings{});
    m_device.setBackgroundColour(Qt::black);
    m_statisticsTimer->start();
}

void CaptureWindow::chooseDevice(int index) {
    // Another device ends the recording of the one before, finished as "Stop capture" does.
    if (m_recordingShown)
        stopCapture();
    m_device.setConnected(false);
    m_device.setSelectedDevice(index);
    m_device.setConnected(true);
    m_updatingSliders = true;
    for (int i = 0; i < kCameraPropertyCount; ++i) {
        const auto property = CameraProperty(i);
        QSlider* slider = m_sliders[std::size_t(i)];
        const PropertyRange range = m_device.propertyRange(property);
        slider->setEnabled(range.supported());
        if (!range.supported())
            continue;
        slider->setRange(range.minimum, range.maximum);
        slider->setValue(m_device.propertyValue(property));
    }
    m_updatingSliders = false;
}

void CaptureWindow::moveSlider(int property) {
    if (m_updatingSliders)
        return;
    m_device.setPropertyValue(CameraProperty(property), m_sliders[std::size_t(property)]->value());
}

void CaptureWindow::browse() {
    const QString file = m_saveDialog(this, QStringLiteral("Save Video File"), m_fileText->text(),
                                      QStringLiteral("Avi Video file (*.avi)"));
    if (file.isEmpty())
        return;
    m_fileText->setText(file);
    m_confirmedFile = file;
}

void CaptureWindow::startCapture() {
    if (m_deviceList->count() == 0)
        return;
    if (m_device.isRecording()) {
        stopCapture();
        return;
    }
    const QString file = m_fileText->text();
    if (const QString problem = CheckCaptureFile(file, AppFolder(), file == m_confirmedFile);
        !problem.isEmpty()) {
        messages().error(problem);
        return;
    }
    m_device.setCaptureFile(file);
    m_device.setPreview(true);
    if (!m_device.startRecording()) {
        messages().error(QStringLiteral("The recording could not be started. ") +
                         m_device.errorText());
        return;
    }
    setRecordingButtons(true);
}

void CaptureWindow::stopCapture() {
    if (m_stopping)
        return;
    endRecording();
    setRecordingButtons(false);
    // Asked for while the recording ended; after the command that ended it has finished.
    if (m_closeAfterStop)
        QTimer::singleShot(0, this, &QWidget::close);
}

void CaptureWindow::preview() {
    if (m_deviceList->count() == 0)
        return;
    if (m_device.isRecording())
        stopCapture();
    else
        m_device.setPreview(true);
}

void CaptureWindow::exitWindow() {
    reject();
}

void CaptureWindow::done(int result) {
    if (m_stopping) {
        m_closeAfterStop = true;
        return;
    }
    endRecording();
    m_closeAfterStop = false; // a close asked for meanwhile is this one
    m_statisticsTimer->stop();
    m_device.shutDown();
    QDialog::done(result);
}

void CaptureWindow::endRecording() {
    if (m_stopping)
        return;
    const bool wasRecording = m_recordingShown || m_device.isRecording();
    // Events run while the device waits for the recording's end: no click may start another
    // stop (which would find the file already finished) or anything else meanwhile.
    m_stopping = true;
    setEnabled(false);
    m_device.stopRecording();
    setEnabled(true);
    m_stopping = false;
    if (!wasRecording)
        return;
    m_recordingShown = false;
    // The figures of the finished recording, as it ended; the label keeps them.
    m_statisticsLabel->setText(FormatCaptureStatistics(m_device.statistics()));
    if (!m_device.errorText().isEmpty())
        messages().error(m_device.errorText());
}

void CaptureWindow::setRecordingButtons(bool recording) {
    m_recordingShown = recording;
    m_startButton->setEnabled(!recording);
    m_previewButton->setEnabled(!recording);
}

void CaptureWindow::onStatisticsTick() {
    if (m_stopping)
        return;
    if (m_device.isRecording()) {
        m_statisticsLabel->setText(FormatCaptureStatistics(m_device.statistics()));
        return;
    }
    // The recording ended without being asked (the device went away, the disk filled up).
    if (m_recordingShown)
        stopCapture();
}

} // namespace vidora

#pragma once

#include "capture/CaptureDevice.h"

#include <QDialog>
#include <array>
#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
class QTimer;

namespace vidora {

// The capture window "Capture Video From DV": picks a capture device, shows its live picture,
// steers the camera's pan, tilt, roll and zoom where the device has them, records into an AVI
// file and shows the recording's running figures. The device does the work; the window only
// drives it. No recording or player outlives the window: leaving it in any way ("Exit", the
// close box, Esc) ends the recording as "Exit" does, so the file is complete. While a recording
// ends (the recorder finishing its file may take seconds) the window takes no commands; a
// close asked for meanwhile follows once the recording has ended.
class CaptureWindow : public QDialog {
    Q_OBJECT
public:
    // The save dialog: (parent, title, proposed file, filter) → the chosen file, or empty.
    using SaveDialog =
        std::function<QString(QWidget*, const QString&, const QString&, const QString&)>;

    static constexpr int kStatisticsIntervalMs = 500;

    explicit CaptureWindow(CaptureDevice& device, QWidget* parent = nullptr);
    ~CaptureWindow() override;

    // The opening steps after the skin: the device list, the first device, the buttons and the
    // device's start-up settings.
    void load();
    void setSaveDialog(SaveDialog dialog) { m_saveDialog = std::move(dialog); }

    // The window's commands, as its controls run them.
    void chooseDevice(int index);
    void moveSlider(int property);
    void browse();
    void startCapture();
    void stopCapture();
    void preview();
    void exitWindow();
    void onStatisticsTick();

    // However the window is left: the recording ends as "Exit" ends it, then the device.
    void done(int result) override;

private:
    void buildLayout();
    // Stops a recording (none: nothing happens) and says why when it did not end well.
    void endRecording();
    void setRecordingButtons(bool recording);

    CaptureDevice& m_device;
    SaveDialog m_saveDialog;
    QString m_confirmedFile; // the file whose replacement the save dialog confirmed
    bool m_recordingShown = false;
    bool m_updatingSliders = false;
    bool m_stopping = false;
    bool m_closeAfterStop = false;

    QWidget* m_pictureHost = nullptr;
    QComboBox* m_deviceList = nullptr;
    std::array<QSlider*, kCameraPropertyCount> m_sliders{};
    QLineEdit* m_fileText = nullptr;
    QPushButton* m_browseButton = nullptr;
    QPushButton* m_startButton = nullptr;
    QPushButton* m_stopButton = nullptr;
    QPushButton* m_previewButton = nullptr;
    QPushButton* m_exitButton = nullptr;
    QLabel* m_statisticsLabel = nullptr;
    QTimer* m_statisticsTimer = nullptr;
};

} // namespace vidora

#pragma once

#include "preview/ClipTrim.h"
#include "preview/PreviewPlayer.h"

#include <QDialog>

class QLineEdit;

namespace vidora {

class PreviewArea;
class PreviewState;
class ReleaseSlider;

// The clip trimming window "Clip Time": the start and end markers of one job with their time
// texts, and a preview of the job's file that works like the main window's. It is modal over
// the main window. "OK" accepts only a start before the end (else "Start time or End time is
// error."); the caller then writes startText() and endText() into the job's row. However it
// closes, its player is told to quit and is gone before the window. The opener applies the
// main window's skin to it (the skin belongs to the application shell).
//
// Beyond the markers' mouse: the keys I and O set the start and end marker to the preview's
// counted position.
class TrimmingWindow : public QDialog {
    Q_OBJECT
public:
    TrimmingWindow(PreviewState& preview, const TrimHandOver& handOver, QWidget* parent = nullptr);
    ~TrimmingWindow() override;

    QString startText() const { return m_trim.startText(); }
    QString endText() const { return m_trim.endText(); }
    PreviewPlayer& player() { return m_player; }
    // TrimFile: the job's file while the window is open, empty once it closed.
    QString trimFile() const { return m_trimFile; }

    void done(int result) override;

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildLayout();
    void showTrim();
    void onOk();
    void onCancel();

    PreviewState& m_preview;
    TrimHandOver m_handOver;
    ClipTrim m_trim;
    QString m_trimFile;
    PreviewPlayer m_player;
    PreviewArea* m_previewArea = nullptr;
    ReleaseSlider* m_startMarker = nullptr;
    ReleaseSlider* m_endMarker = nullptr;
    QLineEdit* m_startBox = nullptr;
    QLineEdit* m_endBox = nullptr;
    QLineEdit* m_clipBox = nullptr;
    bool m_closed = false;
};

} // namespace vidora

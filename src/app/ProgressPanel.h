#pragma once

#include <QFrame>
#include <QPoint>
#include <QProgressBar>

class QGroupBox;
class QLabel;
class QPushButton;

namespace vidora {

// A progress bar that shows any value it is given, also one above its maximum (a run of six
// jobs adds up to 102 before its final 100): the range grows with the value, and the text
// shows the value itself.
class PercentBar : public QProgressBar {
    Q_OBJECT
public:
    explicit PercentBar(QWidget* parent = nullptr);
    void setPercent(int percent);
    int percent() const { return m_percent; }
    QString text() const override;

private:
    int m_percent = 0;
};

// The progress panel `Picture4`, shown while a conversion runs: the job being converted, the
// total and per-job bars, the elapsed time of the job and the Cancel button. The left mouse
// button drags it around inside the main window; other buttons do nothing.
class ProgressPanel : public QFrame {
    Q_OBJECT
public:
    explicit ProgressPanel(QWidget* parent);

    QGroupBox* Frame14 = nullptr;
    PercentBar* prgTotalProgress = nullptr;
    PercentBar* prgTrackProgress = nullptr;
    QLabel* SkinLabel2 = nullptr;
    QPushButton* Command1 = nullptr;

    bool isDragging() const { return m_dragging; }

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool m_dragging = false;
    QPoint m_pressPoint;
};

} // namespace vidora

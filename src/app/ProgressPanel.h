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
// total and per-job bars, the elapsed time of the job, the time left and the Cancel button.
// The left mouse button drags it around inside the main window; other buttons do nothing.
class ProgressPanel : public QFrame {
    Q_OBJECT
public:
    explicit ProgressPanel(QWidget* parent);

    void setTotalPercent(int percent);
    void setJobPercent(int percent);
    // "Progress...." + input + " To " + output.
    void setJobCaption(const QString& caption);
    void setElapsedText(const QString& text);
    // The estimate of the time left; an empty text leaves the line blank and greyed.
    void setTimeLeftText(const QString& text);

    int totalPercent() const;
    int jobPercent() const;
    QString jobCaption() const;
    QString elapsedText() const;
    QString timeLeftText() const;

    bool isDragging() const { return m_dragging; }

signals:
    // The Cancel button was clicked.
    void cancelRequested();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QGroupBox* m_jobFrame = nullptr;
    PercentBar* m_totalBar = nullptr;
    PercentBar* m_jobBar = nullptr;
    QLabel* m_elapsed = nullptr;
    QLabel* m_timeLeftCaption = nullptr;
    QLabel* m_timeLeft = nullptr;
    QPushButton* m_cancelButton = nullptr;
    bool m_dragging = false;
    QPoint m_pressPoint;
};

} // namespace vidora

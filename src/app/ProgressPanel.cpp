#include "app/ProgressPanel.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QVBoxLayout>

namespace vidora {

PercentBar::PercentBar(QWidget* parent) : QProgressBar(parent) {
    setRange(0, 100);
    setValue(0);
    setTextVisible(true);
}

void PercentBar::setPercent(int percent) {
    m_percent = percent;
    setMaximum(std::max(100, percent));
    setValue(std::clamp(percent, 0, maximum()));
    update();
}

QString PercentBar::text() const {
    return QStringLiteral("%1%").arg(m_percent);
}

namespace {
QGroupBox* framed(const QString& name, const QString& caption, QWidget* content, QWidget* parent) {
    auto* frame = new QGroupBox(caption, parent);
    frame->setObjectName(name);
    auto* layout = new QVBoxLayout(frame);
    layout->addWidget(content);
    return frame;
}
} // namespace

ProgressPanel::ProgressPanel(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("Picture4"));
    // The panel floats over the preview, whose picture is a window of its own (the player
    // draws into it): only a window of its own, raised above that one, gets the clicks on
    // Cancel wherever the panel was dragged. Its parents stay windowless.
    setAttribute(Qt::WA_DontCreateNativeAncestors);
    setAttribute(Qt::WA_NativeWindow);
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    setCursor(Qt::SizeAllCursor);

    m_jobFrame = new QGroupBox(QStringLiteral("Progress...."), this);
    m_jobFrame->setObjectName(QStringLiteral("Frame14"));
    m_totalBar = new PercentBar(this);
    m_totalBar->setObjectName(QStringLiteral("prgTotalProgress"));
    m_jobBar = new PercentBar(this);
    m_jobBar->setObjectName(QStringLiteral("prgTrackProgress"));

    auto* inner = new QGridLayout(m_jobFrame);
    inner->addWidget(framed(QStringLiteral("Frame3"), QStringLiteral("Total Conversion"),
                            m_totalBar, m_jobFrame),
                     0, 0, 1, 3);
    inner->addWidget(framed(QStringLiteral("Frame13"), QStringLiteral("Currently Conversion"),
                            m_jobBar, m_jobFrame),
                     1, 0, 1, 3);
    auto* timeCaption = new QLabel(QStringLiteral("Current video Time:"), m_jobFrame);
    timeCaption->setObjectName(QStringLiteral("SkinLabel1"));
    m_elapsed = new QLabel(QStringLiteral("00:00:00"), m_jobFrame);
    m_elapsed->setObjectName(QStringLiteral("SkinLabel2"));
    m_timeLeftCaption = new QLabel(QStringLiteral("Time left:"), m_jobFrame);
    m_timeLeftCaption->setObjectName(QStringLiteral("TimeLeftCaption"));
    m_timeLeft = new QLabel(m_jobFrame);
    m_timeLeft->setObjectName(QStringLiteral("TimeLeft"));
    m_cancelButton = new QPushButton(QStringLiteral("Cancel"), m_jobFrame);
    m_cancelButton->setObjectName(QStringLiteral("Command1"));
    m_cancelButton->setCursor(Qt::ArrowCursor);
    connect(m_cancelButton, &QPushButton::clicked, this, &ProgressPanel::cancelRequested);
    inner->addWidget(timeCaption, 2, 0);
    inner->addWidget(m_elapsed, 2, 1);
    inner->addWidget(m_cancelButton, 2, 2, 2, 1, Qt::AlignRight | Qt::AlignVCenter);
    inner->addWidget(m_timeLeftCaption, 3, 0);
    inner->addWidget(m_timeLeft, 3, 1);
    inner->setColumnStretch(1, 1);
    setTimeLeftText(QString());

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_jobFrame);
    setFixedWidth(460);
    adjustSize();
}

void ProgressPanel::setTotalPercent(int percent) {
    m_totalBar->setPercent(percent);
}

void ProgressPanel::setJobPercent(int percent) {
    m_jobBar->setPercent(percent);
}

void ProgressPanel::setJobCaption(const QString& caption) {
    m_jobFrame->setTitle(caption);
}

void ProgressPanel::setElapsedText(const QString& text) {
    m_elapsed->setText(text);
}

void ProgressPanel::setTimeLeftText(const QString& text) {
    m_timeLeft->setText(text);
    // The line keeps its place, so the panel does not jump when an estimate comes or goes.
    m_timeLeftCaption->setEnabled(!text.isEmpty());
}

int ProgressPanel::totalPercent() const {
    return m_totalBar->percent();
}

int ProgressPanel::jobPercent() const {
    return m_jobBar->percent();
}

QString ProgressPanel::jobCaption() const {
    return m_jobFrame->title();
}

QString ProgressPanel::elapsedText() const {
    return m_elapsed->text();
}

QString ProgressPanel::timeLeftText() const {
    return m_timeLeft->text();
}

void ProgressPanel::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QFrame::mousePressEvent(event);
        return;
    }
    m_pressPoint = event->position().toPoint();
    m_dragging = true;
    grabMouse();
}

void ProgressPanel::mouseMoveEvent(QMouseEvent* event) {
    if (!m_dragging) {
        QFrame::mouseMoveEvent(event);
        return;
    }
    // The panel stays under the mouse at the point where it was grabbed.
    move(mapToParent(event->position().toPoint()) - m_pressPoint);
}

void ProgressPanel::mouseReleaseEvent(QMouseEvent* event) {
    if (m_dragging) {
        m_dragging = false;
        releaseMouse();
    }
    QFrame::mouseReleaseEvent(event);
}

} // namespace vidora

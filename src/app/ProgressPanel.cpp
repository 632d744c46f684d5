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
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    setCursor(Qt::SizeAllCursor);

    Frame14 = new QGroupBox(QStringLiteral("Progress...."), this);
    Frame14->setObjectName(QStringLiteral("Frame14"));
    prgTotalProgress = new PercentBar(this);
    prgTotalProgress->setObjectName(QStringLiteral("prgTotalProgress"));
    prgTrackProgress = new PercentBar(this);
    prgTrackProgress->setObjectName(QStringLiteral("prgTrackProgress"));

    auto* inner = new QGridLayout(Frame14);
    inner->addWidget(framed(QStringLiteral("Frame3"), QStringLiteral("Total Conversion"),
                            prgTotalProgress, Frame14),
                     0, 0, 1, 3);
    inner->addWidget(framed(QStringLiteral("Frame13"), QStringLiteral("Currently Conversion"),
                            prgTrackProgress, Frame14),
                     1, 0, 1, 3);
    auto* timeCaption = new QLabel(QStringLiteral("Current video Time:"), Frame14);
    timeCaption->setObjectName(QStringLiteral("SkinLabel1"));
    SkinLabel2 = new QLabel(QStringLiteral("00:00:00"), Frame14);
    SkinLabel2->setObjectName(QStringLiteral("SkinLabel2"));
    Command1 = new QPushButton(QStringLiteral("Cancel"), Frame14);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setCursor(Qt::ArrowCursor);
    inner->addWidget(timeCaption, 2, 0);
    inner->addWidget(SkinLabel2, 2, 1);
    inner->addWidget(Command1, 2, 2, Qt::AlignRight);
    inner->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Frame14);
    setFixedWidth(460);
    adjustSize();
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

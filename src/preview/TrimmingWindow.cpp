#include "preview/TrimmingWindow.h"

#include "platform/Messages.h"
#include "platform/ToolProcesses.h"
#include "preview/PreviewArea.h"
#include "preview/ReleaseSlider.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vidora {

namespace {

const QString kStartStopError = QStringLiteral("Start time or End time is error.");

} // namespace

TrimmingWindow::TrimmingWindow(PreviewState& preview, const TrimHandOver& handOver, QWidget* parent)
    : QDialog(parent), m_preview(preview), m_handOver(handOver), m_trim(handOver),
      m_trimFile(handOver.file), m_player(preview, trimmingWindowOptionTexts()) {
    setObjectName(QStringLiteral("Form2"));
    setModal(true);
    m_player.useOwnFile(m_trimFile);
    buildLayout();
    showTrim();
    m_preview.PreviewPosition = 0;
    m_preview.PreviewLength = previewSeconds(handOver.videoTime);
    setWindowTitle(m_trim.caption());
}

TrimmingWindow::~TrimmingWindow() {
    // However the window went (with done() or without), no player may outlive its host.
    m_player.endPlayers();
}

void TrimmingWindow::buildLayout() {
    m_previewArea =
        new PreviewArea(QString(), QStringLiteral("Text4"), QStringLiteral("Slider3"), this);
    m_previewArea->setObjectName(QStringLiteral("TrimPreviewFrame"));
    m_previewArea->setStartControlsEnabled(true);
    connectPreview(m_previewArea, &m_player);
    connect(m_previewArea, &PreviewArea::playClicked, this,
            [this] { m_player.play(m_trimFile, m_handOver.videoTime); });

    auto* markers = new QGroupBox(QStringLiteral("Start Time and End Time"), this);
    markers->setObjectName(QStringLiteral("MarkerFrame"));
    auto* grid = new QGridLayout(markers);
    const auto marker = [&](const char* name, const char* toolTip) {
        auto* slider = new ReleaseSlider(markers);
        slider->setObjectName(QString::fromLatin1(name));
        slider->setRange(0, m_trim.markerMaximum());
        slider->setToolTip(QString::fromLatin1(toolTip));
        return slider;
    };
    m_startMarker = marker("Slider1", "Start of the clip. The key I sets it to the preview's "
                                      "current time.");
    m_endMarker =
        marker("Slider2", "End of the clip. The key O sets it to the preview's current time.");
    const auto box = [&](const char* labelName, const char* caption, const char* name, int row) {
        auto* label = new QLabel(QString::fromLatin1(caption), markers);
        label->setObjectName(QString::fromLatin1(labelName));
        auto* edit = new QLineEdit(markers);
        edit->setObjectName(QString::fromLatin1(name));
        // The boxes show what the markers say; the markers are how the times change.
        edit->setReadOnly(true);
        edit->setFocusPolicy(Qt::NoFocus);
        edit->setMaximumWidth(110);
        grid->addWidget(label, row, 0);
        grid->addWidget(edit, row, 1);
        return edit;
    };
    m_startBox = box("SkinLabel1", "Start Time:", "Text1", 0);
    m_endBox = box("SkinLabel2", "End Time:", "Text2", 1);
    m_clipBox = box("SkinLabel3", "Clip Time", "Text3", 2);
    grid->addWidget(m_startMarker, 0, 2);
    grid->addWidget(m_endMarker, 1, 2);
    grid->setColumnStretch(2, 1);
    connect(m_startMarker, &ReleaseSlider::mouseReleased, this, [this](int value) {
        m_trim.releaseStartMarker(value);
        showTrim();
    });
    connect(m_endMarker, &ReleaseSlider::mouseReleased, this, [this](int value) {
        m_trim.releaseEndMarker(value);
        showTrim();
    });

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("Command1"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("Command2"));
    connect(ok, &QPushButton::clicked, this, &TrimmingWindow::onOk);
    connect(cancel, &QPushButton::clicked, this, &TrimmingWindow::onCancel);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_previewArea, 1);
    layout->addWidget(markers);
    layout->addLayout(buttons);
    resize(680, 600);
}

void TrimmingWindow::showTrim() {
    m_startBox->setText(m_trim.startText());
    m_endBox->setText(m_trim.endText());
    m_clipBox->setText(m_trim.clipText());
    m_startMarker->setValue(m_trim.startMarker());
    m_endMarker->setValue(m_trim.endMarker());
}

void TrimmingWindow::onOk() {
    if (!m_trim.canAccept()) {
        messages().error(kStartStopError);
        return;
    }
    accept();
}

void TrimmingWindow::onCancel() {
    reject();
}

void TrimmingWindow::done(int result) {
    if (!m_closed) {
        m_closed = true;
        if (PreviewState::previewProcessId() != 0)
            SendPlayerKey(kQuitKey);
        // The host goes with the window: its player ends first. Events still run while that
        // waits, so the window takes no more clicks: none may start another player here.
        setEnabled(false);
        m_player.endPlayers();
        m_trimFile.clear();
    }
    QDialog::done(result);
}

void TrimmingWindow::keyPressEvent(QKeyEvent* event) {
    if (event->modifiers() == Qt::NoModifier &&
        (event->key() == Qt::Key_I || event->key() == Qt::Key_O)) {
        if (event->key() == Qt::Key_I)
            m_trim.releaseStartMarker(m_preview.PreviewPosition);
        else
            m_trim.releaseEndMarker(m_preview.PreviewPosition);
        showTrim();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace vidora

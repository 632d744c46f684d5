#include "download/DownloadWindow.h"

#include "download/StreamPreview.h"
#include "platform/Messages.h"
#include "platform/Paths.h"
#include "preview/PlayerHost.h"

#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>

namespace vidora {

// One format button: its control, caption, link, whether it asks first, and the ending of
// the downloaded file's name.
struct DownloadWindow::FormatButton {
    const char* name;
    const char* caption;
    int code;
    QString FormatLinks::*link;
    bool asks;
    const char* ending;
};

namespace {

const DownloadWindow::FormatButton kFormatButtons[] = {
    {"getMp4", "Get MP4", 22, &FormatLinks::LinkMp4, false, ".mp4"},
    {"getHDH", "Get HD Low", 34, &FormatLinks::LinkHdLow, true, "_Full_HD.flv"},
    {"getHDL", "Get HD High", 35, &FormatLinks::LinkHdHigh, true, "_HD.flv"},
    {"getFlv", "Get FLV", 5, &FormatLinks::LinkFlv, true, ".flv"},
};

const QString kSampleAddress = QStringLiteral("http://www.youtube.com/watch?v=XXXXX");
const QString kQuestion =
    QStringLiteral("Do you want Download or Play this video?\nClick yes to Download, No to Play");

template <typename Widget> Widget* named(Widget* widget, const char* name, QRect geometry) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(geometry);
    return widget;
}

QLabel* label(QWidget* parent, const char* name, const char* text, QRect geometry) {
    return named(new QLabel(QString::fromLatin1(text), parent), name, geometry);
}

QPushButton* button(QWidget* parent, const char* name, const char* text, QRect geometry) {
    return named(new QPushButton(QString::fromLatin1(text), parent), name, geometry);
}

// The preview area covers the controls under it when it is in view, its title strip too.
class OpaqueGroupBox : public QGroupBox {
public:
    using QGroupBox::QGroupBox;

protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter(this).fillRect(rect(), palette().window());
        QGroupBox::paintEvent(event);
    }
};

} // namespace

DownloadWindow::DownloadWindow(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("Formyutobe"));
    setWindowTitle(QStringLiteral("DorOrudEvir-Beta Release"));
    setModal(true);
    setFixedSize(kSize);
    // The window is small: its buttons keep the skin's look with less padding.
    setStyleSheet(QStringLiteral("QPushButton { padding: 1px 4px; min-height: 0px; }"));
    m_question = [this] {
        return QMessageBox::question(this, QStringLiteral("Download/Play"), kQuestion,
                                     QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
    };
    buildControls();
    connect(&m_pageTransfer, &HttpTransfer::statusChanged, m_status, &QLabel::setText);
    m_address->setFocus();
}

DownloadWindow::~DownloadWindow() {
    m_pageTransfer.abort();
    m_thumbnailTransfer.abort();
    // Before the host widget goes with the other children.
    m_player->stop();
}

void DownloadWindow::buildControls() {
    m_prompt = label(this, "Label1", "Enter YouTube video URL", {8, 6, 300, 16});
    m_closeButton = button(this, "cmdCLose", "X", {446, 4, 26, 20});
    m_address = named(new QLineEdit(kSampleAddress, this), "txtWatchUrl", {8, 26, 340, 24});
    m_getDirectLink = button(this, "cmdG", "Get Direct Link", {354, 26, 118, 24});
    m_getDirectLink->setDefault(true);
    m_status = label(this, "lblTitle", "Status  ", {8, 54, 462, 16});

    m_thumbnail = label(this, "picTitle", "", {8, 74, 130, 98});
    m_thumbnail->setScaledContents(true);
    m_thumbnail->setFrameShape(QFrame::Box);
    m_title = label(this, "lblTitle1", "Title", {146, 74, 324, 18});
    QFont bold = m_title->font();
    bold.setBold(true);
    m_title->setFont(bold);
    m_author = label(this, "lblAuthor", "Author", {146, 94, 160, 16});
    m_published = label(this, "lblPublished", "Published", {310, 94, 160, 16});
    m_category = label(this, "lblCat", "Category", {146, 112, 324, 16});
    m_ratingCaption = label(this, "lblRat", "Rating", {146, 130, 50, 16});
    m_rating = label(this, "lblRating", "Rating", {200, 130, 106, 16});
    m_duration = label(this, "lblDur", "Duration", {310, 130, 160, 16});
    m_description = named(new QPlainTextEdit(this), "txtDesc", {146, 150, 324, 70});
    m_description->setReadOnly(true);

    int x = 8;
    for (const FormatButton& format : kFormatButtons) {
        QPushButton* b = button(this, format.name, format.caption, {x, 228, 112, 26});
        b->setEnabled(false);
        connect(b, &QPushButton::clicked, this, [this, &format] { formatClicked(format); });
        m_formatButtons << b;
        x += 116;
    }
    m_progress = named(new QProgressBar(this), "pbDownload", {8, 262, 400, 18});
    m_progress->setRange(0, 100);
    m_progress->setValue(0);
    m_progress->setTextVisible(false);
    m_percent = label(this, "Label2", "", {414, 262, 56, 18});
    m_previewButton = button(this, "cmdPR", "Preview", {8, 290, 100, 26});

    m_previewArea = named(new OpaqueGroupBox(QStringLiteral("YouTube Preview"), this), "frmPR",
                          {kPreviewHiddenX, kPreviewAtQuestion.y(), 440, 285});
    m_previewHost = named(new QWidget(m_previewArea), "SWF", {8, 22, 424, 234});
    // The preview area moves in and out of view with the host in it: it is a native window of
    // its own too, so the host's X window moves with it (a native child of a widget drawn by
    // Qt stays where it was made).
    preparePlayerHost(m_previewHost, HostParents::Native);
    m_previewHint =
        label(m_previewArea, "Label8", "Click and wait for video to Load...", {8, 262, 300, 16});
    m_previewClose = label(m_previewArea, "Label6", "X", {420, 2, 14, 16});
    m_previewClose->setCursor(Qt::PointingHandCursor);
    m_previewClose->installEventFilter(this);
    m_player = new StreamPreview(m_previewHost, this);

    m_address->installEventFilter(this);
    connect(m_address, &QLineEdit::textChanged, this, [this] {
        m_addressChanged = true;
        if (!m_transferRunning)
            m_getDirectLink->setEnabled(true);
    });
    connect(m_getDirectLink, &QPushButton::clicked, this, &DownloadWindow::getDirectLink);
    connect(m_previewButton, &QPushButton::clicked, this, [this] {
        showPreviewAt(kPreviewAtButton);
        LoadFLVPlayer(URLDecode(m_links.LinkHdHigh).value_or(QString()));
    });
    connect(m_closeButton, &QPushButton::clicked, this, &QDialog::close);

    // Tab goes through the controls in reading order.
    QWidget* order[] = {m_address,          m_getDirectLink,    m_description,
                        m_formatButtons[0], m_formatButtons[1], m_formatButtons[2],
                        m_formatButtons[3], m_previewButton,    m_closeButton};
    for (qsizetype i = 1; i < std::ssize(order); ++i)
        setTabOrder(order[i - 1], order[i]);
    showPicture(joinPath(AppFolder(), QStringLiteral("loading.jpg")));
}

void DownloadWindow::setDownloadOrPlayQuestion(std::function<bool()> question) {
    m_question = std::move(question);
}

bool DownloadWindow::isPreviewPlaying() const {
    return m_player->isPlaying();
}

void DownloadWindow::getDirectLink() {
    if (m_transferRunning)
        return;
    m_addressChanged = false;
    setTransferRunning(true);
    showPicture(joinPath(AppFolder(), QStringLiteral("loading.jpg")));
    // Each step goes on when the one before failed: an empty page gives empty fields.
    const QString page = LoadPage(m_pageTransfer, m_address->text());
    if (m_closing)
        return;
    for (const int code : GetURLs(page, m_links))
        m_offeredFormats.insert(code);
    m_info = ParseWatchPage(page);
    const QString thumbnail = SafeFileName(m_info.VideoId) + QStringLiteral(".jpg");
    CacheThumbnail(m_thumbnailTransfer, m_info.ThumbnailUrl, thumbnail);
    if (m_closing)
        return;
    showPicture(joinPath(CacheFolder(), thumbnail));
    m_title->setText(m_info.Title);
    m_description->setPlainText(m_info.Description);
    m_category->setText(m_info.Category);
    m_author->setText(m_info.Author);
    m_duration->setText(m_info.LengthSeconds + QStringLiteral(" Sec."));
    m_published->setText(m_info.Published);
    m_rating->setText(m_info.Rating);
    setTransferRunning(false);
}

void DownloadWindow::formatClicked(const FormatButton& format) {
    const QString link = m_links.*format.link;
    if (format.asks && !m_question()) {
        showPreviewAt(kPreviewAtQuestion);
        LoadFLVPlayer(URLDecode(link).value_or(QString()));
        return;
    }
    download(link, SafeFileName(m_info.Title) + QString::fromLatin1(format.ending));
}

void DownloadWindow::download(const QString& link, const QString& fileName) {
    const std::optional<QString> decoded = URLDecode(link);
    if (!decoded) {
        messages().error(QStringLiteral("Error-The link holds an escape that is not hexadecimal"));
        return;
    }
    setTransferRunning(true);
    DownloadToFile(m_pageTransfer, *decoded, DownloadFolder(), fileName, [this](int percent) {
        m_percent->setText(PercentText(percent));
        m_progress->setValue(percent);
    });
    if (!m_closing)
        setTransferRunning(false);
}

void DownloadWindow::LoadFLVPlayer(const QString& flvLink) {
    m_previewHost->setToolTip(QStringLiteral("Preview of ") + m_info.Title);
    m_player->play(flvLink);
}

void DownloadWindow::showPreviewAt(QPoint position) {
    m_previewArea->move(position);
    m_previewArea->raise();
}

void DownloadWindow::showPicture(const QString& file) {
    // A picture that cannot be read leaves the one shown.
    const QPixmap picture(file);
    if (!picture.isNull())
        m_thumbnail->setPixmap(picture);
}

// Two transfers on one component would mix their bytes: while one runs, nothing else starts.
void DownloadWindow::setTransferRunning(bool running) {
    // The control that had the focus gets it back afterwards (not the close button, where the
    // focus goes while the others are disabled).
    if (running)
        m_focusBefore = focusWidget();
    m_transferRunning = running;
    for (qsizetype i = 0; i < m_formatButtons.size(); ++i)
        m_formatButtons[i]->setEnabled(!running &&
                                       m_offeredFormats.contains(kFormatButtons[i].code));
    m_previewButton->setEnabled(!running);
    m_getDirectLink->setEnabled(!running && m_addressChanged);
    if (running)
        return;
    if (m_focusBefore && m_focusBefore->isEnabled())
        m_focusBefore->setFocus();
    else
        m_address->setFocus();
}

void DownloadWindow::done(int result) {
    // A transfer still running ends here (the file keeps what was written), and the player
    // stops before its host goes away.
    m_closing = true;
    m_pageTransfer.abort();
    m_thumbnailTransfer.abort();
    m_player->stop();
    QDialog::done(result);
}

bool DownloadWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease) {
        if (watched == m_previewClose)
            m_previewArea->move(kPreviewHiddenX, m_previewArea->y());
        else if (watched == m_address && !m_address->hasSelectedText())
            m_address->selectAll();
    }
    return QDialog::eventFilter(watched, event);
}

void DownloadWindow::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    // Without a frame of its own, a line shows where the window ends.
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Highlight));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void DownloadWindow::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        m_dragOffset = event->globalPosition().toPoint() - pos();
    QDialog::mousePressEvent(event);
}

void DownloadWindow::mouseMoveEvent(QMouseEvent* event) {
    if (event->buttons() & Qt::LeftButton)
        move(event->globalPosition().toPoint() - m_dragOffset);
    QDialog::mouseMoveEvent(event);
}

} // namespace vidora

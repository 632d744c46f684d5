#pragma once

#include "webvideo/Transfers.h"
#include "webvideo/WatchPage.h"

#include <QDialog>
#include <QPoint>
#include <QPointer>
#include <QSet>
#include <functional>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace vidora {

class StreamPreview;

// The web video download window: a watch-page address in, the video's facts and thumbnail
// shown, and the formats found offered for download into the download folder or for playing
// in the window's preview area. Modal, frameless, dragged by its background.
class DownloadWindow : public QDialog {
    Q_OBJECT
public:
    // The window's size: 7170 x 4845 twips.
    static constexpr QSize kSize{478, 323};
    // Where the preview area goes: shown by "No" of the question, by "Preview", and out of view.
    static constexpr QPoint kPreviewAtQuestion{16, 8};
    static constexpr QPoint kPreviewAtButton{20, 30};
    static constexpr int kPreviewHiddenX = 533;

    // One of the four format buttons (its table lives with the window's code).
    struct FormatButton;

    explicit DownloadWindow(QWidget* parent = nullptr);
    ~DownloadWindow() override;

    // The "Download/Play" question: true for Yes (download), false for No (play). Tests put
    // their own answer here.
    void setDownloadOrPlayQuestion(std::function<bool()> question);
    HttpTransfer& pageTransfer() { return m_pageTransfer; }
    bool isPreviewPlaying() const;

    // "Get Direct Link": loads and reads the page, caches and shows the thumbnail.
    void getDirectLink();
    // Plays the stream link in the preview area.
    void LoadFLVPlayer(const QString& flvLink);

    void done(int result) override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void buildControls();
    void formatClicked(const FormatButton& format);
    void download(const QString& link, const QString& fileName);
    void showPreviewAt(QPoint position);
    void showPicture(const QString& file);
    void setTransferRunning(bool running);

    HttpTransfer m_pageTransfer;
    HttpTransfer m_thumbnailTransfer;
    FormatLinks m_links;
    WatchPageInfo m_info;
    QSet<int> m_offeredFormats;
    bool m_addressChanged = true;
    bool m_transferRunning = false;
    bool m_closing = false;
    QPoint m_dragOffset;
    QPointer<QWidget> m_focusBefore;
    std::function<bool()> m_question;

    QLabel* m_prompt = nullptr;
    QLineEdit* m_address = nullptr;
    QPushButton* m_getDirectLink = nullptr;
    QLabel* m_status = nullptr;
    QLabel* m_thumbnail = nullptr;
    QLabel* m_title = nullptr;
    QPlainTextEdit* m_description = nullptr;
    QLabel* m_duration = nullptr;
    QLabel* m_category = nullptr;
    QLabel* m_ratingCaption = nullptr;
    QLabel* m_rating = nullptr;
    QLabel* m_published = nullptr;
    QLabel* m_author = nullptr;
    QList<QPushButton*> m_formatButtons;
    QProgressBar* m_progress = nullptr;
    QLabel* m_percent = nullptr;
    QPushButton* m_previewButton = nullptr;
    QPushButton* m_closeButton = nullptr;
    QGroupBox* m_previewArea = nullptr;
    QWidget* m_previewHost = nullptr;
    QLabel* m_previewHint = nullptr;
    QLabel* m_previewClose = nullptr;
    StreamPreview* m_player = nullptr;
};

} // namespace vidora

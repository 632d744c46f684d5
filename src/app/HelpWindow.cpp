#include "app/HelpWindow.h"

#include "app/Skin.h"
#include "platform/Desktop.h"
#include "platform/Paths.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QShortcut>
#include <QTextBrowser>
#include <QToolButton>
#include <QVBoxLayout>

namespace vidora {

namespace {

const QString kTitle = QStringLiteral("Vidora Help");

QToolButton* toolButton(const char* name, const QString& text, const QKeySequence& keys,
                        QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(text);
    button->setShortcut(keys);
    button->setToolTip(text + QStringLiteral(" (") + keys.toString(QKeySequence::NativeText) +
                       u')');
    return button;
}

} // namespace

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("HelpWindow"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(kTitle);

    m_back =
        toolButton("HelpBack", QStringLiteral("Back"), QKeySequence(Qt::ALT | Qt::Key_Left), this);
    m_forward = toolButton("HelpForward", QStringLiteral("Forward"),
                           QKeySequence(Qt::ALT | Qt::Key_Right), this);
    QToolButton* contents = toolButton("HelpContents", QStringLiteral("Contents"),
                                       QKeySequence(Qt::ALT | Qt::Key_Home), this);
    auto* bar = new QHBoxLayout;
    bar->addWidget(m_back);
    bar->addWidget(m_forward);
    bar->addWidget(contents);
    bar->addStretch(1);

    m_browser = new QTextBrowser(this);
    m_browser->setObjectName(QStringLiteral("HelpBrowser"));
    // Every link comes to followLink, so that no address outside the help opens in here.
    m_browser->setOpenLinks(false);
    m_browser->setOpenExternalLinks(false);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(m_browser, 1);

    connect(m_browser, &QTextBrowser::anchorClicked, this, &HelpWindow::followLink);
    connect(m_browser, &QTextBrowser::sourceChanged, this, &HelpWindow::showTitle);
    connect(m_browser, &QTextBrowser::backwardAvailable, m_back, &QWidget::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, m_forward, &QWidget::setEnabled);
    connect(m_back, &QToolButton::clicked, m_browser, &QTextBrowser::backward);
    connect(m_forward, &QToolButton::clicked, m_browser, &QTextBrowser::forward);
    connect(contents, &QToolButton::clicked, this, &HelpWindow::showContents);
    auto* closeKey = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(closeKey, &QShortcut::activated, this, &QWidget::close);
    m_back->setEnabled(false);
    m_forward->setEnabled(false);

    resize(760, 640);
    applySkin(this);
    showContents();
}

QUrl HelpWindow::startPage() {
    return QUrl::fromLocalFile(AppFolder() + QStringLiteral("help/index.html"));
}

QUrl HelpWindow::currentPage() const {
    return m_browser->source();
}

void HelpWindow::showContents() {
    const QUrl start = startPage();
    if (!QFileInfo::exists(start.toLocalFile())) {
        m_browser->setHtml(QStringLiteral("<h1>Vidora Help</h1><p>The help pages are missing: "
                                          "there is no %1.</p><p>Reinstalling Vidora brings "
                                          "them back.</p>")
                               .arg(start.toLocalFile().toHtmlEscaped()));
        return;
    }
    m_browser->setSource(start);
}

void HelpWindow::followLink(const QUrl& link) {
    const QUrl target = m_browser->source().resolved(link);
    if (target.isLocalFile()) {
        m_browser->setSource(target);
        return;
    }
    desktop().openUrl(target.toString(QUrl::FullyEncoded));
}

void HelpWindow::showTitle() {
    const QString page = m_browser->documentTitle();
    setWindowTitle(page.isEmpty() || page == kTitle ? kTitle
                                                    : page + QStringLiteral(" - ") + kTitle);
}

} // namespace vidora

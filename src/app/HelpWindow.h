#pragma once

#include <QUrl>
#include <QWidget>

class QTextBrowser;
class QToolButton;

namespace vidora {

// A window of the help: the HTML pages of the program folder's "help" folder in a text browser,
// with Back, Forward and Contents. Links between the pages stay in the window; any other
// address goes to the desktop's default handler.
class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // The start page, help/index.html of the program folder.
    static QUrl startPage();
    // Where the window is, with its fragment when it shows one.
    QUrl currentPage() const;
    // A click on a link: another page or place of the help is shown here, an address outside
    // the help is handed to the desktop.
    void followLink(const QUrl& link);
    void showContents();

private:
    void showTitle();

    QTextBrowser* m_browser = nullptr;
    QToolButton* m_back = nullptr;
    QToolButton* m_forward = nullptr;
};

} // namespace vidora

#include "platform/Messages.h"

#include <QApplication>
#include <QMessageBox>

namespace vidora {

namespace {

const QString kTitle = QStringLiteral("Vidora");

class MessageBoxes final : public Messages {
public:
    void information(const QString& text) override {
        QMessageBox::information(QApplication::activeWindow(), kTitle, text);
    }
    void error(const QString& text) override {
        QMessageBox::critical(QApplication::activeWindow(), kTitle, text);
    }
};

Messages* replacement = nullptr;

} // namespace

Messages& messages() {
    static MessageBoxes boxes;
    return replacement ? *replacement : boxes;
}

void setMessagesForTesting(Messages* messages) {
    replacement = messages;
}

} // namespace vidora

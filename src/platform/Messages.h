#pragma once

#include <QString>

namespace vidora {

// The program's message boxes: titled "Vidora", with an information or error icon, modal.
// Everything that tells the user something goes through here, so tests can put a recorder in
// its place and no test ever waits on a box.
class Messages {
public:
    virtual ~Messages() = default;
    virtual void information(const QString& text) = 0;
    virtual void error(const QString& text) = 0;
};

// The messages in use: real message boxes unless a test set its own.
Messages& messages();
// Puts another implementation in place (nullptr: the real boxes again). The caller keeps it.
void setMessagesForTesting(Messages* replacement);

} // namespace vidora

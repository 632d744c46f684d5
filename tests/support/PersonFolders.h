#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

namespace vidora::test {

// Gives the person folders of their own while it lives: the XDG videos directory (named in a
// user-dirs.dirs of its own configuration folder, as the desktop names it) and the XDG data
// directory, both inside a temporary folder and neither made yet. The environment is put back
// when it goes.
class PersonFolders {
public:
    PersonFolders();
    ~PersonFolders();
    PersonFolders(const PersonFolders&) = delete;
    PersonFolders& operator=(const PersonFolders&) = delete;

    // The videos folder the desktop names.
    QString videos() const;
    // The program's data folder in the person's data directory: $XDG_DATA_HOME/Vidora.
    QString programData() const;
    // What the running program's environment needs for the same folders.
    QStringList environment() const;

private:
    QTemporaryDir m_home;
    QByteArray m_oldConfigHome;
    QByteArray m_oldDataHome;
};

} // namespace vidora::test

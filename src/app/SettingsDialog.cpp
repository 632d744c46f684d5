#include "app/SettingsDialog.h"

#include "app/FolderPicker.h"
#include "app/SettingsForm.h"
#include "app/Skin.h"
#include "platform/Messages.h"
#include "platform/Settings.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace vidora {

namespace {

QPushButton* button(const char* name, const QString& text, QWidget* parent) {
    auto* pushButton = new QPushButton(text, parent);
    pushButton->setObjectName(QString::fromLatin1(name));
    return pushButton;
}

QGroupBox* frame(const char* name, const QString& caption, QWidget* parent) {
    auto* box = new QGroupBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

} // namespace

SettingsDialog::SettingsDialog(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Frmset"));
    setWindowTitle(QStringLiteral("Video Options"));
    setModal(true);

    auto* folderFrame = frame("FolderFrame", QStringLiteral("Save Video Files to"), this);
    auto* folderHeading = new QLabel(QStringLiteral("Output Folder"), folderFrame);
    m_folder = new QLineEdit(folderFrame);
    m_folder->setObjectName(QStringLiteral("Text2"));
    m_folder->setMinimumWidth(320);
    folderHeading->setBuddy(m_folder);
    QPushButton* browseButton = button("Command4", QStringLiteral("Browse..."), folderFrame);
    auto* folderLayout = new QGridLayout(folderFrame);
    folderLayout->addWidget(folderHeading, 0, 0, 1, 2);
    folderLayout->addWidget(m_folder, 1, 0);
    folderLayout->addWidget(browseButton, 1, 1);

    auto* existingFrame =
        frame("ExistingFileFrame", QStringLiteral("If same as an existed file"), this);
    m_addNew = new QRadioButton(QStringLiteral("Add \"New\" after filename"), existingFrame);
    m_addNew->setObjectName(QStringLiteral("Option1"));
    m_overwrite = new QRadioButton(QStringLiteral("Overwrite the existed file"), existingFrame);
    m_overwrite->setObjectName(QStringLiteral("Option2"));
    // The two are one group: exactly one is chosen.
    m_addNew->setChecked(true);
    auto* existingLayout = new QVBoxLayout(existingFrame);
    existingLayout->addWidget(m_addNew);
    existingLayout->addWidget(m_overwrite);

    auto* shutDownFrame = frame("ShutDownFrame", QString(), this);
    m_shutDown = new QCheckBox(QStringLiteral("Automatically Shutdown Computer After Conversion"),
                               shutDownFrame);
    m_shutDown->setObjectName(QStringLiteral("Check1"));
    auto* shutDownLayout = new QVBoxLayout(shutDownFrame);
    shutDownLayout->addWidget(m_shutDown);

    auto* threadFrame = frame("ThreadFrame", QStringLiteral("Thread"), this);
    auto* threadLabel = new QLabel(QStringLiteral("Number of threads to use for"), threadFrame);
    m_threads = new QLineEdit(QStringLiteral("0"), threadFrame);
    m_threads->setObjectName(QStringLiteral("Text1"));
    m_threads->setMaximumWidth(60);
    threadLabel->setBuddy(m_threads);
    auto* threadRange = new QLabel(QStringLiteral("(0-8), 0 - Disable multi-thread"), threadFrame);
    auto* threadLayout = new QHBoxLayout(threadFrame);
    threadLayout->addWidget(threadLabel);
    threadLayout->addWidget(m_threads);
    threadLayout->addWidget(threadRange);
    threadLayout->addStretch(1);

    QPushButton* okButton = button("Command1", QStringLiteral("OK"), this);
    okButton->setDefault(true);
    QPushButton* cancelButton = button("Command2", QStringLiteral("Cancel"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(okButton);
    buttons->addWidget(cancelButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(folderFrame);
    layout->addWidget(existingFrame);
    layout->addWidget(shutDownFrame);
    layout->addWidget(threadFrame);
    layout->addLayout(buttons);

    connect(browseButton, &QPushButton::clicked, this, &SettingsDialog::browse);
    connect(okButton, &QPushButton::clicked, this, &SettingsDialog::confirm);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    load();
}

void SettingsDialog::load() {
    applySkin(this);
    const SettingsFormValues stored = loadSettingsForm(Settings());
    m_folder->setText(stored.outputFolder);
    (stored.overwrite ? m_overwrite : m_addNew)->setChecked(true);
    m_shutDown->setChecked(stored.shutDown);
    m_threads->setText(stored.threads);
}

SettingsFormValues SettingsDialog::values() const {
    SettingsFormValues values;
    values.outputFolder = m_folder->text();
    values.overwrite = !m_addNew->isChecked();
    values.shutDown = m_shutDown->isChecked();
    values.threads = m_threads->text();
    return values;
}

void SettingsDialog::browse() {
    const QString folder = folderPicker().pickFolder(this, m_folder->text().trimmed());
    if (!folder.isEmpty())
        m_folder->setText(folder);
}

void SettingsDialog::confirm() {
    if (saveSettingsForm(Settings(), values()) == SettingsSave::ThreadError) {
        messages().error(QStringLiteral("Thread error!"));
        return;
    }
    accept();
}

} // namespace vidora

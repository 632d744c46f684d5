#include "app/Form1.h"

#include "app/ProfileChooser.h"
#include "app/PropertySheet.h"
#include "base/TextValues.h"
#include "platform/Inifun.h"
#include "platform/Paths.h"
#include "profiles/Catalogue.h"
#include "profiles/OptionSets.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>

namespace vidora {

namespace {
const QString kProfileKey = QStringLiteral("profile");
} // namespace

Form1::Form1(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Vidora"));
    buildLayout();
    load();
}

void Form1::buildLayout() {
    auto* central = new QWidget(this);
    auto* grid = new QGridLayout(central);

    auto* profileLabel = new QLabel(QStringLiteral("Profile:"), central);
    m_profileChooser = new ProfileChooser(central);
    profileLabel->setBuddy(m_profileChooser);
    m_ps1 = new PropertySheet(m_sheet, central);
    grid->addWidget(profileLabel, 0, 0);
    grid->addWidget(m_profileChooser, 0, 1);
    grid->addWidget(m_ps1, 1, 0, 1, 2);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(1, 1);

    connect(m_profileChooser, &ProfileChooser::rowChosen, this, &Form1::ImageCombo1_Click);

    setCentralWidget(central);
    resize(900, 620);
}

void Form1::load() {
    m_imageList1 = ImageList::load(AppFolder());
    m_profileChooser->buildCatalogue(m_imageList1);

    m_sheet.SetImageList(QStringLiteral("ImageList1"));
    prolist(m_sheet);

    const double stored =
        leadingNumberOrZero(ReadSetting(settingsFilePath(), QStringLiteral("set"), kProfileKey));
    // Only a whole number names a row; anything else leaves the chooser without a selection.
    const int itemNumber = stored == static_cast<int>(stored) ? static_cast<int>(stored) : 0;
    m_profileChooser->selectItemNumber(itemNumber);
    ImageCombo1_Click();

    m_ps1->setShadedCategories(true);
    m_ps1->setGridLines(true);
    m_ps1->setChoiceToolTips(true);
}

void Form1::ImageCombo1_Click() {
    const int itemNumber = m_profileChooser->selectedItemNumber();
    if (itemNumber == 0)
        return;
    applyOptionSet(m_sheet, Catalogue::profileIndex(itemNumber));
}

void Form1::unload() {
    const int itemNumber = m_profileChooser->selectedItemNumber();
    // With no row selected the stored profile stays as it was.
    if (itemNumber == 0)
        return;
    WriteSetting(settingsFilePath(), QStringLiteral("Set"), kProfileKey,
                 QString::number(itemNumber));
}

void Form1::closeEvent(QCloseEvent* event) {
    unload();
    event->accept();
}

} // namespace vidora

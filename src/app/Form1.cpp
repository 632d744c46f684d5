#include "app/Form1.h"

#include "app/ProfileChooser.h"
#include "platform/Paths.h"

#include <QGridLayout>
#include <QLabel>

namespace vidora {

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
    grid->addWidget(profileLabel, 0, 0);
    grid->addWidget(m_profileChooser, 0, 1);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(1, 1);

    setCentralWidget(central);
    resize(900, 620);
}

void Form1::load() {
    m_imageList1 = ImageList::load(AppFolder());
    m_profileChooser->buildCatalogue(m_imageList1);
}

} // namespace vidora

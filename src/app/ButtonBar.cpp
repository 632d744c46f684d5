#include "app/ButtonBar.h"

#include "platform/Paths.h"

#include <QAction>
#include <QHBoxLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QStyle>

namespace vidora {

namespace {

struct ButtonEntry {
    const char* name;
    const char* caption;
    const char* picture; // file in the "buttons" folder
};

// The bar's buttons from left to right; "CONVERT NOW" stands apart at the right end.
constexpr ButtonEntry kButtons[] = {
    {"Image1", "Add Files", "add.png"},
    {"Image2", "Remove File", "remove.png"},
    {"Image9", "Clear All", "clear.png"},
    {"Image10", "Settings", "settings.png"},
    {"Image8", "Help", "help.png"},
    {"Image7", "EXIT", "exit.png"},
    {"Image11", "CONVERT NOW", "convert.png"},
};

} // namespace

PictureButton::PictureButton(const QString& objectName, const QString& caption, QWidget* parent)
    : QToolButton(parent) {
    setObjectName(objectName);
    setText(caption);
    setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    setIconSize(QSize(40, 40));
    setMouseTracking(true);
    setCursor(Qt::PointingHandCursor);
    setBordered(false);
}

void PictureButton::setBordered(bool bordered) {
    const QVariant shown = property("bordered");
    if (shown.isValid() && shown.toBool() == bordered)
        return;
    setProperty("bordered", bordered);
    // Style sheets read dynamic properties only when the style is applied again.
    style()->unpolish(this);
    style()->polish(this);
    update();
}

void PictureButton::mouseMoveEvent(QMouseEvent* event) {
    setBordered(true);
    QToolButton::mouseMoveEvent(event);
    // A move the button does not use would travel on to the bar, which takes borders away.
    event->accept();
}

ButtonBar::ButtonBar(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("Picture3"));
    setMouseTracking(true);
    auto* row = new QHBoxLayout(this);
    row->setContentsMargins(10, 6, 10, 6);
    row->setSpacing(6);
    for (const ButtonEntry& entry : kButtons) {
        auto* button = new PictureButton(QString::fromLatin1(entry.name),
                                         QString::fromLatin1(entry.caption), this);
        button->setProperty("picture", QString::fromLatin1(entry.picture));
        if (button->objectName() == u"Image11")
            row->addStretch(1);
        row->addWidget(button);
        m_buttons << button;
    }
}

void ButtonBar::bind(const QString& buttonName, QAction* action) {
    PictureButton* target = button(buttonName);
    if (!target || !action)
        return;
    connect(target, &QToolButton::clicked, action, &QAction::trigger);
    const auto follow = [target, action] { target->setEnabled(action->isEnabled()); };
    connect(action, &QAction::changed, target, follow);
    follow();
}

void ButtonBar::loadPictures(const QString& programFolder) {
    const QString folder = joinPath(programFolder, QStringLiteral("buttons"));
    for (PictureButton* button : m_buttons) {
        const QString file = joinPath(folder, button->property("picture").toString());
        const QPixmap picture(file);
        if (picture.isNull())
            continue;
        // Qt greys a disabled picture, which leaves a white glyph white: fade it instead.
        QPixmap faded(picture.size());
        faded.fill(Qt::transparent);
        QPainter painter(&faded);
        painter.setOpacity(0.35);
        painter.drawPixmap(0, 0, picture);
        painter.end();
        QIcon icon(picture);
        icon.addPixmap(faded, QIcon::Disabled);
        button->setIcon(icon);
    }
}

PictureButton* ButtonBar::button(const QString& name) const {
    for (PictureButton* button : m_buttons)
        if (button->objectName() == name)
            return button;
    return nullptr;
}

void ButtonBar::mouseMoveEvent(QMouseEvent* event) {
    for (PictureButton* button : m_buttons)
        button->setBordered(false);
    QFrame::mouseMoveEvent(event);
}

} // namespace vidora

#pragma once

#include <QFrame>
#include <QList>
#include <QToolButton>

class QAction;

namespace vidora {

// A skinned picture button of the button bar: a picture with its caption below. While the
// mouse moves over it, it carries a single-line border (the dynamic property "bordered", which
// the skin draws); the border goes when the mouse moves over the bare bar.
class PictureButton : public QToolButton {
    Q_OBJECT
public:
    PictureButton(const QString& objectName, const QString& caption, QWidget* parent);
    // Shows or takes away the hover border: the skin draws it for the property "bordered".
    void setBordered(bool bordered);

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
};

// The button bar `Picture3` with its seven picture buttons. Each button triggers the action
// of the menu item it stands for, and is enabled exactly when that action is.
class ButtonBar : public QFrame {
    Q_OBJECT
public:
    explicit ButtonBar(QWidget* parent = nullptr);

    // Binds the button `Image<n>` to an action: a click triggers it.
    void bind(const QString& buttonName, QAction* action);
    // Loads the buttons' pictures from the program folder's "buttons" folder.
    void loadPictures(const QString& programFolder);
    PictureButton* button(const QString& name) const;
    const QList<PictureButton*>& buttons() const { return m_buttons; }

protected:
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    QList<PictureButton*> m_buttons;
};

} // namespace vidora

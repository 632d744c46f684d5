// The shared skin skins/frmmain.skn: that the program folder carries one Qt can read, that it
// keeps text legible where the windows draw with palette colours, that the button bar's hover
// border shows, and that a program folder without a skin leaves windows plain.

#include "app/ButtonBar.h"
#include "app/PropertySheet.h"
#include "app/Skin.h"
#include "profiles/OptionSheet.h"
#include "support/ProgramFolder.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QStringList>
#include <QStyle>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <utility>

namespace vidora {
namespace {

QString programFolder() {
    return QStringLiteral(VIDORA_PROGRAM_DIR);
}

QString shippedSkin() {
    QFile file(QDir(programFolder()).filePath(QStringLiteral("skins/frmmain.skn")));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return QString();
    return QString::fromUtf8(file.readAll());
}

// Collects what Qt reports while a style sheet is parsed and applied.
class QtMessages {
public:
    QtMessages() {
        messages().clear();
        m_previous = qInstallMessageHandler(&QtMessages::collect);
    }
    ~QtMessages() { qInstallMessageHandler(m_previous); }
    QStringList take() const { return std::exchange(messages(), {}); }

private:
    static QStringList& messages() {
        static QStringList collected;
        return collected;
    }
    static void collect(QtMsgType, const QMessageLogContext&, const QString& message) {
        messages() << message;
    }
    QtMessageHandler m_previous = nullptr;
};

// Contrast of two colours as the accessibility guidelines define it (1 to 21).
double luminance(const QColor& colour) {
    const auto channel = [](double value) {
        return value <= 0.03928 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour.redF()) + 0.7152 * channel(colour.greenF()) +
           0.0722 * channel(colour.blueF());
}

double contrast(const QColor& a, const QColor& b) {
    const double lighter = std::max(luminance(a), luminance(b));
    const double darker = std::min(luminance(a), luminance(b));
    return (lighter + 0.05) / (darker + 0.05);
}

TEST(Skin, ShippedSkinIsAStyleSheetQtReadsWithoutComplaint) {
    const QString sheet = shippedSkin();
    ASSERT_FALSE(sheet.trimmed().isEmpty()) << "no skin in " << VIDORA_PROGRAM_DIR;

    QtMessages messages;
    QWidget window;
    window.setStyleSheet(sheet);
    window.ensurePolished();
    EXPECT_TRUE(QString::fromLatin1(window.style()->metaObject()->className())
                    .contains(QStringLiteral("StyleSheet")));
    // Qt parses a sheet when it first styles a widget and reports a syntax fault then.
    const QStringList reported = messages.take();
    for (const QString& message : reported)
        ADD_FAILURE() << message.toStdString();
}

TEST(Skin, ApplySkinReadsTheProgramFoldersSkin) {
    test::ProgramFolder folder(programFolder());
    QWidget window;
    EXPECT_TRUE(applySkin(&window));
    EXPECT_EQ(window.styleSheet(), shippedSkin());
}

TEST(Skin, WithoutASkinTheWindowStaysPlain) {
    QTemporaryDir empty;
    ASSERT_TRUE(empty.isValid());
    test::ProgramFolder folder(empty.path());
    QWidget window;
    EXPECT_FALSE(applySkin(&window));
    EXPECT_TRUE(window.styleSheet().isEmpty());

    // A skin file with nothing in it is no skin either.
    ASSERT_TRUE(QDir(empty.path()).mkpath(QStringLiteral("skins")));
    QFile blank(QDir(empty.path()).filePath(QStringLiteral("skins/frmmain.skn")));
    ASSERT_TRUE(blank.open(QIODevice::WriteOnly));
    blank.write(" \n\t\n");
    blank.close();
    EXPECT_FALSE(applySkin(&window));
    EXPECT_TRUE(window.styleSheet().isEmpty());
}

// The option sheet shades its category rows with AlternateBase and shows display-only values
// in the disabled text colour; the chooser's list draws with its own palette. Those colours
// come from the skin, so they must read well together.
TEST(Skin, KeepsTextLegibleWherePaletteColoursAreUsed) {
    QWidget window;
    OptionSheet sheet;
    auto* sheetView = new PropertySheet(sheet, &window);
    auto* chooser = new QComboBox(&window);
    chooser->setObjectName(QStringLiteral("ImageCombo1"));
    chooser->addItem(QStringLiteral("Apple iPad"));
    // The main window's chooser has its list before the skin comes, as here.
    QAbstractItemView* list = chooser->view();
    window.setStyleSheet(shippedSkin());
    sheetView->ensurePolished();

    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
        SCOPED_TRACE(group);
        const QPalette palette = sheetView->palette();
        const QColor text = palette.color(group, QPalette::Text);
        EXPECT_GE(contrast(text, palette.color(group, QPalette::Base)), 7.0);
        EXPECT_GE(contrast(text, palette.color(group, QPalette::AlternateBase)), 7.0);
        EXPECT_NE(palette.color(group, QPalette::AlternateBase),
                  palette.color(group, QPalette::Base))
            << "category rows must stand out";
    }
    const QPalette palette = sheetView->palette();
    const QColor dimmed = palette.color(QPalette::Disabled, QPalette::Text);
    EXPECT_NE(dimmed, palette.color(QPalette::Active, QPalette::Text))
        << "display-only values must look dimmed";
    EXPECT_GE(contrast(dimmed, palette.color(QPalette::Active, QPalette::Base)), 3.0);

    list->ensurePolished();
    // The skin opens the list as a drop-down list; with 101 rows it must be able to scroll.
    EXPECT_NE(list->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
    const QPalette popup = list->palette();
    EXPECT_GE(contrast(popup.color(QPalette::Active, QPalette::Text),
                       popup.color(QPalette::Active, QPalette::Base)),
              7.0);
    EXPECT_GE(contrast(popup.color(QPalette::Active, QPalette::HighlightedText),
                       popup.color(QPalette::Active, QPalette::Highlight)),
              4.5);
}

TEST(Skin, ButtonBarShowsItsPicturesAndTheHoverBorder) {
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* bar = new ButtonBar(&window);
    layout->addWidget(bar);
    window.setStyleSheet(shippedSkin());
    bar->loadPictures(programFolder());
    window.resize(900, 100);
    window.show();

    ASSERT_EQ(bar->buttons().size(), 7);
    for (PictureButton* button : bar->buttons()) {
        SCOPED_TRACE(button->objectName().toStdString());
        const QString file =
            QDir(programFolder())
                .filePath(QStringLiteral("buttons/") + button->property("picture").toString());
        const QImage picture(file);
        ASSERT_FALSE(picture.isNull()) << "no picture " << file.toStdString();
        EXPECT_EQ(picture.size(), QSize(48, 48));
        EXPECT_EQ(qAlpha(picture.pixel(0, 0)), 0) << "the picture's background is not clear";
        EXPECT_FALSE(button->icon().isNull());
        const QImage plain = button->grab().toImage();
        button->setBordered(true);
        const QImage bordered = button->grab().toImage();
        button->setBordered(false);
        EXPECT_NE(plain, bordered) << "the hover border does not show";
        EXPECT_EQ(button->grab().toImage(), plain) << "the border stays after the mouse left";
    }
}

} // namespace
} // namespace vidora

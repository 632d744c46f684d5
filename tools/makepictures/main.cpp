// Draws the pictures of the profile chooser, the button bar and the preview area's waiting
// picture.
//
//   makepictures <program folder>
//
// writes the chooser's picture list into <program folder>/pictures (32x32, transparent
// background, one file per position of the catalogue's list: 01.png, 02.png ...),
// <program folder>/buttons/add.png, remove.png, clear.png, settings.png, help.png, exit.png and
// convert.png (48x48, transparent background), <program folder>/loading.jpg (320x240) and the
// program's icon <program folder>/icons/vidora.svg with vidora-16.png ... vidora-256.png.
// Every picture is drawn here from simple shapes, so the artwork is ours and the build needs
// no binary files.

#include "Buttons.h"
#include "Families.h"
#include "Icon.h"

#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cstdio>

namespace {

QImage drawLoading() {
    QImage image(320, 240, QImage::Format_RGB32);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QLinearGradient background(QPointF(0, 0), QPointF(0, 240));
    background.setColorAt(0, QColor(0x26, 0x2d, 0x36));
    background.setColorAt(1, QColor(0x0c, 0x0f, 0x13));
    p.fillRect(image.rect(), background);
    QRadialGradient glow(QPointF(160, 105), 140);
    glow.setColorAt(0, QColor(0x42, 0x9c, 0xf0, 40));
    glow.setColorAt(1, QColor(0x42, 0x9c, 0xf0, 0));
    p.fillRect(image.rect(), glow);

    const QPointF centre(160, 104);
    p.setPen(QPen(QColor(255, 255, 255, 70), 3));
    p.setBrush(QColor(255, 255, 255, 18));
    p.drawEllipse(centre, 34, 34);
    QPainterPath play;
    play.moveTo(centre + QPointF(-10, -16));
    play.lineTo(centre + QPointF(-10, 16));
    play.lineTo(centre + QPointF(17, 0));
    play.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 110));
    p.drawPath(play);

    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(17);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 1);
    p.setFont(font);
    p.setPen(QColor(0xc8, 0xd2, 0xdc));
    p.drawText(QRectF(0, 160, 320, 30), Qt::AlignCenter, QStringLiteral("Loading..."));
    p.end();
    return image;
}

bool save(const QImage& image, const QString& path, const char* format, int quality = -1) {
    if (image.save(path, format, quality))
        return true;
    std::fprintf(stderr, "makepictures: cannot write %s\n", qPrintable(path));
    return false;
}

// Writes the pictures into a folder of the program folder, made when missing.
bool saveAll(const QDir& programFolder, const QString& folder,
             const std::vector<makepictures::NamedPicture>& pictures) {
    if (!programFolder.mkpath(folder)) {
        std::fprintf(stderr, "makepictures: cannot create %s\n",
                     qPrintable(programFolder.filePath(folder)));
        return false;
    }
    bool ok = true;
    for (const makepictures::NamedPicture& picture : pictures)
        ok = save(picture.image, programFolder.filePath(folder + u'/' + picture.file), "PNG") && ok;
    return ok;
}

bool saveIcon(const QDir& programFolder) {
    std::vector<makepictures::NamedPicture> pictures;
    for (int size : makepictures::kIconSizes)
        pictures.push_back(
            {QStringLiteral("vidora-%1.png").arg(size), makepictures::drawIcon(size)});
    if (!saveAll(programFolder, QStringLiteral("icons"), pictures))
        return false;
    QFile svg(programFolder.filePath(QStringLiteral("icons/vidora.svg")));
    const QByteArray text = makepictures::iconSvg();
    if (svg.open(QIODevice::WriteOnly) && svg.write(text) == text.size())
        return true;
    std::fprintf(stderr, "makepictures: cannot write %s\n", qPrintable(svg.fileName()));
    return false;
}

} // namespace

int main(int argc, char** argv) {
    // Drawing text needs a GUI application; no screen is needed.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: makepictures <program folder>\n");
        return 2;
    }
    const QDir programFolder(QString::fromLocal8Bit(argv[1]));

    QString problem;
    const std::vector<makepictures::NamedPicture> chooser =
        makepictures::drawChooserPictures(&problem);
    if (chooser.empty()) {
        std::fprintf(stderr, "makepictures: %s\n", qPrintable(problem));
        return 1;
    }
    bool ok = saveAll(programFolder, QStringLiteral("pictures"), chooser);
    ok =
        save(drawLoading(), programFolder.filePath(QStringLiteral("loading.jpg")), "JPG", 90) && ok;
    ok =
        saveAll(programFolder, QStringLiteral("buttons"), makepictures::drawButtonPictures()) && ok;
    ok = saveIcon(programFolder) && ok;
    return ok ? 0 : 1;
}

#include "engine/EncoderCommandLine.h"

#include "base/TextValues.h"
#include "platform/Paths.h"
#include "platform/ToolProcesses.h"

#include <array>

namespace vidora {

namespace {

struct CodecName {
    const char* value;
    const char* name;
};

// The sheet's codec names and what the encoder is told; anything else passes unchanged.
constexpr std::array<CodecName, 9> kVideoCodecs{{
    {"xvid", "libxvid  -aspect 4:3 "},
    {"x264", "libx264 -qmin 10 -qmax 51 -qdiff 4 -me_range 16 -keyint_min 25 -qcomp 0.6 "},
    {"mpeg4", "mpeg4"},
    {"WMV V9", "wmv2"},
    {"WMV V8", "wmv2"},
    {"mjpeg", "mjpeg"},
    {"h263", "h263"},
    {"mpeg1", "mpeg1video"},
    {"mpeg2", "mpeg2video"},
}};

// "amr_nb" goes to the AAC encoder: the profiles that offer it always got AAC audio.
constexpr std::array<CodecName, 12> kAudioCodecs{{
    {"aac", "libfaac"},
    {"mp3", "libmp3lame"},
    {"WMA9", "wmav2"},
    {"WMA8", "wmav2"},
    {"pcm", "pcm_s16le"},
    {"amr_nb", "libfaac"},
    {"faac", "libfaac"},
    {"ac3", "ac3"},
    {"ogg", "libvorbis"},
    {"wav", "pcm_s16le"},
    {"WMA", "wmav2"},
    {"mp2", "mp2"},
}};

template <std::size_t N>
QString mapCodec(const std::array<CodecName, N>& table, const QString& value) {
    for (const CodecName& codec : table)
        if (value == QLatin1StringView(codec.value))
            return QLatin1StringView(codec.name);
    return value;
}

enum class Shape {
    VideoAudio,         // F + codec + audio + video + aspect + acodec + tail A
    VideoAudioNoAspect, // F + codec + audio + video + acodec + tail A
    ContainerVideo,     // audio + video + acodec + tail A
    WindowsMedia,       // vcodec + video + acodec + tail B
    WindowsMediaAspect, // vcodec + video + aspect + acodec + tail B
    ThreeGp,
    ThreeG2,
    Dvd,       // T + video + tail A
    AudioOnly, // audio + A + tail C
    Wma,       // acodec + " -vn " + tail C
};

struct ShapeRows {
    int first;
    int last;
    Shape shape;
    const char* text; // F, T or A of the shape, blanks exact
};

// Which argument shape every catalogue row uses. Header rows share their family's shape.
constexpr std::array<ShapeRows, 42> kShapeRows{{
    {0, 17, Shape::VideoAudio, " -f mp4 -vcodec  "},
    {18, 23, Shape::VideoAudio, "  -vcodec  "},
    {24, 26, Shape::VideoAudio, " -f psp -vcodec   "},
    {27, 30, Shape::VideoAudio, "  -vcodec   "},
    {31, 33, Shape::VideoAudio, "  -vcodec   "},
    {34, 34, Shape::WindowsMedia, ""},
    {35, 36, Shape::WindowsMedia, ""},
    {37, 37, Shape::VideoAudio, " -f mp4  -vcodec  "},
    {38, 38, Shape::WindowsMedia, ""},
    {39, 39, Shape::VideoAudio, " -f mp4  -vcodec  "},
    {40, 46, Shape::WindowsMedia, ""},
    {47, 51, Shape::VideoAudio, " -f avi  -vcodec "},
    {52, 58, Shape::VideoAudio, " -f avi  -vcodec "},
    {59, 60, Shape::VideoAudioNoAspect, " -f avi  -vcodec "},
    {61, 61, Shape::WindowsMedia, ""},
    {62, 62, Shape::VideoAudio, " -f mp4  -vcodec  "},
    {63, 64, Shape::WindowsMedia, ""},
    {65, 65, Shape::VideoAudio, " -f avi  -vcodec "},
    {66, 66, Shape::VideoAudio, " -f mp4  -vcodec "},
    {67, 68, Shape::VideoAudio, "   -vcodec "},
    {69, 70, Shape::ThreeGp, ""},
    {71, 71, Shape::ThreeG2, ""},
    {72, 73, Shape::VideoAudio, " -f mp4  -vcodec   "},
    {74, 75, Shape::VideoAudio, " -f mp4  -vcodec   "},
    {76, 77, Shape::VideoAudio, " -f mp4  -vcodec   "},
    {78, 80, Shape::WindowsMedia, ""},
    {81, 82, Shape::ContainerVideo, ""},
    {83, 83, Shape::ContainerVideo, ""},
    {84, 85, Shape::WindowsMedia, ""},
    {86, 87, Shape::Dvd, " -target ntsc-dvd "},
    {88, 88, Shape::Dvd, " -target pal-dvd "},
    {89, 89, Shape::VideoAudioNoAspect, "   -vcodec "},
    {90, 90, Shape::VideoAudioNoAspect, "   -vcodec "},
    {91, 91, Shape::VideoAudio, " -f avi   -vcodec   "},
    {92, 92, Shape::WindowsMediaAspect, ""},
    {93, 93, Shape::VideoAudio, " -f mp4  -vcodec    "},
    {94, 95, Shape::AudioOnly, "  -vn -f  mp3  -acodec  libmp3lame "},
    {96, 96, Shape::AudioOnly, "  -vn -f  ogg -acodec  libvorbis "},
    {97, 97, Shape::AudioOnly, "  -vn -f  wav -acodec  pcm_s16le "},
    {98, 98, Shape::AudioOnly, "  -vn -acodec  libfaac "},
    {99, 99, Shape::Wma, ""},
    {100, 100, Shape::AudioOnly, "  -vn -acodec  libfaac "},
}};

const ShapeRows* shapeOf(int profileIndex) {
    for (const ShapeRows& rows : kShapeRows)
        if (profileIndex >= rows.first && profileIndex <= rows.last)
            return &rows;
    return nullptr;
}

// Collects the command-line text and, from the same pieces, the arguments the encoder gets:
// blanks of the literal pieces separate arguments (runs of blanks count as one), and a
// quoted path joins the argument it stands in, whatever letters it holds.
class CommandBuilder {
public:
    void literal(const QString& text) {
        m_text += text;
        for (QChar c : text) {
            if (c == u' ') {
                endArgument();
            } else {
                m_current += c;
                m_inArgument = true;
            }
        }
    }
    void quoted(const QString& path) {
        m_text += u'"' + path + u'"';
        m_current += path;
        m_inArgument = true;
    }
    EncoderCommand finish() {
        endArgument();
        EncoderCommand command;
        command.text = m_text;
        command.program = m_arguments.takeFirst();
        command.arguments = m_arguments;
        return command;
    }

private:
    void endArgument() {
        if (!m_inArgument)
            return;
        m_arguments << m_current;
        m_current.clear();
        m_inArgument = false;
    }

    QString m_text;
    QStringList m_arguments;
    QString m_current;
    bool m_inArgument = false;
};

} // namespace

std::optional<JobOptions> JobOptions::fromValues(const OptionValues& values) {
    const auto audioBitrate = toInt16(values.audioBitrate);
    const auto audioChannels = toInt16(values.audioChannel);
    if (!audioBitrate || !audioChannels)
        return std::nullopt;
    JobOptions options;
    options.videoCodec = MapVideoCodec(values.videoCodec);
    options.aspectRatio = values.aspectRatio;
    options.videoSize = values.videoSize;
    options.videoBitrate = values.videoBitrate;
    options.frameRate = values.frameRate == u"Auto" ? QStringLiteral("25") : values.frameRate;
    options.audioCodec = MapAudioCodec(values.audioCodec);
    options.disableAudio = values.disableAudio == u"No" ? QString() : QStringLiteral(" -an ");
    options.audioBitrate = *audioBitrate;
    options.sampleRate = values.sampleRate;
    options.audioChannels = *audioChannels;
    return options;
}

QString MapVideoCodec(const QString& value) {
    return mapCodec(kVideoCodecs, value);
}

QString MapAudioCodec(const QString& value) {
    return mapCodec(kAudioCodecs, value);
}

QString StatsFileName(const QString& programFolder) {
    return joinPath(programFolder, QStringLiteral("curconvert.log"));
}

std::optional<EncoderCommand> BuildEncoderCommandLine(const EncoderJob& job, const JobOptions& v) {
    const ShapeRows* rows = shapeOf(job.profileIndex);
    if (!rows)
        return std::nullopt;
    const QString shapeText = QLatin1StringView(rows->text);

    CommandBuilder b;
    const auto audioBlock = [&] {
        b.literal(u"  -ab " + QString::number(v.audioBitrate) + u"000  -ac " +
                  QString::number(v.audioChannels) + u" -ar " + v.sampleRate);
    };
    const auto videoBlock = [&] {
        b.literal(u" -b " + v.videoBitrate + u"000 -r " + v.frameRate + u" -ss " +
                  QString::number(job.startSeconds) + u" -t " +
                  QString::number(job.durationSeconds) + u" -s " + v.videoSize);
    };
    const auto aspectBlock = [&] { b.literal(u" -aspect " + v.aspectRatio); };
    const auto codecBlock = [&] { b.literal(u" -acodec " + v.audioCodec); };
    const auto output = [&] { b.quoted(job.outputPath); };
    const auto tailA = [&] {
        b.literal(v.disableAudio + u' ');
        output();
    };
    const auto tailB = [&] {
        b.literal(u' ' + v.disableAudio);
        output();
    };

    b.quoted(joinPath(job.programFolder, QString::fromUtf16(kEncoderFileName)));
    b.literal(QStringLiteral(" -i "));
    b.quoted(job.inputPath);

    switch (rows->shape) {
    case Shape::VideoAudio:
    case Shape::VideoAudioNoAspect:
        b.literal(shapeText + v.videoCodec);
        audioBlock();
        videoBlock();
        if (rows->shape == Shape::VideoAudio)
            aspectBlock();
        codecBlock();
        tailA();
        break;
    case Shape::ContainerVideo:
        audioBlock();
        videoBlock();
        codecBlock();
        tailA();
        break;
    case Shape::WindowsMedia:
    case Shape::WindowsMediaAspect:
        b.literal(u"  -vcodec " + v.videoCodec);
        videoBlock();
        if (rows->shape == Shape::WindowsMediaAspect)
            aspectBlock();
        codecBlock();
        tailB();
        break;
    case Shape::ThreeGp:
    case Shape::ThreeG2:
        if (rows->shape == Shape::ThreeGp)
            b.literal(u"   -vcodec " + v.videoCodec + u"  -f 3gp -ac 1 -ar 8000 -ab 12.2k   ");
        else
            b.literal(u" -f 3g2  -vcodec " + v.videoCodec + u"  -ac 1 -ar 8000 -ab 12.2k   ");
        videoBlock();
        aspectBlock();
        codecBlock();
        tailA();
        break;
    case Shape::Dvd:
        b.literal(shapeText);
        videoBlock();
        tailA();
        break;
    case Shape::AudioOnly:
        audioBlock();
        b.literal(shapeText);
        output();
        break;
    case Shape::Wma:
        codecBlock();
        b.literal(QStringLiteral(" -vn "));
        output();
        break;
    }

    // The count as the settings hold it ("2", "2.5"): one of zero or more with a leading blank,
    // a negative one with its sign. A stored "-0" is zero.
    const double threads = job.threads == 0 ? 0.0 : job.threads;
    b.literal(u" -threads " + (threads >= 0 ? QStringLiteral(" ") : QString()) +
              QString::number(threads, 'g', 15));
    b.literal(QStringLiteral(" -vstats_file "));
    b.quoted(StatsFileName(job.statsFolder.isEmpty() ? job.programFolder : job.statsFolder));
    return b.finish();
}

} // namespace vidora

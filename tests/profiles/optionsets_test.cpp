#include "profiles/Catalogue.h"
#include "profiles/OptionSets.h"
#include "profiles/OptionSheet.h"
#include "support/QtPrinters.h"

#include <array>
#include <climits>
#include <gtest/gtest.h>
#include <map>
#include <vector>

namespace vidora {
namespace {

// What each row leaves in "Video Codec", "Video Size", "Video Bitrate", "Video Framerate",
// "Audio Codec", "Audio Bitrate" and "Sample Rate", written like the profile tables:
//   [a,*b,c]     choices replaced by a, b, c; value b
//   v            value v, choices untouched
//   v+[a,b]      value v, a and b added after the choices already there
//   -            untouched
//   LONG:v, SHORT:v, CUSTOM:v   choices replaced by that shared list; value v
// Each line: row|chooser caption|seven cells.
const char* const kExpectedRows[] = {
    "0|Apple iPad|[xvid,mpeg4,*x264]|[480x320,640x480,*1024x768,1280x720]|768|25|[*aac]|128|44100",
    "1|Apple iPad MPEG-4 Movie(*.mp4)|[xvid,mpeg4,*x264]|[480x320,640x480,*1024x768,1280x720]|768|25|[*aac]|128|44100",
    "2|Apple iPod Movie for 480p TV Out(*.mp4)|[xvid,mpeg4,*x264]|[480x320,*640x480,1024x768,1280x720]|768|25|[*aac]|128|44100",
    "3|Apple iPod Movie for 576p TV Out(*.mp4)|[xvid,mpeg4,*x264]|[*720x576,480x320,640x480,1024x768,1280x720]|768|25|[*aac]|128|44100",
    "4|Apple iPod Movie for 720p TV Out(*.mp4)|[xvid,mpeg4,*x264]|[480x320,640x480,1024x768,*1280x720]|768|25|[*aac]|128|44100",
    "5|Apple iPod|[*xvid,mpeg4,x264]|[*320x240,480x270,480x320,640x480]|512|25|[*aac]|128|44100",
    "6|Apple iPod Video MPEG-4 Movie(*.mp4)|[*xvid,mpeg4,x264]|[*320x240,480x270,480x320,640x480]|512|25|[*aac]|64|44100",
    "7|Apple iPod Nano/Classic MPEG-4 Movie(*.mp4)|[*xvid,mpeg4,x264]|[*320x240,480x270,480x320,640x480]|512|25|[*aac]|160|44100",
    "8|Apple iPod Movie for 480p TV Out(*.mp4)|[*xvid,mpeg4,x264]|[*640x480]|512|25|[*aac]|128|44100",
    "9|Apple iPod Movie for 576p TV Out(*.mp4)|[*xvid,mpeg4,x264]|[*768x576]|512|25|[*aac]|128|44100",
    "10|Apple iPod Touch MPEG-4 Movie(*.mp4)|[*xvid,mpeg4,x264]|[*320x240,480x270,480x320,640x480]|768|25|[*aac]|128|44100",
    "11|Apple iPhone|[xvid,mpeg4,*x264]|[*480x320,480x270,720x405,640x480]|768|25|[*aac]|128|44100",
    "12|Apple iPhone MPEG-4 Movie(*.mp4)|[xvid,mpeg4,*x264]|[*480x320,480x270,720x405,640x480]|768|25|[*aac]|128|44100",
    "13|Apple iPhone Movie for 480p TV Out(*.mp4)|[xvid,mpeg4,*x264]|[480x320,480x270,720x405,*640x480]|768|25|[*aac]|128|44100",
    "14|Apple iPhone Movie for 576p TV Out(*.mp4)|[xvid,mpeg4,*x264]|[480x320,480x270,720x405,640x480,*768x576]|768|25|[*aac]|128|44100",
    "15|Apple TV|[*xvid,mpeg4]|[320x240,480x320,480x270,*720x432,640x480]|512|25|[*aac]|128|44100",
    "16|Apple TV MPEG-4 Movie(*.mp4)|[*xvid,mpeg4]|[320x240,480x320,480x270,*720x432,640x480]|512|25|[*aac]|128|44100",
    "17|Apple TV MPEG-4 AVC Movie(*.mp4)|[*x264]|[320x240,480x320,480x270,720x432,640x480,*768x576,960x540,1280x720]|1500|24|[*aac]|64|44100",
    "18|Google Android|[xvid,*x264,mpeg4]|[*480x320,480x270,720x405,640x480]|768|25|[*aac]|128|44100",
    "19|Google Android MPEG-4 Movie(*.mp4)|[xvid,*x264,mpeg4]|[*480x320,480x270,720x405,640x480]|768|25|[*aac]|128|44100",
    "20|Google Nexus One MPEG-4 Movie(*.mp4)|[xvid,*x264,mpeg4]|[480x320,480x270,720x405,640x480,*800x480]|1200|25|[*aac]|128|44100",
    "21|Sony Ericsson Xperia MPEG-4 Movie(*.mp4)|[xvid,*x264,mpeg4]|[480x320,640x480,800x480,*854x480]|1200|25|[*aac]|128|44100",
    "22|HTC Desire MPEG-4 Movie(*.mp4)|[xvid,*x264,mpeg4]|[480x320,480x270,720x405,640x480,*800x480]|1200|25|[*aac]|128|44100",
    "23|IS01 MPEG-4 Movie(*.mp4)|[xvid,*x264,mpeg4]|[320x240,640x480,800x480,*960x480]|1200|25|[*aac]|128|44100",
    "24|Sony PSP|[*mpeg4]|[*368x208,320x240,160x112]|512|29.97|[*aac]|64|24000",
    "25|Sony PSP MPEG-4 Movie(*.mp4)|[*mpeg4]|[*368x208,320x240,160x112]|512|29.97|[*aac]|64|24000",
    "26|Sony PSP MPEG-4 AVC Movie(*.mp4)|[*x264]|[*368x208,320x240,160x112,480x272]|512|29.97|[*aac]|64|48000",
    "27|Sony PS3|[*x264]|[480x272,640x480,*720x480,720x576]|2000+[2000,2500,3000]|29.976|[*aac]|96|48000",
    "28|Sony PS3 MPEG-4 AVC Movie(480p)(*.mp4)|[*x264]|[480x272,640x480,*720x480,720x576]|2000+[2000,2500,3000]|29.976|[*aac]|96|48000",
    "29|Sony PS3 MPEG-4 AVC Movie(720p)(*.mp4)|[*x264]|[480x272,640x480,720x480,*720x576,1280x720]|2000+[2000,2500,3000]|29.976|[*aac]|128|48000",
    "30|Sony PS3 MPEG-4 AVC Movie(1080p)(*.mp4)|[*x264]|[480x272,640x480,720x480,720x576,1280x720,*1440x1080,1920x1080]|2000+[2000,2500,3000]|23.976|[*aac]|128|48000",
    "31|Sony Walkman|[*xvid,mpeg4]|[*320x240,220x176,176x144,160x112]|768|25|[*aac]|128|44100",
    "32|Sony Walkman MPEG-4 Movie(*.mp4)|[*xvid,mpeg4]|[*320x240,220x176,176x144,160x112]|768|25|[*aac]|128|44100",
    "33|Sony Walkman MPEG-4 AVC Movie(*.mp4)|[*x264]|[*320x240,220x176,176x144,160x112]|512|25|[*aac]|128|44100",
    "34|Sony Walkman WMV9 Movie(*.wmv)|[*WMV V9]|[*320x240]|768|-|[*WMA9]|128|44100",
    "35|Microsoft Zune|[*WMV V9,WMV V8]|[*320x240]|768|-|[*WMA9]|-|-",
    "36|Microsoft Zune WMV Movie(*.wmv)|[*WMV V9,WMV V8]|[*320x240]|768|-|[*WMA9]|-|-",
    "37|Microsoft Zune MPEG-4 Movie(*.mp4)|[*mpeg4,xvid]|[*320x240]|512|25|[*aac]|128|44100",
    "38|Microsoft Zune HD WMV Movie(*.wmv)|[*WMV V9,WMV V8]|[320x240,*480x272,720x480,720x576,1280x720]|1500|-|[*WMA9]|-|-",
    "39|Microsoft Zune HD MPEG-4 Movie(*.mp4)|[*mpeg4,xvid]|[320x240,*480x272,720x480,720x576,1280x720]|1500|25|[*aac]|128|44100",
    "40|Archos|[*WMV V9]|[*160x128]|256|25|[*WMA9]|128|44100",
    "41|Archos 105 Movie(*.wmv)|[*WMV V9]|[*160x128]|256|25|[*WMA9]|128|44100",
    "42|Archos 404/405 Movie(*.wmv)|[*WMV V9]|[*320x240,160x128,640x480,720x576]|256|25|[*WMA9]|128|44100",
    "43|Archos 504/604 Movie(*.wmv)|[*WMV V9]|[320x240,160x128,*480x272,640x480,720x576]|512|25|[*WMA9]|128|44100",
    "44|Archos 605/705/TV+ Movie(*.wmv)|[*WMV V9]|[320x240,160x128,480x272,640x480,720x576,*800x480]|512|25|[*WMA9]|128|44100",
    "45|Archos AV500 Movie(*.wmv)|[*WMV V9]|[320x240,160x128,480x272,640x480,720x576,*800x480]|512|25|[*WMA9]|128|44100",
    "46|Archos AV700 Movie(*.wmv)|[*WMV V9]|[320x240,160x128,480x272,640x480,720x576,*800x480]|512|25|[*WMA9]|128|44100",
    "47|Creative Zen|[*mpeg4,xvid]|[*320x240,220x176,176x144,160x112]|384|25|[*mp3]|96|44100",
    "48|Creative Zen X-Fi Movie(*.avi)|[*mpeg4,xvid]|[*320x240,220x176,176x144,160x112]|384|25|[*mp3]|96|44100",
    "49|Creative Zen Vison Movie(*.avi)|[*mpeg4,xvid]|[*320x240,220x176,176x144,160x112,640x480]|384|25|[*mp3]|96|44100",
    "50|Creative Zen Vison M Movie(*.avi)|[*mpeg4,xvid]|[*320x240,220x176,176x144,160x112]|384|25|[*mp3]|96|44100",
    "51|Creative Zen Vison W Movie(*.avi)|[*mpeg4,xvid]|[320x240,220x176,176x144,160x112,*480x272]|384|25|[*mp3]|96|44100",
    "52|iRiver|[*mpeg4,xvid]|[*128x128]|256|15|[*mp3]|128|44100",
    "53|iRiver E10 Movie(*.avi)|[*mpeg4,xvid]|[*128x128]|256|15|[*mp3]|128|44100",
    "54|iRiver U10/Clix Movie(*.avi)|[*mpeg4,xvid]|[320x240,*220x176,176x144,160x112]|256|15|[*mp3]|128|44100",
    "55|iRiver B20/X20/Clix 2/E100/Lplayer Movie(*.avi)|[*mpeg4,xvid]|[*320x240,220x176,176x144,160x112]|384|15|[*mp3]|96|44100",
    "56|iRiver Spinn/D28/DICPLE D30 Movie(*.avi)|[*mpeg4,xvid]|[*480x270,320x240,220x176,176x144,160x112]|384|15|[*mp3]|96|44100",
    "57|iRiver P10/P20 Movie(*.avi)|[*mpeg4,xvid]|[640x480,640x368,*640x272,480x360,320x240,220x176,176x144,160x112]|512|25|[*mp3]|128|44100",
    "58|iRiver PMP-120/140/IMP-1000/1100 Movie(*.avi)|[*mpeg4,xvid]|[720x480,*640x480,640x368,640x272,480x360,320x240]|512|25|[*mp3]|128|44100",
    "59|Sandisk Sansa|[*mpeg4]|[640x480,512x384,480x576,480x480,480x320,*320x240,224x176,160x112]|512|20|[*aac]|64|24000",
    "60|Sandisk Sansa AVI Movie(*.avi)|[*mpeg4]|[640x480,512x384,480x576,480x480,480x320,*320x240,224x176,160x112]|512|20|[*aac]|64|24000",
    "61|Sandisk Sansa WMV Movie(*.wmv)|[*WMV V9,WMV V8]|[640x480,512x384,480x576,480x480,480x320,*320x240,224x176,160x112]|768|-|[*WMA9]|64|24000",
    "62|Sandisk Sansa MPEG-4 Movie(*.mp4)|[*mpeg4]|[*368x208,320x240,160x112]|512|24|[*aac]|64|24000",
    "63|Microsoft Xbox 360|[WMV V9,*WMV V8]|[320x240,640x480,720x480,720x576,1024x768,*1280x720,1280x1024,1366x768,1920x1080]|768|30|[*WMA9]|128|-",
    "64|Xbox WMV Movie(*.wmv)|[WMV V9,*WMV V8]|[320x240,640x480,720x480,720x576,1024x768,*1280x720,1280x1024,1366x768,1920x1080]|768|30|[*WMA9]|128|-",
    "65|Xbox AVI Movie(*.avi)|[*mpeg4]|[320x240,512x384,640x480,720x480,*720x576,1024x768,1280x720]|1024|30|[*mp3]|128|44100",
    "66|Xbox MPEG-4 Movie(*.mp4)|[xvid,*mpeg4,x264]|[320x240,640x480,720x480,720x576,1024x768,*1280x720,1280x1024,1366x768,1920x1080]|1500|30|[*aac]|128|48000",
    "67|Nintendo Wii|[*mjpeg]|[848x480,720x576,*720x480,640x480,512x384,480x576,480x480,480x320,480x272,368x208,320x240,352x288,352x240]|768|25|[*pcm]|128|-",
    "68|Nintendo Wii AVI Movie(*.avi)|[*mjpeg]|[848x480,720x576,*720x480,640x480,512x384,480x576,480x480,480x320,480x272,368x208,320x240,352x288,352x240]|768|25|[*pcm]|128|-",
    "69|Mobile Phone|[*h263,mpeg4]|[128x96,*176x144,352x288,704x576,1408x1152]|64|15|[*amr_nb,faac]|12.2|8000",
    "70|Mobile Phone 3GP Movie(*.3gp)|[*h263,mpeg4]|[128x96,*176x144,352x288,704x576,1408x1152]|64|15|[*amr_nb,faac]|12.2|8000",
    "71|Mobile Phone 3GP2 Movie(*.3g2)|[*h263,mpeg4]|[128x96,*176x144,352x288,704x576,1408x1152]|64|15|[*amr_nb,faac]|12.2|8000",
    "72|Mobile Phone MPEG-4 Movie(*.mp4)|[*mpeg4,xvid]|[128x96,160x120,*176x144,220x176,320x240,352x288,640x480]|128|15|[*aac]|64|11025",
    "73|Nokia N-series MPEG-4 Movie(*.mp4)|[*mpeg4,xvid]|[128x96,160x120,176x144,220x176,*320x176,352x288,240x180,320x240,640x360,640x480,800x480]|128|15|[*aac]|64|24000",
    "74|BlackBerry|[*mpeg4]|[480x360,480x320,160x112,*320x240]|512|24|[*aac]|64|44100",
    "75|BlackBerry MPEG-4 Movie(*.mp4)|[*mpeg4]|[480x360,480x320,160x112,*320x240]|512|24|[*aac]|64|44100",
    "76|Nokia|[*mpeg4,xvid]|[128x96,176x144,220x176,*320x176,320x240,352x288,640x480]|128|-|[*aac]|64|-",
    "77|Nokia N-Series MPEG-4 Movie(*.mp4)|[*mpeg4,xvid]|[128x96,176x144,220x176,*320x176,320x240,352x288,640x480]|128|-|[*aac]|64|-",
    "78|Windows Mobile|[*WMV V9,WMV V8]|[*320x240,720x576,640x480]|384+[384]|-|[*WMA9]|64|-",
    "79|Palm Treo Series Movie(*.wmv)|[*WMV V9,WMV V8]|[*320x240,720x576,640x480]|384+[384]|-|[*WMA9]|64|-",
    "80|General Pocket PC Movie(*.wmv)|[*WMV V9,WMV V8]|[*320x240,720x576,720x480,640x480,512x384,480x576,480x480,480x320,480x272,368x208,352x288,352x240]|768+[384]|-|[*WMA9]|64|-",
    "81|Flash Video|[*FLV]|[128x96,176x144,220x176,*320x240,704x576,640x480]|512|25|[*mp3]|64|44100",
    "82|Flash Video Movie(*.flv)|[*FLV]|[128x96,176x144,220x176,*320x240,704x576,640x480]|512|25|[*mp3]|64|44100",
    "83|Flash SWF(*.swf)|[*SWF]|[128x96,176x144,220x176,*320x240,704x576,640x480]|512|25|[*mp3]|64|44100",
    "84|Toshiba Gigabeat|[*WMV V9]|[*320x240]|[768,*512,384,256]|-|[*WMA9]|64|-",
    "85|Toshiba Gigabeat WMV Movie(*.wmv)|[*WMV V9]|[*320x240]|[768,*512,384,256]|-|[*WMA9]|64|-",
    "86|Common Used Video Formats|[*mpeg2video]|[*720x480,704x480,352x480,352x240]|[*8000,5000,2000]|[*25]|[*ac3]|[*128,192]|48000",
    "87|DVD Video NTSC Movie(*.mpg)|[*mpeg2video]|[*720x480,704x480,352x480,352x240]|[*8000,5000,2000]|[*25]|[*ac3]|[*128,192]|48000",
    "88|DVD Video PAL Movie(*.mpg)|[*mpeg2video]|[*720x576,704x576,352x576,352x288]|[*8000,5000,2000]|25|[*ac3]|[*128,192]|48000",
    "89|MPEG-I Movie(*.mpg)|[*mpeg1video]|SHORT:352x240|1152|29.970|[*mp2]|224|44100",
    "90|MPEG-II Movie(*.mpg)|[*mpeg2video]|LONG:720x480|1800+[1800]|29.970|[ac3,*mp2]|128|44100",
    "91|Customized AVI Movie(*.avi)|[*xvid,mpeg4,msmpeg4,msmpeg4v2,mjpeg,wmv1,wmv2,mpeg2,mpeg1,h263p,x264,huffyuv,ffv1]|LONG:720x480|CUSTOM:768|25|[ac3,*mp3,mp2,aac]|128|44100",
    "92|Customized WMV Movie(*.wmv)|[*WMV V9,WMV V8]|LONG:720x480|CUSTOM:768|-|[*WMA]|128|-",
    "93|Customized MP4 Movie(*.mp4)|[*x264,mpeg4,xvid]|LONG:320x240|768|25|[*aac]|128|44100",
    "94|Common Used Audio Formats|-|-|-|-|[*mp3]|128|44100",
    "95|MP3 Audio(*.mp3)|-|-|-|-|[*mp3]|128|44100",
    "96|OGG Vorbis Audio(*.ogg)|-|-|-|-|[*ogg]|128|44100",
    "97|WAVE Audio(*.wav)|-|-|-|-|[*wav]|128|44100",
    "98|AAC Audio(*.aac)|-|-|-|-|[*aac]|128|44100",
    "99|WMA Audio(*.wma)|-|-|-|-|[*WMA9]|-|-",
    "100|M4A Audio(*.m4a)|-|-|-|-|[*aac]|128|44100",
};

// The shared lists of the customisable formats.
const QStringList kLongSizes{"128x96",   "176x144",   "352x240",  "352x288", "480x272",
                             "480x480",  "480x576",   "640x480",  "720x480", "720x576",
                             "704x576",  "320x240",   "720x480",  "720x576", "1080x720",
                             "1280x720", "1440x1080", "1920x1080"};
const QStringList kShortSizes{"128x96",  "176x144", "352x240", "352x288", "480x272", "480x480",
                              "480x576", "640x480", "720x480", "720x576", "704x576", "320x240"};
const QStringList kCustomisedBitrates{"768",  "2000", "4000",  "5000",
                                      "6000", "8000", "10000", "12000"};

struct Address {
    const char* category;
    const char* caption;
};

// The seven items a profile row sets, in the column order of kExpectedRows.
constexpr std::array<Address, 7> kSetItems{{
    {"Video Options", "Video Codec"},
    {"Video Options", "Video Size"},
    {"Video Options", "Video Bitrate"},
    {"Video Options", "Video Framerate"},
    {"Audio Options", "Audio Codec"},
    {"Audio Options", "Audio Bitrate"},
    {"Audio Options", "Sample Rate"},
}};

// What no profile row may touch.
constexpr std::array<Address, 8> kOtherItems{{
    {"General", "Item Name"},
    {"Output Duration", "All Clip Duration"},
    {"Output Duration", "Start Time"},
    {"Output Duration", "Stop Time"},
    {"Video Options", "Aspect Ratio"},
    {"Audio Options", "Audio Channel"},
    {"Audio Options", "Disable Audio"},
    {"Audio Options", "A/V Sync"},
}};

struct ItemState {
    QString value;
    QStringList choices;
    bool operator==(const ItemState&) const = default;
};

void PrintTo(const ItemState& state, std::ostream* out) {
    *out << state.value.toStdString() << " of [" << state.choices.join(u',').toStdString() << ']';
}

// Every item of the sheet by "category/caption"; a missing item is simply absent.
using SheetState = std::map<QString, ItemState>;

QString key(const Address& address) {
    return QString::fromLatin1(address.category) + u'/' + QString::fromLatin1(address.caption);
}

SheetState stateOf(const OptionSheet& sheet) {
    SheetState state;
    for (int c = 0; c < sheet.categoryCount(); ++c) {
        const OptionCategory* category = sheet.category(c);
        for (int i = 0; i < category->itemCount(); ++i) {
            const OptionItem* item = category->item(i);
            state[category->caption() + u'/' + item->caption()] = {item->value(), item->choices()};
        }
    }
    return state;
}

struct ExpectedRow {
    int row = -1;
    QString caption;
    QStringList cells;
};

ExpectedRow expectedRow(int row) {
    const QStringList fields = QString::fromLatin1(kExpectedRows[row]).split(u'|');
    if (fields.size() != 9)
        ADD_FAILURE() << "malformed expectation " << kExpectedRows[row];
    return {fields.value(0).toInt(), fields.value(1), fields.mid(2)};
}

// The state an item must have after a row whose cell is `cell`, given what it held before.
ItemState apply(const QString& cell, const ItemState& before) {
    if (cell == u"-")
        return before;
    if (cell.startsWith(u'[') && cell.endsWith(u']')) {
        ItemState after;
        for (const QString& choice : cell.mid(1, cell.size() - 2).split(u',')) {
            if (choice.startsWith(u'*')) {
                EXPECT_TRUE(after.value.isNull()) << "two values marked in " << cell.toStdString();
                after.value = choice.mid(1);
                after.choices.append(choice.mid(1));
            } else {
                after.choices.append(choice);
            }
        }
        EXPECT_FALSE(after.value.isNull()) << "no value marked in " << cell.toStdString();
        return after;
    }
    if (const qsizetype plus = cell.indexOf(u"+["); plus > 0 && cell.endsWith(u']')) {
        ItemState after{cell.left(plus), before.choices};
        after.choices += cell.mid(plus + 2, cell.size() - plus - 3).split(u',');
        return after;
    }
    if (const qsizetype colon = cell.indexOf(u':'); colon > 0) {
        const QString list = cell.left(colon);
        const QString value = cell.mid(colon + 1);
        if (list == u"LONG")
            return {value, kLongSizes};
        if (list == u"SHORT")
            return {value, kShortSizes};
        if (list == u"CUSTOM")
            return {value, kCustomisedBitrates};
        ADD_FAILURE() << "unknown list " << list.toStdString();
        return before;
    }
    return {cell, before.choices};
}

// The whole sheet as it must be after `row`, starting from `before`.
SheetState expectedAfter(int row, SheetState before) {
    const ExpectedRow expected = expectedRow(row);
    for (std::size_t i = 0; i < kSetItems.size(); ++i) {
        const auto found = before.find(key(kSetItems[i]));
        if (found != before.end())
            found->second = apply(expected.cells.value(static_cast<qsizetype>(i)), found->second);
    }
    return before;
}

OptionItem* find(const OptionSheet& sheet, const Address& address) {
    return sheet.itemAt(QString::fromLatin1(address.category),
                        QString::fromLatin1(address.caption));
}

ItemState itemState(const OptionSheet& sheet, const char* category, const char* caption) {
    const OptionItem* item = find(sheet, {category, caption});
    if (!item) {
        ADD_FAILURE() << "no item " << caption;
        return {};
    }
    return {item->value(), item->choices()};
}

// Rows in the catalogue: named here so the sequences below read like what a user does.
constexpr int kPspMpeg4 = 25;
constexpr int kPspAvc = 26;
constexpr int kPs3Movie720p = 29;
constexpr int kWalkmanAvc = 33;
constexpr int kWalkmanWmv = 34;
constexpr int kZuneWmv = 36;
constexpr int kWiiAvi = 68;
constexpr int kWindowsMobile = 78;
constexpr int kPocketPc = 80;
constexpr int kGigabeatWmv = 85;
constexpr int kDvdPal = 88;
constexpr int kMpeg1 = 89;
constexpr int kMpeg2 = 90;
constexpr int kCustomisedAvi = 91;
constexpr int kCustomisedWmv = 92;
constexpr int kCustomisedMp4 = 93;
constexpr int kMp3Audio = 95;
constexpr int kWmaAudio = 99;

TEST(OptionSets, ExpectationsCoverEveryCatalogueRow) {
    ASSERT_EQ(std::size(kExpectedRows), static_cast<std::size_t>(Catalogue::RowCount));
    for (int row = 0; row < Catalogue::RowCount; ++row) {
        const ExpectedRow expected = expectedRow(row);
        EXPECT_EQ(expected.row, row);
        ASSERT_NE(Catalogue::row(row), nullptr);
        EXPECT_EQ(expected.caption, QString::fromLatin1(Catalogue::row(row)->caption)) << row;
    }
}

TEST(OptionSets, EveryRowOnAFreshSheetGivesItsTableEntry) {
    for (int row = 0; row < Catalogue::RowCount; ++row) {
        SCOPED_TRACE(testing::Message() << "row " << row);
        OptionSheet sheet;
        prolist(sheet);
        const SheetState fresh = stateOf(sheet);
        ASSERT_EQ(fresh.size(), 15u);

        applyOptionSet(sheet, row);
        const SheetState after = stateOf(sheet);
        const SheetState expected = expectedAfter(row, fresh);
        for (const Address& item : kSetItems) {
            SCOPED_TRACE(item.caption);
            EXPECT_EQ(after.at(key(item)), expected.at(key(item)));
        }
        for (const Address& item : kOtherItems) {
            SCOPED_TRACE(item.caption);
            EXPECT_EQ(after.at(key(item)), fresh.at(key(item)));
        }
    }
}

TEST(OptionSets, TheTwoEntryPointsOnlyTakeTheirOwnRows) {
    OptionSheet sheet;
    prolist(sheet);
    const SheetState fresh = stateOf(sheet);

    // No selection (-1) and indexes past the catalogue change nothing.
    for (int row : {-1, 101, 1000, INT_MIN, INT_MAX})
        applyOptionSet(sheet, row);
    for (int row : {0, 40, 85, -1, 101})
        ApplyCommonFormatOptions(sheet, row);
    for (int row : {86, 94, 100, -1, 101})
        ApplyDeviceOptions(sheet, row);
    EXPECT_EQ(stateOf(sheet), fresh);

    // Row 86 is a common format row, reached through the common formats.
    OptionSheet common;
    prolist(common);
    ApplyCommonFormatOptions(common, 86);
    applyOptionSet(sheet, 86);
    EXPECT_EQ(stateOf(sheet), stateOf(common));
    EXPECT_NE(stateOf(sheet), fresh);
}

TEST(OptionSets, UnchangedItemsKeepWhatThePreviousRowLeft) {
    OptionSheet sheet;
    prolist(sheet);

    applyOptionSet(sheet, kPspMpeg4);
    applyOptionSet(sheet, kWalkmanWmv);
    EXPECT_EQ(itemState(sheet, "Video Options", "Video Framerate").value, QStringLiteral("29.97"));

    applyOptionSet(sheet, kPspAvc);
    applyOptionSet(sheet, kZuneWmv);
    EXPECT_EQ(itemState(sheet, "Audio Options", "Audio Bitrate").value, QStringLiteral("64"));
    EXPECT_EQ(itemState(sheet, "Audio Options", "Sample Rate").value, QStringLiteral("48000"));

    applyOptionSet(sheet, kWiiAvi);
    EXPECT_EQ(itemState(sheet, "Audio Options", "Sample Rate").value, QStringLiteral("48000"));
    EXPECT_EQ(itemState(sheet, "Audio Options", "Audio Codec"), (ItemState{"pcm", {"pcm"}}));
}

TEST(OptionSets, AnAudioFormatKeepsTheVideoItemsOfTheRowBefore) {
    OptionSheet sheet;
    prolist(sheet);
    applyOptionSet(sheet, kPspMpeg4);
    applyOptionSet(sheet, kMp3Audio);

    EXPECT_EQ(itemState(sheet, "Video Options", "Video Codec"), (ItemState{"mpeg4", {"mpeg4"}}));
    EXPECT_EQ(itemState(sheet, "Video Options", "Video Size").value, QStringLiteral("368x208"));
    EXPECT_EQ(itemState(sheet, "Audio Options", "Audio Codec"), (ItemState{"mp3", {"mp3"}}));
    EXPECT_EQ(itemState(sheet, "Audio Options", "Audio Bitrate").value, QStringLiteral("128"));
    EXPECT_EQ(itemState(sheet, "Audio Options", "Sample Rate").value, QStringLiteral("44100"));
}

TEST(OptionSets, WmaAudioOnlyChangesTheAudioCodec) {
    OptionSheet sheet;
    prolist(sheet);
    applyOptionSet(sheet, kMpeg2);
    applyOptionSet(sheet, kPspAvc);
    SheetState expected = stateOf(sheet);
    expected[QStringLiteral("Audio Options/Audio Codec")] = {"WMA9", {"WMA9"}};

    applyOptionSet(sheet, kWmaAudio);
    EXPECT_EQ(stateOf(sheet), expected);
}

TEST(OptionSets, AppendedChoicesAccumulateUntilARowReplacesThem) {
    const QStringList initialBitrates{"48",  "64",   "128",  "192",  "256", "512",
                                      "768", "1000", "1500", "1152", "2500"};
    OptionSheet sheet;
    prolist(sheet);

    applyOptionSet(sheet, kPs3Movie720p);
    EXPECT_EQ(itemState(sheet, "Video Options", "Video Bitrate"),
              (ItemState{"2000", initialBitrates + QStringList{"2000", "2500", "3000"}}));

    applyOptionSet(sheet, kPs3Movie720p);
    applyOptionSet(sheet, kWalkmanAvc); // sets the value only
    EXPECT_EQ(itemState(sheet, "Video Options", "Video Bitrate"),
              (ItemState{"512", initialBitrates +
                                    QStringList{"2000", "2500", "3000", "2000", "2500", "3000"}}));

    applyOptionSet(sheet, kGigabeatWmv);
    EXPECT_EQ(itemState(sheet, "Video Options", "Video Bitrate"),
              (ItemState{"512", {"768", "512", "384", "256"}}));

    applyOptionSet(sheet, kWindowsMobile);
    applyOptionSet(sheet, kPocketPc);
    EXPECT_EQ(itemState(sheet, "Video Options", "Video Bitrate"),
              (ItemState{"768", {"768", "512", "384", "256", "384", "384"}}));
}

TEST(OptionSets, DiscAndCustomisedRowsReplaceTheAppendedMpeg2Bitrate) {
    OptionSheet sheet;
    prolist(sheet);
    const QStringList initialBitrates = itemState(sheet, "Video Options", "Video Bitrate").choices;

    applyOptionSet(sheet, kMpeg2);
    applyOptionSet(sheet, kMpeg2);
    applyOptionSet(sheet, kMpeg1); // sets the value only
    EXPECT_EQ(itemState(sheet, "Video Options", "Video Bitrate"),
              (ItemState{"1152", initialBitrates + QStringList{"1800", "1800"}}));

    applyOptionSet(sheet, kDvdPal);
    EXPECT_EQ(itemState(sheet, "Video Options", "Video Bitrate"),
              (ItemState{"8000", {"8000", "5000", "2000"}}));

    for (int replacing : {kCustomisedAvi, kCustomisedWmv}) {
        applyOptionSet(sheet, kMpeg2);
        applyOptionSet(sheet, replacing);
        EXPECT_EQ(itemState(sheet, "Video Options", "Video Bitrate"),
                  (ItemState{"768", kCustomisedBitrates}));
    }
}

TEST(OptionSets, NoRowTouchesTheJobOrTheUsersOtherChoices) {
    OptionSheet sheet;
    prolist(sheet);
    for (const Address& item : kOtherItems)
        sheet.SetValue(find(sheet, item), QStringLiteral("set by hand"));
    SheetState before = stateOf(sheet);

    for (int row = 0; row < Catalogue::RowCount; ++row)
        applyOptionSet(sheet, row);
    for (int row = Catalogue::RowCount - 1; row >= 0; row -= 7)
        applyOptionSet(sheet, row);

    const SheetState after = stateOf(sheet);
    for (const Address& item : kOtherItems)
        EXPECT_EQ(after.at(key(item)), before.at(key(item))) << item.caption;
}

// A sheet like the built one, with one category or item left out, or one list item built as
// a text item (which refuses choices).
void buildVariant(OptionSheet& variant, const QString& leftOut, const QString& asText = {}) {
    OptionSheet built;
    prolist(built);
    for (int c = 0; c < built.categoryCount(); ++c) {
        const OptionCategory* category = built.category(c);
        if (category->caption() == leftOut)
            continue;
        OptionCategory* copy = variant.AddCategory(category->caption(), true);
        for (int i = 0; i < category->itemCount(); ++i) {
            const OptionItem* item = category->item(i);
            if (item->caption() == leftOut)
                continue;
            const bool text = item->caption() == asText;
            OptionItem* itemCopy = variant.AddItem(copy, item->caption(), item->value(),
                                                   text ? OptionKind::Text : item->kind());
            if (!text) {
                for (const QString& choice : item->choices())
                    variant.AddChoice(itemCopy, choice);
            }
        }
    }
}

TEST(OptionSets, DeviceRowsSkipAMissingItemAndGoOn) {
    for (const char* leftOut : {"Video Codec", "Video Size", "Audio Options"}) {
        SCOPED_TRACE(leftOut);
        OptionSheet sheet;
        buildVariant(sheet, QString::fromLatin1(leftOut));
        const SheetState before = stateOf(sheet);
        applyOptionSet(sheet, kPspAvc);
        EXPECT_EQ(stateOf(sheet), expectedAfter(kPspAvc, before));
        EXPECT_NE(stateOf(sheet), before);
    }
}

TEST(OptionSets, CommonFormatRowsStopAtAMissingItem) {
    OptionSheet sheet;
    buildVariant(sheet, QStringLiteral("Video Size"));
    SheetState expected = stateOf(sheet);
    // Only "Video Codec", visited before "Video Size", is set.
    expected[QStringLiteral("Video Options/Video Codec")] = {"x264", {"x264", "mpeg4", "xvid"}};
    applyOptionSet(sheet, kCustomisedMp4);
    EXPECT_EQ(stateOf(sheet), expected);

    // The video items come first: without "Audio Options" they are all set, the audio ones
    // cannot be, and an audio format changes nothing.
    OptionSheet noAudio;
    buildVariant(noAudio, QStringLiteral("Audio Options"));
    const SheetState before = stateOf(noAudio);
    applyOptionSet(noAudio, kMp3Audio);
    EXPECT_EQ(stateOf(noAudio), before);
    applyOptionSet(noAudio, kCustomisedAvi);
    EXPECT_EQ(stateOf(noAudio), expectedAfter(kCustomisedAvi, before));
}

TEST(OptionSets, ARefusedStepIsSkippedByDeviceRowsAndEndsCommonFormatRows) {
    // "Video Codec" as a text item refuses its choices but takes a value.
    OptionSheet device;
    buildVariant(device, QString(), QStringLiteral("Video Codec"));
    SheetState expected = expectedAfter(kPspAvc, stateOf(device));
    expected[QStringLiteral("Video Options/Video Codec")] = {"x264", {}};
    applyOptionSet(device, kPspAvc);
    EXPECT_EQ(stateOf(device), expected);

    // Clearing the choices is the first step, so nothing at all changes.
    OptionSheet common;
    buildVariant(common, QString(), QStringLiteral("Video Codec"));
    const SheetState before = stateOf(common);
    applyOptionSet(common, kCustomisedMp4);
    EXPECT_EQ(stateOf(common), before);

    // An append sets the value before its choice is refused; the set ends right there.
    OptionSheet append;
    buildVariant(append, QString(), QStringLiteral("Video Bitrate"));
    expected = stateOf(append);
    expected[QStringLiteral("Video Options/Video Codec")] = {"mpeg2video", {"mpeg2video"}};
    expected[QStringLiteral("Video Options/Video Size")] = {"720x480", kLongSizes};
    expected[QStringLiteral("Video Options/Video Bitrate")] = {"1800", {}};
    applyOptionSet(append, kMpeg2);
    EXPECT_EQ(stateOf(append), expected);
}

} // namespace
} // namespace vidora

#pragma once

namespace vidora {

class OptionSheet;

// What choosing a profile row does to the option sheet: each row proposes values and choices
// for "Video Codec", "Video Size", "Video Bitrate", "Video Framerate", "Audio Codec",
// "Audio Bitrate" and "Sample Rate", and leaves every other item alone. An item a row does
// not mention keeps what the previous row (or the sheet's build) left in it.

// Device profiles, rows 0 to 85. A step that fails (an item not found, a choice the sheet
// refuses) is skipped and the rest of the set is still applied. Other rows: nothing.
void ApplyDeviceOptions(OptionSheet& sheet, int profileIndex);

// Common video and audio formats, rows 86 to 100. The first step that fails ends it, leaving
// the remaining items as they were. Other rows: nothing.
void ApplyCommonFormatOptions(OptionSheet& sheet, int profileIndex);

// The profile chooser's handler: rows 0 to 85 go to the device sets, every other index
// (including -1 for no selection) to ApplyCommonFormatOptions.
void applyOptionSet(OptionSheet& sheet, int profileIndex);

} // namespace vidora

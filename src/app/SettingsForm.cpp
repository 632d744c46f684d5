#include "app/SettingsForm.h"

#include "base/TextValues.h"
#include "platform/Paths.h"
#include "platform/Settings.h"

namespace vidora {

SettingsFormValues loadSettingsForm(const Settings& settings) {
    SettingsFormValues values;
    values.outputFolder = settings.outputFolderOrVideos();
    values.overwrite = settings.overwriteExistingFiles();
    values.shutDown = settings.shutDownAfterRun();
    values.threads = settings.threadText();
    return values;
}

SettingsSave saveSettingsForm(const Settings& settings, const SettingsFormValues& values) {
    const double threads = leadingNumberOrZero(values.threads);
    if (threads > kMaxThreads)
        return SettingsSave::ThreadError;
    // Each write stands alone: one that fails is lost, and the others still happen.
    settings.setOutputFolder(values.outputFolder);
    settings.setOverwriteExistingFiles(values.overwrite);
    settings.setShutDownAfterRun(values.shutDown);
    settings.setThreadCount(threads);
    return SettingsSave::Saved;
}

} // namespace vidora

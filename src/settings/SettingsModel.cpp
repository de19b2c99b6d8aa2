#include "settings/SettingsModel.h"

#include <array>
#include <utility>

namespace lark {

void SettingsModel::setDefaults()
{
    lark::setDefaults(editedSettings);
    lark::setDefaults(appliedSettings);
}

void SettingsModel::copyEditedToApplied()
{
    appliedSettings = editedSettings;
}

bool SettingsModel::settingsDiffer() const
{
    return writeDiffers(editedSettings, appliedSettings);
}

void SettingsModel::updateApplyButton()
{
    const bool differ = settingsDiffer();
    if (applyListener_)
        applyListener_(differ);
}

void SettingsModel::setApplyListener(ApplyListener listener)
{
    applyListener_ = std::move(listener);
}

}  // namespace lark

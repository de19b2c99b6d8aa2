#pragma once

#include <functional>

#include "settings/MouseSettings.h"
#include "settings/SettingsBlock.h"

namespace lark {

// The two settings instances of one run: what the pages edit and what the mouse is taken
// to hold, plus the last block read from the mouse. One instance, passed by reference.
class SettingsModel {
public:
    using ApplyListener = std::function<void(bool settingsDiffer)>;

    MouseSettings editedSettings;
    MouseSettings appliedSettings;
    SettingsBlock lastBlock{};

    // Factory values into both instances (opaque0F of each is kept).
    void setDefaults();
    void copyEditedToApplied();

    // True when the encodings of the two instances differ anywhere.
    bool settingsDiffer() const;

    // Change detection: tells the listener (the APPLY button) whether there is anything to apply.
    void updateApplyButton();
    void setApplyListener(ApplyListener listener);

private:
    ApplyListener applyListener_;
};

}  // namespace lark

#include "cli/SettingNames.h"

#include <algorithm>
#include <array>
#include <variant>

#include "cli/ActionText.h"
#include "cli/TextRules.h"
#include "rules/ActionEncoding.h"
#include "rules/AdvancedRules.h"

namespace lark::cli {

namespace {

enum Id : int {
    CpiLevels,
    Cpi1,
    Cpi2,
    Cpi3,
    Cpi4,
    LiftOff,
    AngleSnapping,
    RippleControl,
    MotionSync,
    PollingRate,
    SlamClick,
    LeftSpdt,
    RightSpdt,
    LeftFilter,
    RightFilter,
    MiddleFilter,
    ForwardFilter,
    BackFilter,
    LeftHanded,
    LeftButton,
    RightButton,
    MiddleButton,
    ForwardButton,
    BackButton,
    WheelUp,
    WheelDown,
    SettingCount,
};

constexpr std::string_view kSwitch = "on, off";
constexpr std::string_view kFilter = "0 to 25";
constexpr std::string_view kCpi = "XxY or one number, 50 to 26000 (put on the grid of 50)";
constexpr std::string_view kSpdt = "off, speed, safe";
constexpr std::string_view kAction = "a caption (LEFT CLICK, VOLUME UP, CPI LOOP, DISABLE, ...), a key "
                                     "(Ctrl+Shift+A, Page Up), fixed-cpi:800x800";

// Order: applied in this order, so the settings that others depend on come first.
constexpr auto kSettings = std::to_array<Setting>({
    {"cpi-levels", ValueType::Number, "1 to 4"},
    {"cpi1", ValueType::Cpi, kCpi},
    {"cpi2", ValueType::Cpi, kCpi},
    {"cpi3", ValueType::Cpi, kCpi},
    {"cpi4", ValueType::Cpi, kCpi},
    {"lift-off-distance", ValueType::Word, "1mm, 2mm"},
    {"angle-snapping", ValueType::Switch, kSwitch},
    {"ripple-control", ValueType::Switch, kSwitch},
    {"motion-sync", ValueType::Switch, kSwitch},
    {"polling-rate", ValueType::Number, "1000, 2000, 4000, 8000 (not 8000 with motion sync)"},
    {"slam-click-filter", ValueType::Switch, kSwitch},
    {"left-spdt", ValueType::Word, kSpdt},
    {"right-spdt", ValueType::Word, kSpdt},
    {"left-multiclick-filter", ValueType::Number, "0 to 25, or - while left-spdt is not off"},
    {"right-multiclick-filter", ValueType::Number, "0 to 25, or - while right-spdt is not off"},
    {"middle-multiclick-filter", ValueType::Number, kFilter},
    {"forward-multiclick-filter", ValueType::Number, kFilter},
    {"back-multiclick-filter", ValueType::Number, kFilter},
    {"left-handed", ValueType::Switch, kSwitch},
    {"left-button", ValueType::Action, kAction},
    {"right-button", ValueType::Action, kAction},
    {"middle-button", ValueType::Action, kAction},
    {"forward-button", ValueType::Action, kAction},
    {"back-button", ValueType::Action, kAction},
    {"wheel-up", ValueType::Action, kAction},
    {"wheel-down", ValueType::Action, kAction},
});
static_assert(kSettings.size() == SettingCount);

Id idOf(const Setting& setting)
{
    return static_cast<Id>(&setting - kSettings.data());
}

const Setting& settingOf(Id id)
{
    return kSettings[static_cast<std::size_t>(id)];
}

constexpr ButtonAction kLeftClick{static_cast<std::uint8_t>(ActionKind::MouseButton), 1, 0, 0};

// The button slot a per-button setting belongs to; only asked for those settings.
std::size_t slotOfButton(Id id)
{
    switch (id) {
    case LeftFilter:
    case LeftButton:
    case LeftSpdt:
        return LeftSlot;
    case RightFilter:
    case RightButton:
    case RightSpdt:
        return RightSlot;
    case MiddleFilter:
    case MiddleButton:
        return MiddleSlot;
    case ForwardFilter:
    case ForwardButton:
        return ForwardSlot;
    case BackFilter:
    case BackButton:
        return BackSlot;
    case WheelUp:
        return WheelUpSlot;
    case WheelDown:
        return WheelDownSlot;
    default:
        return LeftSlot;
    }
}

int cpiIndex(Id id)
{
    return id - Cpi1;
}

std::string odd(std::uint8_t value)
{
    return "unknown-" + std::to_string(value);
}

std::string switchText(std::uint8_t value)
{
    if (value <= 1)
        return value ? "on" : "off";
    return odd(value);
}

bool leftHanded(const MouseSettings& settings)
{
    // Not a field: the state in which the right button gives the left click.
    const ButtonAction& right = settings.buttons[RightSlot].action;
    return right.type == kLeftClick.type && right.code == kLeftClick.code;
}

const char* spdtWord(std::uint8_t filter)
{
    switch (spdtIndexForFilter(filter)) {
    case 1:
        return "speed";
    case 2:
        return "safe";
    default:
        return "off";
    }
}

std::string valueError(const Setting& setting, std::string_view value)
{
    return std::string(setting.name) + ": '" + std::string(value) +
           "' is not one of: " + std::string(setting.values);
}

// Checks a value on its own, without the other settings. The canonical text goes into `out`.
bool checkValue(const Setting& setting, std::string_view value, std::string& out, std::string& error)
{
    const std::string folded = foldName(value);
    const Id id = idOf(setting);
    switch (setting.type) {
    case ValueType::Switch:
        if (folded != "on" && folded != "off") {
            error = valueError(setting, value);
            return false;
        }
        out = folded;
        return true;
    case ValueType::Word:
        if (id == LiftOff ? (folded != "1mm" && folded != "2mm")
                          : (folded != "off" && folded != "speed" && folded != "safe")) {
            error = valueError(setting, value);
            return false;
        }
        out = folded;
        return true;
    case ValueType::Cpi: {
        std::string cpiError;
        const std::optional<CpiPair> pair = parseCpiPair(folded, cpiError);
        if (!pair) {
            error = std::string(setting.name) + ": " + cpiError;
            return false;
        }
        out = cpiPairText(pair->x, pair->y);
        return true;
    }
    case ValueType::Action: {
        const ActionParse parsed = parseAction(value);
        if (const auto* bad = std::get_if<ActionParseError>(&parsed)) {
            error = std::string(setting.name) + ": " + bad->message;
            return false;
        }
        if (slotOfButton(id) >= static_cast<std::size_t>(WheelUpSlot) &&
            std::get<ButtonAction>(parsed).type == static_cast<std::uint8_t>(ActionKind::FixedCpi)) {
            error =
                std::string(setting.name) + ": a fixed CPI is offered for the buttons only, not the wheel";
            return false;
        }
        out = trim(value);
        return true;
    }
    case ValueType::Number:
        break;
    }

    if (id == LeftFilter || id == RightFilter) {
        if (folded == "-") {
            out = folded;
            return true;
        }
    }
    std::string_view number = folded;
    if (id == PollingRate && number.size() > 2 && number.substr(number.size() - 2) == "hz")
        number.remove_suffix(2);
    const std::optional<std::uint32_t> parsed = parseUnsigned(number);
    bool fits = false;
    if (parsed) {
        if (id == CpiLevels)
            fits = *parsed >= 1 && *parsed <= kCpiLevelCount;
        else if (id == PollingRate)
            fits = *parsed == 1000 || *parsed == 2000 || *parsed == 4000 || *parsed == 8000;
        else
            fits = *parsed <= static_cast<std::uint32_t>(kFilterMax);
    }
    if (!fits) {
        error = valueError(setting, value);
        return false;
    }
    out = std::to_string(*parsed);
    return true;
}

std::uint8_t pollingIntervalOf(std::uint32_t hertz)
{
    return static_cast<std::uint8_t>(8000 / hertz);
}

}  // namespace

std::span<const Setting> allSettings()
{
    return kSettings;
}

const Setting* findSetting(std::string_view name)
{
    const std::string folded = foldName(name);
    for (const Setting& setting : kSettings)
        if (setting.name == folded)
            return &setting;
    return nullptr;
}

std::string settingText(const Setting& setting, const MouseSettings& settings)
{
    const Id id = idOf(setting);
    switch (id) {
    case CpiLevels:
        return std::to_string(settings.cpiLevelCount);
    case Cpi1:
    case Cpi2:
    case Cpi3:
    case Cpi4: {
        const CpiLevel& level = settings.cpiLevels[static_cast<std::size_t>(cpiIndex(id))];
        return cpiPairText(level.x, level.y);
    }
    case LiftOff:
        if (settings.liftOffDistance == 1 || settings.liftOffDistance == 2)
            return std::to_string(settings.liftOffDistance) + "mm";
        return odd(settings.liftOffDistance);
    case AngleSnapping:
        return switchText(settings.angleSnapping);
    case RippleControl:
        return switchText(settings.rippleControl);
    case MotionSync:
        return switchText(settings.motionSync);
    case PollingRate:
        if (pollingIndexForInterval(settings.pollingInterval))
            return std::to_string(8000 / settings.pollingInterval);
        return "unknown-interval-" + std::to_string(settings.pollingInterval);
    case SlamClick:
        return switchText(settings.slamClickFilter);
    case LeftSpdt:
    case RightSpdt:
        return spdtWord(settings.buttons[slotOfButton(id)].filter);
    case LeftFilter:
    case RightFilter:
    case MiddleFilter:
    case ForwardFilter:
    case BackFilter: {
        const std::uint8_t filter = settings.buttons[slotOfButton(id)].filter;
        if ((id == LeftFilter || id == RightFilter) && spdtIndexForFilter(filter) != 0)
            return "-";
        return std::to_string(filter);
    }
    case LeftHanded:
        return leftHanded(settings) ? "on" : "off";
    case LeftButton:
    case RightButton:
    case MiddleButton:
    case ForwardButton:
    case BackButton:
    case WheelUp:
    case WheelDown:
        return actionText(settings.buttons[slotOfButton(id)].action);
    case SettingCount:
        break;
    }
    return {};
}

bool SettingsEdit::assign(std::string_view name, std::string_view value, std::string& error)
{
    const Setting* setting = findSetting(name);
    if (!setting) {
        error = "no setting is called '" + std::string(name) + "' (larkctl set --help lists them)";
        return false;
    }
    std::string canonical;
    if (!checkValue(*setting, value, canonical, error))
        return false;
    auto same =
        std::find_if(values_.begin(), values_.end(), [&](const Value& v) { return v.setting == setting; });
    if (same != values_.end()) {
        if (same->text != canonical) {
            error = std::string(setting->name) + " is given twice, as " + same->text + " and " + canonical;
            return false;
        }
        return true;
    }
    values_.push_back(Value{setting, canonical});
    return true;
}

const SettingsEdit::Value* SettingsEdit::find(std::string_view name) const
{
    for (const Value& value : values_)
        if (value.setting->name == name)
            return &value;
    return nullptr;
}

bool SettingsEdit::applyTo(MouseSettings& target, bool restore, std::string& error) const
{
    MouseSettings settings = target;
    std::vector<const Value*> ordered;
    for (const Value& value : values_)
        ordered.push_back(&value);
    std::sort(ordered.begin(), ordered.end(),
              [](const Value* a, const Value* b) { return idOf(*a->setting) < idOf(*b->setting); });

    auto given = [&](Id id) { return find(settingOf(id).name); };

    for (const Value* value : ordered) {
        const Id id = idOf(*value->setting);
        const std::string& text = value->text;
        const std::size_t slot = slotOfButton(id);
        switch (id) {
        case CpiLevels:
            settings.cpiLevelCount = static_cast<std::uint8_t>(*parseUnsigned(text));
            break;
        case Cpi1:
        case Cpi2:
        case Cpi3:
        case Cpi4: {
            std::string ignored;
            const CpiPair pair = *parseCpiPair(text, ignored);
            CpiLevel& level = settings.cpiLevels[static_cast<std::size_t>(cpiIndex(id))];
            level.x = pair.x;
            level.y = pair.y;
            level.xySeparate = pair.x != pair.y ? 1 : 0;  // as APPLY derives it from the values
            break;
        }
        case LiftOff:
            settings.liftOffDistance = text == "2mm" ? 2 : 1;
            break;
        case AngleSnapping:
            settings.angleSnapping = text == "on";
            break;
        case RippleControl:
            settings.rippleControl = text == "on";
            break;
        case MotionSync:
            settings.motionSync = text == "on";
            break;
        case PollingRate:
            settings.pollingInterval = pollingIntervalOf(*parseUnsigned(text));
            break;
        case SlamClick:
            settings.slamClickFilter = text == "on";
            break;
        case LeftSpdt:
        case RightSpdt: {
            std::uint8_t& filter = settings.buttons[slot].filter;
            const int index = text == "speed" ? 1 : text == "safe" ? 2 : 0;
            // OFF takes the trackbar's position, which is 8 after an SPDT mode.
            const int position = spdtIndexForFilter(filter) == 0 ? shownFilter(filter) : kFilterFallback;
            filter = *filterForSpdtIndex(index, position);
            break;
        }
        case LeftFilter:
        case RightFilter:
        case MiddleFilter:
        case ForwardFilter:
        case BackFilter: {
            std::uint8_t& filter = settings.buttons[slot].filter;
            const bool spdtOn = (id == LeftFilter || id == RightFilter) && spdtIndexForFilter(filter) != 0;
            const std::string spdtName = id == LeftFilter ? "left-spdt" : "right-spdt";
            if (text == "-") {
                if (!spdtOn) {
                    error = std::string(value->setting->name) + ": '-' only while " + spdtName +
                            " is speed or safe; give a filter from 0 to 25";
                    return false;
                }
                break;
            }
            if (spdtOn) {
                error = std::string(value->setting->name) + " is not used while " + spdtName + " is " +
                        spdtWord(filter) + "; add " + spdtName + "=off to set it";
                return false;
            }
            filter = static_cast<std::uint8_t>(*parseUnsigned(text));
            break;
        }
        case LeftHanded: {
            const bool on = text == "on";
            if (on != leftHanded(settings)) {
                ButtonAction& left = settings.buttons[LeftSlot].action;
                ButtonAction& right = settings.buttons[RightSlot].action;
                // The configurable action moves to the other button; the primary click takes its place.
                if (on) {
                    left = right;
                    right = kLeftClick;
                } else {
                    right = left;
                    left = kLeftClick;
                }
            }
            break;
        }
        case LeftButton:
        case RightButton:
        case MiddleButton:
        case ForwardButton:
        case BackButton:
        case WheelUp:
        case WheelDown:
            settings.buttons[slot].action = std::get<ButtonAction>(parseAction(text));
            break;
        case SettingCount:
            break;
        }
    }

    // Motion sync and 8000 Hz do not go together; only a mouse's own settings may hold both.
    if (settings.motionSync == 1 && settings.pollingInterval == 1 && !restore) {
        if (given(PollingRate)) {
            error = "polling-rate: 8000 Hz is not offered while motion sync is on; add motion-sync=off";
            return false;
        }
        if (given(MotionSync))
            settings.pollingInterval = 2;  // as the page does: 8000 Hz gives way to 4000 Hz
    }
    if (const Value* handed = given(LeftHanded); handed && (handed->text == "on") != leftHanded(settings)) {
        error = "left-handed=" + handed->text +
                " contradicts right-button: in left-handed mode the right "
                "button gives LEFT CLICK";
        return false;
    }
    target = settings;
    return true;
}

std::vector<const Setting*> changedSettings(const MouseSettings& before, const MouseSettings& after)
{
    std::vector<const Setting*> changed;
    for (const Setting& setting : kSettings)
        if (settingText(setting, before) != settingText(setting, after))
            changed.push_back(&setting);
    return changed;
}

}  // namespace lark::cli

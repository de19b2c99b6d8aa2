#include "model/Vocabulary.h"

#include <algorithm>
#include <array>
#include <variant>

#include "model/ActionText.h"
#include "model/Actions.h"
#include "model/AdvancedValues.h"
#include "model/Cpi.h"
#include "model/Rules.h"
#include "model/Text.h"
#include "model/Words.h"

namespace lark {

namespace {

constexpr std::string_view kSwitch = "on, off";
constexpr std::string_view kFilter = "0 to 25";
constexpr std::string_view kCpi = "XxY, or one number for both axes; put on the grid of 50 (824 gives 800)";
constexpr std::string_view kAction = "an action (LEFT CLICK, VOLUME UP, CPI LOOP, DISABLE, ...), a key "
                                     "(Ctrl+Shift+A, Page Up, key:Back), or fixed-cpi:800x800";
constexpr std::string_view kWheelAction = "an action (SCROLL UP, VOLUME UP, CPI LOOP, DISABLE, ...) or a key "
                                          "(Ctrl+Shift+A, Page Up, key:Back)";

constexpr auto kLiftOffChoices = std::to_array<Choice>(
    {{"1mm", LARK_WORDS("Vocabulary", "1mm"), 1}, {"2mm", LARK_WORDS("Vocabulary", "2mm"), 2}});
// In the order of the window's list.
constexpr auto kPollingChoices = std::to_array<Choice>({{"1000", LARK_WORDS("Vocabulary", "1000Hz"), 8},
                                                        {"2000", LARK_WORDS("Vocabulary", "2000Hz"), 4},
                                                        {"4000", LARK_WORDS("Vocabulary", "4000Hz"), 2},
                                                        {"8000", LARK_WORDS("Vocabulary", "8000Hz"), 1}});
constexpr auto kSpdtChoices =
    std::to_array<Choice>({{"off", LARK_WORDS("Vocabulary", "OFF"), 0},
                           {"speed", LARK_WORDS("Vocabulary", "KV Speed Mode"), kSpdtSpeedFilter},
                           {"safe", LARK_WORDS("Vocabulary", "KV Safe Mode"), kSpdtSafeFilter}});

constexpr std::string_view kCpiHelp = LARK_WORDS(
    "Vocabulary",
    "CPI level %1: how far the pointer moves for each inch the mouse moves, %2; X is horizontal, Y "
    "vertical. Higher is faster.");
constexpr std::string_view kFilterHelp = LARK_WORDS(
    "Vocabulary",
    "Multiclick filter of the %1: ignores the extra clicks a worn switch can send right after a real "
    "one. 0 to 25: higher filters more, but very fast double clicks may be lost.");
constexpr std::string_view kSpdtHelp = LARK_WORDS(
    "Vocabulary",
    "Switch mode of the %1. OFF uses the multiclick filter; KV Speed Mode registers clicks fastest; "
    "KV Safe Mode guards best against double clicks.");
constexpr std::string_view kButtonHelp = LARK_WORDS(
    "Vocabulary", "What %1 does: a mouse click, a keyboard key, a CPI change, a media key, or nothing.");

std::string odd(std::uint8_t value)
{
    return "unknown-" + std::to_string(value);
}

std::uint8_t& slotFilter(MouseSettings& settings, const Setting& setting)
{
    return settings.buttons[static_cast<std::size_t>(setting.index)].filter;
}

// Readers and writers, one per kind of field.

template <std::uint8_t MouseSettings::*Field>
std::string readSwitch(const Setting&, const MouseSettings& settings)
{
    const std::uint8_t value = settings.*Field;
    if (value <= 1)
        return value ? "on" : "off";
    return odd(value);
}

template <std::uint8_t MouseSettings::*Field>
bool writeSwitch(const Setting&, MouseSettings& settings, const std::string& words, std::string&)
{
    settings.*Field = words == "on" ? 1 : 0;
    return true;
}

template <std::uint8_t MouseSettings::*Field>
std::string readNumber(const Setting&, const MouseSettings& settings)
{
    return std::to_string(settings.*Field);
}

template <std::uint8_t MouseSettings::*Field>
bool writeNumber(const Setting&, MouseSettings& settings, const std::string& words, std::string&)
{
    settings.*Field = static_cast<std::uint8_t>(*parseUnsigned(words));
    return true;
}

template <std::uint8_t MouseSettings::*Field>
std::string readChoice(const Setting& setting, const MouseSettings& settings)
{
    const Choice* choice = choiceOfStored(setting, settings.*Field);
    return choice ? std::string(choice->word) : odd(settings.*Field);
}

template <std::uint8_t MouseSettings::*Field>
bool writeChoice(const Setting& setting, MouseSettings& settings, const std::string& words, std::string&)
{
    for (const Choice& choice : setting.choices)
        if (choice.word == words)
            settings.*Field = choice.stored;
    return true;
}

std::string readCpi(const Setting& setting, const MouseSettings& settings)
{
    const CpiLevel& level = settings.cpiLevels[static_cast<std::size_t>(setting.index)];
    return cpiPairText(level.x, level.y);
}

bool writeCpi(const Setting& setting, MouseSettings& settings, const std::string& words, std::string&)
{
    std::string ignored;
    const CpiPair pair = *parseCpiPair(words, ignored);
    setCpiLevel(settings, setting.index, pair.x, pair.y);
    return true;
}

bool writeMotionSync(const Setting&, MouseSettings& settings, const std::string& words, std::string&)
{
    setMotionSync(settings, words == "on");
    return true;
}

std::string readPollingRate(const Setting&, const MouseSettings& settings)
{
    if (const std::optional<std::uint32_t> hertz = pollingHz(settings.pollingInterval))
        return std::to_string(*hertz);
    return "unknown-interval-" + std::to_string(settings.pollingInterval);
}

bool writePollingRate(const Setting&, MouseSettings& settings, const std::string& words, std::string& error)
{
    const std::uint8_t interval = *pollingIntervalOfHz(*parseUnsigned(words));
    if (!pollingRateOffered(settings, interval)) {
        error = "polling-rate: 8000 Hz is not offered while motion sync is on; add motion-sync=off";
        return false;
    }
    settings.pollingInterval = interval;
    return true;
}

std::string readSpdt(const Setting& setting, const MouseSettings& settings)
{
    return std::string(
        setting.choices[static_cast<std::size_t>(spdtIndexForFilter(settings.buttons[setting.index].filter))]
            .word);
}

bool writeSpdt(const Setting& setting, MouseSettings& settings, const std::string& words, std::string&)
{
    std::uint8_t& filter = slotFilter(settings, setting);
    int index = 0;
    for (std::size_t i = 0; i < setting.choices.size(); ++i)
        if (setting.choices[i].word == words)
            index = static_cast<int>(i);
    // OFF takes the trackbar's position, which is 8 after an SPDT mode.
    const int position = spdtIndexForFilter(filter) == 0 ? shownFilter(filter) : kFilterFallback;
    filter = *filterForSpdtIndex(index, position);
    return true;
}

std::string spdtNameOf(const Setting& filterSetting)
{
    return filterSetting.index == LeftSlot ? "left-spdt" : "right-spdt";
}

std::string readFilter(const Setting& setting, const MouseSettings& settings)
{
    if (!multiclickFilterInUse(settings, setting.index))
        return "-";
    return std::to_string(settings.buttons[static_cast<std::size_t>(setting.index)].filter);
}

bool writeFilter(const Setting& setting, MouseSettings& settings, const std::string& words,
                 std::string& error)
{
    const bool inUse = multiclickFilterInUse(settings, setting.index);
    if (words == "-") {
        if (inUse) {
            error = std::string(setting.name) + ": '-' only while " + spdtNameOf(setting) +
                    " is speed or safe; give a filter from 0 to 25";
            return false;
        }
        return true;
    }
    if (!inUse) {
        const std::string spdt = spdtNameOf(setting);
        const Setting* spdtSetting = findSetting(spdt);
        error = std::string(setting.name) + " is not used while " + spdt + " is " +
                settingText(*spdtSetting, settings) + "; add " + spdt + "=off to set it";
        return false;
    }
    slotFilter(settings, setting) = static_cast<std::uint8_t>(*parseUnsigned(words));
    return true;
}

std::string readLeftHanded(const Setting&, const MouseSettings& settings)
{
    return isLeftHanded(settings) ? "on" : "off";
}

bool writeLeftHanded(const Setting&, MouseSettings& settings, const std::string& words, std::string&)
{
    setLeftHanded(settings, words == "on");
    return true;
}

std::string readAction(const Setting& setting, const MouseSettings& settings)
{
    return actionText(settings.buttons[static_cast<std::size_t>(setting.index)].action);
}

bool writeAction(const Setting& setting, MouseSettings& settings, const std::string& words,
                 std::string& error)
{
    ButtonAction& slot = settings.buttons[static_cast<std::size_t>(setting.index)].action;
    const ButtonAction action = std::get<ButtonAction>(parseAction(words));
    if (action == slot)
        return true;
    // One of the two main buttons always keeps the primary click: only the configurable one changes.
    if ((setting.index == LeftSlot || setting.index == RightSlot) &&
        setting.index != configurableMainSlot(settings)) {
        error = setting.index == LeftSlot
                    ? "left-button: the left button gives LEFT CLICK unless left-handed mode is on; "
                      "add left-handed=on to give it another action"
                    : "right-button: in left-handed mode the right button gives LEFT CLICK; set "
                      "left-button, or add left-handed=off";
        return false;
    }
    slot = action;
    return true;
}

constexpr Setting switchRow(std::string_view name, std::string_view caption, std::string_view help,
                            SettingReader read, SettingWriter write)
{
    return Setting{name, caption, help, {}, ValueType::Switch, kSwitch, {}, 0, 1, 0, read, write};
}

constexpr Setting cpiRow(std::string_view name, std::string_view caption, std::string_view subject, int level)
{
    return Setting{name, caption, kCpiHelp, subject, ValueType::Cpi, kCpi,
                   {},   50,      26000,    level,   readCpi,        writeCpi};
}

constexpr Setting spdtRow(std::string_view name, std::string_view caption, std::string_view subject, int slot)
{
    return Setting{name,         caption, kSpdtHelp, subject, ValueType::Word, "off, speed, safe",
                   kSpdtChoices, 0,       2,         slot,    readSpdt,        writeSpdt};
}

constexpr Setting filterRow(std::string_view name, std::string_view caption, std::string_view subject,
                            std::string_view values, int slot)
{
    return Setting{name, caption,    kFilterHelp, subject, ValueType::Number, values,
                   {},   kFilterMin, kFilterMax,  slot,    readFilter,        writeFilter};
}

constexpr Setting buttonRow(std::string_view name, std::string_view caption, std::string_view subject,
                            int slot)
{
    return Setting{name,
                   caption,
                   kButtonHelp,
                   subject,
                   ValueType::Action,
                   slot == WheelUpSlot || slot == WheelDownSlot ? kWheelAction : kAction,
                   {},
                   0,
                   0,
                   slot,
                   readAction,
                   writeAction};
}

const auto kSettings = std::to_array<Setting>({
    {"cpi-levels",
     LARK_WORDS("Vocabulary", "CPI Levels"),
     LARK_WORDS("Vocabulary", "How many CPI levels the mouse's CPI button steps through (1 to 4)."),
     {},
     ValueType::Number,
     "1 to 4",
     {},
     1,
     kCpiLevelCount,
     0,
     readNumber<&MouseSettings::cpiLevelCount>,
     writeNumber<&MouseSettings::cpiLevelCount>},
    cpiRow("cpi1", LARK_WORDS("Vocabulary", "CPI 1"), "1", 0),
    cpiRow("cpi2", LARK_WORDS("Vocabulary", "CPI 2"), "2", 1),
    cpiRow("cpi3", LARK_WORDS("Vocabulary", "CPI 3"), "3", 2),
    cpiRow("cpi4", LARK_WORDS("Vocabulary", "CPI 4"), "4", 3),
    {"lift-off-distance",
     LARK_WORDS("Vocabulary", "LOD"),
     LARK_WORDS("Vocabulary",
                "Lift-off distance: how high the mouse can be lifted before it stops tracking (1 or 2 mm). "
                "Lower stops the pointer drifting when you lift and reposition it."),
     {},
     ValueType::Word,
     "1mm, 2mm",
     kLiftOffChoices,
     0,
     1,
     0,
     readChoice<&MouseSettings::liftOffDistance>,
     writeChoice<&MouseSettings::liftOffDistance>},
    switchRow("angle-snapping", LARK_WORDS("Vocabulary", "Angle Snapping"),
              LARK_WORDS(
                  "Vocabulary",
                  "Straightens slightly shaky hand movements into straight lines. Most players leave it off, "
                  "as it also bends small aiming corrections."),
              readSwitch<&MouseSettings::angleSnapping>, writeSwitch<&MouseSettings::angleSnapping>),
    switchRow(
        "ripple-control", LARK_WORDS("Vocabulary", "Ripple Control"),
        LARK_WORDS(
            "Vocabulary",
            "Smooths out pointer jitter at high CPI, at the cost of a tiny delay. Leave it off unless the "
            "pointer shakes at high CPI."),
        readSwitch<&MouseSettings::rippleControl>, writeSwitch<&MouseSettings::rippleControl>),
    switchRow(
        "motion-sync", LARK_WORDS("Vocabulary", "Motion Sync"),
        LARK_WORDS(
            "Vocabulary",
            "Times the sensor's readings to the computer's polling for steadier tracking, with a slight "
            "delay. 8000 Hz is not offered while it is on."),
        readSwitch<&MouseSettings::motionSync>, writeMotionSync),
    {"polling-rate",
     LARK_WORDS("Vocabulary", "Polling Rate"),
     LARK_WORDS("Vocabulary",
                "How many times a second the mouse reports to the computer, in Hz. Higher feels smoother "
                "but costs more CPU; try lower if games stutter."),
     {},
     ValueType::Number,
     "1000, 2000, 4000, 8000 (not 8000 with motion sync)",
     kPollingChoices,
     1000,
     8000,
     0,
     readPollingRate,
     writePollingRate},
    switchRow(
        "slam-click-filter", LARK_WORDS("Vocabulary", "Slamclick Filter"),
        LARK_WORDS(
            "Vocabulary",
            "Ignores the false clicks that can happen when the mouse is slammed down or lifted quickly."),
        readSwitch<&MouseSettings::slamClickFilter>, writeSwitch<&MouseSettings::slamClickFilter>),
    spdtRow("left-spdt", LARK_WORDS("Vocabulary", "Left Button SPDT"),
            LARK_WORDS("Vocabulary", "left button"), LeftSlot),
    spdtRow("right-spdt", LARK_WORDS("Vocabulary", "Right Button SPDT"),
            LARK_WORDS("Vocabulary", "right button"), RightSlot),
    filterRow("left-multiclick-filter", LARK_WORDS("Vocabulary", "Left Button Multiclick Filter"),
              LARK_WORDS("Vocabulary", "left button"), "0 to 25, or - while left-spdt is not off", LeftSlot),
    filterRow("right-multiclick-filter", LARK_WORDS("Vocabulary", "Right Button Multiclick Filter"),
              LARK_WORDS("Vocabulary", "right button"), "0 to 25, or - while right-spdt is not off",
              RightSlot),
    filterRow("middle-multiclick-filter", LARK_WORDS("Vocabulary", "Middle Button Multiclick Filter"),
              LARK_WORDS("Vocabulary", "middle button"), kFilter, MiddleSlot),
    filterRow("forward-multiclick-filter", LARK_WORDS("Vocabulary", "Forward Button Multiclick Filter"),
              LARK_WORDS("Vocabulary", "forward button"), kFilter, ForwardSlot),
    filterRow("back-multiclick-filter", LARK_WORDS("Vocabulary", "Back Button Multiclick Filter"),
              LARK_WORDS("Vocabulary", "back button"), kFilter, BackSlot),
    switchRow(
        "left-handed", LARK_WORDS("Vocabulary", "Left-handed Mode"),
        LARK_WORDS("Vocabulary",
                   "Swaps the two main buttons for left-handed use: the right button clicks, and the left "
                   "button takes the action the right one had."),
        readLeftHanded, writeLeftHanded),
    buttonRow(
        "left-button", LARK_WORDS("Vocabulary", "Left Button"),
        LARK_WORDS("Vocabulary", "the left button (in left-handed mode; otherwise it gives LEFT CLICK)"),
        LeftSlot),
    buttonRow(
        "right-button", LARK_WORDS("Vocabulary", "Right Button"),
        LARK_WORDS("Vocabulary", "the right button (in right-handed mode; otherwise it gives LEFT CLICK)"),
        RightSlot),
    buttonRow("middle-button", LARK_WORDS("Vocabulary", "Middle Button"),
              LARK_WORDS("Vocabulary", "the middle button (pressing the wheel)"), MiddleSlot),
    buttonRow("forward-button", LARK_WORDS("Vocabulary", "Forward Button"),
              LARK_WORDS("Vocabulary", "the forward side button"), ForwardSlot),
    buttonRow("back-button", LARK_WORDS("Vocabulary", "Back Button"),
              LARK_WORDS("Vocabulary", "the back side button"), BackSlot),
    buttonRow("wheel-up", LARK_WORDS("Vocabulary", "Wheel Up"),
              LARK_WORDS("Vocabulary", "scrolling the wheel up"), WheelUpSlot),
    buttonRow("wheel-down", LARK_WORDS("Vocabulary", "Wheel Down"),
              LARK_WORDS("Vocabulary", "scrolling the wheel down"), WheelDownSlot),
});

std::string valueError(const Setting& setting, std::string_view value)
{
    return std::string(setting.name) + ": '" + std::string(value) +
           "' is not one of: " + std::string(setting.values);
}

// Checks a value on its own, without the other settings. The canonical words go into `out`.
bool checkValue(const Setting& setting, std::string_view value, std::string& out, std::string& error)
{
    const std::string folded = foldName(value);
    switch (setting.type) {
    case ValueType::Switch:
        if (folded != "on" && folded != "off") {
            error = valueError(setting, value);
            return false;
        }
        out = folded;
        return true;
    case ValueType::Word:
        for (const Choice& choice : setting.choices)
            if (choice.word == folded) {
                out = folded;
                return true;
            }
        error = valueError(setting, value);
        return false;
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
        if (!fixedCpiOffered(setting.index) &&
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

    // A filter that an SPDT mode replaces is written "-".
    if (setting.read == readFilter && folded == "-") {
        out = folded;
        return true;
    }
    std::string_view number = folded;
    if (!setting.choices.empty() && number.size() > 2 && number.substr(number.size() - 2) == "hz")
        number.remove_suffix(2);
    const std::optional<std::uint32_t> parsed = parseUnsigned(number);
    bool fits = parsed && *parsed >= static_cast<std::uint32_t>(setting.min) &&
                *parsed <= static_cast<std::uint32_t>(setting.max);
    if (fits && !setting.choices.empty())
        fits = std::any_of(setting.choices.begin(), setting.choices.end(),
                           [&](const Choice& c) { return c.word == std::to_string(*parsed); });
    if (!fits) {
        error = valueError(setting, value);
        return false;
    }
    out = std::to_string(*parsed);
    return true;
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

std::string helpText(const Setting& setting)
{
    std::string text(setting.help);
    if (const std::size_t at = text.find("%1"); at != std::string::npos)
        text.replace(at, 2, setting.subject);
    if (const std::size_t at = text.find("%2"); at != std::string::npos)
        text.replace(at, 2, cpiRangeText());
    return text;
}

std::string settingText(const Setting& setting, const MouseSettings& settings)
{
    return setting.read(setting, settings);
}

const Choice* choiceOfStored(const Setting& setting, std::uint8_t stored)
{
    for (const Choice& choice : setting.choices)
        if (choice.stored == stored)
            return &choice;
    return nullptr;
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

bool SettingsEdit::applyTo(MouseSettings& target, std::string& error) const
{
    MouseSettings settings = target;
    std::vector<const Value*> ordered;
    for (const Value& value : values_)
        ordered.push_back(&value);
    // Table order, except that left-handed mode goes first: it moves the main buttons' actions and
    // filters, and the values given for those must land where they were given.
    auto rank = [](const Value* value) {
        return value->setting->write == writeLeftHanded ? -1
                                                        : static_cast<int>(value->setting - kSettings.data());
    };
    std::sort(ordered.begin(), ordered.end(),
              [&](const Value* a, const Value* b) { return rank(a) < rank(b); });

    for (const Value* value : ordered)
        if (!value->setting->write(*value->setting, settings, value->text, error))
            return false;

    if (const Value* handed = find("left-handed");
        handed && (handed->text == "on") != isLeftHanded(settings)) {
        error = "left-handed=" + handed->text +
                " contradicts right-button: in left-handed mode the right button gives LEFT CLICK";
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

}  // namespace lark

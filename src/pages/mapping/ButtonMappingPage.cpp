#include "pages/mapping/ButtonMappingPage.h"

#include <QAction>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

#include <utility>

#include "model/Actions.h"
#include "model/Rules.h"
#include "model/Vocabulary.h"
#include "pages/mapping/FixedCpiDialog.h"
#include "pages/mapping/KeyCaptureDialog.h"
#include "settings/SettingsModel.h"
#include "widgets/ControlHelp.h"
#include "widgets/DialogUnits.h"
#include "widgets/InputHelpers.h"
#include "widgets/Translation.h"

namespace lark {

namespace {

// The setting each row edits; row 1 edits the left button instead while left-handed.
constexpr std::array<const char*, ButtonMappingPage::kRowCount> kRowSettings{
    "right-button", "middle-button", "forward-button", "back-button", "wheel-up", "wheel-down",
};

const Setting& rowSetting(int row)
{
    return *findSetting(kRowSettings[static_cast<std::size_t>(row)]);
}

int slotOfRow(int row)
{
    return rowSetting(row).index;
}

const Setting& mainButton(bool leftHanded)
{
    return *findSetting(leftHanded ? "left-button" : "right-button");
}

// The caption a row shows before the settings are known: that of the factory action.
QString factoryCaption(int row)
{
    MouseSettings factory;
    setDefaults(factory);
    return captionWords(actionCaption(factory.buttons[static_cast<std::size_t>(slotOfRow(row))].action)
                            .value_or(std::string()));
}

}  // namespace

ButtonMappingPage::ButtonMappingPage(SettingsModel& model, QWidget* parent) : QWidget(parent), model_(model)
{
    setFont(DialogUnits::dialogFont());
    const DialogUnits du;
    resize(du.size(413, 262));

    const Setting& leftHanded = *findSetting("left-handed");
    leftHandedBox_ = new QCheckBox(captionOf(leftHanded), this);
    leftHandedBox_->setAccessibleName(leftHandedBox_->text());
    du.place(leftHandedBox_, 14, 12, 120, 10);
    setHelp(leftHandedBox_, leftHanded);
    connect(leftHandedBox_, &QCheckBox::clicked, this, &ButtonMappingPage::onLeftHandedClicked);

    for (int row = 0; row < kRowCount; ++row) {
        const int y = 38 + 26 * row;
        auto* label = new QLabel(captionOf(rowSetting(row)), this);
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        du.place(label, 14, y, 80, 14);

        auto* button = new QPushButton(factoryCaption(row), this);
        button->setAccessibleName(button->text());
        button->setAccessibleDescription(label->text());
        button->setAutoDefault(false);
        du.place(button, 100, y, 132, 14);
        label->setBuddy(button);
        setHelp(button, rowSetting(row));
        connect(button, &QPushButton::clicked, this, [this, row] { onRowClicked(row); });
        rowButtons_[row] = button;
        if (row == 0)
            firstRowLabel_ = label;
    }

    shareHelpWithBuddyLabels(this);
    greyLabelsWithBuddies(this);

    buildMenu();
    currentSlot_ = 0;
}

void ButtonMappingPage::buildMenu()
{
    actionMenu_ = new QMenu(this);
    auto addEntry = [](QMenu* menu, const QString& text, int entry) {
        QAction* action = menu->addAction(text);
        action->setData(entry);
        return action;
    };
    auto addGroup = [&](QMenu* menu, ActionGroup group) {
        const auto named = namedActions();
        for (std::size_t i = 0; i < named.size(); ++i)
            if (named[i].group == group)
                addEntry(menu, captionWords(named[i].caption), static_cast<int>(i));
    };

    addGroup(actionMenu_->addMenu(tr("MOUSE")), ActionGroup::Mouse);
    addEntry(actionMenu_, tr("KEYBOARD KEY"), kKeyboardKeyEntry);
    cpiMenu_ = actionMenu_->addMenu(tr("CPI"));
    addGroup(cpiMenu_, ActionGroup::Cpi);
    fixedCpiEntry_ = addEntry(cpiMenu_, tr("FIXED CPI"), kFixedCpiEntry);
    addGroup(actionMenu_->addMenu(tr("MEDIA")), ActionGroup::Media);
    addGroup(actionMenu_, ActionGroup::Other);
}

ButtonSlot& ButtonMappingPage::slot(int index)
{
    return model_.editedSettings.buttons[static_cast<std::size_t>(index)];
}

QPushButton* ButtonMappingPage::buttonOfSlot(int slotIndex) const
{
    if (slotIndex == LeftSlot || slotIndex == RightSlot)
        return rowButtons_[0];
    for (int row = 1; row < kRowCount; ++row) {
        if (slotOfRow(row) == slotIndex)
            return rowButtons_[row];
    }
    return nullptr;
}

void ButtonMappingPage::showCaption(int slotIndex, const QString& caption)
{
    if (QPushButton* button = buttonOfSlot(slotIndex)) {
        button->setText(caption);
        button->setAccessibleName(caption);
    }
}

void ButtonMappingPage::onRowClicked(int row)
{
    currentSlot_ = row == 0 ? (leftHandedBox_->isChecked() ? LeftSlot : RightSlot) : slotOfRow(row);

    if (fixedCpiOffered(currentSlot_)) {
        if (cpiMenu_->actions().size() < 2)
            cpiMenu_->addAction(fixedCpiEntry_);
    } else {
        cpiMenu_->removeAction(fixedCpiEntry_);
    }

    QPushButton* button = rowButtons_[row];
    QAction* chosen = actionMenu_->exec(button->mapToGlobal(QPoint(0, button->height())));
    if (chosen)
        runCommand(chosen->data().toInt());
}

void ButtonMappingPage::runCommand(int entry)
{
    const auto named = namedActions();
    if (entry >= 0 && static_cast<std::size_t>(entry) < named.size()) {
        slot(currentSlot_).action = named[static_cast<std::size_t>(entry)].action;  // the filter stays
        showCaption(currentSlot_, captionWords(named[static_cast<std::size_t>(entry)].caption));
    } else if (entry == kKeyboardKeyEntry) {
        assignKeyboardKey();
    } else if (entry == kFixedCpiEntry) {
        assignFixedCpi();
    }
    model_.updateApplyButton();
}

void ButtonMappingPage::assignKeyboardKey()
{
    KeyCaptureDialog dialog(keyCapture_, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (keyCapture_.capturedKeyText.empty())
        return;
    // Without a key of this opening, capturedKeyCode is whatever an earlier opening or the last
    // decoded caption left there; storing it would assign a key the user never pressed.
    if (!dialog.keyCapturedThisOpening())
        return;
    showCaption(currentSlot_, captionWords(keyCapture_.capturedKeyText));
    slot(currentSlot_).action = encodeKeyboardAction(keyCapture_);
}

void ButtonMappingPage::assignFixedCpi()
{
    FixedCpiDialog dialog(this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const std::uint32_t x = dialog.xValue();
    const std::uint32_t y = dialog.yValue();
    showCaption(currentSlot_, captionWords(fixedCpiCaption(x, y)));
    slot(currentSlot_).action = encodeFixedCpiAction(x, y);
}

void ButtonMappingPage::onLeftHandedClicked(bool checked)
{
    // The configurable action moves with the row to the other physical button, so the row's
    // caption stays. The box decides even where the slots hold neither mode's shape.
    MouseSettings& edited = model_.editedSettings;
    if (checked == isLeftHanded(edited)) {
        ButtonSlot& from = slot(checked ? RightSlot : LeftSlot);
        ButtonSlot& to = slot(checked ? LeftSlot : RightSlot);
        to.action = from.action;
        from.action = kLeftClickAction;
        std::swap(from.filter, to.filter);
    } else {
        setLeftHanded(edited, checked);
    }
    currentSlot_ = checked ? LeftSlot : RightSlot;
    showMainRow(checked);
    model_.updateApplyButton();
}

void ButtonMappingPage::showMainRow(bool leftHanded)
{
    const Setting& button = mainButton(leftHanded);
    firstRowLabel_->setText(captionOf(button));
    rowButtons_[0]->setAccessibleDescription(firstRowLabel_->text());
    setHelp(rowButtons_[0], button);
    firstRowLabel_->setToolTip(rowButtons_[0]->toolTip());
}

void ButtonMappingPage::refreshFromSettings()
{
    const bool leftHanded = isLeftHanded(model_.editedSettings);
    leftHandedBox_->setChecked(leftHanded);
    currentSlot_ = leftHanded ? LeftSlot : RightSlot;
    showMainRow(leftHanded);

    for (int row = 0; row < kRowCount; ++row) {
        const int slotIndex = row == 0 ? currentSlot_ : slotOfRow(row);
        // An action without a caption keeps whatever the button showed.
        if (auto caption = actionCaption(slot(slotIndex).action, keyCapture_))
            showCaption(slotIndex, captionWords(*caption));
    }
}

void ButtonMappingPage::setControlsEnabled(bool enabled)
{
    leftHandedBox_->setEnabled(enabled);
    for (QPushButton* button : rowButtons_)
        button->setEnabled(enabled);
}

void ButtonMappingPage::keyPressEvent(QKeyEvent* event)
{
    // Neither Escape nor Enter does anything on the page, and neither reaches the main window.
    if (!swallowKey(event, SwallowedKeys::EnterAndEscape))
        QWidget::keyPressEvent(event);
}

}  // namespace lark

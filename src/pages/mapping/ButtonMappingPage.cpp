#include "pages/mapping/ButtonMappingPage.h"

#include <QAction>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

#include <utility>

#include "pages/mapping/FixedCpiDialog.h"
#include "pages/mapping/KeyCaptureDialog.h"
#include "settings/SettingsModel.h"
#include "widgets/ControlHelp.h"
#include "widgets/DialogUnits.h"
#include "widgets/InputHelpers.h"

namespace lark {

namespace {

struct Row {
    const char* label;
    const char* factoryCaption;
    int slot;  // row 1 edits slot 0 instead while left-handed
};

constexpr std::array<Row, ButtonMappingPage::kRowCount> kRows{{
    {"Right Button", "RIGHT CLICK", RightSlot},
    {"Middle Button", "MIDDLE CLICK", MiddleSlot},
    {"Forward Button", "FORWARD", ForwardSlot},
    {"Back Button", "BACK", BackSlot},
    {"Wheel Up", "SCROLL UP", WheelUpSlot},
    {"Wheel Down", "SCROLL DOWN", WheelDownSlot},
}};

// Rows 1 to 4 are buttons; the wheel rows cannot take a fixed CPI.
constexpr int kButtonRowCount = 4;

const QString kRightButton = QStringLiteral("Right Button");
const QString kLeftButton = QStringLiteral("Left Button");

constexpr ButtonAction kLeftClick{static_cast<std::uint8_t>(ActionKind::MouseButton), 1, 0, 0};

// Left-handed operation is no stored flag: it shows as the primary click on the right button.
bool isLeftHanded(const MouseSettings& settings)
{
    return settings.buttons[RightSlot].action == kLeftClick;
}

}  // namespace

ButtonMappingPage::ButtonMappingPage(SettingsModel& model, QWidget* parent) : QWidget(parent), model_(model)
{
    setFont(DialogUnits::dialogFont());
    const DialogUnits du;
    resize(du.size(413, 262));

    leftHandedBox_ = new QCheckBox(QStringLiteral("Left-handed Mode"), this);
    leftHandedBox_->setAccessibleName(leftHandedBox_->text());
    du.place(leftHandedBox_, 14, 12, 120, 10);
    setHelp(leftHandedBox_, Help::LeftHanded);
    connect(leftHandedBox_, &QCheckBox::clicked, this, &ButtonMappingPage::onLeftHandedClicked);

    for (int row = 0; row < kRowCount; ++row) {
        const int y = 38 + 26 * row;
        auto* label = new QLabel(QString::fromLatin1(kRows[row].label), this);
        label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        du.place(label, 14, y, 80, 14);

        auto* button = new QPushButton(QString::fromLatin1(kRows[row].factoryCaption), this);
        button->setAccessibleName(button->text());
        button->setAccessibleDescription(label->text());
        button->setAutoDefault(false);
        du.place(button, 100, y, 132, 14);
        label->setBuddy(button);
        setHelp(button, Help::MappingRow, row);
        connect(button, &QPushButton::clicked, this, [this, row] { onRowClicked(row); });
        rowButtons_[row] = button;
        if (row == 0)
            firstRowLabel_ = label;
    }

    shareHelpWithBuddyLabels(this);

    buildMenu();
    currentSlot_ = 0;
}

void ButtonMappingPage::buildMenu()
{
    actionMenu_ = new QMenu(this);
    auto addEntry = [](QMenu* menu, int command) {
        const QString text = command == CmdKeyboardKey ? QStringLiteral("KEYBOARD KEY")
                             : command == CmdFixedCpi
                                 ? QStringLiteral("FIXED CPI")
                                 : QString::fromLatin1(findPlainMenuEntry(command)->text);
        QAction* action = menu->addAction(text);
        action->setData(command);
        return action;
    };

    QMenu* mouse = actionMenu_->addMenu(QStringLiteral("MOUSE"));
    for (int command = CmdLeftClick; command <= CmdScrollDown; ++command)
        addEntry(mouse, command);
    addEntry(actionMenu_, CmdKeyboardKey);
    cpiMenu_ = actionMenu_->addMenu(QStringLiteral("CPI"));
    addEntry(cpiMenu_, CmdCpiLoop);
    fixedCpiEntry_ = addEntry(cpiMenu_, CmdFixedCpi);
    QMenu* media = actionMenu_->addMenu(QStringLiteral("MEDIA"));
    for (int command = CmdPlayPause; command <= CmdExplorer; ++command)
        addEntry(media, command);
    addEntry(actionMenu_, CmdDisable);
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
        if (kRows[row].slot == slotIndex)
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
    currentSlot_ = row == 0 ? (leftHandedBox_->isChecked() ? LeftSlot : RightSlot) : kRows[row].slot;

    if (row < kButtonRowCount) {
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

void ButtonMappingPage::runCommand(int command)
{
    if (const PlainMenuEntry* entry = findPlainMenuEntry(command)) {
        slot(currentSlot_).action = entry->action;  // the filter stays
        showCaption(currentSlot_, QString::fromLatin1(entry->text));
    } else if (command == CmdKeyboardKey) {
        assignKeyboardKey();
    } else if (command == CmdFixedCpi) {
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
    showCaption(currentSlot_, QString::fromStdString(keyCapture_.capturedKeyText));
    slot(currentSlot_).action = encodeKeyboardAction(keyCapture_);
}

void ButtonMappingPage::assignFixedCpi()
{
    FixedCpiDialog dialog(this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const std::uint32_t x = dialog.xValue();
    const std::uint32_t y = dialog.yValue();
    showCaption(currentSlot_, QString::fromStdString(fixedCpiCaption(x, y)));
    slot(currentSlot_).action = encodeFixedCpiAction(x, y);
}

void ButtonMappingPage::onLeftHandedClicked(bool checked)
{
    ButtonSlot& left = slot(LeftSlot);
    ButtonSlot& right = slot(RightSlot);
    // The configurable action moves with the row to the other physical button; the primary
    // click takes the one left free. The row's caption therefore stays.
    if (checked) {
        currentSlot_ = LeftSlot;
        left.action = right.action;
        right.action = kLeftClick;
    } else {
        currentSlot_ = RightSlot;
        right.action = left.action;
        left.action = kLeftClick;
    }
    std::swap(left.filter, right.filter);
    firstRowLabel_->setText(checked ? kLeftButton : kRightButton);
    rowButtons_[0]->setAccessibleDescription(firstRowLabel_->text());
    model_.updateApplyButton();
}

void ButtonMappingPage::refreshFromSettings()
{
    const bool leftHanded = isLeftHanded(model_.editedSettings);
    leftHandedBox_->setChecked(leftHanded);
    currentSlot_ = leftHanded ? LeftSlot : RightSlot;
    firstRowLabel_->setText(leftHanded ? kLeftButton : kRightButton);
    rowButtons_[0]->setAccessibleDescription(firstRowLabel_->text());

    for (int row = 0; row < kRowCount; ++row) {
        const int slotIndex = row == 0 ? currentSlot_ : kRows[row].slot;
        // An action without a caption keeps whatever the button showed.
        if (auto caption = actionCaption(slot(slotIndex).action, keyCapture_))
            showCaption(slotIndex, QString::fromStdString(*caption));
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

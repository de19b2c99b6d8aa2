#include "demo/VirtualMousePanel.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "device/Protocol.h"
#include "model/Rules.h"
#include "settings/SettingsBlock.h"
#include "sim/VirtualMouse.h"

namespace lark {

namespace {

// 1000 -> 2000 -> 4000 -> 8000 -> 1000 Hz, as report intervals in 125 us units.
std::uint8_t nextPollingInterval(std::uint8_t interval)
{
    switch (interval) {
    case 8:
        return 4;
    case 4:
        return 2;
    case 2:
        return 1;
    default:
        return 8;
    }
}

}  // namespace

VirtualMousePanel::VirtualMousePanel(VirtualMouse& mouse, QWidget* parent) : QWidget(parent), mouse_(mouse)
{
    setWindowTitle(QStringLiteral("Virtual mouse"));
    auto* layout = new QVBoxLayout(this);
    state_ = new QLabel(this);
    state_->setAccessibleDescription(QStringLiteral("Virtual mouse state"));
    unplugButton_ = new QPushButton(QStringLiteral("Unplug"), this);
    plugButton_ = new QPushButton(QStringLiteral("Plug"), this);
    pollingButton_ = new QPushButton(QStringLiteral("Polling rate button"), this);
    layout->addWidget(state_);
    for (QPushButton* button : {unplugButton_, plugButton_, pollingButton_}) {
        button->setAccessibleName(button->text());
        layout->addWidget(button);
    }
    connect(unplugButton_, &QPushButton::clicked, this, &VirtualMousePanel::unplug);
    connect(plugButton_, &QPushButton::clicked, this, &VirtualMousePanel::plug);
    connect(pollingButton_, &QPushButton::clicked, this, &VirtualMousePanel::pressPollingRateButton);
    showState();
}

void VirtualMousePanel::unplug()
{
    mouse_.unplug();
    showState();
}

void VirtualMousePanel::plug()
{
    mouse_.plug();
    showState();
}

void VirtualMousePanel::pressPollingRateButton()
{
    if (!mouse_.isPlugged())
        return;
    // Through the codec, so bytes it does not know stay as the mouse holds them.
    SettingsBlock block = mouse_.storedBlock();
    MouseSettings settings;
    decodeSettings(block, settings);
    const std::uint8_t next = nextPollingInterval(settings.pollingInterval);
    applyPollingRateEvent(settings, next);  // the mouse keeps what it announces
    encodeSettings(settings, block);
    mouse_.setStoredBlock(block);
    mouse_.pushEvent(kEventPollingRateChanged, next);
    showState();
}

void VirtualMousePanel::showState()
{
    const bool plugged = mouse_.isPlugged();
    MouseSettings settings;
    decodeSettings(mouse_.storedBlock(), settings);
    const std::optional<std::uint32_t> hz = pollingHz(settings.pollingInterval);
    const QString text = !plugged ? QStringLiteral("Unplugged")
                         : hz     ? QStringLiteral("Plugged in, %1 Hz").arg(*hz)
                                  : QStringLiteral("Plugged in");
    state_->setText(text);
    state_->setAccessibleName(text);
    unplugButton_->setEnabled(plugged);
    plugButton_->setEnabled(!plugged);
    pollingButton_->setEnabled(plugged);
}

}  // namespace lark

#include "pages/mapping/FixedCpiDialog.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>

#include "widgets/ControlHelp.h"
#include "widgets/CpiPair.h"
#include "widgets/CpiPairGroup.h"
#include "widgets/DialogUnits.h"
#include "widgets/InputHelpers.h"

namespace lark {

namespace {

// Whatever the slot held before, the dialog starts from this value on both axes, linked.
constexpr std::uint32_t kOpeningCpi = 400;

}  // namespace

FixedCpiDialog::FixedCpiDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("FIXED CPI"));
    setFont(DialogUnits::dialogFont());
    const DialogUnits du;
    setFixedSize(du.size(397, 137));

    separateBox_ = new QCheckBox(tr("X/Y Settings"), this);
    separateBox_->setAccessibleName(separateBox_->text());
    du.place(separateBox_, 10, 10, 80, 10);
    setHelp(separateBox_, Help::FixedSeparateAxes);

    group_ = new CpiPairGroup(this, separateBox_);
    pair_ = group_->addPair(QString(), kOpeningCpi);

    struct AxisRow {
        CpiAxis axis;
        const char* label;
        int y;
    };
    for (const AxisRow& row :
         {AxisRow{CpiAxis::X, QT_TR_NOOP("X:"), 36}, AxisRow{CpiAxis::Y, QT_TR_NOOP("Y:"), 66}}) {
        auto* label = new QLabel(tr(row.label), this);
        du.place(label, 10, row.y + 2, 14, 10);
        du.place(pair_->slider(row.axis), 28, row.y, 300, 15);
        du.place(pair_->edit(row.axis), 334, row.y + 1, 50, 13);
        label->setBuddy(pair_->slider(row.axis));
        const Help help = row.axis == CpiAxis::X ? Help::FixedCpiX : Help::FixedCpiY;
        setHelp(pair_->slider(row.axis), help);
        setHelp(pair_->edit(row.axis), help);
    }

    auto* ok = new QPushButton(tr("OK"), this);
    ok->setAccessibleName(ok->text());
    // Enter only commits the focused edit; it never presses OK.
    ok->setAutoDefault(false);
    ok->setDefault(false);
    du.place(ok, 334, 114, 50, 14);
    setHelp(ok, Help::FixedOk);
    shareHelpWithBuddyLabels(this);
    connect(ok, &QPushButton::clicked, this, &FixedCpiDialog::onOk);
}

void FixedCpiDialog::onOk()
{
    // A read that stops at text without a number keeps the dialog open, the focus in that edit.
    if (!group_->readEdits())
        return;
    x_ = pair_->value(CpiAxis::X);
    y_ = pair_->value(CpiAxis::Y);
    accept();
}

void FixedCpiDialog::keyPressEvent(QKeyEvent* event)
{
    if (!swallowKey(event, SwallowedKeys::Enter))
        QDialog::keyPressEvent(event);  // Escape cancels
}

}  // namespace lark

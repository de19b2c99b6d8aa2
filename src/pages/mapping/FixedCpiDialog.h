#pragma once

#include <QDialog>

#include <cstdint>

class QCheckBox;

namespace lark {

class CpiPair;
class CpiPairGroup;

// Modal dialog that picks one X and one Y resolution with a CPI pair. It always opens at
// 400 / 400 with the axes linked; OK reads the two edits and ends with the values.
class FixedCpiDialog : public QDialog {
    Q_OBJECT

public:
    explicit FixedCpiDialog(QWidget* parent = nullptr);

    // The values handed back by OK (400 / 400 until then).
    std::uint32_t xValue() const { return x_; }
    std::uint32_t yValue() const { return y_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void onOk();

    QCheckBox* separateBox_;
    CpiPairGroup* group_;
    CpiPair* pair_;
    std::uint32_t x_ = 400;
    std::uint32_t y_ = 400;
};

}  // namespace lark

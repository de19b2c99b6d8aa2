#pragma once

namespace lark {

// Makes assistive technology toggle our check boxes the way a click does. Qt's own interface
// toggles the state without a click, so pages that store a setting on click would show a value
// they never stored. Call once, after the QApplication exists; later calls do nothing.
void installAccessibleCheckBoxes();

}  // namespace lark

#pragma once

#include <QString>

class QWidget;

namespace lark {

// The program's name, as window title and as the caption of its message boxes.
inline const QString kProgramName = QStringLiteral("Tarrow Lark 8k Configuration Tool");

// Modal warning: exclamation icon, one OK button, the program's name as caption.
void showWarning(QWidget* parent, const QString& text);

}  // namespace lark

#pragma once

#include <QString>

class QWidget;

namespace lark {

// The program's name, in English: its application name (paths, the desktop entry).
inline const QString kProgramName = QStringLiteral("Tarrow Lark 8k Configuration Tool");

// The program's name in the window's language: window title and caption of its message boxes.
QString programTitle();

// Modal warning: exclamation icon, one OK button, the program's name as caption.
void showWarning(QWidget* parent, const QString& text);

}  // namespace lark

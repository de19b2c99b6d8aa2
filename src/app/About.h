#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

namespace lark {

// The tool's version as the window shows it: "V1.06".
QString softwareVersionText();

// When the arguments ask for it (--version), prints "lark-config 1.06" and gives the exit code:
// 1 when standard output could not take it. The program then ends before it opens a window,
// looks for another copy or for a mouse.
std::optional<int> printVersionIfAsked(int argc, char* argv[]);

// Name, version, licence and the project's page, with one OK button.
void showAbout(QWidget* parent);

}  // namespace lark

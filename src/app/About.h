#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace lark {

// The tool's version as the window shows it: "V1.06".
QString softwareVersionText();

// Name, version, licence and the project's page, with one OK button.
void showAbout(QWidget* parent);

}  // namespace lark

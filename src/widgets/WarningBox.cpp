#include "widgets/WarningBox.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace lark {

QString programTitle()
{
    return QCoreApplication::translate("Program", "Tarrow Lark 8k Configuration Tool");
}

void showWarning(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::Warning, programTitle(), text, QMessageBox::Ok, parent);
    box.exec();
}

}  // namespace lark

#include "widgets/WarningBox.h"

#include <QMessageBox>

namespace lark {

void showWarning(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::Warning, kProgramName, text, QMessageBox::Ok, parent);
    box.exec();
}

}  // namespace lark

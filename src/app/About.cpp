#include "app/About.h"

#include <QCoreApplication>
#include <QMessageBox>

#include "widgets/WarningBox.h"

namespace lark {

namespace {

#ifndef LARK_VERSION
#error "LARK_VERSION names the project's version"
#endif

// From the project's version in CMake, so the window, --version and the packages agree.
const QString kProjectUrl = QStringLiteral(LARK_PROJECT_URL);

}  // namespace

QString softwareVersionText()
{
    return QStringLiteral("V" LARK_VERSION);
}

void showAbout(QWidget* parent)
{
    QMessageBox box(QMessageBox::Information,
                    QCoreApplication::translate("About", "About %1").arg(programTitle()), QString(),
                    QMessageBox::Ok, parent);
    box.setTextFormat(Qt::RichText);
    box.setText(QStringLiteral("<p><b>%1</b><br>%2</p>")
                    .arg(programTitle().toHtmlEscaped(),
                         QCoreApplication::translate("About", "Version %1").arg(softwareVersionText())));
    box.setInformativeText(
        QStringLiteral("<p>%1</p><p>%2</p><p><a href=\"%3\">%3</a></p>")
            .arg(QCoreApplication::translate(
                     "About",
                     "Sets up the Tarrow Lark 8k gaming mouse: CPI levels, polling rate, click filters and "
                     "what each button does. The settings are kept in the mouse.")
                     .toHtmlEscaped(),
                 QCoreApplication::translate(
                     "About",
                     "Free software under the MIT licence. Copyright © 2026 the lark-config developers.")
                     .toHtmlEscaped(),
                 kProjectUrl));
    box.setTextInteractionFlags(Qt::TextBrowserInteraction);
    box.exec();
}

}  // namespace lark

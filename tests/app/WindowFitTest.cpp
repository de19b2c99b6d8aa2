// The window as it looks on the screen it is given, in English and in every language it ships:
// it fits the screen, where the screen has room it keeps its layout, at its smallest every
// control (and the mapping page's dialogs) shows its whole text, and tooltips wrap at a readable
// width; F1 tells the version and licence. ctest runs it on three screens: 96 dpi, 1366x768 at
// 120 dpi and 1920x1080 at 200 %.

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHelpEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QTabBar>
#include <QTest>
#include <QToolTip>
#include <QTranslator>

#include <vector>

#include "WindowRig.h"
#include "pages/mapping/FixedCpiDialog.h"
#include "pages/mapping/KeyCaptureDialog.h"
#include "support/ModalHelpers.h"
#include "widgets/DialogUnits.h"
#include "widgets/Translation.h"

namespace lark::test {
namespace {

// The window's language for one case: the translations installed as the program installs them,
// removed again when the case ends.
class Language {
public:
    explicit Language(const QString& name)
    {
        if (name != QStringLiteral("en"))
            QVERIFY2(installTranslations(QLocale(name)), qPrintable(name));
    }
    ~Language()
    {
        for (QTranslator* translator : QCoreApplication::instance()->findChildren<QTranslator*>()) {
            QCoreApplication::removeTranslator(translator);
            delete translator;
        }
    }
    Language(const Language&) = delete;
    Language& operator=(const Language&) = delete;
};

QString describe(const QWidget* widget, const QString& text)
{
    return QStringLiteral("%1 \"%2\" (%3x%4)")
        .arg(QString::fromLatin1(widget->metaObject()->className()), text)
        .arg(widget->width())
        .arg(widget->height());
}

// Whether `text` in `widget`'s font fits `room`, wrapped at its width when `wrap`.
bool fits(const QWidget* widget, const QString& text, const QRect& room, bool wrap = false)
{
    const QRect needed = widget->fontMetrics().boundingRect(QRect(0, 0, wrap ? room.width() : 100000, 100000),
                                                            wrap ? Qt::TextWordWrap : 0, text);
    return needed.width() <= room.width() && needed.height() <= room.height();
}

// The texts of the controls under `root` that are cut off, each described.
QStringList textsCutOff(QWidget* root)
{
    QStringList cut;
    auto check = [&cut](const QWidget* widget, const QString& text, const QRect& room, bool wrap = false) {
        if (!text.isEmpty() && !fits(widget, text, room, wrap))
            cut << describe(widget, text);
    };
    for (QWidget* widget : root->findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(root))
            continue;
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            if (label->textFormat() != Qt::RichText)
                check(label, label->text(), label->contentsRect(), label->wordWrap());
        } else if (qobject_cast<QCheckBox*>(widget) || qobject_cast<QRadioButton*>(widget)) {
            // The text right of the box or circle.
            auto* box = static_cast<QAbstractButton*>(widget);
            QStyleOptionButton option;
            option.initFrom(box);
            option.text = box->text();
            const QStyle::SubElement contents =
                qobject_cast<QCheckBox*>(box) ? QStyle::SE_CheckBoxContents : QStyle::SE_RadioButtonContents;
            check(box, box->text(), box->style()->subElementRect(contents, &option, box));
        } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
            const int frame = button->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button);
            check(button, button->text(), button->rect().adjusted(frame, frame, -frame, -frame));
        } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
            // The title sits in the frame's top line, indented by the style.
            const int indent = group->style()->pixelMetric(QStyle::PM_LayoutLeftMargin, nullptr, group);
            check(group, group->title(), group->rect().adjusted(indent, 0, -indent, 0));
        } else if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            QStyleOptionComboBox option;
            option.initFrom(combo);
            option.editable = combo->isEditable();
            option.frame = combo->hasFrame();
            const QRect field = combo->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                               QStyle::SC_ComboBoxEditField, combo);
            for (int i = 0; i < combo->count(); ++i)
                check(combo, combo->itemText(i), field);
        } else if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
            if (edit->parentWidget() && qobject_cast<QComboBox*>(edit->parentWidget()))
                continue;  // the combo box's items are checked against its field
            check(edit, edit->text(), edit->contentsRect());
        } else if (auto* tabs = qobject_cast<QTabBar*>(widget)) {
            // Every tab whole, without scroll arrows.
            if (tabs->sizeHint().width() > tabs->parentWidget()->width())
                cut << describe(tabs, QStringLiteral("(tabs)"));
        }
    }
    return cut;
}

// The screen ctest promised in LARK_SCREEN ("960x540"), as Qt sees it after scaling.
QSize promisedScreen()
{
    const QStringList size = qEnvironmentVariable("LARK_SCREEN").split(QLatin1Char('x'));
    return size.size() == 2 ? QSize(size[0].toInt(), size[1].toInt()) : QSize();
}

class WindowFitTest : public QObject {
    Q_OBJECT

private slots:
    void fitsTheScreenAndShowsEveryText_data()
    {
        QTest::addColumn<QString>("language");
        QTest::newRow("en") << QStringLiteral("en");
        for (const QString& language : shippedLanguages())
            QTest::newRow(qPrintable(language)) << language;
    }

    void fitsTheScreenAndShowsEveryText()
    {
        QFETCH(QString, language);
        Language chosen(language);
        WindowRig rig;
        rig.start();
        MainWindow& window = *rig.window;
        window.centerOnScreen();
        QCoreApplication::processEvents();
        const QRect room = window.screen()->availableGeometry();
        if (const QSize promised = promisedScreen(); promised.isValid())
            QCOMPARE(window.screen()->geometry().size(), promised);

        // On the screen, whole; with room to spare, exactly the layout and nothing scrolls.
        QVERIFY2(room.contains(window.frameGeometry()), qPrintable(QStringLiteral("%1x%2 on %3x%4")
                                                                       .arg(window.frameGeometry().width())
                                                                       .arg(window.frameGeometry().height())
                                                                       .arg(room.width())
                                                                       .arg(room.height())));
        const QSize layout = DialogUnits().size(445, 437);
        const int frame = window.frameGeometry().height() - window.height();
        if (layout.height() + frame + 2 * window.style()->pixelMetric(QStyle::PM_TitleBarHeight) <=
            room.height()) {
            QCOMPARE(window.size(), layout);
            for (int page = 0; page < window.tabs()->count(); ++page) {
                window.tabs()->setCurrentIndex(page);
                QCoreApplication::processEvents();
                auto* area = qobject_cast<QScrollArea*>(window.tabs()->widget(page));
                QVERIFY(area);
                QVERIFY(!area->verticalScrollBar()->isVisible());
                QVERIFY(!area->horizontalScrollBar()->isVisible());
            }
        }

        // At its smallest, every text whole on every page and in both dialogs of the mappings.
        window.resize(window.minimumSize());
        QCoreApplication::processEvents();
        QStringList cut;
        for (int page = 0; page < window.tabs()->count(); ++page) {
            window.tabs()->setCurrentIndex(page);
            QCoreApplication::processEvents();
            cut << textsCutOff(&window);
        }
        // Every outcome the status line may say, in the line's room.
        for (int m = 0; m <= static_cast<int>(StatusMessage::ProfileSaved); ++m) {
            const QString text = MainWindow::statusText(static_cast<StatusMessage>(m));
            if (!fits(window.statusLabel(), text, window.statusLabel()->contentsRect(), true))
                cut << describe(window.statusLabel(), text);
        }
        KeyCaptureState capture;
        KeyCaptureDialog keyDialog(capture, &window);
        keyDialog.show();
        QCoreApplication::processEvents();
        cut << textsCutOff(&keyDialog);
        keyDialog.hide();
        FixedCpiDialog cpiDialog(&window);
        cpiDialog.show();
        QCoreApplication::processEvents();
        cut << textsCutOff(&cpiDialog);
        cpiDialog.hide();
        cut.removeDuplicates();
        QVERIFY2(cut.isEmpty(), qPrintable(cut.join(QStringLiteral("\n"))));
    }

    void tooltipsWrapAtAReadableWidth_data() { fitsTheScreenAndShowsEveryText_data(); }
    void tooltipsWrapAtAReadableWidth()
    {
        QFETCH(QString, language);
        Language chosen(language);
        WindowRig rig;
        rig.start();
        MainWindow& window = *rig.window;
        QStringList tooWide;
        for (int page = 0; page < window.tabs()->count(); ++page) {
            window.tabs()->setCurrentIndex(page);
            QCoreApplication::processEvents();
            for (QWidget* widget : window.findChildren<QWidget*>()) {
                if (!widget->isVisibleTo(&window) || widget->toolTip().isEmpty())
                    continue;
                const QPoint at = widget->rect().center();
                QHelpEvent help(QEvent::ToolTip, at, widget->mapToGlobal(at));
                QApplication::sendEvent(widget, &help);
                QWidget* tip = nullptr;
                for (QWidget* top : QApplication::topLevelWidgets())
                    if (top->inherits("QTipLabel") && top->isVisible())
                        tip = top;
                QVERIFY2(tip, qPrintable(widget->toolTip()));
                // About 80 characters a line at most, as a paragraph of a book.
                if (tip->width() >
                    80 * tip->fontMetrics().averageCharWidth() + 2 * tip->contentsMargins().left())
                    tooWide << QStringLiteral("%1 px: %2").arg(tip->width()).arg(widget->toolTip());
                QToolTip::hideText();
            }
        }
        QVERIFY2(tooWide.isEmpty(), qPrintable(tooWide.join(QLatin1Char('\n'))));
    }

    // F1: name, version, licence and the project's page, and one OK.
    void aboutTellsVersionLicenceAndWhereTheProjectIs()
    {
        WindowRig rig;
        rig.start();
        QString text;
        QString more;
        QList<QAbstractButton*> buttons;
        auto answered = whenModalShows([&](QWidget* modal) {
            auto* box = qobject_cast<QMessageBox*>(modal);
            QVERIFY(box);
            text = box->text();
            more = box->informativeText();
            buttons = box->buttons();
            QCOMPARE(box->standardButtons(), QMessageBox::StandardButtons(QMessageBox::Ok));
            box->accept();
        });
        QTest::keyClick(rig.window.get(), Qt::Key_F1);
        QTRY_VERIFY(*answered);
        QVERIFY2(text.contains(QStringLiteral("Version V") + QStringLiteral(LARK_VERSION)), qPrintable(text));
        QVERIFY2(more.contains(QStringLiteral("MIT")), qPrintable(more));
        QVERIFY2(more.contains(QStringLiteral("<a href=\"https://")), qPrintable(more));
        QCOMPARE(buttons.size(), 1);
    }
};

}  // namespace
}  // namespace lark::test

QTEST_MAIN(lark::test::WindowFitTest)
#include "WindowFitTest.moc"

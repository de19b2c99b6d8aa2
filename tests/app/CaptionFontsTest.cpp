#include <QAbstractButton>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTabBar>
#include <QTest>

#include "WindowRig.h"

using namespace lark;
using namespace lark::test;

namespace {

struct Caption {
    QWidget* widget;  // whose font draws the text
    QString text;
};

// Every text the window and its pages draw: title, labels, buttons, group titles, tabs, list
// entries, edit values and the entries of the action menus.
std::vector<Caption> captionsOf(QWidget* window)
{
    std::vector<Caption> out{{window, window->windowTitle()}};
    for (auto* w : window->findChildren<QLabel*>())
        out.push_back({w, w->text()});
    for (auto* w : window->findChildren<QAbstractButton*>())
        out.push_back({w, w->text()});
    for (auto* w : window->findChildren<QGroupBox*>())
        out.push_back({w, w->title()});
    for (auto* w : window->findChildren<QTabBar*>())
        for (int i = 0; i < w->count(); ++i)
            out.push_back({w, w->tabText(i)});
    for (auto* w : window->findChildren<QComboBox*>())
        for (int i = 0; i < w->count(); ++i)
            out.push_back({w, w->itemText(i)});
    for (auto* w : window->findChildren<QLineEdit*>())
        out.push_back({w, w->text()});
    for (auto* w : window->findChildren<QMenu*>()) {
        out.push_back({w, w->title()});
        for (QAction* action : w->actions())
            out.push_back({w, action->text()});
    }
    return out;
}

// The characters of the captions that neither the widget's font nor any fallback font can draw:
// on screen they come out as empty boxes.
QStringList missingGlyphs(const std::vector<Caption>& captions)
{
    QStringList missing;
    for (const Caption& caption : captions) {
        const QFontMetrics metrics(caption.widget->font());
        for (char32_t c : caption.text.toUcs4()) {
            if (QChar::isSpace(c) || QChar::category(c) == QChar::Other_Control)
                continue;
            if (!metrics.inFontUcs4(c))
                missing << QStringLiteral("U+%1 in \"%2\" (%3)")
                               .arg(static_cast<uint>(c), 4, 16, QLatin1Char('0'))
                               .arg(caption.text,
                                    QString::fromLatin1(caption.widget->metaObject()->className()));
        }
    }
    return missing;
}

}  // namespace

class CaptionFontsTest : public QObject {
    Q_OBJECT

private slots:
    // Guards the check itself: a character that no font has must be reported, or a pass below
    // would mean nothing.
    void aCharacterNoFontHasIsReported()
    {
        QWidget widget;
        const QString text = QStringLiteral("A") + QString::fromUcs4(U"\U0010FFFD");
        const QStringList missing = missingGlyphs({{&widget, text}});
        QCOMPARE(missing.size(), 1);
        QVERIFY2(missing.front().startsWith(QStringLiteral("U+10fffd")), qPrintable(missing.front()));
    }

    void everyCaptionOfTheWindowHasItsGlyphs()
    {
        WindowRig rig;
        rig.start();
        const auto captions = captionsOf(rig.window.get());
        // The pages and the action menu are there, not just the frame.
        QVERIFY2(captions.size() > 50, qPrintable(QString::number(captions.size())));
        QVERIFY(std::any_of(captions.begin(), captions.end(),
                            [](const Caption& c) { return c.text.contains(QChar(0xFF1A)); }));
        const QStringList missing = missingGlyphs(captions);
        QVERIFY2(missing.isEmpty(),
                 qPrintable(QStringLiteral("no installed font draws:\n") + missing.join(QLatin1Char('\n'))));
    }
};

QTEST_MAIN(CaptionFontsTest)
#include "CaptionFontsTest.moc"

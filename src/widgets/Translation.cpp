#include "widgets/Translation.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <array>

#include "model/Actions.h"
#include "model/Cpi.h"

namespace lark {

namespace {

// The contexts of model/Words.h.
constexpr const char* kVocabulary = "Vocabulary";
constexpr const char* kActions = "Actions";
constexpr const char* kKeys = "Keys";

QString translated(const char* context, std::string_view english)
{
    const std::string text(english);
    return QCoreApplication::translate(context, text.c_str());
}

bool isNamedAction(std::string_view caption)
{
    for (const NamedAction& named : namedActions())
        if (caption == named.caption)
            return true;
    return false;
}

// The caption's modifiers, as modifierPrefix writes them, and their words in the window.
struct Modifier {
    std::string_view prefix;
    const char* name;
};
constexpr std::array kModifiers{
    Modifier{"Shift+", QT_TRANSLATE_NOOP("Keys", "Shift")},
    Modifier{"Ctrl+", QT_TRANSLATE_NOOP("Keys", "Ctrl")},
    Modifier{"Win+", QT_TRANSLATE_NOOP("Keys", "Win")},
    Modifier{"Alt+", QT_TRANSLATE_NOOP("Keys", "Alt")},
};

bool startsWith(std::string_view text, std::string_view prefix)
{
    return text.substr(0, prefix.size()) == prefix;
}

QString keyWords(std::string_view name)
{
    constexpr std::string_view unknown = "Key 0x";
    if (name.substr(0, unknown.size()) == unknown)
        return QCoreApplication::translate("Keys", "Key %1")
            .arg(QStringLiteral("0x") + QString::fromUtf8(name.substr(unknown.size())));
    return translated(kKeys, name);
}

}  // namespace

QString vocabularyWords(std::string_view english)
{
    return translated(kVocabulary, english);
}

QString captionWords(std::string_view english)
{
    if (english.empty())
        return {};
    if (isNamedAction(english))
        return translated(kActions, english);
    // Fixed CPI: "CPI: 800" or "X: 800, Y: 1600".
    if (startsWith(english, "CPI: "))
        return QCoreApplication::translate("Actions", "CPI: %1").arg(QString::fromUtf8(english.substr(5)));
    if (startsWith(english, "X: ")) {
        const std::size_t comma = english.find(", Y: ");
        if (comma != std::string_view::npos)
            return QCoreApplication::translate("Actions", "X: %1, Y: %2")
                .arg(QString::fromUtf8(english.substr(3, comma - 3)),
                     QString::fromUtf8(english.substr(comma + 5)));
    }
    // A key with its modifiers: each modifier's word, then the key's name (which may itself be
    // "+", or empty when only modifiers were chosen).
    QString words;
    std::string_view rest = english;
    for (bool found = true; found;) {
        found = false;
        for (const Modifier& modifier : kModifiers) {
            if (startsWith(rest, modifier.prefix)) {
                words += QCoreApplication::translate(kKeys, modifier.name) + QLatin1Char('+');
                rest.remove_prefix(modifier.prefix.size());
                found = true;
            }
        }
    }
    if (!rest.empty())
        words += keyWords(rest);
    return words;
}

QString cpiRangeWords()
{
    return QCoreApplication::translate("Vocabulary", "%1 to %2 in steps of %3")
        .arg(kCpiMin)
        .arg(kCpiMax)
        .arg(kCpiStep);
}

QStringList shippedLanguages()
{
    return {QStringLiteral("de"), QStringLiteral("zh_CN")};
}

bool installTranslations(const QLocale& locale)
{
    auto* qt = new QTranslator(QCoreApplication::instance());
    if (qt->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(qt);
    else
        delete qt;

    // Installed beside the program's share folder, or built into it.
    auto* ours = new QTranslator(QCoreApplication::instance());
    const QString installed = QDir(QCoreApplication::applicationDirPath())
                                  .filePath(QStringLiteral("../share/lark-config/translations"));
    for (const QString& directory : {installed, QStringLiteral(":/i18n")}) {
        if (ours->load(locale, QStringLiteral("lark-config"), QStringLiteral("_"), directory)) {
            QCoreApplication::installTranslator(ours);
            return true;
        }
    }
    delete ours;
    return false;
}

}  // namespace lark

#pragma once

#include <QString>

#include <string>
#include <string_view>

class QLocale;

namespace lark {

// The model's texts (marked with LARK_WORDS in model/) in the window's language. The model and
// larkctl keep the English; only the window translates.
QString vocabularyWords(std::string_view english);

// A button action's caption as the model writes it ("VOLUME UP", "Ctrl+Left Shift",
// "CPI: 800", "X: 800, Y: 1600") in the window's language: named actions and key names are
// translated one by one, numbers stay. The model's captions stay the keys of its tables.
QString captionWords(std::string_view english);

// "50 to 26000 in steps of 50", the range of a CPI value.
QString cpiRangeWords();

// Loads the window's translations (and Qt's own, for its standard buttons and file dialog) for
// `locale` and installs them in the application. English, the source language, needs none.
// False when the language has no translation of ours.
bool installTranslations(const QLocale& locale);

// The languages the window ships besides English, as locale names ("de", "zh_CN").
QStringList shippedLanguages();

}  // namespace lark

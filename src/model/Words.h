#pragma once

// Marks a text that the window shows in the user's language. The model keeps its English:
// larkctl prints it, and its words are an interface. The window translates the text with
// QCoreApplication::translate(context, text) (widgets/Translation.h); lupdate reads this macro
// as QT_TRANSLATE_NOOP (scripts/update-translations.sh tells it so), so the texts land in the
// .ts files without the model knowing Qt.
#define LARK_WORDS(context, text) text

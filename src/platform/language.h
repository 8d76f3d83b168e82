// Every user-visible text exists in Japanese (index 0) and English (index 1).
#pragma once

namespace qv {

enum LanguageIndex : int { kJapanese = 0, kEnglish = 1 };

// One text in both languages, UTF-8 in the source.
struct Text2 {
    const char* ja;
    const char* en;
    const char* operator()(int languageIndex) const { return languageIndex == kJapanese ? ja : en; }
};

} // namespace qv

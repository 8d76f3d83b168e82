#include "platform/win/ui_font.h"

#include "platform/app_title.h"

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <initializer_list>
#include <utility>

namespace qv {

namespace {

bool FaceInstalled(const wchar_t* face) {
    LOGFONTW lf{};
    lf.lfCharSet = DEFAULT_CHARSET;
    wcscpy_s(lf.lfFaceName, face);
    bool found = false;
    const HDC dc = GetDC(nullptr);
    EnumFontFamiliesExW(
        dc, &lf,
        [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM l) {
            *reinterpret_cast<bool*>(l) = true;
            return 0;
        },
        reinterpret_cast<LPARAM>(&found), 0);
    ReleaseDC(nullptr, dc);
    return found;
}

// Per language (the language index): its character set, pitch and the faces to try in order.
struct UiFace {
    BYTE charSet;
    BYTE pitchAndFamily;
    std::initializer_list<const wchar_t*> faces;
};
const UiFace kUiFaces[] = {
    {SHIFTJIS_CHARSET, DEFAULT_PITCH, {L"MS UI Gothic"}},
    {DEFAULT_CHARSET,
     FIXED_PITCH | FF_MODERN,
     {L"Consolas", L"Lucida Console", L"DejaVu Sans Mono", L"Courier New"}},
};

// The first installed face of a list (a lone face is taken as it is: the system substitutes).
const wchar_t* FirstInstalled(std::initializer_list<const wchar_t*> faces) {
    if (faces.size() == 1)
        return *faces.begin();
    for (const wchar_t* face : faces) {
        if (FaceInstalled(face))
            return face;
    }
    return L"";
}

const wchar_t* UiFace(int lang) {
    static const wchar_t* const faces[] = {FirstInstalled(kUiFaces[0].faces),
                                           FirstInstalled(kUiFaces[1].faces)};
    return faces[lang];
}

} // namespace

HFONT CreateUiFont(int languageIndex, UINT dpi) {
    const int lang = std::clamp(languageIndex, 0, 1);
    LOGFONTW lf{};
    lf.lfHeight = MulDiv(12, static_cast<int>(dpi), 96);
    if (lang == 1 && dpi % 96 == 0) {
        lf.lfCharSet = OEM_CHARSET;
        lf.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
        wcscpy_s(lf.lfFaceName, kKt1Face);
        return CreateFontIndirectW(&lf);
    }
    lf.lfCharSet = kUiFaces[lang].charSet;
    lf.lfPitchAndFamily = kUiFaces[lang].pitchAndFamily;
    wcscpy_s(lf.lfFaceName, UiFace(lang));
    return CreateFontIndirectW(&lf);
}

HFONT ScaledFont(HFONT base, UINT fromDpi, UINT toDpi) {
    LOGFONTW lf{};
    GetObjectW(base, sizeof lf, &lf);
    // The English font switches between KT1 and its scalable stand-in with the DPI.
    const wchar_t* englishFallback = UiFace(1);
    if (std::wcscmp(lf.lfFaceName, kKt1Face) == 0 ||
        (*englishFallback && std::wcscmp(lf.lfFaceName, englishFallback) == 0))
        return CreateUiFont(1, toDpi);
    lf.lfHeight = MulDiv(lf.lfHeight, static_cast<int>(toDpi), static_cast<int>(fromDpi));
    lf.lfWidth = MulDiv(lf.lfWidth, static_cast<int>(toDpi), static_cast<int>(fromDpi));
    return CreateFontIndirectW(&lf);
}

PrivateFont::~PrivateFont() {
    if (h_)
        RemoveFontMemResourceEx(h_);
}

PrivateFont::PrivateFont(PrivateFont&& other) noexcept : h_(std::exchange(other.h_, nullptr)) {}

PrivateFont& PrivateFont::operator=(PrivateFont&& other) noexcept {
    if (this != &other) {
        PrivateFont gone(std::exchange(h_, std::exchange(other.h_, nullptr)));
    }
    return *this;
}

PrivateFont RegisterUiFont(HMODULE module, Ui& ui, const char* failureFormat) {
    const HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(kKt1Resource), kRtFont);
    const HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const DWORD size = found ? SizeofResource(module, found) : 0;
    void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data || size == 0)
        return {};
    DWORD fonts = 0;
    if (HANDLE h = AddFontMemResourceEx(data, size, nullptr, &fonts))
        return PrivateFont(h);
    char text[128];
    std::snprintf(text, sizeof text, failureFormat, "KT1");
    ui.Message(text, kAppTitle, MsgIcon::Error, MsgButtons::Ok, false);
    return {};
}

} // namespace qv

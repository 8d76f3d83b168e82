#include "platform/win/ui_font.h"

#include <algorithm>
#include <initializer_list>

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

} // namespace

HFONT CreateUiFont(int languageIndex, UINT dpi) {
    const int lang = std::clamp(languageIndex, 0, 1);
    static const wchar_t* const faces[] = {FirstInstalled(kUiFaces[0].faces),
                                           FirstInstalled(kUiFaces[1].faces)};
    LOGFONTW lf{};
    lf.lfHeight = MulDiv(12, static_cast<int>(dpi), 96);
    lf.lfCharSet = kUiFaces[lang].charSet;
    lf.lfPitchAndFamily = kUiFaces[lang].pitchAndFamily;
    wcscpy_s(lf.lfFaceName, faces[lang]);
    return CreateFontIndirectW(&lf);
}

HFONT ScaledFont(HFONT base, UINT fromDpi, UINT toDpi) {
    LOGFONTW lf{};
    GetObjectW(base, sizeof lf, &lf);
    lf.lfHeight = MulDiv(lf.lfHeight, static_cast<int>(toDpi), static_cast<int>(fromDpi));
    lf.lfWidth = MulDiv(lf.lfWidth, static_cast<int>(toDpi), static_cast<int>(fromDpi));
    return CreateFontIndirectW(&lf);
}

} // namespace qv

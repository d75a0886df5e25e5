#include "toolkit/gdiplus/font.h"

#include "toolkit/gdiplus/flat.h"
#include "toolkit/gdiplus/graphics.h"

namespace quorvane::toolkit::gdiplus {

using namespace Gdiplus;

namespace {

GpFontCollection* collection(Handle handle) { return as<GpFontCollection>(handle); }
GpFontFamily* family(Handle handle) { return as<GpFontFamily>(handle); }
GpFont* font(Handle handle) { return as<GpFont>(handle); }
GpStringFormat* format(Handle handle) { return as<GpStringFormat>(handle); }

constexpr int kDefaultGuiFont = 17;
constexpr int kLogfontSize = sizeof(LOGFONTA);
static_assert(sizeof(LOGFONTA) == 60);

}  // namespace

// Collections.

int FontCollection::getFamilyCount() const {
    return value<INT>(flat::GdipGetFontCollectionFamilyCount, collection(classHandle_));
}

int FontCollection::getFamilies(int numSought, std::vector<std::unique_ptr<FontFamily>>& families) const {
    if (numSought <= 0) {
        rememberStatus(InvalidParameter);
        return 0;
    }
    std::vector<GpFontFamily*> found(static_cast<std::size_t>(numSought), nullptr);
    families.clear();
    for (int i = 0; i < numSought; ++i) families.push_back(std::make_unique<FontFamily>());
    INT numFound = 0;
    if (ok(flat::GdipGetFontCollectionFamilyList(collection(classHandle_), numSought, found.data(), &numFound))) {
        for (std::size_t i = 0; i < found.size(); ++i) families[i]->setNativeHandle(found[i]);
    }
    return numFound;
}

// Families.

bool FontFamily::deleteFontFamily() {
    return releaseAt(*this, classHandle_, [](Handle h) { return flat::GdipDeleteFontFamily(family(h)); });
}

bool FontFamily::createFromName(std::string_view name, const FontCollection* fonts) {
    const std::wstring wide = toWideText(name);
    return createAt<GpFontFamily>(*this, classHandle_, [&](GpFontFamily** made) {
        return flat::GdipCreateFontFamilyFromName(wide.c_str(), collection(handleOf(fonts)), made);
    });
}

bool FontFamily::createGenericSansSerif() {
    return createAt<GpFontFamily>(*this, classHandle_, flat::GdipGetGenericFontFamilySansSerif);
}
bool FontFamily::createGenericSerif() {
    return createAt<GpFontFamily>(*this, classHandle_, flat::GdipGetGenericFontFamilySerif);
}
bool FontFamily::createGenericMonospace() {
    return createAt<GpFontFamily>(*this, classHandle_, flat::GdipGetGenericFontFamilyMonospace);
}

bool FontFamily::clone(FontFamily& target) const {
    return cloneInto<GpFontFamily>(
        target, [&](GpFontFamily** made) { return flat::GdipCloneFontFamily(family(classHandle_), made); });
}

std::string FontFamily::getFamilyName() const {
    WCHAR name[32] = {};  // LF_FACESIZE units
    rememberStatus(flat::GdipGetFamilyName(family(classHandle_), name, 0));
    name[31] = L'\0';
    return fromWideText(name);
}

bool FontFamily::isStyleAvailable(int style) const {
    return flag(flat::GdipIsStyleAvailable, family(classHandle_), style);
}
int FontFamily::getEmHeight(int style) const {
    return value<UINT16>(flat::GdipGetEmHeight, family(classHandle_), style);
}
int FontFamily::getCellAscent(int style) const {
    return value<UINT16>(flat::GdipGetCellAscent, family(classHandle_), style);
}
int FontFamily::getCellDescent(int style) const {
    return value<UINT16>(flat::GdipGetCellDescent, family(classHandle_), style);
}
int FontFamily::getLineSpacing(int style) const {
    return value<UINT16>(flat::GdipGetLineSpacing, family(classHandle_), style);
}

// Fonts.

bool Font::deleteFont() {
    return releaseAt(*this, classHandle_, [](Handle h) { return flat::GdipDeleteFont(font(h)); });
}

bool Font::create(const FontFamily& from, float emSize, int style, int unit) {
    return createAt<GpFont>(*this, classHandle_, [&](GpFont** made) {
        return flat::GdipCreateFont(family(handleOf(from)), emSize, style, static_cast<GpUnit>(unit), made);
    });
}

bool Font::createDefault() {
    auto* logfont = static_cast<LOGFONTA*>(gdipAlloc(kLogfontSize));
    if (!logfont) return false;
    if (!GetObjectA(GetStockObject(kDefaultGuiFont), kLogfontSize, logfont)) {
        gdipFree(logfont);
        return false;
    }
    HDC screen = GetDC(nullptr);
    const bool made = createAt<GpFont>(
        *this, classHandle_, [&](GpFont** into) { return flat::GdipCreateFontFromLogfontA(screen, logfont, into); });
    ReleaseDC(nullptr, screen);
    gdipFree(logfont);
    return made;
}

bool Font::createFromFamilyName(std::string_view familyName, float emSize, int style, int unit) {
    FontFamily named;
    {
        const FontCollection installed;
        named.createFromName(familyName, &installed);
    }
    const bool made = create(named, emSize, style, unit);
    named.deleteFontFamily();
    return made;
}

bool Font::createFromHdc(HDC hdc) {
    return createAt<GpFont>(*this, classHandle_, [&](GpFont** made) { return flat::GdipCreateFontFromDC(hdc, made); });
}

bool Font::createFromHdcAndHfont(HDC hdc, HFONT hfont) {
    if (!hfont) return createFromHdc(hdc);
    auto* logfont = static_cast<LOGFONTA*>(gdipAlloc(kLogfontSize));
    const bool described = logfont && GetObjectA(hfont, kLogfontSize, logfont);
    const bool made = createAt<GpFont>(*this, classHandle_, [&](GpFont** into) {
        return described ? flat::GdipCreateFontFromLogfontA(hdc, logfont, into) : flat::GdipCreateFontFromDC(hdc, into);
    });
    gdipFree(logfont);
    return made;
}

bool Font::createFromHdcAndLogfont(HDC hdc, const LOGFONTA* logfont) {
    if (!logfont) return createFromHdc(hdc);
    return createAt<GpFont>(*this, classHandle_, [&](GpFont** made) {
        return flat::GdipCreateFontFromLogfontA(hdc, const_cast<LOGFONTA*>(logfont), made);
    });
}

bool Font::clone(Font& target) const {
    return cloneInto<GpFont>(target, [&](GpFont** made) { return flat::GdipCloneFont(font(classHandle_), made); });
}

bool Font::getFamily(FontFamily& target) const {
    return cloneInto<GpFontFamily>(target,
                                   [&](GpFontFamily** made) { return flat::GdipGetFamily(font(classHandle_), made); });
}

int Font::getStyle() const { return value<INT>(flat::GdipGetFontStyle, font(classHandle_)); }
float Font::getSize() const { return value<REAL>(flat::GdipGetFontSize, font(classHandle_)); }
int Font::getUnit() const { return value<Unit>(flat::GdipGetFontUnit, font(classHandle_)); }
float Font::getHeight(const Graphics* graphics) const {
    return value<REAL>(flat::GdipGetFontHeight, font(classHandle_), as<GpGraphics>(handleOf(graphics)));
}
float Font::getHeightGivenDpi(float dpi) const {
    return value<REAL>(flat::GdipGetFontHeightGivenDPI, font(classHandle_), dpi);
}
bool Font::getLogFont(const Graphics& graphics, LOGFONTA& logfont) const {
    return ok(flat::GdipGetLogFontA(font(classHandle_), as<GpGraphics>(handleOf(graphics)), &logfont));
}

// String formats.

bool StringFormat::deleteStringFormat() {
    return releaseAt(*this, classHandle_, [](Handle h) { return flat::GdipDeleteStringFormat(format(h)); });
}

bool StringFormat::create(int formatFlags, LANGID language) {
    return createAt<GpStringFormat>(*this, classHandle_, [&](GpStringFormat** made) {
        return flat::GdipCreateStringFormat(formatFlags, language, made);
    });
}

bool StringFormat::createGenericDefault() {
    return createAt<GpStringFormat>(*this, classHandle_, flat::GdipStringFormatGetGenericDefault);
}
bool StringFormat::createGenericTypographic() {
    return createAt<GpStringFormat>(*this, classHandle_, flat::GdipStringFormatGetGenericTypographic);
}

bool StringFormat::clone(StringFormat& target) const {
    return cloneInto<GpStringFormat>(
        target, [&](GpStringFormat** made) { return flat::GdipCloneStringFormat(format(classHandle_), made); });
}

bool StringFormat::setFlags(int flags) { return ok(flat::GdipSetStringFormatFlags(format(classHandle_), flags)); }
int StringFormat::getFlags() const { return value<INT>(flat::GdipGetStringFormatFlags, format(classHandle_)); }
bool StringFormat::setAlignment(int alignment) {
    return ok(flat::GdipSetStringFormatAlign(format(classHandle_), static_cast<StringAlignment>(alignment)));
}
int StringFormat::getAlignment() const {
    return value<StringAlignment>(flat::GdipGetStringFormatAlign, format(classHandle_));
}
bool StringFormat::setLineAlignment(int alignment) {
    return ok(flat::GdipSetStringFormatLineAlign(format(classHandle_), static_cast<StringAlignment>(alignment)));
}
int StringFormat::getLineAlignment() const {
    return value<StringAlignment>(flat::GdipGetStringFormatLineAlign, format(classHandle_));
}
bool StringFormat::setTrimming(int trimming) {
    return ok(flat::GdipSetStringFormatTrimming(format(classHandle_), static_cast<StringTrimming>(trimming)));
}
int StringFormat::getTrimming() const {
    return value<StringTrimming>(flat::GdipGetStringFormatTrimming, format(classHandle_));
}
bool StringFormat::setHotkeyPrefix(int prefix) {
    return ok(flat::GdipSetStringFormatHotkeyPrefix(format(classHandle_), prefix));
}
int StringFormat::getHotkeyPrefix() const {
    return value<INT>(flat::GdipGetStringFormatHotkeyPrefix, format(classHandle_));
}

bool StringFormat::setTabStops(float firstTabOffset, const std::vector<float>& tabStops) {
    return ok(
        flat::GdipSetStringFormatTabStops(format(classHandle_), firstTabOffset, countOf(tabStops), arrayOf(tabStops)));
}

int StringFormat::getTabStops(float& firstTabOffset, std::vector<float>& tabStops) const {
    return listGetter([&](INT* n) { return flat::GdipGetStringFormatTabStopCount(format(classHandle_), n); },
                      [&](INT n) {
                          tabStops.assign(static_cast<std::size_t>(n), 0);
                          rememberStatus(flat::GdipGetStringFormatTabStops(format(classHandle_), n, &firstTabOffset,
                                                                           arrayOf(tabStops)));
                      });
}

bool StringFormat::setDigitSubstitution(int substitute, LANGID language) {
    return ok(flat::GdipSetStringFormatDigitSubstitution(format(classHandle_), language,
                                                         static_cast<StringDigitSubstitute>(substitute)));
}

bool StringFormat::getDigitSubstitution(int& substitute, LANGID* language) const {
    StringDigitSubstitute got{};
    const bool done = ok(flat::GdipGetStringFormatDigitSubstitution(format(classHandle_), language, &got));
    substitute = got;
    return done;
}

bool StringFormat::setMeasurableCharacterRanges(const std::vector<CharacterRange>& ranges) {
    return ok(
        flat::GdipSetStringFormatMeasurableCharacterRanges(format(classHandle_), countOf(ranges), gpArray(ranges)));
}

int StringFormat::getMeasurableCharacterRangeCount() const {
    return value<INT>(flat::GdipGetStringFormatMeasurableCharacterRangeCount, format(classHandle_));
}

}  // namespace quorvane::toolkit::gdiplus

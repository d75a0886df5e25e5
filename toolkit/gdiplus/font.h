#pragma once
// Text: font collections, font families, fonts and string formats.
// Collections and families are not deleted when they end: their owners
// release families explicitly (FontFamily::deleteFontFamily).
#include "toolkit/gdiplus/gdi_object.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane::toolkit::gdiplus {

class FontFamily;
class Graphics;

// One that holds nothing stands for the installed fonts.
class FontCollection final : public GdiObject {
public:
    FontCollection() = default;

    int getFamilyCount() const;
    // `families` becomes numSought families, those beyond the number found
    // holding nothing; the result is the number found.
    int getFamilies(int numSought, std::vector<std::unique_ptr<FontFamily>>& families) const;

private:
    void syncClassHandle(Handle handle) override {
        classHandle_ = handle;
        syncLeafHandle(handle);
    }
    void syncLeafHandle(Handle) {}
    Handle classHandle_ = nullptr;
};

class FontFamily final : public GdiObject {
public:
    FontFamily() = default;

    bool deleteFontFamily();
    bool createFromName(std::string_view name, const FontCollection* collection = nullptr);
    bool createGenericSansSerif();
    bool createGenericSerif();
    bool createGenericMonospace();
    bool clone(FontFamily& target) const;
    std::string getFamilyName() const;
    bool isStyleAvailable(int style) const;
    int getEmHeight(int style) const;
    int getCellAscent(int style) const;
    int getCellDescent(int style) const;
    int getLineSpacing(int style) const;

private:
    void syncClassHandle(Handle handle) override { classHandle_ = handle; }
    Handle classHandle_ = nullptr;
};

class Font final : public GdiObject {
public:
    Font() = default;
    ~Font() override { deleteFont(); }

    bool deleteFont();
    bool create(const FontFamily& family, float emSize, int style = 0, int unit = 0);
    // The system's default interface font.
    bool createDefault();
    bool createFromFamilyName(std::string_view familyName, float emSize, int style = 0, int unit = 0);
    bool createFromHdc(HDC hdc);
    bool createFromHdcAndHfont(HDC hdc, HFONT hfont);
    bool createFromHdcAndLogfont(HDC hdc, const LOGFONTA* logfont);
    bool clone(Font& target) const;
    bool getFamily(FontFamily& target) const;
    int getStyle() const;
    float getSize() const;
    int getUnit() const;
    float getHeight(const Graphics* graphics = nullptr) const;
    float getHeightGivenDpi(float dpi) const;
    bool getLogFont(const Graphics& graphics, LOGFONTA& logfont) const;

private:
    void syncClassHandle(Handle handle) override { classHandle_ = handle; }
    Handle classHandle_ = nullptr;
};

class StringFormat final : public GdiObject {
public:
    StringFormat() = default;
    ~StringFormat() override { deleteStringFormat(); }

    bool deleteStringFormat();
    bool create(int formatFlags = 0, LANGID language = 0);
    bool createGenericDefault();
    bool createGenericTypographic();
    bool clone(StringFormat& target) const;
    bool setFlags(int flags);
    int getFlags() const;
    bool setAlignment(int alignment);
    int getAlignment() const;
    bool setLineAlignment(int alignment);
    int getLineAlignment() const;
    bool setTrimming(int trimming);
    int getTrimming() const;
    bool setHotkeyPrefix(int prefix);
    int getHotkeyPrefix() const;
    bool setTabStops(float firstTabOffset, const std::vector<float>& tabStops);
    int getTabStops(float& firstTabOffset, std::vector<float>& tabStops) const;
    bool setDigitSubstitution(int substitute, LANGID language = 0);
    bool getDigitSubstitution(int& substitute, LANGID* language = nullptr) const;
    bool setMeasurableCharacterRanges(const std::vector<CharacterRange>& ranges);
    int getMeasurableCharacterRangeCount() const;

private:
    void syncClassHandle(Handle handle) override { classHandle_ = handle; }
    Handle classHandle_ = nullptr;
};

}  // namespace quorvane::toolkit::gdiplus

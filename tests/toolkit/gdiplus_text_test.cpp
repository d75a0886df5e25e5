// Font collections, families, fonts and string formats over GDI+.
#include "gdiplus_fixture.h"
#include "toolkit/gdiplus/font.h"
#include "toolkit/gdiplus/graphics.h"

#include <functional>
#include <memory>

namespace quorvane::toolkit::gdiplus {
namespace {

namespace flat = Gdiplus::DllExports;

using TextTest = GdiplusTest;

TEST_F(TextTest, FamiliesAreFoundByNameInTheInstalledFonts) {
    FontFamily family;
    const FontCollection installed;
    ASSERT_TRUE(family.createFromName(kTestFamily, &installed));
    EXPECT_NE(family.getNativeHandle(), nullptr);
    // GDI+ may answer with the family's localised (GBK) name: it finds the family too.
    const std::string name = family.getFamilyName();
    FontFamily again;
    EXPECT_TRUE(again.createFromName(name)) << name;
    again.deleteFontFamily();
    EXPECT_TRUE(family.isStyleAvailable(Gdiplus::FontStyleRegular));
    EXPECT_GT(family.getEmHeight(0), 0);
    EXPECT_GT(family.getCellAscent(0), 0);
    EXPECT_GT(family.getLineSpacing(0), family.getCellDescent(0));
    FontFamily copy;
    ASSERT_TRUE(family.clone(copy));
    EXPECT_EQ(copy.getFamilyName(), name);
    EXPECT_TRUE(copy.deleteFontFamily());
    EXPECT_TRUE(family.deleteFontFamily());
    EXPECT_FALSE(family.deleteFontFamily());

    FontFamily missing;
    EXPECT_FALSE(missing.createFromName("No Such Family 9"));
    EXPECT_EQ(lastGdiStatus(), Gdiplus::FontFamilyNotFound);
    EXPECT_EQ(missing.getNativeHandle(), nullptr);
    EXPECT_EQ(missing.getFamilyName(), "");
    Font none;
    EXPECT_FALSE(none.create(missing, 12));

    // Wine may lack the fonts behind a generic family; either way the levels agree.
    FontFamily generic;
    EXPECT_EQ(generic.createGenericSansSerif(), generic.getNativeHandle() != nullptr);
    generic.deleteFontFamily();
}

TEST_F(TextTest, FontsTakeTheirSizeStyleAndUnit) {
    FontFamily family;
    ASSERT_TRUE(family.createFromName(kTestFamily));
    Font plain;
    ASSERT_TRUE(plain.create(family, 12));
    EXPECT_EQ(plain.getStyle(), Gdiplus::FontStyleRegular) << "omitted style";
    EXPECT_EQ(plain.getUnit(), Gdiplus::UnitWorld) << "omitted unit";
    Font pixels;
    ASSERT_TRUE(pixels.create(family, 12, Gdiplus::FontStyleBold, Gdiplus::UnitPixel));
    EXPECT_FLOAT_EQ(pixels.getSize(), 12);
    EXPECT_EQ(pixels.getUnit(), Gdiplus::UnitPixel);
    EXPECT_EQ(pixels.getStyle(), Gdiplus::FontStyleBold);
    EXPECT_GT(pixels.getHeightGivenDpi(96), 12);
    FontFamily ofFont;
    ASSERT_TRUE(pixels.getFamily(ofFont));
    EXPECT_EQ(ofFont.getFamilyName(), family.getFamilyName());
    ofFont.deleteFontFamily();
    Font copy;
    ASSERT_TRUE(pixels.clone(copy));
    EXPECT_FLOAT_EQ(copy.getSize(), 12);
    family.deleteFontFamily();

    Font byName;
    ASSERT_TRUE(byName.createFromFamilyName(kTestFamily, 14, 0, Gdiplus::UnitPixel));
    EXPECT_FLOAT_EQ(byName.getSize(), 14);
    EXPECT_FALSE(byName.createFromFamilyName("No Such Family 9", 14)) << "the family is looked up first";
}

TEST_F(TextTest, FontsFromTheSystemsFontsAndDeviceContexts) {
    Font fallback;
    EXPECT_TRUE(fallback.createDefault());
    EXPECT_GT(fallback.getSize(), 0);

    HDC screen = GetDC(nullptr);
    Font fromDc;
    EXPECT_TRUE(fromDc.createFromHdcAndHfont(screen, nullptr)) << "no font: the DC's own";
    EXPECT_NE(fromDc.getNativeHandle(), nullptr);
    Font fromFont;
    EXPECT_TRUE(fromFont.createFromHdcAndHfont(screen, static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT))));
    LOGFONTA logfont{};
    GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof logfont, &logfont);
    Font fromLogfont;
    EXPECT_TRUE(fromLogfont.createFromHdcAndLogfont(screen, &logfont));
    Graphics graphics;
    ASSERT_TRUE(graphics.createFromHdc(screen));
    LOGFONTA back{};
    EXPECT_TRUE(fromLogfont.getLogFont(graphics, back));
    EXPECT_NE(back.lfFaceName[0], '\0');
    EXPECT_GT(fromLogfont.getHeight(&graphics), 0);
    graphics.deleteGraphics();
    ReleaseDC(nullptr, screen);
}

TEST_F(TextTest, InstalledCollectionListsItsFamilies) {
    Gdiplus::GpFontCollection* installedHandle = nullptr;
    ASSERT_EQ(flat::GdipNewInstalledFontCollection(&installedHandle), Gdiplus::Ok);
    FontCollection installed;
    installed.setNativeHandle(installedHandle);
    const int count = installed.getFamilyCount();
    ASSERT_GT(count, 0);
    std::vector<std::unique_ptr<FontFamily>> families;
    EXPECT_EQ(installed.getFamilies(count + 2, families), count);
    ASSERT_EQ(families.size(), static_cast<std::size_t>(count + 2));
    EXPECT_NE(families[0]->getNativeHandle(), nullptr);
    EXPECT_EQ(families[static_cast<std::size_t>(count)]->getNativeHandle(), nullptr) << "beyond the number found";

    std::vector<std::unique_ptr<FontFamily>> untouched;
    untouched.push_back(std::make_unique<FontFamily>());
    EXPECT_EQ(installed.getFamilies(0, untouched), 0);
    EXPECT_EQ(lastGdiStatus(), kInvalidParameter);
    EXPECT_EQ(untouched.size(), 1u);
}

TEST_F(TextTest, StringFormatSettingsRoundTrip) {
    StringFormat format;
    ASSERT_TRUE(format.create());
    EXPECT_EQ(format.getFlags(), 0) << "omitted flags";
    struct Setting {
        const char* name;
        bool (StringFormat::*set)(int);
        int (StringFormat::*get)() const;
        int value;
    } settings[] = {
        {"flags", &StringFormat::setFlags, &StringFormat::getFlags, Gdiplus::StringFormatFlagsNoWrap},
        {"alignment", &StringFormat::setAlignment, &StringFormat::getAlignment, Gdiplus::StringAlignmentCenter},
        {"line alignment", &StringFormat::setLineAlignment, &StringFormat::getLineAlignment,
         Gdiplus::StringAlignmentFar},
        {"trimming", &StringFormat::setTrimming, &StringFormat::getTrimming, Gdiplus::StringTrimmingWord},
        {"hotkey prefix", &StringFormat::setHotkeyPrefix, &StringFormat::getHotkeyPrefix, Gdiplus::HotkeyPrefixShow},
    };
    for (const Setting& s : settings) {
        SCOPED_TRACE(s.name);
        EXPECT_TRUE((format.*s.set)(s.value));
        EXPECT_EQ((format.*s.get)(), s.value);
    }

    ASSERT_TRUE(format.setTabStops(4, {10, 20, 30}));
    float first = 0;
    std::vector<float> stops;
    EXPECT_EQ(format.getTabStops(first, stops), 3);
    EXPECT_FLOAT_EQ(first, 4);
    EXPECT_EQ(stops, (std::vector<float>{10, 20, 30}));

    ASSERT_TRUE(format.setDigitSubstitution(Gdiplus::StringDigitSubstituteNone));
    int substitute = -1;
    LANGID language = 99;
    ASSERT_TRUE(format.getDigitSubstitution(substitute, &language));
    EXPECT_EQ(substitute, Gdiplus::StringDigitSubstituteNone);
    EXPECT_EQ(language, 0) << "omitted language";

    ASSERT_TRUE(format.setMeasurableCharacterRanges({{0, 1}, {1, 2}}));
    EXPECT_EQ(format.getMeasurableCharacterRangeCount(), 2);
    StringFormat copy;
    ASSERT_TRUE(format.clone(copy));
    EXPECT_EQ(copy.getAlignment(), Gdiplus::StringAlignmentCenter);

    // The generic formats are released like any other.
    StringFormat typographic;
    ASSERT_TRUE(typographic.createGenericTypographic());
    EXPECT_NE(typographic.getFlags(), 0);
    EXPECT_TRUE(typographic.deleteStringFormat());
    StringFormat generic;
    ASSERT_TRUE(generic.createGenericDefault());
    EXPECT_TRUE(generic.deleteStringFormat());
}

TEST_F(TextTest, AnObjectHoldingNothingPassesNoneAndReportsGdiplus) {
    struct Call {
        const char* name;
        std::function<bool()> run;
    } calls[] = {
        {"family name", [] { return !FontFamily().getFamilyName().empty(); }},
        {"font size", [] { return Font().getSize() != 0; }},
        {"format flags", [] { return StringFormat().setFlags(1); }},
        {"collection count", [] { return FontCollection().getFamilyCount() != 0; }},
    };
    for (const Call& c : calls) {
        SCOPED_TRACE(c.name);
        EXPECT_FALSE(c.run());
        EXPECT_EQ(lastGdiStatus(), kInvalidParameter);
    }
}

}  // namespace
}  // namespace quorvane::toolkit::gdiplus

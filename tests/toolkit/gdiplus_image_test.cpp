// Images, bitmaps, the memory stream, the encoders and regions over GDI+.
// Image::getEncoderParameterList is not called: Wine's
// GdipGetEncoderParameterList ends the process.
#include "gdiplus_fixture.h"
#include "toolkit/gdiplus/graphics.h"
#include "toolkit/gdiplus/image.h"
#include "toolkit/gdiplus/region.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>

namespace quorvane::toolkit::gdiplus {
namespace {

using ImageTest = GdiplusTest;
using RegionTest = GdiplusTest;

std::string pngFormat() { return guidToText(Gdiplus::ImageFormatPNG); }

// A 128 x 128 PNG: red, with a blue top-left pixel.
std::vector<unsigned char> pngBytes() {
    Bitmap bitmap;
    EXPECT_TRUE(bitmap.createFromScan0(128, 128));
    for (int y = 0; y < 128; y += 1)
        for (int x = 0; x < 128; x += 1) bitmap.setPixel(x, y, 0xFFFF0000);
    bitmap.setPixel(0, 0, 0xFF0000FF);
    return bitmap.saveToBytes(pngFormat());
}

TEST_F(ImageTest, PngBytesLoadAndDispose) {
    const std::vector<unsigned char> png = pngBytes();
    ASSERT_GT(png.size(), 16u);
    EXPECT_EQ(std::string(png.begin() + 1, png.begin() + 4), "PNG");
    // The stream's own size: the block behind it may be larger.
    EXPECT_EQ(std::string(png.end() - 8, png.end() - 4), "IEND");

    Image image;
    ASSERT_TRUE(image.loadFromBytes(png));
    EXPECT_NE(image.getNativeHandle(), nullptr);
    EXPECT_EQ(image.getWidth(), 128u);
    EXPECT_EQ(image.getHeight(), 128u);
    EXPECT_EQ(image.getRawFormat(), pngFormat());
    EXPECT_EQ(image.getType(), Gdiplus::ImageTypeBitmap);
    const SizeF size = image.getDimension();
    EXPECT_FLOAT_EQ(size.width, 128);
    int unit = -1;
    EXPECT_FLOAT_EQ(image.getBounds(&unit).height, 128);
    EXPECT_EQ(unit, Gdiplus::UnitPixel);
    EXPECT_GT(image.getHorizontalResolution(), 0);
    std::vector<std::string> dimensions;
    ASSERT_TRUE(image.getFrameDimensionsList(dimensions));
    ASSERT_FALSE(dimensions.empty());
    EXPECT_EQ(image.getFrameCount(dimensions[0]), 1u);
    Image thumbnail;
    ASSERT_TRUE(image.getThumbnail(16, 16, thumbnail));
    EXPECT_EQ(thumbnail.getWidth(), 16u);
    EXPECT_TRUE(image.dispose());
    EXPECT_EQ(image.getNativeHandle(), nullptr);
    EXPECT_FALSE(image.dispose());
}

TEST_F(ImageTest, BytesThatAreNoPictureLeaveNothing) {
    for (const std::vector<unsigned char>& bytes : {std::vector<unsigned char>{}, std::vector<unsigned char>(40, 7)}) {
        SCOPED_TRACE(bytes.size());
        Image image;
        EXPECT_FALSE(image.loadFromBytes(bytes));
        EXPECT_NE(lastGdiStatus(), kOk);
        EXPECT_EQ(image.getNativeHandle(), nullptr);
        EXPECT_FALSE(image.dispose());
    }
}

TEST_F(ImageTest, ImagesSaveInTheirOwnFormat) {
    Image image;
    ASSERT_TRUE(image.loadFromBytes(pngBytes()));
    const std::vector<unsigned char> again = image.saveToBytes();
    ASSERT_GT(again.size(), 8u);
    EXPECT_EQ(std::string(again.begin() + 1, again.begin() + 4), "PNG");
    Image reloaded;
    ASSERT_TRUE(reloaded.loadFromBytes(again));
    EXPECT_EQ(reloaded.getWidth(), 128u);

    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    const std::string file = std::string(folder) + "quorvane_saved.png";
    ASSERT_TRUE(image.saveToFile(file));
    std::ifstream saved(file, std::ios::binary);
    const std::string head(std::istreambuf_iterator<char>(saved), {});
    saved.close();
    std::remove(file.c_str());
    EXPECT_EQ(head.substr(1, 3), "PNG");
    Bitmap fromFile;
    EXPECT_FALSE(fromFile.createFromFile(file)) << "removed";

    EXPECT_FALSE(image.saveToFile(file, "{00000000-0000-0000-0000-000000000001}")) << "no such encoder";
    std::remove(file.c_str());  // GDI+ may have made the file before it looked for the encoder
}

TEST_F(ImageTest, EncodersAndGuidTexts) {
    std::vector<ImageCodecInfo> encoders;
    ASSERT_GT(getImageEncoderList(encoders), 0);
    bool png = false;
    for (const ImageCodecInfo& encoder : encoders)
        png = png || (encoder.mimeType == "image/png" && encoder.formatId == pngFormat());
    EXPECT_TRUE(png);
    EXPECT_FALSE(findEncoderClsid(pngFormat()).empty());
    EXPECT_EQ(findEncoderClsid("{12345678-0000-0000-0000-000000000000}"), "");
    const GUID guid = textToGuid(pngFormat());
    EXPECT_TRUE(IsEqualGUID(guid, Gdiplus::ImageFormatPNG));
    EXPECT_TRUE(IsEqualGUID(textToGuid("not a guid"), GUID{}));
}

TEST_F(ImageTest, BitmapsFromPixelsAndToGdi) {
    Bitmap bitmap;
    ASSERT_TRUE(bitmap.createFromScan0(896, 64));
    EXPECT_EQ(bitmap.getPixelFormat(), kPixelFormat32bppArgb);
    EXPECT_EQ(bitmap.getWidth(), 896u);
    EXPECT_EQ(bitmap.getPixel(3, 3), 0u) << "GDI+ starts the pixels transparent";
    ASSERT_TRUE(bitmap.setPixel(3, 3, 0xFF123456));
    EXPECT_EQ(bitmap.getPixel(3, 3), 0xFF123456u);

    HBITMAP gdi = bitmap.getHbitmap();
    ASSERT_NE(gdi, nullptr);
    BITMAP info{};
    GetObjectW(gdi, sizeof info, &info);
    EXPECT_EQ(info.bmWidth, 896);
    EXPECT_EQ(info.bmHeight, 64);
    Bitmap back;
    ASSERT_TRUE(back.createFromHbitmap(gdi));
    EXPECT_EQ(back.getPixel(3, 3) & 0xFFFFFF, 0x123456u);
    EXPECT_EQ(back.getPixel(4, 4) & 0xFFFFFF, 0u) << "background 0";
    DeleteObject(gdi);

    BitmapData locked;
    ASSERT_TRUE(bitmap.lockBits({0, 0, 8, 8}, Gdiplus::ImageLockModeRead, kPixelFormat32bppArgb, locked));
    EXPECT_EQ(locked.width, 8u);
    EXPECT_EQ(static_cast<const DWORD*>(locked.scan0)[3 * locked.stride / 4 + 3], 0xFF123456u);
    ASSERT_TRUE(bitmap.unlockBits(locked));

    Bitmap area;
    ASSERT_TRUE(bitmap.cloneArea({2, 2, 4, 4}, kPixelFormat32bppArgb, area));
    EXPECT_EQ(area.getWidth(), 4u);
    EXPECT_EQ(area.getPixel(1, 1), 0xFF123456u);
    ASSERT_TRUE(bitmap.setResolution(120, 120));
    EXPECT_FLOAT_EQ(bitmap.getVerticalResolution(), 120);
    ASSERT_TRUE(bitmap.rotateFlip(Gdiplus::Rotate90FlipNone));
    EXPECT_EQ(bitmap.getWidth(), 64u);

    HICON icon = area.getHicon();
    ASSERT_NE(icon, nullptr);
    Bitmap fromIcon;
    EXPECT_TRUE(fromIcon.createFromHicon(icon));
    DestroyIcon(icon);
    EXPECT_TRUE(area.dispose());
    EXPECT_FALSE(area.dispose());

    Bitmap fromBytes;
    ASSERT_TRUE(fromBytes.createFromStream(pngBytes()));
    EXPECT_EQ(fromBytes.getPixel(0, 0), 0xFF0000FFu);
    EXPECT_EQ(fromBytes.getPixel(5, 5), 0xFFFF0000u);
}

TEST_F(ImageTest, PropertyItemsAndFrameDelays) {
    // A one-pixel GIF whose frame waits 10 hundredths of a second.
    const std::vector<unsigned char> bytes = {
        'G',  'I',  'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0,    0, 0, 0,   0xFF, 0xFF, 0xFF,  // screen, 2 colours
        0x21, 0xF9, 4,   0,   10,  0,   0, 0,                                                    // frame control
        0x2C, 0,    0,   0,   0,   1,   0, 1, 0, 0, 2,    2, 0x44, 1, 0, 0x3B};                  // the pixel
    Image gif;
    ASSERT_TRUE(gif.loadFromBytes(bytes));
    EXPECT_EQ(gif.getRawFormat(), guidToText(Gdiplus::ImageFormatGIF));
    std::vector<std::uint32_t> ids;
    const int count = gif.getPropertyIdList(ids);
    ASSERT_GT(count, 0);
    EXPECT_EQ(ids.size(), static_cast<std::size_t>(count));
    for (const std::uint32_t id : ids) {
        SCOPED_TRACE(id);
        PropertyItem item;
        ASSERT_TRUE(gif.getPropertyItem(id, item));
        EXPECT_EQ(item.id, id);
        EXPECT_EQ(item.value.size(), item.length);
        // The global palette: black and white, read where GDI+ points.
        if (id == 0x5102) {
            EXPECT_EQ(item.value, (std::vector<unsigned char>{0, 0, 0, 0xFF, 0xFF, 0xFF}));
        }
    }
    // GDI+ reports frame delays for some GIFs only; the delays follow it.
    std::vector<std::int32_t> delays;
    const bool hasDelays = std::find(ids.begin(), ids.end(), 0x5100u) != ids.end();
    EXPECT_EQ(gif.getFrameDelays(delays), hasDelays);
    if (hasDelays) {
        EXPECT_EQ(delays, (std::vector<std::int32_t>{10}));
    }

    Bitmap bitmap;
    ASSERT_TRUE(bitmap.createFromScan0(4, 4));
    PropertyItem none;
    EXPECT_FALSE(bitmap.getPropertyItem(0x5100, none)) << "a bitmap made from pixels has none";
    EXPECT_FALSE(bitmap.getFrameDelays(delays));
}

TEST_F(ImageTest, PalettesOfIndexedBitmaps) {
    Bitmap indexed;
    ASSERT_TRUE(indexed.createFromScan0(4, 4, PixelFormat8bppIndexed));
    ColorPalette palette;
    palette.entries = {0xFF000000, 0xFFFF0000, 0xFF00FF00};
    ASSERT_TRUE(indexed.setPalette(palette));
    ColorPalette read;
    ASSERT_TRUE(indexed.getPalette(read));
    EXPECT_EQ(read.count, 3u);
    EXPECT_EQ(read.entries, palette.entries);
}

TEST_F(ImageTest, MemoryStreamHoldsExactlyItsBytes) {
    MemoryStream stream;
    const std::vector<unsigned char> ten = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    ASSERT_NE(stream.createFromBytes(ten), nullptr);
    EXPECT_NE(stream.getHandle(), nullptr);
    EXPECT_GE(stream.getSize(), 10u);
    EXPECT_EQ(stream.toBytes(), ten);
    ASSERT_NE(stream.createFromBytes(ten, 4), nullptr) << "the first bytes";
    EXPECT_EQ(stream.toBytes(), (std::vector<unsigned char>{1, 2, 3, 4}));
    stream.release();
    EXPECT_EQ(stream.getStream(), nullptr);
    EXPECT_EQ(stream.getHandle(), nullptr);
    EXPECT_TRUE(stream.toBytes().empty());
    stream.release();  // twice is harmless

    IStream* other = nullptr;
    ASSERT_EQ(CreateStreamOnHGlobal(nullptr, FALSE, &other), S_OK);
    ULONG written = 0;
    other->Write("abc", 3, &written);
    MemoryStream attached;
    ASSERT_TRUE(attached.attachStream(other));
    EXPECT_EQ(attached.toBytes(), (std::vector<unsigned char>{'a', 'b', 'c'}));
    EXPECT_FALSE(MemoryStream().attachStream(nullptr));
}

TEST_F(RegionTest, RegionsCombineAndReportTheirArea) {
    Surface surface(8, 8);
    Graphics graphics;
    ASSERT_TRUE(graphics.createFromHdc(surface.dc()));
    Region region;
    ASSERT_TRUE(region.create());
    EXPECT_TRUE(region.isInfinite(graphics));
    ASSERT_TRUE(region.combineRect({10, 20, 30, 40})) << "intersect by default";
    const RectF bounds = region.getBounds(graphics);
    EXPECT_FLOAT_EQ(bounds.x, 10);
    EXPECT_FLOAT_EQ(bounds.height, 40);
    EXPECT_EQ(region.getBoundsI(graphics).width, 30);
    EXPECT_TRUE(region.isVisiblePoint({15, 25}));
    EXPECT_FALSE(region.isVisiblePointI({5, 25}));
    EXPECT_TRUE(region.isVisibleRectI({35, 55, 10, 10}));
    ASSERT_TRUE(region.combineRectI({30, 20, 30, 40}, Gdiplus::CombineModeUnion));
    EXPECT_FLOAT_EQ(region.getBounds(graphics).width, 50);
    ASSERT_TRUE(region.translateI(5, 0));
    EXPECT_FLOAT_EQ(region.getBounds(graphics).x, 15);

    const Matrix identity;
    std::vector<Rect> scans;
    EXPECT_GE(region.getScansI(identity, scans), 1);
    EXPECT_EQ(scans.size(), region.getScansCount(identity));

    Region copy;
    ASSERT_TRUE(region.clone(copy));
    EXPECT_TRUE(copy.equals(region, graphics));
    const std::uint32_t size = region.getDataSize();
    ASSERT_GT(size, 0u);
    std::uint32_t filled = 0;
    const std::vector<unsigned char> data = region.getData(size, &filled);
    EXPECT_EQ(filled, size);
    Region fromData;
    ASSERT_TRUE(fromData.createFromData(data, static_cast<int>(size)));
    EXPECT_TRUE(fromData.equals(region, graphics));
    HRGN gdi = region.getHrgn(graphics);
    ASSERT_NE(gdi, nullptr);
    Region fromGdi;
    EXPECT_TRUE(fromGdi.createFromHrgn(gdi));
    DeleteObject(gdi);

    ASSERT_TRUE(copy.makeEmpty());
    EXPECT_TRUE(copy.isEmpty(graphics));
    Region none;
    EXPECT_FALSE(none.isEmpty(graphics));
    EXPECT_EQ(lastGdiStatus(), kInvalidParameter);
}

}  // namespace
}  // namespace quorvane::toolkit::gdiplus

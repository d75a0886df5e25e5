#pragma once
// Images decoded from files or bytes, and bitmaps made from pixels. Each
// keeps the stream that its bytes reached GDI+ through for as long as GDI+
// may read from it.
#include "toolkit/gdiplus/gdi_object.h"
#include "toolkit/gdiplus/memory_stream.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane::toolkit::gdiplus {

class Graphics;

// GUIDs travel as their registry text, "{8-4-4-4-12}".
std::string guidToText(const GUID& guid);
GUID textToGuid(std::string_view text);  // all zero for a text that is no GUID

struct PropertyItem {
    std::uint32_t id = 0, length = 0, type = 0;
    std::vector<unsigned char> value;
};

struct ColorPalette {
    std::uint32_t flags = 0, count = 0;
    std::vector<Argb> entries;
};

struct EncoderParameter {
    std::string guid;
    std::uint32_t numberOfValues = 0, type = 0;
    std::vector<unsigned char> value;
};

struct EncoderParameterList {
    std::uint32_t count = 0;
    std::vector<EncoderParameter> parameters;
};

struct ImageCodecInfo {
    std::string clsid, formatId, codecName, dllName, formatDescription, filenameExtension, mimeType;
    std::uint32_t flags = 0, version = 0, sigCount = 0, sigSize = 0;
    std::vector<unsigned char> sigPattern, sigMask;
};

struct BitmapData {
    std::uint32_t width = 0, height = 0;
    std::int32_t stride = 0, pixelFormat = 0;
    void* scan0 = nullptr;
    std::uintptr_t reserved = 0;
};

// What Bitmap::applyEffect needs of an effect: its GDI+ handle and the
// auxiliary data GDI+ hands back.
struct Effect {
    Handle handle = nullptr;
    bool useAuxData = false;
    void* auxData = nullptr;
    std::int32_t auxDataSize = 0;
};

// The encoders GDI+ has; 0 when it cannot list them.
int getImageEncoderList(std::vector<ImageCodecInfo>& encoders);
// The Clsid text of the first encoder of that FormatID text; empty for none.
std::string findEncoderClsid(std::string_view formatId);

inline constexpr std::int32_t kPixelFormat32bppArgb = 0x26200A;

class Image : public GdiObject {
public:
    Image() = default;
    ~Image() override { Image::dispose(); }

    virtual bool dispose();
    bool loadFromFile(std::string_view fileName, bool useIcm = false);
    bool loadFromBytes(std::span<const unsigned char> bytes, bool useIcm = false);
    bool clone(Image& target) const;
    // Without a format the image's own; false when no encoder has it.
    bool saveToFile(std::string_view fileName, std::optional<std::string_view> format = std::nullopt,
                    const EncoderParameterList* parameters = nullptr) const;
    std::vector<unsigned char> saveToBytes(std::optional<std::string_view> format = std::nullopt,
                                           const EncoderParameterList* parameters = nullptr) const;
    bool saveAdd(const EncoderParameterList& parameters);
    bool saveAddImage(const Image& image, const EncoderParameterList& parameters);
    bool getEncoderParameterList(std::string_view format, EncoderParameterList& list) const;
    std::string getRawFormat() const;
    RectF getBounds(int* unit = nullptr) const;
    SizeF getDimension() const;
    int getType() const;
    std::uint32_t getWidth() const;
    std::uint32_t getHeight() const;
    float getHorizontalResolution() const;
    float getVerticalResolution() const;
    std::uint32_t getFlags() const;
    std::int32_t getPixelFormat() const;
    bool getThumbnail(std::uint32_t width, std::uint32_t height, Image& target) const;
    std::uint32_t getFrameCount(std::string_view dimension) const;
    bool getFrameDimensionsList(std::vector<std::string>& dimensions) const;
    bool selectActiveFrame(std::string_view dimension, std::uint32_t frameIndex);
    bool getFrameDelays(std::vector<std::int32_t>& delays) const;
    bool getPropertyItem(std::uint32_t propertyId, PropertyItem& item) const;
    bool setPropertyItem(const PropertyItem& item);
    bool removePropertyItem(std::uint32_t propertyId);
    int getPropertyIdList(std::vector<std::uint32_t>& ids) const;
    bool rotateFlip(int rotateFlipType);
    bool getPalette(ColorPalette& palette) const;
    bool setPalette(const ColorPalette& palette);

protected:
    void syncClassHandle(Handle handle) override {
        classHandle_ = handle;
        syncLeafHandle(handle);
    }
    virtual void syncLeafHandle(Handle) {}

    Handle classHandle_ = nullptr;

private:
    MemoryStream stream_;
};

class Bitmap final : public Image {
public:
    Bitmap() = default;
    ~Bitmap() override { Bitmap::dispose(); }

    bool dispose() override;
    bool createFromFile(std::string_view fileName, bool useIcm = false);
    bool createFromStream(std::span<const unsigned char> bytes, bool useIcm = false);
    bool createFromScan0Buffer(int width, int height, int stride, std::int32_t pixelFormat, void* scan0 = nullptr);
    // GDI+ allocates the pixels.
    bool createFromScan0(int width, int height, std::int32_t pixelFormat = kPixelFormat32bppArgb);
    bool createFromGraphics(int width, int height, const Graphics& graphics);
    bool createFromGdiDib(const BITMAPINFO* bitmapInfo, void* bits);
    bool createFromHbitmap(HBITMAP hbitmap, HPALETTE hpalette = nullptr);
    bool createFromHicon(HICON hicon);
    bool createFromResource(HINSTANCE instance, const wchar_t* resourceName);
    // A GDI bitmap that the caller owns.
    HBITMAP getHbitmap(Argb background = 0) const;
    HICON getHicon() const;
    bool cloneArea(RectF rect, std::int32_t pixelFormat, Bitmap& target) const;
    bool lockBits(Rect rect, std::uint32_t flags, std::int32_t pixelFormat, BitmapData& lockedData);
    bool unlockBits(BitmapData& lockedData);
    Argb getPixel(int x, int y) const;
    bool setPixel(int x, int y, Argb colour);
    bool setResolution(float xDpi, float yDpi);
    bool applyEffect(Effect& effect, const Rect* rectOfInterest = nullptr);

private:
    void syncLeafHandle(Handle handle) override { leafHandle_ = handle; }
    Handle leafHandle_ = nullptr;
    MemoryStream stream_;
};

}  // namespace quorvane::toolkit::gdiplus

#include "toolkit/gdiplus/image.h"

#include "toolkit/gdiplus/flat.h"
#include "toolkit/gdiplus/graphics.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <utility>

namespace quorvane::toolkit::gdiplus {

using namespace Gdiplus;

namespace {

GpImage* image(Handle handle) { return as<GpImage>(handle); }
GpBitmap* bitmap(Handle handle) { return as<GpBitmap>(handle); }

constexpr PROPID kFrameDelay = 0x5100;

static_assert(sizeof(BitmapData) == sizeof(Gdiplus::BitmapData));

// The bytes of `count` values of an encoder parameter of that type.
std::size_t valueBytes(std::uint32_t type, std::uint32_t count) {
    switch (type) {
    case 3:  // short
        return count * 2u;
    case 4:  // long
        return count * 4u;
    case 5:  // rational
    case 6:  // long range
        return count * 8u;
    case 8:  // rational range
        return count * 16u;
    default:  // byte, ASCII, undefined
        return count;
    }
}

// GDI+'s EncoderParameters for a list; the values stay in the list.
std::vector<unsigned char> nativeParameters(const EncoderParameterList& list) {
    const std::size_t count = list.parameters.size();
    std::vector<unsigned char> block(offsetof(EncoderParameters, Parameter) +
                                     count * sizeof(Gdiplus::EncoderParameter));
    auto* native = reinterpret_cast<EncoderParameters*>(block.data());
    native->Count = static_cast<UINT>(count);
    for (std::size_t i = 0; i < count; ++i) {
        const EncoderParameter& from = list.parameters[i];
        Gdiplus::EncoderParameter& to = native->Parameter[i];
        to.Guid = textToGuid(from.guid);
        to.NumberOfValues = from.numberOfValues;
        to.Type = from.type;
        to.Value = const_cast<unsigned char*>(from.value.data());
    }
    return block;
}

EncoderParameters* parametersOf(std::vector<unsigned char>& block) {
    return block.empty() ? nullptr : reinterpret_cast<EncoderParameters*>(block.data());
}

std::vector<unsigned char> bytesAt(const void* from, std::size_t size) {
    if (!from) return std::vector<unsigned char>(size, 0);
    const auto* bytes = static_cast<const unsigned char*>(from);
    return {bytes, bytes + size};
}

}  // namespace

std::string guidToText(const GUID& guid) {
    WCHAR text[39] = {};
    StringFromGUID2(guid, text, 39);
    return fromWideText(text);
}

GUID textToGuid(std::string_view text) {
    GUID guid{};
    std::wstring wide = toWideText(text);
    if (FAILED(CLSIDFromString(wide.data(), &guid))) guid = GUID{};
    return guid;
}

int getImageEncoderList(std::vector<ImageCodecInfo>& encoders) {
    UINT number = 0, size = 0;
    if (!ok(flat::GdipGetImageEncodersSize(&number, &size))) return 0;
    encoders.assign(number, ImageCodecInfo{});
    std::vector<unsigned char> buffer(size);
    auto* native = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    if (number == 0 || !ok(flat::GdipGetImageEncoders(number, size, native))) return static_cast<int>(number);
    for (UINT i = 0; i < number; ++i) {
        const Gdiplus::ImageCodecInfo& from = native[i];
        ImageCodecInfo& to = encoders[i];
        to.clsid = guidToText(from.Clsid);
        to.formatId = guidToText(from.FormatID);
        to.codecName = fromWideText(from.CodecName);
        to.dllName = fromWideText(from.DllName);
        to.formatDescription = fromWideText(from.FormatDescription);
        to.filenameExtension = fromWideText(from.FilenameExtension);
        to.mimeType = fromWideText(from.MimeType);
        to.flags = from.Flags;
        to.version = from.Version;
        to.sigCount = from.SigCount;
        to.sigSize = from.SigSize;
        to.sigPattern = bytesAt(from.SigPattern, std::size_t{from.SigCount} * from.SigSize);
        to.sigMask = bytesAt(from.SigMask, std::size_t{from.SigCount} * from.SigSize);
    }
    return static_cast<int>(number);
}

std::string findEncoderClsid(std::string_view formatId) {
    std::vector<ImageCodecInfo> encoders;
    getImageEncoderList(encoders);
    for (const ImageCodecInfo& encoder : encoders)
        if (encoder.formatId == formatId) return encoder.clsid;
    return {};
}

// Images.

bool Image::dispose() {
    if (!classHandle_) return false;
    // GDI+ may read the stream until the image is gone.
    const GpStatus status = flat::GdipDisposeImage(image(classHandle_));
    setNativeHandle(nullptr);
    stream_.release();
    return ok(status);
}

bool Image::loadFromFile(std::string_view fileName, bool useIcm) {
    const std::wstring wide = toWideText(fileName);
    return createAt<GpImage>(*this, classHandle_, [&](GpImage** made) {
        return useIcm ? flat::GdipLoadImageFromFileICM(wide.c_str(), made)
                      : flat::GdipLoadImageFromFile(wide.c_str(), made);
    });
}

bool Image::loadFromBytes(std::span<const unsigned char> bytes, bool useIcm) {
    IStream* stream = stream_.createFromBytes(bytes);
    return createAt<GpImage>(*this, classHandle_, [&](GpImage** made) {
        return useIcm ? flat::GdipLoadImageFromStreamICM(stream, made) : flat::GdipLoadImageFromStream(stream, made);
    });
}

bool Image::clone(Image& target) const {
    return cloneInto<GpImage>(target, [&](GpImage** made) { return flat::GdipCloneImage(image(classHandle_), made); });
}

bool Image::saveToFile(std::string_view fileName, std::optional<std::string_view> format,
                       const EncoderParameterList* parameters) const {
    const std::string own = format ? std::string() : getRawFormat();
    const CLSID encoder = textToGuid(findEncoderClsid(format ? *format : own));
    std::vector<unsigned char> block = parameters ? nativeParameters(*parameters) : std::vector<unsigned char>();
    const std::wstring wide = toWideText(fileName);
    return ok(flat::GdipSaveImageToFile(image(classHandle_), wide.c_str(), &encoder, parametersOf(block)));
}

std::vector<unsigned char> Image::saveToBytes(std::optional<std::string_view> format,
                                              const EncoderParameterList* parameters) const {
    const std::string own = format ? std::string() : getRawFormat();
    const CLSID encoder = textToGuid(findEncoderClsid(format ? *format : own));
    std::vector<unsigned char> block = parameters ? nativeParameters(*parameters) : std::vector<unsigned char>();
    MemoryStream saved;
    IStream* stream = saved.createFromBytes({});
    rememberStatus(flat::GdipSaveImageToStream(image(classHandle_), stream, &encoder, parametersOf(block)));
    return saved.toBytes();
}

bool Image::saveAdd(const EncoderParameterList& parameters) {
    std::vector<unsigned char> block = nativeParameters(parameters);
    return ok(flat::GdipSaveAdd(image(classHandle_), parametersOf(block)));
}

bool Image::saveAddImage(const Image& other, const EncoderParameterList& parameters) {
    std::vector<unsigned char> block = nativeParameters(parameters);
    return ok(flat::GdipSaveAddImage(image(classHandle_), image(handleOf(other)), parametersOf(block)));
}

bool Image::getEncoderParameterList(std::string_view format, EncoderParameterList& list) const {
    const CLSID encoder = textToGuid(findEncoderClsid(format));
    UINT size = 0;
    if (!ok(flat::GdipGetEncoderParameterListSize(image(classHandle_), &encoder, &size))) return false;
    if (size < sizeof(UINT)) return false;
    std::vector<unsigned char> buffer(size);
    auto* native = reinterpret_cast<EncoderParameters*>(buffer.data());
    if (!ok(flat::GdipGetEncoderParameterList(image(classHandle_), &encoder, size, native))) return false;
    const std::size_t fits = (size - offsetof(EncoderParameters, Parameter)) / sizeof(Gdiplus::EncoderParameter);
    list.count = std::min<UINT>(native->Count, static_cast<UINT>(fits));
    list.parameters.assign(list.count, EncoderParameter{});
    for (std::uint32_t i = 0; i < list.count; ++i) {
        const Gdiplus::EncoderParameter& from = native->Parameter[i];
        EncoderParameter& to = list.parameters[i];
        to.guid = guidToText(from.Guid);
        to.numberOfValues = from.NumberOfValues;
        to.type = from.Type;
        to.value = bytesAt(from.Value, valueBytes(from.Type, from.NumberOfValues));
    }
    return true;
}

std::string Image::getRawFormat() const {
    GUID format{};
    rememberStatus(flat::GdipGetImageRawFormat(image(classHandle_), &format));
    return guidToText(format);
}

RectF Image::getBounds(int* unit) const {
    RectF bounds;
    Unit got = UnitWorld;
    rememberStatus(flat::GdipGetImageBounds(image(classHandle_), gp(&bounds), &got));
    if (unit) *unit = got;
    return bounds;
}

SizeF Image::getDimension() const {
    SizeF size;
    rememberStatus(flat::GdipGetImageDimension(image(classHandle_), &size.width, &size.height));
    return size;
}

int Image::getType() const { return value<ImageType>(flat::GdipGetImageType, image(classHandle_)); }
std::uint32_t Image::getWidth() const { return value<UINT>(flat::GdipGetImageWidth, image(classHandle_)); }
std::uint32_t Image::getHeight() const { return value<UINT>(flat::GdipGetImageHeight, image(classHandle_)); }
float Image::getHorizontalResolution() const {
    return value<REAL>(flat::GdipGetImageHorizontalResolution, image(classHandle_));
}
float Image::getVerticalResolution() const {
    return value<REAL>(flat::GdipGetImageVerticalResolution, image(classHandle_));
}
std::uint32_t Image::getFlags() const { return value<UINT>(flat::GdipGetImageFlags, image(classHandle_)); }
std::int32_t Image::getPixelFormat() const {
    return value<PixelFormat>(flat::GdipGetImagePixelFormat, image(classHandle_));
}

bool Image::getThumbnail(std::uint32_t width, std::uint32_t height, Image& target) const {
    return cloneInto<GpImage>(target, [&](GpImage** made) {
        return flat::GdipGetImageThumbnail(image(classHandle_), width, height, made, nullptr, nullptr);
    });
}

std::uint32_t Image::getFrameCount(std::string_view dimension) const {
    const GUID id = textToGuid(dimension);
    return value<UINT>(flat::GdipImageGetFrameCount, image(classHandle_), &id);
}

bool Image::getFrameDimensionsList(std::vector<std::string>& dimensions) const {
    UINT count = 0;
    if (!ok(flat::GdipImageGetFrameDimensionsCount(image(classHandle_), &count))) return false;
    std::vector<GUID> ids(count);
    const bool done = ok(flat::GdipImageGetFrameDimensionsList(image(classHandle_), arrayOf(ids), count));
    dimensions.clear();
    for (const GUID& id : ids) dimensions.push_back(guidToText(id));
    return done;
}

bool Image::selectActiveFrame(std::string_view dimension, std::uint32_t frameIndex) {
    const GUID id = textToGuid(dimension);
    return ok(flat::GdipImageSelectActiveFrame(image(classHandle_), &id, frameIndex));
}

bool Image::getFrameDelays(std::vector<std::int32_t>& delays) const {
    PropertyItem item;
    if (!getPropertyItem(kFrameDelay, item)) return false;
    delays.assign(item.value.size() / 4, 0);
    if (!delays.empty()) std::memcpy(delays.data(), item.value.data(), delays.size() * 4);
    return true;
}

bool Image::getPropertyItem(std::uint32_t propertyId, PropertyItem& item) const {
    UINT size = 0;
    if (!ok(flat::GdipGetPropertyItemSize(image(classHandle_), propertyId, &size))) return false;
    std::vector<unsigned char> buffer(std::max<std::size_t>(size, sizeof(Gdiplus::PropertyItem)));
    auto* native = reinterpret_cast<Gdiplus::PropertyItem*>(buffer.data());
    if (!ok(flat::GdipGetPropertyItem(image(classHandle_), propertyId, size, native))) return false;
    item.id = native->id;
    item.length = native->length;
    item.type = native->type;
    // The value lies where GDI+'s pointer says, usually inside the buffer
    // right after the header; never read past the buffer there.
    std::size_t length = native->length;
    const auto* value = static_cast<const unsigned char*>(native->value);
    if (value >= buffer.data() && value <= buffer.data() + buffer.size())
        length = std::min<std::size_t>(length, static_cast<std::size_t>(buffer.data() + buffer.size() - value));
    item.value = bytesAt(value, length);
    return true;
}

bool Image::setPropertyItem(const PropertyItem& item) {
    Gdiplus::PropertyItem native{};
    native.id = item.id;
    native.length = static_cast<ULONG>(std::min<std::size_t>(item.length, item.value.size()));
    native.type = static_cast<WORD>(item.type);
    native.value = const_cast<unsigned char*>(item.value.data());
    return ok(flat::GdipSetPropertyItem(image(classHandle_), &native));
}

bool Image::removePropertyItem(std::uint32_t propertyId) {
    return ok(flat::GdipRemovePropertyItem(image(classHandle_), propertyId));
}

int Image::getPropertyIdList(std::vector<std::uint32_t>& ids) const {
    UINT count = 0;
    if (!ok(flat::GdipGetPropertyCount(image(classHandle_), &count))) return 0;
    ids.assign(count, 0);
    std::vector<PROPID> native(count);
    rememberStatus(flat::GdipGetPropertyIdList(image(classHandle_), count, arrayOf(native)));
    std::copy(native.begin(), native.end(), ids.begin());
    return static_cast<int>(count);
}

bool Image::rotateFlip(int rotateFlipType) {
    return ok(flat::GdipImageRotateFlip(image(classHandle_), static_cast<RotateFlipType>(rotateFlipType)));
}

bool Image::getPalette(ColorPalette& palette) const {
    INT size = 0;
    if (!ok(flat::GdipGetImagePaletteSize(image(classHandle_), &size))) return false;
    std::vector<unsigned char> buffer(std::max<std::size_t>(static_cast<std::size_t>(std::max(size, 0)), 8));
    auto* native = reinterpret_cast<Gdiplus::ColorPalette*>(buffer.data());
    if (!ok(flat::GdipGetImagePalette(image(classHandle_), native, size))) return false;
    palette.flags = native->Flags;
    palette.count = std::min<UINT>(native->Count, static_cast<UINT>((buffer.size() - 8) / sizeof(ARGB)));
    palette.entries.assign(native->Entries, native->Entries + palette.count);
    return true;
}

bool Image::setPalette(const ColorPalette& palette) {
    std::vector<unsigned char> buffer(8 + palette.entries.size() * sizeof(ARGB));
    auto* native = reinterpret_cast<Gdiplus::ColorPalette*>(buffer.data());
    native->Flags = palette.flags;
    native->Count = static_cast<UINT>(palette.entries.size());
    if (!palette.entries.empty())
        std::memcpy(native->Entries, palette.entries.data(), palette.entries.size() * sizeof(ARGB));
    return ok(flat::GdipSetImagePalette(image(classHandle_), native));
}

// Bitmaps.

bool Bitmap::dispose() {
    if (!leafHandle_) return false;
    const GpStatus status = flat::GdipDisposeImage(image(leafHandle_));
    setNativeHandle(nullptr);
    stream_.release();
    return ok(status);
}

bool Bitmap::createFromFile(std::string_view fileName, bool useIcm) {
    const std::wstring wide = toWideText(fileName);
    return createAt<GpBitmap>(*this, leafHandle_, [&](GpBitmap** made) {
        return useIcm ? flat::GdipCreateBitmapFromFileICM(wide.c_str(), made)
                      : flat::GdipCreateBitmapFromFile(wide.c_str(), made);
    });
}

bool Bitmap::createFromStream(std::span<const unsigned char> bytes, bool useIcm) {
    IStream* stream = stream_.createFromBytes(bytes);
    return createAt<GpBitmap>(*this, leafHandle_, [&](GpBitmap** made) {
        return useIcm ? flat::GdipCreateBitmapFromStreamICM(stream, made)
                      : flat::GdipCreateBitmapFromStream(stream, made);
    });
}

bool Bitmap::createFromScan0Buffer(int width, int height, int stride, std::int32_t pixelFormat, void* scan0) {
    return createAt<GpBitmap>(*this, leafHandle_, [&](GpBitmap** made) {
        return flat::GdipCreateBitmapFromScan0(width, height, stride, pixelFormat, static_cast<BYTE*>(scan0), made);
    });
}

bool Bitmap::createFromScan0(int width, int height, std::int32_t pixelFormat) {
    return createFromScan0Buffer(width, height, 0, pixelFormat, nullptr);
}

bool Bitmap::createFromGraphics(int width, int height, const Graphics& graphics) {
    return createAt<GpBitmap>(*this, leafHandle_, [&](GpBitmap** made) {
        return flat::GdipCreateBitmapFromGraphics(width, height, as<GpGraphics>(handleOf(graphics)), made);
    });
}

bool Bitmap::createFromGdiDib(const BITMAPINFO* bitmapInfo, void* bits) {
    return createAt<GpBitmap>(
        *this, leafHandle_, [&](GpBitmap** made) { return flat::GdipCreateBitmapFromGdiDib(bitmapInfo, bits, made); });
}

bool Bitmap::createFromHbitmap(HBITMAP hbitmap, HPALETTE hpalette) {
    return createAt<GpBitmap>(*this, leafHandle_, [&](GpBitmap** made) {
        return flat::GdipCreateBitmapFromHBITMAP(hbitmap, hpalette, made);
    });
}

bool Bitmap::createFromHicon(HICON hicon) {
    return createAt<GpBitmap>(*this, leafHandle_,
                              [&](GpBitmap** made) { return flat::GdipCreateBitmapFromHICON(hicon, made); });
}

bool Bitmap::createFromResource(HINSTANCE instance, const wchar_t* resourceName) {
    return createAt<GpBitmap>(*this, leafHandle_, [&](GpBitmap** made) {
        return flat::GdipCreateBitmapFromResource(instance, resourceName, made);
    });
}

HBITMAP Bitmap::getHbitmap(Argb background) const {
    HBITMAP made = nullptr;
    rememberStatus(flat::GdipCreateHBITMAPFromBitmap(bitmap(leafHandle_), &made, background));
    return made;
}

HICON Bitmap::getHicon() const { return value<HICON>(flat::GdipCreateHICONFromBitmap, bitmap(leafHandle_)); }

bool Bitmap::cloneArea(RectF rect, std::int32_t pixelFormat, Bitmap& target) const {
    return cloneInto<GpBitmap>(target, [&](GpBitmap** made) {
        return flat::GdipCloneBitmapArea(rect.x, rect.y, rect.width, rect.height, pixelFormat, bitmap(leafHandle_),
                                         made);
    });
}

bool Bitmap::lockBits(Rect rect, std::uint32_t flags, std::int32_t pixelFormat, BitmapData& lockedData) {
    return ok(flat::GdipBitmapLockBits(bitmap(leafHandle_), gp(&rect), flags, pixelFormat,
                                       reinterpret_cast<Gdiplus::BitmapData*>(&lockedData)));
}

bool Bitmap::unlockBits(BitmapData& lockedData) {
    return ok(flat::GdipBitmapUnlockBits(bitmap(leafHandle_), reinterpret_cast<Gdiplus::BitmapData*>(&lockedData)));
}

Argb Bitmap::getPixel(int x, int y) const { return value<ARGB>(flat::GdipBitmapGetPixel, bitmap(leafHandle_), x, y); }

bool Bitmap::setPixel(int x, int y, Argb colour) {
    return ok(flat::GdipBitmapSetPixel(bitmap(leafHandle_), x, y, colour));
}

bool Bitmap::setResolution(float xDpi, float yDpi) {
    return ok(flat::GdipBitmapSetResolution(bitmap(leafHandle_), xDpi, yDpi));
}

bool Bitmap::applyEffect(Effect& effect, const Rect* rectOfInterest) {
    if (effect.auxData) flat::GdipFree(std::exchange(effect.auxData, nullptr));
    effect.auxDataSize = 0;
    RECT area{};
    if (rectOfInterest)
        area = RECT{rectOfInterest->x, rectOfInterest->y, rectOfInterest->x + rectOfInterest->width,
                    rectOfInterest->y + rectOfInterest->height};
    VOID* auxData = nullptr;
    INT auxDataSize = 0;
    // Effects came with GDI+ 1.1; the import library of the platform lacks
    // them, so the export is looked up where it may be.
    using ApplyEffect = GpStatus(WINGDIPAPI*)(GpBitmap*, CGpEffect*, RECT*, BOOL, VOID**, INT*);
    static const auto apply = reinterpret_cast<ApplyEffect>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"gdiplus.dll"), "GdipBitmapApplyEffect")));
    if (!apply) {
        rememberStatus(UnsupportedGdiplusVersion);
        return false;
    }
    const bool done = ok(apply(bitmap(leafHandle_), as<CGpEffect>(effect.handle), rectOfInterest ? &area : nullptr,
                               effect.useAuxData, &auxData, &auxDataSize));
    effect.auxData = auxData;
    effect.auxDataSize = auxDataSize;
    return done;
}

}  // namespace quorvane::toolkit::gdiplus

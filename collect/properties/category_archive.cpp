#include "collect/properties/category_archive.h"

// unzip.h first: iowin32.h stands on its declarations.
#include <unzip.h>
#include <iowin32.h>

#include <utility>

namespace quorvane {
namespace {

class ZipArchive {
public:
    explicit ZipArchive(const std::wstring& path) {
        zlib_filefunc64_def functions;
        fill_win32_filefunc64W(&functions);
        file_ = unzOpen2_64(path.c_str(), &functions);
    }
    ~ZipArchive() {
        if (file_) unzClose(file_);
    }
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;

    unzFile get() const { return file_; }

private:
    unzFile file_ = nullptr;
};

constexpr unsigned long kEncipheredFlag = 1;

bool isCurrentEntry(unzFile archive, std::string_view name, unz_file_info64& info) {
    char entryName[512];
    if (unzGetCurrentFileInfo64(archive, &info, entryName, sizeof entryName, nullptr, 0, nullptr, 0) != UNZ_OK)
        return false;
    return info.size_filename < sizeof entryName && std::string_view(entryName, info.size_filename) == name;
}

std::optional<Bytes> readCurrentEntry(unzFile archive, const unz_file_info64& info) {
    if ((info.flag & kEncipheredFlag) != 0 || info.uncompressed_size > kLongestCategoryFile) return std::nullopt;
    if (unzOpenCurrentFile(archive) != UNZ_OK) return std::nullopt;
    Bytes content;
    content.reserve(static_cast<std::size_t>(info.uncompressed_size));
    unsigned char buffer[65536];
    int read = 0;
    // The stated size may lie: the bound holds for what is unpacked.
    while ((read = unzReadCurrentFile(archive, buffer, sizeof buffer)) > 0) {
        if (content.size() + static_cast<std::size_t>(read) > kLongestCategoryFile) {
            unzCloseCurrentFile(archive);
            return std::nullopt;
        }
        content.insert(content.end(), buffer, buffer + read);
    }
    // Closing after the whole entry checks its CRC.
    const int closed = unzCloseCurrentFile(archive);
    if (read < 0 || closed != UNZ_OK) return std::nullopt;
    return content;
}

}  // namespace

std::optional<Bytes> categoryFileFromArchive(const std::wstring& archivePath, std::string_view entryName) {
    const ZipArchive archive(archivePath);
    if (!archive.get()) return std::nullopt;
    for (int status = unzGoToFirstFile(archive.get()); status == UNZ_OK; status = unzGoToNextFile(archive.get())) {
        unz_file_info64 info{};
        if (isCurrentEntry(archive.get(), entryName, info)) return readCurrentEntry(archive.get(), info);
    }
    return std::nullopt;
}

}  // namespace quorvane

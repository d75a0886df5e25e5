#pragma once
// The three options the workers read without touching the controls. They
// follow the file's values as last loaded or saved; 0 before the first load.
#include <atomic>
#include <cstdint>

namespace quorvane {

struct OptionMirrors {
    std::atomic<std::int32_t> downloadDescriptionPictures{0};  // 1 download, 0 not
    std::atomic<std::int32_t> pictureFailurePolicy{0};         // 1 keep, 2 delete, 3 retry then delete
    std::atomic<std::int32_t> packageFormat{0};                // 4 or 5
};

// The process-wide mirrors (DownloadDescriptionPictures, PictureFailurePolicy,
// PackageFormat).
OptionMirrors& optionMirrors();

}  // namespace quorvane

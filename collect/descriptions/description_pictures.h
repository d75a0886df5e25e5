#pragma once
// The pictures the description and the wireless description refer to: each
// is downloaded into a folder of the item's own beside the package, and its
// references in the texts then point at the local file. A picture that does
// not come is kept, deleted from the text, or fetched once more and deleted
// when it fails again, by the user's choice.
#include "collect/item/item_fields.h"
#include "collect/run/worker_state.h"

#include <functional>
#include <string>

namespace quorvane {

enum PictureFailurePolicy { KeepFailedPicture = 1, DeleteFailedPicture = 2, RetryFailedPicture = 3 };

struct DescriptionPictureSettings {
    std::string pictureFolder;  // PackageFolder + PackageBaseName, without a closing "\"
    // The saved PictureFailurePolicy, asked at each failed picture; a value
    // other than 2 and 3 keeps the picture.
    std::function<int()> failurePolicy;
};

// Reads title and itemId; rewrites description and wireless_desc; makes the
// item's folder when a pass finds pictures and writes their files. Only a
// picture whose file was written changes a reference to a local one; a
// picture whose file cannot be written is a failed picture. Stops between
// pictures once the worker's requests are cancelled.
void fetchDescriptionPictures(ItemFields& item, const DescriptionPictureSettings& settings, WorkerRegexes& regexes,
                              const WorkerProgress& progress);

}  // namespace quorvane

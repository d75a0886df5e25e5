#include "app/handlers/handlers.h"

namespace quorvane {

void onSaveSettingsClicked() {}

}  // namespace quorvane

#include "app/runtime/template.h"

namespace quorvane::ui {

Handler handler(void (*function)()) {
    return [function](const EventArgs&) {
        function();
        return true;
    };
}
Handler handler(bool (*function)()) {
    return [function](const EventArgs&) { return function(); };
}
Handler handler(void (*function)(const EventArgs&)) {
    return [function](const EventArgs& args) {
        function(args);
        return true;
    };
}

}  // namespace quorvane::ui

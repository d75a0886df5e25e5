#include "app/options/option_mirrors.h"

namespace quorvane {

OptionMirrors& optionMirrors() {
    static OptionMirrors mirrors;
    return mirrors;
}

}  // namespace quorvane

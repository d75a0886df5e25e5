#include "app/windows/pictures.h"
#include "app/windows/templates.h"

// The template is a table, a component a row; clang-format would give every
// value a line of its own.
// clang-format off
namespace quorvane {

using enum ui::Kind;

const ui::WindowTemplate& splashWindowTemplate() {
    static const ui::WindowTemplate model{
        .name = "SplashWindow",
        .width = 460,
        .height = 334,
        .frame = ui::Frame::Borderless,
        .components =
            {
                {.name = "图片框1", .kind = PictureBox, .width = 460, .height = 280, .picture = splashPicture},
                {.name = "透明标签1", .kind = TransparentLabel, .x = 70, .y = 285, .width = 320, .height = 16},
                {.name = "进度条1", .kind = ProgressBar, .x = 16, .y = 304, .width = 427, .height = 24,
                 .minimum = 0, .maximum = 100},
            },
    };
    return model;
}

}  // namespace quorvane
// clang-format on

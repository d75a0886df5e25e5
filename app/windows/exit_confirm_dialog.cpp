#include "app/handlers/handlers.h"
#include "app/windows/pictures.h"
#include "app/windows/templates.h"

// The template is a table, a component a row; clang-format would give every
// value a line of its own.
// clang-format off
namespace quorvane {

using enum ui::Kind;
using ui::Event;
using ui::handler;

const ui::WindowTemplate& exitConfirmDialogTemplate() {
    static const ui::WindowTemplate model{
        .name = "ExitConfirmDialog",
        .title = "退出程序？",
        .width = 273,
        .height = 163,
        .components =
            {
                {.name = "图片框1", .kind = PictureBox, .x = 16, .y = 27, .width = 40, .height = 40,
                 .picture = questionPicture},
                {.name = "标签1", .kind = Label, .caption = "你是否确定退出程序！", .x = 68, .y = 20, .width = 168,
                 .height = 40},
                {.name = "按钮1", .kind = Button, .caption = "确 定", .x = 88, .y = 89, .width = 72, .height = 26},
                {.name = "按钮2", .kind = Button, .caption = "取 消", .x = 168, .y = 90, .width = 72, .height = 26},
            },
        .bindings =
            {
                {"按钮1", Event::Clicked, handler(onExitConfirmOkClicked)},
                {"按钮2", Event::Clicked, handler(onExitConfirmCancelClicked)},
            },
    };
    return model;
}

}  // namespace quorvane
// clang-format on

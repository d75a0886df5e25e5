#include "app/handlers/handlers.h"
#include "app/windows/templates.h"

// The template is a table, a component a row; clang-format would give every
// value a line of its own.
// clang-format off
namespace quorvane {

using enum ui::Kind;
using ui::Event;
using ui::handler;

const ui::WindowTemplate& addressInputDialogTemplate() {
    static const ui::WindowTemplate model{
        .name = "AddressInputDialog",
        .title = "请按照提示输入",
        .width = 522,
        .height = 403,
        .components =
            {
                {.name = "画板1", .kind = DrawingPanel, .width = 516, .height = 40,
                 .background = RGB(0xF4, 0xF8, 0xFD)},
                {.name = "透明标签1", .kind = TransparentLabel, .parent = "画板1",
                 .caption = "请输入宝贝连接,每行一个，必须要加http://\r\n"
                            "如：http://item.taobao.com/item.htm?id=35125640219",
                 .x = 34, .y = 8, .width = 448, .height = 32},
                {.name = "编辑框1", .kind = Edit, .x = 2, .y = 49, .width = 512, .height = 271,
                 .state = ui::kMultiLine | ui::kVerticalScroll | ui::kHorizontalScroll},
                {.name = "按钮1", .kind = Button, .caption = "确定保存", .x = 343, .y = 323, .width = 80,
                 .height = 22},
                {.name = "按钮2", .kind = Button, .caption = "取消退出", .x = 434, .y = 323, .width = 80,
                 .height = 22},
                {.name = "画板2", .kind = DrawingPanel, .x = 2, .y = 348, .width = 512, .height = 24},
                {.name = "透明标签2", .kind = TransparentLabel, .parent = "画板2", .caption = "当前共：[%d]行",
                 .x = 3, .y = 3, .width = 176, .height = 16},
            },
        .bindings =
            {
                {"", Event::Created, handler(onAddressInputCreated)},
                {"按钮1", Event::Clicked, handler(onAddressInputOkClicked)},
                {"按钮2", Event::Clicked, handler(onAddressInputCancelClicked)},
                {"编辑框1", Event::ContentChanged, handler(onAddressInputTextChanged)},
            },
    };
    return model;
}

}  // namespace quorvane
// clang-format on

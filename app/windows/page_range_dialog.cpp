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

const ui::WindowTemplate& pageRangeDialogTemplate() {
    static const ui::WindowTemplate model{
        .name = "PageRangeDialog",
        .title = "待列出宝贝数量太多！",
        .width = 361,
        .height = 169,
        .components =
            {
                {.name = "图片框1", .kind = PictureBox, .x = 8, .y = 11, .width = 40, .height = 40,
                 .picture = questionPicture},
                {.name = "标签1", .kind = Label,
                 .caption = "一次性列出宝贝太多有可能引起淘宝锁定IP！请输入本次列出的宝贝的起始和结尾页码！建议间隔"
                            "不超过35页！",
                 .x = 52, .y = 7, .width = 284, .height = 60},
                {.name = "标签2", .kind = Label, .caption = "从", .x = 52, .y = 72, .width = 28, .height = 24},
                {.name = "编辑框1", .kind = Edit, .x = 93, .y = 72, .width = 41, .height = 24},
                {.name = "标签3", .kind = Label, .caption = "至", .x = 152, .y = 72, .width = 28, .height = 24},
                {.name = "编辑框2", .kind = Edit, .x = 181, .y = 72, .width = 41, .height = 24},
                {.name = "按钮1", .kind = Button, .caption = "确定", .x = 231, .y = 102, .width = 80, .height = 30},
                {.name = "标签4", .kind = Label, .caption = "间隔超过35页！请修改！", .x = 56, .y = 104,
                 .width = 152, .height = 32, .state = ui::kHidden, .textColour = RGB(0xD0, 0x20, 0x20)},
            },
        .bindings =
            {
                {"", Event::QueryClose, handler(onPageRangeCloseQuery)},
                {"按钮1", Event::Clicked, handler(onPageRangeOkClicked)},
            },
    };
    return model;
}

}  // namespace quorvane
// clang-format on

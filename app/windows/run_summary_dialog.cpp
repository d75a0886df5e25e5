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

const ui::WindowTemplate& runSummaryDialogTemplate() {
    static const ui::WindowTemplate model{
        .name = "RunSummaryDialog",
        .title = "复制完成！",
        .width = 390,
        .height = 182,
        .components =
            {
                {.name = "透明标签1", .kind = TransparentLabel, .caption = "复制已经完成：", .x = 8, .y = 8,
                 .width = 80, .height = 24},
                {.name = "透明标签4", .kind = TransparentLabel, .x = 40, .y = 32, .width = 500, .height = 24},
                {.name = "透明标签2", .kind = TransparentLabel, .x = 40, .y = 56, .width = 500, .height = 24},
                {.name = "透明标签3", .kind = TransparentLabel, .x = 40, .y = 80, .width = 500, .height = 24},
                {.name = "按钮1", .kind = Button, .caption = "点击查看为什么会失败！", .x = 212, .y = 77,
                 .width = 140, .height = 30, .state = ui::kHidden},
                {.name = "按钮2", .kind = Button, .caption = "打开生成数据包的文件夹", .x = 36, .y = 113,
                 .width = 140, .height = 30},
                {.name = "按钮3", .kind = Button, .caption = "查看上传教程及解决上传中的问题", .x = 212, .y = 113,
                 .width = 140, .height = 30},
            },
        .bindings =
            {
                {"", Event::Created, handler(onRunSummaryCreated)},
                {"按钮1", Event::Clicked, handler(onRunSummaryWhyFailedClicked)},
                {"按钮2", Event::Clicked, handler(onRunSummaryOpenFolderClicked)},
                {"按钮3", Event::Clicked, handler(onRunSummaryTutorialClicked)},
            },
        .icon = summaryIcon,
    };
    return model;
}

}  // namespace quorvane
// clang-format on

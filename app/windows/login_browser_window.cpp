#include "app/handlers/handlers.h"
#include "app/windows/templates.h"

// The template is a table, a component a row; clang-format would give every
// value a line of its own.
// clang-format off
namespace quorvane {

using enum ui::Kind;
using ui::Event;
using ui::handler;

const ui::WindowTemplate& loginBrowserWindowTemplate() {
    static const ui::WindowTemplate model{
        .name = "LoginBrowserWindow",
        .title = "浏览器（在不能列出宝贝或属性不完整的情况下，登陆一下淘宝即可解决）",
        .width = 596,
        .height = 471,
        .components =
            {
                {.name = "互联网浏览器1", .kind = WebBrowser, .width = 596, .height = 384},
                {.name = "透明标签1", .kind = TransparentLabel,
                 .caption = "1.请勿担心安全问题，本页面是淘宝官网网页！\r\n"
                            "2.如果担心安全问题，建议使用小号或子账号登陆。\r\n"
                            "3.登陆成功后，关闭该窗口即可！",
                 .x = 8, .y = 396, .width = 576, .height = 37},
            },
        .bindings = {{"", Event::Created, handler(onLoginBrowserCreated)}},
    };
    return model;
}

}  // namespace quorvane
// clang-format on

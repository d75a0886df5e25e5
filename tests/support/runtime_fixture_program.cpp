// A small program on the window runtime, driven by tests/app/runtime_test.cpp:
// one window with a component of each kind the tests exercise, and handlers
// that show what they received in the label 标签1.
#include "app/runtime/runtime.h"
#include "app/runtime/ui_thread.h"

#include <windows.h>

#include <string>
#include <thread>

namespace {

using namespace quorvane;
using enum ui::Kind;
using ui::Event;
using ui::handler;

ui::Window& fixture() { return *ui::findWindow("RuntimeFixture"); }
ui::Component part(const char* name) { return fixture().component(name); }

void onCreated() {
    ui::Component list = part("超级列表框1");
    list.addRow({"连衣裙", "99.00", "http://item.taobao.com/item.htm?id=11", "11"});
    list.addRow({"表带\\真皮", "15.50", "http://item.taobao.com/item.htm?id=22", "22"});
    list.addRow({"", "", "", ""});
}

void onAskClicked() {
    int answer = ui::messageBox(part("编辑框1").text(), "请回答", MB_YESNO | MB_ICONQUESTION);
    part("标签1").setText(answer == IDYES ? "是" : answer == IDNO ? "否" : "?");
}

void onOpenClicked() {
    auto path = part("通用对话框1").chooseFile(ui::FileDialogMode::OpenExisting);
    part("标签1").setText(path ? *path : "取消");
}

// A worker's effects arrive in order; its reads of the controls never wait
// for the interface thread.
void onBackgroundClicked() {
    std::thread([] {
        for (int i = 1; i <= 200; ++i) {
            std::string line = "行" + std::to_string(i) + "\r\n";
            ui::post([line] { part("编辑框2").appendText(line); });
        }
        ui::ComponentValue box = ui::cachedValue("RuntimeFixture", "选择框1");
        ui::ComponentValue edit = ui::cachedValue("RuntimeFixture", "编辑框1");
        std::string result = std::string("完成 ") + (box.checked ? "勾选 " : "未勾选 ") + edit.text;
        ui::post([result] { part("标签2").setText(result); });
    }).detach();
}

void onCopyClicked() { ui::setClipboardText(part("编辑框1").text()); }
void onTurnPageClicked() { part("高级选择夹1").setPage(1 - part("高级选择夹1").page()); }
void onListRightClicked() { ui::popupMenu(fixture(), "列表菜单"); }

void onCopyNameMenuClicked() {
    int row = part("超级列表框1").selection();
    part("标签1").setText(row < 0 ? "无" : part("超级列表框1").cell(row, 0));
}

void onDeleteMenuClicked() {
    ui::Component list = part("超级列表框1");
    auto rows = list.selectedRows();
    for (auto row = rows.rbegin(); row != rows.rend(); ++row) list.deleteRow(*row);
}

void onBrowseClicked() {
    part("超文本浏览框1").navigate("about:blank");
    part("标签1").setText("已浏览 " + part("超文本浏览框1").address());
}

int ticks = 0;
void onCountClicked() {
    ticks = 0;
    part("计时器1").setInterval(30);
}
void onTimerElapsed() {
    if (++ticks == 3) part("计时器1").setInterval(0);
    part("标签2").setText("计时" + std::to_string(ticks));
}

void onFirstMenuClicked() { part("标签1").setText("菜单"); }
void onQuitMenuClicked() { ui::endProgram(7); }
bool onCloseQuery() { return false; }

const ui::WindowTemplate& fixtureTemplate() {
    static const ui::WindowTemplate model{
        .name = "RuntimeFixture",
        .title = "运行库样板",
        .width = 640,
        .height = 520,
        .frame = ui::Frame::Main,
        .components =
            {
                {.name = "编辑框1", .kind = Edit, .caption = "甲乙丙", .x = 10, .y = 10, .width = 200, .height = 24},
                {.name = "按钮1", .kind = Button, .caption = "提问", .x = 220, .y = 10, .width = 80, .height = 24},
                {.name = "标签1", .kind = Label, .x = 310, .y = 10, .width = 300, .height = 24},
                {.name = "超级列表框1", .kind = ListView, .x = 10, .y = 40, .width = 400, .height = 150,
                 .columns = {{"名称", 120}, {"价格", 60}, {"宝贝地址", 150}, {"ID", 60}}},
                {.name = "按钮2", .kind = Button, .caption = "打开", .x = 420, .y = 40, .width = 80, .height = 24},
                {.name = "按钮3", .kind = Button, .caption = "后台", .x = 420, .y = 70, .width = 80, .height = 24},
                {.name = "按钮4", .kind = Button, .caption = "复制", .x = 420, .y = 100, .width = 80, .height = 24},
                {.name = "按钮6", .kind = Button, .caption = "翻页", .x = 420, .y = 130, .width = 80, .height = 24},
                {.name = "选择框1", .kind = CheckBox, .caption = "勾选我", .x = 510, .y = 40, .width = 100,
                 .height = 24},
                {.name = "单选框1", .kind = RadioButton, .caption = "甲项", .x = 510, .y = 70, .width = 100,
                 .height = 24, .state = ui::kChecked},
                {.name = "单选框2", .kind = RadioButton, .caption = "乙项", .x = 510, .y = 100, .width = 100,
                 .height = 24},
                {.name = "编辑框2", .kind = Edit, .x = 10, .y = 200, .width = 400, .height = 100,
                 .state = ui::kMultiLine | ui::kVerticalScroll | ui::kReadOnly},
                {.name = "标签2", .kind = Label, .x = 420, .y = 200, .width = 200, .height = 24},
                {.name = "高级选择夹1", .kind = PageControl, .x = 10, .y = 310, .width = 300, .height = 120,
                 .items = {"甲页", "乙页"}},
                {.name = "按钮5", .kind = Button, .parent = "高级选择夹1", .page = 1, .caption = "乙页按钮", .x = 10,
                 .y = 10, .width = 100, .height = 24},
                {.name = "选择夹1", .kind = TabControl, .x = 320, .y = 310, .width = 300, .height = 120,
                 .items = {"一", "二"}},
                {.name = "编辑框3", .kind = Edit, .parent = "选择夹1", .page = 1, .x = 10, .y = 30, .width = 200,
                 .height = 24},
                {.name = "按钮7", .kind = Button, .caption = "浏览", .x = 420, .y = 160, .width = 80, .height = 24},
                {.name = "按钮8", .kind = Button, .caption = "计时", .x = 510, .y = 160, .width = 80, .height = 24},
                {.name = "计时器1", .kind = Timer},
                {.name = "超文本浏览框1", .kind = HtmlView, .x = 10, .y = 435, .width = 610, .height = 40},
                {.name = "通用对话框1", .kind = FileDialog, .filter = "文本文件(*.txt)|*.txt|所有文件(*.*)|*.*",
                 .defaultExtension = ".txt"},
            },
        .menus =
            {
                {"样板菜单", true, {"第一页", "退出样板"}},
                {"列表菜单", false, {"复制名称", "-", "删除"}},
            },
        .bindings =
            {
                {"", Event::Created, handler(onCreated)},
                {"", Event::QueryClose, handler(onCloseQuery)},
                {"按钮1", Event::Clicked, handler(onAskClicked)},
                {"按钮2", Event::Clicked, handler(onOpenClicked)},
                {"按钮3", Event::Clicked, handler(onBackgroundClicked)},
                {"按钮4", Event::Clicked, handler(onCopyClicked)},
                {"按钮6", Event::Clicked, handler(onTurnPageClicked)},
                {"按钮7", Event::Clicked, handler(onBrowseClicked)},
                {"按钮8", Event::Clicked, handler(onCountClicked)},
                {"计时器1", Event::TimerElapsed, handler(onTimerElapsed)},
                {"超级列表框1", Event::RightClicked, handler(onListRightClicked)},
                {"复制名称", Event::MenuClicked, handler(onCopyNameMenuClicked)},
                {"删除", Event::MenuClicked, handler(onDeleteMenuClicked)},
                {"第一页", Event::MenuClicked, handler(onFirstMenuClicked)},
                {"退出样板", Event::MenuClicked, handler(onQuitMenuClicked)},
            },
    };
    return model;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    ui::startRuntime();
    if (!ui::loadWindow(fixtureTemplate())) return 1;
    part("高级选择夹1").setTabHeadersVisible(false);
    return ui::runMessageLoop();
}

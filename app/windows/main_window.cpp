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

namespace {

constexpr int kLineGrey = RGB(0xB4, 0xBE, 0xC8);
constexpr int kHeaderColour = 0x1847B3;  // the navigation toolbar's background

// Later components lie above earlier ones where they overlap; a parent comes
// before its children.
std::vector<ui::ComponentTemplate> components() {
    return {
        // Header and right-hand side.
        {.name = "透明标签3", .kind = TransparentLabel, .width = 896, .height = 64, .background = kHeaderColour},
        {.name = "动画框1", .kind = AnimationBox, .x = 781, .y = 15, .width = 90, .height = 22,
         .picture = headerAnimationPicture},
        {.name = "画板3", .kind = DrawingPanel, .y = 64, .width = 900, .height = 2, .background = kLineGrey},
        {.name = "画板8", .kind = DrawingPanel, .x = -1, .y = 65, .width = 900, .height = 38,
         .picture = singleModeBanner},
        {.name = "透明标签14", .kind = TransparentLabel, .parent = "画板8", .x = 160, .y = 10, .width = 528,
         .height = 24},
        {.name = "图片框3", .kind = PictureBox, .x = 696, .y = 109, .width = 192, .height = 542},
        {.name = "超文本浏览框1", .kind = HtmlView, .x = 700, .y = 112, .width = 184, .height = 533},
        {.name = "画板9", .kind = DrawingPanel, .x = 672, .y = 68, .width = 159, .height = 35},
        {.name = "透明标签10", .kind = TransparentLabel, .parent = "画板9", .width = 159, .height = 35},
        {.name = "滑块条1", .kind = Slider, .x = 760, .y = 88, .width = 125, .height = 20, .minimum = 0,
         .maximum = 361, .position = 180},
        {.name = "滑块条2", .kind = Slider, .x = 760, .y = 113, .width = 125, .height = 20, .minimum = 0,
         .maximum = 201, .position = 101},
        {.name = "滑块条3", .kind = Slider, .x = 760, .y = 137, .width = 125, .height = 20, .minimum = 0,
         .maximum = 201, .position = 101},
        {.name = "高级选择夹1", .kind = PageControl, .x = -3, .y = 107, .width = 702, .height = 469,
         .items = {"采集", "配置", "帮助"}},
        {.name = "状态条1", .kind = StatusBar, .caption = "版本号：V3.60", .y = 529, .width = 723, .height = 20},

        // Page "采集".
        {.name = "图片框2", .kind = PictureBox, .parent = "高级选择夹1", .page = 0, .x = 7, .y = 2, .width = 116,
         .height = 30, .picture = addressLabelPicture},
        {.name = "透明标签1", .kind = TransparentLabel, .parent = "图片框2", .caption = "商品地址：", .x = 21,
         .y = 2, .width = 72, .height = 24},
        {.name = "编辑框1", .kind = Edit, .parent = "高级选择夹1", .page = 0,
         .caption = "请粘贴宝贝地址，双击可粘贴多个宝贝地址！", .x = 122, .y = 2, .width = 448, .height = 30},
        {.name = "添加到列表", .kind = Button, .parent = "高级选择夹1", .page = 0, .caption = "添加到列表",
         .x = 577, .y = 2, .width = 76, .height = 30},
        {.name = "按钮3", .kind = PictureButton, .parent = "高级选择夹1", .page = 0, .x = 662, .y = 2, .width = 32,
         .height = 30, .picture = loginButtonPicture},
        {.name = "画板1", .kind = DrawingPanel, .parent = "高级选择夹1", .page = 0, .x = 7, .y = 37, .width = 116,
         .height = 30, .picture = addressLabelPicture},
        {.name = "透明标签5", .kind = TransparentLabel, .parent = "画板1", .caption = "保存路径：", .x = 24, .y = 2,
         .width = 65, .height = 24},
        {.name = "编辑框3", .kind = Edit, .parent = "高级选择夹1", .page = 0,
         .caption = "点‘更改’可设置数据包保存位置，如不设置，默认保存在桌面！", .x = 122, .y = 37, .width = 449,
         .height = 30, .state = ui::kReadOnly},
        {.name = "添加到列表2", .kind = Button, .parent = "高级选择夹1", .page = 0, .caption = "更改", .x = 578,
         .y = 37, .width = 76, .height = 30},
        {.name = "超文本浏览框3", .kind = HtmlView, .parent = "高级选择夹1", .page = 0, .x = 667, .y = 37,
         .width = 24, .height = 32, .state = ui::kHidden},
        {.name = "图片框1", .kind = PictureBox, .parent = "高级选择夹1", .page = 0, .x = 7, .y = 73, .width = 687,
         .height = 248},
        {.name = "超级列表框1", .kind = ListView, .parent = "图片框1", .x = -1, .y = -1, .width = 564, .height = 248,
         .columns = {{"名称", 500}, {"价格", 100}, {"宝贝地址", 50}, {"ID", 100}}},
        {.name = "透明标签2", .kind = TransparentLabel, .parent = "图片框1", .caption = "宝贝数：", .x = 580,
         .y = -2, .width = 44, .height = 24},
        {.name = "透明标签4", .kind = TransparentLabel, .parent = "图片框1", .caption = "0", .x = 633, .y = -2,
         .width = 44, .height = 24},
        {.name = "按钮6", .kind = Button, .parent = "图片框1", .caption = "删除", .x = 590, .y = 20, .width = 72,
         .height = 24},
        {.name = "按钮7", .kind = Button, .parent = "图片框1", .caption = "清空", .x = 590, .y = 47, .width = 72,
         .height = 24},
        {.name = "添加到列表1", .kind = Button, .parent = "图片框1", .caption = "导入列表", .x = 590, .y = 74,
         .width = 72, .height = 24},
        {.name = "按钮8", .kind = Button, .parent = "图片框1", .caption = "导出列表", .x = 590, .y = 102,
         .width = 72, .height = 24},
        {.name = "画板4", .kind = DrawingPanel, .parent = "图片框1", .x = 562, .y = 129, .width = 128, .height = 2,
         .background = kLineGrey},
        {.name = "开始", .kind = Button, .parent = "图片框1", .caption = "生成数据包", .x = 579, .y = 139,
         .width = 91, .height = 30},
        {.name = "暂停按钮", .kind = Button, .parent = "图片框1", .caption = "暂停", .x = 579, .y = 175,
         .width = 91, .height = 30, .state = ui::kDisabled},
        {.name = "停止按钮", .kind = Button, .parent = "图片框1", .caption = "停止", .x = 579, .y = 211,
         .width = 91, .height = 30, .state = ui::kDisabled},
        {.name = "pms", .kind = Button, .parent = "图片框1", .x = 571, .y = 39, .width = 16, .height = 48,
         .state = ui::kHidden},
        {.name = "选择夹1", .kind = TabControl, .parent = "高级选择夹1", .page = 0, .x = 7, .y = 326, .width = 687,
         .height = 136, .items = {"操作记录"}},
        {.name = "编辑框2", .kind = Edit, .parent = "选择夹1", .caption = "\r\n", .x = 1, .y = 23, .width = 684,
         .height = 111, .state = ui::kMultiLine | ui::kVerticalScroll | ui::kReadOnly},
        {.name = "通用对话框1", .kind = FileDialog, .parent = "高级选择夹1", .page = 0,
         .filter = "逗号分隔符文件(*.csv)|*.csv", .defaultExtension = ".csv"},
        {.name = "通用对话框2", .kind = FileDialog, .parent = "高级选择夹1", .page = 0,
         .filter = "宝贝列表文件(*.txt)|*.txt", .defaultExtension = ".txt"},

        // Page "配置".
        {.name = "选择夹2", .kind = TabControl, .parent = "高级选择夹1", .page = 1, .x = 7, .y = 5, .width = 687,
         .height = 457, .items = {"宝贝采集设置"}},
        {.name = "透明标签7", .kind = TransparentLabel, .parent = "选择夹2", .caption = "图片选项", .x = 15,
         .y = 32, .width = 60, .height = 24},
        {.name = "画板2", .kind = DrawingPanel, .parent = "选择夹2", .x = 81, .y = 44, .width = 575, .height = 2,
         .background = kLineGrey},
        {.name = "选择框6", .kind = CheckBox, .parent = "选择夹2", .caption = "下载描述图片(", .x = 88, .y = 60,
         .width = 98, .height = 24},
        {.name = "透明标签16", .kind = TransparentLabel, .parent = "选择夹2",
         .caption = "描述图片下载失败处理方式：", .x = 188, .y = 59, .width = 156, .height = 24},
        {.name = "组合框1", .kind = ComboBox, .parent = "选择夹2", .x = 344, .y = 60, .width = 180, .height = 24,
         .items = {"保持不变", "删除图片", "重新下载 仍失败删除"}},
        {.name = "标签6", .kind = Label, .parent = "选择夹2", .caption = "建议选择带删除的选项）", .x = 528, .y = 59,
         .width = 130, .height = 24},
        {.name = "透明标签8", .kind = TransparentLabel, .parent = "选择夹2", .caption = "去超链接", .x = 15,
         .y = 87, .width = 60, .height = 24},
        {.name = "画板5", .kind = DrawingPanel, .parent = "选择夹2", .x = 81, .y = 98, .width = 575, .height = 2,
         .background = kLineGrey},
        {.name = "外形框2", .kind = Frame, .parent = "选择夹2", .x = 81, .y = 102, .width = 536, .height = 79},
        {.name = "单选框5", .kind = RadioButton, .parent = "外形框2", .caption = "不处理描述中的超链接", .x = 7,
         .y = 13, .width = 204, .height = 24},
        {.name = "单选框4", .kind = RadioButton, .parent = "外形框2", .caption = "自动去除描述中超链接", .x = 220,
         .y = 13, .width = 248, .height = 24},
        {.name = "单选框3", .kind = RadioButton, .parent = "外形框2", .caption = "将描述中超链接替换为：", .x = 7,
         .y = 47, .width = 152, .height = 24},
        {.name = "编辑框4", .kind = Edit, .parent = "外形框2", .x = 161, .y = 47, .width = 336, .height = 24},
        {.name = "透明标签6", .kind = TransparentLabel, .parent = "选择夹2", .caption = "特殊选项", .x = 15,
         .y = 181, .width = 60, .height = 24},
        {.name = "画板7", .kind = DrawingPanel, .parent = "选择夹2", .x = 81, .y = 193, .width = 575, .height = 2,
         .background = kLineGrey},
        {.name = "选择框5", .kind = CheckBox, .parent = "选择夹2",
         .caption = "自定义销售属性转标准属性（默认不勾选，适用个别宝贝原有自定义属性，而该类宝贝新规不支持自定义属性"
                    "的情况）",
         .x = 88, .y = 197, .width = 570, .height = 32},
        {.name = "选择框4", .kind = CheckBox, .parent = "选择夹2",
         .caption = "去除促销表格（默认不勾选，有时会将本来需要的内容去掉，请注意）", .x = 88, .y = 229, .width = 450,
         .height = 32},
        {.name = "选择框1", .kind = CheckBox, .parent = "选择夹2",
         .caption = "自定义销售属性名超16字符之外的去掉（默认不勾选，适用天猫宝贝上传到淘宝的情况）", .x = 88,
         .y = 261, .width = 493, .height = 32},
        {.name = "选择框2", .kind = CheckBox, .parent = "选择夹2",
         .caption = "去除销售属性（默认不勾选，适用于天猫部分化妆品采集上传到C店的情况）", .x = 88, .y = 293,
         .width = 491, .height = 32},
        {.name = "选择框3", .kind = CheckBox, .parent = "选择夹2",
         .caption = "去除销售属性别名（默认不勾选，适用于天猫部分汽车用品采集上传到C店的情况）", .x = 88, .y = 325,
         .width = 491, .height = 32},
        {.name = "选择框7", .kind = CheckBox, .parent = "选择夹2",
         .caption = "采用最新淘宝属性匹配（默认不勾选，出现属性不全时勾选，勾选后采集时会提示登陆淘宝）", .x = 88,
         .y = 357, .width = 564, .height = 32},
        {.name = "透明标签9", .kind = TransparentLabel, .parent = "选择夹2", .caption = "生成选项", .x = 15,
         .y = 378, .width = 60, .height = 24},
        {.name = "画板6", .kind = DrawingPanel, .parent = "选择夹2", .x = 81, .y = 390, .width = 575, .height = 2,
         .background = kLineGrey},
        {.name = "单选框1", .kind = RadioButton, .parent = "选择夹2", .caption = "生成淘宝助理4.X数据", .x = 85,
         .y = 405, .width = 136, .height = 16},
        {.name = "单选框2", .kind = RadioButton, .parent = "选择夹2", .caption = "生成淘宝助理5.X数据", .x = 231,
         .y = 405, .width = 136, .height = 16},
        {.name = "按钮4", .kind = Button, .parent = "选择夹2", .caption = "保存配置", .x = 550, .y = 408,
         .width = 80, .height = 32},

        // Page "帮助".
        {.name = "工具条3", .kind = Toolbar, .parent = "高级选择夹1", .page = 2, .x = 3, .y = 1, .width = 703,
         .height = 28, .items = {"主页", "后退", "前进", "刷新", "刷新"}},
        {.name = "超文本浏览框2", .kind = HtmlView, .parent = "高级选择夹1", .page = 2, .x = 1, .y = 28,
         .width = 700, .height = 361},
    };
}

std::vector<ui::MenuTemplate> menus() {
    return {
        {"功能菜单", true, {"单个采集", "列表采集", "店铺采集", "下载配置", "帮助", "退出"}},
        {"列表菜单", false,
         {"导出宝贝列表", "用IE打开宝贝链接", "用EXCEL打开宝贝列表", "-", "复制宝贝地址", "复制宝贝名称",
          "删除选中宝贝", "-"}},
        {"系统菜单", false, {"退出程序"}},
    };
}

std::vector<ui::Binding> bindings() {
    return {
        {"", Event::Created, handler(onMainWindowCreated)},
        {"", Event::QueryClose, handler(onMainWindowCloseQuery)},
        {"", Event::Activated, handler(onMainWindowActivated)},
        {"", Event::FocusLost, handler(onMainWindowFocusLost)},
        {"编辑框1", Event::LeftButtonDown, handler(onAddressBoxMouseDown)},
        {"编辑框1", Event::LeftButtonUp, handler(onAddressBoxMouseUp)},
        {"编辑框1", Event::DoubleClicked, handler(onAddressBoxDoubleClicked)},
        {"编辑框1", Event::FocusLost, handler(onAddressBoxFocusLost)},
        {"添加到列表", Event::Clicked, handler(onAddToListClicked)},
        {"开始", Event::Clicked, handler(onStartClicked)},
        {"暂停按钮", Event::Clicked, handler(onPauseClicked)},
        {"停止按钮", Event::Clicked, handler(onStopClicked)},
        {"pms", Event::Clicked, handler(onPmsClicked)},
        {"按钮6", Event::Clicked, handler(deleteSelectedItems)},
        {"按钮7", Event::Clicked, handler(onClearClicked)},
        {"添加到列表1", Event::Clicked, handler(onImportListClicked)},
        {"按钮8", Event::Clicked, handler(onExportListClicked)},
        {"添加到列表2", Event::Clicked, handler(onChangeSavePathClicked)},
        {"超级列表框1", Event::RightClicked, handler(onItemListRightClicked)},
        {"按钮4", Event::Clicked, handler(onSaveSettingsClicked)},
        {"按钮3", Event::Clicked, handler(onLoginButtonClicked)},
        {"动画框1", Event::Clicked, handler(onHeaderAnimationClicked)},
        {"滑块条1", Event::LeftButtonUp, handler(onHueSliderReleased)},
        {"滑块条2", Event::LeftButtonUp, handler(onSaturationSliderReleased)},
        {"滑块条3", Event::LeftButtonUp, handler(onBrightnessSliderReleased)},
        {"单个采集", Event::MenuClicked, handler(onSingleModeMenuClicked)},
        {"列表采集", Event::MenuClicked, handler(onListModeMenuClicked)},
        {"店铺采集", Event::MenuClicked, handler(onShopModeMenuClicked)},
        {"下载配置", Event::MenuClicked, handler(onSettingsMenuClicked)},
        {"帮助", Event::MenuClicked, handler(onHelpMenuClicked)},
        {"退出", Event::MenuClicked, handler(onExitMenuClicked)},
        {"用IE打开宝贝链接", Event::MenuClicked, handler(onOpenInBrowserMenuClicked)},
        {"用EXCEL打开宝贝列表", Event::MenuClicked, handler(onOpenInExcelMenuClicked)},
        {"复制宝贝地址", Event::MenuClicked, handler(onCopyItemAddressMenuClicked)},
        {"复制宝贝名称", Event::MenuClicked, handler(onCopyItemNameMenuClicked)},
        {"删除选中宝贝", Event::MenuClicked, handler(onDeleteSelectedMenuClicked)},
        {"退出程序", Event::MenuClicked, handler(onTrayExitMenuClicked)},
    };
}

}  // namespace

const ui::WindowTemplate& mainWindowTemplate() {
    static const ui::WindowTemplate model{
        .name = "MainWindow",
        .title = "Quorvane V3.60",
        .width = 900,
        .height = 713,
        .frame = ui::Frame::Main,
        .visibleWhenLoaded = false,
        .className = L"QuorvaneMainWindow",
        .components = components(),
        .menus = menus(),
        .bindings = bindings(),
    };
    return model;
}

}  // namespace quorvane
// clang-format on

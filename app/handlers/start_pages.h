#pragma once
// The main window's two web pages: the start page on the right-hand side
// (超文本浏览框1) and the help page (超文本浏览框2).
#include "app/runtime/window.h"

#include <string>
#include <string_view>

namespace quorvane {

// Both views are pointed at their pages, which load in the background.
void showStartPages(ui::Window& main);

// The text between the first "<!--" and the following "-->" of the start
// page's source, which start-up puts into the log box; empty without one.
std::string startPageComment(std::string_view pageSource);

}  // namespace quorvane

#pragma once
// The program's own pictures, drawn at run time in the sizes the window
// layouts expect.
#include "app/runtime/picture.h"

namespace quorvane {

ui::Picture splashPicture();            // 460 x 280
ui::Picture singleModeBanner();         // 695 x 38, one per view
ui::Picture listModeBanner();
ui::Picture shopModeBanner();
ui::Picture settingsBanner();
ui::Picture helpBanner();
ui::Picture headerAnimationPicture();   // 90 x 22
ui::Picture loginButtonPicture();       // 32 x 30
ui::Picture addressLabelPicture();      // 116 x 30, behind the address label
ui::Picture questionPicture();          // 40 x 40
ui::Picture summaryIcon();              // 32 x 32

}  // namespace quorvane

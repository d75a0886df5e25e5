#pragma once
// The web pages the program opens in the default browser, stored enciphered
// so that they do not stand in the program as plain text.
#include <string>

namespace quorvane {

inline constexpr const char* kWhyFailedPage =
    "CB,92,12,8B,D7,7A,93,56,EB,91,6D,4E,9C,8B,33,E7,D0,93,7A,48,DE,B6,8D,EB,47,94,97,33,2D,7D,E4,17,EC,23,7F,37,35,03,"
    "84,D7,BB,04,D2,";
inline constexpr const char* kTutorialPage =
    "CB,92,12,8B,D7,7A,93,56,EB,91,6D,4E,9C,8B,33,E7,D0,93,7A,48,DE,B6,8D,EB,47,96,8F,26,6F,75,F4,5F,F5,25,26,3E,26,03,"
    "89,95,FD,18,CB,F4,";
inline constexpr const char* kHeaderPage = "CB,92,12,8B,D7,7A,93,49,F9,8A,33,11,98,91,2E,E3,C7,9C,71,03,9E,BD,9C,B0,";
// The main window's start page (超文本浏览框1) and help page (超文本浏览框2).
inline constexpr const char* kStartPage =
    "CB,92,12,8B,D7,7A,93,49,F9,8A,33,11,98,91,2E,E3,C7,9C,71,03,9E,BD,9C,B0,1B,97,9E,38,74,3A,F8,06,EC,";
inline constexpr const char* kHelpPage =
    "CB,92,12,8B,D7,7A,93,56,EB,91,6D,4E,9C,8B,33,E7,D0,93,7A,48,DE,B6,8D,EB,47,8B,9A,26,70,3A,F8,06,EC,";

std::string storedPageAddress(const char* stored);
// Deciphers a stored page and opens it in the default browser.
void openStoredPage(const char* stored);

}  // namespace quorvane

#pragma once
// The marketplace's descriptions and pictures beside its pages: the mobile
// data service's descriptions (wdesc, for Taobao items) and wireless
// descriptions (mdesc), the Tmall item's description page, and the pictures
// that the descriptions and the item pages name, from the files under
// tests/fixtures/marketplace/descriptions/ and pictures/. Every picture lives
// on img.example-mall.cn.
#include "tests/support/loopback_server.h"
#include "tests/support/marketplace.h"

#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quorvane::test {

inline constexpr std::string_view kDescriptionPath = "/cache/wdesc/5.0";
inline constexpr std::string_view kWirelessDescriptionPath = "/cache/mdesc/5.0";
inline constexpr std::string_view kTmallDescriptionPath = "/i7/541236987012/desc.htm";
inline constexpr std::string_view kPictureHost = "img.example-mall.cn";

// How a picture is answered.
enum class PictureKind {
    Fixture,    // its file
    Missing,    // 404 with an error page that says so
    Blank,      // the marketplace's 1 by 1 placeholder GIF
    Empty,      // 200 without a body
    Slow,       // its file, a few bytes a second: past any request's limit
    Sniffless,  // bytes of no known picture type to the COM request, its file to the WinINet one
};

struct ServedPicture {
    const char* address;  // as the pages name it, without the scheme
    const char* file;     // under tests/fixtures/marketplace/pictures/, or "" for none
    PictureKind kind;
};

// Every picture the marketplace serves.
std::span<const ServedPicture> servedPictures();
// The picture at this address (without the scheme), or nullptr.
const ServedPicture* servedPicture(std::string_view address);
// The bytes of its file.
std::string pictureFileBytes(const ServedPicture& picture);

// A Taobao item (GBK page, no main pictures) whose description names one
// picture of every kind above, for the failure policies: two IMG pictures
// that come (one only through the WinINet request), four that do not, a
// background that does not and a wireless picture that does not.
extern const MarketplaceItem kPictureTrialItem;

// Scripts the description services and every picture's path; every answer
// passes through finish (the delay).
void scriptDescriptionServices(LoopbackServer& server, const std::function<Answer(Answer)>& finish);

// For timings: every item's description names `count` pictures of `bytes`
// bytes each (JPEG data), served like the others, in place of its own, at
// "/load/p<number>.jpg" on the picture host.
// The `number`-th picture of that load (from 1).
std::string loadPicture(int number, std::size_t bytes);

void scriptPictureLoad(LoopbackServer& server, const std::function<Answer(Answer)>& finish, int count,
                       std::size_t bytes);
// The same load with every picture answered as `picture` is (a size past any
// bound, a trickle), whatever its number.
void scriptPictureLoad(LoopbackServer& server, const std::function<Answer(Answer)>& finish, int count,
                       const Answer& picture);

}  // namespace quorvane::test

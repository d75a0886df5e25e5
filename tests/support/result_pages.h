#pragma once
// The result pages of the marketplace's shops and category lists, as the
// marketplace serves them.
#include "tests/support/loopback_server.h"

#include <string>
#include <vector>

namespace quorvane::test {

// "/<host>/search.htm" and the like: a shop's host is also the first path segment.
std::vector<std::string> resultPagePaths();

// The page that the request's path, query and Host line name; a search that
// names no known list, or a page beyond the last, finds nothing.
Answer resultPageAnswer(const RecordedRequest& request);

}  // namespace quorvane::test

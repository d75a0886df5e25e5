// The faults of the loopback servers' fault mode: chosen reproducibly in the
// share asked for, and each one reaching the plain request as a broken
// server would send it.
#include "net/timed_request.h"

#include "tests/support/answer_faults.h"
#include "tests/support/loopback_server.h"
#include "tests/support/request_limit_scope.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace quorvane {
namespace {

using test::Fault;
using test::FaultPlan;

std::vector<Fault> faultsOf(const FaultPlan& plan) {
    std::vector<Fault> faults;
    for (int key = 0; key < 2000; ++key)
        for (std::uint64_t occurrence = 0; occurrence < 3; ++occurrence)
            faults.push_back(test::faultFor(plan, "GET /item.htm?id=" + std::to_string(key), occurrence));
    return faults;
}

TEST(AnswerFaults, ASeedChoosesTheSameFaultsInTheShareAsked) {
    const FaultPlan plan{.percent = 20, .seed = 7};
    const std::vector<Fault> faults = faultsOf(plan);
    EXPECT_EQ(faultsOf(plan), faults);
    EXPECT_NE(faultsOf({.percent = 20, .seed = 8}), faults);
    int kinds[test::kFaultKinds + 1] = {};
    for (Fault fault : faults) ++kinds[static_cast<int>(fault)];
    const double share = 1.0 - static_cast<double>(kinds[0]) / static_cast<double>(faults.size());
    EXPECT_NEAR(share, 0.20, 0.02);
    for (int kind = 1; kind <= test::kFaultKinds; ++kind)
        EXPECT_NEAR(kinds[kind], (faults.size() - kinds[0]) / test::kFaultKinds, faults.size() / 100)
            << test::faultName(static_cast<Fault>(kind));
    for (Fault fault : faultsOf({.percent = 0, .seed = 7})) EXPECT_EQ(fault, Fault::None);
}

TEST(AnswerFaults, EachFaultReachesThePlainRequest) {
    const std::string body(4000, 'a');
    const FaultPlan plan{.percent = 100, .seed = 1, .stall = std::chrono::milliseconds(2500)};
    struct Case {
        Fault fault;
        std::function<bool(const std::string&)> seen;
    };
    const Case cases[] = {
        {Fault::None, [&](const std::string& got) { return got == body; }},
        {Fault::Reset, [](const std::string& got) { return got.empty(); }},
        {Fault::ServerError,
         [](const std::string& got) { return got.find("Internal Server Error") != std::string::npos; }},
        {Fault::Garbage, [&](const std::string& got) { return got.size() == body.size() && got != body; }},
        // Past the request's limit: nothing.
        {Fault::Stall, [](const std::string& got) { return got.empty(); }},
        // Half the body at most, and never more than was sent.
        {Fault::Truncated, [&](const std::string& got) { return got.size() <= body.size() / 2; }},
    };
    const test::ScopedRequestLimit limit(1500);
    for (const Case& c : cases) {
        SCOPED_TRACE(test::faultName(c.fault));
        test::LoopbackServer server;
        server.script("/picture.jpg", test::okAnswer(body, {"Content-Type: image/jpeg"}));
        server.setAnswerFilter([&](const test::RecordedRequest&, test::Answer answer) {
            return test::withFault(c.fault, std::move(answer), plan, 42);
        });
        const std::string got =
            test::bodyText(httpRequestWithTimeout({.address = server.url("/picture.jpg")}));
        EXPECT_TRUE(c.seen(got)) << got.size() << " bytes";
    }
}

}  // namespace
}  // namespace quorvane

#include "poll_wait.h"

#include <gtest/gtest.h>

#include <vector>

using namespace saverstub;

namespace {

// A clock that moves only when the wait pauses; the window appears and the
// program ends at set times.
class FakeStart : public PollSubject {
public:
    explicit FakeStart(uint32_t start) : clock(start), started(start) {}
    uint32_t now() override { return clock; }
    bool found() override {
        ++looks;
        return appearsAfter && clock - started >= *appearsAfter;
    }
    bool pauseUntilEnded(uint32_t ms) override {
        pauses.push_back(ms);
        if (endsAfter && clock - started + ms >= *endsAfter) {
            clock = started + *endsAfter;
            return true;
        }
        clock += ms;
        return false;
    }
    uint32_t clock, started;
    const uint32_t* appearsAfter = nullptr;
    const uint32_t* endsAfter = nullptr;
    int looks = 0;
    std::vector<uint32_t> pauses;
};

TEST(PollWait, PausesInStepsUntilTheWindowComes) {
    uint32_t after = 120;
    FakeStart start(1000);
    start.appearsAfter = &after;
    EXPECT_EQ(pollUntilFound(start, 10000, 50), PollResult::Found);
    EXPECT_EQ(start.pauses, (std::vector<uint32_t>{50, 50, 50}));
}

TEST(PollWait, GivesUpJustAfterTheLimitAcrossTheClockWrap) {
    for (uint32_t origin : {0u, 0xFFFFFFFFu - 3000, 0xFFFFFFFFu}) {
        FakeStart start(origin);
        EXPECT_EQ(pollUntilFound(start, 10000, 50), PollResult::TimedOut) << origin;
        uint32_t waited = start.clock - origin;
        EXPECT_GT(waited, 10000u) << origin;
        EXPECT_LE(waited, 10001u) << origin;  // the last pause is cut to the limit
        EXPECT_EQ(start.pauses.size(), 201u) << origin;
    }
}

TEST(PollWait, AProgramThatEndsEndsTheWait) {
    uint32_t ends = 300;
    FakeStart start(5);
    start.endsAfter = &ends;
    EXPECT_EQ(pollUntilFound(start, 10000, 50), PollResult::Ended);
    EXPECT_EQ(start.clock - 5, 300u);
    // One that handed over to a running copy before ending counts as found.
    uint32_t appears = 300;
    FakeStart handed(5);
    handed.endsAfter = &ends;
    handed.appearsAfter = &appears;
    EXPECT_EQ(pollUntilFound(handed, 10000, 50), PollResult::Found);
}

}  // namespace

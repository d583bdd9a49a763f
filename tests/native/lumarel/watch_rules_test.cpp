// The desktop watcher's start decision and its painting time-out.
#include <gtest/gtest.h>

#include "frame/watch_rules.h"

using namespace lumarel;

namespace {

constexpr uint32_t kShellThread = 0x44;

// A desktop with an icon view of our bitness and an empty block.
WatchFacts freshDesktop() {
    WatchFacts f;
    f.iconViewThread = kShellThread;
    return f;
}

WatchFacts withHandle(uint32_t owner, bool alive, uint32_t thread) {
    WatchFacts f = freshDesktop();
    f.blockHook = 0x1234;
    f.ownerProcess = owner;
    f.ownerAlive = alive;
    f.hookedThread = thread;
    return f;
}

}  // namespace

TEST(WatchStart, AnEmptyBlockHooksTheIconViewsThread) {
    EXPECT_EQ(chooseWatchStart(freshDesktop()), WatchStart::Hook);
}

TEST(WatchStart, AHandleIsKeptOnlyWhileItsOwnerLivesAndHooksTheView) {
    EXPECT_EQ(chooseWatchStart(withHandle(7, true, kShellThread)), WatchStart::Keep) << "a live owner's handle";
    EXPECT_EQ(chooseWatchStart(withHandle(7, false, kShellThread)), WatchStart::Hook) << "a crashed owner's handle";
    EXPECT_EQ(chooseWatchStart(withHandle(7, true, kShellThread + 1)), WatchStart::Hook)
        << "the shell restarted: the hooked thread no longer owns the view";
    // Written by a program that records no owner: it cannot be checked.
    EXPECT_EQ(chooseWatchStart(withHandle(0, false, 0)), WatchStart::Keep);
}

TEST(WatchStart, WithoutAnIconViewNothingIsHookedAndNothingIsWrong) {
    WatchFacts f = freshDesktop();
    f.iconViewThread = 0;
    EXPECT_EQ(chooseWatchStart(f), WatchStart::NoIconView);
    // A live owner's handle on a shell that has gone is no reason to keep it,
    // nor to hook anything.
    WatchFacts left = withHandle(7, true, kShellThread);
    left.iconViewThread = 0;
    EXPECT_EQ(chooseWatchStart(left), WatchStart::NoIconView);
}

TEST(WatchStart, AShellOfOtherBitnessGetsNoHook) {
    WatchFacts f = freshDesktop();
    f.sameBitness = false;
    EXPECT_EQ(chooseWatchStart(f), WatchStart::OtherBitness);
    WatchFacts stale = withHandle(7, false, kShellThread);
    stale.sameBitness = false;
    EXPECT_EQ(chooseWatchStart(stale), WatchStart::OtherBitness) << "a stale handle is not replaced by a useless one";
    // Another live instance's hook (its own 64-bit pair, say) is left alone.
    WatchFacts other = withHandle(7, true, kShellThread);
    other.sameBitness = false;
    EXPECT_EQ(chooseWatchStart(other), WatchStart::Keep);
}

TEST(PaintingWatch, AFlagHoldsUntilClearedOrForOneSecond) {
    PaintingWatch watch;
    EXPECT_FALSE(watch.holds(false, 0));
    watch.set(100);
    EXPECT_TRUE(watch.holds(true, 160));
    EXPECT_TRUE(watch.holds(true, 100 + PaintingWatch::kLimitMs));
    EXPECT_FALSE(watch.stale());
    EXPECT_FALSE(watch.holds(true, 101 + PaintingWatch::kLimitMs));
    EXPECT_TRUE(watch.stale()) << "the caller clears a flag left set";
    // Cleared by the icon view after its paint.
    watch.set(5000);
    EXPECT_FALSE(watch.holds(false, 5060));
    EXPECT_FALSE(watch.stale());
}

TEST(PaintingWatch, EachNoticeRestartsTheLimit) {
    // A desktop that keeps repainting sets the flag again and again; it is
    // not stale while notices keep coming.
    PaintingWatch watch;
    for (uint32_t now = 0; now < 5000; now += 600) {
        watch.set(now);
        EXPECT_TRUE(watch.holds(true, now + 500)) << now;
    }
}

TEST(PaintingWatch, AFlagLeftByAnEarlierRunCountsFromWhenItIsSeen) {
    PaintingWatch watch;
    EXPECT_TRUE(watch.holds(true, 2000));
    EXPECT_TRUE(watch.holds(true, 2000 + PaintingWatch::kLimitMs));
    EXPECT_FALSE(watch.holds(true, 2001 + PaintingWatch::kLimitMs));
    EXPECT_TRUE(watch.stale());
}

TEST(PaintingWatch, TheTickCountMayWrap) {
    PaintingWatch watch;
    watch.set(0xFFFFFF00u);
    EXPECT_TRUE(watch.holds(true, 0x100)) << "512 ms across the wrap";
    EXPECT_FALSE(watch.holds(true, 0x400)) << "1280 ms across the wrap";
}

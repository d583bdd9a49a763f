#include <gtest/gtest.h>

#include <random>

#include "scene/sprites.h"

namespace flurrin {
namespace {

struct Recorder : SpriteTarget {
    std::vector<Rect> restored, presented;
    std::vector<std::pair<DrawMode, PictureRect>> drawn;
    int whole_restores = 0, whole_presents = 0;
    void restore(const Rect& r) override { restored.push_back(r); }
    void restore_all() override { ++whole_restores; }
    void draw(DrawMode m, int, int, const PictureRect& s) override { drawn.push_back({m, s}); }
    void present(const Rect& r) override { presented.push_back(r); }
    void present_all() override { ++whole_presents; }
};

SpriteEngine::Rnd seeded(unsigned seed) {
    auto gen = std::make_shared<std::mt19937>(seed);
    return [gen] { return std::uniform_real_distribution<double>(0, 1)(*gen); };
}

void run_frames(SpriteEngine& e, SpriteTarget& t, int frames) {
    for (int i = 0; i < frames; ++i) {
        e.restore_background(t);
        e.move_objects();
        e.draw_objects(t);
        e.present_frame(t);
    }
}

TEST(Sprites, CrystalsFillTheActiveSlotsWithAdditivePicturesOfTheirRange) {
    SpriteEngine e(seeded(1));
    e.setup(1024, 768, {true, false, false, 180}, false);
    EXPECT_EQ(e.active_count(), 180);
    for (int slot = 1; slot <= 180; ++slot) {
        const SpriteObject& o = e.object(slot);
        EXPECT_EQ(o.kind, ObjectKind::Crystal);
        EXPECT_GE(o.picture, kFirstCrystal);
        EXPECT_LE(o.picture, kLastCrystal);
        EXPECT_EQ(o.mode, DrawMode::Additive);
        EXPECT_EQ(o.motion, 7);
        EXPECT_GE(o.x, 1);
        EXPECT_LE(o.x, 1024);
        EXPECT_GE(o.vy, e.v_step(10));
        EXPECT_LE(o.vy, e.v_step(25));
    }
    EXPECT_FALSE(e.object(181).active);
    EXPECT_DOUBLE_EQ(e.h_step(50), 50 * 1024 / 4000.0);
}

TEST(Sprites, OnlyOrnamentsNeverExceedThirtyAndTheRestStayFree) {
    SpriteEngine e(seeded(2));
    e.setup(800, 600, {false, false, true, 300}, false);
    Recorder r;
    for (int frame = 0; frame < 400; ++frame) {
        run_frames(e, r, 1);
        ASSERT_LE(e.count_kind(ObjectKind::Ornament), kMaxOrnaments);
    }
    EXPECT_EQ(e.count_kind(ObjectKind::Ornament), kMaxOrnaments);
    EXPECT_EQ(e.active_count(), kMaxOrnaments);
    for (auto& [mode, rect] : r.drawn) EXPECT_EQ(mode, DrawMode::Masked);
}

TEST(Sprites, NothingEnabledOrObjectsOffMeansNoObjects) {
    SpriteEngine none(seeded(3));
    none.setup(800, 600, {false, false, false, 180}, false);
    Recorder r;
    run_frames(none, r, 50);
    EXPECT_EQ(none.active_count(), 0);
    EXPECT_TRUE(r.drawn.empty());
    EXPECT_TRUE(r.presented.empty());

    SpriteEngine off(seeded(3));
    off.setup(800, 600, {true, true, true, 180}, true);
    EXPECT_EQ(off.active_count(), 0);
}

TEST(Sprites, ActiveCountIsHeldToThePool) {
    SpriteEngine e(seeded(4));
    e.setup(640, 480, {true, true, false, 100000}, false);
    EXPECT_EQ(e.sprite_active(), kSlotCount);
    e.setup(640, 480, {true, true, false, -5}, false);
    EXPECT_EQ(e.sprite_active(), 1);
}

TEST(Sprites, ObjectsFallAndAreRespawnedAboveWhenTheyLeaveTheScene) {
    SpriteEngine e(seeded(5));
    e.setup(400, 300, {true, false, false, 50}, false);
    Recorder r;
    double y0 = e.object(1).y;
    run_frames(e, r, 1);
    EXPECT_GT(e.object(1).y, y0);
    // Push one object past the bottom: it is freed in drawing and respawned
    // at y = -60 in the next move pass.
    e.object(2).y = 300 + 40;
    e.object(2).vy = 5;
    run_frames(e, r, 1);
    EXPECT_FALSE(e.object(2).active);
    e.move_objects();
    EXPECT_TRUE(e.object(2).active);
    EXPECT_DOUBLE_EQ(e.object(2).y, -60);
}

TEST(Sprites, StrongWindDrivesObjectsOffTheSideAndTheyComeBackAtTheTop) {
    SpriteEngine e(seeded(6));
    e.setup(400, 300, {true, false, false, 20}, false);
    e.wind().wind = 40;
    e.wind().gust = 1000;
    e.wind().target = 40;
    Recorder r;
    int respawned_at_top = 0;
    for (int frame = 0; frame < 30; ++frame) {
        run_frames(e, r, 1);
        for (int slot = 1; slot <= 20; ++slot) {
            const SpriteObject& o = e.object(slot);
            // The wind may carry an object one frame past its bound (at most
            // three times the wind); the next drawing frees it.
            ASSERT_LE(o.x, o.max_x + 3 * 40 + 1) << "an object beyond the side stayed active";
            if (o.active && o.y < 0) ++respawned_at_top;
        }
    }
    EXPECT_GT(respawned_at_top, 0);
}

TEST(Sprites, GustsAlternateInDirection) {
    SpriteEngine e(seeded(7));
    e.setup(400, 300, {true, false, false, 10}, false);
    std::vector<int> signs;
    int last_gust = 0;
    for (int frame = 0; frame < 20000 && signs.size() < 8; ++frame) {
        e.move_objects();
        if (e.wind().gust > 0 && last_gust == 0) signs.push_back(e.wind().target < 0 ? -1 : 1);
        last_gust = e.wind().gust;
    }
    ASSERT_GE(signs.size(), 4u);
    for (size_t i = 1; i < signs.size(); ++i) EXPECT_NE(signs[i], signs[i - 1]);
}

TEST(Sprites, ChangedRectanglesHoldTheOldAndNewPictureAndOldOnesAreRestored) {
    SpriteEngine e(seeded(8));
    e.setup(1024, 768, {true, false, false, 1}, false);
    Recorder first;
    run_frames(e, first, 1);
    ASSERT_EQ(first.presented.size(), 1u);
    const SpriteObject& o = e.object(1);
    double old_x = o.prev_x, old_y = o.prev_y;
    Recorder second;
    run_frames(e, second, 1);
    ASSERT_EQ(second.restored.size(), 1u);
    EXPECT_EQ(second.restored[0].left, int(old_x));
    EXPECT_EQ(second.restored[0].top, int(old_y));
    ASSERT_EQ(second.presented.size(), 1u);
    const Rect& p = second.presented[0];
    const PictureRect& pic = kPictureTable[size_t(o.picture - 1)];
    EXPECT_LE(p.left, int(std::min(old_x, o.x)));
    EXPECT_LE(p.top, int(old_y));
    EXPECT_GE(p.left + p.width, int(o.x) + pic.width);
    EXPECT_GE(p.top + p.height, int(o.y) + pic.height);
    EXPECT_LE(p.height, pic.height + 30) << "only the object's neighbourhood is presented";
}

TEST(Sprites, WholeBufferModeCopiesEverythingOncePerFrame) {
    SpriteEngine e(seeded(9));
    e.setup(640, 480, {true, true, false, 60}, false);
    e.presentation_mode = 1;
    Recorder r;
    run_frames(e, r, 3);
    EXPECT_EQ(r.whole_restores, 3);
    EXPECT_EQ(r.whole_presents, 3);
    EXPECT_TRUE(r.presented.empty());
    EXPECT_GE(r.drawn.size(), 3u * 50u) << "the active objects are drawn each frame";
    EXPECT_LE(r.drawn.size(), 3u * 60u);
}

TEST(SceneFrame, FramedSceneIsCentredWithEightPixelTiles) {
    SceneFrame f = frame_scene(1024, 768, 800, 600);
    EXPECT_EQ(f.scene.left, 112);
    EXPECT_EQ(f.scene.top, 84);
    EXPECT_EQ(f.scene.width, 800);
    bool top_left = false, bottom_right = false;
    for (const FrameTile& t : f.tiles) {
        if (t.src_x == 0 && t.src_y == 0) top_left = t.x == 104 && t.y == 76;
        if (t.src_x == 72 && t.src_y == 72) bottom_right = t.x == 912 && t.y == 684;
        EXPECT_TRUE(t.src_x + 8 <= 80 && t.src_y + 8 <= 80);
    }
    EXPECT_TRUE(top_left);
    EXPECT_TRUE(bottom_right);
    EXPECT_EQ(f.tiles.size(), size_t(2 * (808 / 8 + 1) + 2 * (608 / 8 + 1) + 4));
}

}  // namespace
}  // namespace flurrin

namespace flurrin {
namespace {

TEST(MergeRectangles, NeighboursJoinFarOnesStayApartAndEverythingStaysCovered) {
    std::vector<Rect> in = {{10, 10, 20, 20}, {12, 14, 20, 20}, {500, 500, 10, 10}, {900, 20, 5, 5}, {11, 11, 3, 3}};
    std::vector<Rect> out = merge_rectangles(in);
    EXPECT_EQ(out.size(), 3u);
    for (const Rect& r : in) {
        bool covered = false;
        for (const Rect& m : out)
            covered |= r.left >= m.left && r.top >= m.top && r.left + r.width <= m.left + m.width &&
                       r.top + r.height <= m.top + m.height;
        EXPECT_TRUE(covered) << r.left << "," << r.top;
    }
    EXPECT_TRUE(merge_rectangles({}).empty());
    // Two small rectangles at opposite corners are never joined into a huge one.
    EXPECT_EQ(merge_rectangles({{0, 0, 10, 10}, {1900, 1000, 10, 10}}).size(), 2u);
}

}  // namespace
}  // namespace flurrin

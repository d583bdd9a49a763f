// The falling objects (mdlSprites): a fixed pool of 300 records moved by a
// common wind with gusts and their own sway, drawn into the composition
// buffer and presented by changed rectangles. Portable: the drawing goes
// through SpriteTarget, which the Win32 side implements with BitBlt.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <vector>

#include "scene/picture_table.h"

namespace flurrin {

inline constexpr int kSlotCount = 300;
inline constexpr int kMaxOrnaments = 30;
inline constexpr int kSpeedSteps = 50;
inline constexpr int kAnimationSteps = 101;

enum class DrawMode { Opaque = 0, Masked = 1, Additive = 2 };
enum class ObjectKind { Crystal = 0, Circle = 1, Ornament = 2 };

struct SpriteObject {
    double x = 0, y = 0;
    double prev_x = 0, prev_y = 0;
    int prev_picture = 0;
    int prev_active = 0;
    double vx = 0, vy = 0;
    double sway_vx = 0, sway_ax = 0, sway_limit_x = 0;
    double sway_vy = 0, sway_ay = 0, sway_limit_y = 0;
    double min_x = 0, min_y = 0, max_x = 0, max_y = 0;
    DrawMode mode = DrawMode::Masked;
    int active = 0;  // 3: remove after the next presentation
    int motion = 0;  // 7 sway-fall; 0 a free slot
    int picture = 1;
    bool animated = false;
    int animation_step = 0;
    int end_action = 0;
    ObjectKind kind = ObjectKind::Crystal;
};

struct Rect {
    int left, top, width, height;
};

// What the engine draws with: copies between the clean background (main),
// the composition buffer (work), the visible surface and the two sheets.
class SpriteTarget {
public:
    virtual ~SpriteTarget() = default;
    virtual void restore(const Rect& r) = 0;                       // main -> work
    virtual void restore_all() = 0;                                // all of main -> work
    virtual void draw(DrawMode mode, int x, int y, const PictureRect& sheet) = 0;  // sheets -> work
    virtual void present(const Rect& r) = 0;                       // work -> screen
    virtual void present_all() = 0;
    // The frame's presentation is complete (rectangles may be gathered until then).
    virtual void present_done() {}
};

struct ObjectOptions {
    bool crystals = true, circles = false, ornaments = false;
    int sprite_active = 180;  // held to 1..300
};

struct Wind {
    double wind = 0, target = 0.1;
    int gust = 0;
    int toggle = 1;
};

class SpriteEngine {
public:
    using Rnd = std::function<double()>;

    explicit SpriteEngine(Rnd rnd) : rnd_(std::move(rnd)) {}

    // objects_setup: tables for a scene of the given size and the first
    // population (none when objects_off).
    void setup(int scene_width, int scene_height, const ObjectOptions& options, bool objects_off);
    void move_objects();
    void draw_objects(SpriteTarget& target);
    void restore_background(SpriteTarget& target);
    void present_frame(SpriteTarget& target);

    // Presentation mode: 2 changed rectangles (the one used), 1 whole buffer.
    int presentation_mode = 2;

    int count_kind(ObjectKind kind) const;
    int active_count() const;
    void free_slot(int slot);
    void spawn(int slot, ObjectKind kind, bool anywhere);

    const SpriteObject& object(int slot) const { return objects_[size_t(slot - 1)]; }
    SpriteObject& object(int slot) { return objects_[size_t(slot - 1)]; }
    const Wind& wind() const { return wind_; }
    Wind& wind() { return wind_; }
    int sprite_active() const { return options_.sprite_active; }
    double h_step(int i) const { return h_speed_[size_t(i - 1)]; }
    double v_step(int i) const { return v_speed_[size_t(i - 1)]; }

private:
    int floor_rnd(int n) { return int(rnd_() * n) + 1; }  // 1..n
    bool may_add_ornament() const { return options_.ornaments && count_kind(ObjectKind::Ornament) < kMaxOrnaments; }
    void respawn(int slot);
    void update_wind();

    Rnd rnd_;
    ObjectOptions options_;
    int width_ = 0, height_ = 0;
    std::array<double, kSpeedSteps> h_speed_{}, v_speed_{};
    std::array<SpriteObject, kSlotCount> objects_{};
    std::array<int, kSlotCount> draw_order_{};
    Wind wind_;
};

// Joins rectangles whose union is hardly larger than the two apart (each copy
// to the screen has a fixed cost, so neighbours go as one).
std::vector<Rect> merge_rectangles(std::vector<Rect> rects);

// The framed (not full-screen) scene: the frame rectangle round a scene
// centred in the form, and the 8 x 8 tiles drawn along it.
struct FrameTile {
    int src_x, src_y;  // in the tile sheet
    int x, y;          // on the form
};
struct SceneFrame {
    Rect scene;  // where the scene picture sits on the form
    std::vector<FrameTile> tiles;
};
SceneFrame frame_scene(int form_width, int form_height, int scene_width, int scene_height);

}  // namespace flurrin

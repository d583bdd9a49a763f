#include "scene/sprites.h"

#include <algorithm>
#include <cmath>

namespace flurrin {

namespace {
const PictureRect& sheet_rect(int picture) { return kPictureTable[size_t(std::clamp(picture, 1, kPictureCount) - 1)]; }
}  // namespace

void SpriteEngine::setup(int scene_width, int scene_height, const ObjectOptions& options, bool objects_off) {
    options_ = options;
    options_.sprite_active = std::clamp(options.sprite_active, 1, kSlotCount);
    width_ = scene_width;
    height_ = scene_height;
    presentation_mode = 2;
    for (int i = 1; i <= kSpeedSteps; ++i) {
        h_speed_[size_t(i - 1)] = double(i) * scene_width / 4000.0;
        v_speed_[size_t(i - 1)] = double(i) * scene_height / 4000.0;
    }
    for (int slot = 1; slot <= kSlotCount; ++slot) {
        draw_order_[size_t(slot - 1)] = slot;
        object(slot) = SpriteObject{};
        object(slot).mode = DrawMode::Masked;
        free_slot(slot);
    }
    if (!objects_off) {
        for (int slot = 1; slot <= options_.sprite_active; ++slot) {
            switch (floor_rnd(3)) {
            case 1:
                if (options_.crystals) spawn(slot, ObjectKind::Crystal, true);
                else if (options_.circles) spawn(slot, ObjectKind::Circle, true);
                else if (may_add_ornament()) spawn(slot, ObjectKind::Ornament, true);
                break;
            case 2:
                if (options_.circles) spawn(slot, ObjectKind::Circle, true);
                else if (may_add_ornament()) spawn(slot, ObjectKind::Ornament, true);
                else if (options_.crystals) spawn(slot, ObjectKind::Crystal, true);
                break;
            default:
                if (may_add_ornament()) spawn(slot, ObjectKind::Ornament, true);
                else if (options_.crystals) spawn(slot, ObjectKind::Crystal, true);
                else if (options_.circles) spawn(slot, ObjectKind::Circle, true);
                break;
            }
        }
    }
    wind_ = Wind{};
    if (floor_rnd(500) < 250) wind_.toggle = 0;
}

void SpriteEngine::free_slot(int slot) {
    SpriteObject& o = object(slot);
    o.active = 0;
    o.motion = 0;
    o.animated = false;
    o.kind = ObjectKind::Crystal;
}

int SpriteEngine::count_kind(ObjectKind kind) const {
    int n = 0;
    for (int slot = 1; slot <= options_.sprite_active; ++slot)
        if (object(slot).active && object(slot).kind == kind) ++n;
    return n;
}

int SpriteEngine::active_count() const {
    int n = 0;
    for (int slot = 1; slot <= options_.sprite_active; ++slot) n += object(slot).active ? 1 : 0;
    return n;
}

void SpriteEngine::spawn(int slot, ObjectKind kind, bool anywhere) {
    SpriteObject& o = object(slot);
    switch (kind) {
    case ObjectKind::Circle:
        o.picture = floor_rnd(17);
        o.mode = DrawMode::Additive;
        break;
    case ObjectKind::Crystal:
        o.picture = floor_rnd(21) + 17;
        o.mode = DrawMode::Additive;
        break;
    case ObjectKind::Ornament:
        o.picture = floor_rnd(8) + 38;
        o.mode = DrawMode::Masked;
        break;
    }
    o.x = floor_rnd(width_);
    o.y = anywhere ? floor_rnd(height_) : -60;
    o.active = 1;
    o.kind = kind;
    const PictureRect& r = sheet_rect(o.picture);
    int s = floor_rnd(16) + 9;
    o.vy = v_step(s);
    o.vx = 0;
    o.sway_vx = 0;
    o.sway_ax = h_step(1) / 6;
    o.sway_limit_x = h_step(5);
    o.sway_vy = o.sway_ay = o.sway_limit_y = 0;
    o.min_x = -r.width - 10;
    o.min_y = -900;
    o.max_x = width_ + r.width + 10;
    o.max_y = height_ + r.height + 10;
    o.motion = 7;
    o.animated = false;
    // The slot's last picture lay outside the scene when it was freed; the new
    // object's changed rectangle starts from its own position.
    o.prev_picture = 0;
}

void SpriteEngine::respawn(int slot) {
    switch (floor_rnd(3)) {
    case 1:
        if (options_.crystals) spawn(slot, ObjectKind::Crystal, false);
        else if (may_add_ornament()) spawn(slot, ObjectKind::Ornament, false);
        else if (options_.circles) spawn(slot, ObjectKind::Circle, false);
        break;
    case 2:
        if (floor_rnd(500) < 250 && options_.circles) spawn(slot, ObjectKind::Circle, false);
        else if (options_.crystals) spawn(slot, ObjectKind::Crystal, false);
        else if (may_add_ornament()) spawn(slot, ObjectKind::Ornament, false);
        break;
    default:
        if (may_add_ornament()) spawn(slot, ObjectKind::Ornament, false);
        else if (options_.circles) spawn(slot, ObjectKind::Circle, false);
        else if (options_.crystals) spawn(slot, ObjectKind::Crystal, false);
        break;
    }
}

void SpriteEngine::move_objects() {
    for (int slot = 1; slot <= options_.sprite_active; ++slot) {
        SpriteObject& o = object(slot);
        if (!o.active) respawn(slot);
        else o.x += (floor_rnd(20) * 0.1 + 1) * wind_.wind;
    }
    update_wind();
}

void SpriteEngine::update_wind() {
    Wind& w = wind_;
    if (w.gust != 0) {
        w.gust -= 1;
        if (w.wind < w.target) w.wind += 0.01;
        if (w.wind > w.target) w.wind -= 0.01;
        return;
    }
    if (w.wind > 0) w.wind -= 0.005;
    else if (w.wind < 0) w.wind += 0.005;
    if (floor_rnd(500) < 40) {
        w.gust = floor_rnd(60);
        w.target = floor_rnd(6);
        w.toggle ^= 1;
        if (w.toggle == 1) w.target = -w.target;
    }
}

void SpriteEngine::draw_objects(SpriteTarget& target) {
    for (int n = 0; n < options_.sprite_active; ++n) {
        int slot = draw_order_[size_t(n)];
        SpriteObject& o = object(slot);
        if (!o.active) continue;
        if (o.motion == 7) {
            o.x += o.vx + o.sway_vx;
            o.y += o.vy + o.sway_vy;
            o.sway_vx += o.sway_ax;
            if (o.sway_vx > o.sway_limit_x || o.sway_vx < -o.sway_limit_x) {
                o.sway_ax = -o.sway_ax;
                o.sway_vx += o.sway_ax;
            }
            o.sway_vy += o.sway_ay;
            if (o.sway_vy > o.sway_limit_y || o.sway_vy < -o.sway_limit_y) {
                o.sway_ay = -o.sway_ay;
                o.sway_vy += o.sway_ay;
            }
            const PictureRect& r = sheet_rect(o.picture);
            if (o.x > o.max_x || o.x + r.width < o.min_x || o.y > o.max_y || o.y + r.height < o.min_y) {
                free_slot(slot);
                continue;
            }
        }
        target.draw(o.mode, int(o.x), int(o.y), sheet_rect(o.picture));
    }
}

void SpriteEngine::restore_background(SpriteTarget& target) {
    if (presentation_mode == 1) {
        target.restore_all();
        return;
    }
    for (int n = 0; n < options_.sprite_active; ++n) {
        SpriteObject& o = object(draw_order_[size_t(n)]);
        if (!o.prev_active) continue;
        const PictureRect& r = sheet_rect(o.prev_picture);
        target.restore({int(o.prev_x), int(o.prev_y), r.width, r.height});
        o.prev_active = 0;
    }
}

void SpriteEngine::present_frame(SpriteTarget& target) {
    if (presentation_mode == 1) target.present_all();
    for (int n = 0; n < options_.sprite_active; ++n) {
        SpriteObject& o = object(draw_order_[size_t(n)]);
        if (!o.active) continue;
        if (o.active == 3) o.active = 0;
        if (presentation_mode == 2) {
            const PictureRect& now = sheet_rect(o.picture);
            const PictureRect& before = sheet_rect(o.prev_picture ? o.prev_picture : o.picture);
            double px = o.prev_picture ? o.prev_x : o.x, py = o.prev_picture ? o.prev_y : o.y;
            int left = int(std::min(px, o.x)), top = int(std::min(py, o.y));
            int right = int(std::max(px + before.width, o.x + now.width));
            int bottom = int(std::max(py + before.height, o.y + now.height));
            target.present({left, top, right - left + 1, bottom - top + 1});
        }
        o.prev_x = o.x;
        o.prev_y = o.y;
        o.prev_picture = o.picture;
        o.prev_active = o.active ? 1 : 0;
    }
    target.present_done();
}

SceneFrame frame_scene(int form_width, int form_height, int scene_width, int scene_height) {
    SceneFrame f;
    int left = form_width / 2 - scene_width / 2 - 8, top = form_height / 2 - scene_height / 2 - 8;
    int right = left + scene_width + 8, bottom = top + scene_height + 8;
    for (int i = 0; i <= (right - left) / 8; ++i) {
        f.tiles.push_back({8, 0, left + 8 * i, top});
        f.tiles.push_back({8, 72, left + 8 * i, bottom});
    }
    for (int i = 0; i <= (bottom - top) / 8; ++i) {
        f.tiles.push_back({0, 8, left, top + 8 * i});
        f.tiles.push_back({72, 64, right, top + 8 * i});
    }
    f.tiles.push_back({0, 0, left, top});
    f.tiles.push_back({72, 0, right, top});
    f.tiles.push_back({72, 72, right, bottom});
    f.tiles.push_back({0, 72, left, bottom});
    f.scene = {form_width / 2 - scene_width / 2, form_height / 2 - scene_height / 2, scene_width, scene_height};
    return f;
}

}  // namespace flurrin

namespace flurrin {

std::vector<Rect> merge_rectangles(std::vector<Rect> rects) {
    std::vector<Rect> out;
    out.reserve(rects.size());
    for (const Rect& r : rects) {
        bool merged = false;
        for (Rect& m : out) {
            int left = std::min(m.left, r.left), top = std::min(m.top, r.top);
            int right = std::max(m.left + m.width, r.left + r.width), bottom = std::max(m.top + m.height, r.top + r.height);
            long long joined = (long long)(right - left) * (bottom - top);
            long long apart = (long long)m.width * m.height + (long long)r.width * r.height;
            if (joined <= apart + apart / 4 + 64) {
                m = {left, top, right - left, bottom - top};
                merged = true;
                break;
            }
        }
        if (!merged) out.push_back(r);
    }
    return out;
}

}  // namespace flurrin

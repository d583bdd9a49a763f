// A bulb kind: one decoration that can be strung along the screen edges, and
// the global list of every kind, built in and add-on.
//
// Every kind lives in one singly linked list: the built-in kinds first, in the
// order they were made, then the add-on kinds sorted by name without regard to
// case. The list owns its kinds: `delete kind` unlinks it (and drops its
// category memberships); destroyAllBulbs() empties the list.
#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "engine/bulb_position.h"

namespace lumarel {

class QuickMaskedBitmap;

constexpr int32_t kNoBulb = -1;

class BulbObject {
public:
    virtual ~BulbObject();
    virtual int listIndex() const;
    // Category i of the kind's category text; nothing past the last.
    virtual std::optional<std::string> category(int i);
    virtual RECT frameRect(BulbPosition position, int flavor, int phase) = 0;
    // Draws the frame opaquely (black outside the shape); true when the kind
    // is slow (its shape differs between phases).
    virtual bool drawFrame(BulbPosition position, int flavor, int phase, int x, int y, HDC dc,
                           bool onDesktop) = 0;
    virtual void drawFrameMask(BulbPosition position, int flavor, int phase, int x, int y, HDC dc,
                               MaskKind maskKind) = 0;
    // ORs the phase's shape, with the frame's corner at (x, y), into region.
    virtual void addFrameRegion(BulbPosition position, int flavor, int phase, int x, int y,
                                HRGN region) = 0;
    virtual void drawListPicture(int x, int y, HDC dc) = 0;
    virtual std::unique_ptr<QuickMaskedBitmap> makeDragPicture(HDC dc) = 0;
    virtual bool usable() { return true; }
    virtual bool editable() { return false; }
    virtual bool viewable() { return false; }
    virtual bool sendable() { return false; }
    virtual bool removable() { return false; }
    virtual bool listVisible() { return listVisible_; }
    virtual void setListVisible(bool visible) { listVisible_ = visible; }
    // False when the kind's file is still there.
    virtual bool deleteFile() { return true; }
    virtual void dropCache() {}
    virtual void categoriesChanged() {}
    virtual int phaseCount(BulbPosition position) = 0;
    virtual const char* name() = 0;
    virtual const char* description() = 0;
    virtual const char* copyright() = 0;
    virtual const char* author() = 0;
    // Category names joined by '|'.
    virtual const char* categoryText() = 0;
    virtual int gapHorizontal() = 0;
    virtual int gapVertical() = 0;
    // Joins every category named by category(0), category(1), ... (made as
    // needed), then the hidden "_0" (built in) or "_1" (add-on).
    virtual void registerCategories();

    int32_t id() const { return id_; }
    bool isAddOn() const { return addOn_; }
    BulbObject* next() const { return next_; }
    // The bulb file an add-on kind came from; empty for built-in kinds.
    const std::string& filePath() const { return filePath_; }

    BulbObject(const BulbObject&) = delete;
    BulbObject& operator=(const BulbObject&) = delete;

protected:
    BulbObject(int32_t id, bool addOn) : id_(id), addOn_(addOn) {}
    // Links the finished kind into the global list at its place and registers
    // its categories. Derived constructors call it last: name() and
    // categoryText() are virtual and must reach the derived kind. Throws what
    // registration throws, leaving the kind unlinked.
    void insertIntoList();
    void setFilePath(const char* path) { filePath_ = path ? path : ""; }

private:
    void unlink();

    int32_t id_;
    bool listVisible_ = true;
    bool addOn_;
    BulbObject* next_ = nullptr;
    bool linked_ = false;
    std::string filePath_;
};

// Look-ups on the global list.
BulbObject* firstBulb();
BulbObject* findBulbById(int32_t id);  // the first kind with that id
BulbObject* findBulbByIndex(int index);
int bulbCount();
// The add-on kind loaded from this path, compared without regard to case.
BulbObject* findAddOnBulbByFileName(const char* path);
// Every kind drops its cached pictures and region (after a display change).
void dropAllBulbCaches();
// Deletes every kind (shutdown and tests).
void destroyAllBulbs();

// Marks a slow kind in the bulb list: draws the 21 x 9 picture "SLOW" at
// (x, y) when the bulbs are on top of all windows; nothing on the desktop.
void drawSlowMarker(int x, int y, HDC dc);

}  // namespace lumarel

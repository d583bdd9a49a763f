#include "engine/bulb_object.h"

#include "base/failure.h"
#include "base/text.h"
#include "engine/bulb_categories.h"

namespace lumarel {

namespace {

BulbObject*& listHead() {
    static BulbObject* head = nullptr;
    return head;
}

}  // namespace

BulbObject::~BulbObject() {
    unlink();
    removeFromAllCategories(id_);
}

int BulbObject::listIndex() const {
    int index = 0;
    for (BulbObject* kind = listHead(); kind; kind = kind->next_, ++index)
        if (kind == this) return index;
    fail();
}

std::optional<std::string> BulbObject::category(int i) { return categoryPiece(categoryText(), i); }

void BulbObject::registerCategories() {
    for (int i = 0;; ++i) {
        std::optional<std::string> name = category(i);
        if (!name) break;
        BulbCategory& joined = findOrCreateCategory(name->c_str());
        if (!joined.isMember(id_)) joined.addMember(id_);
    }
    BulbCategory& hidden = findOrCreateCategory(addOn_ ? kAddOnCategory : kBuiltInCategory);
    if (!hidden.isMember(id_)) hidden.addMember(id_);
}

void BulbObject::insertIntoList() {
    check(!linked_);
    // Built-in kinds keep their creation order ahead of every add-on kind;
    // an add-on kind goes before the first add-on kind with a greater name.
    BulbObject** link = &listHead();
    while (*link) {
        BulbObject* here = *link;
        if (here->addOn_ && (!addOn_ || compareNoCase(here->name(), name()) > 0)) break;
        link = &here->next_;
    }
    next_ = *link;
    *link = this;
    linked_ = true;
    try {
        registerCategories();
    } catch (...) {
        unlink();
        removeFromAllCategories(id_);
        throw;
    }
}

void BulbObject::unlink() {
    if (!linked_) return;
    for (BulbObject** link = &listHead(); *link; link = &(*link)->next_) {
        if (*link == this) {
            *link = next_;
            break;
        }
    }
    next_ = nullptr;
    linked_ = false;
}

BulbObject* firstBulb() { return listHead(); }

BulbObject* findBulbById(int32_t id) {
    for (BulbObject* kind = listHead(); kind; kind = kind->next())
        if (kind->id() == id) return kind;
    return nullptr;
}

BulbObject* findBulbByIndex(int index) {
    if (index < 0) return nullptr;
    BulbObject* kind = listHead();
    for (; kind && index > 0; --index) kind = kind->next();
    return kind;
}

int bulbCount() {
    int count = 0;
    for (BulbObject* kind = listHead(); kind; kind = kind->next()) ++count;
    return count;
}

BulbObject* findAddOnBulbByFileName(const char* path) {
    if (!path) return nullptr;
    for (BulbObject* kind = listHead(); kind; kind = kind->next())
        if (kind->isAddOn() && equalsNoCase(kind->filePath().c_str(), path)) return kind;
    return nullptr;
}

void dropAllBulbCaches() {
    for (BulbObject* kind = listHead(); kind; kind = kind->next()) kind->dropCache();
}

void destroyAllBulbs() {
    while (BulbObject* kind = listHead()) delete kind;
}

}  // namespace lumarel

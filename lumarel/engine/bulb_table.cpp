#include "engine/bulb_table.h"

#include <cstring>
#include <vector>

#include "base/failure.h"

namespace lumarel {

namespace {

// How a kind's frames are grouped: blocks of frames, one per edge or shape,
// and within a block an offset per flavor plus a stride per animation state.
struct Plan {
    int firstFrame = 0;  // frames ahead of block 0 (the spacers' list frame)
    int blockSize = 1;
    std::array<int, 4> edgeBlock{0, 0, 0, 0};    // top, right, bottom, left
    std::array<int, 4> cornerBlock{0, 0, 0, 0};  // top-left, top-right, bottom-right, bottom-left
    std::array<int, 4> cornerFlavor{0, 0, 0, 0};
    std::array<int, 8> flavorBase{-1};           // -1: flavor × flavorStride
    int flavorStride = 1, stateStride = 1;
    std::array<int, 8> states{0, 1, 2, 3, 4, 5, 6, 7};  // phase → state
    int flavorShift = 0;  // flavor f runs f × shift phases ahead
};

// The order most kinds keep their rows in: top, bottom, left, right.
constexpr std::array<int, 4> kEdgeRows{0, 3, 1, 2};
constexpr std::array<int, 4> kEdgeRowCorners{0, 0, 1, 1};

Plan edgeRows(int blockSize, int stateStride) {
    Plan p;
    p.blockSize = blockSize;
    p.stateStride = stateStride;
    p.edgeBlock = kEdgeRows;
    p.cornerBlock = kEdgeRowCorners;
    return p;
}

Plan sameEverywhere(int blockSize, int flavorStride, int stateStride) {
    Plan p;
    p.blockSize = blockSize;
    p.flavorStride = flavorStride;
    p.stateStride = stateStride;
    return p;
}

struct Geometry {
    int32_t id;
    uint16_t strip;
    uint16_t listFrame, flavors, phases, gapH, gapV;
    std::array<FrameRow, 8> rows;
    int16_t smallX, smallY;
    const char* name;
    const char* categories;
    const char* description;
};

using R = FrameRow;
constexpr R kNone{};

// Row by row: id, strip resource (the mask is the next number), list frame,
// flavors, phases, gaps, the full-size rows, the small rows, the small offset.
const Geometry kGeometry[kBuiltInKinds] = {
    {0, 1001, 1, 5, 2, 0, 0, {R{10, 32, 32}, R{10, 32, 32}, R{10, 32, 32}, R{10, 32, 32}, R{40, 8, 8}}, 0, 128,
     "Standard Bulbs", "Christmas|Light Bulbs", "Standard lights, without the tangled cord or burned-out bulbs!"},
    {1, 1011, 1, 4, 1, 0, 0, {R{4, 32, 32}, R{4, 32, 32}, R{4, 32, 32}, R{4, 32, 32}, R{16, 8, 8}}, 0, 128,
     "Jolly Holly", "Christmas|Winter", "Fragrant sprigs of holly... perfect for the corners of your screen!"},
    {2, 1031, 1, 4, 1, 2, 2, {R{4, 32, 32}, R{4, 32, 32}, R{4, 32, 32}, R{4, 32, 32}, R{1, 8, 8}, R{1, 8, 8}, R{1, 8, 8}, R{1, 8, 8}}, 128, 0,
     "Snow Family", "Christmas|Winter", "This is one cool family... and these digital folk stay frozen year-round!"},
    {3, 1371, 1, 5, 2, 0, 0, {R{10, 32, 32}, R{10, 32, 32}, R{10, 32, 32}, R{10, 32, 32}, R{40, 8, 8}}, 0, 128,
     "Indoor Bulbs", "Christmas|Light Bulbs", "These decorative bulbs are safe for indoor use only!"},
    {4, 1361, 1, 6, 2, 2, 2, {R{12, 9, 9}, R{12, 9, 9}, R{12, 9, 7}, R{12, 9, 7}, R{24, 3, 4}, R{24, 4, 3}}, 0, 32,
     "Mini Bulbs", "Christmas|Light Bulbs", "These little blinkers jazz up your screen with efficiency."},
    {5, 1171, 4, 8, 2, 0, 0, {R{16, 30, 26}, R{16, 30, 26}, R{16, 26, 30}, R{16, 26, 30}, R{64, 7, 7}}, 0, 112,
     "Heavy Duty Bulbs", "Christmas|Light Bulbs", "Make sure your electrical system can handle the load."},
    {6, 1351, 1, 4, 2, 2, 2, {R{9, 32, 32}, R{9, 32, 32}, R{9, 32, 32}, R{9, 32, 32}, R{36, 8, 8}}, 0, 128,
     "Shiny Baubles", "Christmas", "Glass ornaments that catch the light as they turn."},
    {7, 1121, 1, 1, 4, 2, 2, {R{4, 31, 31}, kNone, kNone, kNone, R{4, 8, 8}}, 0, 31,
     "Christmas Trees", "Christmas", "Bring your own presents... but they'd better be tiny!"},
    {8, 1331, 1, 4, 4, 2, 2, {R{3, 19, 31}, R{3, 19, 31}, R{3, 19, 31}, R{3, 19, 31}, R{12, 5, 8}}, 0, 124,
     "Candy Canes", "", "It's the sweet holiday treat that you can't eat."},
    {9, 1251, 1, 2, 2, 2, 2, {R{2, 31, 31}, R{2, 31, 31}, kNone, kNone, R{4, 8, 8}}, 0, 62,
     "Santa Claus", "Christmas", "Have you been naughty or nice? Now we'll all know the truth."},
    {10, 1321, 1, 6, 8, 2, 2, {R{12, 31, 31}, R{12, 31, 31}, R{12, 31, 31}, kNone, R{32, 8, 8}}, 0, 93,
     "Carolers", "Christmas", "A choir of carolers singing in turn, songbooks in hand."},
    {11, 1071, 1, 2, 4, 2, 2, {R{8, 22, 31}, kNone, kNone, kNone, R{8, 5, 7}}, 0, 31,
     "Stockings", "Christmas", "No peeking! These stockings are stuffed with surprises..."},
    {12, 1271, 7, 4, 2, 2, 2, {R{2, 30, 27}, R{2, 28, 29}, R{2, 29, 27}, R{2, 17, 27}, R{2, 7, 6}, R{2, 7, 7}, R{2, 7, 6}, R{2, 5, 7}}, 39, 84,
     "Gifts", "Christmas", "Don't shake the presents, or you'll know what's inside!"},
    {13, 1111, 1, 4, 4, 2, 2, {R{8, 25, 32}, R{8, 25, 32}, kNone, kNone, R{16, 6, 8}}, 0, 64,
     "Dreidels", "Hanukkah", "Spinning tops to remind us that \"a great miracle happened there.\""},
    {14, 1231, 8, 1, 8, 2, 2, {R{8, 29, 32}, kNone, kNone, kNone, R{8, 8, 8}}, 0, 32,
     "Menorahs", "Hanukkah", "Light the traditional Hanukkah Menorah - one candle at a time!"},
    {15, 1051, 1, 3, 8, 2, 2, {R{10, 30, 27}, R{10, 30, 27}, kNone, kNone, R{20, 7, 7}}, 0, 54,
     "Mezmerized", "Valentine's Day", "Stare into these hearts for a relaxing experience."},
    {16, 1061, 7, 8, 4, 2, 2, {R{8, 30, 28}, R{8, 30, 28}, R{8, 30, 28}, R{8, 30, 28}, R{32, 7, 7}}, 0, 112,
     "Candy Hearts", "Valentine's Day", "Give these tasty treats to the one you desire."},
    {17, 1401, 1, 1, 2, 2, 2, {R{2, 30, 27}, kNone, kNone, kNone, R{2, 8, 7}}, 0, 27,
     "Sweet Hearts", "Valentine's Day", "Share these gently beating hearts with the one you love."},
    {18, 1411, 1, 4, 8, 2, 2, {R{16, 32, 32}, R{16, 32, 32}, R{16, 32, 32}, R{16, 32, 32}, R{64, 8, 8}}, 0, 128,
     "Shamrocks", "St. Patrick's Day", "Are you wearing green? How about your computer screen?"},
    {19, 1381, 6, 2, 4, 2, 2, {R{8, 26, 31}, R{8, 32, 23}, R{8, 27, 28}, kNone, R{8, 7, 8}, R{8, 8, 6}, R{8, 7, 7}}, 208, 0,
     "Pastel Easter Eggs", "Easter", "These eggs are not hard to find."},
    {20, 1391, 17, 6, 8, 2, 2, {R{16, 32, 23}, R{16, 26, 31}, R{16, 27, 28}, kNone, R{16, 8, 6}, R{16, 7, 8}, R{16, 7, 7}}, 0, 82,
     "Striped Easter Eggs", "Easter", "Celebrate springtime with these carefully painted egg bulbs."},
    {21, 1421, 1, 8, 1, 2, 2, {R{8, 32, 32}, kNone, kNone, kNone, R{8, 8, 8}}, 0, 32,
     "Spring Flowers", "Spring", "Tulips, daisies and daffodils to brighten up the season."},
    // The small rows sit below the 27 x 60 hats, right of the list frame, so
    // that no small frame covers a full-size one.
    {22, 1431, 5, 1, 4, 2, 2, {R{4, 27, 60}, R{1, 32, 32}, kNone, kNone, R{4, 6, 13}}, 32, 60,
     "Party Hats", "New Year", "Don't forget to choose a designated (disk) driver."},
    {46, 1441, 1, 1, 2, 0, 0, {R{2, 32, 32}, R{2, 32, 32}, R{2, 32, 32}, R{2, 32, 32}, R{8, 8, 8}}, 0, 128,
     "Old Glory Bulbs", "Flags|Light Bulbs|July 4th", "O say can you see, by the bulb's early light?"},
    {23, 1131, 2, 2, 4, 2, 2, {R{4, 30, 30}, R{4, 30, 32}, kNone, kNone, R{8, 8, 8}}, 0, 62,
     "Jack-O-Lanterns", "Halloween|Autumn", "It just wouldn't be Halloween without rotting vegetables around the house."},
    {24, 1141, 3, 2, 8, 2, 2, {R{5, 31, 29}, kNone, kNone, kNone, R{5, 8, 8}}, 0, 29,
     "Zombie Tombstones", "Halloween", "Perhaps you can give this fellow a hand..."},
    {25, 1151, 8, 2, 8, 2, 2, {R{4, 32, 30}, R{4, 32, 30}, kNone, kNone, R{8, 8, 8}}, 0, 60,
     "The Grim Reaper", "Halloween", "Somebody's knocking on the door, somebody's ringing the bell..."},
    {26, 1161, 1, 1, 2, 2, 2, {R{4, 25, 32}, R{4, 25, 32}, kNone, kNone, R{1, 6, 8}, R{1, 6, 8}}, 50, 0,
     "Ghosts", "Halloween", "Boo!"},
    {27, 1181, 1, 4, 2, 2, 2, {R{4, 30, 30}, R{4, 30, 30}, kNone, kNone, R{8, 8, 8}}, 0, 60,
     "Autumn Leaves", "Autumn", "Get out the leaf blower: fall foliage, all over your lawn."},
    {28, 1201, 1, 1, 2, 2, 2, {R{2, 32, 32}, kNone, kNone, kNone, R{2, 8, 8}}, 0, 32,
     "Cornucopias", "Thanksgiving|Autumn", "The horn of plenty, overflowing with the abundance of the harvest."},
    {29, 1211, 1, 1, 4, 2, 2, {R{3, 31, 32}, kNone, kNone, kNone, R{1, 10, 10}, R{1, 10, 10}, R{1, 10, 10}}, 93, 0,
     "Live Turkeys", "Thanksgiving|Autumn", "Time to sharpen the ol' axe... Here, turkey-turkey-turkey!"},
    {30, 1191, 1, 1, 2, 2, 2, {R{2, 36, 21}, kNone, kNone, kNone, R{2, 9, 5}}, 0, 21,
     "Dead Turkeys", "Thanksgiving|Autumn", "No dark meat for me, please. Dad, can you pass the cranberry sauce?"},
    {31, 1021, 3, 4, 2, 8, 8, {R{16, 16, 30}, R{8, 30, 16}, R{8, 30, 16}, R{8, 20, 29}, R{16, 4, 8}, R{8, 7, 4}, R{8, 7, 4}, R{8, 5, 7}}, 170, 64,
     "Chili Peppers", "Summer|July 4th", "These red-hot bulbs can spice up any desktop!"},
    {32, 1041, 1, 1, 4, 2, 2, {R{3, 28, 28}, kNone, kNone, kNone, R{3, 7, 7}}, 0, 28,
     "Have A Nice Day!", "Happy Faces", "Flash back to the 70s with this timeless symbol of peace and harmony."},
    {33, 1241, 1, 1, 8, 0, 0, {R{8, 32, 32}, R{8, 32, 32}, R{8, 32, 32}, R{8, 32, 32}, R{64, 8, 8}}, 0, 128,
     "Paper Dolls", "", "A wonder to unfold! No scissors or glue required."},
    {34, 1281, 4, 4, 2, 2, 2, {R{8, 32, 32}, R{8, 32, 32}, R{8, 32, 32}, R{8, 32, 32}, R{32, 8, 8}}, 0, 128,
     "Paper Lanterns", "", "Traditional paper lanterns with beautiful colored bulbs."},
    {35, 1291, 7, 5, 2, 2, 2, {R{4, 19, 19}, R{2, 25, 29}, R{2, 23, 31}, R{2, 19, 30}, R{4, 5, 5}, R{2, 7, 8}, R{2, 7, 8}, R{2, 5, 8}}, 56, 25,
     "Laundry", "", "Hang up your clothes: they'll last longer."},
    {36, 1311, 3, 1, 8, 2, 2, {R{4, 31, 31}, R{4, 31, 31}, kNone, kNone, R{8, 8, 8}}, 0, 62,
     "Tasty Donuts", "", "Chomp, chomp... save some for me: they're fat-free!"},
    {37, 1261, 1, 1, 8, 2, 2, {R{4, 32, 32}, R{3, 32, 32}, kNone, kNone, R{4, 8, 8}, R{3, 8, 8}}, 96, 32,
     "Schtanna", "", "Geometric symbols traditionally painted on barns for good luck."},
    {38, 1301, 2, 7, 2, 2, 2, {R{7, 32, 32}, R{7, 32, 32}, kNone, kNone, R{14, 8, 8}}, 0, 64,
     "Religious Icons", "", "Peace on Earth and goodwill to all creatures."},
    {39, 1081, 2, 1, 4, 2, 2, {R{4, 32, 30}, kNone, kNone, kNone, R{1, 8, 8}, R{1, 8, 8}, R{1, 8, 8}, R{1, 8, 8}}, 128, 0,
     "Sun", "Summer|Stars, Sun, Moon", "Just the thing to help you get away from it all this winter!"},
    {40, 1091, 1, 1, 4, 2, 2, {R{4, 31, 31}, kNone, kNone, kNone, R{4, 8, 8}}, 0, 31,
     "Moon", "Stars, Sun, Moon", "Set your mind at ease and pretend those monitor rays are moonbeams!"},
    {41, 1101, 1, 2, 4, 2, 2, {R{8, 28, 28}, kNone, kNone, kNone, R{8, 7, 7}}, 0, 28,
     "Planets", "Stars, Sun, Moon", "These planets are a gas... a gas giant, that is!"},
    {42, 1341, 1, 6, 4, 2, 2, {R{6, 29, 22}, R{6, 29, 22}, R{6, 29, 22}, R{6, 29, 22}, R{24, 7, 5}}, 0, 88,
     "Flags of the World", "Flags", "Geography class all over again: it's a small world, after all."},
    {43, 2001, 1, 1, 1, 0, 0, {R{1, 32, 32}, R{1, 16, 16}, kNone, kNone, R{2, 4, 4}}, 0, 32,
     "16 Pixel Spacer", "Spacers", "Use this \"bulb\" to insert a 16-pixel gap between other bulbs."},
    {44, 2011, 1, 1, 1, 0, 0, {R{1, 32, 32}, R{1, 32, 32}, kNone, kNone, R{2, 8, 8}}, 0, 32,
     "32 Pixel Spacer", "Spacers", "Use this \"bulb\" to insert a 32-pixel gap between other bulbs."},
    {45, 2021, 1, 1, 1, 0, 0, {R{1, 32, 32}, R{1, 50, 50}, kNone, kNone, R{2, 12, 12}}, 0, 32,
     "50 Pixel Spacer", "Spacers", "Use this \"bulb\" to insert a 50-pixel gap between other bulbs."},
};

// The frame plan of each row (see Plan); the art generator draws each block
// in its own orientation or shape.
Plan planFor(int row) {
    switch (row) {
    case 0: case 3: return edgeRows(10, 5);          // standard, indoor bulbs
    case 1: {                                          // holly: a different sprig per corner
        Plan p = edgeRows(4, 0);
        p.cornerFlavor = {0, 1, 2, 3};
        return p;
    }
    case 2: {                                          // snow family, upright everywhere
        Plan p = sameEverywhere(4, 1, 0);
        p.cornerFlavor = {0, 1, 2, 3};
        return p;
    }
    case 4: return edgeRows(12, 6);                    // mini bulbs
    case 5: {                                          // heavy duty: sideways rows first
        Plan p = edgeRows(16, 8);
        p.edgeBlock = {2, 1, 3, 0};
        p.cornerBlock = {2, 2, 3, 3};
        return p;
    }
    case 6: return edgeRows(9, 4);                     // baubles (9th frame spare)
    case 7: return sameEverywhere(4, 0, 1);            // tree
    case 8: {                                          // candy canes: sparkle runs down and back
        Plan p = sameEverywhere(12, 3, 1);
        p.states = {0, 1, 2, 1};
        p.cornerFlavor = {0, 1, 2, 3};
        return p;
    }
    case 9: return sameEverywhere(4, 2, 1);            // santa
    case 10: {                                         // carolers sing in turn
        Plan p = sameEverywhere(36, 3, 1);
        p.states = {0, 1, 2, 2, 1, 0, 0, 0};
        p.flavorShift = 1;
        p.cornerFlavor = {0, 1, 2, 3};
        return p;
    }
    case 11: return sameEverywhere(8, 4, 1);           // stockings
    case 12: {                                         // gifts
        Plan p = sameEverywhere(8, 2, 1);
        p.cornerFlavor = {0, 1, 2, 3};
        return p;
    }
    case 13: return sameEverywhere(16, 4, 1);          // dreidels
    case 14: return sameEverywhere(8, 0, 1);           // menorah
    case 15: {                                         // mezmerized: four ring states, twice
        Plan p = sameEverywhere(20, 4, 1);
        p.states = {0, 1, 2, 3, 0, 1, 2, 3};
        return p;
    }
    case 16: return sameEverywhere(32, 1, 8);          // candy hearts
    case 17: return sameEverywhere(2, 0, 1);           // sweet hearts
    case 18: {                                         // shamrocks turn the other way on the far edges
        Plan p = sameEverywhere(32, 8, 1);
        p.edgeBlock = {0, 1, 1, 0};
        p.cornerBlock = {0, 1, 1, 0};
        p.cornerFlavor = {0, 1, 2, 3};
        return p;
    }
    case 19: {                                         // pastel eggs: upright, lying, tilted
        Plan p = sameEverywhere(8, 4, 1);
        p.edgeBlock = {0, 1, 0, 1};
        p.cornerBlock = {2, 2, 2, 2};
        p.cornerFlavor = {0, 1, 0, 1};
        return p;
    }
    case 20: return sameEverywhere(48, 8, 1);          // striped eggs: two flavors per shape
    case 21: {                                         // flowers
        Plan p = sameEverywhere(8, 1, 0);
        p.cornerFlavor = {0, 2, 4, 6};
        return p;
    }
    case 22: return sameEverywhere(4, 0, 1);           // party hats (frame 5: the list picture)
    case 23: return edgeRows(2, 1);                    // old glory
    case 24: return sameEverywhere(8, 4, 1);           // jack-o-lanterns
    case 25: {                                         // tombstones: the hand rises and sinks
        Plan p = sameEverywhere(5, 0, 1);
        p.states = {0, 1, 2, 3, 4, 3, 2, 1};
        p.flavorShift = 4;
        p.cornerFlavor = {0, 1, 0, 1};
        return p;
    }
    case 26: {                                         // grim reaper knocks
        Plan p = sameEverywhere(8, 4, 1);
        p.states = {0, 1, 2, 1, 2, 0, 3, 0};
        return p;
    }
    case 27: return sameEverywhere(2, 0, 1);           // ghosts
    case 28: {                                         // leaves
        Plan p = sameEverywhere(8, 1, 4);
        p.cornerFlavor = {0, 1, 2, 3};
        return p;
    }
    case 29: return sameEverywhere(2, 0, 1);           // cornucopia
    case 30: {                                         // live turkey struts
        Plan p = sameEverywhere(3, 0, 1);
        p.states = {0, 1, 2, 1};
        return p;
    }
    case 31: return sameEverywhere(2, 0, 1);           // dead turkey
    case 32: {                                         // chili peppers, a diagonal one per corner
        Plan p = edgeRows(8, 4);
        p.cornerBlock = {4, 4, 4, 4};
        p.cornerFlavor = {0, 1, 2, 3};
        return p;
    }
    case 33: {                                         // smiley winks
        Plan p = sameEverywhere(3, 0, 1);
        p.states = {0, 1, 2, 1};
        return p;
    }
    case 34: return edgeRows(8, 1);                    // paper dolls
    case 35: return edgeRows(8, 4);                    // paper lanterns
    case 36: {                                         // laundry: shirt, socks, dress, trousers, towel
        Plan p = sameEverywhere(10, 0, 1);
        p.flavorBase = {4, 0, 6, 8, 2};
        p.cornerFlavor = {0, 1, 2, 4};
        return p;
    }
    case 37: return sameEverywhere(8, 0, 1);           // donuts
    case 38: {                                         // schtanna: seven steps of a turn
        Plan p = sameEverywhere(7, 0, 1);
        p.states = {0, 1, 2, 3, 4, 5, 6, 0};
        return p;
    }
    case 39: return sameEverywhere(14, 1, 7);          // religious icons
    case 40: case 41: return sameEverywhere(4, 0, 1);  // sun, moon
    case 42: return sameEverywhere(8, 4, 1);           // planets
    case 43: {                                         // flags
        Plan p = sameEverywhere(24, 1, 6);
        p.cornerFlavor = {0, 1, 2, 3};
        return p;
    }
    default: {                                         // spacers: frame 2 everywhere
        Plan p = sameEverywhere(1, 0, 0);
        p.firstFrame = 1;
        return p;
    }
    }
}

int flavorOffset(const Plan& plan, int flavor) {
    return plan.flavorBase[0] >= 0 ? plan.flavorBase[flavor] : flavor * plan.flavorStride;
}

int planFrame(const Plan& plan, int block, int flavor, int state) {
    return 1 + plan.firstFrame + block * plan.blockSize + flavorOffset(plan, flavor) + state * plan.stateStride;
}

int stateOf(const Plan& plan, int phases, int flavor, int phase) {
    return plan.states[(phase + flavor * plan.flavorShift) % phases];
}

void copyText(char* field, size_t size, const char* text) {
    check(strlen(text) < size);
    strncpy(field, text, size);
}

struct Table {
    std::array<BulbTableRow, kBuiltInKinds> rows{};
    std::array<std::vector<FrameArt>, kBuiltInKinds> art;
};

Table buildTable() {
    Table t;
    for (int r = 0; r < kBuiltInKinds; ++r) {
        const Geometry& g = kGeometry[r];
        const Plan plan = planFor(r);
        BulbTableRow& row = t.rows[r];
        row.id = g.id;
        row.stripResource = g.strip;
        row.maskResource = uint16_t(g.strip + 1);
        row.listFrame = g.listFrame;
        row.flavors = g.flavors;
        row.phases = g.phases;
        row.gapHorizontal = g.gapH;
        row.gapVertical = g.gapV;
        row.rows = g.rows;
        row.smallX = g.smallX;
        row.smallY = g.smallY;
        for (int c = 0; c < 4; ++c)
            for (int p = 0; p < kMaxPhases; ++p) {
                int flavor = plan.cornerFlavor[c] % g.flavors;
                row.cornerFrames[c][p] = uint16_t(
                    planFrame(plan, plan.cornerBlock[c], flavor, stateOf(plan, g.phases, flavor, p % g.phases)));
            }
        for (int e = 0; e < 4; ++e)
            for (int f = 0; f < kMaxFlavors; ++f)
                for (int p = 0; p < kMaxPhases; ++p) {
                    int flavor = f % g.flavors;
                    row.edgeFrames[e][f][p] = uint16_t(
                        planFrame(plan, plan.edgeBlock[e], flavor, stateOf(plan, g.phases, flavor, p % g.phases)));
                }
        copyText(row.name, sizeof row.name, g.name);
        copyText(row.description, sizeof row.description, g.description);
        copyText(row.copyright, sizeof row.copyright, "Copyright 2024 Quorvane. All rights reserved.");
        copyText(row.author, sizeof row.author, "Drawn by the Quorvane studio's art generator");
        copyText(row.categories, sizeof row.categories, g.categories);

        // What each full-size frame shows: every (block, flavor, state) the
        // plan can name; a frame no plan names repeats one of its block.
        int count = frameCount(row, false);
        std::vector<FrameArt>& art = t.art[r];
        art.assign(count + 1, FrameArt{-1, 0, 0, false});
        int states = 0;
        for (int s : plan.states) states = std::max(states, s + 1);
        states = std::min(states, int(g.phases));
        if (plan.stateStride == 0) states = 1;
        int blocks = (count - plan.firstFrame + plan.blockSize - 1) / plan.blockSize;
        for (int b = 0; b < blocks; ++b)
            for (int f = 0; f < g.flavors; ++f)
                for (int s = 0; s < states; ++s) {
                    int n = planFrame(plan, b, f, s);
                    if (n <= count && n > plan.firstFrame + b * plan.blockSize &&
                        n <= plan.firstFrame + (b + 1) * plan.blockSize && art[n].block < 0)
                        art[n] = {b, f, s, false};
                }
        for (int n = 1; n <= count; ++n) {
            if (art[n].block >= 0) continue;
            int b = n <= plan.firstFrame ? 0 : (n - 1 - plan.firstFrame) / plan.blockSize;
            int start = plan.firstFrame + b * plan.blockSize + 1;
            int named = 0;
            while (start + named <= count && art[start + named].block >= 0 && start + named < n) ++named;
            art[n] = named > 0 ? art[start + (n - start) % named] : FrameArt{std::max(b, 0), 0, 0, false};
            art[n].block = std::max(b, 0);
        }
        auto markUsed = [&](int n) {
            if (n >= 1 && n <= count) art[n].used = true;
        };
        markUsed(row.listFrame);
        for (int c = 0; c < 4; ++c)
            for (int p = 0; p < g.phases; ++p) markUsed(row.cornerFrames[c][p]);
        for (int e = 0; e < 4; ++e)
            for (int f = 0; f < g.flavors; ++f)
                for (int p = 0; p < g.phases; ++p) markUsed(row.edgeFrames[e][f][p]);
    }
    return t;
}

const Table& table() {
    static const Table t = buildTable();
    return t;
}

}  // namespace

const BulbTableRow& builtInRow(int row) {
    check(row >= 0 && row < kBuiltInKinds);
    return table().rows[row];
}

int frameNumber(const BulbTableRow& row, int position, int flavor, int phase) {
    if (position < kPosTop || position > kPosList) return 0;
    if (position == kPosList) return row.listFrame;
    int phases = row.phases ? row.phases : 1, flavors = row.flavors ? row.flavors : 1;
    int p = ((phase % phases) + phases) % phases;
    if (position >= kPosTopLeft) return row.cornerFrames[position - kPosTopLeft][p];
    int f = ((flavor % flavors) + flavors) % flavors;
    return row.edgeFrames[position][f][p];
}

int frameCount(const BulbTableRow& row, bool preview) {
    int count = 0;
    for (int r = preview ? 4 : 0; r < (preview ? 8 : 4); ++r) count += row.rows[r].count;
    return count;
}

FrameBox frameNumberBox(const BulbTableRow& row, int frame, bool preview) {
    check(frame > 0);
    int remaining = frame - 1, top = 0;
    for (int r = preview ? 4 : 0; r < (preview ? 8 : 4); ++r) {
        const FrameRow& fr = row.rows[r];
        if (remaining < fr.count) {
            FrameBox box{remaining * fr.width, top, remaining * fr.width + fr.width, top + fr.height};
            if (preview) {
                box.left += row.smallX;
                box.right += row.smallX;
                box.top += row.smallY;
                box.bottom += row.smallY;
            }
            return box;
        }
        remaining -= fr.count;
        top += fr.height;
    }
    fail();
}

FrameBox frameBox(const BulbTableRow& row, int position, int flavor, int phase, bool preview) {
    if (position < kPosTop || position > kPosList) return {};
    return frameNumberBox(row, frameNumber(row, position, flavor, phase), preview);
}

FrameBox stripSize(const BulbTableRow& row) {
    int width = 0, height = 0, smallWidth = 0, smallHeight = 0;
    for (int r = 0; r < 4; ++r) {
        width = std::max(width, row.rows[r].count * row.rows[r].width);
        height += row.rows[r].height;
    }
    for (int r = 4; r < 8; ++r) {
        smallWidth = std::max(smallWidth, row.rows[r].count * row.rows[r].width);
        smallHeight += row.rows[r].height;
    }
    return {0, 0, std::max(width, row.smallX + smallWidth), std::max(height, row.smallY + smallHeight)};
}

FrameArt frameArt(int row, int frame) {
    const auto& art = table().art.at(size_t(row));
    check(frame >= 1 && size_t(frame) < art.size());
    return art[frame];
}

}  // namespace lumarel

// Where each of the 46 object pictures lies in the object sheet and its mask
// sheet (pack members 15 and 16). The art generator draws to these rectangles.
#pragma once

namespace flurrin {

struct PictureRect {
    int x, y, width, height;
};

inline constexpr int kPictureCount = 46;
inline constexpr int kFirstCircle = 1, kLastCircle = 17;
inline constexpr int kFirstCrystal = 18, kLastCrystal = 38;
inline constexpr int kFirstOrnament = 39, kLastOrnament = 46;
inline constexpr int kSheetWidth = 420, kSheetHeight = 160;

// Picture n is kPictureTable[n - 1].
inline constexpr PictureRect kPictureTable[kPictureCount] = {
    {16, 15, 18, 18}, {39, 15, 19, 19}, {64, 14, 18, 18}, {91, 15, 15, 15}, {114, 15, 14, 14}, {135, 15, 15, 15},
    {155, 13, 14, 14}, {178, 14, 13, 13}, {196, 15, 12, 12}, {215, 15, 11, 11}, {232, 15, 10, 10}, {249, 15, 9, 9},
    {264, 16, 8, 8}, {279, 15, 9, 9}, {295, 15, 8, 8}, {311, 17, 5, 5}, {324, 15, 4, 4},
    {17, 70, 1, 1}, {23, 69, 3, 3}, {30, 69, 3, 3}, {36, 69, 5, 5}, {46, 68, 6, 5}, {56, 67, 7, 7},
    {66, 66, 9, 9}, {78, 65, 11, 11}, {94, 65, 11, 11}, {108, 63, 13, 13}, {126, 63, 13, 13}, {143, 65, 9, 9},
    {155, 63, 13, 13}, {172, 64, 11, 11}, {187, 62, 15, 15}, {207, 61, 15, 15}, {226, 61, 15, 15}, {248, 62, 13, 14},
    {266, 63, 11, 11}, {282, 62, 15, 15}, {301, 63, 11, 11},
    {8, 99, 44, 57}, {57, 99, 44, 57}, {107, 99, 44, 57}, {157, 99, 44, 57}, {208, 99, 44, 57}, {259, 99, 44, 57},
    {312, 99, 44, 57}, {363, 99, 44, 57},
};

}  // namespace flurrin

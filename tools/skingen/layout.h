#pragma once

#include <array>

namespace kavlo::skingen {

// Where the window's controls sit (content-area coordinates, as the form places them). The
// backgrounds leave these places free, and every opaque small image takes its backdrop from the
// background at its own place, so it sits on the panel without a seam.
struct Box {
    int x = 0, y = 0, w = 0, h = 0;
    int Right() const { return x + w; }
    int Bottom() const { return y + h; }
};

namespace layout {
constexpr int kWidth = 638;
constexpr int kHeight = 482;

// Panels of the background.
constexpr Box kListPanel{46, 38, 168, 401};
constexpr Box kDetailPanel{219, 6, 317, 445};
constexpr Box kPictureWell{224, 62, 247, 155}; // around the small picture (226, 64, 243 x 151)
constexpr Box kColumnWell{537, -20, 83, 522};  // the icon column, running on under both covers
constexpr Box kUpperRail{517, 7, 14, 213};     // LowerArrow travels here (tops 10 ... 200)
constexpr Box kLowerRail{517, 268, 14, 128};   // UpperArrow travels here (tops 271 ... 375)
constexpr Box kUpperCover{538, 0, 100, 58};
constexpr Box kLowerCover{523, 391, 115, 91};

// Controls.
constexpr int kRowsX = 76;
constexpr int kBarX = 71;
constexpr int kBarTop = 63; // bar of row r at 63 + 31 (r - 1)
constexpr int kBarPitch = 31;
constexpr int kPlayX = 55;
constexpr Box kBar{71, 63, 135, 28};
constexpr Box kPlay{55, 63, 16, 28};
constexpr std::array<Box, 4> kScrollArrows{
    {{189, 48, 18, 11}, {189, 375, 18, 11}, {567, 46, 18, 11}, {567, 394, 18, 11}}};
constexpr std::array<int, 5> kFlagX{295, 332, 367, 402, 439};
constexpr int kFlagY = 25;
constexpr int kFlagSize = 32;
constexpr std::array<int, 5> kActionX{439, 459, 476, 493, 510}; // setup, readme, web, play, stop
constexpr int kActionY = 227;
constexpr int kIconX = 552;
// The section controls are 50 x 50 but for the sixth, 50 x 46, and draw the icon at their top-left
// corner: a 49 x 46 icon shows whole in every one of them.
constexpr int kIconWidth = 49;
constexpr int kIconHeight = 46;
constexpr std::array<int, 3> kCornerX{87, 117, 147}; // exit, settings, scheme indicators
constexpr int kCornerY = 448;
constexpr int kIndicator = 12;
constexpr int kArrowX = 519;
constexpr Box kPositionLabel{83, 403, 84, 12};
constexpr Box kHelpLabel2{83, 421, 85, 13};

// The window with the border panel: the frame picture and its animation windows (window coordinates).
constexpr int kFrameWidth = 818;
constexpr int kFrameHeight = 741;
constexpr Box kContentInFrame{85, 173, kWidth, kHeight};
// Animate1 ... Animate10, where the border's clips play.
constexpr std::array<Box, 10> kClipWindows{{{45, 104, 40, 205},
                                            {0, 445, 85, 88},
                                            {67, 655, 98, 86},
                                            {603, 656, 121, 41},
                                            {723, 495, 95, 192},
                                            {723, 226, 95, 211},
                                            {368, 55, 250, 118},
                                            {636, 77, 144, 96},
                                            {516, 687, 39, 54},
                                            {0, 0, 314, 173}}};
} // namespace layout

} // namespace kavlo::skingen

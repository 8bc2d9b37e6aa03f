#pragma once

class Button;
class Sprite;
class TextLabel;

// The font every game text uses.
inline constexpr const char* GameFont = "Data/Fonts/Overload";
// The menus' purple background.
inline constexpr int MenuBackgroundRed = 0x99;
inline constexpr int MenuBackgroundGreen = 0x55;
inline constexpr int MenuBackgroundBlue = 0xAA;

// The menu button shared by the menu screens: pictures, a caption movie of
// 0.4 W x 0.07 H nudged up-left (twice as far while pressed), the highlight
// and press sounds, at 0.565625 W x 0.09166 H. The caller places it.
void SetUpMenuButton(Button& button, int w, int h, const char* captionMovie);
// The small button of the dialogs: 0.29375 W x 0.079167 H, a caption of
// 0.31 W x 0.07 H that only moves while pressed, the same sounds.
void SetUpSmallButton(Button& button, int w, int h, const char* captionMovie);
// A centred button of the menu screens: the menu button recipe at height
// fraction y (hot key without Alt unless needsAlt).
void SetUpCentredMenuButton(Button& button, int w, int h, const char* captionMovie, float y, int hotkey,
                            bool needsAlt = false);
// The panel behind the buttons of the screens past the main menu: W x 0.75 H at (0, 0.195 H).
void LayOutMenuPanel(Sprite& panel, int w, int h);
// The dimming layer over the whole screen and the panel of every dialog.
void LayOutDialogPanel(Sprite& dim, Sprite& panel, int w, int h);
// A line of dialog text in the 0.035 W font, centred at height fraction y.
void LayOutDialogLine(TextLabel& line, int w, int h, float y);
// The yes / no dialog shared by the exit and end-of-game questions: the panel
// of 0.75 W x 0.65 H centred at 0.02 H, two centred lines at 0.1 H and 0.3 H
// in the 0.035 W font, and the small Yes and No buttons at 0.55 H.
void LayOutYesNoDialog(Sprite& panel, TextLabel& firstLine, TextLabel& secondLine, Button& yes, Button& no, int w,
                       int h);
// The small Yes and No buttons of a dialog, at (0.205 W, 0.55 H) and (0.505 W, 0.55 H).
void LayOutYesNoButtons(Button& yes, Button& no, int w, int h);

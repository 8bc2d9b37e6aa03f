#pragma once

class Sprite;

// The pictures the play screen and the tutorial share, in the same places:
// the well and the information panel (0.3953125 W x 0.97083 H, vertically
// centred, at x 0.033 W and 0.575 W), the queue bar (0.0828125 W wide, centred)
// with its timer inside, and the mascot.
struct PlayFurniture
{
    Sprite& well;
    Sprite& infoPanel;
    Sprite& queueBar;
    Sprite& queueTimer;
    Sprite& mascot;

    void Layout(int w, int h);
};

#include "screens/MenuRecipes.h"

#include "engine/Button.h"
#include "engine/Layout.h"

namespace {
void SetSounds(Button& button)
{
    button.SetHighlightSound("Data/Sounds/ButtonHighlight");
    button.SetPressSound("Data/Sounds/ButtonPress");
}
} // namespace

void SetUpMenuButton(Button& button, int w, int h, const char* captionMovie)
{
    button.SetNormalMovie("Data/Graphics/MenuButton.swf");
    button.SetMouseOverMovie("Data/Graphics/MenuButtonMouseOver.swf");
    button.SetMouseDownMovie("Data/Graphics/MenuButtonMouseDown.swf");
    button.SetSize(FractionOf(w, 0.565625f), FractionOf(h, 0.09166f));
    button.SetCaptionMovie(captionMovie);
    button.SetCaptionSize(FractionOf(w, 0.4f), FractionOf(h, 0.07f));
    const int dx = FractionOf(w, 0.0025f);
    const int dy = FractionOf(h, 0.003f);
    button.SetCaptionOffset(-dx, -dy);
    button.SetPressedCaptionOffset(-2 * dx, -2 * dy);
    SetSounds(button);
}

void SetUpSmallButton(Button& button, int w, int h, const char* captionMovie)
{
    button.SetNormalMovie("Data/Graphics/SmallButton.swf");
    button.SetMouseOverMovie("Data/Graphics/SmallButtonMouseOver.swf");
    button.SetMouseDownMovie("Data/Graphics/SmallButtonMouseDown.swf");
    button.SetSize(FractionOf(w, 0.29375f), FractionOf(h, 0.079167f));
    button.SetCaptionMovie(captionMovie);
    button.SetCaptionSize(FractionOf(w, 0.31f), FractionOf(h, 0.07f));
    button.SetCaptionOffset(0, 0);
    button.SetPressedCaptionOffset(-FractionOf(w, 0.0025f), -FractionOf(h, 0.003f));
    SetSounds(button);
}

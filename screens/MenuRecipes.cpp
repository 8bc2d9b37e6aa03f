#include "screens/MenuRecipes.h"

#include "engine/Button.h"
#include "engine/Layout.h"
#include "media/Sprite.h"
#include "media/TextLabel.h"

namespace
{
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

void SetUpCentredMenuButton(Button& button, int w, int h, const char* captionMovie, float y, int hotkey, bool needsAlt)
{
    SetUpMenuButton(button, w, h, captionMovie);
    button.SetPosition(w / 2 - button.GetWidth() / 2, FractionOf(h, y));
    button.SetHotkey(hotkey, needsAlt);
}

void LayOutMenuPanel(Sprite& panel, int w, int h)
{
    panel.SetMovie("Data/Graphics/Background.swf");
    panel.SetSize(w, FractionOf(h, 0.75f));
    panel.SetPosition(0, FractionOf(h, 0.195f));
}

void LayOutDialogPanel(Sprite& dim, Sprite& panel, int w, int h)
{
    dim.SetMovie("Data/Graphics/Dim.swf");
    dim.SetSize(w, h);
    dim.SetPosition(0, 0);
    panel.SetMovie("Data/Graphics/DialogBackground.swf");
    panel.SetSize(FractionOf(w, 0.75f), FractionOf(h, 0.65f));
    panel.SetPosition(w / 2 - panel.GetWidth() / 2, FractionOf(h, 0.02f));
}

void LayOutDialogLine(TextLabel& line, int w, int h, float y)
{
    line.SetFont(GameFont, FractionOf(w, 0.035f));
    line.SetPosition(w / 2 - line.GetWidth() / 2, FractionOf(h, y));
}

void LayOutYesNoDialog(Sprite& panel, TextLabel& firstLine, TextLabel& secondLine, Button& yes, Button& no, int w,
                       int h)
{
    panel.SetMovie("Data/Graphics/DialogBackground.swf");
    panel.SetSize(FractionOf(w, 0.75f), FractionOf(h, 0.65f));
    panel.SetPosition(w / 2 - panel.GetWidth() / 2, FractionOf(h, 0.02f));

    LayOutDialogLine(firstLine, w, h, 0.1f);
    LayOutDialogLine(secondLine, w, h, 0.3f);
    LayOutYesNoButtons(yes, no, w, h);
}

void LayOutYesNoButtons(Button& yes, Button& no, int w, int h)
{
    SetUpSmallButton(yes, w, h, "Data/Graphics/Yes.swf");
    yes.SetPosition(FractionOf(w, 0.205f), FractionOf(h, 0.55f));
    SetUpSmallButton(no, w, h, "Data/Graphics/No.swf");
    no.SetPosition(FractionOf(w, 0.505f), FractionOf(h, 0.55f));
}

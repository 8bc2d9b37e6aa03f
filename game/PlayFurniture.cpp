#include "game/PlayFurniture.h"

#include "engine/Layout.h"
#include "media/Sprite.h"

void PlayFurniture::Layout(int w, int h)
{
    infoPanel.SetMovie("Data/Graphics/PlayGame/InfoBox.swf");
    infoPanel.SetSize(FractionOf(w, 0.3953125f), FractionOf(h, 0.97083f));
    infoPanel.SetPosition(FractionOf(w, 0.575f), h / 2 - infoPanel.GetHeight() / 2);

    well.SetMovie("Data/Graphics/PlayGame/GameWell.swf");
    well.SetSize(infoPanel.GetWidth(), infoPanel.GetHeight());
    well.SetPosition(FractionOf(w, 0.033f), h / 2 - well.GetHeight() / 2);

    queueBar.SetMovie("Data/Graphics/PlayGame/QueueBar.swf");
    queueBar.SetSize(FractionOf(w, 0.0828125f), FractionOf(h, 0.97083f));
    queueBar.SetPosition(w / 2 - queueBar.GetWidth() / 2, h / 2 - queueBar.GetHeight() / 2);

    queueTimer.SetMovie("Data/Graphics/PlayGame/QueueTimer.swf");
    queueTimer.SetSize(FractionOf(queueBar.GetWidth(), 0.75f), FractionOf(queueBar.GetHeight(), 0.97f));
    queueTimer.SetPosition(w / 2 - queueTimer.GetWidth() / 2 - FractionOf(w, 0.0015f),
                           h / 2 - queueTimer.GetHeight() / 2 - FractionOf(h, 0.0025f));

    mascot.SetMovie("Data/Graphics/Jollyboots.swf");
    mascot.SetSize(FractionOf(w, 0.21875f), FractionOf(h, 0.3604167f));
    mascot.SetPosition(FractionOf(w, 0.66f), FractionOf(h, 0.289f));
}

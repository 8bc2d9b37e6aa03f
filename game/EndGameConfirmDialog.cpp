#include "game/EndGameConfirmDialog.h"

#include "app/Application.h"
#include "engine/Layout.h"
#include "engine/ScreenManager.h"
#include "screens/MenuRecipes.h"

EndGameConfirmDialog::EndGameConfirmDialog()
{
    yes.SetHotkey('y', false);
    no.SetHotkey('n', false);
    yes.SetListener(this);
    no.SetListener(this);
    firstLine.SetText("This will end your current game.");
    secondLine.SetText("Are you sure?");
}

void EndGameConfirmDialog::Layout()
{
    int w = 0;
    int h = 0;
    Application::Get().GetSize(w, h);

    panel.SetMovie("Data/Graphics/DialogBackground.swf");
    panel.SetSize(FractionOf(w, 0.75f), FractionOf(h, 0.65f));
    panel.SetPosition(w / 2 - panel.GetWidth() / 2, FractionOf(h, 0.02f));

    const int fontSize = FractionOf(w, 0.035f);
    firstLine.SetFont(GameFont, fontSize);
    firstLine.SetPosition(w / 2 - firstLine.GetWidth() / 2, FractionOf(h, 0.1f));
    secondLine.SetFont(GameFont, fontSize);
    secondLine.SetPosition(w / 2 - secondLine.GetWidth() / 2, FractionOf(h, 0.3f));

    SetUpSmallButton(yes, w, h, "Data/Graphics/Yes.swf");
    yes.SetPosition(FractionOf(w, 0.205f), FractionOf(h, 0.55f));
    SetUpSmallButton(no, w, h, "Data/Graphics/No.swf");
    no.SetPosition(FractionOf(w, 0.505f), FractionOf(h, 0.55f));
}

void EndGameConfirmDialog::Open(Purpose why)
{
    purpose = why;
    ScreenManager& screens = ScreenManager::Get();
    screens.BeginModal();
    Layout();
    screens.AddModalControl(&panel);
    screens.AddModalControl(&firstLine);
    screens.AddModalControl(&secondLine);
    screens.AddModalControl(&yes);
    screens.AddModalControl(&no);
}

void EndGameConfirmDialog::Dismiss()
{
    if (purpose == Purpose::None)
        return;
    purpose = Purpose::None;
    ScreenManager& screens = ScreenManager::Get();
    if (screens.IsModal())
        screens.EndModal();
}

void EndGameConfirmDialog::OnButtonClicked(Button* button)
{
    if (purpose == Purpose::None || (button != &yes && button != &no))
        return;
    const Purpose answered = purpose;
    Dismiss();
    if (onAnswer)
        onAnswer(answered, button == &yes);
}

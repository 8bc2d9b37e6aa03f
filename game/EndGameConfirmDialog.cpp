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

    LayOutYesNoDialog(panel, firstLine, secondLine, yes, no, w, h);
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

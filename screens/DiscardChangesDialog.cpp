#include "screens/DiscardChangesDialog.h"

#include "app/Application.h"
#include "engine/ScreenManager.h"
#include "screens/MenuRecipes.h"

DiscardChangesDialog::DiscardChangesDialog(ButtonListener& owner)
{
    yes.SetHotkey('y', false);
    no.SetHotkey('n', false);
    yes.SetListener(&owner);
    no.SetListener(&owner);
    question.SetText("Exit without applying changes?");
}

void DiscardChangesDialog::Open()
{
    int w = 0;
    int h = 0;
    Application::Get().GetSize(w, h);
    LayOutDialogPanel(dim, panel, w, h);
    LayOutDialogLine(question, w, h, 0.1f);
    LayOutYesNoButtons(yes, no, w, h);

    ScreenManager& screens = ScreenManager::Get();
    screens.BeginModal();
    screens.AddModalControl(&dim);
    screens.AddModalControl(&panel);
    screens.AddModalControl(&question);
    screens.AddModalControl(&yes);
    screens.AddModalControl(&no);
}

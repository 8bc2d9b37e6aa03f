#include "screens/KeepSettingsDialog.h"

#include <string>

#include "app/Application.h"
#include "engine/Layout.h"
#include "engine/ScreenManager.h"
#include "screens/MenuRecipes.h"

KeepSettingsDialog::KeepSettingsDialog(ButtonListener& owner)
{
    yes.SetHotkey('y', false);
    no.SetHotkey('n', false);
    yes.SetListener(&owner);
    no.SetListener(&owner);
    question.SetText("Do you want to keep these settings?");
}

void KeepSettingsDialog::Open()
{
    int w = 0;
    int h = 0;
    Application::Get().GetSize(w, h);
    LayOutDialogPanel(dim, panel, w, h);
    shownSeconds = -1;
    ShowRemaining(static_cast<int>(Seconds));
    LayOutDialogLine(question, w, h, 0.1f);
    LayOutDialogLine(countdown, w, h, 0.3f);
    LayOutYesNoButtons(yes, no, w, h);

    ScreenManager& screens = ScreenManager::Get();
    screens.BeginModal();
    screens.AddModalControl(&dim);
    screens.AddModalControl(&panel);
    screens.AddModalControl(&question);
    screens.AddModalControl(&countdown);
    screens.AddModalControl(&yes);
    screens.AddModalControl(&no);
}

void KeepSettingsDialog::ShowRemaining(int seconds)
{
    if (seconds == shownSeconds)
    {
        return;
    }
    shownSeconds = seconds;
    countdown.SetText("Reverting in " + std::to_string(seconds) + " Seconds...");
    countdown.SetPosition(Application::Get().Width() / 2 - countdown.GetWidth() / 2, countdown.GetY());
}

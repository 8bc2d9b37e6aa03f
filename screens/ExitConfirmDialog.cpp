#include "screens/ExitConfirmDialog.h"

#include "app/Application.h"
#include "engine/Layout.h"
#include "engine/ScreenManager.h"
#include "screens/MenuRecipes.h"

ExitConfirmDialog::ExitConfirmDialog()
{
    yes.SetHotkey('y', false);
    no.SetHotkey('n', false);
    yes.SetListener(this);
    no.SetListener(this);
    firstLine.SetText("Exit Quorvo Game Program.");
    secondLine.SetText("Are you sure?");
}

void ExitConfirmDialog::Layout()
{
    int w = 0;
    int h = 0;
    Application::Get().GetSize(w, h);

    dim.SetMovie("Data/Graphics/Dim.swf");
    dim.SetSize(w, h);
    dim.SetPosition(0, 0);

    LayOutYesNoDialog(panel, firstLine, secondLine, yes, no, w, h);
}

void ExitConfirmDialog::Open()
{
    ScreenManager& screens = ScreenManager::Get();
    screens.BeginModal();
    Layout();
    screens.AddModalControl(&dim);
    screens.AddModalControl(&panel);
    screens.AddModalControl(&firstLine);
    screens.AddModalControl(&secondLine);
    screens.AddModalControl(&yes);
    screens.AddModalControl(&no);
}

void ExitConfirmDialog::OnButtonClicked(Button* button)
{
    if (button == &yes)
    {
        Application::Get().RequestQuit();
    }
    else if (button == &no)
    {
        ScreenManager::Get().EndModal();
    }
}

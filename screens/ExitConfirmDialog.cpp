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
    if (button == &yes) {
        Application::Get().RequestQuit();
    } else if (button == &no) {
        ScreenManager::Get().EndModal();
    }
}

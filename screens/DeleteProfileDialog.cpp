#include "screens/DeleteProfileDialog.h"

#include "app/Application.h"
#include "engine/Layout.h"
#include "engine/ScreenManager.h"
#include "screens/MenuRecipes.h"

DeleteProfileDialog::DeleteProfileDialog(ButtonListener* listener)
{
    yes.SetHotkey('y', false);
    no.SetHotkey('n', false);
    yes.SetListener(listener);
    no.SetListener(listener);
}

void DeleteProfileDialog::Open(const std::string& name)
{
    int w = 0;
    int h = 0;
    Application::Get().GetSize(w, h);
    LayOutDialogPanel(dim, panel, w, h);
    line.SetText("Delete profile " + TextLabel::ValidUtf8(name) + "?");
    LayOutDialogLine(line, w, h, 0.1f);
    SetUpSmallButton(yes, w, h, "Data/Graphics/Yes.swf");
    yes.SetPosition(FractionOf(w, 0.205f), FractionOf(h, 0.55f));
    SetUpSmallButton(no, w, h, "Data/Graphics/No.swf");
    no.SetPosition(FractionOf(w, 0.505f), FractionOf(h, 0.55f));

    ScreenManager& screens = ScreenManager::Get();
    screens.BeginModal();
    for (Control* control : {static_cast<Control*>(&dim), static_cast<Control*>(&panel), static_cast<Control*>(&line),
                             static_cast<Control*>(&yes), static_cast<Control*>(&no)})
        screens.AddModalControl(control);
}

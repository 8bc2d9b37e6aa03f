#include "screens/MessageDialog.h"

#include "app/Application.h"
#include "engine/Layout.h"
#include "engine/ScreenManager.h"
#include "screens/MenuRecipes.h"

MessageDialog::MessageDialog()
{
    ok.SetHotkey('o', false);
    ok.SetListener(this);
}

void MessageDialog::Open(const std::string& firstText, const std::string& secondText)
{
    int w = 0;
    int h = 0;
    Application::Get().GetSize(w, h);
    LayOutDialogPanel(dim, panel, w, h);
    firstLine.SetText(firstText);
    LayOutDialogLine(firstLine, w, h, 0.1f);
    secondLine.SetText(secondText);
    LayOutDialogLine(secondLine, w, h, 0.15f);
    SetUpSmallButton(ok, w, h, "Data/Graphics/Ok.swf");
    ok.SetPosition(w / 2 - ok.GetWidth() / 2, FractionOf(h, 0.55f));

    ScreenManager& screens = ScreenManager::Get();
    screens.BeginModal();
    for (Control* control :
         {static_cast<Control*>(&dim), static_cast<Control*>(&panel), static_cast<Control*>(&firstLine),
          static_cast<Control*>(&secondLine), static_cast<Control*>(&ok)})
        screens.AddModalControl(control);
}

void MessageDialog::OnButtonClicked(Button* button)
{
    if (button == &ok)
        ScreenManager::Get().EndModal();
}

#include <vector>

#include "engine/Button.h"
#include "engine/ButtonListener.h"
#include "engine/KeyCode.h"
#include "engine/WidgetFixture.h"
#include "media/Bitmap.h"
#include "media/MovieLibrary.h"

namespace
{

struct ClickCounter : ButtonListener
{
    void OnButtonClicked(Button* button) override
    {
        clicked.push_back(button);
        if (onClick)
            onClick(button);
    }
    std::vector<Button*> clicked;
    std::function<void(Button*)> onClick;
};

// A 100 x 50 button at (100, 100) whose pictures leave a 20 % transparent
// margin: its clickable body is (120..180, 110..140).
class ButtonTest : public WidgetFixture
{
  protected:
    void SetUp() override
    {
        WidgetFixture::SetUp();
        files.add("Data/Graphics/Body.swf", SolidTestMovie({40, 90, 200, 255}, 20));
        files.add("Data/Graphics/BodyOver.swf", SolidTestMovie({80, 140, 250, 255}, 20));
        files.add("Data/Graphics/BodyDown.swf", SolidTestMovie({20, 50, 140, 255}, 20));
        files.add("Data/Graphics/Caption.swf", SolidTestMovie({255, 255, 255, 255}));

        button.SetNormalMovie("Data/Graphics/Body.swf");
        button.SetMouseOverMovie("Data/Graphics/BodyOver.swf");
        button.SetMouseDownMovie("Data/Graphics/BodyDown.swf");
        button.SetSize(100, 50);
        button.SetPosition(100, 100);
        button.SetCaptionMovie("Data/Graphics/Caption.swf");
        button.SetCaptionSize(40, 20);
        button.SetCaptionOffset(-1, -2);
        button.SetPressedCaptionOffset(-3, -4);
        button.SetHighlightSound("Data/Sounds/ButtonHighlight");
        button.SetPressSound("Data/Sounds/ButtonPress");
        button.SetListener(&listener);
        ScreenManager::Get().AddControl(&button);
        DrawAll();
    }

    Button button;
    ClickCounter listener;
};

TEST_F(ButtonTest, ClickIsAReleaseOverTheHoveredOpaqueBody)
{
    EXPECT_FALSE(button.HitTest(199, 148)); // the transparent corner
    const auto state = [&](const char* sound) { return std::make_pair(button.GetState(), IsPlaying(sound)); };
    Click(102, 102);
    EXPECT_EQ(state("Data/Sounds/ButtonHighlight"), std::make_pair(+Button::Normal, false));
    Move(150, 125);
    EXPECT_EQ(state("Data/Sounds/ButtonHighlight"), std::make_pair(+Button::MouseOver, true));
    Down(150, 125);
    EXPECT_EQ(state("Data/Sounds/ButtonPress"), std::make_pair(+Button::Pressed, true));
    EXPECT_TRUE(listener.clicked.empty()); // nothing happens on the press
    Up(150, 125);
    EXPECT_EQ(std::make_pair(listener.clicked, button.GetState()),
              std::make_pair(std::vector<Button*>{&button}, +Button::MouseOver));

    // Pressed elsewhere and released over the button: a click too.
    Move(400, 400);
    Down(400, 400);
    Move(150, 125);
    Up(150, 125);
    EXPECT_EQ(listener.clicked.size(), 2u);
    // Pressed, dragged off and released elsewhere: none.
    Down(150, 125);
    Move(400, 400);
    EXPECT_EQ(button.GetState(), Button::Normal);
    Up(400, 400);
    button.OnMouseUp(150, 125); // a stray release without the hover
    EXPECT_EQ(listener.clicked.size(), 2u);

    // A listener may hide the button while it is clicked; hidden, it is not hit.
    listener.onClick = [](Button* b) { b->Hide(); };
    Click(150, 125);
    EXPECT_EQ(std::make_pair(button.IsHidden(), button.GetState()), std::make_pair(true, +Button::Normal));
    Click(151, 125);
    EXPECT_EQ(listener.clicked.size(), 3u);
}

TEST_F(ButtonTest, CaptionIsCentredAndMovesWhilePressed)
{
    const auto caption = [&] { return std::make_pair(button.GetCaptionX(), button.GetCaptionY()); };
    EXPECT_EQ(caption(), std::make_pair(100 + 50 - 20 - 1, 100 + 25 - 10 - 2));
    Move(150, 125);
    EXPECT_EQ(caption(), std::make_pair(129, 113));
    Down(150, 125);
    EXPECT_EQ(caption(), std::make_pair(100 + 50 - 20 - 3, 100 + 25 - 10 - 4));
    Up(150, 125);
    EXPECT_EQ(caption(), std::make_pair(129, 113));

    // The frame shows the body's and the caption's pictures.
    App().Render();
    const auto& frame = Platform().Frames().back(); // the mouse-over body and the caption
    EXPECT_EQ(std::make_pair(frame.At(125, 112) & 0xFFFFFF, frame.At(140, 120) & 0xFFFFFF),
              std::make_pair(0x508CFAu, 0xFFFFFFu));
}

TEST_F(ButtonTest, HotkeysWithAndWithoutAlt)
{
    button.SetHotkey('p', false);
    Key('p');
    Key('p', true); // a key that needs no Alt also works with it
    EXPECT_EQ(std::make_pair(listener.clicked.size(), IsPlaying("Data/Sounds/ButtonPress")),
              std::make_pair<size_t>(2, true));

    button.SetHotkey('x', true);
    Key('x');
    Key('y', true);
    EXPECT_EQ(listener.clicked.size(), 2u);
    Key('x', true);
    EXPECT_EQ(listener.clicked.size(), 3u);

    button.Hide();
    Key('x', true);
    EXPECT_FALSE(button.OnKey('x', true));
    EXPECT_EQ(listener.clicked.size(), 3u);
}

TEST_F(ButtonTest, ButtonWithoutSoundsListenerOrHoverPictureCanBeHoveredAndClicked)
{
    Button bare;
    bare.SetNormalMovie("Data/Graphics/Body.swf");
    bare.SetSize(100, 50);
    bare.SetPosition(300, 300);
    ScreenManager::Get().AddControl(&bare);
    DrawAll();
    Click(350, 325);
    EXPECT_EQ(bare.GetState(), Button::MouseOver);
    App().Render(); // no mouse-over picture: no body drawn, and no failure
    ScreenManager::Get().RemoveControl(&bare);
}

TEST_F(ButtonTest, TheSameMoviesKeepTheirPicturesUntilTheSizeChangesOrARelease)
{
    const int rendered = MovieLibrary::Get().FramesRendered();
    button.SetCaptionMovie("Data/Graphics/Caption.swf"); // as a screen's OnEnter does
    button.SetNormalMovie("Data/Graphics/Body.swf");
    DrawAll();
    EXPECT_EQ(MovieLibrary::Get().FramesRendered(), rendered);
    button.SetCaptionSize(50, 20);
    DrawAll();
    ASSERT_NE(button.Caption().Current(), nullptr);
    EXPECT_EQ(std::make_pair(MovieLibrary::Get().FramesRendered(), button.Caption().Current()->Width()),
              std::make_pair(rendered + 1, 50));

    // A release drops the pictures until the movies are set again.
    button.Release();
    EXPECT_TRUE(!button.HitTest(150, 125) && button.Caption().Empty()); // no picture to test against
    button.SetNormalMovie("Data/Graphics/Body.swf");
    DrawAll();
    EXPECT_TRUE(button.HitTest(150, 125));
}

} // namespace

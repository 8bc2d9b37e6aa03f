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
    Click(102, 102);
    EXPECT_FALSE(IsPlaying("Data/Sounds/ButtonHighlight"));
    EXPECT_EQ(button.GetState(), Button::Normal);

    Move(150, 125);
    EXPECT_EQ(button.GetState(), Button::MouseOver);
    EXPECT_TRUE(IsPlaying("Data/Sounds/ButtonHighlight"));
    Down(150, 125);
    EXPECT_EQ(button.GetState(), Button::Pressed);
    EXPECT_TRUE(IsPlaying("Data/Sounds/ButtonPress"));
    EXPECT_TRUE(listener.clicked.empty()); // nothing happens on the press
    Up(150, 125);
    EXPECT_EQ(listener.clicked, std::vector<Button*>{&button});
    EXPECT_EQ(button.GetState(), Button::MouseOver);

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
    EXPECT_TRUE(button.IsHidden());
    EXPECT_EQ(button.GetState(), Button::Normal);
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
    const auto& frame = Platform().Frames().back();
    EXPECT_EQ(frame.At(125, 112) & 0xFFFFFF, 0x508CFAu); // mouse-over body
    EXPECT_EQ(frame.At(140, 120) & 0xFFFFFF, 0xFFFFFFu); // caption
}

TEST_F(ButtonTest, HotkeysWithAndWithoutAlt)
{
    button.SetHotkey('p', false);
    Key('p');
    Key('p', true); // a key that needs no Alt also works with it
    EXPECT_EQ(listener.clicked.size(), 2u);
    EXPECT_TRUE(IsPlaying("Data/Sounds/ButtonPress"));

    button.SetHotkey('x', true);
    Key('x');
    Key('y', true);
    EXPECT_EQ(listener.clicked.size(), 2u);
    Key('x', true);
    EXPECT_EQ(listener.clicked.size(), 3u);

    button.Hide();
    Key('x', true);
    EXPECT_EQ(listener.clicked.size(), 3u);
    EXPECT_FALSE(button.OnKey('x', true));
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
    EXPECT_EQ(MovieLibrary::Get().FramesRendered(), rendered + 1);
    ASSERT_NE(button.Caption().Current(), nullptr);
    EXPECT_EQ(button.Caption().Current()->Width(), 50);

    // A release drops the pictures until the movies are set again.
    button.Release();
    EXPECT_FALSE(button.HitTest(150, 125)); // no picture to test against
    EXPECT_TRUE(button.Caption().Empty());
    button.SetNormalMovie("Data/Graphics/Body.swf");
    DrawAll();
    EXPECT_TRUE(button.HitTest(150, 125));
}

} // namespace

#include <algorithm>
#include <functional>
#include <memory>
#include <tuple>

#include "engine/RecordingScreen.h"
#include "engine/ScreenManager.h"
#include "fixtures/HeadlessApp.h"

namespace
{

class ScreenManagerTest : public HeadlessApp
{
  protected:
    void SetUp() override
    {
        HeadlessApp::SetUp();
        ASSERT_TRUE(OpenWindow(640, 480));
    }

    ScreenManager& Manager() { return ScreenManager::Get(); }

    // Makes `screen` current and forgets the calls that took.
    void Enter(Screen& screen)
    {
        Manager().SetScreen(&screen, true);
        Manager().Update();
        log.clear();
    }

    size_t Count(const std::string& call) const { return std::count(log.begin(), log.end(), call); }
    // No controls, no dialog controls and no capture are left.
    void ExpectListsForgotten()
    {
        EXPECT_EQ(
            std::make_tuple(Manager().Controls().size(), Manager().ModalControls().size(), Manager().GetCapture()),
            std::make_tuple(0u, 0u, static_cast<Control*>(nullptr)));
    }

    CallLog log;
    RecordingScreen first{"A", log};
    RecordingScreen second{"B", log};
};

TEST_F(ScreenManagerTest, SwitchHappensAtTheNextUpdateReleasingBothListsBeforeOnExit)
{
    RecordingControl a("a", log), b("b", log);
    Manager().SetScreen(&second, true);
    Manager().SetScreen(&first, true); // only the last request counts
    EXPECT_TRUE(log.empty() && Manager().GetScreen() == nullptr);
    Manager().Update();
    EXPECT_EQ(std::make_pair(log, Manager().IsSwitchPending()), std::make_pair(CallLog{"A:OnEnter"}, false));
    Manager().AddControl(&a);
    Manager().AddControl(&b);
    Manager().SetCapture(&a);

    log.clear();
    Manager().SetScreen(&second, true);
    Manager().Update();
    EXPECT_EQ(log, (CallLog{"a:Release", "b:Release", "A:OnExit", "B:OnEnter"}));
    ExpectListsForgotten();

    // A screen starting over passes false: its bitmaps are kept.
    log.clear();
    Manager().AddControl(&a);
    Manager().SetScreen(&second, false);
    Manager().Update();
    EXPECT_EQ(log, (CallLog{"B:OnExit", "B:OnEnter"}));
    ExpectListsForgotten();

    // A switch asked for from OnEnter is performed the next frame.
    log.clear();
    first.onEnter = [this] { Manager().SetScreen(&second, true); };
    Manager().SetScreen(&first, true);
    Manager().Update();
    EXPECT_TRUE(Manager().IsSwitchPending());
    Manager().Update();
    EXPECT_EQ(Manager().GetScreen(), &second);
    EXPECT_EQ(log, (CallLog{"B:OnExit", "A:OnEnter", "A:OnExit", "B:OnEnter"}));
}

TEST_F(ScreenManagerTest, FrameCounterHoverAndWaitCursorAfterSwitch)
{
    RecordingControl under("c", log, 0, 0, 10, 10);
    Manager().OnMouseMove(5, 5); // no screen yet: only remembered
    second.onEnter = [&] { Manager().AddControl(&under); };
    Manager().SetScreen(&second, true);
    Manager().Update();
    EXPECT_EQ(std::make_pair(under.IsMouseOver(), Platform().GetCursor()), std::make_pair(false, CursorShape::Wait));

    log.clear();
    Manager().Update(); // frame 1: moves to (-1,-1), then back to (5,5)
    EXPECT_EQ(log, (CallLog{"B:OnMouseMove(-1,-1)", "c:OnMouseMove(-1,-1)", "B:OnMouseMove(5,5)", "c:OnMouseEnter"}));
    EXPECT_EQ(std::make_pair(under.IsMouseOver(), Platform().GetCursor()), std::make_pair(true, CursorShape::Wait));
    Manager().Update();
    EXPECT_EQ(std::make_tuple(Platform().GetCursor(), second.updates, under.updates),
              std::make_tuple(CursorShape::Arrow, std::vector<int>{0, 1, 2}, 3));

    Manager().BeginModal();
    Manager().Update();
    EXPECT_EQ(second.updates.back(), 0);

    // Two switches in a row still end with the arrow.
    Manager().SetScreen(&first, true);
    Manager().Update();
    Manager().SetScreen(&second, true);
    for (int i = 0; i < 3; ++i)
        Manager().Update();
    EXPECT_EQ(Platform().GetCursor(), CursorShape::Arrow);
}

TEST_F(ScreenManagerTest, SwitchWithDialogOpenEndsTheDialogAndClearForgetsEverything)
{
    RecordingControl button("button", log, 100, 100, 50, 20), dialog("dialog", log, 100, 100, 50, 20);
    Enter(first);
    Manager().BeginModal();
    Manager().AddModalControl(&dialog);
    second.onEnter = [&] { Manager().AddControl(&button); };
    Manager().SetScreen(&second, true);
    Manager().Update();
    EXPECT_EQ(std::make_pair(Manager().IsModal(), Count("dialog:Release")), (std::make_pair<bool, size_t>(false, 1)));
    log.clear();
    Manager().OnLeftButtonDown(110, 110);
    EXPECT_EQ(log, (CallLog{"B:OnLeftButtonDown(110,110)", "button:OnMouseDown(110,110)"}));

    Manager().SetCapture(&button);
    Manager().BeginModal();
    Manager().AddModalControl(&dialog);
    Manager().SetScreen(&first, true);
    log.clear();
    Manager().Clear(); // without calling anything
    EXPECT_EQ(
        std::make_tuple(log.size(), Manager().GetScreen() == nullptr, Manager().IsSwitchPending(), Manager().IsModal()),
        std::make_tuple(0u, true, false, false));
    ExpectListsForgotten();
    Manager().OnLeftButtonDown(105, 105);
    Manager().SetScreen(&second, true);
    Manager().Update();
    EXPECT_EQ(log, (CallLog{"B:OnEnter"}));
}

TEST_F(ScreenManagerTest, ListsIgnoreDuplicatesAndDrawTheScreenAndTheDialogControls)
{
    RecordingControl a("a", log), b("b", log), d("d", log), e("e", log);
    Manager().AddControl(&a);
    Manager().AddControl(&b);
    Manager().AddControl(&a);
    EXPECT_EQ(Manager().Controls(), (std::vector<Control*>{&a, &b}));
    Manager().Draw(App());
    EXPECT_EQ(a.draws, 1);

    Manager().BeginModal();
    Manager().AddModalControl(&d);
    Manager().AddModalControl(&e);
    Manager().AddModalControl(&e); // the dialog list takes duplicates as they come
    EXPECT_EQ(Manager().ModalControls().size(), 3u);
    Manager().Draw(App());
    EXPECT_EQ(std::make_pair(d.draws, e.draws), std::make_pair(1, 2));
    Manager().RemoveControl(&a);
    EXPECT_EQ(Manager().Controls(), (std::vector<Control*>{&b}));

    // Ending the dialog repaints the whole back buffer.
    App().Render();
    Manager().EndModal();
    EXPECT_FALSE(Manager().IsModal());
    for (const DirtyTile& tile : App().Tiles())
        EXPECT_TRUE(tile.dirty);
}

// --- input routing: controls a (0,0), b (5,5), c (50,50), all 10 x 10, and a
// hidden one over all of them ---

struct RoutingCase
{
    const char* name;
    std::function<void(ScreenManager&)> input;
    CallLog expected;
    bool leftDown = false;
};

class InputRoutingTest : public ScreenManagerTest
{
  protected:
    void SetUp() override
    {
        ScreenManagerTest::SetUp();
        hidden.Hide();
        b.takesKey = 'x';
        a.onMouseDown = [&] { Manager().SetCapture(&a); };
        Enter(first);
        for (RecordingControl* control : {&a, &b, &c, &hidden})
            Manager().AddControl(control);
    }
    RecordingControl a{"a", log, 0, 0, 10, 10}, b{"b", log, 5, 5, 10, 10}, c{"c", log, 50, 50, 10, 10};
    RecordingControl hidden{"h", log, 0, 0, 100, 100};
};

// The right and middle buttons reach the screen in the level editor tests and
// the simulator scripts.
TEST_F(InputRoutingTest, EachInputReachesTheScreenAndTheControlsItShould)
{
    const RoutingCase cases[] = {
        {"key taken by b", [](ScreenManager& m) { m.OnKeyDown('x', true); }, {"a:OnKey(120,alt)", "b:OnKey(120,alt)"}},
        {"key none takes",
         [](ScreenManager& m) { m.OnKeyDown('y', false); },
         {"a:OnKey(121)", "b:OnKey(121)", "c:OnKey(121)", "h:OnKey(121)", "A:OnKey(121)"}},
        {"move onto a's edge, then to c",
         [](ScreenManager& m)
         {
             m.OnMouseMove(10, 10);
             m.OnMouseMove(55, 55);
         },
         {"A:OnMouseMove(10,10)", "a:OnMouseEnter", "b:OnMouseEnter", "c:OnMouseMove(10,10)", "h:OnMouseMove(10,10)",
          "A:OnMouseMove(55,55)", "a:OnMouseLeave", "b:OnMouseLeave", "c:OnMouseEnter", "h:OnMouseMove(55,55)"}},
        {"down on a and b",
         [](ScreenManager& m) { m.OnLeftButtonDown(10, 10); },
         {"A:OnLeftButtonDown(10,10)", "a:OnMouseDown(10,10)", "b:OnMouseDown(10,10)"},
         true},
        {"down just past a",
         [](ScreenManager& m) { m.OnLeftButtonDown(11, 11); },
         {"A:OnLeftButtonDown(11,11)", "b:OnMouseDown(11,11)"},
         true},
        {"up far from the captured a",
         [](ScreenManager& m)
         {
             m.OnLeftButtonDown(1, 1);
             m.OnLeftButtonUp(55, 55);
         },
         {"A:OnLeftButtonDown(1,1)", "a:OnMouseDown(1,1)", "A:OnLeftButtonUp(55,55)", "a:OnMouseUp(55,55)",
          "c:OnMouseUp(55,55)"}},
    };
    for (const RoutingCase& test : cases)
    {
        Manager().OnMouseMove(-50, -50);
        Manager().SetCapture(nullptr);
        log.clear();
        test.input(Manager());
        EXPECT_EQ(log, test.expected) << test.name;
        EXPECT_EQ(Manager().IsLeftButtonDown(), test.leftDown) << test.name;
    }
}

TEST_F(InputRoutingTest, DialogsTakeKeysFirstAndWithoutAScreenOnlyMovesReachControls)
{
    // A dialog opened by a click stops delivery to the screen's controls.
    RecordingControl dialog("d", log, 0, 0, 10, 10);
    a.onMouseDown = [&]
    {
        Manager().BeginModal();
        Manager().AddModalControl(&dialog);
    };
    Manager().OnLeftButtonDown(5, 5);
    EXPECT_EQ(log, (CallLog{"A:OnLeftButtonDown(5,5)", "a:OnMouseDown(5,5)"}));
    // Only the dialog's controls are offered keys; one none takes reaches the screen.
    log.clear();
    Manager().OnKeyDown('x', false);
    EXPECT_EQ(log, (CallLog{"d:OnKey(120)", "A:OnKey(120)"}));

    Manager().EndModal();
    Manager().SetScreen(nullptr, false);
    Manager().Update();
    Manager().AddControl(&a);
    log.clear();
    Manager().OnMouseMove(-3, -4);
    Manager().OnLeftButtonDown(5, 5);
    Manager().OnLeftButtonUp(5, 5);
    EXPECT_EQ(log, (CallLog{"a:OnMouseMove(-3,-4)"}));
}

TEST_F(ScreenManagerTest, HandlersMayReRegisterControlsWhileInputIsDelivered)
{
    Enter(first);
    std::vector<std::unique_ptr<RecordingControl>> many;
    for (int i = 0; i < 50; ++i)
    {
        many.push_back(std::make_unique<RecordingControl>("c" + std::to_string(i), log, 0, 0, 10, 10));
        Manager().AddControl(many.back().get());
    }
    std::vector<std::unique_ptr<RecordingControl>> extra;
    for (int i = 0; i < 200; ++i)
        extra.push_back(std::make_unique<RecordingControl>("x", log, 1000, 1000, 10, 10));
    // The first control's release removes and re-adds all fifty and grows the
    // list past its capacity, reallocating the list the manager walks.
    many[0]->onMouseUp = [&]
    {
        for (auto& control : many)
            Manager().RemoveControl(control.get());
        for (auto& control : many)
            Manager().AddControl(control.get());
        for (auto& control : extra)
            Manager().AddControl(control.get());
        for (auto& control : extra)
            Manager().RemoveControl(control.get());
    };
    many[1]->onMouseUp = [&] { Manager().RemoveControl(many[2].get()); }; // the third goes for good
    Manager().OnLeftButtonUp(5, 5);
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(Count("c" + std::to_string(i) + ":OnMouseUp(5,5)"), i == 2 ? 0u : 1u) << i;
}

} // namespace

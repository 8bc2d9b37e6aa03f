#include <algorithm>
#include <memory>

#include "engine/RecordingScreen.h"
#include "engine/ScreenManager.h"
#include "fixtures/HeadlessApp.h"

namespace {

class ScreenManagerTest : public HeadlessApp {
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

    CallLog log;
    RecordingScreen first{"A", log};
    RecordingScreen second{"B", log};
};

// --- screen switching ---

TEST_F(ScreenManagerTest, SwitchHappensAtTheNextUpdateAndKeepsOnlyTheLastRequest)
{
    Manager().SetScreen(&first, true);
    Manager().SetScreen(&second, true);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(Manager().GetScreen(), nullptr);

    Manager().Update();
    EXPECT_EQ(log, (CallLog{"B:OnEnter"}));
    EXPECT_EQ(Manager().GetScreen(), &second);
    EXPECT_FALSE(Manager().IsSwitchPending());
}

TEST_F(ScreenManagerTest, SwitchReleasesAndEmptiesBothListsBeforeOnExitThenOnEnter)
{
    RecordingControl a("a", log), b("b", log), dialog("d", log);
    Enter(first);
    Manager().AddControl(&a);
    Manager().AddControl(&b);
    Manager().SetCapture(&a);

    Manager().SetScreen(&second, true);
    Manager().Update();
    EXPECT_EQ(log, (CallLog{"a:Release", "b:Release", "A:OnExit", "B:OnEnter"}));
    EXPECT_TRUE(Manager().Controls().empty());
    EXPECT_TRUE(Manager().ModalControls().empty());
    EXPECT_EQ(Manager().GetCapture(), nullptr);

    // A screen starting over passes false: its bitmaps are kept.
    log.clear();
    Manager().AddControl(&a);
    Manager().SetScreen(&second, false);
    Manager().Update();
    EXPECT_EQ(log, (CallLog{"B:OnExit", "B:OnEnter"}));
    EXPECT_TRUE(Manager().Controls().empty());
}

TEST_F(ScreenManagerTest, SwitchRequestedFromOnEnterIsPerformedNextFrame)
{
    first.onEnter = [this] { Manager().SetScreen(&second, true); };
    Manager().SetScreen(&first, true);
    Manager().Update();
    EXPECT_EQ(Manager().GetScreen(), &first);
    EXPECT_TRUE(Manager().IsSwitchPending());
    Manager().Update();
    EXPECT_EQ(Manager().GetScreen(), &second);
    EXPECT_EQ(log, (CallLog{"A:OnEnter", "A:OnExit", "B:OnEnter"}));
}

TEST_F(ScreenManagerTest, FrameCounterAndHoverRefreshAfterSwitch)
{
    RecordingControl under("c", log, 0, 0, 10, 10);
    Manager().OnMouseMove(5, 5);  // no screen yet: only remembered
    second.onEnter = [&] { Manager().AddControl(&under); };
    Manager().SetScreen(&second, true);
    Manager().Update();
    EXPECT_FALSE(under.IsMouseOver());

    log.clear();
    Manager().Update();  // frame 1: moves to (-1,-1), then back to (5,5)
    EXPECT_EQ(log, (CallLog{"B:OnMouseMove(-1,-1)", "c:OnMouseMove(-1,-1)", "B:OnMouseMove(5,5)", "c:OnMouseEnter"}));
    EXPECT_TRUE(under.IsMouseOver());

    Manager().Update();
    EXPECT_EQ(second.updates, (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(under.updates, 3);

    Manager().BeginModal();
    Manager().Update();
    EXPECT_EQ(second.updates.back(), 0);
}

TEST_F(ScreenManagerTest, WaitCursorStaysForTheSwitchFrameAndTheNext)
{
    Manager().SetScreen(&first, true);
    Manager().Update();
    EXPECT_EQ(Platform().GetCursor(), CursorShape::Wait);
    Manager().Update();
    EXPECT_EQ(Platform().GetCursor(), CursorShape::Wait);
    Manager().Update();
    EXPECT_EQ(Platform().GetCursor(), CursorShape::Arrow);

    // Two switches in a row must still end with the arrow.
    Manager().SetScreen(&second, true);
    Manager().Update();
    Manager().SetScreen(&first, true);
    Manager().Update();
    Manager().Update();
    Manager().Update();
    EXPECT_EQ(Platform().GetCursor(), CursorShape::Arrow);
}

TEST_F(ScreenManagerTest, SwitchWithDialogOpenEndsTheDialog)
{
    RecordingControl button("button", log, 100, 100, 50, 20);
    RecordingControl dialogButton("dialog", log, 100, 100, 50, 20);
    Enter(first);
    Manager().BeginModal();
    Manager().AddModalControl(&dialogButton);

    second.onEnter = [&] { Manager().AddControl(&button); };
    Manager().SetScreen(&second, true);
    Manager().Update();
    EXPECT_FALSE(Manager().IsModal());
    EXPECT_EQ(Count("dialog:Release"), 1u);

    log.clear();
    Manager().OnLeftButtonDown(110, 110);
    EXPECT_EQ(Count("button:OnMouseDown(110,110)"), 1u);
    EXPECT_EQ(Count("dialog:OnMouseDown(110,110)"), 0u);
}

TEST_F(ScreenManagerTest, ClearForgetsScreenDialogAndRequestWithoutCallingThem)
{
    RecordingControl a("a", log), dialogButton("d", log);
    Enter(first);
    Manager().AddControl(&a);
    Manager().SetCapture(&a);
    Manager().BeginModal();
    Manager().AddModalControl(&dialogButton);
    Manager().SetScreen(&second, true);

    Manager().Clear();
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(Manager().GetScreen(), nullptr);
    EXPECT_FALSE(Manager().IsSwitchPending());
    EXPECT_FALSE(Manager().IsModal());
    EXPECT_TRUE(Manager().Controls().empty());
    EXPECT_TRUE(Manager().ModalControls().empty());
    EXPECT_EQ(Manager().GetCapture(), nullptr);

    // Nothing cleared is reached again, by input or by the next switch.
    Manager().OnLeftButtonDown(5, 5);
    Manager().SetScreen(&second, true);
    Manager().Update();
    EXPECT_EQ(log, (CallLog{"B:OnEnter"}));
}

TEST_F(ScreenManagerTest, ControlListsIgnoreDuplicatesAndRemoveEveryCopy)
{
    RecordingControl a("a", log), b("b", log);
    Manager().AddControl(&a);
    Manager().AddControl(&b);
    Manager().AddControl(&a);
    EXPECT_EQ(Manager().Controls(), (std::vector<Control*>{&a, &b}));

    Manager().Draw(App());
    EXPECT_EQ(a.draws, 1);

    Manager().BeginModal();
    Manager().AddModalControl(&b);
    Manager().AddModalControl(&b);  // the dialog list takes duplicates as they come
    EXPECT_EQ(Manager().ModalControls().size(), 2u);
    Manager().RemoveControl(&a);
    EXPECT_EQ(Manager().Controls(), (std::vector<Control*>{&b}));
}

TEST_F(ScreenManagerTest, EndModalRepaintsTheWholeBackBuffer)
{
    App().Render();  // nothing registered: clears every tile
    Manager().BeginModal();
    Manager().EndModal();
    EXPECT_FALSE(Manager().IsModal());
    for (const DirtyTile& tile : App().Tiles())
        EXPECT_TRUE(tile.dirty);
}

// --- input routing ---

TEST_F(ScreenManagerTest, KeysAreOfferedInOrderUntilOneControlTakesThem)
{
    RecordingControl a("a", log), b("b", log), c("c", log);
    b.takesKey = 'x';
    Enter(first);
    for (RecordingControl* control : {&a, &b, &c})
        Manager().AddControl(control);

    Manager().OnKeyDown('x', true);
    EXPECT_EQ(log, (CallLog{"a:OnKey(120,alt)", "b:OnKey(120,alt)"}));

    log.clear();
    Manager().OnKeyDown('y', false);
    EXPECT_EQ(log, (CallLog{"a:OnKey(121)", "b:OnKey(121)", "c:OnKey(121)", "A:OnKey(121)"}));

    // While a dialog is open only its controls are offered keys; a key none
    // of them takes still reaches the screen.
    RecordingControl dialog("d", log);
    Manager().BeginModal();
    Manager().AddModalControl(&dialog);
    log.clear();
    Manager().OnKeyDown('x', false);
    EXPECT_EQ(log, (CallLog{"d:OnKey(120)", "A:OnKey(120)"}));
}

TEST_F(ScreenManagerTest, EveryControlHearsEveryMoveAsMoveEnterOrLeave)
{
    RecordingControl a("a", log, 0, 0, 10, 10), b("b", log, 20, 0, 10, 10), hidden("h", log, 0, 0, 100, 100);
    hidden.Hide();
    Enter(first);
    for (RecordingControl* control : {&a, &b, &hidden})
        Manager().AddControl(control);

    Manager().OnMouseMove(10, 10);  // the bottom-right edge pixel still hits
    EXPECT_EQ(log, (CallLog{"A:OnMouseMove(10,10)", "a:OnMouseEnter", "b:OnMouseMove(10,10)", "h:OnMouseMove(10,10)"}));
    log.clear();
    Manager().OnMouseMove(25, 5);
    EXPECT_EQ(log, (CallLog{"A:OnMouseMove(25,5)", "a:OnMouseLeave", "b:OnMouseEnter", "h:OnMouseMove(25,5)"}));
    EXPECT_FALSE(hidden.IsMouseOver());

    // Without a screen the controls still follow the mouse.
    Manager().SetScreen(nullptr, false);
    Manager().Update();
    Manager().AddControl(&a);
    log.clear();
    Manager().OnMouseMove(-3, -4);
    EXPECT_EQ(log, (CallLog{"a:OnMouseMove(-3,-4)"}));
}

TEST_F(ScreenManagerTest, ButtonDownReachesTheScreenThenEveryHitControl)
{
    RecordingControl a("a", log, 0, 0, 10, 10), b("b", log, 5, 5, 10, 10), c("c", log, 50, 50, 10, 10);
    RecordingControl hidden("h", log, 0, 0, 100, 100);
    hidden.Hide();
    Enter(first);
    for (RecordingControl* control : {&a, &b, &c, &hidden})
        Manager().AddControl(control);

    Manager().OnLeftButtonDown(10, 10);
    EXPECT_TRUE(Manager().IsLeftButtonDown());
    EXPECT_EQ(log, (CallLog{"A:OnLeftButtonDown(10,10)", "a:OnMouseDown(10,10)", "b:OnMouseDown(10,10)"}));

    log.clear();
    Manager().OnLeftButtonDown(11, 11);  // just outside a's right and bottom edge
    EXPECT_EQ(log, (CallLog{"A:OnLeftButtonDown(11,11)", "b:OnMouseDown(11,11)"}));
}

TEST_F(ScreenManagerTest, ButtonUpReachesHitControlsAndTheCapturedOne)
{
    RecordingControl slider("s", log, 0, 0, 10, 10), other("o", log, 100, 100, 10, 10);
    Enter(first);
    Manager().AddControl(&slider);
    Manager().AddControl(&other);
    slider.onMouseDown = [&] { Manager().SetCapture(&slider); };

    Manager().OnLeftButtonDown(5, 5);
    log.clear();
    Manager().OnLeftButtonUp(105, 105);  // released far away from the slider
    EXPECT_FALSE(Manager().IsLeftButtonDown());
    EXPECT_EQ(log, (CallLog{"A:OnLeftButtonUp(105,105)", "s:OnMouseUp(105,105)", "o:OnMouseUp(105,105)"}));
}

TEST_F(ScreenManagerTest, RightAndMiddleButtonsReachOnlyTheScreen)
{
    RecordingControl a("a", log, 0, 0, 10, 10);
    Enter(first);
    Manager().AddControl(&a);
    Manager().OnRightButtonDown(1, 2);
    Manager().OnRightButtonUp(3, 4);
    Manager().OnMiddleButtonDown(5, 6);
    Manager().OnMiddleButtonUp(7, 8);
    EXPECT_EQ(log, (CallLog{"A:OnRightButtonDown(1,2)", "A:OnRightButtonUp(3,4)", "A:OnMiddleButtonDown(5,6)",
                            "A:OnMiddleButtonUp(7,8)"}));
    EXPECT_FALSE(Manager().IsLeftButtonDown());
}

TEST_F(ScreenManagerTest, ButtonsWithoutAScreenReachNoControl)
{
    RecordingControl a("a", log, 0, 0, 10, 10);
    Manager().AddControl(&a);
    Manager().OnLeftButtonDown(5, 5);
    Manager().OnLeftButtonUp(5, 5);
    EXPECT_TRUE(log.empty());
}

TEST_F(ScreenManagerTest, HandlersMayReRegisterControlsWhileInputIsDelivered)
{
    Enter(first);
    std::vector<std::unique_ptr<RecordingControl>> many;
    for (int i = 0; i < 50; ++i) {
        many.push_back(std::make_unique<RecordingControl>("c" + std::to_string(i), log, 0, 0, 10, 10));
        Manager().AddControl(many.back().get());
    }
    std::vector<std::unique_ptr<RecordingControl>> extra;
    for (int i = 0; i < 200; ++i)
        extra.push_back(std::make_unique<RecordingControl>("x", log, 1000, 1000, 10, 10));
    // The first control's release removes and re-adds all fifty, and grows
    // the list well past its capacity, which reallocates the list the
    // manager is walking.
    many[0]->onMouseUp = [&] {
        for (auto& control : many)
            Manager().RemoveControl(control.get());
        for (auto& control : many)
            Manager().AddControl(control.get());
        for (auto& control : extra)
            Manager().AddControl(control.get());
        for (auto& control : extra)
            Manager().RemoveControl(control.get());
    };
    // The second removes the third for good.
    many[1]->onMouseUp = [&] { Manager().RemoveControl(many[2].get()); };

    Manager().OnLeftButtonUp(5, 5);
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(Count("c" + std::to_string(i) + ":OnMouseUp(5,5)"), i == 2 ? 0u : 1u) << i;
}

TEST_F(ScreenManagerTest, DialogOpenedByAClickStopsDeliveryToTheScreenControls)
{
    RecordingControl opener("open", log, 0, 0, 10, 10), behind("behind", log, 0, 0, 10, 10);
    RecordingControl dialog("dialog", log, 0, 0, 10, 10);
    Enter(first);
    Manager().AddControl(&opener);
    Manager().AddControl(&behind);
    opener.onMouseDown = [&] {
        Manager().BeginModal();
        Manager().AddModalControl(&dialog);
    };
    Manager().OnLeftButtonDown(5, 5);
    EXPECT_EQ(log, (CallLog{"A:OnLeftButtonDown(5,5)", "open:OnMouseDown(5,5)"}));
}

} // namespace

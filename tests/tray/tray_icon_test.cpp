#include "tray/tray_icon.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "res/menus.h"
#include "res/resource_ids.h"
#include "tray/program_modes.h"

namespace quillet {
namespace {

struct FakeArea final : StatusArea {
    bool Available() const override { return available; }
    bool Add(const TrayIconData& data) override {
        calls.push_back("add " + std::to_string(data.flags));
        last = data;
        return acceptsAdd;
    }
    bool Delete(const TrayIconData& data) override {
        calls.push_back("delete " + std::to_string(data.flags));
        return true;
    }
    bool Modify(const TrayIconData& data) override {
        calls.push_back("modify " + data.icon);
        return true;
    }
    bool available = true;
    bool acceptsAdd = true;
    TrayIconData last;
    std::vector<std::string> calls;
};

struct FakeOwner final : TrayOwner {
    bool IsLive() const override { return live; }
    const res::Menu* LoadMenu(int id) const override {
        return hasMenu && id == res::kTrayIconId ? &res::TrayMenu() : nullptr;
    }
    void BringToForeground() override { done.push_back("foreground"); }
    void TrackPopupMenu(const res::Menu& menu) override { done.push_back("menu " + std::string(menu.title)); }
    void RunCommand(int id) override { done.push_back("command " + std::to_string(id)); }
    bool live = true;
    bool hasMenu = true;
    std::vector<std::string> done;
};

struct TrayIconTest : testing::Test {
    void SetUp() override {
        ASSERT_TRUE(icon.Create(&owner, "青榆资料夹－隐藏模式", "", res::kTrayIconId));
        ASSERT_TRUE(icon.SetIcon(":/images/quillet.svg"));
        area.calls.clear();
    }
    FakeArea area;
    FakeOwner owner;
    CTrayIcon icon{area};
};

TEST_F(TrayIconTest, mouseMessages_onlyRightReleaseAndDoubleClickAct) {
    const struct {
        unsigned message;
        bool clickActsAsDoubleClick;
        std::vector<std::string> done;
    } cases[] = {
        {CTrayIcon::kRightButtonUp, false, {"foreground", "menu SYS"}},
        {CTrayIcon::kLeftDoubleClick, false, {"foreground", "command 32812"}},
        {CTrayIcon::kLeftButtonUp, false, {}},
        {CTrayIcon::kLeftButtonDown, false, {}},
        {CTrayIcon::kRightButtonDown, false, {}},
        {CTrayIcon::kMouseMove, false, {}},
        {CTrayIcon::kMiddleButtonUp, false, {}},
        // A StatusNotifierItem host reports the double click as a single click.
        {CTrayIcon::kLeftButtonUp, true, {"foreground", "command 32812"}},
        {CTrayIcon::kRightButtonUp, true, {"foreground", "menu SYS"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        owner.done.clear();
        icon.SetClickActsAsDoubleClick(c.clickActsAsDoubleClick);
        EXPECT_EQ(icon.OnTrayNotification(res::kTrayIconId, c.message), 1);
        EXPECT_EQ(owner.done, c.done);
    }
}

TEST_F(TrayIconTest, anotherIconsMessage_orAMissingMenu_isNotHandled) {
    EXPECT_EQ(icon.OnTrayNotification(res::kTrayIconId + 1, CTrayIcon::kRightButtonUp), 0);
    EXPECT_EQ(icon.OnTrayNotification(res::kTrayIconId + 1, CTrayIcon::kLeftDoubleClick), 0);
    owner.hasMenu = false;
    EXPECT_EQ(icon.OnTrayNotification(res::kTrayIconId, CTrayIcon::kRightButtonUp), 0);
    EXPECT_EQ(icon.OnTrayNotification(res::kTrayIconId, CTrayIcon::kLeftDoubleClick), 0);
    EXPECT_TRUE(owner.done.empty());
}

TEST_F(TrayIconTest, hideTwiceDeletesOnce_andShowWhileShownDoesNothing) {
    EXPECT_FALSE(icon.ShowIcon());
    icon.HideIcon();
    icon.HideIcon();
    EXPECT_TRUE(icon.Hidden());
    EXPECT_TRUE(icon.ShowIcon());
    EXPECT_FALSE(icon.ShowIcon());
    EXPECT_EQ(area.calls, (std::vector<std::string>{"delete 2", "add 7"}));
    icon.RemoveIcon();
    icon.RemoveIcon();
    EXPECT_FALSE(icon.Enabled());
    EXPECT_EQ(area.calls.back(), "delete 0");
    EXPECT_EQ(area.calls.size(), 3u);
}

TEST(TrayIconCreate, failsWithoutALiveOwner_andThenEveryCallIsANoOp) {
    FakeArea area;
    FakeOwner owner;
    CTrayIcon icon(area);
    EXPECT_FALSE(icon.SetIcon("x")) << "set-icon before creation";
    EXPECT_FALSE(icon.Create(nullptr, "tip", "", res::kTrayIconId));
    owner.live = false;
    EXPECT_FALSE(icon.Create(&owner, "tip", "", res::kTrayIconId));
    EXPECT_FALSE(icon.SetIcon("x"));
    icon.HideIcon();
    EXPECT_FALSE(icon.ShowIcon());
    icon.RemoveIcon();
    EXPECT_TRUE(area.calls.empty());

    owner.live = true;
    area.acceptsAdd = false;
    EXPECT_FALSE(icon.Create(&owner, "tip", "", res::kTrayIconId)) << "the status area refused the icon";
    EXPECT_FALSE(icon.SetIcon("x"));
}

TEST(TrayIconCreate, tipKeepsAtMost63BytesAndNeverCutsACharacter) {
    FakeArea area;
    FakeOwner owner;
    CTrayIcon icon(area);
    ASSERT_TRUE(icon.Create(&owner, "青榆资料夹－隐藏模式", "", res::kTrayIconId));
    EXPECT_EQ(area.last.tip, "青榆资料夹－隐藏模式");
    EXPECT_EQ(area.last.flags, 7u);
    const std::string long_ = std::string(62, 'a') + "青";
    ASSERT_TRUE(icon.Create(&owner, long_, "", res::kTrayIconId));
    EXPECT_EQ(area.last.tip, std::string(62, 'a'));
}

struct FakeWindows final : ModeWindows {
    void ShowFrame() override { done.push_back("show"); }
    void HideFrame() override { done.push_back("hide"); }
    void MinimizeFrame() override { done.push_back("minimize"); }
    void SayNoStatusArea() override { done.push_back("told"); }
    std::vector<std::string> done;
};

TEST_F(TrayIconTest, modes_theIconIsShownExactlyInHiddenMode) {
    FakeWindows windows;
    ProgramModes modes(icon, area, windows);
    modes.Start(0);
    EXPECT_TRUE(icon.Hidden());
    modes.HideToTray();
    EXPECT_EQ(modes.Mode(), ProgramMode::Hidden);
    EXPECT_FALSE(icon.Hidden());
    modes.EnterEntryMode();
    EXPECT_EQ(modes.Mode(), ProgramMode::Entry);
    EXPECT_TRUE(icon.Hidden());
    EXPECT_EQ(windows.done, (std::vector<std::string>{"hide", "show"}));

    FakeWindows startHidden;
    ProgramModes hidden(icon, area, startHidden);
    icon.ShowIcon();
    hidden.Start(2);
    EXPECT_EQ(hidden.Mode(), ProgramMode::Hidden);
    EXPECT_FALSE(icon.Hidden());
    EXPECT_EQ(startHidden.done, (std::vector<std::string>{"hide"}));
}

TEST_F(TrayIconTest, modes_readingMode_isLeftForEntryModeOrTheTray_withNoIconWhileReading) {
    FakeWindows windows;
    ProgramModes modes(icon, area, windows);
    modes.Start(1);
    modes.EnterReadingMode();
    EXPECT_EQ(modes.Mode(), ProgramMode::Reading);
    EXPECT_TRUE(icon.Hidden());
    modes.HideToTray();
    EXPECT_EQ(modes.Mode(), ProgramMode::Hidden);
    EXPECT_FALSE(icon.Hidden());
    // From the tray's menu back into reading mode, then out to entry mode.
    modes.EnterReadingMode();
    EXPECT_TRUE(icon.Hidden());
    modes.EnterEntryMode();
    EXPECT_EQ(modes.Mode(), ProgramMode::Entry);
    EXPECT_EQ(windows.done, (std::vector<std::string>{"hide", "hide", "hide", "show"}));
}

TEST_F(TrayIconTest, modes_withoutAStatusArea_hidingMinimizesAndSaysSoOnce) {
    FakeWindows windows;
    ProgramModes modes(icon, area, windows);
    modes.Start(0);
    area.available = false;
    modes.HideToTray();
    modes.HideToTray();
    EXPECT_EQ(modes.Mode(), ProgramMode::Entry);
    EXPECT_TRUE(icon.Hidden()) << "no icon left in a status area that is not there";
    EXPECT_EQ(windows.done, (std::vector<std::string>{"minimize", "told", "minimize"}));

    // The status area came (back): hiding hides again.
    area.available = true;
    modes.HideToTray();
    EXPECT_EQ(modes.Mode(), ProgramMode::Hidden);

    FakeWindows startHidden;
    area.available = false;
    ProgramModes hidden(icon, area, startHidden);
    hidden.Start(2);
    EXPECT_EQ(startHidden.done, (std::vector<std::string>{"minimize", "told"}));
}

}  // namespace
}  // namespace quillet

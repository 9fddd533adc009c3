// The Open Bar window as the bar list sees it: which edge it docks on, the size it needs, placing it, floating it,
// and the frame going away before the bar. Built from the Open Bar's own sources, so the test reaches the window
// object itself.
#include <windows.h>

#include <gtest/gtest.h>

#include "services/memory_settings.h"
#include "services/win32/openbar_win32.h"
#include "tests/services/win32/test_frame.h"

namespace {

using osk::win32::COpenBarWindow;

int g_layouts = 0;

LRESULT CALLBACK frameProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == 2127) ++g_layouts;
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

RECT rectInFrame(HWND frame, HWND child) {
  RECT r;
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, frame, reinterpret_cast<POINT*>(&r), 2);
  return r;
}

std::vector<HWND> visibleListBoxes(HWND bar) {
  std::vector<HWND> out;
  for (HWND c = FindWindowExA(bar, nullptr, "ListBox", nullptr); c; c = FindWindowExA(bar, c, "ListBox", nullptr))
    if (GetWindowLongA(c, GWL_STYLE) & WS_VISIBLE) out.push_back(c);
  return out;
}

class OpenBarWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    g_layouts = 0;
    frame_ = osk::test::createTestFrame("Open Bar window test frame", frameProc, {0, 0, 500, 400},
                                        WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN);
    ASSERT_NE(frame_, nullptr);
    ini_.sections["Child0"] = {{"Title", "Windows"}, {"Dir", "c:\\windows"}, {"Filters", "*.ini"}};
  }
  void TearDown() override {
    bar_.reset();
    if (frame_) DestroyWindow(frame_);
  }
  void make() {
    bar_ = COpenBarWindow::create(frame_, ini_);
    ASSERT_NE(bar_, nullptr);
  }

  HWND frame_ = nullptr;
  osk::test::MemorySettings ini_;
  std::unique_ptr<COpenBarWindow> bar_;
};

TEST_F(OpenBarWindow, DocksAtTheEdgeItsSettingsNameWithTheSizeTheyGive) {
  ini_.sections["Extended"] = {{"OpenbarVertical", "1"}, {"OpenbarBotRight", "1"}, {"OpenbarWidth", "120"}};
  make();
  EXPECT_EQ(bar_->edge(), COpenBarWindow::Edge::Right);
  EXPECT_EQ(bar_->sizeAcross(300), 120);
  EXPECT_FALSE(bar_->floating());
  // Not shown until the bar list places it.
  EXPECT_FALSE(IsWindowVisible(bar_->window()));

  ShowWindow(frame_, SW_SHOWNA);
  bar_->place({380, 0, 500, 300});
  EXPECT_TRUE(IsWindowVisible(bar_->window()));
  const RECT r = rectInFrame(frame_, bar_->window());
  EXPECT_EQ(r.left, 380);
  EXPECT_EQ(r.right, 500);
  EXPECT_EQ(r.bottom, 300);
  ASSERT_EQ(visibleListBoxes(bar_->window()).size(), 1u);
}

TEST_F(OpenBarWindow, HorizontalBarDocksAtTopOrBottom) {
  ini_.sections["Extended"] = {{"OpenbarVertical", "0"}, {"OpenbarHeight", "90"}};
  make();
  EXPECT_EQ(bar_->edge(), COpenBarWindow::Edge::Top);
  EXPECT_EQ(bar_->sizeAcross(500), 90);
  ini_.sections["Extended"]["OpenbarBotRight"] = "1";
  bar_->loadSettings(ini_);
  EXPECT_EQ(bar_->edge(), COpenBarWindow::Edge::Bottom);
}

TEST_F(OpenBarWindow, HiddenBarStaysHiddenWhenPlaced) {
  ini_.sections["Extended"] = {{"OpenbarVisible", "0"}};
  make();
  ShowWindow(frame_, SW_SHOWNA);
  bar_->place({0, 0, 80, 300});
  EXPECT_FALSE(IsWindowVisible(bar_->window()));
}

TEST_F(OpenBarWindow, FloatingMakesAnOwnedPopupAndDockingAChildAgain) {
  make();
  ShowWindow(frame_, SW_SHOWNA);
  bar_->setFloating(true);
  EXPECT_TRUE(bar_->floating());
  EXPECT_TRUE(GetWindowLongA(bar_->window(), GWL_STYLE) & WS_POPUP);
  EXPECT_EQ(GetWindow(bar_->window(), GW_OWNER), frame_);
  EXPECT_GT(g_layouts, 0);
  bar_->setFloating(false);
  EXPECT_TRUE(GetWindowLongA(bar_->window(), GWL_STYLE) & WS_CHILD);
  EXPECT_EQ(GetParent(bar_->window()), frame_);
}

TEST_F(OpenBarWindow, LoadingSettingsFloatsOrDocksTheWindowAsTheySay) {
  make();
  ini_.sections["Extended"]["OpenbarAsPopup"] = "1";
  bar_->loadSettings(ini_);
  EXPECT_TRUE(bar_->floating());
  EXPECT_TRUE(GetWindowLongA(bar_->window(), GWL_STYLE) & WS_POPUP);
  ini_.sections["Extended"]["OpenbarAsPopup"] = "0";
  bar_->loadSettings(ini_);
  EXPECT_FALSE(bar_->floating());
  EXPECT_EQ(GetParent(bar_->window()), frame_);
}

TEST_F(OpenBarWindow, MaximisedShowsOnlyTheCurrentList) {
  ini_.sections["Child1"] = {{"Title", "Two"}, {"Dir", "c:\\windows"}, {"Filters", "*.exe"}, {"OpenbarSelected", "1"}};
  ini_.sections["Child2"] = {{"Title", "Three"}, {"Dir", "c:\\windows"}, {"Filters", "*.dll"}};
  make();
  ShowWindow(frame_, SW_SHOWNA);
  bar_->place({0, 0, 100, 300});
  EXPECT_EQ(visibleListBoxes(bar_->window()).size(), 3u);
  bar_->setMaximised(true);
  const auto shown = visibleListBoxes(bar_->window());
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0], bar_->currentListBox());
}

TEST_F(OpenBarWindow, FrameGoingFirstEndsTheWorkerAndTheListsCanStillBeSaved) {
  make();
  ASSERT_TRUE(bar_->newList({"Second", "c:\\", "*.*", osk::SortType::ByType, 0, false}));
  DestroyWindow(frame_);
  frame_ = nullptr;
  EXPECT_EQ(bar_->window(), nullptr);
  osk::test::MemorySettings saved;
  bar_->saveSettings(saved);
  EXPECT_EQ(saved.sections["Child1"]["Title"], "Second");
  EXPECT_EQ(saved.sections["Child1"]["OpenbarSelected"], "1");
  EXPECT_EQ(saved.sections["Child2"]["Title"], "");
  bar_.reset();   // the worker has already ended: nothing waits or closes twice
}

}  // namespace

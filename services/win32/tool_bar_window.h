// CMoveableBar: the window of one tool bar of the configuration, docked on an edge of the frame or floating in a
// small window of its own.
//
// It draws its buttons from the configuration's image strip in the system's colours: raised, pressed or checked
// (sunken), disabled (embossed) and highlighted (framed). A click on an enabled button posts the frame WM_COMMAND
// with the command's number; while the mouse moves over a button the frame gets message 2126 with the command's
// help text, and when the mouse rests there the tool tip shows. Dragging the bar by its border docks it at the edge
// of the frame it is let go at, or floats it. Closing a floating bar hides it.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "services/win32/bars_win32.h"

namespace osk::win32 {

class CMoveableBar : public MoveableBar {
 public:
  CMoveableBar(ControlBars& bars, const CToolBarObject& toolBar, const ToolBarOptions& global);
  ~CMoveableBar() override;

  const std::string& name() const { return name_; }
  ToolBarSettings& settings() { return settings_; }
  // Makes (or remakes) the window for the current settings: a child of the frame when docked, an owned popup when
  // floating. The window starts hidden; false when it cannot be made.
  bool createWindow();
  void setVisible(bool visible);
  // True when the property changed.
  bool setOption(int32_t property, int32_t value);
  void readSettings(SettingsStore& store);
  // Redraws the buttons of a command.
  void commandChanged(int32_t command);
  bool hasCommand(int32_t command) const;
  // The element's command number (0xF000 for a separator).
  const std::vector<int32_t>& elements() const { return elements_; }
  // Where each button sits in the window now.
  const ButtonLayout& layout() const { return layout_; }

  HWND window() const override { return window_; }
  int32_t seqNo() const override { return settings_.seqNo; }
  void setSeqNo(int32_t seqNo) override { settings_.seqNo = seqNo; }
  bool visible() const override { return settings_.visible != 0; }
  bool floating() const override { return settings_.asPopup != 0; }
  bool vertical() const override { return settings_.vertical != 0; }
  bool botRight() const override { return settings_.botRight != 0; }
  int32_t thickness(int32_t length) const override;
  void placeDocked(HDWP* deferred, const RECT& rect) override;
  void fitFloating() override;
  void activationChanged(bool active) override;
  void coloursChanged() override;
  void saveSettings(SettingsStore& store) override;

  static LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
  ButtonLayout layoutFor(int32_t length) const;
  void relayout();
  void paint(HDC dc, const RECT& client);
  void drawButton(HDC dc, HDC images, const PlacedButton& b);
  const CCommand* commandOf(int32_t element) const;
  bool enabled(int32_t element) const;
  RECT buttonRect(int32_t element) const;
  void invalidateElement(int32_t element);
  void setHot(int32_t element);
  void showTip();
  void hideTip();
  // Dragging the bar to another edge or to float.
  void beginDrag(POINT screen);
  void trackDrag(POINT screen);
  void endDrag(POINT screen, bool drop);
  RECT dragFeedback(POINT screen, const DropTarget& target) const;
  void drawFeedback(const RECT& r);

  ControlBars& bars_;
  std::string name_;
  std::vector<int32_t> elements_;
  std::vector<bool> separators_;
  ToolBarSettings settings_;
  HWND window_ = nullptr;
  ButtonLayout layout_;
  int32_t pressed_ = -1;        // element held down with the mouse
  bool pressedInside_ = false;
  int32_t hot_ = -1;            // element under the mouse
  bool tracking_ = false;       // waiting for WM_MOUSELEAVE
  // Dragging: armed on a press outside the buttons, started once the mouse moves far enough.
  bool dragArmed_ = false;
  bool dragging_ = false;
  POINT dragStart_{};
  POINT grabOffset_{};
  RECT feedback_{};
  bool feedbackShown_ = false;
};

}  // namespace osk::win32

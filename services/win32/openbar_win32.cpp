// The Open Bar window: one title and one list box per list, stacked along the bar (or only the current list when
// maximised), the worker thread, and the actions the program asks for.
#include <windows.h>
#include <commdlg.h>

#include <algorithm>
#include <set>

#include "services/win32/openbar_win32.h"

namespace osk::win32 {
namespace {

constexpr char kClassName[] = "OSK Open Bar";
constexpr int kTitleId = 7900;
constexpr int kListId = 7901;

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string lowered(std::string s) {
  for (char& c : s) c = lower(c);
  return s;
}

std::string listBoxText(HWND list, int index) {
  const LRESULT n = SendMessageA(list, LB_GETTEXTLEN, index, 0);
  if (n == LB_ERR || n < 0) return {};
  std::string s(static_cast<size_t>(n) + 1, '\0');
  const LRESULT got = SendMessageA(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(s.data()));
  s.resize(got == LB_ERR ? 0 : static_cast<size_t>(got));
  return s;
}

DWORD WINAPI workerMain(LPVOID lists) {
  static_cast<COpenBarLists*>(lists)->run();
  return 0;
}

}  // namespace

HINSTANCE openBarModule() {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&openBarModule), &module);
  return module;
}

COpenBarWindow::COpenBarWindow(HWND frame) : frame_(frame) {}

std::unique_ptr<COpenBarWindow> COpenBarWindow::create(HWND frame, SettingsStore& settings) {
  static const bool registered = [] {
    WNDCLASSA wc{};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = windowProc;
    wc.hInstance = openBarModule();
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kClassName;
    return RegisterClassA(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }();
  if (!registered || !frame) return nullptr;
  std::unique_ptr<COpenBarWindow> bar(new COpenBarWindow(frame));
  if (!bar->platform_.ready()) return nullptr;
  bar->settings_ = readOpenBarSettings(settings, {});
  const HWND hwnd = CreateWindowExA(0, kClassName, "Open Bar", WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS, 0, 0,
                                    bar->settings_.width, bar->settings_.height, frame, nullptr, openBarModule(),
                                    bar.get());
  if (!hwnd) return nullptr;
  bar->platform_.setWindow(hwnd);
  bar->loadSettings(settings);
  if (!bar->startWorker()) return nullptr;
  if (bar->settings_.asPopup) bar->setFloating(true);
  return bar;
}

COpenBarWindow::~COpenBarWindow() {
  stopWorker();
  if (hwnd_) DestroyWindow(hwnd_);
  if (font_) DeleteObject(font_);
}

bool COpenBarWindow::startWorker() {
  thread_ = CreateThread(nullptr, 0, workerMain, &lists_, 0, nullptr);
  return thread_ != nullptr;
}

void COpenBarWindow::stopWorker() {
  if (!thread_) return;
  // The worker ends at its next look at the stop flag: a wait is woken, a scan stops at its next file.
  lists_.stop();
  WaitForSingleObject(thread_, INFINITE);
  CloseHandle(thread_);
  thread_ = nullptr;
  lists_.closeWatches();
}

LRESULT CALLBACK COpenBarWindow::windowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<COpenBarWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<COpenBarWindow*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcA(hwnd, msg, wParam, lParam);
  return self->handle(msg, wParam, lParam);
}

LRESULT COpenBarWindow::handle(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case kMsgListRescanned:
      for (Pane& pane : panes_)
        if (pane.id == static_cast<uint32_t>(wParam)) fill(pane, false);
      return 0;
    case WM_SIZE:
      layout();
      return 0;
    case WM_COMMAND: {
      const HWND from = reinterpret_cast<HWND>(lParam);
      for (size_t i = 0; i < panes_.size(); ++i) {
        if (panes_[i].list != from && panes_[i].title != from) continue;
        const int code = HIWORD(wParam);
        if (code == LBN_SETFOCUS || (panes_[i].title == from && code == STN_CLICKED)) {
          if (lists_.currentIndex() != static_cast<int32_t>(i)) {
            lists_.setCurrent(static_cast<int32_t>(i));
            updateTitles();
            tellFrameChanged();
          }
        } else if (code == LBN_SELCHANGE) {
          tellFrameChanged();
        }
      }
      return 0;
    }
    case WM_CLOSE:
      // A floating bar's close box hides it, as the View command would.
      setVisible(false);
      return 0;
    case WM_DESTROY:
      if (settings_.asPopup) {
        RECT r;
        GetWindowRect(hwnd_, &r);
        settings_.rect = {r.left, r.top, r.right, r.bottom};
      }
      stopWorker();
      platform_.setWindow(nullptr);
      return 0;
    case WM_NCDESTROY: {
      const HWND self = hwnd_;
      SetWindowLongPtrA(self, GWLP_USERDATA, 0);
      hwnd_ = nullptr;
      panes_.clear();
      return DefWindowProcA(self, msg, wParam, lParam);
    }
  }
  return DefWindowProcA(hwnd_, msg, wParam, lParam);
}

// ---- Panes ----

const COpenBarWindow::Pane* COpenBarWindow::currentPane() const {
  const uint32_t id = lists_.currentId();
  for (const Pane& pane : panes_)
    if (pane.id == id) return &pane;
  return nullptr;
}

HWND COpenBarWindow::currentListBox() const {
  const Pane* pane = currentPane();
  return pane ? pane->list : nullptr;
}

void COpenBarWindow::syncPanes() {
  if (!hwnd_) return;
  const std::vector<uint32_t> ids = lists_.ids();
  std::vector<Pane> next;
  for (uint32_t id : ids) {
    auto found = std::find_if(panes_.begin(), panes_.end(), [id](const Pane& p) { return p.id == id; });
    if (found != panes_.end()) {
      next.push_back(*found);
      found->id = 0;
      continue;
    }
    Pane pane;
    pane.id = id;
    pane.title = CreateWindowExA(0, "STATIC", "", WS_CHILD | SS_LEFTNOWORDWRAP | SS_NOTIFY, 0, 0, 0, 0, hwnd_,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(kTitleId)), openBarModule(), nullptr);
    pane.list = CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "",
                                WS_CHILD | WS_VSCROLL | WS_TABSTOP | LBS_NOTIFY | LBS_EXTENDEDSEL |
                                    LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS,
                                0, 0, 0, 0, hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kListId)),
                                openBarModule(), nullptr);
    if (font_) {
      SendMessageA(pane.title, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
      SendMessageA(pane.list, WM_SETFONT, reinterpret_cast<WPARAM>(font_), FALSE);
    }
    next.push_back(pane);
  }
  for (const Pane& old : panes_) {
    if (old.id == 0) continue;
    if (old.title) DestroyWindow(old.title);
    if (old.list) DestroyWindow(old.list);
  }
  panes_ = std::move(next);
  for (Pane& pane : panes_) fill(pane, pane.shownVersion == 0);
  updateTitles();
  layout();
}

void COpenBarWindow::fill(Pane& pane, bool force) {
  OpenBarListView view;
  if (!lists_.view(pane.id, view)) return;
  if (!force && view.contentVersion == pane.shownVersion) return;
  pane.shownVersion = view.contentVersion ? view.contentVersion : pane.shownVersion;
  const HWND list = pane.list;
  // Files stay selected across a rescan when they are still there.
  std::set<std::string> selected;
  const LRESULT selCount = SendMessageA(list, LB_GETSELCOUNT, 0, 0);
  if (selCount > 0) {
    std::vector<int> items(static_cast<size_t>(selCount));
    const LRESULT got = SendMessageA(list, LB_GETSELITEMS, items.size(), reinterpret_cast<LPARAM>(items.data()));
    for (LRESULT i = 0; i < got; ++i) selected.insert(lowered(listBoxText(list, items[static_cast<size_t>(i)])));
  }
  const LRESULT top = SendMessageA(list, LB_GETTOPINDEX, 0, 0);
  SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  SendMessageA(list, LB_INITSTORAGE, view.shownNames.size(), view.shownNames.size() * 16);
  for (const std::string& name : view.shownNames) {
    const LRESULT at = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
    if (at >= 0 && !selected.empty() && selected.count(lowered(name))) SendMessageA(list, LB_SETSEL, TRUE, at);
  }
  if (top > 0) SendMessageA(list, LB_SETTOPINDEX, top, 0);
  SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(list, nullptr, TRUE);
  if (!selected.empty()) tellFrameChanged();
}

void COpenBarWindow::syncNow() {
  for (Pane& pane : panes_) fill(pane, false);
}

void COpenBarWindow::updateTitles() {
  const int32_t current = lists_.currentIndex();
  const std::vector<OpenBarListInfo> infos = lists_.infos();
  for (size_t i = 0; i < panes_.size() && i < infos.size(); ++i) {
    const std::string text = (static_cast<int32_t>(i) == current ? "\xBB " : "  ") + infos[i].title;
    SetWindowTextA(panes_[i].title, text.c_str());
  }
  layout();
}

void COpenBarWindow::layout() {
  if (!hwnd_ || panes_.empty()) return;
  RECT client;
  GetClientRect(hwnd_, &client);
  int titleHeight = 16;
  if (HDC dc = GetDC(hwnd_)) {
    const HGDIOBJ old = SelectObject(dc, font_ ? static_cast<HGDIOBJ>(font_) : GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICA tm;
    if (GetTextMetricsA(dc, &tm)) titleHeight = tm.tmHeight + 4;
    SelectObject(dc, old);
    ReleaseDC(hwnd_, dc);
  }
  const int32_t current = lists_.currentIndex();
  std::vector<size_t> shown;
  for (size_t i = 0; i < panes_.size(); ++i)
    if (!settings_.maximised || static_cast<int32_t>(i) == current) shown.push_back(i);
  const int n = static_cast<int>(shown.size());
  const int width = client.right - client.left;
  const int height = client.bottom - client.top;
  HDWP defer = BeginDeferWindowPos(static_cast<int>(panes_.size()) * 2);
  for (size_t i = 0; i < panes_.size(); ++i) {
    const auto slot = std::find(shown.begin(), shown.end(), i);
    const bool visible = slot != shown.end();
    int x = 0, y = 0, w = 0, h = 0;
    if (visible && n > 0) {
      const int k = static_cast<int>(slot - shown.begin());
      if (settings_.posVertical) {
        y = height * k / n;
        h = height * (k + 1) / n - y;
        w = width;
      } else {
        x = width * k / n;
        w = width * (k + 1) / n - x;
        h = height;
      }
    }
    const UINT show = visible ? SWP_SHOWWINDOW : SWP_HIDEWINDOW;
    const int th = std::min(titleHeight, h);
    if (defer) {
      defer = DeferWindowPos(defer, panes_[i].title, nullptr, x, y, w, th, SWP_NOZORDER | SWP_NOACTIVATE | show);
      defer = DeferWindowPos(defer, panes_[i].list, nullptr, x, y + th, w, h - th,
                             SWP_NOZORDER | SWP_NOACTIVATE | show);
    }
  }
  if (defer) EndDeferWindowPos(defer);
}

void COpenBarWindow::tellFrameChanged() {
  if (frame_ && IsWindow(frame_)) SendMessageA(frame_, kMsgFrameOpenBarChanged, 0, 0);
}

// ---- Placement ----

COpenBarWindow::Edge COpenBarWindow::edge() const {
  if (settings_.vertical) return settings_.botRight ? Edge::Right : Edge::Left;
  return settings_.botRight ? Edge::Bottom : Edge::Top;
}

int32_t COpenBarWindow::sizeAcross(int32_t) const { return settings_.vertical ? settings_.width : settings_.height; }

void COpenBarWindow::place(const RECT& r, HDWP* deferred) {
  if (!hwnd_ || settings_.asPopup) return;
  const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | (settings_.visible ? SWP_SHOWWINDOW : SWP_HIDEWINDOW);
  if (deferred && *deferred) {
    *deferred = DeferWindowPos(*deferred, hwnd_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, flags);
    return;
  }
  SetWindowPos(hwnd_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, flags);
}

void COpenBarWindow::setFloating(bool on) {
  if (!hwnd_) return;
  settings_.asPopup = on;
  if (on) {
    RECT r{settings_.rect.left, settings_.rect.top, settings_.rect.right, settings_.rect.bottom};
    if (r.right - r.left < 40 || r.bottom - r.top < 40) {
      RECT frame;
      GetWindowRect(frame_, &frame);
      r = {frame.left + 40, frame.top + 60, frame.left + 40 + 200, frame.top + 60 + 300};
    }
    SetParent(hwnd_, nullptr);
    SetWindowLongPtrA(hwnd_, GWL_STYLE, WS_POPUP | WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | WS_CLIPCHILDREN);
    SetWindowLongPtrA(hwnd_, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(frame_));
    SetWindowPos(hwnd_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED | (settings_.visible ? SWP_SHOWWINDOW : 0));
  } else {
    ShowWindow(hwnd_, SW_HIDE);
    SetWindowLongPtrA(hwnd_, GWL_STYLE, WS_CHILD | WS_CLIPCHILDREN | WS_CLIPSIBLINGS);
    SetParent(hwnd_, frame_);
    SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0, SWP_NOZORDER | SWP_NOMOVE | SWP_NOSIZE | SWP_FRAMECHANGED);
  }
  if (frame_ && IsWindow(frame_)) SendMessageA(frame_, kMsgFrameLayout, 0, 0);
}

// ---- Settings ----

void COpenBarWindow::loadSettings(SettingsStore& store) {
  RECT r{};
  if (hwnd_ && settings_.asPopup) GetWindowRect(hwnd_, &r);
  const bool wasFloating = settings_.asPopup;
  settings_ = readOpenBarSettings(store, {r.left, r.top, r.right, r.bottom});
  if (hwnd_ && settings_.asPopup != wasFloating) {
    // The window follows the settings into or out of floating.
    const bool floating = settings_.asPopup;
    settings_.asPopup = wasFloating;
    setFloating(floating);
  }
  if (hwnd_ && !settings_.visible) ShowWindow(hwnd_, SW_HIDE);
  lists_.setAutoRefresh(settings_.autoRefresh);
  lists_.replaceAll(readOpenBarLists(store, [](const std::string& dir) {
    char full[MAX_PATH];
    const DWORD n = GetFullPathNameA(dir.c_str(), MAX_PATH, full, nullptr);
    return n > 0 && n < MAX_PATH ? std::string(full, n) : dir;
  }));
  applyFont();
  syncPanes();
}

void COpenBarWindow::saveSettings(SettingsStore& store) {
  if (hwnd_ && settings_.asPopup) {
    RECT r;
    GetWindowRect(hwnd_, &r);
    settings_.rect = {r.left, r.top, r.right, r.bottom};
  }
  settings_.autoRefresh = lists_.autoRefresh();
  writeOpenBarSettings(store, settings_);
  writeOpenBarLists(store, lists_.infos(), [](const std::string& dir) {
    char shortName[MAX_PATH];
    const DWORD n = GetShortPathNameA(dir.c_str(), shortName, MAX_PATH);
    return n > 0 && n < MAX_PATH ? std::string(shortName, n) : dir;
  });
}

// ---- Actions ----

bool COpenBarWindow::nextList() {
  if (!lists_.next()) return false;
  updateTitles();
  tellFrameChanged();
  return true;
}

bool COpenBarWindow::previousList() {
  if (!lists_.previous()) return false;
  updateTitles();
  tellFrameChanged();
  return true;
}

bool COpenBarWindow::gotoList(int32_t index) {
  if (!lists_.setCurrent(index)) return false;
  updateTitles();
  if (HWND list = currentListBox(); list && IsWindowVisible(list)) SetFocus(list);
  tellFrameChanged();
  return true;
}

bool COpenBarWindow::newList(const OpenBarListInfo& info) {
  if (!lists_.add(info)) return false;
  syncPanes();
  tellFrameChanged();
  return true;
}

bool COpenBarWindow::newList() {
  if (lists_.count() >= kMaxOpenBarLists) {
    MessageBeep(MB_ICONHAND);
    MessageBoxA(hwnd_ ? hwnd_ : frame_, "The Open Bar holds no more than 60 lists.", "OSK", MB_OK | MB_ICONSTOP);
    return false;
  }
  OpenBarListInfo info;
  const std::vector<OpenBarListInfo> infos = lists_.infos();
  const int32_t current = lists_.currentIndex();
  if (current >= 0 && current < static_cast<int32_t>(infos.size())) info.directory = infos[current].directory;
  if (!showListDialog(frame_, "New List", info)) return false;
  return newList(info);
}

bool COpenBarWindow::listSettings() {
  const std::vector<OpenBarListInfo> infos = lists_.infos();
  const int32_t current = lists_.currentIndex();
  if (current < 0 || current >= static_cast<int32_t>(infos.size())) return false;
  OpenBarListInfo info = infos[current];
  const uint32_t id = lists_.currentId();
  if (!showListDialog(frame_, "Open List Settings", info)) return false;
  if (!lists_.update(id, info)) return false;
  updateTitles();
  return true;
}

void COpenBarWindow::refresh() { lists_.refresh(); }

int32_t COpenBarWindow::openSelected() {
  const Pane* pane = currentPane();
  if (!pane) return 0;
  std::vector<int32_t> chosen;
  for (int32_t i = -1;;) {
    std::string path;
    i = nextSelected(i, path);
    if (i < 0) break;
    chosen.push_back(i);
  }
  int32_t opened = 0;
  const HWND list = pane->list;
  for (int32_t index : chosen) {
    std::string path;
    if (nextSelected(index - 1, path) != index) continue;
    // A global atom holds at most 255 characters; a longer name cannot be handed over.
    const ATOM atom = path.size() <= 255 ? GlobalAddAtomA(path.c_str()) : 0;
    if (!atom) {
      MessageBeep(MB_ICONHAND);
      break;
    }
    const LRESULT failed = SendMessageA(frame_, kMsgFrameOpenByAtom, atom, 0);
    GlobalDeleteAtom(atom);
    if (failed == 1) break;
    ++opened;
    if (IsWindow(list)) SendMessageA(list, LB_SETSEL, FALSE, index);
  }
  if (opened) tellFrameChanged();
  return opened;
}

bool COpenBarWindow::closeList() {
  if (!lists_.closeCurrent()) return false;
  syncPanes();
  tellFrameChanged();
  return true;
}

void COpenBarWindow::setFont(int32_t height, int32_t weight, bool italic, const std::string& face) {
  settings_.fontHeight = height;
  settings_.weight = weight;
  settings_.italic = italic;
  settings_.fontFace = face.substr(0, kMaxFontFace);
  applyFont();
  layout();
}

void COpenBarWindow::applyFont() {
  LOGFONTA lf{};
  lf.lfHeight = settings_.fontHeight;
  lf.lfWeight = settings_.weight;
  lf.lfItalic = settings_.italic ? TRUE : FALSE;
  lf.lfCharSet = DEFAULT_CHARSET;
  const std::string face = fontFaceOrDefault(settings_);
  lstrcpynA(lf.lfFaceName, face.c_str(), LF_FACESIZE);
  const HFONT font = CreateFontIndirectA(&lf);
  if (!font) return;
  for (const Pane& pane : panes_) {
    SendMessageA(pane.title, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    SendMessageA(pane.list, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
  }
  if (font_) DeleteObject(font_);
  font_ = font;
}

bool COpenBarWindow::fontDialog() {
  LOGFONTA lf{};
  lf.lfHeight = settings_.fontHeight;
  lf.lfWeight = settings_.weight;
  lf.lfItalic = settings_.italic ? TRUE : FALSE;
  lf.lfCharSet = DEFAULT_CHARSET;
  lstrcpynA(lf.lfFaceName, fontFaceOrDefault(settings_).c_str(), LF_FACESIZE);
  CHOOSEFONTA cf{};
  cf.lStructSize = sizeof cf;
  cf.hwndOwner = frame_;
  cf.lpLogFont = &lf;
  cf.Flags = CF_SCREENFONTS | CF_INITTOLOGFONTSTRUCT;
  if (!ChooseFontA(&cf)) return false;
  setFont(lf.lfHeight, lf.lfWeight, lf.lfItalic != 0, lf.lfFaceName);
  return true;
}

void COpenBarWindow::setVisible(bool on) {
  settings_.visible = on;
  if (hwnd_) {
    if (!on)
      ShowWindow(hwnd_, SW_HIDE);
    else if (settings_.asPopup || GetParent(hwnd_) == frame_)
      ShowWindow(hwnd_, SW_SHOWNA);
  }
  if (frame_ && IsWindow(frame_)) SendMessageA(frame_, kMsgFrameLayout, 1, on ? 1 : 0);
}

void COpenBarWindow::setMaximised(bool on) {
  settings_.maximised = on;
  layout();
}

void COpenBarWindow::setAutoRefresh(bool on) {
  settings_.autoRefresh = on;
  lists_.setAutoRefresh(on);
}

// ---- Selection ----

int32_t COpenBarWindow::selectedCount() const {
  const Pane* pane = currentPane();
  if (!pane) return 0;
  const LRESULT n = SendMessageA(pane->list, LB_GETSELCOUNT, 0, 0);
  return n == LB_ERR ? 0 : static_cast<int32_t>(n);
}

int32_t COpenBarWindow::nextSelected(int32_t previous, std::string& path) const {
  const Pane* pane = currentPane();
  if (!pane) return -1;
  const std::vector<OpenBarListInfo> infos = lists_.infos();
  const int32_t current = lists_.currentIndex();
  if (current < 0 || current >= static_cast<int32_t>(infos.size())) return -1;
  const LRESULT count = SendMessageA(pane->list, LB_GETCOUNT, 0, 0);
  for (int32_t i = std::max(previous + 1, 0); i < count; ++i) {
    if (SendMessageA(pane->list, LB_GETSEL, i, 0) <= 0) continue;
    path = joinPath(infos[static_cast<size_t>(current)].directory, listBoxText(pane->list, i));
    return i;
  }
  return -1;
}

bool COpenBarWindow::deselect(int32_t index) {
  const Pane* pane = currentPane();
  if (!pane || SendMessageA(pane->list, LB_SETSEL, FALSE, index) == LB_ERR) return false;
  InvalidateRect(pane->list, nullptr, TRUE);
  return true;
}

void COpenBarWindow::fillGotoMenu(HMENU menu, UINT firstId) const {
  const std::vector<OpenBarListInfo> infos = lists_.infos();
  for (size_t i = 0; i < infos.size(); ++i) {
    // An ampersand in a title is shown, not taken as a mnemonic.
    std::string text;
    for (char c : infos[i].title) text += c == '&' ? std::string("&&") : std::string(1, c);
    AppendMenuA(menu, MF_STRING | (infos[i].selected ? MF_CHECKED : 0), firstId + static_cast<UINT>(i), text.c_str());
  }
}

}  // namespace osk::win32

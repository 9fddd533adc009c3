// The printer of a services instance, measuring and drawing with GDI, and reading a job for layout.
#include <windows.h>
#include <commdlg.h>

#include <fstream>
#include <sstream>

#include "engine/lang/colour_api.h"
#include "services/ocs_config_api.h"
#include "services/print/draw_plan.h"
#include "services/print/stream_reader.h"
#include "services/win32/instance_win32.h"
#include "services/win32/print_win32.h"
#include "services/win32/profile_win32.h"

namespace osk::win32 {

PrintState::~PrintState() {
  destroyPreview(*this);
  if (devMode) GlobalFree(devMode);
  if (devNames) GlobalFree(devNames);
}

void destroyPrintState(PrintState* state) { delete state; }

PrintState& printStateOf(OcsInstance& instance) {
  if (!instance.print) instance.print.reset(new PrintState);
  return *instance.print;
}

void showError(HWND owner, const char* text) {
  MessageBeep(MB_ICONHAND);
  MessageBoxA(owner, text, "OSK", MB_OK | MB_ICONSTOP);
}

bool choosePrinter(PrintState& state) {
  if (state.devNames) return true;
  PRINTDLGA pd{};
  pd.lStructSize = sizeof pd;
  pd.Flags = PD_RETURNDEFAULT;
  if (!PrintDlgA(&pd)) return false;
  state.devMode = pd.hDevMode;
  state.devNames = pd.hDevNames;
  return state.devNames != nullptr;
}

namespace {

std::string devNamesField(HGLOBAL devNames, WORD DEVNAMES::*offset) {
  if (!devNames) return {};
  const auto* names = static_cast<const DEVNAMES*>(GlobalLock(devNames));
  if (!names) return {};
  std::string text = reinterpret_cast<const char*>(names) + names->*offset;
  GlobalUnlock(devNames);
  return text;
}

}  // namespace

std::string printerPort(const PrintState& state) { return devNamesField(state.devNames, &DEVNAMES::wOutputOffset); }
std::string printerName(const PrintState& state) { return devNamesField(state.devNames, &DEVNAMES::wDeviceOffset); }

HDC createPrinterDC(const PrintState& state) {
  if (!state.devNames) return nullptr;
  const std::string driver = devNamesField(state.devNames, &DEVNAMES::wDriverOffset);
  const std::string device = printerName(state);
  const DEVMODEA* mode = state.devMode ? static_cast<const DEVMODEA*>(GlobalLock(state.devMode)) : nullptr;
  HDC dc = CreateDCA(driver.empty() ? nullptr : driver.c_str(), device.c_str(), nullptr, mode);
  if (mode) GlobalUnlock(state.devMode);
  return dc;
}

std::vector<print::PrintClass> loadClasses(SettingsStore& settings) {
  char name[64] = "";
  uint32_t defFore = 0, curFore = 0, defBack = 0, curBack = 0;
  int32_t useDefault = 1;
  print::ScreenColours normal{"Normal Text", 0, 0xFFFFFF};
  if (ECD_fbGetNextColour(name, &defFore, &curFore, &defBack, &curBack, &useDefault)) {
    normal.name = name;
    normal.fore = useDefault ? defFore : curFore;
    normal.back = useDefault ? defBack : curBack;
  }
  std::vector<print::ScreenColours> syntax;
  name[0] = 0;
  int32_t currentBackNone = 0, defaultBackNone = 0;
  const uint32_t count = ECD_fuGetSyntaxColourCount();
  while (syntax.size() < count &&
         ECD_fbGetNextSyntaxColour(name, &defFore, &curFore, &defBack, &curBack, &useDefault, &currentBackNone,
                                   &defaultBackNone)) {
    print::ScreenColours c;
    c.name = name;
    c.fore = useDefault ? defFore : curFore;
    const bool none = useDefault ? defaultBackNone : currentBackNone;
    c.back = none ? print::kNoColour : (useDefault ? defBack : curBack);
    syntax.push_back(c);
  }
  return print::loadPrintClasses(settings, normal, syntax);
}

GdiDevice::~GdiDevice() {
  if (original_) SelectObject(dc_, original_);
  for (auto& [key, font] : fonts_) DeleteObject(font);
}

print::PageGeometry GdiDevice::page() {
  return print::PageGeometry{GetDeviceCaps(dc_, HORZRES), GetDeviceCaps(dc_, VERTRES),
                             std::max(GetDeviceCaps(dc_, LOGPIXELSX), 1), std::max(GetDeviceCaps(dc_, LOGPIXELSY), 1)};
}

HFONT GdiDevice::font(const print::FontSpec& spec) {
  const std::string key = spec.face + "|" + std::to_string(spec.height) + "|" + std::to_string(spec.weight) + "|" +
                          (spec.italic ? "i" : "");
  auto found = fonts_.find(key);
  if (found != fonts_.end()) return found->second;
  // Heights are points: scaled to the device's resolution, keeping the sign (negative: character height).
  const int dpi = std::max(GetDeviceCaps(dc_, LOGPIXELSY), 1);
  int height = MulDiv(spec.height < 0 ? -spec.height : spec.height, dpi, 72);
  if (height == 0) height = 1;
  if (spec.height < 0) height = -height;
  const std::string face = print::usableFace(spec.face);
  HFONT f = CreateFontA(height, 0, 0, 0, spec.weight, spec.italic, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                        CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, face.c_str());
  if (!f) f = static_cast<HFONT>(GetStockObject(ANSI_VAR_FONT));
  fonts_[key] = f;
  return f;
}

void GdiDevice::selectFont(const print::FontSpec& spec) { selected_ = font(spec); }

void GdiDevice::apply() {
  // Others may select fonts into the same context between calls: ask it what it holds.
  if (!selected_ || GetCurrentObject(dc_, OBJ_FONT) == selected_) return;
  HGDIOBJ old = SelectObject(dc_, selected_);
  if (!original_) original_ = old;
}

print::FontMetrics GdiDevice::metrics() {
  apply();
  TEXTMETRICA tm{};
  if (!GetTextMetricsA(dc_, &tm)) return {};
  return print::FontMetrics{tm.tmHeight + tm.tmExternalLeading, tm.tmAscent, tm.tmAveCharWidth};
}

const GdiDevice::Widths& GdiDevice::selectedWidths() {
  auto found = widths_.find(selected_);
  if (found != widths_.end()) return found->second;
  Widths& table = widths_[selected_];
  apply();
  CPINFO code{};
  INT advances[256] = {};
  if (!GetCPInfo(CP_ACP, &code) || code.MaxCharSize != 1 || !GetCharWidth32A(dc_, 0, 255, advances)) return table;
  std::string all(255, ' ');
  for (int c = 1; c < 256; ++c) all[static_cast<size_t>(c - 1)] = static_cast<char>(c);
  std::vector<int32_t> measured;
  measure(all, measured);
  int32_t sum = 0;
  for (int c = 1; c < 256; ++c) {
    sum += advances[c];
    if (measured[static_cast<size_t>(c - 1)] != sum) return table;
  }
  table.assign(advances, advances + 256);
  return table;
}

void GdiDevice::extents(std::string_view text, std::vector<int32_t>& ends) {
  // A NUL is the one character the table was not checked for.
  if (!selected_ || text.find('\0') != std::string_view::npos) {
    measure(text, ends);
    return;
  }
  const Widths& table = selectedWidths();
  if (table.empty()) {
    measure(text, ends);
    return;
  }
  ends.resize(text.size());
  int32_t sum = 0;
  for (size_t i = 0; i < text.size(); ++i) ends[i] = sum += table[static_cast<unsigned char>(text[i])];
}

void GdiDevice::measure(std::string_view text, std::vector<int32_t>& ends) {
  ends.assign(text.size(), 0);
  if (text.empty()) return;
  apply();
  std::vector<INT> dx(text.size());
  SIZE size{};
  // The system measures at most a few thousand characters in one call on some platforms: measure in chunks.
  size_t done = 0;
  int32_t base = 0;
  while (done < text.size()) {
    const size_t n = std::min<size_t>(text.size() - done, 1024);
    if (!GetTextExtentExPointA(dc_, text.data() + done, static_cast<int>(n), 0, nullptr, dx.data(), &size)) {
      for (size_t i = 0; i < n; ++i) ends[done + i] = base;
    } else {
      for (size_t i = 0; i < n; ++i) ends[done + i] = base + dx[i];
    }
    base = ends[done + n - 1];
    done += n;
  }
}

void drawPage(HDC dc, const print::PagePlan& page, const std::vector<print::ResolvedClass>& classes,
              GdiDevice& fonts) {
  print::DrawPlanner planner(classes, fonts);
  const std::vector<print::DrawRun> runs = planner.plan(page);
  // Only what changes between runs is set again: a printer driver writes out every state change.
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  SetTextAlign(dc, TA_LEFT | TA_TOP | TA_NOUPDATECP);
  HGDIOBJ oldFont = nullptr;
  HFONT font = nullptr;
  COLORREF text = CLR_INVALID, back = CLR_INVALID;
  for (const print::DrawRun& run : runs) {
    HFONT wanted = fonts.font(run.look->font);
    if (wanted != font) {
      HGDIOBJ old = SelectObject(dc, wanted);
      if (!oldFont) oldFont = old;
      font = wanted;
    }
    if (run.look->text != text) SetTextColor(dc, text = run.look->text);
    UINT options = 0;
    if (run.opaque) {
      if (run.look->back != back) SetBkColor(dc, back = run.look->back);
      options |= ETO_OPAQUE;
    }
    if (run.clipped) options |= ETO_CLIPPED;
    const RECT clip{run.clip.left, run.clip.top, run.clip.right, run.clip.bottom};
    ExtTextOutA(dc, run.x, run.y, options, options ? &clip : nullptr, run.text.data(),
                static_cast<UINT>(run.text.size()), nullptr);
  }
  if (oldFont) SelectObject(dc, oldFont);
  SetBkMode(dc, oldMode);
  HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  for (const print::Rect& r : page.rules) {
    const RECT rect{r.left, r.top, r.right, r.bottom};
    FillRect(dc, &rect, black);
  }
}

LaidOutJob layOutJob(OcsInstance& instance, HDC printer, const char* documentPath, int64_t documentTime,
                     const char* streamFile) {
  LaidOutJob job;
  std::ifstream in(streamFile ? streamFile : "", std::ios::binary);
  if (!in) {
    job.readFailed = true;
    return job;
  }
  std::stringstream bytes;
  bytes << in.rdbuf();
  ProfileSettings settings(instance.core.settingsPath());
  print::LayoutInput input;
  input.options = print::loadPrintOptions(settings);
  const std::vector<print::PrintClass> classes = loadClasses(settings);
  for (size_t i = 0; i < classes.size(); ++i) input.classes.push_back(print::resolveClass(classes, static_cast<int32_t>(i)));
  const print::StreamDocument document =
      print::readPrintStream(bytes.str(), input.options.wrap == print::WrapOption::kParagraph);
  input.document = &document;
  const int64_t now = static_cast<int64_t>(time(nullptr));
  input.values.path = documentPath ? documentPath : "";
  input.values.printDate = OCS_FormatDate(0, now);
  input.values.printDateLong = OCS_FormatDate(1, now);
  input.values.printTime = OCS_FormatTime(now);
  input.values.fileDate = OCS_FormatDate(0, documentTime);
  input.values.fileDateLong = OCS_FormatDate(1, documentTime);
  input.values.fileTime = OCS_FormatTime(documentTime);
  GdiDevice device(printer);
  job.geometry = device.page();
  job.layout = print::layOutPages(input, device);
  job.status = job.layout.status;
  job.classes = std::move(input.classes);
  return job;
}

}  // namespace osk::win32

// The Win32 side of printing: the printer of a services instance, the GDI measuring device, drawing a laid-out
// page on a device context, and the preview window.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "services/print/page_layout.h"
#include "services/print/print_options.h"
#include "services/settings_store.h"

struct OcsInstance;

namespace osk::win32 {

class PreviewWindow;

// What an instance keeps between print calls: the printer chosen last and where its output goes.
struct PrintState {
  PrintState() = default;
  PrintState(const PrintState&) = delete;
  PrintState& operator=(const PrintState&) = delete;
  ~PrintState();

  HGLOBAL devMode = nullptr;    // DEVMODEA, or null for the default printer
  HGLOBAL devNames = nullptr;   // DEVNAMES
  uint32_t firstPage = 0;       // 0: from the first page
  uint32_t lastPage = 0;        // 0: to the last page
  std::string outputFile;       // printing to a file when not empty
  HWND preview = nullptr;       // the preview control, while one exists
};

PrintState& printStateOf(OcsInstance& instance);
// Destroys the state's preview control, if any, without the control reaching back into the state.
void destroyPreview(PrintState& state);

// Makes sure the state names a printer, taking the default one when none was chosen; false when there is none.
bool choosePrinter(PrintState& state);
// A device context for the chosen printer; null when it cannot be made.
HDC createPrinterDC(const PrintState& state);
// The port of the chosen printer ("FILE:", "LPT1:" ...), empty when unknown.
std::string printerPort(const PrintState& state);
std::string printerName(const PrintState& state);

// The print classes with the engine's screen colours and the settings' values.
std::vector<print::PrintClass> loadClasses(SettingsStore& settings);

// Measures text with the fonts a printer device context would use. Font heights are points (1/72 inch).
//
// A job measures a hundred thousand runs, and each system call costs; so each font's advance widths of the 256
// single-byte characters are read once and runs are summed from them. That table is used only where it gives
// exactly what the system measures (a single-byte code page, and the widths of all 255 characters in one string
// agreeing with the table); otherwise every run is measured by the system.
class GdiDevice : public print::MeasuringDevice {
 public:
  explicit GdiDevice(HDC dc) : dc_(dc) {}
  ~GdiDevice() override;
  print::PageGeometry page() override;
  void selectFont(const print::FontSpec& font) override;
  print::FontMetrics metrics() override;
  void extents(std::string_view text, std::vector<int32_t>& ends) override;
  // The font for a class at this device's resolution, kept for the device's life.
  HFONT font(const print::FontSpec& spec);

 private:
  using Widths = std::vector<int32_t>;   // 256 advances, or empty when the system must measure
  const Widths& selectedWidths();
  void measure(std::string_view text, std::vector<int32_t>& ends);
  // Puts the selected font into the device context, which only the system's own measures need: selecting a
  // font on a printer costs the driver work.
  void apply();

  HDC dc_;
  HGDIOBJ original_ = nullptr;
  HFONT selected_ = nullptr;
  std::map<std::string, HFONT> fonts_;
  std::map<HFONT, Widths> widths_;
};

// Draws one laid-out page on `dc`, whose logical units are the printer's device units.
void drawPage(HDC dc, const print::PagePlan& page, const std::vector<print::ResolvedClass>& classes,
              GdiDevice& fonts);

// A job read and laid out: what both printing and the preview need.
struct LaidOutJob {
  print::LayoutStatus status = print::LayoutStatus::kOk;
  bool readFailed = false;
  print::Layout layout;
  std::vector<print::ResolvedClass> classes;
  print::PageGeometry geometry;
};
LaidOutJob layOutJob(OcsInstance& instance, HDC printer, const char* documentPath, int64_t documentTime,
                     const char* streamFile);

// Message boxes titled "OSK".
void showError(HWND owner, const char* text);

}  // namespace osk::win32

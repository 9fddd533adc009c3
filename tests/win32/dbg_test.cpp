#include <gtest/gtest.h>
#include "driver/osk_driver.h"
#include "engine/ecd_api.h"
namespace osk::drive {
TEST(Dbg, Keys) {
  Scratch folder;
  folder.write("a.txt", "alpha\r\nbeta\r\n");
  Program program(folder, "a.txt");
  HWND f = program.waitForFrame();
  ASSERT_TRUE(program.waitForDocuments(1));
  printf("fg before %p frame %p\n", GetForegroundWindow(), f);
  BOOL ok = SetForegroundWindow(f);
  printf("sfw=%d fg after %p active doc %p editor %p\n", ok, GetForegroundWindow(), program.activeDocument(), program.activeEditor());
  GUITHREADINFO info{}; info.cbSize = sizeof info;
  GetGUIThreadInfo(GetWindowThreadProcessId(f, nullptr), &info);
  printf("focus %p active %p class %s\n", info.hwndFocus, info.hwndActive, className(info.hwndFocus).c_str());
  printf("active title [%s] class %s text [%s]\n", windowText(info.hwndActive).c_str(), className(info.hwndActive).c_str(), messageBoxText(info.hwndActive).c_str());
  saveScreen("Z:\\tmp\\dbg.bmp");
  program.type("xy");
  Sleep(500);
  printf("modified %ld\n", (long)SendMessageA(program.activeEditor(), ECD_IS_MODIFIED, 0, 0));
  program.kill();
}
}

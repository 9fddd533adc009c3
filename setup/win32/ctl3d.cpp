#include "setup/win32/ctl3d.h"

namespace osk::setup {

namespace {

using Ctl3dCall = BOOL(WINAPI*)(HINSTANCE);

Ctl3dCall entry(HMODULE library, const char* name) {
  return reinterpret_cast<Ctl3dCall>(reinterpret_cast<void*>(GetProcAddress(library, name)));
}

}  // namespace

OldShellControls::OldShellControls(HINSTANCE instance) : instance_(instance) {
  if (LOBYTE(LOWORD(GetVersion())) >= 4) return;
  library_ = LoadLibraryA("CTL3D32.DLL");
  if (library_ == nullptr) return;
  auto registerApp = entry(library_, "Ctl3dRegister");
  auto subclass = entry(library_, "Ctl3dAutoSubclass");
  unregister_ = entry(library_, "Ctl3dUnregister");
  if (registerApp == nullptr || subclass == nullptr || unregister_ == nullptr) {
    FreeLibrary(library_);
    library_ = nullptr;
    return;
  }
  registerApp(instance_);
  subclass(instance_);
}

OldShellControls::~OldShellControls() {
  if (library_ == nullptr) return;
  unregister_(instance_);
  FreeLibrary(library_);
}

}  // namespace osk::setup

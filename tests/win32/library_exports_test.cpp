// The libraries export exactly what their .def files list, by name and by ordinal, so that programs written
// elsewhere can bind them with LoadLibrary and GetProcAddress.
#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <span>
#include <string>

#include "engine/ecd_types.h"

namespace {

struct DefExport {
  const char* name;
  unsigned ordinal;   // 0: none given
  bool byName;
};

constexpr DefExport kEngineExports[] = {
#include "oskecd32_exports.inc"
};

constexpr DefExport kServicesExports[] = {
#include "oskocs32_exports.inc"
};

// The names in the module's export directory.
std::set<std::string> exportedNames(HMODULE module) {
  const auto* base = reinterpret_cast<const BYTE*>(module);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& entry = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
  std::set<std::string> names;
  if (entry.VirtualAddress == 0) return names;
  const auto* directory = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + entry.VirtualAddress);
  const auto* nameRvas = reinterpret_cast<const DWORD*>(base + directory->AddressOfNames);
  for (DWORD i = 0; i < directory->NumberOfNames; ++i) {
    names.insert(reinterpret_cast<const char*>(base + nameRvas[i]));
  }
  return names;
}

class Library {
 public:
  explicit Library(const char* file) : module_(LoadLibraryA(file)) {}
  ~Library() {
    if (module_ != nullptr) FreeLibrary(module_);
  }
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;
  HMODULE get() const { return module_; }

 private:
  HMODULE module_;
};

void expectExportsMatchDef(const char* file, std::span<const DefExport> def) {
  Library library(file);
  ASSERT_NE(library.get(), nullptr) << file << " does not load, error " << GetLastError();

  std::set<std::string> defNames;
  std::set<unsigned> ordinals;
  for (const DefExport& entry : def) {
    SCOPED_TRACE(entry.name);
    FARPROC byOrdinal = nullptr;
    if (entry.ordinal != 0) {
      EXPECT_TRUE(ordinals.insert(entry.ordinal).second) << "ordinal " << entry.ordinal << " listed twice";
      byOrdinal = GetProcAddress(library.get(), MAKEINTRESOURCEA(entry.ordinal));
      EXPECT_NE(byOrdinal, nullptr) << "no export at ordinal " << entry.ordinal;
    }
    if (!entry.byName) continue;
    defNames.insert(entry.name);
    FARPROC byName = GetProcAddress(library.get(), entry.name);
    EXPECT_NE(byName, nullptr) << "not exported by name";
    if (byOrdinal != nullptr) {
      EXPECT_EQ(byName, byOrdinal) << "name and ordinal " << entry.ordinal << " differ";
    }
  }
  // Nothing leaks out beside the listed entries (a stray dllexport would).
  EXPECT_EQ(exportedNames(library.get()), defNames);
}

TEST(LibraryExports, EngineExportsEveryDefEntryByNameAndOrdinal) {
  expectExportsMatchDef("OSKECD32.dll", kEngineExports);
}

TEST(LibraryExports, ServicesExportEveryDefEntryByNameAndOrdinal) {
  expectExportsMatchDef("OSKOCS32.dll", kServicesExports);
}

TEST(ServicesVersion, AcceptsEveryHandshake) {
  Library services("OSKOCS32.dll");
  ASSERT_NE(services.get(), nullptr);
  using CheckVersion = int32_t(OSK_CALL*)(const char*);
  auto check = reinterpret_cast<CheckVersion>(
      reinterpret_cast<void*>(GetProcAddress(services.get(), "OCS_fbCheckVersion")));
  ASSERT_NE(check, nullptr);
  EXPECT_EQ(check("OSK2HANDSHAKE"), 1);
  EXPECT_EQ(check("osk2handshake"), 1);
  EXPECT_EQ(check(""), 1);
}

}  // namespace

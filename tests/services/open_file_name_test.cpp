#include "services/open_file_name.h"

#include <gtest/gtest.h>

#include <set>

namespace osk {
namespace {

TEST(OpenFileName, TheFirstPlainExtensionOfTheFilter) {
  EXPECT_EQ(firstFilterExtension("*.txt"), ".txt");
  EXPECT_EQ(firstFilterExtension(" *.c ; *.h"), ".c");
  EXPECT_EQ(firstFilterExtension("x*.tar.gz"), ".tar.gz");
  EXPECT_EQ(firstFilterExtension("*.*"), "");
  EXPECT_EQ(firstFilterExtension("*"), "");
  EXPECT_EQ(firstFilterExtension("readme.*"), "");
  EXPECT_EQ(firstFilterExtension("*."), "");
  EXPECT_EQ(firstFilterExtension(""), "");
  EXPECT_EQ(firstFilterExtension("Makefile;*.mk"), "");
}

TEST(OpenFileName, ANameWithoutExtensionGetsTheFiltersWhenThatFileExists) {
  const std::set<std::string> files = {"main.c", "dir\\util.c", "notes", "notes.txt"};
  const auto exists = [&](const std::string& name) { return files.count(name) > 0; };
  EXPECT_EQ(amendedOpenName("main", "*.c;*.h", exists), "main.c");
  EXPECT_EQ(amendedOpenName("dir\\util", "*.c", exists), "dir\\util.c");
  // The file is there as typed, or the amended one is not: the name stays.
  EXPECT_EQ(amendedOpenName("notes", "*.txt", exists), std::nullopt);
  EXPECT_EQ(amendedOpenName("other", "*.c", exists), std::nullopt);
  // Names with an extension, a folder dot only, wildcards, or filters without an extension stay.
  EXPECT_EQ(amendedOpenName("main.h", "*.c", exists), std::nullopt);
  EXPECT_EQ(amendedOpenName("ma*", "*.c", exists), std::nullopt);
  EXPECT_EQ(amendedOpenName("main", "*.*", exists), std::nullopt);
  EXPECT_EQ(amendedOpenName("", "*.c", exists), std::nullopt);
  EXPECT_EQ(amendedOpenName("dir\\", "*.c", exists), std::nullopt);
  EXPECT_EQ(amendedOpenName("a.dir\\main", "*.c", [](const std::string& n) { return n == "a.dir\\main.c"; }),
            "a.dir\\main.c");
}

}  // namespace
}  // namespace osk

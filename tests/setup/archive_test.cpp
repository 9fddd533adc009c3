// The installation archive: good archives are read whole, and every kind of damage or hostile field refuses the
// archive before a single file would be written.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "setup/archive.h"
#include "setup/archive_list.h"

namespace osk::setup {
namespace {

class MemorySource : public ByteSource {
 public:
  explicit MemorySource(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}
  std::size_t read(std::uint8_t* buffer, std::size_t size) override {
    // Gives at most 700 bytes a call, as a decompressing reader may.
    const std::size_t n = std::min({size, bytes_.size() - at_, std::size_t{700}});
    if (n != 0) std::memcpy(buffer, bytes_.data() + at_, n);
    at_ += n;
    return n;
  }

 private:
  std::vector<std::uint8_t> bytes_;
  std::size_t at_ = 0;
};

ArchiveList sampleList() {
  ArchiveList list;
  list.header.productName = "OSK";
  list.header.displayLine = "Programmer's editor";
  list.header.companyKey = "OSK Makers";
  list.header.version = "2.0";
  list.header.defaultDirectory = "C:\\OSK";
  list.header.defaultGroup = "OSK";
  list.files = {{{Destination::InstallDirectory, "OSK32.EXE", 0}, ""},
                {{Destination::WindowsDirectory, "OSKHELP.HLP", 0}, ""},
                {{Destination::Uninstaller, "OSKUNINS.EXE", 0}, ""}};
  list.programs = {{"OSK32.EXE", "OSK"}, {"OSK32.EXE /r1 README.TXT", "Read me, please"}};
  return list;
}

std::vector<std::vector<std::uint8_t>> sampleContents() {
  return {std::vector<std::uint8_t>(3000, 'x'), {'h', 'l', 'p'}, std::vector<std::uint8_t>(1500, 'u')};
}

std::vector<std::uint8_t> sampleArchive() { return buildArchive(sampleList(), sampleContents()); }

std::optional<ArchiveCatalogue> catalogueOf(std::vector<std::uint8_t> bytes) {
  MemorySource source(std::move(bytes));
  return readCatalogue(source);
}

// Offsets into the sample archive.
constexpr std::size_t kFirstFileBody = kHeaderSize + kTagSize;
constexpr std::size_t kSecondFileRecord = kHeaderSize + kTagSize + kFileBodySize + 3000;

void putInt32(std::vector<std::uint8_t>& bytes, std::size_t at, std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<std::uint8_t>(bits >> (8 * i));
}

void putName(std::vector<std::uint8_t>& bytes, std::size_t bodyAt, const char* name) {
  std::memset(bytes.data() + bodyAt + 2, 0, kFileNameWidth);
  std::memcpy(bytes.data() + bodyAt + 2, name, std::min(std::strlen(name), kFileNameWidth));
}

TEST(Archive, ReadsHeaderFilesAndProgramsOfABuiltArchive) {
  const auto catalogue = catalogueOf(sampleArchive());
  ASSERT_TRUE(catalogue);
  EXPECT_EQ(catalogue->header.productName, "OSK");
  EXPECT_EQ(catalogue->header.fileCount, 3);
  EXPECT_EQ(catalogue->header.totalSize, 4503);
  EXPECT_EQ(productKey(catalogue->header), "OSK 2.0");
  ASSERT_EQ(catalogue->files.size(), 3u);
  EXPECT_EQ(catalogue->files[2].destination, Destination::Uninstaller);
  EXPECT_EQ(catalogue->files[2].name, "OSKUNINS.EXE");
  ASSERT_EQ(catalogue->programs.size(), 2u);
  EXPECT_EQ(commandFile(catalogue->programs[1].command), "OSK32.EXE");
  EXPECT_EQ(commandArguments(catalogue->programs[1].command), "/r1 README.TXT");
}

TEST(Archive, ReaderGivesEachFilesDataExactly) {
  MemorySource source(sampleArchive());
  ArchiveReader reader(source);
  ASSERT_TRUE(reader.readHeader());
  auto first = reader.nextFile();
  ASSERT_TRUE(first);
  std::vector<std::uint8_t> data;
  std::uint8_t chunk[1024];
  while (std::size_t n = reader.readData(chunk, sizeof chunk)) data.insert(data.end(), chunk, chunk + n);
  EXPECT_EQ(data, sampleContents()[0]);
  EXPECT_EQ(reader.nextFile()->name, "OSKHELP.HLP");
  // Asking for the programs before the files are done is a fault, not a skip.
  EXPECT_FALSE(reader.nextProgram());
  EXPECT_TRUE(reader.failed());
}

TEST(Archive, ProductKeyCarriesTheSecondVersion) {
  ArchiveHeader header;
  header.productName = "OSK";
  header.version = "2.0";
  header.secondVersion = "Beta 3";
  EXPECT_EQ(productKey(header), "OSK 2.0 Beta 3");
  EXPECT_EQ(versionKey(header), "2.0 Beta 3");
}

TEST(Archive, RefusesWrongMagicVersionAndShortHeaders) {
  auto archive = sampleArchive();
  auto wrongVersion = archive;
  putInt32(wrongVersion, 4, 257);
  EXPECT_FALSE(catalogueOf(wrongVersion));
  auto wrongMagic = archive;
  wrongMagic[0] = 'X';
  EXPECT_FALSE(catalogueOf(wrongMagic));
  EXPECT_FALSE(catalogueOf(std::vector<std::uint8_t>(archive.begin(), archive.begin() + 269)));
  EXPECT_FALSE(catalogueOf({}));
}

TEST(Archive, RefusesNamesThatLeaveTheTargetDirectory) {
  for (const char* name : {"..\\EVIL.EXE", "../EVIL.EXE", "..", "C:EVIL.EXE", "\\EVIL.EXE", "SUB\\A.TXT", "CON",
                           "nul.txt", "COM1.DAT", "LPT9", "A?.TXT", "A.", "", "A\x01.TXT"}) {
    auto archive = sampleArchive();
    putName(archive, kFirstFileBody, name);
    EXPECT_FALSE(catalogueOf(archive)) << name;
  }
}

TEST(Archive, RefusesNegativeOversizedAndInconsistentLengths) {
  auto negative = sampleArchive();
  putInt32(negative, kFirstFileBody + 15, -1);
  EXPECT_FALSE(catalogueOf(negative));

  auto oversized = sampleArchive();
  putInt32(oversized, kFirstFileBody + 15, 0x7FFFFFFF);
  EXPECT_FALSE(catalogueOf(oversized));

  auto negativeCount = sampleArchive();
  putInt32(negativeCount, 208, -3);
  EXPECT_FALSE(catalogueOf(negativeCount));

  auto hugeCount = sampleArchive();
  putInt32(hugeCount, 212, 1 << 30);
  EXPECT_FALSE(catalogueOf(hugeCount));

  auto wrongTotal = sampleArchive();
  putInt32(wrongTotal, 216, 4504);
  EXPECT_FALSE(catalogueOf(wrongTotal));
}

TEST(Archive, RefusesTruncatedDataWrongTagsAndUnknownKinds) {
  const auto archive = sampleArchive();
  for (std::size_t cut : {kHeaderSize + 10, kFirstFileBody + 2000, archive.size() - 1}) {
    EXPECT_FALSE(catalogueOf(std::vector<std::uint8_t>(archive.begin(), archive.begin() + cut))) << cut;
  }
  auto wrongTag = archive;
  wrongTag[kSecondFileRecord] = 'X';
  EXPECT_FALSE(catalogueOf(wrongTag));
  auto wrongKind = archive;
  wrongKind[kFirstFileBody] = 1;
  EXPECT_FALSE(catalogueOf(wrongKind));
}

TEST(Archive, FieldsWithoutTerminatorsAreReadWithinTheirWidth) {
  auto archive = sampleArchive();
  std::memset(archive.data() + 25, 'D', kDisplayLineWidth);   // display line fills its field, no NUL
  const auto catalogue = catalogueOf(archive);
  ASSERT_TRUE(catalogue);
  EXPECT_EQ(catalogue->header.displayLine, std::string(kDisplayLineWidth, 'D'));
  EXPECT_EQ(catalogue->header.companyKey, "OSK Makers");
}

TEST(Archive, RefusesRegistryNamesAndTitlesThatWouldReachElsewhere) {
  auto list = sampleList();
  list.header.version = "..\\..";
  EXPECT_FALSE(catalogueOf(buildArchive(list, sampleContents())));
  list = sampleList();
  list.header.productName = "A\\B";
  EXPECT_FALSE(catalogueOf(buildArchive(list, sampleContents())));
  list = sampleList();
  list.programs[0].title = "x)][DeleteGroup(Accessories)";
  EXPECT_FALSE(catalogueOf(buildArchive(list, sampleContents())));
  list = sampleList();
  list.programs[0].command = "..\\EVIL.EXE";
  EXPECT_FALSE(catalogueOf(buildArchive(list, sampleContents())));
  list = sampleList();
  list.files[1].entry.name = "osk32.exe";
  list.files[1].entry.destination = Destination::InstallDirectory;
  EXPECT_FALSE(catalogueOf(buildArchive(list, sampleContents())));   // two files of one name
}

TEST(ArchiveList, ParsesStatementsAndResolvesSources) {
  const auto result = parseArchiveList(
      "# the editor\n"
      "product OSK\ndisplay Programmer's editor\ncompany OSK Makers\nversion 2.0\n"
      "directory C:\\OSK\ngroup OSK Editor\n"
      "file 0 OSK32.EXE bin/OSK32.exe\n"
      "file 4 OSKUNINS.EXE /abs/OSKUNINST.exe\n"
      "program OSK32.EXE | OSK\n",
      "/stage");
  ASSERT_EQ(result.error, "");
  EXPECT_EQ(result.list.header.defaultGroup, "OSK Editor");
  ASSERT_EQ(result.list.files.size(), 2u);
  EXPECT_EQ(result.list.files[0].source, "/stage/bin/OSK32.exe");
  EXPECT_EQ(result.list.files[1].source, "/abs/OSKUNINST.exe");
  EXPECT_EQ(result.list.files[1].entry.destination, Destination::Uninstaller);
  ASSERT_EQ(result.list.programs.size(), 1u);
  EXPECT_EQ(result.list.programs[0].title, "OSK");
}

TEST(ArchiveList, ReportsTheLineOfAFault) {
  EXPECT_EQ(parseArchiveList("product OSK\nfile 0 OSKUNINST.EXE x\n", "").error.substr(0, 7), "line 2:");
  EXPECT_EQ(parseArchiveList("product OSK\nfile 3 A.EXE x\n", "").error.substr(0, 7), "line 2:");
  EXPECT_NE(parseArchiveList("product OSK\nversion 2.0\n", "").error, "");   // no company
  EXPECT_NE(parseArchiveList("bogus x\n", "").error, "");
  EXPECT_NE(parseArchiveList("product ThisNameIsFarTooLong\n", "").error, "");
}

}  // namespace
}  // namespace osk::setup

#include "platform/FileSystem.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <string>
#include <tuple>
#include <vector>

#include "TempFolder.h"

namespace {

// A folder tree with files, a sub-folder, links and a read-only file:
//   A.TXT  b.txt  c/ (inner.txt)  dangling -> nowhere  link-to-c -> c
//   link-to-file.txt -> b.txt  locked.txt (read-only)  readme  Zeta.wav
class FileSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(mkdir((root_ / "c").c_str(), 0755), 0);
    for (const char* file : {"A.TXT", "b.txt", "readme", "Zeta.wav", "locked.txt", "c/inner.txt"}) {
      std::ofstream(root_ / file) << "x";
    }
    ASSERT_EQ(symlink("c", (root_ / "link-to-c").c_str()), 0);
    ASSERT_EQ(symlink("b.txt", (root_ / "link-to-file.txt").c_str()), 0);
    ASSERT_EQ(symlink("nowhere", (root_ / "dangling").c_str()), 0);
    ASSERT_EQ(chmod((root_ / "locked.txt").c_str(), 0444), 0);
  }

  // Windows-style path below the tree: backslashes.
  std::string win(const std::string& relative) const { return root_.path() + "\\" + relative; }

  // Lists a pattern the way the catalogue does: first, next until FALSE, close. The names
  // separated by spaces, each with ":" and its attributes in hex when asked; "<none>" when
  // nothing matches.
  static std::string list(const std::string& pattern, bool withAttributes = false) {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(pattern.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return "<none>";
    std::string names;
    do {
      char attributes[16];
      snprintf(attributes, sizeof attributes, ":%x", data.dwFileAttributes);
      names.append(names.empty() ? "" : " ").append(data.cFileName).append(withAttributes ? attributes : "");
    } while (FindNextFileA(find, &data));
    EXPECT_FALSE(FindNextFileA(find, &data)) << "the end stays the end";
    EXPECT_TRUE(FindClose(find));
    return names;
  }

  TempFolder root_;
};

TEST_F(FileSystemTest, ListsMatchingNamesSortedIgnoringCase) {
  const std::string all = ". .. A.TXT b.txt c dangling link-to-c link-to-file.txt locked.txt readme Zeta.wav";
  const std::pair<const char*, std::string> cases[] = {
      {"*.*", all}, {"*", all}, {"*.txt", "A.TXT b.txt link-to-file.txt locked.txt"},
      {"*.TXT", "A.TXT b.txt link-to-file.txt locked.txt"}, {"?.txt", "A.TXT b.txt"}, {"readme.*", "readme"},
      {"L*", "link-to-c link-to-file.txt locked.txt"}, {"c", "c"}, {"c\\*.*", ". .. inner.txt"},
      {"nothing*", "<none>"}, {"missing\\*.*", "<none>"}, {"b.txt\\*.*", "<none>"}, {"", "<none>"}};
  for (const auto& [pattern, names] : cases) {
    EXPECT_EQ(list(win(pattern)), names) << pattern;
    EXPECT_EQ(list(root_ / pattern), names) << pattern;
  }
  // Without a folder the pattern lists the working folder.
  const std::filesystem::path workingFolder = std::filesystem::current_path();
  std::filesystem::current_path(root_ / "c");
  EXPECT_EQ(list("*.txt"), "inner.txt");
  std::filesystem::current_path(workingFolder);
}

TEST_F(FileSystemTest, AttributesComeFromLstat) {
  // Folders 0x10, files 0x80, read-only ones 0x1, links (never followed) 0x400.
  EXPECT_EQ(list(win("*"), true), ".:10 ..:10 A.TXT:80 b.txt:80 c:10 dangling:400 link-to-c:400 link-to-file.txt:400 "
                                  "locked.txt:1 readme:80 Zeta.wav:80");
  const std::pair<const char*, DWORD> entries[] = {
      {"c", FILE_ATTRIBUTE_DIRECTORY}, {"b.txt", FILE_ATTRIBUTE_NORMAL}, {"locked.txt", FILE_ATTRIBUTE_READONLY},
      {"link-to-c", FILE_ATTRIBUTE_REPARSE_POINT}, {"dangling", FILE_ATTRIBUTE_REPARSE_POINT}};
  for (const auto& [name, attributes] : entries) {
    EXPECT_EQ(GetFileAttributesA(win(name).c_str()), attributes) << name;
    EXPECT_EQ(GetFileAttributesA((root_ / name).c_str()), attributes) << name;
  }
  // A trailing separator names a folder or a link, never a file.
  const std::pair<std::string, DWORD> paths[] = {
      {win("c\\"), FILE_ATTRIBUTE_DIRECTORY},         {root_ / "c/", FILE_ATTRIBUTE_DIRECTORY},
      {win("link-to-c\\"), FILE_ATTRIBUTE_REPARSE_POINT}, {win("b.txt\\"), INVALID_FILE_ATTRIBUTES},
      {win("missing"), INVALID_FILE_ATTRIBUTES},       {win("c\\inner.txt"), FILE_ATTRIBUTE_NORMAL},
      {"", INVALID_FILE_ATTRIBUTES}};
  for (const auto& [path, attributes] : paths) EXPECT_EQ(GetFileAttributesA(path.c_str()), attributes) << path;
  EXPECT_EQ(GetFileAttributesA(nullptr), INVALID_FILE_ATTRIBUTES);
  ASSERT_EQ(chmod((root_ / "c").c_str(), 0555), 0);
  EXPECT_EQ(GetFileAttributesA(win("c").c_str()), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY);
}

// A listing is a snapshot in a fixed order; closed or made-up handles are refused.
TEST_F(FileSystemTest, ListingIsASnapshotInAStableOrder) {
  std::ofstream(root_ / "c/Abc") << "x";
  std::ofstream(root_ / "c/abc") << "x";
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA(win("c\\*.*").c_str(), &data);
  ASSERT_NE(find, INVALID_HANDLE_VALUE);
  std::ofstream(root_ / "c/aaa") << "x";
  ASSERT_EQ(unlink((root_ / "c/inner.txt").c_str()), 0);
  std::string names = data.cFileName;
  while (FindNextFileA(find, &data)) names += std::string(" ") + data.cFileName;
  EXPECT_TRUE(FindClose(find));
  EXPECT_EQ(names, ". .. Abc abc inner.txt");
  EXPECT_EQ(list(win("c\\*.*")), ". .. aaa Abc abc");
  EXPECT_FALSE(FindClose(find));
  EXPECT_FALSE(FindNextFileA(find, &data));
  EXPECT_FALSE(FindClose(INVALID_HANDLE_VALUE));
  EXPECT_FALSE(FindNextFileA(INVALID_HANDLE_VALUE, &data));
  EXPECT_EQ(FindFirstFileA(nullptr, &data), INVALID_HANDLE_VALUE);
}

// '\' separates the parts of every path these calls take, so a name holding one is never
// listed: no path made from a listing can lead elsewhere. Other bytes list as they are.
TEST_F(FileSystemTest, NamesHoldingABackslashAreNeverListed) {
  // Entries made in c/ (a trailing '/' makes a folder), what "c\*.*" then lists, and what
  // "c\..?x*" lists.
  const std::tuple<std::vector<std::string>, std::string, std::string> cases[] = {
      {{"..\\x.txt"}, ". .. inner.txt", "<none>"},
      {{"\\/", "a\\", "\\b/"}, ". .. inner.txt", "<none>"},
      {{"..\\..\\dir/", "in\\ner.txt"}, ". .. inner.txt", "<none>"},
      {{"*", "what?", "[a]", "..?x", "\xe9t\xe9", "\x80\xff/"}, ". .. * ..?x [a] inner.txt what? \x80\xff \xe9t\xe9",
       "..?x"},
  };
  for (const auto& [entries, listed, masked] : cases) {
    SCOPED_TRACE(entries.front());
    for (const std::string& entry : entries) {
      if (entry.back() == '/') {
        ASSERT_EQ(mkdir((root_ / "c/" + entry).c_str(), 0755), 0);
      } else {
        std::ofstream(root_ / "c/" + entry) << "x";
      }
    }
    EXPECT_EQ(list(win("c\\*.*")), listed);
    EXPECT_EQ(list(win("c\\..?x*")), masked);
    for (const std::string& entry : entries) std::filesystem::remove(root_ / "c/" + entry);
  }
}

TEST_F(FileSystemTest, MakesAndRemovesFoldersFilesAndLinksNeverThroughALink) {
  const std::tuple<const char*, int, int> removals[] = {
      {"c", -1, EACCES},  {"c\\", -1, EACCES},    {"link-to-c\\", -1, EACCES}, {"missing", -1, ENOENT},
      {"b.txt", 0, 0}, {"locked.txt", 0, 0}, {"link-to-c", 0, 0}};
  for (const auto& [name, result, error] : removals) {
    errno = 0;
    const int removed = win::remove(win(name).c_str()), reported = errno;
    EXPECT_EQ(removed, result) << name;
    EXPECT_EQ(result == 0 ? 0 : reported, error) << name;
  }
  EXPECT_TRUE(CreateDirectoryA(win("new").c_str(), nullptr));
  EXPECT_FALSE(CreateDirectoryA(win("new").c_str(), nullptr)) << "exists already";
  EXPECT_TRUE(CreateDirectoryA(win("New (1)\\").c_str(), nullptr));
  EXPECT_FALSE(CreateDirectoryA(win("missing\\new").c_str(), nullptr)) << "parents are not made";
  ASSERT_EQ(symlink("new", (root_ / "link-to-new").c_str()), 0);
  for (const char* name : {"c", "link-to-new", "Zeta.wav", "missing"}) {
    EXPECT_FALSE(RemoveDirectoryA(win(name).c_str())) << name;
  }
  EXPECT_TRUE(RemoveDirectoryA(win("new").c_str()));
  EXPECT_TRUE(RemoveDirectoryA(win("New (1)\\").c_str()));
  EXPECT_EQ(listFolder(root_.path()), "A.TXT Zeta.wav c dangling link-to-file.txt link-to-new readme");
  EXPECT_EQ(listFolder(root_ / "c"), "inner.txt");
}

}  // namespace

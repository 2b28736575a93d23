#include "platform/FileSystem.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <string>
#include <vector>

#include "TempFolder.h"

namespace {

// A folder tree with files, a sub-folder, links and a read-only file:
//   A.TXT  b.txt  c/ (inner.txt)  dangling -> nowhere  link-to-c -> c
//   link-to-file.txt -> b.txt  locked.txt (read-only)  readme  Zeta.wav
class FileSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* file : {"A.TXT", "b.txt", "readme", "Zeta.wav", "locked.txt"}) {
      ASSERT_TRUE(writeFile(root_ / file, "x"));
    }
    ASSERT_EQ(mkdir((root_ / "c").c_str(), 0755), 0);
    ASSERT_TRUE(writeFile(root_ / "c/inner.txt", "x"));
    ASSERT_EQ(symlink("c", (root_ / "link-to-c").c_str()), 0);
    ASSERT_EQ(symlink("b.txt", (root_ / "link-to-file.txt").c_str()), 0);
    ASSERT_EQ(symlink("nowhere", (root_ / "dangling").c_str()), 0);
    ASSERT_EQ(chmod((root_ / "locked.txt").c_str(), 0444), 0);
  }

  // Windows-style path below the tree: backslashes.
  std::string win(const std::string& relative) const { return root_.path() + "\\" + relative; }

  TempFolder root_;
};

struct Listed {
  std::string names;
  std::vector<DWORD> attributes;
};

// Lists a pattern the way the catalogue does: first, next until FALSE, close.
bool list(const std::string& pattern, Listed* out) {
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA(pattern.c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return false;
  do {
    if (!out->names.empty()) out->names += ' ';
    out->names += data.cFileName;
    out->attributes.push_back(data.dwFileAttributes);
  } while (FindNextFileA(find, &data));
  EXPECT_FALSE(FindNextFileA(find, &data)) << "the end stays the end";
  EXPECT_TRUE(FindClose(find));
  return true;
}

struct ListCase {
  const char* pattern;
  const char* names;  // null: nothing matches

  friend void PrintTo(const ListCase& c, std::ostream* os) { *os << c.pattern; }
};

class FileSystemListTest : public FileSystemTest, public ::testing::WithParamInterface<ListCase> {};

TEST_P(FileSystemListTest, ListsMatchingNamesSortedIgnoringCase) {
  for (const std::string& pattern : {win(GetParam().pattern), root_ / GetParam().pattern}) {
    Listed listed;
    const bool found = list(pattern, &listed);
    if (GetParam().names == nullptr) {
      EXPECT_FALSE(found) << pattern;
    } else {
      ASSERT_TRUE(found) << pattern;
      EXPECT_EQ(listed.names, GetParam().names) << pattern;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, FileSystemListTest,
    ::testing::Values(
        ListCase{"*.*", ". .. A.TXT b.txt c dangling link-to-c link-to-file.txt locked.txt readme Zeta.wav"},
        ListCase{"*", ". .. A.TXT b.txt c dangling link-to-c link-to-file.txt locked.txt readme Zeta.wav"},
        ListCase{"*.txt", "A.TXT b.txt link-to-file.txt locked.txt"},
        ListCase{"*.TXT", "A.TXT b.txt link-to-file.txt locked.txt"}, ListCase{"?.txt", "A.TXT b.txt"},
        ListCase{"readme.*", "readme"}, ListCase{"L*", "link-to-c link-to-file.txt locked.txt"},
        ListCase{"c", "c"}, ListCase{"c\\*.*", ". .. inner.txt"}, ListCase{"nothing*", nullptr},
        ListCase{"missing\\*.*", nullptr}, ListCase{"b.txt\\*.*", nullptr}));

struct AttributeCase {
  const char* name;
  DWORD attributes;

  friend void PrintTo(const AttributeCase& c, std::ostream* os) { *os << c.name; }
};

class FileSystemAttributeTest : public FileSystemTest, public ::testing::WithParamInterface<AttributeCase> {};

// The same attributes from the listing and from GetFileAttributesA.
TEST_P(FileSystemAttributeTest, ComeFromLstat) {
  const AttributeCase& c = GetParam();
  Listed listed;
  ASSERT_TRUE(list(win(c.name), &listed));
  ASSERT_EQ(listed.attributes.size(), 1u);
  EXPECT_EQ(listed.attributes[0], c.attributes);
  EXPECT_EQ(GetFileAttributesA(win(c.name).c_str()), c.attributes);
  EXPECT_EQ(GetFileAttributesA((root_ / c.name).c_str()), c.attributes);
}

INSTANTIATE_TEST_SUITE_P(Entries, FileSystemAttributeTest,
                         ::testing::Values(AttributeCase{"c", FILE_ATTRIBUTE_DIRECTORY},
                                           AttributeCase{"b.txt", FILE_ATTRIBUTE_NORMAL},
                                           AttributeCase{"locked.txt", FILE_ATTRIBUTE_READONLY},
                                           AttributeCase{"link-to-c", FILE_ATTRIBUTE_REPARSE_POINT},
                                           AttributeCase{"link-to-file.txt", FILE_ATTRIBUTE_REPARSE_POINT},
                                           AttributeCase{"dangling", FILE_ATTRIBUTE_REPARSE_POINT}));

TEST_F(FileSystemTest, AttributesOfPathsWithSeparatorsAndOfMissingEntries) {
  struct {
    std::string path;
    DWORD attributes;
  } cases[] = {
      {win("c\\"), FILE_ATTRIBUTE_DIRECTORY},
      {root_ / "c/", FILE_ATTRIBUTE_DIRECTORY},
      {win("link-to-c\\"), FILE_ATTRIBUTE_REPARSE_POINT},
      {win("b.txt\\"), INVALID_FILE_ATTRIBUTES},
      {win("missing"), INVALID_FILE_ATTRIBUTES},
      {win("c\\inner.txt"), FILE_ATTRIBUTE_NORMAL},
      {"", INVALID_FILE_ATTRIBUTES},
  };
  for (const auto& c : cases) EXPECT_EQ(GetFileAttributesA(c.path.c_str()), c.attributes) << c.path;
  EXPECT_EQ(GetFileAttributesA(nullptr), INVALID_FILE_ATTRIBUTES);

  ASSERT_EQ(chmod((root_ / "c").c_str(), 0555), 0);
  EXPECT_EQ(GetFileAttributesA(win("c").c_str()), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY);
}

TEST_F(FileSystemTest, ListingIsASnapshotInAStableOrder) {
  ASSERT_TRUE(writeFile(root_ / "c/Abc", "x"));
  ASSERT_TRUE(writeFile(root_ / "c/abc", "x"));
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA(win("c\\*.*").c_str(), &data);
  ASSERT_NE(find, INVALID_HANDLE_VALUE);
  // Changes after the first call do not show in this listing.
  ASSERT_TRUE(writeFile(root_ / "c/aaa", "x"));
  ASSERT_EQ(unlink((root_ / "c/inner.txt").c_str()), 0);
  std::string names = data.cFileName;
  while (FindNextFileA(find, &data)) names += std::string(" ") + data.cFileName;
  EXPECT_TRUE(FindClose(find));
  EXPECT_EQ(names, ". .. Abc abc inner.txt");

  Listed again;
  ASSERT_TRUE(list(win("c\\*.*"), &again));
  EXPECT_EQ(again.names, ". .. aaa Abc abc");
}

TEST_F(FileSystemTest, UnknownHandlesAreRefused) {
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA(win("*.*").c_str(), &data);
  ASSERT_NE(find, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(FindClose(find));
  EXPECT_FALSE(FindClose(find));
  EXPECT_FALSE(FindClose(INVALID_HANDLE_VALUE));
  EXPECT_FALSE(FindNextFileA(INVALID_HANDLE_VALUE, &data));
  EXPECT_EQ(FindFirstFileA(nullptr, &data), INVALID_HANDLE_VALUE);
  EXPECT_EQ(FindFirstFileA((root_.path() + "\\").c_str(), &data), INVALID_HANDLE_VALUE);
}

struct RemoveCase {
  const char* name;
  int result;
  int error;
  const char* remaining;  // what the tree's root holds afterwards

  friend void PrintTo(const RemoveCase& c, std::ostream* os) { *os << c.name; }
};

class FileSystemRemoveTest : public FileSystemTest, public ::testing::WithParamInterface<RemoveCase> {};

TEST_P(FileSystemRemoveTest, RemovesFilesAndLinksButRefusesFolders) {
  const RemoveCase& c = GetParam();
  errno = 0;
  EXPECT_EQ(win::remove(win(c.name).c_str()), c.result);
  if (c.result != 0) {
    EXPECT_EQ(errno, c.error);
  }
  EXPECT_EQ(listFolder(root_.path()), c.remaining);
  EXPECT_EQ(listFolder(root_ / "c"), "inner.txt") << "nothing is removed through a link";
}

INSTANTIATE_TEST_SUITE_P(
    Entries, FileSystemRemoveTest,
    ::testing::Values(
        RemoveCase{"b.txt", 0, 0, "A.TXT Zeta.wav c dangling link-to-c link-to-file.txt locked.txt readme"},
        RemoveCase{"locked.txt", 0, 0, "A.TXT Zeta.wav b.txt c dangling link-to-c link-to-file.txt readme"},
        RemoveCase{"link-to-c", 0, 0, "A.TXT Zeta.wav b.txt c dangling link-to-file.txt locked.txt readme"},
        RemoveCase{"c", -1, EACCES, "A.TXT Zeta.wav b.txt c dangling link-to-c link-to-file.txt locked.txt readme"},
        RemoveCase{"c\\", -1, EACCES, "A.TXT Zeta.wav b.txt c dangling link-to-c link-to-file.txt locked.txt readme"},
        RemoveCase{"link-to-c\\", -1, EACCES,
                   "A.TXT Zeta.wav b.txt c dangling link-to-c link-to-file.txt locked.txt readme"},
        RemoveCase{"missing", -1, ENOENT,
                   "A.TXT Zeta.wav b.txt c dangling link-to-c link-to-file.txt locked.txt readme"}));

TEST_F(FileSystemTest, CreateAndRemoveDirectory) {
  EXPECT_TRUE(CreateDirectoryA(win("new").c_str(), nullptr));
  EXPECT_FALSE(CreateDirectoryA(win("new").c_str(), nullptr)) << "exists already";
  EXPECT_TRUE(CreateDirectoryA(win("New (1)\\").c_str(), nullptr));
  EXPECT_FALSE(CreateDirectoryA(win("missing\\new").c_str(), nullptr)) << "parents are not made";
  EXPECT_EQ(GetFileAttributesA(win("New (1)").c_str()), FILE_ATTRIBUTE_DIRECTORY);

  EXPECT_FALSE(RemoveDirectoryA(win("c").c_str())) << "not empty";
  EXPECT_FALSE(RemoveDirectoryA(win("link-to-c").c_str()));
  EXPECT_FALSE(RemoveDirectoryA(win("b.txt").c_str()));
  EXPECT_TRUE(RemoveDirectoryA(win("new").c_str()));
  EXPECT_TRUE(RemoveDirectoryA(win("New (1)\\").c_str()));
  EXPECT_EQ(GetFileAttributesA(win("new").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(listFolder(root_ / "c"), "inner.txt");
}

// Deleting a tree the way the catalogue's utilities do (list, recurse into
// folders, remove the rest, remove the folder) never follows a link.
bool deleteTree(const std::string& folder) {
  int failures = 0;
  WIN32_FIND_DATAA data;
  HANDLE find = FindFirstFileA((folder + "*.*").c_str(), &data);
  if (find != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = data.cFileName;
      if (name == "." || name == ".." || name.empty()) continue;
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        failures += deleteTree(folder + name + "\\") ? 0 : 1;
      } else {
        failures += win::remove((folder + name).c_str()) == 0 ? 0 : 1;
      }
    } while (FindNextFileA(find, &data));
    FindClose(find);
  }
  failures += RemoveDirectoryA(folder.c_str()) ? 0 : 1;
  return failures == 0;
}

TEST_F(FileSystemTest, TreeDeletionDoesNotRecurseThroughLinks) {
  TempFolder outside;
  ASSERT_TRUE(writeFile(outside / "keep.txt", "x"));
  ASSERT_EQ(symlink(outside.path().c_str(), (root_ / "c/outside").c_str()), 0);
  EXPECT_TRUE(deleteTree(root_.path() + "\\"));
  EXPECT_EQ(GetFileAttributesA(root_.path().c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(listFolder(outside.path()), "keep.txt");
}

}  // namespace

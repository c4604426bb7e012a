#pragma once
// Cases that the file system double and the real file system must both pass. An environment type supplies:
//   FileSystem& Files();               the implementation under test
//   std::string Folder();              an existing, empty folder (no trailing backslash)
//   void MakeReadOnly(const std::string& path);
//   void Lock(const std::string& path); void UnlockAll();   open elsewhere without sharing
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "platform/FileSystem.h"

namespace velmora {

template <typename Env>
class FileSystemContract : public ::testing::Test {
  protected:
    FileSystem& fs() { return env.Files(); }
    std::string In(const std::string& name) { return env.Folder() + "\\" + name; }
    void Put(const std::string& name, const std::string& bytes) {
        ASSERT_TRUE(fs().ReplaceFile(In(name), bytes));
    }
    // Listings come in no promised order.
    std::vector<std::string> Sorted(std::vector<std::string> names) {
        std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
            return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
                return std::tolower(static_cast<unsigned char>(x)) <
                       std::tolower(static_cast<unsigned char>(y));
            });
        });
        return names;
    }
    std::vector<std::string> AllFiles() { return Sorted(fs().ListFiles(env.Folder(), "*")); }

    Env env;
};

TYPED_TEST_SUITE_P(FileSystemContract);

TYPED_TEST_P(FileSystemContract, RootsFoldersAndFilesExist) {
    std::string folder = this->env.Folder();
    std::string root = folder.substr(0, 3);
    ASSERT_EQ(":\\", root.substr(1));
    EXPECT_TRUE(this->fs().Exists(root));
    EXPECT_TRUE(this->fs().IsDirectory(root));
    EXPECT_TRUE(this->fs().Exists(folder));
    EXPECT_TRUE(this->fs().Exists(folder + "\\"));
    EXPECT_TRUE(this->fs().IsDirectory(folder));
    this->Put("present.txt", "x");
    EXPECT_TRUE(this->fs().Exists(this->In("PRESENT.TXT")));
    EXPECT_FALSE(this->fs().IsDirectory(this->In("present.txt")));
    EXPECT_FALSE(this->fs().Exists(this->In("missing.txt")));
    EXPECT_FALSE(this->fs().IsDirectory(this->In("missing")));
    EXPECT_FALSE(this->fs().Exists(""));
    // A search pattern is not a name, even when files match it.
    EXPECT_FALSE(this->fs().Exists(this->In("*.txt")));
}

TYPED_TEST_P(FileSystemContract, ReadOnlyFolderIsStillAFolder) {
    std::string sub = this->In("locked down");
    ASSERT_TRUE(this->fs().CreateFolder(sub));
    this->env.MakeReadOnly(sub);
    EXPECT_TRUE(this->fs().IsDirectory(sub));
    EXPECT_TRUE(this->fs().Exists(sub));
}

TYPED_TEST_P(FileSystemContract, ReplaceFileWritesExactBytesAndLeavesNothingBehind) {
    std::string binary("head\0\r\n\xff\xfe tail", 14);
    this->Put("data.bin", binary);
    EXPECT_EQ(binary, this->fs().ReadAll(this->In("data.bin")));
    this->Put("data.bin", "ab");  // shorter: no tail of the old contents may remain
    EXPECT_EQ("ab", this->fs().ReadAll(this->In("data.bin")));
    // Nor of what a reused buffer held, after a file longer than any first read.
    std::string large(200000, '\0'), reused;
    for (std::size_t i = 0; i < large.size(); ++i)
        large[i] = static_cast<char>(i * 7 + i / 251);
    this->Put("large.bin", large);
    EXPECT_TRUE(this->fs().ReadAllInto(this->In("large.bin"), reused));
    EXPECT_TRUE(reused == large);
    EXPECT_TRUE(this->fs().ReadAllInto(this->In("data.bin"), reused));
    EXPECT_EQ("ab", reused);
    this->Put("data.bin", "");
    EXPECT_EQ("", this->fs().ReadAll(this->In("data.bin")));
    EXPECT_EQ((std::vector<std::string>{"data.bin", "large.bin"}), this->AllFiles());
}

TYPED_TEST_P(FileSystemContract, ReplaceFileKeepsAReadOnlyOrLockedTargetByteForByte) {
    this->Put("keep.scn", "original contents");
    this->env.MakeReadOnly(this->In("keep.scn"));
    EXPECT_FALSE(this->fs().ReplaceFile(this->In("keep.scn"), "new"));
    EXPECT_EQ("original contents", this->fs().ReadAll(this->In("keep.scn")));

    this->Put("open.scn", "held open");
    this->env.Lock(this->In("open.scn"));
    EXPECT_FALSE(this->fs().ReplaceFile(this->In("open.scn"), "new"));
    this->env.UnlockAll();
    EXPECT_EQ("held open", this->fs().ReadAll(this->In("open.scn")));
    // No temporary file is left beside them.
    EXPECT_EQ((std::vector<std::string>{"keep.scn", "open.scn"}), this->AllFiles());
}

TYPED_TEST_P(FileSystemContract, ReplaceFileNeedsAnExistingFolderAndAFileName) {
    EXPECT_FALSE(this->fs().ReplaceFile(this->In("no such folder\\a.txt"), "x"));
    ASSERT_TRUE(this->fs().CreateFolder(this->In("sub")));
    EXPECT_FALSE(this->fs().ReplaceFile(this->In("sub"), "x"));
    EXPECT_TRUE(this->fs().IsDirectory(this->In("sub")));
}

TYPED_TEST_P(FileSystemContract, ReadAllOfMissingOrLockedFileOrFolderIsNothing) {
    this->Put("busy.scn", "x");
    this->env.Lock(this->In("busy.scn"));
    for (const std::string& path : {this->In("missing.scn"), this->env.Folder(), this->In("busy.scn")}) {
        EXPECT_FALSE(this->fs().ReadAll(path).has_value()) << path;
        std::string bytes = "left over";
        EXPECT_FALSE(this->fs().ReadAllInto(path, bytes)) << path;
        EXPECT_EQ("", bytes) << path;
    }
    this->env.UnlockAll();
}

TYPED_TEST_P(FileSystemContract, RenameMovesButNeverOverwrites) {
    this->Put("a.scn", "A");
    this->Put("b.scn", "B");
    EXPECT_FALSE(this->fs().Rename(this->In("a.scn"), this->In("b.scn")));
    EXPECT_EQ("A", this->fs().ReadAll(this->In("a.scn")));
    EXPECT_EQ("B", this->fs().ReadAll(this->In("b.scn")));
    EXPECT_TRUE(this->fs().Rename(this->In("a.scn"), this->In("c.scn")));
    EXPECT_FALSE(this->fs().Exists(this->In("a.scn")));
    EXPECT_EQ("A", this->fs().ReadAll(this->In("c.scn")));
    EXPECT_FALSE(this->fs().Rename(this->In("a.scn"), this->In("d.scn")));
    // Only the letter case changes: the file is its own target, not an existing one in the way.
    EXPECT_TRUE(this->fs().Rename(this->In("c.scn"), this->In("C.SCN")));
    EXPECT_EQ("A", this->fs().ReadAll(this->In("C.SCN")));
    EXPECT_EQ(2u, this->AllFiles().size());
}

TYPED_TEST_P(FileSystemContract, ListFilesMatchesLongNamesAndSkipsFolders) {
    for (const char* name : {"a.scn", "B.SCN", "c.txt", "d.scnx", "readme"})
        this->Put(name, "x");
    ASSERT_TRUE(this->fs().CreateFolder(this->In("e.scn")));
    EXPECT_EQ((std::vector<std::string>{"a.scn", "B.SCN"}),
              this->Sorted(this->fs().ListFiles(this->env.Folder(), "*.scn")));
    EXPECT_EQ((std::vector<std::string>{"a.scn", "B.SCN", "c.txt", "d.scnx", "readme"}),
              this->Sorted(this->fs().ListFiles(this->env.Folder() + "\\", "*.*")));
    EXPECT_EQ(std::vector<std::string>{"c.txt"}, this->fs().ListFiles(this->env.Folder(), "?.TXT"));
    EXPECT_TRUE(this->fs().ListFiles(this->In("missing"), "*").empty());
}

TYPED_TEST_P(FileSystemContract, CopyCarriesAttributesUntilTheyAreMadeNormal) {
    this->Put("from.lng", "source");
    this->Put("to.lng", "old");
    EXPECT_TRUE(this->fs().Copy(this->In("from.lng"), this->In("to.lng")));
    EXPECT_EQ("source", this->fs().ReadAll(this->In("to.lng")));
    EXPECT_FALSE(this->fs().Copy(this->In("missing.lng"), this->In("to.lng")));

    // A read-only source (as on a disc) gives a read-only copy, which later copies cannot overwrite.
    this->env.MakeReadOnly(this->In("from.lng"));
    EXPECT_TRUE(this->fs().Copy(this->In("from.lng"), this->In("copy.lng")));
    EXPECT_FALSE(this->fs().Copy(this->In("to.lng"), this->In("copy.lng")));
    EXPECT_FALSE(this->fs().ReplaceFile(this->In("copy.lng"), "new"));
    EXPECT_TRUE(this->fs().SetNormalAttributes(this->In("copy.lng")));
    EXPECT_TRUE(this->fs().ReplaceFile(this->In("copy.lng"), "new"));
    EXPECT_EQ("new", this->fs().ReadAll(this->In("copy.lng")));
    EXPECT_FALSE(this->fs().SetNormalAttributes(this->In("missing.lng")));
}

TYPED_TEST_P(FileSystemContract, CreateFolderAndRemoveFile) {
    EXPECT_TRUE(this->fs().CreateFolder(this->In("Folder SCN")));
    EXPECT_TRUE(this->fs().IsDirectory(this->In("folder scn")));
    EXPECT_FALSE(this->fs().CreateFolder(this->In("Folder SCN")));
    EXPECT_FALSE(this->fs().CreateFolder(this->In("missing\\child")));

    this->Put("gone.scn", "x");
    EXPECT_TRUE(this->fs().Remove(this->In("gone.scn")));
    EXPECT_FALSE(this->fs().Exists(this->In("gone.scn")));
    EXPECT_FALSE(this->fs().Remove(this->In("gone.scn")));
    this->Put("stays.scn", "x");
    this->env.MakeReadOnly(this->In("stays.scn"));
    EXPECT_FALSE(this->fs().Remove(this->In("stays.scn")));
    EXPECT_TRUE(this->fs().Exists(this->In("stays.scn")));
}

TYPED_TEST_P(FileSystemContract, AppendCreatesTheFileThenKeepsWhatCameBefore) {
    EXPECT_TRUE(this->fs().Append(this->In("run.log"), "one\r\n"));
    EXPECT_TRUE(this->fs().Append(this->In("run.log"), ""));
    EXPECT_TRUE(this->fs().Append(this->In("run.log"), std::string("two\0\xff", 5)));
    EXPECT_EQ(std::string("one\r\ntwo\0\xff", 10), this->fs().ReadAll(this->In("run.log")));

    this->Put("kept.log", "old");
    this->env.MakeReadOnly(this->In("kept.log"));
    ASSERT_TRUE(this->fs().CreateFolder(this->In("sub")));
    for (const char* refused : {"kept.log", "missing\\run.log", "sub"})
        EXPECT_FALSE(this->fs().Append(this->In(refused), "new")) << refused;
    EXPECT_EQ("old", this->fs().ReadAll(this->In("kept.log")));
    EXPECT_TRUE(this->fs().IsDirectory(this->In("sub")));
    EXPECT_EQ((std::vector<std::string>{"kept.log", "run.log"}), this->AllFiles());
}

TYPED_TEST_P(FileSystemContract, CurrentDirectoryIsAFolder) {
    std::string current = this->fs().CurrentDirectory();
    ASSERT_FALSE(current.empty());
    EXPECT_TRUE(this->fs().IsDirectory(current));
}

REGISTER_TYPED_TEST_SUITE_P(FileSystemContract, RootsFoldersAndFilesExist, ReadOnlyFolderIsStillAFolder,
                            ReplaceFileWritesExactBytesAndLeavesNothingBehind,
                            ReplaceFileKeepsAReadOnlyOrLockedTargetByteForByte,
                            ReplaceFileNeedsAnExistingFolderAndAFileName,
                            ReadAllOfMissingOrLockedFileOrFolderIsNothing, RenameMovesButNeverOverwrites,
                            ListFilesMatchesLongNamesAndSkipsFolders,
                            CopyCarriesAttributesUntilTheyAreMadeNormal, CreateFolderAndRemoveFile,
                            AppendCreatesTheFileThenKeepsWhatCameBefore, CurrentDirectoryIsAFolder);

}  // namespace velmora

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <stdexcept>

#include "results/files/OutputTransaction.hpp"
#include "support/BinaryRun.hpp"
#include "support/ExceptionText.hpp"
#include "support/FailureReport.hpp"
#include "support/TempDir.hpp"

using namespace results;
using namespace testing_support;
namespace fs = std::filesystem;

class Transaction : public ::testing::Test {
 protected:
  // Every file in the folder, sorted, so that nothing left over goes unseen.
  static std::vector<std::string> filesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  testing_support::TempDir dir;
};

// Hidden and beside their targets; a relative target's staged name stays relative.
TEST_F(Transaction, StagedFilesAndFailuresAreNamedAfterTheirTargets) {
  fs::create_directory(dir.file("sub"));
  OutputTransaction transaction;
  const std::string document = transaction.stage(dir.file("out.xdmf"));
  const std::string nested = transaction.stage(dir.file("sub/out_aux.h5"));
  EXPECT_EQ(document.rfind(dir.file(".out.xdmf."), 0), 0u) << document;
  EXPECT_EQ(nested.rfind(dir.file("sub/.out_aux.h5."), 0), 0u) << nested;
  EXPECT_FALSE(fs::exists(document));
  EXPECT_EQ(transaction.stage(dir.file("./sub/../out.xdmf")), document);
  EXPECT_EQ(fs::path(transaction.stage("out.xdmf")).parent_path(), fs::path());
  // A library names the file it writes; the report names the target. The program's own failures pass unchanged.
  const std::string staged = transaction.stage(dir.file("out_aux.h5"));
  const std::string target = dir.file("out_aux.h5");
  const auto flushing = [&] { throw std::runtime_error("Unable to flush " + staged + ": failed (" + staged + ")"); };
  EXPECT_EQ(testing_support::exceptionText([&] { transaction.writing(flushing); }),
            "Unable to flush " + target + ": failed (" + target + ")");
  EXPECT_THROW(transaction.writing([] { throw BaseException(); }), BaseException);
}

// Asked before anything is written, so that a run refuses a target it could not replace instead of failing at the
// commit. A link is judged by the file it names; names the system refuses only when opened are caught too.
TEST_F(Transaction, UnreplaceableTargetsAreToldWhy) {
  fs::create_directory(dir.file("folder.xdmf"));
  writeFile(dir.file("plain"), "a file");
  ASSERT_EQ(mkfifo(dir.file("pipe.xdmf").c_str(), 0644), 0);
  fs::create_symlink("folder.xdmf", dir.file("link.xdmf"));
  fs::create_symlink("missing/out.xdmf", dir.file("dangling.xdmf"));
  fs::create_symlink("loop-b.xdmf", dir.file("loop-a.xdmf"));
  fs::create_symlink("loop-a.xdmf", dir.file("loop-b.xdmf"));
  const std::pair<std::string, std::string> cases[] = {
      {"plain", ""},
      {"folder.xdmf", "it is a folder"},
      {"pipe.xdmf", "it is not a regular file"},
      {"plain/out.xdmf", "<" + dir.file("plain") + "> is not a folder"},
      {"link.xdmf", "it is a folder"},
      {"dangling.xdmf", "its folder <" + dir.file("missing") + "> does not exist"},
      {"loop-a.xdmf", "it is a loop of symbolic links"},
      {std::string(255, 'n'), ""},
  };
  for (const auto& [name, why] : cases) EXPECT_EQ(whyNotReplaceable(dir.file(name)), why) << name;
}

// A target staged but never written is left as it was; so is its mode.
TEST_F(Transaction, ExistingTargetIsReplacedOnlyAtCommit) {
  const std::string target = dir.file("out.xdmf");
  writeFile(target, "previous export");
  writeFile(dir.file("unwritten.xdmf"), "previous export");
  fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
  OutputTransaction transaction;
  writeFile(transaction.stage(target), "new export");
  transaction.stage(dir.file("unwritten.xdmf"));
  EXPECT_EQ(readFile(target), "previous export");
  transaction.commit();
  EXPECT_EQ(readFile(target), "new export");
  EXPECT_EQ(readFile(dir.file("unwritten.xdmf")), "previous export");
  EXPECT_EQ(fs::status(target).permissions(), fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(filesIn(dir.path()), (std::vector<std::string>{"out.xdmf", "unwritten.xdmf"}));
}

// A folder in the way of the second target stops the commit there. All or nothing: what the renames before it replaced
// is put back, what they added taken away, and the staged files go with the transaction.
TEST_F(Transaction, AFailedRenameIsReportedAndUndoesTheCommit) {
  fs::create_directory(dir.file("second.xdmf"));
  writeFile(dir.file("second.xdmf/keep"), "");
  writeFile(dir.file("first_aux.h5"), "earlier");
  {
    OutputTransaction transaction;
    writeFile(transaction.stage(dir.file("first_aux.h5")), "first");
    writeFile(transaction.stage(dir.file("new_aux.h5")), "new");
    const std::string second = transaction.stage(dir.file("second.xdmf"));
    writeFile(second, "second");
    writeFile(transaction.stage(dir.file("third.xdmf")), "third");
    EXPECT_EQ(testing_support::failureReport([&] { transaction.commit(); }),
              " -> cannot put the output <" + dir.file("second.xdmf") + "> in place: renaming <" + second +
                  "> failed: Is a directory\n");
  }
  EXPECT_EQ(readFile(dir.file("first_aux.h5")), "earlier");
  EXPECT_EQ(filesIn(dir.path()), (std::vector<std::string>{"first_aux.h5", "second.xdmf"}));
  EXPECT_EQ(filesIn(dir.file("second.xdmf")), std::vector<std::string>{"keep"});
}

// What a crash handler calls: the files go, the targets stay; a name released since may belong to another file.
TEST_F(Transaction, StagedFilesOfLiveTransactionsAloneAreRemovedAtOnce) {
  writeFile(dir.file("out.xdmf"), "previous export");
  OutputTransaction old;
  const std::string committedName = old.stage(dir.file("done.xdmf"));
  writeFile(committedName, "done");
  old.commit();
  {
    OutputTransaction gone;
    writeFile(gone.stage(dir.file("gone.xdmf")), "half a document");
  }
  writeFile(committedName, "a file of someone else");
  OutputTransaction first;
  OutputTransaction second;
  writeFile(first.stage(dir.file("out.xdmf")), "new");
  writeFile(second.stage(dir.file("out_aux.h5")), "new");
  removeStagedFiles();
  EXPECT_EQ(readFile(dir.file("out.xdmf")), "previous export");
  EXPECT_EQ(filesIn(dir.path()),
            (std::vector<std::string>{fs::path(committedName).filename().string(), "done.xdmf", "out.xdmf"}));
}

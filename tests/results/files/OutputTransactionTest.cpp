#include <gtest/gtest.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <stdexcept>

#include "results/files/OutputTransaction.hpp"
#include "support/BinaryRun.hpp"
#include "support/FailureReport.hpp"
#include "support/TempDir.hpp"

using namespace results;
using testing_support::readFile;
using testing_support::writeFile;
namespace fs = std::filesystem;

namespace {

// Every file in the folder, sorted, so that nothing left over goes unseen.
std::vector<std::string> filesIn(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

class Transaction : public ::testing::Test {
 protected:
  testing_support::TempDir dir;
};

TEST_F(Transaction, StagedNamesAreHiddenUnusedAndBesideTheirTargets) {
  fs::create_directory(dir.file("sub"));
  OutputTransaction transaction;
  const std::string document = transaction.stage(dir.file("out.xdmf"));
  const std::string nested = transaction.stage(dir.file("sub/out_aux.h5"));
  EXPECT_EQ(fs::path(document).parent_path(), fs::path(dir.path()));
  EXPECT_EQ(fs::path(nested).parent_path(), fs::path(dir.file("sub")));
  EXPECT_EQ(fs::path(document).filename().string().rfind(".out.xdmf.", 0), 0u) << document;
  EXPECT_EQ(fs::path(nested).filename().string().rfind(".out_aux.h5.", 0), 0u) << nested;
  EXPECT_FALSE(fs::exists(document));
  EXPECT_FALSE(fs::exists(nested));
  EXPECT_EQ(transaction.stage(dir.file("./sub/../out.xdmf")), document);
}

TEST_F(Transaction, RelativeTargetsStayRelative) {
  OutputTransaction transaction;
  const std::string staged = transaction.stage("out.xdmf");
  EXPECT_TRUE(fs::path(staged).is_relative()) << staged;
  EXPECT_EQ(fs::path(staged).parent_path(), fs::path());
}

TEST_F(Transaction, ExistingTargetIsReplacedOnlyAtCommit) {
  const std::string target = dir.file("out.xdmf");
  writeFile(target, "previous export");
  fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
  OutputTransaction transaction;
  writeFile(transaction.stage(target), "new export");
  EXPECT_EQ(readFile(target), "previous export");
  transaction.commit();
  EXPECT_EQ(readFile(target), "new export");
  EXPECT_EQ(fs::status(target).permissions(), fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_EQ(filesIn(dir.path()), std::vector<std::string>{"out.xdmf"});
}

TEST_F(Transaction, DestructionWithoutCommitRemovesStagedFilesAndKeepsTargets) {
  writeFile(dir.file("out.xdmf"), "previous export");
  {
    OutputTransaction transaction;
    writeFile(transaction.stage(dir.file("out_aux.h5")), "half an auxiliary file");
    writeFile(transaction.stage(dir.file("out.xdmf")), "half a document");
  }
  EXPECT_EQ(filesIn(dir.path()), std::vector<std::string>{"out.xdmf"});
  EXPECT_EQ(readFile(dir.file("out.xdmf")), "previous export");
}

TEST_F(Transaction, TargetThatWasNeverWrittenIsLeftAlone) {
  writeFile(dir.file("out.xdmf"), "previous export");
  OutputTransaction transaction;
  transaction.stage(dir.file("out.xdmf"));
  writeFile(transaction.stage(dir.file("other.xdmf")), "written");
  transaction.commit();
  EXPECT_EQ(readFile(dir.file("out.xdmf")), "previous export");
  EXPECT_EQ(filesIn(dir.path()), (std::vector<std::string>{"other.xdmf", "out.xdmf"}));
}

// A folder in the way of the second target stops the commit there: the first
// file is in place, the third is still staged and goes with the transaction.
// All or nothing: a rename that fails puts back what the renames before it
// replaced, and takes away what they added.
TEST_F(Transaction, CommitRenamesInStagingOrderAndReportsAFailedRename) {
  fs::create_directory(dir.file("second.xdmf"));
  writeFile(dir.file("second.xdmf/keep"), "");
  writeFile(dir.file("first_aux.h5"), "earlier");
  std::string report;
  {
    OutputTransaction transaction;
    writeFile(transaction.stage(dir.file("first_aux.h5")), "first");
    writeFile(transaction.stage(dir.file("new_aux.h5")), "new");
    const std::string second = transaction.stage(dir.file("second.xdmf"));
    writeFile(second, "second");
    writeFile(transaction.stage(dir.file("third.xdmf")), "third");
    report = testing_support::failureReport([&] { transaction.commit(); });
    EXPECT_EQ(report, " -> cannot put the output <" + dir.file("second.xdmf") + "> in place: renaming <" + second +
                          "> failed: Is a directory\n");
  }
  EXPECT_EQ(readFile(dir.file("first_aux.h5")), "earlier");
  EXPECT_EQ(filesIn(dir.path()), (std::vector<std::string>{"first_aux.h5", "second.xdmf"}));
  EXPECT_EQ(filesIn(dir.file("second.xdmf")), std::vector<std::string>{"keep"});
  // A commit that succeeds leaves no second names behind.
  {
    OutputTransaction transaction;
    writeFile(transaction.stage(dir.file("first_aux.h5")), "first");
    transaction.commit();
  }
  EXPECT_EQ(readFile(dir.file("first_aux.h5")), "first");
  EXPECT_EQ(filesIn(dir.path()), (std::vector<std::string>{"first_aux.h5", "second.xdmf"}));
}

TEST_F(Transaction, LinkedTargetIsReplacedBehindTheLink) {
  fs::create_directory(dir.file("store"));
  writeFile(dir.file("store/out.xdmf"), "previous export");
  fs::create_symlink("store/out.xdmf", dir.file("out.xdmf"));
  OutputTransaction transaction;
  const std::string staged = transaction.stage(dir.file("out.xdmf"));
  EXPECT_EQ(fs::canonical(fs::path(staged).parent_path()), fs::canonical(dir.file("store")));
  writeFile(staged, "new export");
  transaction.commit();
  EXPECT_TRUE(fs::is_symlink(dir.file("out.xdmf")));
  EXPECT_EQ(readFile(dir.file("out.xdmf")), "new export");
}

// What a crash handler calls: the files go, the targets stay.
TEST_F(Transaction, StagedFilesOfLiveTransactionsCanBeRemovedAtOnce) {
  writeFile(dir.file("out.xdmf"), "previous export");
  OutputTransaction first;
  OutputTransaction second;
  writeFile(first.stage(dir.file("out.xdmf")), "new");
  writeFile(second.stage(dir.file("out_aux.h5")), "new");
  removeStagedFiles();
  EXPECT_EQ(filesIn(dir.path()), std::vector<std::string>{"out.xdmf"});
  EXPECT_EQ(readFile(dir.file("out.xdmf")), "previous export");
}

TEST_F(Transaction, CommittedAndDestroyedNamesAreNoLongerRemovedByTheCrashPath) {
  OutputTransaction old;
  const std::string committedName = old.stage(dir.file("done.xdmf"));
  writeFile(committedName, "done");
  old.commit();
  { OutputTransaction gone; gone.stage(dir.file("gone.xdmf")); }
  // A later file that happens to get a released name must survive.
  writeFile(committedName, "a file of someone else");
  removeStagedFiles();
  EXPECT_EQ(readFile(committedName), "a file of someone else");
}

// Asked before anything is written, so that a run refuses a target it could
// not replace instead of failing at the commit.
TEST_F(Transaction, TargetsThatCannotBeReplacedAreToldWhy) {
  fs::create_directory(dir.file("folder.xdmf"));
  writeFile(dir.file("plain"), "a file");
  ASSERT_EQ(mkfifo(dir.file("pipe.xdmf").c_str(), 0644), 0);
  EXPECT_EQ(whyNotReplaceable(dir.file("out.xdmf")), "");
  EXPECT_EQ(whyNotReplaceable(dir.file("plain")), "");
  EXPECT_EQ(whyNotReplaceable(dir.file("folder.xdmf")), "it is a folder");
  EXPECT_EQ(whyNotReplaceable(dir.file("pipe.xdmf")), "it is not a regular file");
  EXPECT_EQ(whyNotReplaceable(dir.file("missing/out.xdmf")), "its folder <" + dir.file("missing") + "> does not exist");
  EXPECT_EQ(whyNotReplaceable(dir.file("plain/out.xdmf")), "<" + dir.file("plain") + "> is not a folder");
  // A link is judged by the file it names.
  fs::create_symlink("folder.xdmf", dir.file("link.xdmf"));
  EXPECT_EQ(whyNotReplaceable(dir.file("link.xdmf")), "it is a folder");
  fs::create_symlink("missing/out.xdmf", dir.file("dangling.xdmf"));
  EXPECT_EQ(whyNotReplaceable(dir.file("dangling.xdmf")),
            "its folder <" + dir.file("missing") + "> does not exist");
  // A loop names no file at all.
  fs::create_symlink("loop-b.xdmf", dir.file("loop-a.xdmf"));
  fs::create_symlink("loop-a.xdmf", dir.file("loop-b.xdmf"));
  EXPECT_EQ(whyNotReplaceable(dir.file("loop-a.xdmf")), "it is a loop of symbolic links");
  // Names the system would refuse only when the file is opened or renamed.
  EXPECT_EQ(whyNotReplaceable(dir.file(std::string(255, 'n'))), "");
  EXPECT_EQ(whyNotReplaceable(dir.file(std::string(256, 'n'))),
            "its name has 256 bytes, more than the 255 the system allows for one name");
  std::string deep = dir.path();
  while (deep.size() < 4096) deep += "/" + std::string(100, 'd');
  EXPECT_EQ(whyNotReplaceable(deep).rfind("its path has ", 0), 0u) << whyNotReplaceable(deep);
}

namespace {

// The checks as a user without privileges sees them: root may write any
// file, so a run as root tries them as nobody, in a child process.
std::vector<std::string> reasonsAsAnOrdinaryUser(const std::vector<std::string>& targets) {
  int ends[2];
  if (pipe(ends) != 0) return {"no pipe"};
  const pid_t pid = fork();
  if (pid == 0) {
    close(ends[0]);
    const uid_t nobody = 65534;
    if (geteuid() == 0 && (setgroups(0, nullptr) != 0 || setgid(nobody) != 0 || setuid(nobody) != 0)) _exit(2);
    std::string reasons;
    for (const std::string& target : targets) reasons += whyNotReplaceable(target) + "\n";
    if (write(ends[1], reasons.data(), reasons.size()) != static_cast<ssize_t>(reasons.size())) _exit(3);
    _exit(0);
  }
  close(ends[1]);
  std::string reasons;
  char buffer[4096];
  for (ssize_t got = 0; (got = read(ends[0], buffer, sizeof buffer)) > 0;) reasons.append(buffer, static_cast<std::size_t>(got));
  close(ends[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return {"the child ended with " + std::to_string(status)};
  return testing_support::splitLines(reasons);
}

}  // namespace

TEST_F(Transaction, ProtectedTargetsAndFoldersAreNotReplaced) {
  fs::create_directory(dir.file("locked"));
  writeFile(dir.file("kept.xdmf"), "protected");
  fs::permissions(dir.file("kept.xdmf"), fs::perms::owner_read);
  fs::permissions(dir.file("locked"), fs::perms::owner_read | fs::perms::owner_exec);
  // The folder around them is open to everyone, so that only their own
  // permissions hold the user back.
  fs::permissions(dir.path(), fs::perms::all);
  EXPECT_EQ(reasonsAsAnOrdinaryUser({dir.file("kept.xdmf"), dir.file("locked/out.xdmf"), dir.file("open.xdmf")}),
            (std::vector<std::string>{"the file may not be written",
                                      "its folder <" + dir.file("locked") + "> may not be written", ""}));
  fs::permissions(dir.file("locked"), fs::perms::owner_all);
}

// A library names the file it writes; the report names the target.
TEST_F(Transaction, LibraryFailuresWhileWritingNameTheTargets) {
  OutputTransaction transaction;
  const std::string staged = transaction.stage(dir.file("out_aux.h5"));
  std::string text;
  try {
    transaction.writing([&] { throw std::runtime_error("Unable to flush file " + staged + ": Write failed (" + staged + ")"); });
  } catch (const std::exception& failure) {
    text = failure.what();
  }
  EXPECT_EQ(text, "Unable to flush file " + dir.file("out_aux.h5") + ": Write failed (" + dir.file("out_aux.h5") + ")");
  // The program's own failures were reported where they were found.
  EXPECT_THROW(transaction.writing([] { throw BaseException(); }), BaseException);
}

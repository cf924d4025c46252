// The Top Ten store as real processes use it: copies of the game storing at
// once, a read-only file or folder, a linked file, the order of the calls
// that make a save durable, and saves killed half-way. The copies are
// top_ten_writer (QUADRAFALL_WRITER), run under QUADRAFALL_WRITER_EMULATOR
// when set (wine, for the Windows build). Tests named StoreProcesses apply to
// every build; PosixStoreProcesses to the native one.

#include <gtest/gtest.h>

#include <dirent.h>
#include <fcntl.h>
#include <grp.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "scores/high_scores.h"
#include "scores/score_codec.h"
#include "support/score_files.h"
#include "support/scratch_directory.h"

namespace {

using Clock = std::chrono::steady_clock;

const char* const FileName = "highscores.dat";
// Who the tests run as when they must not be root: root may write anything.
constexpr uid_t OrdinaryUser = 65534;
constexpr gid_t OrdinaryGroup = 65534;

long MsSince(Clock::time_point start) {
    return static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count());
}

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// A running copy with its standard input and output; what it says on
// standard error is kept for when it has ended.
struct Writer {
    pid_t pid = -1;
    int input = -1;
    int output = -1;
    int errors = -1;
    std::string pending;
};

struct Ending {
    int status = -1;  // exit status, or -1 when it had to be killed
    std::string errors;
};

// The writer's program, runnable by the ordinary user too: a build tree
// under a private home need not be.
std::string WriterFor(bool ordinaryUser) {
    const std::string writer = Environment("QUADRAFALL_WRITER");
    if (!ordinaryUser) return writer;
    static std::string copy;
    if (copy.empty()) {
        char folder[] = "/tmp/quadrafall-writer-XXXXXX";
        if (mkdtemp(folder) == nullptr) return writer;
        chmod(folder, 0755);
        copy = std::string(folder) + "/top_ten_writer";
        std::filesystem::copy_file(writer, copy);
        chmod(copy.c_str(), 0755);
    }
    return copy;
}

void BecomeOrdinaryUser() {
    if (geteuid() != 0) return;
    if (setgroups(0, nullptr) != 0 || setgid(OrdinaryGroup) != 0 || setuid(OrdinaryUser) != 0) _exit(125);
}

Writer StartWriter(const std::vector<std::string>& arguments, bool ordinaryUser = false) {
    std::vector<std::string> command;
    const std::string emulator = Environment("QUADRAFALL_WRITER_EMULATOR");
    if (!emulator.empty()) command.push_back(emulator);
    command.push_back(WriterFor(ordinaryUser));
    command.insert(command.end(), arguments.begin(), arguments.end());

    int in[2], out[2], err[2];
    if (pipe(in) != 0 || pipe(out) != 0 || pipe(err) != 0) return {};
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(in[0], 0);
        dup2(out[1], 1);
        dup2(err[1], 2);
        for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]}) close(fd);
        if (ordinaryUser) BecomeOrdinaryUser();
        std::vector<char*> argv;
        for (std::string& part : command) argv.push_back(part.data());
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    close(in[0]);
    close(out[1]);
    close(err[1]);
    Writer writer;
    writer.pid = pid;
    writer.input = in[1];
    writer.output = out[0];
    writer.errors = err[0];
    return writer;
}

// The next line the writer prints, or "" when none comes in time.
std::string ReadLine(Writer& writer, int timeoutMs) {
    const Clock::time_point start = Clock::now();
    for (;;) {
        const std::size_t newline = writer.pending.find('\n');
        if (newline != std::string::npos) {
            std::string line = writer.pending.substr(0, newline);
            writer.pending.erase(0, newline + 1);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            return line;
        }
        const long left = timeoutMs - MsSince(start);
        if (left <= 0) return "";
        pollfd ready = {writer.output, POLLIN, 0};
        if (poll(&ready, 1, static_cast<int>(left)) <= 0) continue;
        char chunk[256];
        const ssize_t got = read(writer.output, chunk, sizeof chunk);
        if (got <= 0) return "";
        writer.pending.append(chunk, static_cast<std::size_t>(got));
    }
}

void SendLine(Writer& writer) {
    if (write(writer.input, "go\n", 3) != 3) ADD_FAILURE() << "could not write to the writer";
}

// Looks without reaping, so that WaitForEnd still gets the exit status.
bool StillRunning(const Writer& writer) {
    siginfo_t info = {};
    return waitid(P_PID, static_cast<id_t>(writer.pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 && info.si_pid == 0;
}

Ending WaitForEnd(Writer& writer, int timeoutMs) {
    Ending ending;
    const Clock::time_point start = Clock::now();
    int status = 0;
    while (waitpid(writer.pid, &status, WNOHANG) == 0) {
        if (MsSince(start) > timeoutMs) {
            kill(writer.pid, SIGKILL);
            waitpid(writer.pid, &status, 0);
            status = -1;
            break;
        }
        usleep(5000);
    }
    if (status != -1 && WIFEXITED(status)) ending.status = WEXITSTATUS(status);
    char chunk[512];
    ssize_t got;
    while ((got = read(writer.errors, chunk, sizeof chunk)) > 0) ending.errors.append(chunk, static_cast<std::size_t>(got));
    for (int fd : {writer.input, writer.output, writer.errors}) close(fd);
    return ending;
}

// The names stored in the file, best first.
std::vector<std::string> StoredNames(const std::string& path = FileName) {
    const Bytes stored = ReadFile(path);
    HighScoreTable table = {};
    DecodeHighScores(stored.data(), stored.size(), table);
    std::vector<std::string> names;
    for (const HighScoreEntry& entry : table.entries) names.emplace_back(entry.name, strnlen(entry.name, HighScoreNameSize));
    return names;
}

std::vector<std::string> FilesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
    return names;
}

class StoreProcesses : public ::testing::Test {
protected:
    void SetUp() override {
        if (Environment("QUADRAFALL_WRITER").empty()) GTEST_SKIP() << "QUADRAFALL_WRITER names no writer";
        scratch.Enter();
    }
    void TearDown() override { scratch.Leave(); }

    ScratchDirectory scratch;
};

class PosixStoreProcesses : public StoreProcesses {};

// Both copies read the same old table at start; each then stores its own
// entry. The second must not write back its old table over the first's.
TEST_F(StoreProcesses, TwoCopiesInOneFolderBothKeepTheirEntries) {
    Writer ann = StartWriter({"store", "50", "Ann", "--wait"});
    Writer bob = StartWriter({"store", "40", "Bob", "--wait"});
    ASSERT_EQ(ReadLine(ann, 20000), "ready");
    ASSERT_EQ(ReadLine(bob, 20000), "ready");

    SendLine(ann);
    SendLine(bob);

    EXPECT_EQ(WaitForEnd(ann, 20000).status, 0);
    EXPECT_EQ(WaitForEnd(bob, 20000).status, 0);
    const std::vector<std::string> names = StoredNames();
    EXPECT_EQ(names[0], "Ann");
    EXPECT_EQ(names[1], "Bob");
}

// A copy that finds the store locked waits for it, within a bound: it stores
// once the lock is given up, and gives up itself, telling the player, when
// the lock is held too long.
TEST_F(StoreProcesses, ASecondCopyWaitsForTheLockAndGivesUpAfterABoundedWait) {
    struct Case {
        int holdMs;
        int wantStatus;
    };
    for (const Case& c : {Case{1000, 0}, Case{6000, 1}}) {
        Writer holder = StartWriter({"hold-lock"});
        ASSERT_EQ(ReadLine(holder, 20000), "locked");
        Writer ann = StartWriter({"store", "50", "Ann"});
        ASSERT_EQ(ReadLine(ann, 20000), "ready");
        const Clock::time_point asked = Clock::now();

        while (MsSince(asked) < c.holdMs && StillRunning(ann)) usleep(10000);
        EXPECT_GE(MsSince(asked), std::min(c.holdMs, 2500)) << "the copy stopped waiting while the lock was held";
        SendLine(holder);
        const Ending ending = WaitForEnd(ann, 20000);
        EXPECT_EQ(WaitForEnd(holder, 20000).status, 0);

        EXPECT_EQ(ending.status, c.wantStatus) << "held " << c.holdMs << " ms; " << ending.errors;
        if (c.wantStatus == 0) {
            EXPECT_EQ(StoredNames()[0], "Ann");
        } else {
            EXPECT_NE(ending.errors.find("The Top Ten could not be saved to highscores.dat: another copy of the game "
                                         "kept it locked."),
                      std::string::npos)
                << ending.errors;
        }
        std::filesystem::remove(FileName);
    }
}

// Root may write anything, so these run as an ordinary user. A file the
// player cannot write is never replaced: not its bytes, its mode or its
// owner; a folder the player cannot write gets no stray file. Both are told.
TEST_F(PosixStoreProcesses, AReadOnlyFileOrFolderIsLeftAsItWasAndTheFailureIsTold) {
    struct Case {
        const char* what;
        mode_t folderMode;
        mode_t fileMode;
        const char* reason;
    };
    const Case cases[] = {
        {"read-only file", 0755, 0444, "Permission denied"},
        {"read-only folder", 0555, 0644, "Permission denied"},
    };
    const Bytes old = StoredTable({{9, "Old"}});
    for (const Case& c : cases) {
        const std::string folder = scratch.Path() + "/" + std::to_string(c.folderMode);
        ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
        const std::string file = folder + "/" + FileName;
        WriteFile(file, old);
        ASSERT_EQ(chmod(file.c_str(), c.fileMode), 0);
        if (geteuid() == 0) {
            ASSERT_EQ(chown(folder.c_str(), OrdinaryUser, OrdinaryGroup), 0);
            ASSERT_EQ(chown(file.c_str(), OrdinaryUser, OrdinaryGroup), 0);
        }
        ASSERT_EQ(chmod(folder.c_str(), c.folderMode), 0);
        struct stat before = {};
        ASSERT_EQ(stat(file.c_str(), &before), 0);
        ASSERT_EQ(chdir(folder.c_str()), 0);

        Writer ann = StartWriter({"store", "50", "Ann"}, true);
        ASSERT_EQ(ReadLine(ann, 20000), "ready") << c.what;
        const Ending ending = WaitForEnd(ann, 20000);
        ASSERT_EQ(chdir(scratch.Path().c_str()), 0);
        chmod(folder.c_str(), 0755);

        EXPECT_EQ(ending.status, 1) << c.what;
        EXPECT_NE(ending.errors.find(std::string("The Top Ten could not be saved to highscores.dat: ") + c.reason + "."),
                  std::string::npos)
            << c.what << ": " << ending.errors;
        struct stat after = {};
        ASSERT_EQ(stat(file.c_str(), &after), 0);
        EXPECT_EQ(ReadFile(file), old) << c.what;
        EXPECT_EQ(after.st_mode, before.st_mode) << c.what;
        EXPECT_EQ(after.st_uid, before.st_uid) << c.what;
        EXPECT_EQ(after.st_ino, before.st_ino) << c.what << ": the file was replaced";
        EXPECT_EQ(FilesIn(folder), std::vector<std::string>{FileName}) << c.what;
    }
}

// Kept in a synced folder, say: the link stays a link and the table it leads
// to is the one updated, with nothing left beside either.
TEST_F(PosixStoreProcesses, ALinkedFileIsWrittenThroughAndStaysALink) {
    ASSERT_EQ(mkdir("synced", 0755), 0);
    WriteFile("synced/table", StoredTable({{9, "Old"}}));
    ASSERT_EQ(symlink("synced/table", FileName), 0);

    Writer ann = StartWriter({"store", "50", "Ann"});
    EXPECT_EQ(WaitForEnd(ann, 20000).status, 0);

    struct stat link = {};
    ASSERT_EQ(lstat(FileName, &link), 0);
    EXPECT_TRUE(S_ISLNK(link.st_mode));
    EXPECT_EQ(ReadFile("synced/table"), StoredTable({{9, "Old"}, {50, "Ann"}}));
    EXPECT_EQ(FilesIn("synced"), std::vector<std::string>{"table"});
}

// Seen from outside, through the system calls the save makes: the new
// bytes reach the disk before they replace the old file, and the folder
// after, so that a crash leaves the old table or the new one, whole.
TEST_F(PosixStoreProcesses, TheNewBytesAreSyncedBeforeTheyReplaceTheFile) {
    if (std::system("strace -o /dev/null true >/dev/null 2>&1") != 0) GTEST_SKIP() << "strace cannot trace here";
    const std::string trace = scratch.Path() + ".trace";
    const std::string command = "strace -f -qq -e trace=openat,fsync,fdatasync,rename,renameat,renameat2 -o " + trace +
                                " " + Environment("QUADRAFALL_WRITER") + " store 50 Ann >/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    std::ifstream log(trace);
    std::remove(trace.c_str());

    // The descriptors of the temporary file and of the folder, and in which
    // order each was synced and the file renamed.
    const std::regex openedTemporary(R"(openat\(.*"highscores\.dat\.tmp".*\)\s+=\s+(\d+))");
    const std::regex openedFolder(R"(openat\(.*O_DIRECTORY.*\)\s+=\s+(\d+))");
    const std::regex synced(R"((?:fsync|fdatasync)\((\d+)\)\s+=\s+0)");
    const std::regex renamed(R"(rename(?:at2?)?\(.*"highscores\.dat\.tmp".*"highscores\.dat".*\)\s+=\s+0)");
    std::string temporaryFd, folderFd;
    int step = 0, temporarySynced = -1, renameStep = -1, folderSynced = -1;
    for (std::string line; std::getline(log, line); ++step) {
        std::smatch match;
        if (std::regex_search(line, match, openedTemporary)) temporaryFd = match[1];
        if (std::regex_search(line, match, openedFolder)) folderFd = match[1];
        if (std::regex_search(line, match, synced)) {
            if (match[1] == temporaryFd && renameStep < 0) temporarySynced = step;
            if (match[1] == folderFd && renameStep >= 0) folderSynced = step;
        }
        if (std::regex_search(line, renamed)) renameStep = step;
    }

    ASSERT_GE(renameStep, 0) << "the save made no rename";
    EXPECT_GE(temporarySynced, 0) << "the new file was not synced before the rename";
    EXPECT_GT(folderSynced, renameStep) << "the folder was not synced after the rename";
}

// A copy killed at random moments during a stream of saves, hundreds of
// times in one folder: whatever file is left loads whole, as one save's
// table, and killed saves' temporary files never pile up.
TEST_F(PosixStoreProcesses, SavesKilledAtRandomLeaveAWholeTableAndNoPileOfTemporaries) {
    constexpr int Kills = 300;
    std::mt19937 random(20261209);
    std::uniform_int_distribution<int> delayUs(0, 20000);
    int filesChecked = 0, damaged = 0, mostTemporaries = 0, killsLeavingTemporary = 0;
    for (int kill = 0; kill < Kills; ++kill) {
        Writer loop = StartWriter({"save-loop"});
        ASSERT_EQ(ReadLine(loop, 20000), "ready");
        usleep(static_cast<useconds_t>(delayUs(random)));
        ::kill(loop.pid, SIGKILL);
        WaitForEnd(loop, 20000);

        int temporaries = 0;
        for (const std::string& name : FilesIn(".")) temporaries += name != FileName ? 1 : 0;
        mostTemporaries = std::max(mostTemporaries, temporaries);
        killsLeavingTemporary += temporaries > 0 ? 1 : 0;
        if (!std::filesystem::exists(FileName)) continue;
        ++filesChecked;
        const Bytes stored = ReadFile(FileName);
        HighScoreTable table = {};
        const int records = DecodeHighScores(stored.data(), stored.size(), table);
        uint8_t again[HighScoreStoredMaxSize];
        const std::size_t length = EncodeHighScores(table, again);
        bool whole = records == HighScoreCount && Bytes(again, again + length) == stored;
        for (const HighScoreEntry& entry : table.entries) whole = whole && entry.score == table.entries[0].score;
        damaged += whole ? 0 : 1;
    }
    Writer last = StartWriter({"store", "1", "Last"});
    EXPECT_EQ(WaitForEnd(last, 20000).status, 0);
    const std::vector<std::string> left = FilesIn(".");

    std::printf("%d kills, %d files checked, %d damaged, %d kills left a temporary file, at most %d at once, "
                "%zu files besides the table after the next save\n",
                Kills, filesChecked, damaged, killsLeavingTemporary, mostTemporaries, left.size() - 1);
    EXPECT_EQ(damaged, 0);
    EXPECT_LE(mostTemporaries, 1);
    EXPECT_EQ(left, std::vector<std::string>{FileName});
}

}  // namespace

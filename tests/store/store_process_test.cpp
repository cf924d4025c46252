// The Top Ten store as real processes use it: copies of the game storing at
// once, with and without a lock, read-only and shared folders, links and
// special files, the order of the calls that make a save durable, and saves
// killed half-way. The copies are top_ten_writer (QUADRAFALL_WRITER) and
// top_ten_writer_unlocked beside it, run under QUADRAFALL_WRITER_EMULATOR
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

#include <algorithm>
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

// How a writer runs: as whom, which of the programs, and where.
struct Launch {
    bool ordinaryUser = false;
    bool unlocked = false;  // top_ten_writer_unlocked, whose store gets no lock
    std::string folder;     // the test's own folder when empty
    std::string fault;      // top_ten_writer_faulty's QUADRAFALL_STORE_FAULT when set
};

void BecomeOrdinaryUser() {
    if (geteuid() != 0) return;
    if (setgroups(0, nullptr) != 0 || setgid(OrdinaryGroup) != 0 || setuid(OrdinaryUser) != 0) _exit(125);
}

Writer StartProgram(const std::string& program, const std::vector<std::string>& arguments, const Launch& launch) {
    std::vector<std::string> command;
    const std::string emulator = Environment("QUADRAFALL_WRITER_EMULATOR");
    if (!emulator.empty()) command.push_back(emulator);
    command.push_back(program);
    command.insert(command.end(), arguments.begin(), arguments.end());

    int in[2], out[2], err[2];
    if (pipe(in) != 0 || pipe(out) != 0 || pipe(err) != 0) return {};
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(in[0], 0);
        dup2(out[1], 1);
        dup2(err[1], 2);
        for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]}) close(fd);
        if (!launch.folder.empty() && chdir(launch.folder.c_str()) != 0) _exit(126);
        if (launch.ordinaryUser) BecomeOrdinaryUser();
        if (!launch.fault.empty()) setenv("QUADRAFALL_STORE_FAULT", launch.fault.c_str(), 1);
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

// Whatever arrives on the pipe until it closes or the time is up: a process
// that inherited the pipe (a Wine service) may keep it open for good.
std::string ReadUntilClosed(int pipe, int timeoutMs) {
    std::string text;
    const Clock::time_point start = Clock::now();
    for (long left = timeoutMs; left > 0; left = timeoutMs - MsSince(start)) {
        pollfd ready = {pipe, POLLIN, 0};
        if (poll(&ready, 1, static_cast<int>(left)) <= 0) break;
        char chunk[512];
        const ssize_t got = read(pipe, chunk, sizeof chunk);
        if (got <= 0) break;
        text.append(chunk, static_cast<std::size_t>(got));
    }
    return text;
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
    ending.errors = ReadUntilClosed(writer.errors, 2000);
    ending.errors.erase(std::remove(ending.errors.begin(), ending.errors.end(), '\r'), ending.errors.end());
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
    std::sort(names.begin(), names.end());
    return names;
}

// A whole table, as one save writes it: ten records that encode back to the
// very bytes stored.
bool StoredWhole(const std::string& path = FileName) {
    const Bytes stored = ReadFile(path);
    HighScoreTable table = {};
    const int records = DecodeHighScores(stored.data(), stored.size(), table);
    uint8_t again[HighScoreStoredMaxSize];
    const std::size_t length = EncodeHighScores(table, again);
    return records == HighScoreCount && Bytes(again, again + length) == stored;
}

// The table a start-up loads from the stored bytes, stored again: the bytes
// a copy of the game goes by, whatever follows the table.
Bytes AsLoaded(const Bytes& stored) {
    HighScoreTable table = {};
    DecodeHighScores(stored.data(), stored.size(), table);
    uint8_t again[HighScoreStoredMaxSize];
    return Bytes(again, again + EncodeHighScores(table, again));
}

Bytes WithAnnEntered(const Bytes& stored) {
    HighScoreTable table = {};
    DecodeHighScores(stored.data(), stored.size(), table);
    InsertIntoTable(table, 50, "Ann");
    uint8_t again[HighScoreStoredMaxSize];
    return Bytes(again, again + EncodeHighScores(table, again));
}

// A table whose new bytes, once Ann has entered, end in a 0x0D where the old
// bytes hold the 0x0A of a stored pair: 0x0A in the first score and in the
// last entry, which Ann pushes out, and a 0x0D last in the entry before it.
Bytes CarriageReturnBeforeAnOldLineFeed() {
    HighScoreTable table = {};
    for (HighScoreEntry& entry : table.entries) entry = MakeHighScoreEntry(100, "Old");
    table.entries[0].score = 0x10A;
    table.entries[8] = MakeHighScoreEntry(20, "Cr");
    table.entries[8].name[9] = 0x0D;
    table.entries[9] = MakeHighScoreEntry(10, "Lf");
    table.entries[9].name[8] = 0x0A;
    uint8_t stored[HighScoreStoredMaxSize];
    return Bytes(stored, stored + EncodeHighScores(table, stored));
}

bool StraceWorks() { return std::system("strace -o /dev/null true >/dev/null 2>&1") == 0; }

class StoreProcesses : public ::testing::Test {
protected:
    void SetUp() override {
        if (Environment("QUADRAFALL_WRITER").empty()) GTEST_SKIP() << "QUADRAFALL_WRITER names no writer";
        scratch.Enter();
    }
    void TearDown() override {
        std::system(("chattr -R -i '" + scratch.Path() + "' 2>/dev/null").c_str());
        scratch.Leave();
    }

    Writer StartWriter(const std::vector<std::string>& arguments, const Launch& launch = {}) {
        return StartProgram(Program(launch), arguments, launch);
    }

    // The system calls named in calls that one save of the writer's in
    // folder makes, as strace writes them.
    std::string TraceSave(const std::string& folder, const std::string& calls) {
        const std::string trace = scratch.Path() + "/save.trace";
        const std::string command = "cd '" + folder + "' && timeout 60 strace -f -qq -e trace=" + calls + " -o '" +
                                    trace + "' '" + Environment("QUADRAFALL_WRITER") + "' store 50 Ann >/dev/null";
        EXPECT_EQ(std::system(command.c_str()), 0);
        std::ifstream log(trace);
        const std::string text((std::istreambuf_iterator<char>(log)), std::istreambuf_iterator<char>());
        std::remove(trace.c_str());
        return text;
    }

    ScratchDirectory scratch;

private:
    // The writer's program, copied where the ordinary user may run it (a
    // build tree under a private home need not be): into the test's folder.
    std::string Program(const Launch& launch) {
        std::string writer = Environment("QUADRAFALL_WRITER");
        if (launch.unlocked) writer.insert(writer.rfind("top_ten_writer") + 14, "_unlocked");
        if (!launch.fault.empty()) writer.insert(writer.rfind("top_ten_writer") + 14, "_faulty");
        if (!launch.ordinaryUser) return writer;
        const std::string copy = scratch.Path() + "/" + std::filesystem::path(writer).filename().string();
        std::error_code ignored;
        std::filesystem::copy_file(writer, copy, std::filesystem::copy_options::skip_existing, ignored);
        chmod(copy.c_str(), 0755);
        chmod(scratch.Path().c_str(), 0711);
        return copy;
    }
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
// the lock is held too long. The lock is the table's, wherever the name that
// leads to it is: copies in two folders linked to one table wait too.
TEST_F(StoreProcesses, ASecondCopyWaitsForTheLockAndGivesUpAfterABoundedWait) {
    struct Case {
        int holdMs;
        int wantStatus;
        bool linked;  // the holder in folder a, the other in b, both linked to shared/table
    };
    for (const Case& c : {Case{1000, 0, false}, Case{6000, 1, false}, Case{1000, 0, true}}) {
        std::string table = FileName;
        if (c.linked) {
            table = "shared/table";
            for (const char* folder : {"a", "b", "shared"}) ASSERT_EQ(mkdir(folder, 0755), 0);
            WriteFile(table, StoredTable({{9, "Old"}}));
            ASSERT_EQ(symlink("../shared/table", "a/highscores.dat"), 0);
            ASSERT_EQ(symlink("../shared/table", "b/highscores.dat"), 0);
        }
        Writer holder = StartWriter({"hold-lock"}, {false, false, c.linked ? "a" : "", ""});
        ASSERT_EQ(ReadLine(holder, 20000), "locked");
        if (Environment("QUADRAFALL_WRITER_EMULATOR").empty()) {
            // A record lock on the table itself, which a network file system
            // holds between machines, as a lock on its folder is not.
            struct flock probe = {};
            probe.l_type = F_WRLCK;
            const int file = open(table.c_str(), O_RDWR);
            EXPECT_EQ(fcntl(file, F_GETLK, &probe), 0);
            close(file);
            EXPECT_EQ(probe.l_type, F_WRLCK) << "nothing holds a record lock on the table";
        }
        Writer ann = StartWriter({"store", "50", "Ann"}, {false, false, c.linked ? "b" : "", ""});
        ASSERT_EQ(ReadLine(ann, 20000), "ready");
        const Clock::time_point asked = Clock::now();

        while (MsSince(asked) < c.holdMs && StillRunning(ann)) usleep(10000);
        EXPECT_GE(MsSince(asked), std::min(c.holdMs, 2500)) << "the copy stopped waiting while the lock was held";
        SendLine(holder);
        const Ending ending = WaitForEnd(ann, 20000);
        EXPECT_EQ(WaitForEnd(holder, 20000).status, 0);

        EXPECT_EQ(ending.status, c.wantStatus) << "held " << c.holdMs << " ms; " << ending.errors;
        if (c.wantStatus == 0) {  // what the holder stored as it let go is kept too
            const std::vector<std::string> names = StoredNames(table);
            EXPECT_EQ(std::vector<std::string>(names.begin(), names.begin() + 2),
                      (std::vector<std::string>{"Holder", "Ann"}));
        } else {
            EXPECT_NE(ending.errors.find("The Top Ten could not be saved to highscores.dat: another copy of the game "
                                         "kept it locked."),
                      std::string::npos)
                << ending.errors;
        }
        for (const char* name : {FileName, "a", "b", "shared"}) std::filesystem::remove_all(name);
    }
}

// Where the file system offers no lock, copies saving at once each write a
// temporary file of their own: every save succeeds, the file holds one
// save's whole table, and nothing is left beside it. (Without a lock, an
// entry may still be lost to a save that read the table before it.)
TEST_F(StoreProcesses, CopiesThatCannotLockNeverWriteIntoEachOthersFiles) {
    constexpr int Rounds = 4;
    constexpr int Copies = 6;
    for (int round = 0; round < Rounds; ++round) {
        WriteFile(FileName, StoredTable({{9, "Old"}}));
        std::vector<Writer> copies;
        for (int i = 0; i < Copies; ++i) {
            const std::string name = "c" + std::to_string(i);
            copies.push_back(StartWriter({"store", std::to_string(10 + i), name, "--wait"}, {false, true, "", ""}));
        }
        for (Writer& copy : copies) ASSERT_EQ(ReadLine(copy, 20000), "ready");
        for (Writer& copy : copies) SendLine(copy);
        for (Writer& copy : copies) {
            const Ending ending = WaitForEnd(copy, 20000);
            EXPECT_EQ(ending.status, 0) << "round " << round << ": " << ending.errors;
        }
        EXPECT_TRUE(StoredWhole()) << "round " << round;
        EXPECT_EQ(FilesIn("."), std::vector<std::string>{FileName}) << "round " << round;
    }
}

// A copy stores Ann's 50 points wherever players keep the Top Ten: in a
// folder that holds Old's table and is then made as a row says (shell
// commands, run as root). Only a regular file is ever replaced, nothing is
// waited on, nothing is left beside the table, the file keeps its mode and
// owner, and only a failure is told. Rows with a fault run
// top_ten_writer_faulty: a save ended at each step of a write in place
// leaves the old table or the new one, a stat that never agrees and a lock
// never given still end in time. Leftovers of killed saves beside the table
// go once abandoned, or are written around. Rows marked posix need root and
// POSIX file types; the others hold for every build.
TEST_F(StoreProcesses, ASaveWhereverTheTableIsKept) {
    enum Outcome { Kept, WithAnn, AnnOnly, NotAFile, NoTable };
    struct Case {
        const char* folder;
        const char* make;
        bool posix;
        bool byOrdinaryUser;
        const char* told;
        Outcome outcome;
        bool sameFile;            // afterwards, where there was a file before
        const char* fault = "";   // top_ten_writer_faulty's; "end-" ones end the save (status 86)
        const char* gone = "";    // the file beside the table that the save removes
        bool unlocked = false;    // saved by top_ten_writer_unlocked
        const Bytes* stored = nullptr;  // the table before, when not Old's
    };
    const Bytes crBeforeLf = CarriageReturnBeforeAnOldLineFeed();
    const char* const denied = "The Top Ten could not be saved to highscores.dat: Permission denied.\n";
    const Case cases[] = {
        {"read-only file", "chown -R 65534:65534 . && chmod 444 highscores.dat", true, true, denied, Kept, true},
        {"read-only file and folder", "chown -R 65534:65534 . && chmod 444 highscores.dat && chmod 555 .", true, true,
         denied, Kept, true},
        {"writable file in a read-only folder", "chown -R 65534:65534 . && chmod 555 .", true, true, "", WithAnn, true},
        {"another user's writable file in a sticky shared folder", "chmod 666 highscores.dat && chmod 1777 .", true,
         true, "", WithAnn, true},
        {"another user's file saved by root", "chown 65534:65534 highscores.dat && chmod 640 highscores.dat", true,
         false, "", WithAnn, false},
        {"a link to the null device", "ln -sf /dev/null highscores.dat", true, true, "", NotAFile, true},
        {"a link to a device, saved by root", "mknod -m 666 null c 1 3 && ln -sf null highscores.dat", true, false, "",
         NotAFile, true},
        {"a FIFO", "rm highscores.dat && mkfifo -m 666 highscores.dat", true, false,
         "The Top Ten could not be saved to highscores.dat: No such device or address.\n", NotAFile, true},
        {"テスト, a folder named in Japanese", "true", false, false, "", WithAnn, false},
        {"a link to a table", "mv highscores.dat table && ln -s table highscores.dat", false, false, "", WithAnn,
         false},
        {"a link to no file yet", "rm highscores.dat && ln -s table highscores.dat", false, false, "", AnnOnly, false},
        {"a folder that refuses new files", "chattr +i .", false, false, "", WithAnn, true},
        {"ended before the write in place", "chattr +i .", false, false, "", Kept, true, "end-before:write"},
        {"ended before the cut", "chattr +i .", false, false, "", WithAnn, true, "end-before:cut"},
        {"ended before the cut, a 0x0D over an old 0x0A", "chattr +i .", false, false, "", WithAnn, true,
         "end-before:cut", "", false, &crBeforeLf},
        {"ended before the sync", "chattr +i .", false, false, "", WithAnn, true, "end-before:sync"},
        {"ended after the sync", "chattr +i .", false, false, "", WithAnn, true, "end-after:sync"},
        {"a leftover that cannot be removed", "touch highscores.dat.tmp && chattr +i highscores.dat.tmp", false,
         false, "", WithAnn, true},
        {"root's leftover in a sticky shared folder", "chmod 666 highscores.dat && chmod 1777 . && touch "
         "highscores.dat.tmp", true, true, "", WithAnn, true},
        {"a stat that never agrees", "true", false, false, "", WithAnn, false, "lie:same-file"},
        {"a lock never given, no table yet", "rm highscores.dat", false, false,
         "The Top Ten could not be saved to highscores.dat: another copy of the game kept it locked.\n", NoTable,
         false, "busy:lock"},
        {"abandoned leftovers", "touch -d '-2 min' highscores.dat.tmp.1.2 && touch highscores.dat.tmp.3.4", false,
         false, "", WithAnn, false, "", "highscores.dat.tmp.1.2"},
        {"abandoned leftovers, saved without a lock", "touch -d '-2 min' highscores.dat.tmp && touch "
         "highscores.dat.tmp.3.4", false, false, "", WithAnn, false, "", "highscores.dat.tmp", true},
    };
    const Bytes old = StoredTable({{9, "Old"}});
    const bool emulated = !Environment("QUADRAFALL_WRITER_EMULATOR").empty();
    for (const Case& c : cases) {
        if (c.posix && (emulated || geteuid() != 0)) continue;
        const std::string folder = scratch.Path() + "/" + c.folder;
        const std::string name = folder + "/" + FileName;
        ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
        const Bytes& oldTable = c.stored != nullptr ? *c.stored : old;
        WriteFile(name, oldTable);
        if (std::system(("cd \"" + folder + "\" && " + c.make + " 2>/dev/null").c_str()) != 0) {
            std::printf("%s: cannot be made here\n", c.folder);
            continue;
        }
        struct stat linkBefore = {}, before = {};
        lstat(name.c_str(), &linkBefore);
        const bool existed = stat(name.c_str(), &before) == 0;
        std::vector<std::string> files = FilesIn(folder);
        if (c.outcome == AnnOnly) files = {FileName, "table"};  // the file the link names, made
        files.erase(std::remove(files.begin(), files.end(), c.gone), files.end());

        Writer ann = StartWriter({"store", "50", "Ann"}, {c.byOrdinaryUser, c.unlocked, folder, c.fault});
        EXPECT_EQ(ReadLine(ann, 10000), "ready") << c.folder << ": the start waited";
        const Clock::time_point asked = Clock::now();
        const Ending ending = WaitForEnd(ann, 10000);
        EXPECT_LT(MsSince(asked), c.outcome == NoTable ? 5000 : 2500) << c.folder << ": the save waited";
        chmod(folder.c_str(), 0755);

        const bool ended = std::strncmp(c.fault, "end-", 4) == 0;
        EXPECT_EQ(ending.status, ended ? 86 : c.told[0] != '\0' ? 1 : 0) << c.folder;
        EXPECT_EQ(ending.errors, c.told) << c.folder;
        if (c.outcome == NoTable) {  // the file made to be locked is gone again
            EXPECT_EQ(FilesIn(folder), std::vector<std::string>{}) << c.folder;
            continue;
        }
        struct stat linkAfter = {}, after = {};
        lstat(name.c_str(), &linkAfter);
        ASSERT_EQ(stat(name.c_str(), &after), 0) << c.folder;
        EXPECT_EQ(linkAfter.st_mode & S_IFMT, linkBefore.st_mode & S_IFMT) << c.folder << ": the name changed type";
        EXPECT_EQ(FilesIn(folder), files) << c.folder;
        const Bytes want[] = {oldTable, WithAnnEntered(oldTable), StoredTable({{50, "Ann"}})};
        if (c.outcome != NotAFile) {  // before the cut, an old tail may follow the new bytes
            const Bytes stored = ReadFile(name);
            EXPECT_EQ(std::strcmp(c.fault, "end-before:cut") == 0 ? AsLoaded(stored) : stored, want[c.outcome])
                << c.folder;
        }
        if (!existed) continue;
        EXPECT_EQ(after.st_mode, before.st_mode) << c.folder;
        EXPECT_EQ(after.st_uid, before.st_uid) << c.folder;
        EXPECT_EQ(after.st_gid, before.st_gid) << c.folder;
        EXPECT_EQ(after.st_ino == before.st_ino, c.sameFile) << c.folder << ": written in place, or replaced";
    }
}

// Seen from outside, through the system calls the save makes: the new
// bytes reach the disk before they replace the old file, and the folder
// after, so that a crash leaves the old table or the new one, whole.
TEST_F(PosixStoreProcesses, TheNewBytesAreSyncedBeforeTheyReplaceTheFile) {
    if (!StraceWorks()) GTEST_SKIP() << "strace cannot trace here";
    std::istringstream log(TraceSave(".", "openat,fsync,fdatasync,rename,renameat,renameat2"));

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

// Written in place, the file is never emptied first: the new bytes go in
// from the start, the file is then cut to their length and synced, so that
// the old table stays until the new one is there, and the new one is on the
// disk when the save is done.
TEST_F(PosixStoreProcesses, AFileWrittenInPlaceIsWrittenThenCutThenSynced) {
    if (!StraceWorks()) GTEST_SKIP() << "strace cannot trace here";
    ASSERT_EQ(mkdir("fixed", 0755), 0);
    WriteFile("fixed/highscores.dat", StoredTable({{9, "Old"}}));
    // A folder that refuses new files, even root's.
    if (std::system("chattr +i fixed 2>/dev/null") != 0) GTEST_SKIP() << "no folder can be made immutable here";
    std::istringstream log(TraceSave("fixed", "openat,ftruncate,write,pwrite64,fsync,fdatasync"));

    const std::regex openedTable(R"(openat\(.*"highscores\.dat", O_RDWR.*\)\s+=\s+(\d+))");
    const std::regex call(R"((ftruncate|p?write(?:64)?|fsync|fdatasync)\((\d+)[,)].*=\s+(\d+))");
    std::string tableFd;
    int step = 0, firstCut = -1, lastWrite = -1, synced = -1;
    for (std::string line; std::getline(log, line); ++step) {
        std::smatch match;
        if (std::regex_search(line, match, openedTable)) tableFd = match[1];
        if (!std::regex_search(line, match, call) || match[2] != tableFd) continue;
        if (match[1] == "ftruncate" && firstCut < 0) firstCut = step;
        if (match[1].str().find("write") != std::string::npos) lastWrite = step;
        if (match[1] == "fsync" || match[1] == "fdatasync") synced = step;
    }

    EXPECT_GE(lastWrite, 0) << "the file was not written";
    EXPECT_GT(firstCut, lastWrite) << "the file was cut before the new bytes were in it";
    EXPECT_GT(synced, firstCut) << "the file was not synced after it was cut";
    EXPECT_EQ(ReadFile("fixed/highscores.dat"), StoredTable({{9, "Old"}, {50, "Ann"}}));
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
        DecodeHighScores(stored.data(), stored.size(), table);
        bool whole = StoredWhole();
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

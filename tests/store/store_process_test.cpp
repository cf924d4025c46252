// The Top Ten store as real processes use it: copies of the game storing at
// once, with and without a lock, read-only and shared folders, links and
// special files, the order of the calls that make a save durable, and saves
// killed half-way. The copies are top_ten_writer (QUADRAFALL_WRITER) and
// top_ten_writer_unlocked beside it, run under QUADRAFALL_WRITER_EMULATOR
// when set (wine, for the Windows build). Tests
// named StoreProcesses apply to every build; PosixStoreProcesses to the
// native one.

#include <gtest/gtest.h>

#include <dirent.h>
#include <fcntl.h>
#include <grp.h>
#include <linux/fs.h>
#include <poll.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
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

// How a writer runs: as whom, which of the two programs, and where.
struct Launch {
    bool ordinaryUser = false;
    bool unlocked = false;  // top_ten_writer_unlocked, whose store gets no lock
    std::string folder;     // the test's own folder when empty
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

bool StraceWorks() { return std::system("strace -o /dev/null true >/dev/null 2>&1") == 0; }

class StoreProcesses : public ::testing::Test {
protected:
    void SetUp() override {
        if (Environment("QUADRAFALL_WRITER").empty()) GTEST_SKIP() << "QUADRAFALL_WRITER names no writer";
        scratch.Enter();
    }
    void TearDown() override {
        scratch.Leave();
        if (!copyFolder.empty()) std::filesystem::remove_all(copyFolder);
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
    // The writer's program, copied where the ordinary user may run it: a
    // build tree under a private home need not be. The copy goes with the test.
    std::string Program(const Launch& launch) {
        std::string writer = Environment("QUADRAFALL_WRITER");
        if (launch.unlocked) writer.insert(writer.rfind("top_ten_writer") + 14, "_unlocked");
        if (!launch.ordinaryUser) return writer;
        if (copyFolder.empty()) {
            char folder[] = "/tmp/quadrafall-writer-XXXXXX";
            if (mkdtemp(folder) == nullptr) return writer;
            copyFolder = folder;
            chmod(folder, 0755);
        }
        const std::string copy = copyFolder + "/" + std::filesystem::path(writer).filename().string();
        std::error_code ignored;
        std::filesystem::copy_file(writer, copy, std::filesystem::copy_options::skip_existing, ignored);
        chmod(copy.c_str(), 0755);
        return copy;
    }

    std::string copyFolder;
};

class PosixStoreProcesses : public StoreProcesses {};

// While it lives, the folder refuses every new file, even root's.
class ImmutableFolder {
public:
    explicit ImmutableFolder(const std::string& path) : path_(path) { held_ = SetImmutable(true); }
    ~ImmutableFolder() {
        if (held_) SetImmutable(false);
    }
    bool Held() const { return held_; }

private:
    bool SetImmutable(bool on) const {
        const int folder = open(path_.c_str(), O_RDONLY | O_DIRECTORY);
        if (folder < 0) return false;
        int flags = 0;
        bool done = ioctl(folder, FS_IOC_GETFLAGS, &flags) == 0;
        flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
        done = done && ioctl(folder, FS_IOC_SETFLAGS, &flags) == 0;
        close(folder);
        return done;
    }

    std::string path_;
    bool held_ = false;
};

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
        Writer holder = StartWriter({"hold-lock"}, {false, false, c.linked ? "a" : ""});
        ASSERT_EQ(ReadLine(holder, 20000), "locked");
        Writer ann = StartWriter({"store", "50", "Ann"}, {false, false, c.linked ? "b" : ""});
        ASSERT_EQ(ReadLine(ann, 20000), "ready");
        const Clock::time_point asked = Clock::now();

        while (MsSince(asked) < c.holdMs && StillRunning(ann)) usleep(10000);
        EXPECT_GE(MsSince(asked), std::min(c.holdMs, 2500)) << "the copy stopped waiting while the lock was held";
        SendLine(holder);
        const Ending ending = WaitForEnd(ann, 20000);
        EXPECT_EQ(WaitForEnd(holder, 20000).status, 0);

        EXPECT_EQ(ending.status, c.wantStatus) << "held " << c.holdMs << " ms; " << ending.errors;
        if (c.wantStatus == 0) {
            EXPECT_EQ(StoredNames(table)[0], "Ann");
        } else {
            EXPECT_NE(ending.errors.find("The Top Ten could not be saved to highscores.dat: another copy of the game "
                                         "kept it locked."),
                      std::string::npos)
                << ending.errors;
        }
        for (const char* name : {FileName, "a", "b", "shared"}) std::filesystem::remove_all(name);
    }
}

// Root may write anything, so the player here is an ordinary user. A file
// the player cannot write is never replaced (not its bytes, its mode or its
// owner) and the failure is told. Where the folder refuses the replace (a
// read-only folder, another user's file in a sticky shared one) but the file
// may be written, it is written in place; root's replace keeps another
// user's file theirs. No case leaves a stray file.
TEST_F(PosixStoreProcesses, ReadOnlyAndSharedFoldersKeepTheFileAndOnlyAFailureIsTold) {
    struct Case {
        const char* what;
        mode_t folderMode;
        uid_t folderOwner;
        mode_t fileMode;
        uid_t fileOwner;
        bool byOrdinaryUser;
        const char* told;  // nullptr: stored
        bool inPlace;      // the same file afterwards, not a new one in its place
    };
    const bool root = geteuid() == 0;
    const uid_t player = root ? OrdinaryUser : geteuid();
    const Case cases[] = {
        {"read-only file", 0755, player, 0444, player, true, "Permission denied", true},
        {"read-only file in a read-only folder", 0555, player, 0444, player, true, "Permission denied", true},
        {"writable file in a read-only folder", 0555, player, 0644, player, true, nullptr, true},
        {"another user's writable file in a sticky shared folder", 01777, 0, 0666, 0, true, nullptr, true},
        {"another user's file saved by root", 0755, 0, 0640, player, false, nullptr, false},
    };
    const Bytes old = StoredTable({{9, "Old"}});
    int index = 0;
    for (const Case& c : cases) {
        if (!root && (c.folderOwner == 0 || c.fileOwner == 0 || !c.byOrdinaryUser)) continue;
        const std::string folder = scratch.Path() + "/" + std::to_string(index++);
        const std::string file = folder + "/" + FileName;
        ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
        WriteFile(file, old);
        ASSERT_EQ(chmod(file.c_str(), c.fileMode), 0);
        if (root) {
            ASSERT_EQ(chown(folder.c_str(), c.folderOwner, c.folderOwner == 0 ? 0 : OrdinaryGroup), 0);
            ASSERT_EQ(chown(file.c_str(), c.fileOwner, c.fileOwner == 0 ? 0 : OrdinaryGroup), 0);
        }
        ASSERT_EQ(chmod(folder.c_str(), c.folderMode), 0);
        struct stat before = {};
        ASSERT_EQ(stat(file.c_str(), &before), 0);

        Writer ann = StartWriter({"store", "50", "Ann"}, {c.byOrdinaryUser, false, folder});
        ASSERT_EQ(ReadLine(ann, 20000), "ready") << c.what;
        const Ending ending = WaitForEnd(ann, 20000);
        chmod(folder.c_str(), 0755);

        EXPECT_EQ(ending.status, c.told != nullptr ? 1 : 0) << c.what << ": " << ending.errors;
        if (c.told != nullptr) {
            EXPECT_NE(ending.errors.find(std::string("The Top Ten could not be saved to highscores.dat: ") + c.told + "."),
                      std::string::npos)
                << c.what << ": " << ending.errors;
        }
        struct stat after = {};
        ASSERT_EQ(stat(file.c_str(), &after), 0);
        EXPECT_EQ(ReadFile(file), c.told != nullptr ? old : StoredTable({{9, "Old"}, {50, "Ann"}})) << c.what;
        EXPECT_EQ(after.st_mode, before.st_mode) << c.what;
        EXPECT_EQ(after.st_uid, before.st_uid) << c.what;
        EXPECT_EQ(after.st_gid, before.st_gid) << c.what;
        EXPECT_EQ(after.st_ino == before.st_ino, c.inPlace) << c.what << ": written in place, or replaced";
        EXPECT_EQ(FilesIn(folder), std::vector<std::string>{FileName}) << c.what;
    }
}

// What the name may lead to besides a regular file, seen by a folder's
// contents and by the type of what the name leads to afterwards. A device is
// written in place and never replaced: a link to /dev/null, the usual way to
// keep no Top Ten, stores nothing and says nothing, and root's save leaves
// the device a device. A FIFO without a reader holds up neither the start
// nor the save, which is told as failed.
TEST_F(PosixStoreProcesses, SpecialFilesAreWrittenInPlaceAndNeverWaitedOn) {
    struct Case {
        const char* what;
        void (*make)(const std::string& folder);
        bool byOrdinaryUser;
        const char* told;  // nullptr: stored, and nothing said
        mode_t wantType;
    };
    const Case cases[] = {
        {"a link to /dev/null",
         [](const std::string& folder) { symlink("/dev/null", (folder + "/" + FileName).c_str()); }, true, nullptr,
         S_IFCHR},
        {"a link to a device node, saved by root",
         [](const std::string& folder) {
             mknod((folder + "/null").c_str(), S_IFCHR | 0666, makedev(1, 3));
             symlink("null", (folder + "/" + FileName).c_str());
         },
         false, nullptr, S_IFCHR},
        {"a FIFO",
         [](const std::string& folder) {
             const std::string fifo = folder + "/" + FileName;
             mkfifo(fifo.c_str(), 0);
             chmod(fifo.c_str(), 0666);
         },
         true, "No such device or address", S_IFIFO},
    };
    int index = 0;
    for (const Case& c : cases) {
        if (geteuid() != 0 && !c.byOrdinaryUser) continue;
        const std::string folder = scratch.Path() + "/" + std::to_string(index++);
        ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
        c.make(folder);
        if (geteuid() == 0) {
            ASSERT_EQ(chown(folder.c_str(), OrdinaryUser, OrdinaryGroup), 0);
        }
        const std::vector<std::string> made = FilesIn(folder);

        Writer ann = StartWriter({"store", "50", "Ann"}, {c.byOrdinaryUser, false, folder});
        EXPECT_EQ(ReadLine(ann, 5000), "ready") << c.what << ": the start waited";
        const Ending ending = WaitForEnd(ann, 5000);

        EXPECT_EQ(ending.status, c.told != nullptr ? 1 : 0) << c.what << ": " << ending.errors;
        const std::string told =
            c.told != nullptr ? std::string("The Top Ten could not be saved to highscores.dat: ") + c.told + ".\n" : "";
        EXPECT_EQ(ending.errors, told) << c.what;
        struct stat led = {};
        ASSERT_EQ(stat((folder + "/" + FileName).c_str(), &led), 0) << c.what;
        EXPECT_EQ(led.st_mode & S_IFMT, c.wantType) << c.what;
        EXPECT_EQ(FilesIn(folder), made) << c.what;
    }
}

// The lock is a record lock on the table itself, which a network file system
// holds between machines, not a lock on its folder, which it holds on one
// machine only.
TEST_F(PosixStoreProcesses, TheLockIsARecordLockOnTheTableItself) {
    WriteFile(FileName, StoredTable({{9, "Old"}}));
    Writer holder = StartWriter({"hold-lock"});
    ASSERT_EQ(ReadLine(holder, 20000), "locked");

    struct flock probe = {};
    probe.l_type = F_WRLCK;
    probe.l_whence = SEEK_SET;
    const int table = open(FileName, O_RDWR);
    const int asked = fcntl(table, F_GETLK, &probe);
    close(table);
    SendLine(holder);
    EXPECT_EQ(WaitForEnd(holder, 20000).status, 0);

    EXPECT_EQ(asked, 0);
    EXPECT_EQ(probe.l_type, F_WRLCK) << "nothing holds a record lock on the table";
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
            copies.push_back(StartWriter({"store", std::to_string(10 + i), "c" + std::to_string(i), "--wait"}, {false, true, ""}));
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

// A folder named in another script than the system's own, as a player's
// name in the path may be: every save is kept, not only the first.
TEST_F(StoreProcesses, AFolderNamedInAnotherScriptKeepsEverySave) {
    const std::string folder = "テスト";
    ASSERT_EQ(mkdir(folder.c_str(), 0755), 0);
    const std::vector<std::string> names = {"Ann", "Bob", "Cy"};
    for (std::size_t i = 0; i < names.size(); ++i) {
        Writer copy = StartWriter({"store", std::to_string(30 - i), names[i]}, {false, false, folder});
        const Ending ending = WaitForEnd(copy, 20000);
        EXPECT_EQ(ending.status, 0) << "save " << i + 1 << ": " << ending.errors;
    }
    const std::vector<std::string> stored = StoredNames(folder + "/" + FileName);
    EXPECT_EQ(std::vector<std::string>(stored.begin(), stored.begin() + 3), names);
}

// Kept in a synced folder, say: the link stays a link and the table it leads
// to is the one updated, with nothing left beside either. A link to no file
// yet gets the file it names.
TEST_F(StoreProcesses, ALinkedFileIsWrittenThroughAndStaysALink) {
    struct Case {
        const char* what;
        bool tableThere;
    };
    for (const Case& c : {Case{"a link to a table", true}, Case{"a link to no file yet", false}}) {
        ASSERT_EQ(mkdir("synced", 0755), 0);
        if (c.tableThere) WriteFile("synced/table", StoredTable({{9, "Old"}}));
        ASSERT_EQ(symlink("synced/table", FileName), 0);

        Writer ann = StartWriter({"store", "50", "Ann"});
        EXPECT_EQ(WaitForEnd(ann, 20000).status, 0) << c.what;

        struct stat link = {};
        ASSERT_EQ(lstat(FileName, &link), 0);
        EXPECT_TRUE(S_ISLNK(link.st_mode)) << c.what;
        EXPECT_EQ(ReadFile("synced/table"),
                  c.tableThere ? StoredTable({{9, "Old"}, {50, "Ann"}}) : StoredTable({{50, "Ann"}}))
            << c.what;
        EXPECT_EQ(FilesIn("synced"), std::vector<std::string>{"table"}) << c.what;
        for (const char* name : {FileName, "synced"}) std::filesystem::remove_all(name);
    }
}

// A folder that refuses every new file (one made immutable, which even root
// cannot add to) holding a file that may be written: the save goes on at
// once, without the lock file it cannot make, and writes the file in place.
TEST_F(StoreProcesses, AFolderThatRefusesNewFilesGetsItsFileWrittenInPlaceAtOnce) {
    ASSERT_EQ(mkdir("fixed", 0755), 0);
    WriteFile("fixed/highscores.dat", StoredTable({{9, "Old"}}));
    const ImmutableFolder fixed("fixed");
    if (!fixed.Held()) GTEST_SKIP() << "no folder can be made immutable here";

    Writer ann = StartWriter({"store", "50", "Ann"}, {false, false, "fixed"});
    ASSERT_EQ(ReadLine(ann, 20000), "ready");
    const Clock::time_point asked = Clock::now();
    const Ending ending = WaitForEnd(ann, 20000);
    const long tookMs = MsSince(asked);

    EXPECT_EQ(ending.status, 0) << ending.errors;
    EXPECT_LT(tookMs, 2500) << "the save waited for a lock it could never have";
    EXPECT_EQ(ReadFile("fixed/highscores.dat"), StoredTable({{9, "Old"}, {50, "Ann"}}));
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

// Written in place, the file is truncated, written and then synced, so that
// the new table is on the disk when the save is done.
TEST_F(PosixStoreProcesses, AFileWrittenInPlaceIsTruncatedWrittenAndSynced) {
    if (!StraceWorks()) GTEST_SKIP() << "strace cannot trace here";
    ASSERT_EQ(mkdir("fixed", 0755), 0);
    WriteFile("fixed/highscores.dat", StoredTable({{9, "Old"}}));
    const ImmutableFolder fixed("fixed");
    if (!fixed.Held()) GTEST_SKIP() << "no folder can be made immutable here";
    std::istringstream log(TraceSave("fixed", "openat,ftruncate,write,fsync,fdatasync"));

    const std::regex openedTable(R"(openat\(.*"highscores\.dat", O_RDWR.*\)\s+=\s+(\d+))");
    const std::regex call(R"((ftruncate|write|fsync|fdatasync)\((\d+)[,)].*=\s+(\d+))");
    std::string tableFd;
    int step = 0, truncated = -1, lastWrite = -1, synced = -1;
    for (std::string line; std::getline(log, line); ++step) {
        std::smatch match;
        if (std::regex_search(line, match, openedTable)) tableFd = match[1];
        if (!std::regex_search(line, match, call) || match[2] != tableFd) continue;
        if (match[1] == "ftruncate") truncated = step;
        if (match[1] == "write") lastWrite = step;
        if (match[1] != "ftruncate" && match[1] != "write") synced = step;
    }

    EXPECT_GE(truncated, 0) << "the file was not truncated";
    EXPECT_GT(lastWrite, truncated) << "the file was not written after it was truncated";
    EXPECT_GT(synced, lastWrite) << "the file was not synced after it was written";
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

#pragma once
// A fresh directory for one test to work in: entered at the start, left and
// removed at the end, so that "highscores.dat" is the test's own.

#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <string>

class ScratchDirectory {
public:
    void Enter() {
        char here[PATH_MAX];
        ASSERT_NE(getcwd(here, sizeof here), nullptr);
        previous_ = here;
        char scratch[] = "/tmp/quadrafall-test-XXXXXX";
        ASSERT_NE(mkdtemp(scratch), nullptr);
        path_ = scratch;
        ASSERT_EQ(chdir(scratch), 0);
    }

    void Leave() {
        if (previous_.empty()) return;
        EXPECT_EQ(chdir(previous_.c_str()), 0);
        std::error_code ignored;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ignored);
        std::filesystem::remove_all(path_, ignored);
        previous_.clear();
    }

    const std::string& Path() const { return path_; }

private:
    std::string previous_;
    std::string path_;
};

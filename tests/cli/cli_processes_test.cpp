// The real tool in real processes, from two environments at once: the data folder's lock is all they share.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <map>
#include <mutex>
#include <random>
#include <set>
#include <sstream>
#include <thread>

#include "../store/test_folder.h"
#include "store/card_record.h"

extern char** environ;

namespace quillet {
namespace {

using test::TestFolder;

// One login's worth of environment: its own runtime folder and temporary folder.
struct Environment {
    TestFolder runtime;
    TestFolder temporary;
};

struct Child {
    pid_t pid = -1;
    int input = -1;
};

Child Start(const Environment& env, const std::filesystem::path& home, const std::vector<std::string>& args) {
    std::vector<std::string> words{QUILLET_CLI_PATH, "--home", home.string()};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words) {
        argv.push_back(word.data());
    }
    argv.push_back(nullptr);
    std::vector<std::string> variables{"XDG_RUNTIME_DIR=" + env.runtime.Path().string(),
                                       "TMPDIR=" + env.temporary.Path().string(), "LANG=C.UTF-8"};
    std::vector<char*> envp;
    for (std::string& variable : variables) {
        envp.push_back(variable.data());
    }
    envp.push_back(nullptr);
    int pipeFds[2];
    EXPECT_EQ(::pipe2(pipeFds, O_CLOEXEC), 0);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, pipeFds[0], 0);
    posix_spawn_file_actions_addclose(&actions, pipeFds[1]);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    Child child;
    EXPECT_EQ(::posix_spawn(&child.pid, argv[0], &actions, nullptr, argv.data(), envp.data()), 0);
    posix_spawn_file_actions_destroy(&actions);
    ::close(pipeFds[0]);
    child.input = pipeFds[1];
    return child;
}

int Finish(Child child, std::string_view input = {}) {
    if (!input.empty()) {
        [[maybe_unused]] const ssize_t written = ::write(child.input, input.data(), input.size());
    }
    ::close(child.input);
    int status = 0;
    ::waitpid(child.pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

int RunTool(const Environment& env, const std::filesystem::path& home, const std::vector<std::string>& args) {
    return Finish(Start(env, home, args));
}

std::multiset<std::string> CardsOnDisk(const Environment& env, const std::filesystem::path& home) {
    std::string command = std::string(QUILLET_CLI_PATH) + " --home '" + home.string() + "' cards 0 shared";
    command = "XDG_RUNTIME_DIR='" + env.runtime.Path().string() + "' " + command;
    FILE* pipe = ::popen(command.c_str(), "r");
    std::string out;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
        out.append(buffer, n);
    }
    EXPECT_EQ(::pclose(pipe), 0);
    std::multiset<std::string> names;
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);) {
        names.insert(line);
    }
    return names;
}

class CliProcessesTest : public ::testing::Test {
protected:
    CliProcessesTest() { EXPECT_EQ(RunTool(first, home.Path(), {"new-category", "0", "shared"}), 0); }

    TestFolder home;
    Environment first;
    Environment second;
};

TEST_F(CliProcessesTest, writersFromTwoEnvironments_loseNothing) {
    std::vector<std::string> reported;
    std::mutex mutex;
    auto writer = [&](const Environment& env, const std::string& prefix) {
        for (int i = 0; i < 25; ++i) {
            const std::string name = prefix + std::to_string(i);
            if (Finish(Start(env, home.Path(), {"add", "0", "shared", name}), "text") == 0) {
                std::lock_guard lock(mutex);
                reported.push_back(name);
            }
        }
    };
    std::thread a(writer, std::cref(first), "a");
    std::thread b(writer, std::cref(second), "b");
    a.join();
    b.join();
    EXPECT_EQ(reported.size(), 50u) << "writers wait for each other instead of failing";
    const std::multiset<std::string> onDisk = CardsOnDisk(first, home.Path());
    EXPECT_EQ(onDisk, std::multiset<std::string>(reported.begin(), reported.end()));
}

TEST_F(CliProcessesTest, newCategoriesFromTwoEnvironments_getTwoFiles) {
    for (int round = 0; round < 5; ++round) {
        const Child a = Start(first, home.Path(), {"new-category", "0", "a" + std::to_string(round)});
        const Child b = Start(second, home.Path(), {"new-category", "0", "b" + std::to_string(round)});
        EXPECT_EQ(Finish(a), 0);
        EXPECT_EQ(Finish(b), 0);
    }
    std::size_t categories = 0;
    for (const auto& entry : std::filesystem::directory_iterator(home / "Qu_data")) {
        categories += entry.path().filename().string().starts_with("Qulan.");
    }
    EXPECT_EQ(categories, 11u);
}

// Writers killed at random moments: every success they reported is on disk, and nothing is there twice.
TEST_F(CliProcessesTest, killedWriters_loseAndDuplicateNothing) {
    std::vector<std::string> reported;
    std::mutex mutex;
    auto writer = [&](const Environment& env, const std::string& prefix, unsigned seed) {
        std::mt19937 random(seed);
        for (int i = 0; i < 40; ++i) {
            const std::string name = prefix + std::to_string(i);
            Child child = Start(env, home.Path(), {"add", "0", "shared", name});
            [[maybe_unused]] const ssize_t written = ::write(child.input, "text", 4);
            ::close(child.input);
            child.input = -1;
            std::this_thread::sleep_for(std::chrono::microseconds(random() % 6000));
            if (random() % 2 == 0) {
                ::kill(child.pid, SIGKILL);
            }
            int status = 0;
            ::waitpid(child.pid, &status, 0);
            if (WIFEXITED(status) && WEXITSTATUS(status) == 0) {
                std::lock_guard lock(mutex);
                reported.push_back(name);
            }
        }
    };
    std::thread a(writer, std::cref(first), "a", 1u);
    std::thread b(writer, std::cref(second), "b", 2u);
    a.join();
    b.join();

    EXPECT_EQ(RunTool(first, home.Path(), {"check"}), 0) << "no damaged file, nothing set aside";
    const std::multiset<std::string> onDisk = CardsOnDisk(second, home.Path());
    for (const std::string& name : onDisk) {
        EXPECT_EQ(onDisk.count(name), 1u) << name;
    }
    for (const std::string& name : reported) {
        EXPECT_EQ(onDisk.count(name), 1u) << "reported added but missing: " << name;
    }
    EXPECT_GT(reported.size(), 0u);
}

// The category files of a data folder, name and bytes.
std::map<std::string, std::string> CategoryFilesIn(const std::filesystem::path& home) {
    std::map<std::string, std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(home / "Qu_data")) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("Qu", 0) == 0 && name != "Quillet.lock") {
            files[name] = test::ReadBytes(entry.path());
        }
    }
    return files;
}

// An import killed at random moments leaves every file whole, and running it again gives the state of one
// import that was never interrupted.
TEST_F(CliProcessesTest, killedImport_leavesWholeFiles_andARerunFinishesIt) {
    const TestFolder source;
    std::filesystem::create_directories(source / "Qu_data");
    const auto seedStore = [](const std::filesystem::path& home, int categories, int cards) {
        std::filesystem::create_directories(home / "Qu_data");
        for (int c = 1; c <= categories; ++c) {
            std::vector<CardRecord> records;
            for (int i = 0; i < cards; ++i) {
                records.push_back({"card" + std::to_string(i), std::string(400, static_cast<char>('a' + c % 26)), ""});
            }
            char file[16];
            std::snprintf(file, sizeof file, "Qulan.%03d", c);
            test::WriteBytes(home / "Qu_data" / file, test::CategoryBytes("cat" + std::to_string(c), records));
        }
    };
    seedStore(source.Path(), 60, 300);
    const std::filesystem::path backup = home / "all.quo";
    ASSERT_EQ(RunTool(first, source.Path(), {"backup", backup.string()}), 0);

    // What one uninterrupted import gives: a third of the categories there already, with fewer cards.
    const auto prepare = [&](const std::filesystem::path& target) {
        std::filesystem::remove_all(target / "Qu_data");
        seedStore(target, 20, 100);
    };
    const TestFolder reference;
    prepare(reference.Path());
    const auto started = std::chrono::steady_clock::now();
    ASSERT_EQ(RunTool(first, reference.Path(), {"restore", backup.string()}), 0);
    const auto took = std::chrono::steady_clock::now() - started;
    const std::map<std::string, std::string> expected = CategoryFilesIn(reference.Path());
    ASSERT_EQ(expected.size(), 60u);

    std::mt19937 random(7);
    const TestFolder target;
    int killed = 0;
    int interrupted = 0;  // rounds whose kill came in the middle of the import
    for (int round = 0; round < 12; ++round) {
        prepare(target.Path());
        Child child = Start(first, target.Path(), {"restore", backup.string()});
        ::close(child.input);
        const auto delay = std::chrono::duration_cast<std::chrono::microseconds>(took) * (random() % 100) / 100;
        std::this_thread::sleep_for(delay);
        killed += ::kill(child.pid, SIGKILL) == 0;
        int status = 0;
        ::waitpid(child.pid, &status, 0);
        EXPECT_EQ(RunTool(first, target.Path(), {"check"}), 0) << "round " << round << ": every file whole";
        interrupted += CategoryFilesIn(target.Path()) != expected;
        EXPECT_EQ(RunTool(first, target.Path(), {"restore", backup.string()}), 0);
        EXPECT_EQ(CategoryFilesIn(target.Path()), expected) << "round " << round;
    }
    EXPECT_GT(killed, 0);
    EXPECT_GT(interrupted, 0);
}

TEST_F(CliProcessesTest, journalCarriedOverFromAnotherFolder_isReportedAndLeftAlone) {
    test::WriteBytes(home / "Qu_data" / "Qulan.002", test::CategoryBytes("live", {{"card", "text", ""}}));
    test::WriteBytes(home / "Qu_data" / "Quillet.rnm", "QuilletRenumber 2\ncopying\n0\nQulan.002\t34\t99\n");
    const std::string live = test::ReadBytes(home / "Qu_data" / "Qulan.001");
    EXPECT_EQ(RunTool(second, home.Path(), {"check"}), 1);
    EXPECT_EQ(test::ReadBytes(home / "Qu_data" / "Qulan.001"), live);
    EXPECT_EQ(test::ReadBytes(home / "Qu_data" / "Qulan.002"), test::CategoryBytes("live", {{"card", "text", ""}}));
}

}  // namespace
}  // namespace quillet

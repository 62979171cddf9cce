#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "bench_data.h"
#include "store/backup_file.h"
#include "store/backup_import.h"
#include "store/category_file.h"
#include "store/data_folder.h"

// The backup of a store of 100, 200 and 400 categories of 1,000 cards each (400 categories are some 260 MB):
// export against reading every category file and writing as many bytes with one fsync, and the import of that
// backup into a copy of the same store (every card a duplicate) and into an empty store against the export.
// Medians of interleaved runs.
namespace quillet::bench {
namespace {

using Clock = std::chrono::steady_clock;

double MsOf(const std::function<void()>& work) {
    const Clock::time_point start = Clock::now();
    work();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Reads every category file and writes the same number of bytes to one file, synced once.
void Baseline(const std::filesystem::path& data, const std::filesystem::path& out) {
    std::vector<char> buffer(1 << 20);
    const int target = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    for (int library = 0; library < kLibraryCount; ++library) {
        for (const std::filesystem::path& file : CategoryFiles(data, library)) {
            const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
            for (ssize_t n; (n = ::read(fd, buffer.data(), buffer.size())) > 0;) {
                [[maybe_unused]] const ssize_t written = ::write(target, buffer.data(), static_cast<std::size_t>(n));
            }
            ::close(fd);
        }
    }
    ::fsync(target);
    ::close(target);
}

void CopyFolder(const std::filesystem::path& from, const std::filesystem::path& to) {
    std::filesystem::remove_all(to);
    std::filesystem::copy(from, to);
}

}  // namespace
}  // namespace quillet::bench

int main() {
    using namespace quillet;
    using namespace quillet::bench;
    const std::filesystem::path scratch = ScratchFolder();
    const int sizes[] = {100, 200, 400};
    const int rounds = std::getenv("RUNS") ? std::atoi(std::getenv("RUNS")) : 3;
    {
        // Made once, the smaller stores as the first files of the largest.
        const CardTable cards = LargeCategory(1000);
        for (const int size : sizes) {
            std::filesystem::create_directories(scratch / std::to_string(size));
        }
        for (int c = 1; c <= 400; ++c) {
            const std::filesystem::path file = CategoryFilePath(scratch / "400", 0, c);
            if (WriteCategoryFile(file, "category " + std::to_string(c), cards)) {
                std::fprintf(stderr, "cannot write %s\n", file.c_str());
                return 1;
            }
            for (const int size : {100, 200}) {
                if (c <= size) {
                    std::filesystem::create_hard_link(file, CategoryFilePath(scratch / std::to_string(size), 0, c));
                }
            }
        }
    }
    std::printf("backup of stores of 1,000 cards a category, medians of %d interleaved runs\n", rounds);
    std::vector<double> copyTimes, emptyTimes;
    for (const int size : sizes) {
        const std::filesystem::path data = scratch / std::to_string(size);
        const std::filesystem::path backup = scratch / "backup.quo";
        std::vector<double> baseline, exported, intoCopy, intoEmpty;
        for (int round = 0; round < rounds; ++round) {
            baseline.push_back(MsOf([&] { Baseline(data, scratch / "baseline.out"); }));
            exported.push_back(MsOf([&] { ExportBackup(data, backup); }));
            CopyFolder(data, scratch / "copy");
            intoCopy.push_back(MsOf([&] { ImportBackup(scratch / "copy", backup, {}, [](const std::string&) {}); }));
            std::filesystem::remove_all(scratch / "empty");
            intoEmpty.push_back(MsOf([&] { ImportBackup(scratch / "empty", backup, {}, [](const std::string&) {}); }));
        }
        const double base = Median(baseline);
        const double out = Median(exported);
        const double copy = Median(intoCopy);
        const double empty = Median(intoEmpty);
        const double mib = static_cast<double>(std::filesystem::file_size(backup)) / (1 << 20);
        std::printf("\n%d categories (%.0f MiB):\n", size, mib);
        std::printf(
            "ratio export / read every file and write its bytes with one fsync: %.2f (%.0f ms / %.0f ms; "
            "goal at most 2.0)\n",
            out / base, out, base);
        std::printf("ratio import into a copy of the store / export: %.2f (%.0f ms; goal at most 3.0)\n", copy / out,
                    copy);
        std::printf("ratio import into an empty store / export: %.2f (%.0f ms; goal at most 3.0)\n", empty / out,
                    empty);
        copyTimes.push_back(copy);
        emptyTimes.push_back(empty);
        std::filesystem::remove_all(scratch / "copy");
        std::filesystem::remove_all(scratch / "empty");
    }
    std::printf("\nlinear: ratio import of twice the categories / import (goal at most 2.0)\n");
    for (std::size_t i = 1; i < copyTimes.size(); ++i) {
        std::printf("  %d / %d categories: into a copy %.2f, into an empty store %.2f\n", sizes[i], sizes[i - 1],
                    copyTimes[i] / copyTimes[i - 1], emptyTimes[i] / emptyTimes[i - 1]);
    }
    return 0;
}

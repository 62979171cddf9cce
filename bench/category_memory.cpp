#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "bench_data.h"
#include "store/category_file.h"

// Peak memory of a full load of the large category, above the process's baseline, against the file's size.
// The file is made by a child process so that making it does not raise this process's peak.
namespace {

long StatusKilobytes(const char* field) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind(field, 0) == 0) {
            return std::stol(line.substr(std::string(field).size()));
        }
    }
    return -1;
}

}  // namespace

int main() {
    using namespace quillet;
    const std::filesystem::path file = bench::ScratchFolder() / "Qulan.001";
    if (const pid_t child = ::fork(); child == 0) {
        _exit(WriteCategoryFile(file, "large", bench::LargeCategory()) ? 1 : 0);
    } else {
        ::waitpid(child, nullptr, 0);
    }
    const double fileMiB = static_cast<double>(std::filesystem::file_size(file)) / (1 << 20);

    const long baselineKiB = StatusKilobytes("VmHWM:");
    std::string name;
    std::int32_t count = 0;
    CardTable cards;
    if (ReadCategoryFile(file, ReadMode::Full, HeaderCheck::Check, {name, count, &cards})) {
        std::fprintf(stderr, "read failed\n");
        return 1;
    }
    const long peakKiB = StatusKilobytes("VmHWM:");
    const double aboveMiB = static_cast<double>(peakKiB - baselineKiB) / 1024;
    std::printf("file %.1f MiB, %d cards; peak above baseline %.1f MiB\n", fileMiB, count, aboveMiB);
    std::printf("ratio %-32s %.2f (goal at most 2.0)\n", "peak memory / file size", aboveMiB / fileMiB);
    return 0;
}

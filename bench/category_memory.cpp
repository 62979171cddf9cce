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

// Loads the file in a child process of its own, so each measure starts from a fresh peak; prints the peak
// above that child's baseline in MiB.
double PeakAboveBaselineMiB(const std::filesystem::path& file, std::int32_t& count) {
    int fds[2];
    if (::pipe(fds) != 0) {
        return -1;
    }
    if (const pid_t child = ::fork(); child == 0) {
        ::close(fds[0]);
        const long baselineKiB = StatusKilobytes("VmHWM:");
        std::string name;
        std::int32_t read = 0;
        quillet::CardTable cards;
        const bool failed = static_cast<bool>(quillet::ReadCategoryFile(
            file, quillet::ReadMode::Full, quillet::HeaderCheck::Check, {name, read, &cards}));
        const long peakKiB = StatusKilobytes("VmHWM:");
        const double result[2] = {failed ? -1.0 : static_cast<double>(peakKiB - baselineKiB) / 1024,
                                  static_cast<double>(read)};
        [[maybe_unused]] const ssize_t written = ::write(fds[1], result, sizeof result);
        _exit(0);
    }
    ::close(fds[1]);
    double result[2] = {-1, 0};
    [[maybe_unused]] const ssize_t got = ::read(fds[0], result, sizeof result);
    ::close(fds[0]);
    ::wait(nullptr);
    count = static_cast<std::int32_t>(result[1]);
    return result[0];
}

// One card whose text is stored in the 16-bit form: 128 Mi characters of Chinese text.
void WriteWideCategory(const std::filesystem::path& file) {
    std::ofstream out(file, std::ios::binary);
    const std::string head =
        std::string("\x14QuilletArchive File:\x06Ver1.0\x04wide", 33) + std::string("\x01\0\0\0", 4);
    out << head << '\x04' << "card";
    constexpr std::uint32_t kUnits = 128u << 20;
    out << "\xFF\xFE\xFF"
        << "\xFF\xFF\xFF";
    for (int shift = 0; shift < 32; shift += 8) {
        out << static_cast<char>((kUnits >> shift) & 0xFF);
    }
    const std::string block(1 << 20, '\0');
    std::string units;
    for (std::size_t i = 0; i < block.size() / 2; ++i) {
        units += "\x2D\x4E";  // U+4E2D
    }
    for (std::uint32_t written = 0; written < kUnits; written += static_cast<std::uint32_t>(units.size() / 2)) {
        out << units;
    }
    out << '\0';
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
    const auto sizeMiB = [](const std::filesystem::path& path) {
        return static_cast<double>(std::filesystem::file_size(path)) / (1 << 20);
    };
    std::int32_t count = 0;
    const double aboveMiB = PeakAboveBaselineMiB(file, count);
    if (aboveMiB < 0) {
        std::fprintf(stderr, "read failed\n");
        return 1;
    }
    std::printf("file %.1f MiB, %d cards; peak above baseline %.1f MiB\n", sizeMiB(file), count, aboveMiB);
    std::printf("ratio %-32s %.2f (goal at most 2.0)\n", "peak memory / file size", aboveMiB / sizeMiB(file));

    const std::filesystem::path wide = bench::ScratchFolder() / "Qulan.002";
    WriteWideCategory(wide);
    const double wideMiB = PeakAboveBaselineMiB(wide, count);
    std::filesystem::remove(wide);
    if (wideMiB < 0) {
        std::fprintf(stderr, "wide read failed\n");
        return 1;
    }
    std::printf("16-bit field 256.0 MiB; peak above baseline %.1f MiB\n", wideMiB);
    std::printf("ratio %-32s %.2f (goal at most 2.0)\n", "peak memory / 16-bit field", wideMiB / 256.0);
    return 0;
}
